// Renaming and deleting the files of playlist entries, and deleting the file box's folders.
#include "core/files/FileCommands.h"

#include "core/app/MessageBoxes.h"
#include "core/files/DiskFiles.h"
#include "core/playback/PlaybackEngine.h"
#include "core/playlist/ListCommands.h"
#include "core/playlist/MediaPaths.h"
#include "core/playlist/Playlist.h"
#include "core/playlist/PlaylistEditor.h"
#include "core/playlist/ZipSession.h"

namespace vorlo {

namespace {

const QString RenameCaption = QStringLiteral("Error - Rename file");

void renameError(const QString& text, const QString& caption = RenameCaption) {
    MessageBoxes::show(caption, text, BoxIcon::Error);
}

// A folder as the file box names it: without a separator at its end, except the root.
QString folderName(const QString& folderWithSeparatorAtEnd) {
    QString folder = folderWithSeparatorAtEnd;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folder;
}

}  // namespace

FileCommands::FileCommands(PlaylistEditor& editor, PlaybackEngine& engine, ListCommands& lists, ZipSession& zip,
                           QObject* parent)
    : QObject(parent), playlist_(editor.playlist()), editor_(editor), engine_(engine), lists_(lists), zip_(zip) {}

void FileCommands::saveIfListFile() {
    if (zip_.active() || !lists_.fileNames().playlistHasFile()) return;
    lists_.FileSaveListClick();
}

void FileCommands::relocate(int index, const QString& path, const QString& displayName) {
    playlist_.setEntryFile(index, path, displayName);
    if (index == playlist_.CurrentIndex()) engine_.currentEntryRenamed();
}

QString FileCommands::destinationFolder(const QString& folderText, const QString& baseFolder) {
    QString folder = folderText;
    if (!folder.startsWith(QLatin1Char('/'))) folder = folderWithSeparator(baseFolder) + folder;
    return folderName(folder);
}

FileCommands::RenameResult FileCommands::renameEntry(int index, const QString& typed) {
    if (!playlist_.isValidIndex(index) || zip_.active()) return RenameResult::Unchanged;
    const QString old = playlist_.displayName(index);
    const qsizetype dot = old.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? old : old.left(dot);
    if (typed == old || typed == stem) return RenameResult::Unchanged;

    // A name with a separator would move the file elsewhere, and an empty one would leave only the extension.
    if (typed.isEmpty() || typed.contains(QLatin1Char('/')) || typed == QLatin1String(".") ||
        typed == QLatin1String("..")) {
        renameError(QStringLiteral("A file name cannot be empty or contain \"/\"."));
        return RenameResult::Failed;
    }
    const QString path = playlist_.path(index);
    if (!DiskFiles::exists(path)) {
        renameError(
            QStringLiteral("The file does not exist new! What have you done to it?!\nHave you deleted, moved or "
                           "renamed the file and its path?"));
        return RenameResult::Failed;
    }
    // Renaming on this system needs the folder's write permission, not the file's: both are asked for, so that a
    // read-only file stays as it is.
    if (!DiskFiles::writable(path) || !DiskFiles::folderWritable(folderOfPath(path))) {
        renameError(QStringLiteral("Permission denied! You cannot write to this file."));
        return RenameResult::Failed;
    }
    if (DiskFiles::isFolder(path)) {
        renameError(QStringLiteral("How did you get here!?"));
        return RenameResult::Failed;
    }

    const QString name = typed.contains(QLatin1Char('.')) || dot < 0 ? typed : typed + old.mid(dot);
    const QString newPath = folderOfPath(path) + name;
    DiskResult renamed;
    engine_.releasingFile(path, [&]() -> std::optional<QString> {
        renamed = DiskFiles::renameNoReplace(path, newPath);
        return renamed.ok() ? std::optional<QString>(newPath) : std::nullopt;
    });
    switch (renamed.error) {
        case DiskError::None: break;
        case DiskError::NotFound:
            renameError(QStringLiteral("No such a file! This file may have been deleted or renamed."));
            return RenameResult::Failed;
        case DiskError::CrossDevice: renameError(QStringLiteral("Not same device!")); return RenameResult::Failed;
        case DiskError::Exists:
        case DiskError::NotEmpty:
        case DiskError::IsFolder:
            renameError(QStringLiteral("Permission denied! Same name file already exists."));
            return RenameResult::Failed;
        default:
            renameError(QStringLiteral("How did you reach here?"), RenameCaption + QLatin1Char(' '));
            return RenameResult::Failed;
    }

    // Every line of the playlist that stands for this file follows it.
    for (int i = 0; i < playlist_.count(); ++i) {
        if (playlist_.path(i) == path) relocate(i, newPath, name);
    }
    emit fileBoxRefreshWanted();
    saveIfListFile();
    playlist_.selectLine(index);
    return RenameResult::Renamed;
}

void FileCommands::PopDeleteClick() {
    const int index = playlist_.selectedLine();
    if (!playlist_.isValidIndex(index) || zip_.active()) return;
    const QString path = playlist_.path(index);
    MessageBox question;
    question.caption = QStringLiteral("Warning - Delete file");
    question.text = QStringLiteral("Do you really want to delete '") + fileNamePart(path) +
                    QStringLiteral(
                        "'?\nYou will lose this file forever if you press 'Yes'!\nAdvice: Press 'No' then "
                        "remove this file from the playlist.");
    question.icon = BoxIcon::Warning;
    question.buttons = BoxButtons::YesNo;
    question.defaultButton = BoxButton::No;
    if (MessageBoxes::show(question) != BoxButton::Yes) {
        saveIfListFile();
        return;
    }
    // A file the media device has open can be deleted on this system: the device reads on from what it holds until
    // the entry is replaced below.
    const DiskResult removed = DiskFiles::remove(path);
    if (!removed.ok()) {
        const QString caption = QStringLiteral("Error - Delete file ");
        switch (removed.error) {
            case DiskError::Denied:
                MessageBoxes::show(caption,
                                   QStringLiteral("Permission denied! Check if the file is on a read-only device."),
                                   BoxIcon::Error);
                break;
            case DiskError::NotFound:
                MessageBoxes::show(caption,
                                   QStringLiteral("No such a file! This file may have been deleted or renamed."),
                                   BoxIcon::Error);
                break;
            default:
                MessageBoxes::show(
                    caption,
                    QStringLiteral("Cannot delete the file '") + path + QStringLiteral("'!\n") + removed.reason(),
                    BoxIcon::Error);
                break;
        }
        return;
    }
    deleteAfterYes(index);
}

void FileCommands::deleteAfterYes(int index) {
    const QString folder = folderName(folderOfPath(playlist_.path(index)));
    if (playlist_.count() == 1) {
        editor_.FileClearListClick();
        emit folderContentsChanged(folder, QString());
        return;
    }
    const bool wasCurrent = index == playlist_.CurrentIndex();
    const bool wasLast = index == playlist_.count() - 1;
    playlist_.removeEntry(index);
    if (wasCurrent) {
        engine_.replaceDeletedCurrent(index, wasLast);
        if (wasLast) {
            emit folderContentsChanged(folder, QString());
            return;
        }
    }
    playlist_.selectLine(playlist_.CurrentIndex());
    emit folderContentsChanged(folder, QString());
    saveIfListFile();
}

bool FileCommands::deleteFolder(const QString& folder) {
    const DiskResult removed = DiskFiles::removeFolder(folder);
    if (removed.error == DiskError::Denied) {
        MessageBoxes::show(QStringLiteral("Error - Delete Folder"),
                           QStringLiteral("Permission denied! Folder ") + folder +
                               QStringLiteral(" cannot be removed from its parent folder."),
                           BoxIcon::Error);
    } else if (!removed.ok()) {
        MessageBoxes::show(QStringLiteral("Error - Delete Folder"),
                           QStringLiteral("Folder ") + folder +
                               QStringLiteral(" is either root directory or is not empty!\nRemove all the files in "
                                              "this folder and try again."),
                           BoxIcon::Error);
    }
    emit fileBoxRefreshWanted();
    return removed.ok();
}

}  // namespace vorlo
