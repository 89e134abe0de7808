#pragma once

#include <QObject>
#include <QPoint>

class QMimeData;

namespace vorlo {

class PlaylistPanel;

// Mouse and key handling of the playlist's list: the line under a press becomes DragIndex (and a right
// press selects it for the popup), a line dragged over the list highlights its insertion point and is moved
// there on the drop, files of the file list dropped on it go in at the drop point, a folder of the folder list
// and files from the desktop are added, and Enter plays the selected entry.
class SongListInput : public QObject {
    Q_OBJECT

public:
    explicit SongListInput(PlaylistPanel& panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool viewportEvent(QEvent* event);
    bool listEvent(QEvent* event);
    // Drops from the file list, the folder list and the desktop.
    static bool acceptsForeignDrop(const QMimeData* mime);
    void dropForeign(const QMimeData* mime, QPoint at);

    PlaylistPanel& panel_;
};

}  // namespace vorlo
