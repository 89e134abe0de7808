#pragma once

#include "core/playlist/ListHistory.h"
#include "player/app/WaitCursor.h"
#include "player/playlist/ListDialogs.h"
#include "player/playlist/ListHooks.h"
#include "player/playlist/RecentListsMenu.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vorlo {

class ListMenuActions;
class PlaylistPanel;
class Playlist;
struct Options;

// Who asked for a list to be loaded: the user (a dialog or a menu) or the player's start-up, which may restore
// the entry that was current when the player ended.
enum class LoadOrigin { User, StartUp };

// Who asked for the list to be closed. The main window keeps the focus where it is; opening an archive cannot
// be cancelled, so its save question offers only Yes and No.
enum class CloseOrigin { User, MainWindow, ArchiveOpening };

// The commands on list files: saving, opening, adding, the recent lists, closing, and the loading at start-up
// and saving at shutdown of the list history. It holds the state of the open and save dialogs (the save
// dialog's file name is the playlist's own file) and whether a list is open. Errors of reading or writing a
// file go to the application's error handler; the operation then stops with the playlist as it was.
class ListCommands : public QObject {
    Q_OBJECT
public:
    // `window` is the main window: the dialogs' parent and the window the reports are centred over.
    ListCommands(PlaylistPanel& panel, ListHooks hooks, QWidget* window);
    ~ListCommands() override;

    ListHistory& history() { return history_; }
    const ListHistory& history() const { return history_; }
    // The "&Recent Lists" submenu (object name "Recent"), to be added to the "&List" menu. It goes with these
    // commands.
    RecentListsMenu* recentMenu() const { return recentMenu_; }
    // The list items of the "&List" menu, connected to these commands and kept enabled as they decide.
    ListMenuActions& menuActions() const { return *actions_; }
    ListDialogs& dialogs() { return dialogs_; }
    const ListDialogs& dialogs() const { return dialogs_; }

    // The playlist's own list file; "*.mpl" when it has none.
    QString listFile() const { return dialogs_.saveFileName; }
    // The caption while no entry is shown: "Classics - MIDI Vorlo" for a list file, else "MIDI Vorlo".
    QString listCaption() const;
    // A list (or an archive) is open: "&Close List" is enabled.
    bool listOpen() const { return listOpen_; }
    void setListOpen(bool open);

    // The question before the list is left. Answers false when the user cancelled, and also when the user
    // chose to save but the list was not saved (the save dialog was cancelled or writing failed), so that no
    // change is lost. Without `allowCancel` only Yes and No are offered and the answer is always true.
    bool askSaveChanges(bool allowCancel = true);

    void FileSaveListClick();
    // `forSaveList`: runs on behalf of "&Save List" for a list without a file (dialog title "Save PlayList").
    void FileSaveListAsClick(bool forSaveList = false);
    void FileOpenListClick();
    void FileAddListClick();
    // A click on item `menuIndex` of the Recent Lists menu.
    void RecentListClick(int menuIndex);
    // Returns false when the user cancelled the save question and the list stayed open.
    bool FileCloseListClick(CloseOrigin origin = CloseOrigin::User);
    // Stops the device, leaves zip mode, empties the playlist and sets the commands for a loaded list. The caller
    // shows the hourglass for the whole load.
    void ResetListForLoad();
    // The paths just read from the open dialog's list file become the playlist; missing files are left out
    // and can be listed. `startIndex` is the entry to make current at start-up.
    void LoadPathsIntoList(const QStringList& paths, LoadOrigin origin, int startIndex = 0);

    // Start-up, after the options are read: the list to load, its folder, the last current entry, AutoLoad.
    void applyOptions(const Options& options);
    // Start-up: the history from History.ini in the program folder (none when the folder is unknown).
    void loadHistory(const QString& programFolder);
    // Start-up with a list file named on the command line.
    void openListAtStart(const QString& listFile);
    // Start-up without one: reopens the last list when AutoLoad is on.
    void autoLoadAtStart();
    // Shutdown: the entry to restore next time. (AutoLoadList and ListDirectory come from history().)
    void storeOptions(Options& options) const;
    // Shutdown: writes History.ini unless the history is empty or the program folder unknown.
    void saveHistory(const QString& programFolder) const;

    static QString historyFile(const QString& programFolder);

private:
    Playlist& playlist() const;
    void enable(ListCommand command, bool on) const;
    void busy() { busy_.emplace(); }
    void normalCursor() { busy_.reset(); }
    // Runs an operation; an error escaping it goes to the error handler. Returns false after an error.
    bool guarded(const std::function<void()>& operation);

    void saveList();
    void saveListAs(bool forSaveList);
    void openList();
    void addList();
    void openRecentList(int menuIndex);
    bool closeList(CloseOrigin origin);
    void loadPaths(const QStringList& paths, LoadOrigin origin, int startIndex);
    void chooseCurrentEntry(LoadOrigin origin, int startIndex);
    void reportMissing(const QStringList& missing, const QString& listFile) const;
    void setLoadedListCommands();
    void resetListForLoad();
    bool refusedListExtension(const QString& fileName) const;
    void saveOnRequest();

    PlaylistPanel& panel_;
    ListHooks hooks_;
    QWidget* window_;
    ListHistory history_;
    QPointer<RecentListsMenu> recentMenu_;
    ListMenuActions* actions_;
    ListDialogs dialogs_;
    std::optional<WaitCursor> busy_;
    bool listOpen_ = false;
    bool autoLoad_ = false;
    int startIndex_ = 0;
    bool saveRequested_ = false;
};

}  // namespace vorlo
