#pragma once

#include "core/playlist/Playlist.h"
#include "core/playlist/PlaylistEnables.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QFrame;
class QMenu;
class QToolButton;

namespace vorlo {

class SongListAdapter;
class SongListInput;
class TSCheckList;

// Commands outside the playlist panel (transport bar, menus) that playlist editing turns on or off.
enum class ListCommand {
    Play,
    Pause,
    Stop,
    Next,
    Previous,
    Forward,     // SpdBtnStep
    Reverse,     // SpdBtnBack
    Eject,       // SpdEject
    SaveList,    // SpeedBtnSave and the FileSaveList menu item
    SaveListAs,  // FileSaveListAs
    SortList,    // FileSortList
    ClearList,   // FileClearList
};

// What the playlist needs to know about playback when entries are added.
struct PlaybackStatus {
    bool deviceOpen = false;  // the media device has an entry open
    bool autoPlay = false;    // the Auto play mode is on
};

// A file as the file box lists it: its name in the folder and the text of its line.
struct FileBoxItem {
    QString fileName;
    QString lineText;
};

// The playlist part of the main window: the panel `PanelSongList` with the list `SongList`, the middle panel
// `PanelMid` with its buttons, and the popup menu `PopupSongList`. It owns the Playlist and runs every
// editing operation on it; what playing an entry needs from the media device is asked for through signals.
class PlaylistPanel : public QWidget {
    Q_OBJECT

public:
    // At design size PanelSongList stands at x = 2 of the window, 200 wide, and PanelMid 4 pixels to its right.
    static constexpr int SongListPanelDesignWidth = 200;
    static constexpr int MidPanelGap = 4;
    static constexpr int MidPanelOffset = SongListPanelDesignWidth + MidPanelGap;
    static constexpr int MidPanelWidth = 43;
    static constexpr int DesignHeight = 196;
    static QSize designSize() { return {MidPanelOffset + MidPanelWidth, DesignHeight}; }

    explicit PlaylistPanel(QWidget* parent = nullptr);
    ~PlaylistPanel() override;

    Playlist& playlist() { return *playlist_; }
    const Playlist& playlist() const { return *playlist_; }
    TSCheckList* songList() const { return songList_; }
    QFrame* songListPanel() const { return panelSongList_; }
    QFrame* midPanel() const { return panelMid_; }
    QMenu* popupMenu() const { return popup_; }
    // A middle-panel button or popup item by its object name (BtnAddFile, SpdCopyFile, PopGoto, ...).
    QToolButton* button(const QString& objectName) const;
    QAction* popupAction(const QString& objectName) const;

    // Without the file box the middle panel hides and the list takes the whole width.
    void setMidPanelVisible(bool visible);
    void setZipMode(bool on);
    // The box that says nothing can be added while the playlist shows an archive.
    static void refuseInZipMode();
    bool zipMode() const { return zipMode_; }
    void setOneTouchCursor(bool on);
    bool oneTouchCursor() const { return oneTouch_; }
    void setPlaybackStatusSource(std::function<PlaybackStatus()> source) { playbackStatus_ = std::move(source); }
    // Reads the paths of a list file (the list file reader unless replaced); a failure to read it throws
    // EListFileError to the caller of the adding operation, as other file errors do.
    void setListFileReader(std::function<std::optional<QStringList>(const QString& listFile)> reader) {
        readListFile_ = std::move(reader);
    }

    int selectedLine() const;
    void selectLine(int line);  // -1 selects nothing
    int ListExtent() const { return listExtent_; }
    // The in-place rename editor; while it is open, clicks on the list leave the focus with it.
    void setRenameEditor(QWidget* editor) { renameEditor_ = editor; }
    int dropIndexAt(QPoint viewportPos) const;

    // Adding from the file box: the given files of `folder` in file box order (the selected ones for
    // BtnAddFile, all for BtnAddAll). Playable files and the existing paths of list files are appended.
    void addSelectedFiles(const QString& folder, const std::vector<FileBoxItem>& files);
    void BtnAddAllClick(const QString& folder, const std::vector<FileBoxItem>& files);
    // Appends the paths of a list that name existing files (the others are left out without a word), then
    // brings the list up to date as after any adding. Returns the number of entries added.
    int addListedPaths(const QStringList& paths);
    // A double click on a playable file in the file box.
    void addOneFile(const QString& path);
    // A drop of file box files at line `dropIndex`; the first file of another type ends the drop.
    void insertFromFileBox(int dropIndex, const QString& folder, const std::vector<FileBoxItem>& files);
    // Moves line DragIndex to before line `dropIndex`, as dropping a dragged line does.
    void dropDraggedLine(int dropIndex);

    void BtnRemoveClick();
    // The removal of the selected entry after the media device failed on it.
    void removeAfterDeviceError();
    void FileClearListClick();
    void MoveFileUpClick();
    void MoveFileDownClick();
    void FileSortListClick();
    void UncheckAllClick();
    void SongListDblClick();
    // Brings the buttons in line with the list; `byUser` also gives the list the focus.
    void SongListClick(bool byUser = true);
    void PopupSongListPopup();

    void AfterEntriesAdded();
    void FitListExtent(const QString& text, bool apply);

    // The question before the list is left ("This list has been changed. Save it now?"). Yes asks for the
    // save (saveListRequested) and goes on, No forgets the changes, Cancel (when offered) returns false.
    bool AskSaveChanges(bool allowCancel = true);

signals:
    void commandEnabled(vorlo::ListCommand command, bool enabled);
    // The user wants entry `index` played (double click, Enter, One Touch click). The receiver checks the
    // drive door and the eject state, resets counter and track bar, closes the device, makes the entry
    // current, opens it and plays it when Auto is on.
    void playEntryRequested(int index);
    // Entries arrived while nothing was open: CurrentIndex is 0; open it without playing.
    void openCurrentEntryRequested();
    // Entries arrived while nothing was open and Auto is on: CurrentIndex is -1; advance and play.
    void entryFinishedRequested();
    // The current entry was removed; CurrentIndex already stands one before it. The receiver resets counter
    // and track bar, stops (when playing or after a device error) and closes the device, advances, opens the
    // new current entry, plays it when it had been playing and Auto is on, and selects its line.
    void currentEntryRemoved(bool afterDeviceError);
    // The list was emptied: reset the counter, close the device, reset and disable the track bar, set the
    // caption from the list file, leave zip mode.
    void listCleared();
    // The list was sorted and entry 0 made current: set the counters' targets to 0, stop and close the
    // device, open entry 0 and play it when Auto is on.
    void listSorted();
    void saveListRequested();
    void closeRenameEditorRequested();
    void focusFolderListRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMidPanel();
    void buildPopup();
    void layoutChildren();
    void setCommand(ListCommand command, bool enabled) { emit commandEnabled(command, enabled); }
    PlaylistState state() const;
    void updateMidPanelButtons();
    void appendEntries(std::vector<PlaylistEntry>& batch);
    void addFromFileBox(const QString& folder, const std::vector<FileBoxItem>& files, bool settleAfterEachList);
    std::vector<PlaylistEntry> entriesOfListFile(const QString& listFile);
    std::vector<PlaylistEntry> existingEntries(const QStringList& paths);
    void finishAdding();
    void removeSelected(bool afterDeviceError);

    Playlist* playlist_;
    SongListAdapter* adapter_;
    QFrame* panelSongList_;
    TSCheckList* songList_;
    QFrame* panelMid_;
    QMenu* popup_;
    SongListInput* input_;
    std::function<PlaybackStatus()> playbackStatus_;
    std::function<std::optional<QStringList>(const QString&)> readListFile_;
    int listExtent_ = 0;
    bool zipMode_ = false;
    bool oneTouch_ = false;
    bool midVisible_ = true;
    QWidget* renameEditor_ = nullptr;
};

}  // namespace vorlo
