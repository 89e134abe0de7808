#pragma once

#include "core/app/CommandLine.h"
#include "core/app/PlayerCore.h"
#include "core/playback/PlayModes.h"
#include "core/playback/PlayerView.h"
#include "core/settings/DesignSize.h"
#include "core/settings/Options.h"
#include "core/settings/Settings.h"
#include "media/MIDIPlayer.h"
#include "player/playlist/PlaylistPanel.h"

#include <QMainWindow>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace vorlo {

class FileBox;
class FileOperations;
class HelpWindow;
class ListDialogs;
class LyricsWindow;
class PlayerActions;
class PlaylistPanel;
class RecentListsMenu;
class StayOnTop;
class TrayMenu;
class WindowParts;
struct PlayerControls;

// The main window. It holds the player's core (playlist, playback engine, list commands) and the widgets that
// show it, and runs the life of the process: start-up (FormCreate), the hand-over from a second start, and the
// closing paths (FormClose, FileExitClick, FormDestroy). Behaviour lives in the core; the window connects the
// user's input to the core's commands and shows the core's view.
class TFormPlayer : public QMainWindow {
    Q_OBJECT
public:
    // At design size the playlist panel stands here, below the transport bar, counter and track bar.
    static constexpr int kPlaylistPanelLeft = 2;

    // `runningFolder` is the folder the program runs from (the program folder when setup never ran).
    // `device` is the media device the player uses (the window takes ownership); null makes the usual one.
    explicit TFormPlayer(const QString& runningFolder, QWidget* parent = nullptr,
                         std::unique_ptr<media::MIDIPlayer> device = nullptr);
    ~TFormPlayer() override;

    // Start-up with the command line (arguments after the program name). Returns false when the program is
    // to end at once (a file argument that does not exist).
    bool FormCreate(const QStringList& arguments);

    // A command-line tail handed over by a second start.
    void receiveHandOver(const QByteArray& tail);

    // The exit path; `fromWindow` is true when the window's own close runs it, false for the menu items.
    void FileExitClick(bool fromWindow = false);

    // The system ends the player (SIGTERM at logout, SIGINT, SIGHUP): no question is asked and no box waits
    // for anybody. The options and History.ini are saved, a changed list is kept in the recovery file (offered
    // at the next start), and the application's event loops are told to end, a box that is up included.
    void endOnSignal();
    bool endingOnSignal() const { return endingOnSignal_; }

    // Opens the configuration dialog on `firstPage` (a TPagesDlg::Page), over the window.
    // Hands the sound options to the synthesizer; one it cannot take is reported and left out of the options.
    void applySound();
    void ConfigurationClick(int firstPage = 0);
    // "Search All Drives...": the search dialog over the window, walking the file box's drives in its order.
    void AutoSearchClick();

    // Makes the window visible again after it was hidden in the tray.
    void restoreFromTray();
    // Hides the window in the tray (minimises it where the desktop has no tray).
    void hideToTray();

    Options& options() { return options_; }
    Settings& settings() { return settings_; }
    const PlayModes& playModes() const { return modes_; }
    bool playOnStart() const;
    bool closeAfterPlay() const;
    bool closeConfirmed() const { return closeConfirmed_; }
    bool firstRun() const { return firstRun_; }
    QString tempFolder() const { return tempFolder_; }
    QString programFolder() const { return options_.programFolder; }

    // The inner size of the window below the menu bar.
    QSize clientSize() const;
    void setClientSize(const QSize& size);

    PlayerCore& core() { return *core_; }
    PlaylistPanel& playlistPanel() { return *playlistPanel_; }
    PlaybackEngine& engine() { return core_->engine(); }
    PositionDisplay& positionDisplay() { return core_->position(); }
    PlayerControls& controls() { return *controls_; }
    const PlayerActions& playerActions() const { return *actions_; }
    ListCommands& listCommands() { return core_->lists(); }
    RecentListsMenu& recentMenu() { return *recentMenu_; }
    FileBox& fileBox() { return *fileBox_; }
    FileOperations& fileOperations() { return *fileOperations_; }
    WindowParts& windowParts() { return *windowParts_; }
    StayOnTop& stayOnTop() { return *stayOnTop_; }
    TrayMenu& trayMenu() { return *trayMenu_; }
    // The tray icon (made when first needed); shown only while the window lives in the tray.
    QSystemTrayIcon& trayIcon();
    media::MIDIPlayer& device() { return *device_; }
    // The lyrics window (made when first needed; Display > "&Lyrics" shows it).
    LyricsWindow& lyricsWindow();
    // The application title: the song caption (at most 63 characters), also the tray icon's hint.
    QString applicationTitle() const { return applicationTitle_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void prepareTempFolder();
    void readOptions();
    void applyModeChanges(const std::vector<CommandLine::ModeChange>& changes);
    void showAtStart();
    // Shows the window as start-up does and lets it appear on the screen before a list is loaded into it.
    void showBeforeLoading();
    void captureWindowState();
    // Saves the options and the list history; shows what fails and never throws, so that closing goes on.
    void saveOptions();
    // Stops and closes the media device as the player ends.
    void releaseDevice();
    // The transport, the counter, the track bar and the mode labels.
    void wirePlayback();
    void wireLists();
    void wireFileBox();
    void showHelp(int context);
    void startVolumeControl();
    void startMultimediaSetting();
    // The parts of the window, Stay on Top, the tray menu and the window's own keys.
    void wireWindow();
    void wireTrayMenu();
    // Every menu command stays reachable by its shortcut while the menu bar is hidden.
    void keepShortcutsWithoutMenuBar();
    void ensureTrayIcon();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Shows the core's view: enabling, marks, hints, captions, colours, counter, track bar and tray image.
    void applyView();
    void showTrackBar(const TrackBarView& bar);
    // Aqua in zip mode, else the button face.
    void showPlaylistPanelColour(const std::optional<Rgb>& colour);
    void updateTrayImage(bool playing);
    // The application title (and the tray icon's hint) for a caption: cut to 63 characters.
    void setApplicationTitle(const QString& caption);
    void takeHandOver(const QByteArray& tail);
    void showEntryInformation();
    void FormDestroy();
    void showAbout();

    QString runningFolder_;
    Settings settings_;
    // The options in force, held by the settings object.
    Options& options_ = settings_.options();
    PlayModes modes_;
    QString tempFolder_;
    QSize lastClientSize_{kDesignClientWidth, kDesignClientHeight};
    bool firstRun_ = false;
    bool closeConfirmed_ = false;
    bool endingOnSignal_ = false;
    std::unique_ptr<media::MIDIPlayer> device_;
    std::unique_ptr<PlayerCore> core_;
    std::unique_ptr<ListDialogs> listDialogs_;
    PlayerActions* actions_ = nullptr;
    std::unique_ptr<PlayerControls> controls_;
    PlaylistPanel* playlistPanel_ = nullptr;
    RecentListsMenu* recentMenu_ = nullptr;
    FileBox* fileBox_ = nullptr;
    FileOperations* fileOperations_ = nullptr;
    std::unique_ptr<HelpWindow> help_;
    std::unique_ptr<LyricsWindow> lyrics_;
    QString applicationTitle_ = QStringLiteral("MIDI Vorlo");
    QMenu* listMenu_ = nullptr;
    QMenu* displayMenu_ = nullptr;
    QMenu* modesMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QSystemTrayIcon* trayIcon_ = nullptr;
    std::optional<bool> trayPlaying_;
    std::optional<PlayerView> shown_;
    WindowParts* windowParts_ = nullptr;
    StayOnTop* stayOnTop_ = nullptr;
    TrayMenu* trayMenu_ = nullptr;
    bool maximising_ = false;
};

}  // namespace vorlo
