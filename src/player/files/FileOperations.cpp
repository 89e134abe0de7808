#include "player/files/FileOperations.h"

#include "controls/TSCheckList.h"
#include "core/app/ErrorHandler.h"
#include "core/filebox/FolderWalk.h"
#include "core/files/FileCommands.h"
#include "core/files/FolderHistory.h"
#include "core/playlist/Playlist.h"
#include "core/playlist/PlaylistEditor.h"
#include "core/playlist/ZipSession.h"
#include "player/app/CentreOnPlayer.h"
#include "player/app/ModalDialogs.h"
#include "player/filebox/DirectoryListBox.h"
#include "player/filebox/FileBox.h"
#include "player/filebox/FileListBox.h"
#include "player/files/RenameEditor.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAction>
#include <QMenu>
#include <QProgressDialog>

namespace vorlo {

FileOperations::FileOperations(QWidget& window, FileCommands& commands, PlaylistPanel& playlist, FileBox& fileBox,
                               std::function<QString()> programFolder)
    : QObject(&window),
      window_(window),
      commands_(commands),
      playlist_(playlist),
      fileBox_(fileBox),
      programFolder_(std::move(programFolder)),
      editor_(new RenameEditor(*playlist.songList())),
      popupDragMoveCopy_(new QMenu(&window)),
      deleteFolder_(new QAction(QStringLiteral("&Delete Folder"), this)),
      newFolder_(new QAction(QStringLiteral("Create New &Folder"), this)),
      walk_(new FolderWalkJob(this)) {
    playlist_.setRenameEditor(editor_);
    wireActions();
    wireFileBox();
}

FileOperations::~FileOperations() = default;

void FileOperations::wireActions() {
    const PlaylistActions& a = playlist_.actions();
    const auto command = [this](QAction* action, auto run) {
        connect(action, &QAction::triggered, this, ErrorHandler::guard([run] { run(); }));
    };
    command(a.copy, [this] { SpdCopyFileClick(TFormNF::Mode::Copy); });
    command(a.move, [this] { SpdCopyFileClick(TFormNF::Mode::Move); });
    command(a.rename, [this] { PopRenameClick(); });
    command(a.kill, [this] { commands_.PopDeleteClick(); });

    deleteFolder_->setObjectName(QStringLiteral("PopDeleteFolder"));
    newFolder_->setObjectName(QStringLiteral("PopNewFolder"));
    newFolder_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    newFolder_->setShortcutContext(Qt::WindowShortcut);
    window_.addAction(newFolder_);
    command(deleteFolder_, [this] { PopDeleteFolderClick(); });
    command(newFolder_, [this] { SpdCopyFileClick(TFormNF::Mode::CreateFolder); });
    fileBox_.popupDir()->addAction(deleteFolder_);
    fileBox_.popupDir()->addAction(newFolder_);

    popupDragMoveCopy_->setObjectName(QStringLiteral("PopDragMoveCopy"));
    QAction* move = popupDragMoveCopy_->addAction(QStringLiteral("&Move"));
    move->setObjectName(QStringLiteral("PopMenuMove"));
    popupDragMoveCopy_->setDefaultAction(move);
    QAction* copy = popupDragMoveCopy_->addAction(QStringLiteral("&Copy"));
    copy->setObjectName(QStringLiteral("PopMenuCopy"));
    popupDragMoveCopy_->addSeparator();
    popupDragMoveCopy_->addAction(QStringLiteral("C&ancel"))->setObjectName(QStringLiteral("PopCancel"));
    // The folder the line was dropped on is the folder list's selected line while the popup is up.
    command(move, [this] { commands_.dropMove(fileBox_.directoryListBox()->selectedFolder()); });
    command(copy, [this] { commands_.dropCopy(fileBox_.directoryListBox()->selectedFolder()); });

    connect(editor_, &RenameEditor::renameRequested, this,
            [this](const QString& text) { ErrorHandler::run([this, &text] { renameEntered(text); }); });
    connect(editor_, &RenameEditor::escaped, this, [this] { playlist_.songList()->setFocus(); });
    connect(editor_, &RenameEditor::ended, this, [this] {
        Playlist& list = playlist_.playlist();
        if (list.isValidIndex(list.DragIndex())) list.selectLine(list.DragIndex());
    });
    connect(&playlist_, &PlaylistPanel::closeRenameEditorRequested, editor_, &RenameEditor::close);
    connect(&playlist_, &PlaylistPanel::addFolderRequested, this,
            ErrorHandler::guard([this](const QString& folder) { addFolder(folder); }));
}

void FileOperations::wireFileBox() {
    DirectoryListBox* folders = fileBox_.directoryListBox();
    FileListBox* files = fileBox_.fileListBox();
    connect(folders, &DirectoryListBox::playlistLineDropped, this, &FileOperations::showDragMoveCopy);
    connect(&commands_, &FileCommands::fileBoxRefreshWanted, &fileBox_, &FileBox::refresh);
    connect(&commands_, &FileCommands::folderContentsChanged, this,
            [files](const QString& folder, const QString& selectName) {
                if (!folder.isEmpty() && folder != files->directory()) return;
                files->reload();
                if (!selectName.isEmpty()) files->selectFirstStartingWith(selectName);
            });
    connect(&commands_, &FileCommands::folderCreated, this, [this, folders](const QString& folder) {
        folders->rebuild();
        selectFolderLine(folder);
    });
    connect(&commands_, &FileCommands::folderShown, this, &FileOperations::selectFolderLine);
}

QString FileOperations::historyFile() const { return FolderHistory::fileIn(programFolder_()); }

void FileOperations::SpdCopyFileClick(TFormNF::Mode mode) {
    Playlist& list = playlist_.playlist();
    list.setDragIndex(list.isValidIndex(list.selectedLine()) ? list.selectedLine() : -1);
    FolderHistory history;
    history.load(historyFile());
    const DirectoryListBox* folders = fileBox_.directoryListBox();
    const QString shown = folders->selectedFolder().isEmpty() ? folders->directory() : folders->selectedFolder();

    TFormNF dialog(mode, list, playlist_.zipMode(), shown, history.folders(), &window_);
    CentreOnPlayer(dialog, &window_);
    if (ModalDialogs::exec(dialog) != QDialog::Accepted) return;
    window_.activateWindow();

    const QString text = dialog.folderText();
    const QString base = fileBox_.currentFolder();
    DialogOutcome outcome = DialogOutcome::Abandoned;
    switch (mode) {
        case TFormNF::Mode::CreateFolder: outcome = commands_.createFolder(text, base); break;
        case TFormNF::Mode::Copy:
            outcome = commands_.transferFiles(TransferMode::Copy, dialog.scope(), text, base);
            break;
        case TFormNF::Mode::Move:
            outcome = commands_.transferFiles(TransferMode::Move, dialog.scope(), text, base);
            break;
    }
    if (outcome != DialogOutcome::Completed) return;
    // The history keeps the folder as it was resolved, so one folder typed two ways stands once.
    history.add(FileCommands::destinationFolder(text, base));
    history.save(historyFile());
}

void FileOperations::PopRenameClick() {
    Playlist& list = playlist_.playlist();
    const int line = list.selectedLine();
    if (!list.isValidIndex(line) || playlist_.zipMode()) return;
    // The editor renames the entry it was opened on, whatever was pressed last.
    list.setDragIndex(line);
    const QString text = list.displayName(line);
    list.selectLine(-1);
    editor_->start(line, text);
}

void FileOperations::renameEntered(const QString& text) {
    const int index = playlist_.playlist().DragIndex();
    commands_.renameEntry(index, text);
    editor_->close();
    playlist_.songList()->setFocus();
}

void FileOperations::PopDeleteFolderClick() {
    DirectoryListBox* folders = fileBox_.directoryListBox();
    const QString folder = folders->selectedFolder();
    if (folder.isEmpty()) return;
    // The folder list cannot stay in a folder that goes: it moves to the parent first.
    const int line = folders->currentRow();
    if (folder == folders->directory() && line > 0) folders->openLine(line - 1);
    commands_.deleteFolder(folder);
}

void FileOperations::selectFolderLine(const QString& folder) {
    DirectoryListBox* folders = fileBox_.directoryListBox();
    for (int row = 0; row < folders->count(); ++row) {
        if (folders->pathOfLine(row).startsWith(folder)) {
            folders->setCurrentRow(row);
            return;
        }
    }
}

void FileOperations::showDragMoveCopy(const QPoint& globalPos) {
    // Right-aligned to the drop point, a little right of and above it.
    const QPoint at = globalPos + QPoint(8, -8);
    popupDragMoveCopy_->popup(QPoint(at.x() - popupDragMoveCopy_->sizeHint().width(), at.y()));
}

bool FileOperations::addingFolder() const { return walk_->running(); }

void FileOperations::addFolder(const QString& folder) {
    // One walk at a time; the progress box keeps the window's commands away while it runs.
    if (walk_->running() || !playlist_.editor().mayAddFolder()) return;
    countBeforeWalk_ = playlist_.playlist().count();
    progress_ =
        new QProgressDialog(QStringLiteral("Adding the files of ") + folder, QStringLiteral("Cancel"), 0, 0, &window_);
    progress_->setObjectName(QStringLiteral("AddFolderProgress"));
    progress_->setWindowTitle(QStringLiteral("Add Folder"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(0);
    connect(progress_, &QProgressDialog::canceled, walk_, &FolderWalkJob::cancel);

    connect(walk_, &FolderWalkJob::found, progress_, ErrorHandler::guard([this](const std::vector<FoundFile>& files) {
                playlist_.editor().appendFound(files);
            }));
    connect(walk_, &FolderWalkJob::progress, progress_, [this](const QString& entered, int filesFound) {
        if (progress_) progress_->setLabelText(QStringLiteral("%1 files found\n%2").arg(filesFound).arg(entered));
    });
    connect(walk_, &FolderWalkJob::finished, progress_, [this](bool cancelled) {
        QProgressDialog* done = progress_;
        progress_ = nullptr;
        disconnect(walk_, nullptr, done, nullptr);  // a next walk must not reach this box's slots
        done->deleteLater();
        ErrorHandler::run([this] { playlist_.editor().folderAdded(countBeforeWalk_); });
        emit folderAdded(cancelled);
    });
    walk_->start(folder);
    progress_->show();
}

}  // namespace vorlo
