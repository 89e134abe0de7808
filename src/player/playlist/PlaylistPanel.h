#pragma once

#include "core/playlist/Playlist.h"
#include "core/playlist/PlaylistEditor.h"
#include "core/playlist/PlaylistEnables.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class QAction;
class QFrame;
class QMenu;
class QToolButton;

namespace vorlo {

class NameWidths;
class SongListAdapter;
class SongListInput;
class TSCheckList;

// The playlist's commands, one action each, shared by the middle panel's button, the popup item and the key.
struct PlaylistActions {
    QAction* addFile = nullptr;      // BtnAddFile "Add Selected Files": enabled and run by the file box
    QAction* addAll = nullptr;       // BtnAddAll "Add All Files": enabled and run by the file box
    QAction* gotoCurrent = nullptr;  // PopGoto "&Goto Current", Ctrl+G on the list
    QAction* fileInfo = nullptr;     // PopFileInfo "File  &Information...", Ctrl+I
    QAction* remove = nullptr;       // PopRemove "&Remove File", Del on the list; BtnRemove
    QAction* clearList = nullptr;    // PopClearList "C&lear List"; BtnRemoveAll
    QAction* moveUp = nullptr;       // MoveFileUp "Push File up", Ctrl+U
    QAction* moveDown = nullptr;     // MoveFileDown "Push File down", Ctrl+D
    QAction* copy = nullptr;         // CopyFileTo "&Copy File To...", Ctrl+C; SpdCopyFile
    QAction* move = nullptr;         // MoveFileTo "&Move File To...", Ctrl+X; SpdMoveFile
    QAction* rename = nullptr;       // PopRename "Re&name File", Ctrl+N
    QAction* kill = nullptr;         // PopDelete "&Kill This File!", Ctrl+K; BtnKill
    QAction* uncheckAll = nullptr;   // UncheckAll "Uncheck All", Ctrl+Alt+U on the list
    QAction* summary = nullptr;      // PopSum "Pla&ylist Summary...", Ctrl+Y
};

// The playlist part of the main window: the panel `PanelSongList` with the list `SongList`, the middle panel
// `PanelMid` with its buttons, and the popup menu `PopupSongList`. It shows the core's playlist (lines, check
// marks, the selected line) and hands the user's clicks, keys and drags to the core's editing commands; what
// its commands may do follows the playlist's state.
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

    explicit PlaylistPanel(PlaylistEditor& editor, QWidget* parent = nullptr);
    ~PlaylistPanel() override;

    Playlist& playlist() { return editor_.playlist(); }
    const Playlist& playlist() const { return editor_.playlist(); }
    PlaylistEditor& editor() { return editor_; }
    const PlaylistActions& actions() const { return actions_; }
    TSCheckList* songList() const { return songList_; }
    QFrame* songListPanel() const { return panelSongList_; }
    QFrame* midPanel() const { return panelMid_; }
    QMenu* popupMenu() const { return popup_; }
    QToolButton* addFileButton() const { return addFileButton_; }
    QToolButton* addAllButton() const { return addAllButton_; }

    // Without the file box the middle panel hides and the list takes the whole width.
    void setMidPanelVisible(bool visible);
    bool zipMode() const;
    // The box that says nothing can be added while the playlist shows an archive.
    static void refuseInZipMode() { PlaylistEditor::refuseInZipMode(); }
    void setOneTouchCursor(bool on);
    bool oneTouchCursor() const { return oneTouch_; }

    int selectedLine() const { return playlist().selectedLine(); }
    void selectLine(int line) { playlist().selectLine(line); }
    int ListExtent() const { return listExtent_; }
    // The in-place rename editor; while it is open, clicks on the list leave the focus with it.
    void setRenameEditor(QWidget* editor) { renameEditor_ = editor; }
    int dropIndexAt(QPoint viewportPos) const;

    // The file box's adding commands, run by the editor.
    void addSelectedFiles(const QString& folder, const std::vector<FileBoxItem>& files);
    void BtnAddAllClick(const QString& folder, const std::vector<FileBoxItem>& files);
    void addOneFile(const QString& path);
    void insertFromFileBox(int dropIndex, const QString& folder, const std::vector<FileBoxItem>& files);
    // Moves line DragIndex to before line `dropIndex`, as dropping a dragged line does.
    void dropDraggedLine(int dropIndex);
    // Files dropped from the desktop, as a "text/uri-list" payload.
    void dropFromDesktop(const QByteArray& uriList);
    // The user chose the selected line to be played (double click, Enter, One Touch click).
    void SongListDblClick();
    // A click on the list: the rename editor keeps the focus; otherwise `byUser` gives the list the focus.
    void SongListClick(bool byUser = true);

    void FitListExtent(const QString& text, bool apply);

signals:
    void closeRenameEditorRequested();
    // A folder of the folder list was dropped on the list: Add Folder.
    void addFolderRequested(const QString& folder);
    void focusFolderListRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildActions();
    void buildMidPanel();
    void buildPopup();
    void layoutChildren();
    void applyView();
    void showSelection(int line);
    void fitLines(int first, int last);
    // Widens the extent for a name of this width.
    void fitWidth(int textWidth);
    void resetExtent();
    void takeFocus(PlaylistFocus where);

    PlaylistEditor& editor_;
    PlaylistActions actions_;
    SongListAdapter* adapter_;
    QFrame* panelSongList_;
    TSCheckList* songList_;
    QFrame* panelMid_;
    QMenu* popup_;
    SongListInput* input_ = nullptr;
    std::vector<QToolButton*> midButtons_;
    QToolButton* addFileButton_ = nullptr;
    QToolButton* addAllButton_ = nullptr;
    int listExtent_ = 0;
    // The character widths of the list's font, kept from one batch of new lines to the next (a search brings
    // a hundred of them) and made anew when the font changes.
    std::unique_ptr<NameWidths> nameWidths_;
    QFont nameWidthsFont_;
    bool oneTouch_ = false;
    bool midVisible_ = true;
    bool showingSelection_ = false;
    QWidget* renameEditor_ = nullptr;
};

}  // namespace vorlo
