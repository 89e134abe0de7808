#pragma once

#include "core/app/BusyCursor.h"
#include "core/playlist/ListFileNames.h"
#include "core/playlist/ListHistory.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vorlo {

class ListPrompts;
class PlaybackEngine;
class Playlist;
class PlaylistEditor;
class ZipSession;
struct Options;

// Who asked for a list to be loaded: the user (a dialog or a menu) or the player's start-up, which may restore
// the entry that was current when the player ended.
enum class LoadOrigin { User, StartUp };

// Who asked for the list to be closed. The main window keeps the focus where it is; opening an archive cannot
// be cancelled, so its save question offers only Yes and No.
enum class CloseOrigin { User, MainWindow, ArchiveOpening };

// The commands on list files: saving, opening, adding, the recent lists, closing, and the loading at start-up
// and saving at shutdown of the list history. It keeps what the list dialogs remember (the save name is the
// playlist's own file) and whether a list is open, and asks the user through ListPrompts. Each command is its
// own error boundary: an error of reading or writing a file goes to the ErrorHandler and the operation stops
// with the playlist as it was. User-interface thread only.
class ListCommands : public QObject {
    Q_OBJECT
public:
    ListCommands(PlaylistEditor& editor, PlaybackEngine& engine, ZipSession& zip, ListFileNames& fileNames,
                 QObject* parent = nullptr);
    ~ListCommands() override;

    // Where the file dialogs and the missing-files report come from; none: every dialog counts as cancelled.
    void setPrompts(ListPrompts* prompts) { prompts_ = prompts; }

    ListHistory& history() { return history_; }
    const ListHistory& history() const { return history_; }
    ListFileNames& fileNames() { return names_; }
    const ListFileNames& fileNames() const { return names_; }

    // The playlist's own list file; "*.mpl" when it has none.
    QString listFile() const { return names_.saveFileName; }
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
    // Stops the device, leaves zip mode and empties the playlist before a list is loaded.
    void ResetListForLoad();
    // A double click on an archive in the file box: the open list is closed (a changed one asked about with Yes
    // and No) and the archive's playable members become the playlist in zip mode, the first (or a random one)
    // opened and, with Auto, played. Without a playable member the user is told and zip mode stays off.
    void openZipArchive(const QString& archive);
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

    // The file that keeps a changed list when the player is made to end without questions (a signal at logout):
    // "Unsaved list.mpl" in the player's private settings folder.
    static QString recoveryFile();
    // Ending without questions: a list with unsaved changes (not an archive's) is written to `file`, never
    // through a link. Returns whether it was kept; a failure is told through the ErrorHandler.
    bool keepForRecovery(const QString& file);
    // Start-up: when a list was kept in `file`, asks whether to load it. Yes makes it the playlist, as a list
    // that has not been saved (it has no file of its own, and it counts as changed); No deletes it. Either way
    // the file goes, unless it cannot be read (the error names it, and it stays for the user).
    void offerRecovery(const QString& file);

signals:
    void listOpenChanged(bool open);
    // The window is to be visible again (the player may have started hidden in the tray).
    void windowWanted();
    // The file box's add buttons are to follow the file list again.
    void fileBoxRefreshWanted();
    // "Add Selected Files" goes off: what was selected has been added.
    void addSelectedSpent();
    void focusPlaylistPanelWanted();
    void closeRenameEditorRequested();

private:
    Playlist& playlist() const;
    void busy() { busy_.emplace(); }
    void normalCursor() { busy_.reset(); }
    // Runs an operation inside the error boundary; the hourglass goes with an error. False after an error.
    bool guarded(const std::function<void()>& operation);
    std::optional<QString> chooseToOpen(const QString& title);
    std::optional<QString> chooseToSave(const QString& title);

    void saveList();
    void saveListAs(bool forSaveList);
    void openList();
    void addList();
    void openRecentList(int menuIndex);
    bool closeList(CloseOrigin origin);
    void loadPaths(const QStringList& paths, LoadOrigin origin, int startIndex);
    void chooseCurrentEntry(LoadOrigin origin, int startIndex);
    // Chooses the entry to begin with, opens it and, with Auto, plays it. False when nothing could be opened.
    bool openFirstEntry(LoadOrigin origin, int startIndex);
    void reportMissing(const QStringList& missing, const QString& listFile);
    void setLoadedListCommands();
    void resetListForLoad();
    void openArchive(const QString& archive);
    bool refusedListExtension(const QString& fileName) const;
    void saveOnRequest();

    PlaylistEditor& editor_;
    PlaybackEngine& engine_;
    ZipSession& zip_;
    ListFileNames& names_;
    ListPrompts* prompts_ = nullptr;
    ListHistory history_;
    std::optional<BusyCursor> busy_;
    bool listOpen_ = false;
    bool autoLoad_ = false;
    int startIndex_ = 0;
    bool saveRequested_ = false;
};

}  // namespace vorlo
