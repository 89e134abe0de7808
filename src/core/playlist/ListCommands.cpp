// The list commands the user gives: saving, opening, adding a list and the recent lists.
#include "core/playlist/ListCommands.h"

#include "core/app/ErrorHandler.h"
#include "core/app/Logging.h"
#include "core/app/MessageBoxes.h"
#include "core/playback/PlaybackEngine.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/ListPrompts.h"
#include "core/playlist/MediaPaths.h"
#include "core/playlist/Playlist.h"
#include "core/playlist/PlaylistEditor.h"
#include "core/playlist/ZipSession.h"

namespace vorlo {

ListCommands::ListCommands(PlaylistEditor& editor, PlaybackEngine& engine, ZipSession& zip, ListFileNames& fileNames,
                           QObject* parent)
    : QObject(parent), editor_(editor), engine_(engine), zip_(zip), names_(fileNames) {
    connect(&editor_, &PlaylistEditor::saveListRequested, this, &ListCommands::saveOnRequest);
}

ListCommands::~ListCommands() = default;

Playlist& ListCommands::playlist() const { return editor_.playlist(); }

void ListCommands::setListOpen(bool open) {
    if (listOpen_ == open) return;
    listOpen_ = open;
    emit listOpenChanged(open);
}

bool ListCommands::guarded(const std::function<void()>& operation) {
    return ErrorHandler::run([&] {
        try {
            operation();
        } catch (...) {
            normalCursor();
            throw;
        }
    });
}

std::optional<QString> ListCommands::chooseToOpen(const QString& title) {
    if (!prompts_) return std::nullopt;
    return prompts_->chooseListToOpen(title, names_.openFileName, names_.openInitialFolder);
}

std::optional<QString> ListCommands::chooseToSave(const QString& title) {
    if (!prompts_) return std::nullopt;
    return prompts_->chooseListToSave(title, names_.saveFileName, names_.saveInitialFolder);
}

void ListCommands::saveOnRequest() {
    saveRequested_ = true;
    guarded([this] { saveList(); });
}

bool ListCommands::askSaveChanges(bool allowCancel) {
    saveRequested_ = false;
    if (!editor_.AskSaveChanges(allowCancel)) return false;
    // "Yes" that did not save (the dialog was cancelled, the file could not be written) keeps the changes.
    return !(allowCancel && saveRequested_ && playlist().ListChanged());
}

bool ListCommands::refusedListExtension(const QString& fileName) const {
    if (ListFile::hasListExtension(fileName)) return false;
    MessageBoxes::show(
        QStringLiteral("Error - Playlist File Type"),
        QStringLiteral("You can only open a playlist file (*.mpl).\nTo play mid, rmi, avi and wav files, "
                       "simply double click them in the file box."),
        BoxIcon::Error);
    return true;
}

void ListCommands::FileSaveListClick() {
    guarded([this] { saveList(); });
}

void ListCommands::saveList() {
    emit closeRenameEditorRequested();
    if (!names_.playlistHasFile()) {
        saveListAs(true);
        return;
    }
    ListFile::write(names_.saveFileName, playlist().PathList());
    qCDebug(lcLists) << "list saved to" << names_.saveFileName;
    names_.openFileName = names_.saveFileName;
    playlist().MarkListSaved();
}

void ListCommands::FileSaveListAsClick(bool forSaveList) {
    guarded([this, forSaveList] { saveListAs(forSaveList); });
}

void ListCommands::saveListAs(bool forSaveList) {
    emit closeRenameEditorRequested();
    const std::optional<QString> chosen =
        chooseToSave(forSaveList ? QStringLiteral("Save PlayList") : QStringLiteral("Save PlayList As"));
    if (!chosen) return;
    QString fileName = *chosen;
    if (!ListFile::hasListExtension(fileName)) {
        MessageBoxes::show(QStringLiteral("Reminding - MIDI Vorlo PlayList File Extension"),
                           QStringLiteral("You have typed a wrong extension for playlist file.\nRemember, you don't "
                                          "have to type any extension.\nMIDI Vorlo will always save playlist File "
                                          "with the 'mpl' extension."),
                           BoxIcon::Information, BoxButtons::Ok, true);
        fileName = ListFile::withListExtension(fileName);
    }
    // Saving over the open list's own file is what "Save" means; any other existing file is asked for.
    if (fileExists(fileName) && (fileName != names_.openFileName || !listOpen_)) {
        MessageBox question;
        question.caption = QStringLiteral("Warning - Overwrite playlist file");
        question.text = QStringLiteral("Do you want to overwrite '") + fileNamePart(fileName) +
                        QStringLiteral("' with current playlist?");
        question.icon = BoxIcon::Warning;
        question.buttons = BoxButtons::YesNo;
        question.defaultButton = BoxButton::No;
        if (MessageBoxes::show(question) != BoxButton::Yes) {
            names_.saveFileName = ListFileNames::NoFile;
            return;
        }
    }
    ListFile::write(fileName, playlist().PathList());
    qCDebug(lcLists) << "list saved as" << fileName;

    history_.PushHistory(fileName);
    names_.saveFileName = fileName;
    names_.openFileName = fileName;

    const QString savedName = fileNamePart(fileName);
    const QString listName = savedName.left(savedName.lastIndexOf(QLatin1Char('.')));
    const int current = playlist().CurrentIndex();
    // A list saved without a current entry has no song to name.
    const QString caption = playlist().isValidIndex(current)
                                ? fileNamePart(playlist().path(current)) + QStringLiteral(" - ") + listName +
                                      QStringLiteral(" - MIDI Vorlo")
                                : listName + QStringLiteral(" - MIDI Vorlo");
    engine_.announce(caption);

    setListOpen(true);
    playlist().MarkListSaved();
    names_.saveInitialFolder = folderOfPath(fileName);
}

void ListCommands::FileOpenListClick() {
    guarded([this] { openList(); });
    normalCursor();
}

void ListCommands::openList() {
    if (!askSaveChanges(true)) return;
    const std::optional<QString> chosen = chooseToOpen(QStringLiteral("Open PlayList"));
    if (chosen) {
        if (refusedListExtension(*chosen) || !fileExists(*chosen)) return;
        // Read first: a list that cannot be read leaves the playlist as it is.
        const QStringList paths = ListFile::read(*chosen);
        resetListForLoad();
        names_.openFileName = *chosen;
        history_.PushHistory(*chosen);
        names_.saveFileName = *chosen;
        loadPaths(paths, LoadOrigin::User, 0);
        names_.openInitialFolder = folderOfPath(*chosen);
    }
    emit fileBoxRefreshWanted();
    normalCursor();
}

void ListCommands::FileAddListClick() {
    guarded([this] { addList(); });
    normalCursor();
}

void ListCommands::addList() {
    const std::optional<QString> chosen = chooseToOpen(QStringLiteral("Add Playlist"));
    if (chosen) {
        if (refusedListExtension(*chosen) || !fileExists(*chosen)) return;
        busy();
        const QStringList paths = ListFile::read(*chosen);
        if (paths.isEmpty()) {
            normalCursor();
            MessageBoxes::show(QStringLiteral("Empty Playlist file"),
                               QStringLiteral("No record in this playlist file!"), BoxIcon::Information);
            return;
        }
        // The added file becomes neither the playlist's file nor part of the history.
        names_.openFileName = names_.saveFileName;
        const int added = editor_.addListedPaths(paths);
        qCDebug(lcLists) << "list" << *chosen << "added:" << added << "of" << paths.size() << "entries";
        if (added < paths.size()) {
            normalCursor();
            playlist().MarkListChanged();
            MessageBoxes::show(
                QStringLiteral("File Changes"),
                QStringLiteral("Because some files store in this playlist files has been either deleted, renamed or "
                               "removed from the previous path, MIDI Vorlo did not load these files to the playlist "
                               "box.  The playlist file itself remains unchanged. If you're sure that these files are "
                               "not located on a removable drive, you should save the current playlist to avoid this "
                               "message, otherwise you should ignore the message: 'playlist has been changed' when you "
                               "close this playlist file."),
                BoxIcon::Information);
        }
    }
    emit addSelectedSpent();
    playlist().selectLine(playlist().count() - 1);
    normalCursor();
}

void ListCommands::RecentListClick(int menuIndex) {
    guarded([this, menuIndex] { openRecentList(menuIndex); });
    normalCursor();
}

void ListCommands::openRecentList(int menuIndex) {
    const QString path = history_.menuItems().value(menuIndex);
    if (path.isEmpty()) return;
    // Saving first may change the menu, so the item is found again by its path afterwards.
    if (!askSaveChanges(true)) return;
    if (!fileExists(path)) {
        qCDebug(lcLists) << "recent list" << path << "has gone: forgotten";
        history_.forgetMenuItem(static_cast<int>(history_.menuItems().indexOf(path)));
        return;
    }
    const QStringList paths = ListFile::read(path);
    resetListForLoad();
    names_.openFileName = path;
    history_.PushHistory(path);
    names_.saveFileName = path;
    loadPaths(paths, LoadOrigin::User, 0);
    emit fileBoxRefreshWanted();
    normalCursor();
}

}  // namespace vorlo
