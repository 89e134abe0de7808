#pragma once

#include <QObject>

namespace vorlo {

class PlaylistPanel;

// Mouse and key handling of the playlist's list: the line under a press becomes DragIndex (and a right
// press selects it for the popup), a line dragged over the list highlights its insertion point and is moved
// there on the drop, and Enter plays the selected entry.
class SongListInput : public QObject {
    Q_OBJECT

public:
    explicit SongListInput(PlaylistPanel& panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool viewportEvent(QEvent* event);
    bool listEvent(QEvent* event);

    PlaylistPanel& panel_;
};

}  // namespace vorlo
