#pragma once
// The playlist panel shown on its own, as the benches drive it: a playlist and its editor without a playback
// engine (nothing is opened or played), and a watch of the list's paints.
#include "controls/TSCheckList.h"
#include "core/playlist/ZipSession.h"
#include "player/playlist/PlaylistPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <algorithm>

namespace vorlo::bench {

struct PanelOnScreen {
    Playlist playlist;
    ZipSession zip;
    PlaylistEditor editor{playlist, zip};
    PlaylistPanel panel{editor};

    PanelOnScreen() {
        panel.resize(PlaylistPanel::designSize());
        panel.show();
        QApplication::processEvents();
    }
    QWidget* viewport() const { return panel.songList()->viewport(); }
};

// Notes the time of every paint of a widget and the longest gap between two.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* watched) {
        watched->installEventFilter(this);
        clock_.start();
    }
    qint64 longestGapMs() const { return longest_; }
    int paints() const { return paints_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const qint64 now = clock_.elapsed();
            if (paints_++ > 0) longest_ = std::max(longest_, now - last_);
            last_ = now;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
    int paints_ = 0;
};

}  // namespace vorlo::bench
