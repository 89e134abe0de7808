// The list commands the user gives: saving, opening, adding a list and the recent lists.
#include "player/playlist/ListCommands.h"

#include "core/app/ErrorHandler.h"
#include "core/app/MessageBoxes.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/MediaPaths.h"
#include "player/playlist/ListMenuActions.h"
#include "player/playlist/PlaylistPanel.h"
#include "player/playlist/RecentListsMenu.h"

#include <QAction>
#include <QToolButton>

namespace vorlo {

ListCommands::ListCommands(PlaylistPanel& panel, ListHooks hooks, QWidget* window)
    : panel_(panel),
      hooks_(std::move(hooks)),
      window_(window),
      recentMenu_(new RecentListsMenu(
          history_, [this](int index) { RecentListClick(index); }, window)),
      actions_(new ListMenuActions(this)) {
    connect(&panel_, &PlaylistPanel::saveListRequested, this, &ListCommands::saveOnRequest);
    connect(&panel_, &PlaylistPanel::commandEnabled, actions_, &ListMenuActions::setEnabled);
    connect(actions_->openList, &QAction::triggered, this, &ListCommands::FileOpenListClick);
    connect(actions_->addList, &QAction::triggered, this, &ListCommands::FileAddListClick);
    connect(actions_->saveList, &QAction::triggered, this, &ListCommands::FileSaveListClick);
    connect(actions_->saveListAs, &QAction::triggered, this, [this] { FileSaveListAsClick(false); });
    connect(actions_->sortList, &QAction::triggered, &panel_, &PlaylistPanel::FileSortListClick);
    connect(actions_->clearList, &QAction::triggered, &panel_, &PlaylistPanel::FileClearListClick);
    connect(actions_->closeList, &QAction::triggered, this, [this] { FileCloseListClick(CloseOrigin::User); });
}

ListCommands::~ListCommands() {
    // Its items call these commands: the menu leaves the menu bar with them.
    delete recentMenu_.data();
}

Playlist& ListCommands::playlist() const { return panel_.playlist(); }

void ListCommands::enable(ListCommand command, bool on) const {
    actions_->setEnabled(command, on);
    if (hooks_.setCommandEnabled) hooks_.setCommandEnabled(command, on);
}

void ListCommands::setListOpen(bool open) {
    listOpen_ = open;
    actions_->closeList->setEnabled(open);
    if (hooks_.setCloseListEnabled) hooks_.setCloseListEnabled(open);
}

QString ListCommands::listCaption() const {
    if (!dialogs_.playlistHasFile()) return QStringLiteral("MIDI Vorlo");
    const QString name = fileNamePart(dialogs_.saveFileName);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? name : name.left(dot)) + QStringLiteral(" - MIDI Vorlo");
}

bool ListCommands::guarded(const std::function<void()>& operation) {
    try {
        operation();
        return true;
    } catch (const std::exception& error) {
        normalCursor();
        ErrorHandler::handle(error);
        return false;
    }
}

void ListCommands::saveOnRequest() {
    saveRequested_ = true;
    guarded([this] { saveList(); });
}

bool ListCommands::askSaveChanges(bool allowCancel) {
    saveRequested_ = false;
    if (!panel_.AskSaveChanges(allowCancel)) return false;
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
    if (hooks_.closeRenameEditor) hooks_.closeRenameEditor();
    if (!dialogs_.playlistHasFile()) {
        saveListAs(true);
        return;
    }
    ListFile::write(dialogs_.saveFileName, playlist().PathList());
    dialogs_.openFileName = dialogs_.saveFileName;
    playlist().MarkListSaved();
}

void ListCommands::FileSaveListAsClick(bool forSaveList) {
    guarded([this, forSaveList] { saveListAs(forSaveList); });
}

void ListCommands::saveListAs(bool forSaveList) {
    if (hooks_.closeRenameEditor) hooks_.closeRenameEditor();
    const std::optional<QString> chosen = dialogs_.runSaveDialog(
        window_, forSaveList ? QStringLiteral("Save PlayList") : QStringLiteral("Save PlayList As"));
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
    if (fileExists(fileName) && (fileName != dialogs_.openFileName || !listOpen_)) {
        MessageBox question;
        question.caption = QStringLiteral("Warning - Overwrite playlist file");
        question.text = QStringLiteral("Do you want to overwrite '") + fileNamePart(fileName) +
                        QStringLiteral("' with current playlist?");
        question.icon = BoxIcon::Warning;
        question.buttons = BoxButtons::YesNo;
        question.defaultButton = BoxButton::No;
        if (MessageBoxes::show(question) != BoxButton::Yes) {
            dialogs_.saveFileName = ListDialogs::NoFile;
            return;
        }
    }
    ListFile::write(fileName, playlist().PathList());

    history_.PushHistory(fileName);
    dialogs_.saveFileName = fileName;
    dialogs_.openFileName = fileName;

    const QString savedName = fileNamePart(fileName);
    const QString listName = savedName.left(savedName.lastIndexOf(QLatin1Char('.')));
    const int current = playlist().CurrentIndex();
    // A list saved without a current entry has no song to name.
    const QString caption = playlist().isValidIndex(current)
                                ? fileNamePart(playlist().path(current)) + QStringLiteral(" - ") + listName +
                                      QStringLiteral(" - MIDI Vorlo")
                                : listName + QStringLiteral(" - MIDI Vorlo");
    if (hooks_.setCaption) hooks_.setCaption(caption);

    setListOpen(true);
    playlist().MarkListSaved();
    dialogs_.saveInitialFolder = folderOfPath(fileName);
}

void ListCommands::FileOpenListClick() {
    guarded([this] { openList(); });
    normalCursor();
}

void ListCommands::openList() {
    if (!askSaveChanges(true)) return;
    const std::optional<QString> chosen = dialogs_.runOpenDialog(window_, QStringLiteral("Open PlayList"));
    if (chosen) {
        if (refusedListExtension(*chosen) || !fileExists(*chosen)) return;
        // Read first: a list that cannot be read leaves the playlist as it is.
        const QStringList paths = ListFile::read(*chosen);
        resetListForLoad();
        dialogs_.openFileName = *chosen;
        history_.PushHistory(*chosen);
        dialogs_.saveFileName = *chosen;
        loadPaths(paths, LoadOrigin::User, 0);
        dialogs_.openInitialFolder = folderOfPath(*chosen);
    }
    if (hooks_.refreshFileBoxButtons) hooks_.refreshFileBoxButtons();
    normalCursor();
}

void ListCommands::FileAddListClick() {
    guarded([this] { addList(); });
    normalCursor();
}

void ListCommands::addList() {
    const std::optional<QString> chosen = dialogs_.runOpenDialog(window_, QStringLiteral("Add Playlist"));
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
        dialogs_.openFileName = dialogs_.saveFileName;
        const int added = panel_.addListedPaths(paths);
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
    if (QToolButton* addFile = panel_.button(QStringLiteral("BtnAddFile"))) addFile->setEnabled(false);
    panel_.selectLine(playlist().count() - 1);
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
        history_.forgetMenuItem(static_cast<int>(history_.menuItems().indexOf(path)));
        return;
    }
    const QStringList paths = ListFile::read(path);
    resetListForLoad();
    dialogs_.openFileName = path;
    history_.PushHistory(path);
    dialogs_.saveFileName = path;
    loadPaths(paths, LoadOrigin::User, 0);
    if (hooks_.refreshFileBoxButtons) hooks_.refreshFileBoxButtons();
    normalCursor();
}

}  // namespace vorlo
