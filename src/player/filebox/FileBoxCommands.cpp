// The file box's commands: how the four controls follow each other, the add commands and their enabling
// rule, Open Item for each type of file, Refresh and One Touch Cursor mode.
#include "controls/TSCheckList.h"
#include "core/app/BusyCursor.h"
#include "core/app/MessageBoxes.h"
#include "core/filebox/FileFilters.h"
#include "core/playlist/MediaPaths.h"
#include "player/app/DesktopOpener.h"
#include "player/filebox/DirectoryListBox.h"
#include "player/filebox/FileBox.h"
#include "player/filebox/FileBoxCombos.h"
#include "player/filebox/FileListBox.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAbstractButton>
#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QToolButton>

namespace vorlo {

namespace {

const QString ListFileExtension = QStringLiteral(".mpl");
const QString ZipExtension = QStringLiteral(".zip");

}  // namespace

bool FileBox::zipMode() const { return playlist_ && playlist_->zipMode(); }

std::vector<FileBoxItem> FileBox::itemsOf(const QStringList& names) const {
    std::vector<FileBoxItem> items;
    items.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names)
        items.push_back({name, name});  // a file box line is the file's name with its extension
    return items;
}

void FileBox::DriveComboBoxChange() {
    // The drive shows the folder last shown on it (its root the first time); the folder list and the file
    // list follow.
    const QString drive = driveCombo_->drive();
    folderList_->setDriveRoot(drive);
    folderList_->setDirectory(lastFolderOnDrive_.value(drive, drive));
}

void FileBox::DirectoryListBoxChange() {
    lastFolderOnDrive_.insert(folderList_->driveRoot(), folderList_->directory());
    fileList_->setDirectory(folderList_->directory());
    FileListBoxClick();
    emit folderChanged(folderList_->directory());
}

void FileBox::FilterComboBoxChange() {
    fileList_->setMask(filterCombo_->mask());
    FileListBoxClick();  // with the zip entry the rule leaves both add buttons off
    emit filterIndexChanged(filterIndex());
}

void FileBox::FileListBoxClick() {
    if (!playlist_) return;
    QAction* addFile = playlist_->actions().addFile;
    QAction* addAll = playlist_->actions().addAll;
    // Zip archives are opened by double click only: adding them as files would add nothing.
    if (fileList_->count() == 0 || filterIndex() == FileFilters::ZipIndex) {
        addFile->setEnabled(false);
        addAll->setEnabled(false);
        return;
    }
    if (!fileList_->hasSelection())
        addFile->setEnabled(false);
    else if (!zipMode())
        addFile->setEnabled(true);
    if (zipMode()) return;  // zip mode turned both off when it began; Add All stays as it is
    addAll->setEnabled(true);
}

void FileBox::FileListBoxDblClick() {
    const QString name = fileList_->focusedSelectedName();
    if (name.isEmpty()) return;
    const QString path = fileList_->fullPath(name);
    const QString extension = extensionLowered(name);
    if (zipMode() && extension != ZipExtension) {
        PlaylistPanel::refuseInZipMode();
        return;
    }
    if (extension == ListFileExtension) {
        BtnAddFileClick();  // adds the entries of every selected list file
    } else if (extension == ZipExtension) {
        emit zipArchiveRequested(path);
    } else if (IsPlayableExt(extension)) {
        if (playlist_) {
            const BusyCursor wait;
            playlist_->addOneFile(path);
        }
    } else if (openExternally_ && !openExternally_(path)) {
        DesktopOpener::reportNoProgram(path);
    }
}

bool FileBox::readyToAdd() {
    if (!playlist_) return false;
    fileList_->finishLoading();  // every name of the folder, not only those shown so far
    if (fileList_->count() == 0) {
        folderList_->setFocus();
        return false;
    }
    if (zipMode()) {
        PlaylistPanel::refuseInZipMode();
        return false;
    }
    return true;
}

void FileBox::BtnAddFileClick() {
    if (!readyToAdd()) return;
    playlist_->addSelectedFiles(fileList_->directory(), itemsOf(fileList_->selectedFileNames()));
}

void FileBox::BtnAddAllClick() {
    if (!readyToAdd()) return;
    playlist_->BtnAddAllClick(fileList_->directory(), itemsOf(fileList_->fileNames()));
}

void FileBox::PopupFileBoxPopup() {
    const bool empty = fileList_->count() == 0;
    popupAction(QStringLiteral("PopupAddFile"))->setEnabled(!empty && fileList_->hasSelection());
    popupAction(QStringLiteral("PopupAddAll"))->setEnabled(!empty);
}

void FileBox::refresh() {
    driveCombo_->refresh();
    // Rebuilding the folder list raises its change: the file list reads the folder again and the add
    // buttons follow when its names are in.
    const QString folder = currentFolder();
    folderList_->setDriveRoot(driveCombo_->selectDriveOf(folder));
    folderList_->setDirectory(folder);
}

void FileBox::setCursorOnControls(bool hand) {
    QWidget* const controls[] = {panel_, folderList_, fileList_, driveCombo_, filterCombo_};
    for (QWidget* control : controls) {
        if (hand)
            control->setCursor(Qt::PointingHandCursor);
        else
            control->unsetCursor();
    }
    if (!playlist_) return;
    QWidget* const playlistControls[] = {playlist_->songListPanel(), playlist_->midPanel(), playlist_->songList()};
    for (QWidget* control : playlistControls) {
        if (!control) continue;
        if (hand)
            control->setCursor(Qt::PointingHandCursor);
        else
            control->unsetCursor();
    }
}

void FileBox::setOneTouch(bool on) {
    oneTouch_ = on;
    if (cursorButton_) {
        cursorButton_->setChecked(on);
        cursorButton_->setToolTip(QString::fromLatin1(on ? CursorOnHint : CursorHint));
    }
    setCursorOnControls(on);
    fileList_->setOneTouch(on);
    folderList_->setOneTouch(on);
    if (playlist_) playlist_->setOneTouchCursor(on);
    emit oneTouchChanged(on);
}

}  // namespace vorlo
