#pragma once

#include "player/files/TFormNF.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QProgressDialog;
class QWidget;

namespace vorlo {

class FileBox;
class FileCommands;
class FolderWalkJob;
class PlaylistPanel;
class RenameEditor;

// The window's side of the file commands: it turns the playlist's Copy, Move, Rename and Kill actions, the folder
// list's popup ("&Delete Folder", "Create New &Folder"), a playlist line dropped on the folder list (the move-or-copy
// popup) and a folder dropped on the playlist (Add Folder) into the core's FileCommands, runs the copy and move
// dialog and the rename editor, and keeps the file box in step with what the commands changed on the disk.
// User-interface thread.
class FileOperations : public QObject {
    Q_OBJECT
public:
    // `programFolder` tells where "folder.ini" lives. `window` is the main window: the dialogs' parent.
    FileOperations(QWidget& window, FileCommands& commands, PlaylistPanel& playlist, FileBox& fileBox,
                   std::function<QString()> programFolder);
    ~FileOperations() override;

    // The copy and move dialog in one of its modes: shown, then run on OK; the folder history is written after
    // every OK that went through.
    void SpdCopyFileClick(TFormNF::Mode mode);
    // Starts the in-place rename of the selected entry.
    void PopRenameClick();
    void PopDeleteFolderClick();
    // Add Folder: every playable file under `folder` is appended, read on a thread of its own while a progress
    // box (with Cancel) keeps the window from other commands.
    void addFolder(const QString& folder);
    bool addingFolder() const;

    RenameEditor& renameEditor() const { return *editor_; }
    QMenu* dragMoveCopyPopup() const { return popupDragMoveCopy_; }
    QAction* deleteFolderAction() const { return deleteFolder_; }
    QAction* newFolderAction() const { return newFolder_; }
    QProgressDialog* addFolderProgress() const { return progress_; }

signals:
    // An Add Folder walk ended; `cancelled` when the user cancelled it (what it found before is kept).
    void folderAdded(bool cancelled);

private:
    void wireActions();
    void wireFileBox();
    void renameEntered(const QString& text);
    void showDragMoveCopy(const QPoint& globalPos);
    // The folder list selects the line of `folder` (the first line that begins with its path).
    void selectFolderLine(const QString& folder);
    QString historyFile() const;

    QWidget& window_;
    FileCommands& commands_;
    PlaylistPanel& playlist_;
    FileBox& fileBox_;
    std::function<QString()> programFolder_;
    RenameEditor* editor_;
    QMenu* popupDragMoveCopy_;
    QAction* deleteFolder_;
    QAction* newFolder_;
    FolderWalkJob* walk_;
    QProgressDialog* progress_ = nullptr;
    int countBeforeWalk_ = 0;
};

}  // namespace vorlo
