#pragma once

#include "core/app/CommandLine.h"
#include "core/playback/PlayModes.h"
#include "core/settings/DesignSize.h"
#include "core/settings/Settings.h"
#include "media/MIDIPlayer.h"
#include "player/playlist/PlaylistPanel.h"

#include <QMainWindow>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace vorlo {

class FileBox;
class HelpWindow;
class ListCommands;
class PlaybackEngine;
class PlaylistPanel;
class PositionDisplay;
class StayOnTop;
class TrayMenu;
class WindowParts;
struct PlayerControls;

// The main window. It assembles the player's objects and widgets and runs the life of the process: start-up
// (FormCreate), the hand-over from a second start, and the closing paths (FormClose, FileExitClick,
// FormDestroy). Behaviour lives in the objects it holds; the window wires them together.
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

    PlaylistPanel& playlistPanel() { return *playlistPanel_; }
    PlaybackEngine& engine() { return *engine_; }
    PositionDisplay& positionDisplay() { return *position_; }
    PlayerControls& controls() { return *controls_; }
    ListCommands& listCommands() { return *listCommands_; }
    FileBox& fileBox() { return *fileBox_; }
    WindowParts& windowParts() { return *windowParts_; }
    StayOnTop& stayOnTop() { return *stayOnTop_; }
    TrayMenu& trayMenu() { return *trayMenu_; }
    // The tray icon (made when first needed); shown only while the window lives in the tray.
    QSystemTrayIcon& trayIcon();
    media::MIDIPlayer& device() { return *device_; }
    // The application title: the song caption (at most 63 characters), also the tray icon's hint.
    QString applicationTitle() const { return applicationTitle_; }

signals:
    // The second-instance option asks for entry `index`, just handed over, to be played now.
    void handedOverEntryToPlay(int index);

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
    void captureWindowState();
    // Saves the options and the list history; shows what fails and never throws, so that closing goes on.
    void saveOptions();
    // Stops and closes the media device as the player ends.
    void releaseDevice();
    void wirePlayback();
    void wireLists(QMenu* listMenu);
    void wireFileBox();
    void showHelp(int context);
    void startVolumeControl();
    void startMultimediaSetting();
    // The parts of the window, Stay on Top, the tray menu and the window's own keys.
    void wireWindow();
    void wireTrayMenu();
    void wireWindowKeys();
    // The tray icon's normal image while playing, its greyed image when stopped or paused.
    void updateTrayImage();
    // Every menu command stays reachable by its shortcut while the menu bar is hidden.
    void keepShortcutsWithoutMenuBar();
    void ensureTrayIcon();
    void setCommandEnabled(ListCommand command, bool enabled);
    void buildModeMenus();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The application title (and the tray icon's hint) for a caption: cut to 63 characters.
    void setApplicationTitle(const QString& caption);
    // Makes a one-file playlist of a file named on the command line and opens it.
    void startWithFile(const QString& file);
    void actOnHandedOverEntry(int index);
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
    bool zipMode_ = false;
    PlaylistPanel* playlistPanel_ = nullptr;
    std::unique_ptr<media::MIDIPlayer> device_;
    std::unique_ptr<PlayerControls> controls_;
    PlaybackEngine* engine_ = nullptr;
    PositionDisplay* position_ = nullptr;
    ListCommands* listCommands_ = nullptr;
    FileBox* fileBox_ = nullptr;
    std::unique_ptr<HelpWindow> help_;
    QString applicationTitle_ = QStringLiteral("MIDI Vorlo");
    QMenu* modesMenu_ = nullptr;
    QSystemTrayIcon* trayIcon_ = nullptr;
    QAction* fileExit_ = nullptr;
    QMenu* listMenu_ = nullptr;
    QMenu* displayMenu_ = nullptr;
    QAction* displayHide_ = nullptr;
    QAction* refreshFileBox_ = nullptr;
    WindowParts* windowParts_ = nullptr;
    StayOnTop* stayOnTop_ = nullptr;
    TrayMenu* trayMenu_ = nullptr;
    bool maximising_ = false;
};

}  // namespace vorlo
