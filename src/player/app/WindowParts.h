#pragma once

#include "core/settings/DesignSize.h"

#include <QObject>
#include <QSize>

#include <array>

class QAction;
class QMainWindow;
class QMenu;

namespace vorlo {

class FileBox;
class PlaylistPanel;
struct Options;
struct PlayerControls;

// The parts of the main window the user can show and hide, in the order of their menu items.
enum class WindowPart { FileBox, PlayList, TrackBar, Menu, Counter, ToolBar };
inline constexpr int kWindowPartCount = 6;

// Who runs a part command: the user toggles its mark first; the main window (at start-up) only makes the
// window match the mark it already has.
enum class Sender { User, MainWindow };

// Shows and hides the parts of the main window, keeps its size limits and lays out the client area after every
// change of size. Client sizes here are the area below the menu bar, as the window's own coordinates know it.
class WindowParts : public QObject {
    Q_OBJECT
public:
    static constexpr int kPanelsLeft = 2;
    static constexpr int kToolBarLeft = 215;
    static constexpr int kPanelGap = 3;
    static constexpr int kPlaylistDesignWidth = 200;
    // The playlist and file box start below the track bar, or at the track bar's top while it is hidden.
    static constexpr int kPanelsTopWithTrackBar = 60;
    static constexpr int kPanelsTopWithoutTrackBar = 35;
    static constexpr int kTrackBarSpace = kPanelsTopWithTrackBar - kPanelsTopWithoutTrackBar;

    WindowParts(QMainWindow& window, PlayerControls& controls, PlaylistPanel& playlist, FileBox& fileBox);

    // Puts the "&Parts" submenu and "&All" into `display`, before `before` (appended when null).
    void buildMenu(QMenu* display, QAction* before);
    QMenu* partsMenu() const { return partsMenu_; }
    QAction* action(WindowPart part) const { return actions_[index(part)]; }
    QAction* allAction() const { return all_; }
    // The refresh command is only offered while the file box shows.
    void setRefreshAction(QAction* refresh) { refresh_ = refresh; }

    bool isShown(WindowPart part) const { return marks_[index(part)]; }
    bool allShown() const;
    // The user may show or hide the part now (its item is enabled).
    bool canToggle(WindowPart part) const;

    // The command of one part item.
    void run(WindowPart part, Sender sender);
    // Turns on every part that is off (the window leaves the tray separately).
    void AllClick();

    // Takes the marks from the options (nothing changes on screen yet).
    void takeMarks(const Options& options);
    // Runs each part command once with the main window as sender, so that the window matches the marks.
    void applyMarks();
    void storeMarks(Options& options) const;

    // The smallest client area the shown parts need; the largest is the work area unless the playlist is
    // hidden, when the window cannot be resized at all.
    QSize minimumClientSize() const;
    bool resizable() const { return isShown(WindowPart::PlayList); }
    int menuHeight() const;
    // The client area of a window of this outer size.
    QSize clientSizeFor(QSize windowSize) const;
    QSize clientSize() const;
    // Resizes the window so that its client area has this size (within the limits).
    void setClientSize(QSize client);

    // Places the controls for the window's present size; called after every size change.
    void relayout();
    int playlistWidth() const { return playlistWidth_; }

signals:
    void partsChanged();

private:
    static int index(WindowPart part) { return static_cast<int>(part); }
    void setMark(WindowPart part, bool on) { marks_[index(part)] = on; }
    // Turns a part on or off with everything that follows from it, then fits the window to the result.
    void showPart(WindowPart part, bool on);
    void turnOnIfOff(WindowPart part);
    void applyLimits();
    void fitWindow(QSize client);
    void syncItems();
    int panelsTop() const;
    int compactClientHeight() const;

    QMainWindow& window_;
    PlayerControls& controls_;
    PlaylistPanel& playlist_;
    FileBox& fileBox_;
    std::array<bool, kWindowPartCount> marks_{true, true, true, true, true, true};
    std::array<QAction*, kWindowPartCount> actions_{};
    QAction* all_ = nullptr;
    QAction* refresh_ = nullptr;
    QMenu* partsMenu_ = nullptr;
    // The height the playlist had, given back when it shows again.
    int playlistHeight_ = kDesignClientHeight - kPanelGap - kPanelsTopWithTrackBar;
    int playlistWidth_ = kPlaylistDesignWidth;
    QSize lastClient_;
};

}  // namespace vorlo
