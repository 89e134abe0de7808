// The editing operations of the playlist panel: adding, inserting, reordering, removing, clearing, sorting.
#include "controls/TSCheckList.h"
#include "core/app/MessageBoxes.h"
#include "core/playlist/MediaPaths.h"
#include "player/app/WaitCursor.h"
#include "player/playlist/PlaylistPanel.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QStyle>

#include <algorithm>

namespace vorlo {

namespace {

const QString ListFileExtension = QStringLiteral(".mpl");

}  // namespace

void PlaylistPanel::refuseInZipMode() {
    MessageBoxes::show(QStringLiteral("Cannot Add File"),
                       QStringLiteral("Cannot add file to the playlist in Zip mode!"), BoxIcon::Information);
}

std::vector<PlaylistEntry> PlaylistPanel::entriesOfListFile(const QString& listFile) {
    if (!readListFile_) return {};
    const std::optional<QStringList> paths = readListFile_(listFile);
    return paths ? existingEntries(*paths) : std::vector<PlaylistEntry>{};
}

std::vector<PlaylistEntry> PlaylistPanel::existingEntries(const QStringList& paths) {
    std::vector<PlaylistEntry> entries;
    for (const QString& path : paths) {
        // Files that have gone since the list was written are left out without a word.
        if (!QFileInfo::exists(path)) continue;
        entries.push_back({path, fileNamePart(path), false});
        FitListExtent(entries.back().displayName, false);
    }
    return entries;
}

void PlaylistPanel::appendEntries(std::vector<PlaylistEntry>& batch) {
    playlist_->append(std::move(batch));
    batch.clear();
}

void PlaylistPanel::finishAdding() {
    AfterEntriesAdded();
    FitListExtent(QString(), true);
    selectLine(playlist_->count() - 1);
    SongListClick();
}

int PlaylistPanel::addListedPaths(const QStringList& paths) {
    const WaitCursor wait;
    std::vector<PlaylistEntry> entries = existingEntries(paths);
    const int added = static_cast<int>(entries.size());
    appendEntries(entries);
    finishAdding();
    return added;
}

void PlaylistPanel::addSelectedFiles(const QString& folder, const std::vector<FileBoxItem>& files) {
    addFromFileBox(folder, files, false);
}

// Add All also settles the list after each list file it adds, as adding that list on its own would.
void PlaylistPanel::BtnAddAllClick(const QString& folder, const std::vector<FileBoxItem>& files) {
    addFromFileBox(folder, files, true);
}

void PlaylistPanel::addFromFileBox(const QString& folder, const std::vector<FileBoxItem>& files,
                                   bool settleAfterEachList) {
    if (files.empty()) {
        emit focusFolderListRequested();
        return;
    }
    const WaitCursor wait;
    const QString base = folderWithSeparator(folder);
    std::vector<PlaylistEntry> batch;
    batch.reserve(files.size());
    for (const FileBoxItem& file : files) {
        const QString extension = extensionLowered(file.fileName);
        if (IsPlayableExt(extension)) {
            batch.push_back({base + file.fileName, file.lineText, false});
            FitListExtent(file.lineText, false);
        } else if (extension == ListFileExtension) {
            appendEntries(batch);
            std::vector<PlaylistEntry> listed = entriesOfListFile(base + file.fileName);
            appendEntries(listed);
            if (settleAfterEachList) AfterEntriesAdded();
        }
    }
    appendEntries(batch);
    finishAdding();
}

void PlaylistPanel::addOneFile(const QString& path) {
    if (zipMode_) {
        refuseInZipMode();
        return;
    }
    const QString name = fileNamePart(path);
    playlist_->append({path, name, false});
    AfterEntriesAdded();
    selectLine(playlist_->count() - 1);
    FitListExtent(name, true);
    SongListClick();
}

void PlaylistPanel::insertFromFileBox(int dropIndex, const QString& folder, const std::vector<FileBoxItem>& files) {
    const WaitCursor wait;
    if (zipMode_) {
        refuseInZipMode();
        SongListClick();
        return;
    }
    dropIndex = std::clamp(dropIndex, 0, playlist_->count());
    const QString base = folderWithSeparator(folder);
    std::vector<PlaylistEntry> batch;
    for (const FileBoxItem& file : files) {
        const QString extension = extensionLowered(file.fileName);
        if (IsPlayableExt(extension)) {
            batch.push_back({base + file.fileName, file.lineText, false});
            FitListExtent(file.lineText, false);
        } else if (extension == ListFileExtension) {
            std::vector<PlaylistEntry> listed = entriesOfListFile(base + file.fileName);
            std::move(listed.begin(), listed.end(), std::back_inserter(batch));
        } else {
            break;  // the first file of another kind ends the drop; what came before it stays
        }
    }
    const int inserted = playlist_->insertAtDropPoint(dropIndex, std::move(batch));
    FitListExtent(QString(), true);
    if (inserted > 0) selectLine(dropIndex + inserted - 1);
    AfterEntriesAdded();
    SongListClick();
}

void PlaylistPanel::dropDraggedLine(int dropIndex) {
    const int moved = playlist_->dragMove(playlist_->DragIndex(), dropIndex);
    if (moved >= 0) selectLine(moved);
    SongListClick();
}

void PlaylistPanel::AfterEntriesAdded() {
    const int lines = playlist_->count();
    if (lines >= 1) {
        setCommand(ListCommand::Forward, true);
        setCommand(ListCommand::Reverse, true);
    }
    if (lines >= 2) {
        for (ListCommand command : {ListCommand::SaveList, ListCommand::SaveListAs, ListCommand::Next,
                                    ListCommand::Previous, ListCommand::SortList, ListCommand::ClearList})
            setCommand(command, true);
    }
    const PlaybackStatus playback = playbackStatus_ ? playbackStatus_() : PlaybackStatus{};
    if (playback.deviceOpen || lines == 0) return;
    if (playback.autoPlay) {
        setCommand(ListCommand::Pause, true);
        setCommand(ListCommand::Stop, true);
        playlist_->setCurrentIndex(-1);
        emit entryFinishedRequested();
    } else {
        setCommand(ListCommand::Play, true);
        playlist_->setCurrentIndex(0);
        emit openCurrentEntryRequested();
    }
}

void PlaylistPanel::FitListExtent(const QString& text, bool apply) {
    const int clientWidth = songList_->viewport()->width();
    if (!text.isEmpty()) {
        // Room for the check box in front of the name, and a margin behind it.
        const int checkBox = songList_->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, songList_) + 8;
        const int needed = songList_->fontMetrics().horizontalAdvance(text) + 20 + checkBox;
        if (clientWidth < needed && listExtent_ < needed) listExtent_ = needed;
    }
    if (apply && clientWidth < listExtent_) songList_->setHorizontalExtent(listExtent_);
}

void PlaylistPanel::BtnRemoveClick() { removeSelected(false); }

void PlaylistPanel::removeAfterDeviceError() { removeSelected(true); }

void PlaylistPanel::removeSelected(bool afterDeviceError) {
    const int line = selectedLine();
    if (!songList_->isEnabled() || line < 0) return;
    if (playlist_->count() == 1) {
        FileClearListClick();
        return;
    }
    if (playlist_->count() == 2) {
        setCommand(ListCommand::Next, false);
        setCommand(ListCommand::Previous, false);
    }
    const Playlist::RemovalResult result = playlist_->removeEntry(line);
    selectLine(result.lineToSelect);
    if (result.removal == Playlist::Removal::RemovedCurrent) emit currentEntryRemoved(afterDeviceError);
    SongListClick(false);
}

void PlaylistPanel::FileClearListClick() {
    emit closeRenameEditorRequested();
    playlist_->clear();
    for (ListCommand command :
         {ListCommand::Play, ListCommand::Pause, ListCommand::Stop, ListCommand::Next, ListCommand::Previous,
          ListCommand::Forward, ListCommand::Reverse, ListCommand::Eject, ListCommand::SaveList,
          ListCommand::SaveListAs, ListCommand::ClearList, ListCommand::SortList})
        setCommand(command, false);
    songList_->setHorizontalExtent(0);
    listExtent_ = songList_->viewport()->width();
    emit listCleared();
    SongListClick(false);
    panelSongList_->setFocus();
}

void PlaylistPanel::MoveFileUpClick() {
    const int line = selectedLine();
    if (!playlist_->moveUp(line)) return;
    selectLine(line - 1);
    SongListClick();
}

void PlaylistPanel::MoveFileDownClick() {
    const int line = selectedLine();
    if (!playlist_->moveDown(line)) return;
    selectLine(line + 1);
    SongListClick();
}

void PlaylistPanel::FileSortListClick() {
    emit closeRenameEditorRequested();
    if (!playlist_->sort()) return;
    emit listSorted();
    SongListClick(false);
}

void PlaylistPanel::UncheckAllClick() { playlist_->UncheckAllEntries(); }

void PlaylistPanel::SongListDblClick() {
    const int line = selectedLine();
    if (line >= 0) emit playEntryRequested(line);
}

bool PlaylistPanel::AskSaveChanges(bool allowCancel) {
    emit closeRenameEditorRequested();
    if (!playlist_->settleChangedFlag() || zipMode_) return true;
    const BoxButton answer =
        MessageBoxes::show(QStringLiteral("Save list now?"), QStringLiteral("This list has been changed. Save it now?"),
                           BoxIcon::Question, allowCancel ? BoxButtons::YesNoCancel : BoxButtons::YesNo, true);
    switch (answer) {
        case BoxButton::Yes: emit saveListRequested(); return true;
        case BoxButton::No: playlist_->MarkListSaved(); return true;
        default: return !allowCancel;
    }
}

}  // namespace vorlo
