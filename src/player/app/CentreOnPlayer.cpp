#include "player/app/CentreOnPlayer.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace vorlo {

void CentreOnPlayer(QWidget& dialog, const QWidget* player) {
    QScreen* screen = player ? player->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect workArea = screen->availableGeometry();
    const QRect over = player && player->isVisible() ? player->frameGeometry() : workArea;
    QRect placed(QPoint(), dialog.frameGeometry().size());
    placed.moveCenter(over.center());
    placed.moveLeft(
        std::clamp(placed.left(), workArea.left(), std::max(workArea.left(), workArea.right() - placed.width() + 1)));
    placed.moveTop(
        std::clamp(placed.top(), workArea.top(), std::max(workArea.top(), workArea.bottom() - placed.height() + 1)));
    dialog.move(placed.topLeft());
}

}  // namespace vorlo
