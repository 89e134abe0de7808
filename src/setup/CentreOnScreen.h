#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vorlo {

// Places a window of setup, whose size is fixed, in the middle of the screen's free area (the part that panels
// leave). Called before the window is first shown: a dialog moved that way keeps the place instead of centring on
// its parent. User-interface thread.
inline void centreOnScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    window.move(free.x() + (free.width() - window.width()) / 2, free.y() + (free.height() - window.height()) / 2);
}

}  // namespace vorlo
