#include "player/playlist/SongListInput.h"

#include "controls/TSCheckList.h"
#include "core/app/ErrorHandler.h"
#include "player/filebox/DragPayloads.h"
#include "player/playlist/PlaylistPanel.h"
#include "player/playlist/SongListAdapter.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace vorlo {

SongListInput::SongListInput(PlaylistPanel& panel) : QObject(&panel), panel_(panel) {
    panel_.songList()->installEventFilter(this);
    panel_.songList()->viewport()->installEventFilter(this);
}

bool SongListInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_.songList()->viewport()) return viewportEvent(event);
    if (watched == panel_.songList()) return listEvent(event);
    return false;
}

bool SongListInput::listEvent(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !panel_.playlist().isEmpty()) {
        ErrorHandler::run([this] { panel_.SongListDblClick(); });
        return true;
    }
    return false;
}

bool SongListInput::viewportEvent(QEvent* event) {
    TSCheckList* list = panel_.songList();
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const int line = list->indexAt(mouse->position().toPoint()).row();
            // In zip mode a press leaves DragIndex alone: archive members are not moved about by file commands.
            if (!panel_.zipMode()) panel_.playlist().setDragIndex(line);
            if (mouse->button() == Qt::RightButton && line >= 0) panel_.selectLine(line);
            return false;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (acceptsForeignDrop(drag->mimeData())) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
                return true;
            }
            if (drag->source() != list ||
                !drag->mimeData()->hasFormat(QString::fromLatin1(SongListAdapter::LineMimeType)))
                return false;
            drag->setDropAction(Qt::MoveAction);
            drag->accept();
            // The line under the pointer shows where the dragged line will go; below the last line none does.
            if (!panel_.oneTouchCursor()) {
                const int target = list->indexAt(drag->position().toPoint()).row();
                panel_.selectLine(target);
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (acceptsForeignDrop(drop->mimeData())) {
                drop->setDropAction(Qt::CopyAction);
                drop->accept();
                const QMimeData* mime = drop->mimeData();
                const QPoint at = drop->position().toPoint();
                ErrorHandler::run([this, mime, at] { dropForeign(mime, at); });
                return true;
            }
            if (drop->source() != list) return false;
            const int target = panel_.dropIndexAt(drop->position().toPoint());
            // Accepting as a copy keeps the view from removing anything itself; the playlist moved the line.
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            if (target >= 0) ErrorHandler::run([this, target] { panel_.dropDraggedLine(target); });
            return true;
        }
        default: return false;
    }
}

bool SongListInput::acceptsForeignDrop(const QMimeData* mime) {
    return DragPayloads::readFileBoxFiles(mime) || DragPayloads::readFolder(mime) || DragPayloads::isUriList(mime);
}

void SongListInput::dropForeign(const QMimeData* mime, QPoint at) {
    // Files of the file list go in at the drop point; a folder of the folder list and files from the desktop are
    // appended.
    if (const auto files = DragPayloads::readFileBoxFiles(mime)) {
        const int target = panel_.dropIndexAt(at);
        if (target < 0) return;
        std::vector<FileBoxItem> items;
        for (const QString& name : files->names) items.push_back({name, name});
        panel_.insertFromFileBox(target, files->folder, items);
    } else if (const auto folder = DragPayloads::readFolder(mime)) {
        emit panel_.addFolderRequested(*folder);
    } else {
        panel_.dropFromDesktop(mime->data(QString::fromLatin1(DragPayloads::UriListType)));
    }
}

}  // namespace vorlo
