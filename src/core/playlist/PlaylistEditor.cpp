#include "core/playlist/PlaylistEditor.h"

#include "core/app/BusyCursor.h"
#include "core/app/MessageBoxes.h"
#include "core/filebox/FolderWalk.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/MediaPaths.h"
#include "core/playlist/Playlist.h"
#include "core/playlist/ZipSession.h"
#include "os/NativePath.h"

#include <QFileInfo>

#include <algorithm>
#include <iterator>

namespace vorlo {

namespace {

const QString ListFileExtension = QStringLiteral(".mpl");

// A name with its line breaks shown as the escapes a user can read and search for.
QString readable(QString name) {
    return name.replace(QLatin1Char('\r'), QLatin1String("\\r")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

}  // namespace

void PlaylistEditor::refuseLineBreaks(const QStringList& names) {
    if (names.isEmpty()) return;
    const QString text =
        names.size() == 1 ? QStringLiteral(
                                "The name of \"%1\" holds a line break, which a playlist file cannot keep. It was not "
                                "added.")
                                .arg(readable(names.first()))
                          : QStringLiteral(
                                "%1 files were not added: their names hold line breaks, which a playlist file cannot "
                                "keep. The first is \"%2\".")
                                .arg(names.size())
                                .arg(readable(names.first()));
    MessageBoxes::show(QStringLiteral("Cannot Add File"), text, BoxIcon::Information);
}

PlaylistEditor::PlaylistEditor(Playlist& playlist, ZipSession& zip, QObject* parent)
    : QObject(parent), playlist_(playlist), zip_(zip) {}

void PlaylistEditor::refuseInZipMode() {
    MessageBoxes::show(QStringLiteral("Cannot Add File"),
                       QStringLiteral("Cannot add file to the playlist in Zip mode!"), BoxIcon::Information);
}

std::vector<PlaylistEntry> PlaylistEditor::entriesOfListFile(const QString& listFile) const {
    return existingEntries(ListFile::read(listFile));
}

std::vector<PlaylistEntry> PlaylistEditor::existingEntries(const QStringList& paths) {
    std::vector<PlaylistEntry> entries;
    for (const QString& path : paths) {
        // Files that have gone since the list was written are left out without a word.
        if (!pathExists(path)) continue;
        entries.push_back({path, fileNamePart(path), false});
    }
    return entries;
}

void PlaylistEditor::appendEntries(std::vector<PlaylistEntry>& batch) {
    playlist_.append(std::move(batch));
    batch.clear();
}

void PlaylistEditor::finishAdding() {
    AfterEntriesAdded();
    playlist_.selectLine(playlist_.count() - 1);
    emit focusRequested(PlaylistFocus::SongList);
}

int PlaylistEditor::addListedPaths(const QStringList& paths) {
    const BusyCursor busy;
    std::vector<PlaylistEntry> entries = existingEntries(paths);
    const int added = static_cast<int>(entries.size());
    appendEntries(entries);
    finishAdding();
    return added;
}

void PlaylistEditor::addSelectedFiles(const QString& folder, const std::vector<FileBoxItem>& files) {
    addFromFileBox(folder, files, false);
}

void PlaylistEditor::BtnAddAllClick(const QString& folder, const std::vector<FileBoxItem>& files) {
    addFromFileBox(folder, files, true);
}

void PlaylistEditor::addFromFileBox(const QString& folder, const std::vector<FileBoxItem>& files,
                                    bool settleAfterEachList) {
    if (files.empty()) {
        emit focusRequested(PlaylistFocus::FolderList);
        return;
    }
    const BusyCursor busy;
    const QString base = folderWithSeparator(folder);
    std::vector<PlaylistEntry> batch;
    batch.reserve(files.size());
    QStringList refused;
    for (const FileBoxItem& file : files) {
        const QString extension = extensionLowered(file.fileName);
        if (ListFile::holdsLineBreak(file.fileName)) {
            refused << base + file.fileName;
        } else if (IsPlayableExt(extension)) {
            batch.push_back({base + file.fileName, file.lineText, false});
        } else if (extension == ListFileExtension) {
            appendEntries(batch);
            std::vector<PlaylistEntry> listed = entriesOfListFile(base + file.fileName);
            appendEntries(listed);
            if (settleAfterEachList) AfterEntriesAdded();
        }
    }
    appendEntries(batch);
    finishAdding();
    refuseLineBreaks(refused);
}

void PlaylistEditor::addOneFile(const QString& path) {
    if (zip_.active()) {
        refuseInZipMode();
        return;
    }
    if (ListFile::holdsLineBreak(path)) {
        refuseLineBreaks({path});
        return;
    }
    playlist_.append({path, fileNamePart(path), false});
    AfterEntriesAdded();
    playlist_.selectLine(playlist_.count() - 1);
    emit focusRequested(PlaylistFocus::SongList);
}

void PlaylistEditor::insertFromFileBox(int dropIndex, const QString& folder, const std::vector<FileBoxItem>& files) {
    const BusyCursor busy;
    if (zip_.active()) {
        refuseInZipMode();
        return;
    }
    dropIndex = std::clamp(dropIndex, 0, playlist_.count());
    const QString base = folderWithSeparator(folder);
    std::vector<PlaylistEntry> batch;
    QStringList refused;
    for (const FileBoxItem& file : files) {
        const QString extension = extensionLowered(file.fileName);
        if (ListFile::holdsLineBreak(file.fileName)) {
            refused << base + file.fileName;
        } else if (IsPlayableExt(extension)) {
            batch.push_back({base + file.fileName, file.lineText, false});
        } else if (extension == ListFileExtension) {
            std::vector<PlaylistEntry> listed = entriesOfListFile(base + file.fileName);
            std::move(listed.begin(), listed.end(), std::back_inserter(batch));
        } else {
            break;  // the first file of another kind ends the drop; what came before it stays
        }
    }
    const int inserted = playlist_.insertAtDropPoint(dropIndex, std::move(batch));
    if (inserted > 0) playlist_.selectLine(dropIndex + inserted - 1);
    AfterEntriesAdded();
    emit focusRequested(PlaylistFocus::SongList);
    refuseLineBreaks(refused);
}

void PlaylistEditor::dropDraggedLine(int dropIndex) {
    const int moved = playlist_.dragMove(playlist_.DragIndex(), dropIndex);
    if (moved >= 0) playlist_.selectLine(moved);
    emit focusRequested(PlaylistFocus::SongList);
}

void PlaylistEditor::DropWatchFilesDropped(const QStringList& paths) {
    if (zip_.active()) {
        refuseInZipMode();
        return;
    }
    const BusyCursor busy;
    std::vector<PlaylistEntry> batch;
    for (const QString& path : paths) {
        const QString extension = extensionLowered(path);
        if (IsPlayableExt(extension)) {
            if (fileExists(path)) batch.push_back({path, fileNamePart(path), false});  // a folder named *.mid is none
        } else if (extension == ListFileExtension && fileExists(path)) {
            appendEntries(batch);
            std::vector<PlaylistEntry> listed = entriesOfListFile(path);
            appendEntries(listed);
        }
    }
    appendEntries(batch);
    finishAdding();
}

bool PlaylistEditor::mayAddFolder() {
    if (!zip_.active()) return true;
    refuseInZipMode();
    return false;
}

void PlaylistEditor::appendFound(const std::vector<FoundFile>& files) {
    std::vector<PlaylistEntry> batch;
    batch.reserve(files.size());
    for (const FoundFile& file : files) batch.push_back({file.path, file.name, false});
    playlist_.append(std::move(batch));
}

void PlaylistEditor::folderAdded(int countBefore) {
    if (playlist_.count() > countBefore) {
        playlist_.selectLine(playlist_.count() - 1);
        AfterEntriesAdded();
    }
    emit focusRequested(PlaylistFocus::SongList);
}

void PlaylistEditor::AfterEntriesAdded() { emit entriesAdded(); }

void PlaylistEditor::BtnRemoveClick() { removeSelected(false); }

void PlaylistEditor::removeAfterDeviceError() { removeSelected(true); }

void PlaylistEditor::removeSelected(bool afterDeviceError) {
    const int line = playlist_.selectedLine();
    if (line < 0) return;
    if (playlist_.count() == 1) {
        FileClearListClick();
        return;
    }
    const Playlist::RemovalResult result = playlist_.removeEntry(line);
    playlist_.selectLine(result.lineToSelect);
    if (result.removal == Playlist::Removal::RemovedCurrent) emit currentEntryRemoved(afterDeviceError);
    emit focusRequested(PlaylistFocus::SongList);
}

void PlaylistEditor::FileClearListClick() {
    emit closeRenameEditorRequested();
    playlist_.clear();
    emit listCleared();
    if (zip_.active()) {
        zip_.leave();
        emit closeListRequested();
    }
    emit focusRequested(PlaylistFocus::PlaylistPanel);
}

void PlaylistEditor::MoveFileUpClick() {
    const int line = playlist_.selectedLine();
    if (!playlist_.moveUp(line)) return;
    playlist_.selectLine(line - 1);
    emit focusRequested(PlaylistFocus::SongList);
}

void PlaylistEditor::MoveFileDownClick() {
    const int line = playlist_.selectedLine();
    if (!playlist_.moveDown(line)) return;
    playlist_.selectLine(line + 1);
    emit focusRequested(PlaylistFocus::SongList);
}

void PlaylistEditor::FileSortListClick() {
    emit closeRenameEditorRequested();
    if (!playlist_.sort()) return;
    emit listSorted();
}

void PlaylistEditor::UncheckAllClick() { playlist_.UncheckAllEntries(); }

void PlaylistEditor::SongListDblClick() {
    const int line = playlist_.selectedLine();
    if (line >= 0) emit playRequested(line);
}

void PlaylistEditor::GotoCurrent1Click() {
    if (playlist_.isEmpty()) return;
    playlist_.selectLine(playlist_.CurrentIndex());
}

bool PlaylistEditor::AskSaveChanges(bool allowCancel) {
    emit closeRenameEditorRequested();
    if (!playlist_.settleChangedFlag() || zip_.active()) return true;
    const BoxButton answer =
        MessageBoxes::show(QStringLiteral("Save list now?"), QStringLiteral("This list has been changed. Save it now?"),
                           BoxIcon::Question, allowCancel ? BoxButtons::YesNoCancel : BoxButtons::YesNo, true);
    switch (answer) {
        case BoxButton::Yes: emit saveListRequested(); return true;
        case BoxButton::No: playlist_.MarkListSaved(); return true;
        default: return !allowCancel;
    }
}

}  // namespace vorlo
