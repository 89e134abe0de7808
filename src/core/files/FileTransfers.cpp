// Copying and moving the files of playlist entries to a folder (the copy and move dialog, and a playlist line
// dropped on the folder list), and making folders.
#include "core/app/MessageBoxes.h"
#include "core/files/DiskFiles.h"
#include "core/files/FileCommands.h"
#include "core/playback/PlaybackEngine.h"
#include "core/playlist/MediaPaths.h"
#include "core/playlist/Playlist.h"
#include "core/playlist/ZipSession.h"

#include <vector>

namespace vorlo {

namespace {

const QString CreateFolderCaption = QStringLiteral("Error - Create New Folder");

void tell(const QString& caption, const QString& text, BoxIcon icon) {
    MessageBoxes::show(caption, text, icon, BoxButtons::Ok, true);
}

QString noNeedText(TransferMode mode) {
    return mode == TransferMode::Move ? QStringLiteral("No need to move file to the same folder!")
                                      : QStringLiteral("No need to copy file to the same folder!");
}

QString cannotCopyText(const QString& source) {
    return QStringLiteral("Cannot copy file '") + source +
           QStringLiteral("\"!\nCheck if the drive is a read-only device.");
}

QString cannotMoveText(const QString& source) {
    return QStringLiteral("Cannot move file '") + source +
           QStringLiteral("'!\nCheck if the file is on a read-only device.");
}

QString withoutSeparatorAtEnd(const QString& folder) {
    QString name = folder;
    while (name.size() > 1 && name.endsWith(QLatin1Char('/'))) name.chop(1);
    return name;
}

// Where the file of an entry goes in `folder`: under its name as the playlist shows it (only the name: a display
// text can never lead out of the folder).
QString targetIn(const QString& folder, const QString& displayName) {
    return folderWithSeparator(folder) + fileNamePart(displayName);
}

}  // namespace

bool FileCommands::askOverwrite(const QString& caption) const {
    MessageBox question;
    question.caption = caption;
    question.text = QStringLiteral(
        "A file with the same name is already in that folder. Do you want to overwrite that file with this one?");
    question.icon = BoxIcon::Question;
    question.buttons = BoxButtons::YesNo;
    question.defaultButton = BoxButton::No;
    question.topMost = true;
    return MessageBoxes::show(question) == BoxButton::Yes;
}

bool FileCommands::replaceable(const QString& target, const QString& caption) const {
    // The old file goes only when the new one takes its place; what could not be replaced is known beforehand.
    if (!DiskFiles::isFolder(target) && DiskFiles::folderWritable(folderOfPath(target))) return true;
    tell(caption, QStringLiteral("Cannot overwrite the file!"), BoxIcon::Error);
    return false;
}

bool FileCommands::sameFolderOrFile(int index, const QString& folder, const QString& target) const {
    const QString source = playlist_.path(index);
    return withoutSeparatorAtEnd(folderOfPath(source)) == folder || DiskFiles::sameFile(source, target);
}

bool FileCommands::moveEntryFile(int index, const QString& target, bool replace, bool& wasOpen) {
    const QString source = playlist_.path(index);
    wasOpen = engine_.holdsFile(source);
    DiskResult moved;
    engine_.releasingFile(source, [&]() -> std::optional<QString> {
        moved = DiskFiles::move(source, target, replace ? DiskFiles::Existing::Replace : DiskFiles::Existing::Keep);
        return moved.ok() ? std::optional<QString>(target) : std::nullopt;
    });
    if (!moved.ok()) return false;
    for (int i = 0; i < playlist_.count(); ++i) {
        if (playlist_.path(i) == source) relocate(i, target, playlist_.displayName(i));
    }
    return true;
}

void FileCommands::transfer(TransferMode mode, int index, const QString& target, bool replace) {
    const QString source = playlist_.path(index);
    if (mode == TransferMode::Copy) {
        const DiskResult copied =
            DiskFiles::copy(source, target, replace ? DiskFiles::Existing::Replace : DiskFiles::Existing::Keep);
        if (!copied.ok()) tell(QStringLiteral("Error - Copy File"), cannotCopyText(source), BoxIcon::Error);
        return;
    }
    bool wasOpen = false;
    if (!moveEntryFile(index, target, replace, wasOpen))
        tell(QStringLiteral("Error - Move File"), cannotMoveText(source), BoxIcon::Error);
}

void FileCommands::handleOne(TransferMode mode, int index, const QString& folder) {
    const QString display = playlist_.displayName(index);
    const QString target = targetIn(folder, display);
    if (!DiskFiles::exists(target)) {
        transfer(mode, index, target, false);
        return;
    }
    if (sameFolderOrFile(index, folder, target)) {
        tell(display, noNeedText(mode), BoxIcon::Information);
        return;
    }
    if (!askOverwrite(display)) return;
    if (mode == TransferMode::Move && !replaceable(target, display)) return;
    transfer(mode, index, target, true);
}

DialogOutcome FileCommands::createFolder(const QString& folderText, const QString& baseFolder) {
    const QString folder = destinationFolder(folderText, baseFolder);
    if (!DiskFiles::createFolder(folder).ok()) {
        if (DiskFiles::exists(folder)) {
            emit folderShown(folder);
            MessageBoxes::show(CreateFolderCaption, QStringLiteral("This folder already exists!"), BoxIcon::Error);
        } else {
            MessageBoxes::show(CreateFolderCaption,
                               QStringLiteral("Cannot create new folder '") + folder + QStringLiteral("'!"),
                               BoxIcon::Error);
        }
        return DialogOutcome::Abandoned;
    }
    emit folderCreated(folder);
    return DialogOutcome::Completed;
}

DialogOutcome FileCommands::transferFiles(TransferMode mode, TransferScope scope, const QString& folderText,
                                          const QString& baseFolder) {
    const QString folder = destinationFolder(folderText, baseFolder);
    if (!DiskFiles::exists(folder)) {
        const QString quoted = QLatin1Char('"') + folder + QLatin1Char('"');
        if (MessageBoxes::show(
                QStringLiteral("Create New Folder?"),
                QStringLiteral("The directory ") + quoted + QStringLiteral(" doesn't exist. Creat it Now?"),
                BoxIcon::Warning, BoxButtons::YesNo, true) != BoxButton::Yes)
            return DialogOutcome::Abandoned;
        if (!DiskFiles::createFolder(folder).ok()) {
            tell(CreateFolderCaption, QStringLiteral("Cannot create new folder ") + quoted + QStringLiteral(" !"),
                 BoxIcon::Error);
            return DialogOutcome::Abandoned;
        }
        emit folderCreated(folder);
    }

    // In zip mode only the member on disk, the current one, can be copied; nothing is moved.
    const bool zip = zip_.active();
    if (zip && (mode == TransferMode::Move || scope != TransferScope::One)) return DialogOutcome::Abandoned;
    std::vector<int> entries;
    if (scope == TransferScope::One) {
        if (playlist_.isValidIndex(playlist_.DragIndex())) entries.push_back(playlist_.DragIndex());
    } else {
        for (int i = 0; i < playlist_.count(); ++i) {
            if (scope == TransferScope::All || playlist_.isChecked(i)) entries.push_back(i);
        }
    }
    for (int index : entries) {
        if (scope != TransferScope::One) {
            playlist_.setDragIndex(index);
            playlist_.selectLine(index);
        }
        handleOne(mode, index, folder);
    }
    emit folderContentsChanged(QString(), QString());
    saveIfListFile();
    return DialogOutcome::Completed;
}

std::optional<FileCommands::DropTarget> FileCommands::dropTarget(const QString& dropFolder, TransferMode mode) const {
    DropTarget drop;
    drop.index = playlist_.DragIndex();
    if (!playlist_.isValidIndex(drop.index)) return std::nullopt;
    drop.folder = withoutSeparatorAtEnd(dropFolder);
    drop.display = playlist_.displayName(drop.index);
    drop.source = playlist_.path(drop.index);
    drop.target = targetIn(drop.folder, drop.display);
    if (drop.target == drop.source || DiskFiles::sameFile(drop.source, drop.target)) {
        tell(drop.display, noNeedText(mode), BoxIcon::Information);
        return std::nullopt;
    }
    return drop;
}

void FileCommands::dropMove(const QString& dropFolder) {
    if (zip_.active()) return;
    const std::optional<DropTarget> drop = dropTarget(dropFolder, TransferMode::Move);
    if (!drop) return;
    bool replace = false;
    if (DiskFiles::exists(drop->target)) {
        if (!askOverwrite(drop->display) || !replaceable(drop->target, drop->display)) return;
        replace = true;
    }
    bool wasOpen = false;
    if (!moveEntryFile(drop->index, drop->target, replace, wasOpen)) {
        tell(QStringLiteral("Error - Move File"),
             wasOpen ? QStringLiteral("Cannot move file '") + drop->source + QStringLiteral("'!")
                     : cannotMoveText(drop->source),
             BoxIcon::Error);
        return;
    }
    emit folderContentsChanged(withoutSeparatorAtEnd(folderOfPath(drop->source)), QString());
    emit folderContentsChanged(drop->folder, fileNamePart(drop->display));
    saveIfListFile();
}

void FileCommands::dropCopy(const QString& dropFolder) {
    if (zip_.active() && playlist_.DragIndex() != playlist_.CurrentIndex()) return;
    const std::optional<DropTarget> drop = dropTarget(dropFolder, TransferMode::Copy);
    if (!drop) return;
    DiskFiles::Existing existing = DiskFiles::Existing::Keep;
    if (DiskFiles::exists(drop->target)) {
        if (!askOverwrite(drop->display) || !replaceable(drop->target, drop->target)) return;
        existing = DiskFiles::Existing::Replace;
    }
    if (!DiskFiles::copy(drop->source, drop->target, existing).ok())
        tell(QStringLiteral("Error - Copy File"), cannotCopyText(drop->source), BoxIcon::Error);
    emit folderContentsChanged(drop->folder, fileNamePart(drop->display));
}

}  // namespace vorlo
