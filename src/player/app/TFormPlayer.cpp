#include "player/app/TFormPlayer.h"

#include "core/app/BusyCursor.h"
#include "core/app/ErrorHandler.h"
#include "core/app/MessageBoxes.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/MediaPaths.h"
#include "media/EMCIDeviceError.h"
#include "media/MIDIPlayer.h"
#include "os/NativePath.h"
#include "os/Registry.h"
#include "os/TempFolder.h"
#include "player/app/CentreOnPlayer.h"
#include "player/app/ModalDialogs.h"
#include "player/app/PlayerActions.h"
#include "player/app/PlayerControls.h"
#include "player/app/StayOnTop.h"
#include "player/app/TFormAbout.h"
#include "player/app/WindowParts.h"
#include "player/filebox/FileBox.h"
#include "player/files/FileOperations.h"
#include "player/files/RenameEditor.h"
#include "player/help/HelpWindow.h"
#include "player/lyrics/LyricsWindow.h"
#include "player/playlist/ListDialogs.h"
#include "player/playlist/PlaylistPanel.h"
#include "player/playlist/RecentListsMenu.h"
#include "player/settings/SoundPage.h"
#include "player/settings/TPagesDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWindow>

namespace vorlo {

TFormPlayer::TFormPlayer(const QString& runningFolder, QWidget* parent, std::unique_ptr<media::MIDIPlayer> device)
    : QMainWindow(parent), runningFolder_(runningFolder), device_(std::move(device)) {
    if (!device_) device_ = std::make_unique<media::MIDIPlayer>();
    setObjectName(QStringLiteral("FormPlayer"));
    setWindowTitle(QStringLiteral("MIDI Vorlo"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/vorlo.png")));
    core_ = std::make_unique<PlayerCore>(*device_, options_, modes_);
    listDialogs_ = std::make_unique<ListDialogs>(this);
    core_->lists().setPrompts(listDialogs_.get());
    actions_ = new PlayerActions(style(), this);
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);
    controls_ = std::make_unique<PlayerControls>(client, *actions_);
    playlistPanel_ = new PlaylistPanel(core_->editor(), client);
    buildMenus();
    wirePlayback();
    wireFileBox();
    wireLists();
    wireWindow();
    // The Sound page's choices reach the synthesizer at OK; the song that plays goes on where it was.
    connect(&settings_, &Settings::changed, this, ErrorHandler::guard([this](const OptionChanges& changes) {
        if (changes.sound()) applySound();
    }));
    connect(core_.get(), &PlayerCore::viewChanged, this, &TFormPlayer::applyView);
    applyView();
    ErrorHandler::setRestoreWindow([this] {
        if (isHidden()) restoreFromTray();
    });
}

TFormPlayer::~TFormPlayer() {
    ErrorHandler::setRestoreWindow({});
    FormDestroy();
    // The device's reports must not reach a half-destroyed window, and the widgets that show the core go
    // before the core does.
    disconnect(device_.get(), nullptr, nullptr, nullptr);
    disconnect(core_.get(), nullptr, this, nullptr);
    delete takeCentralWidget();
    delete recentMenu_;
}

bool TFormPlayer::playOnStart() const { return core_->engine().playOnStart(); }

bool TFormPlayer::closeAfterPlay() const { return core_->engine().closeAfterPlay(); }

void TFormPlayer::buildMenus() {
    const PlayerActions& a = *actions_;
    listMenu_ = menuBar()->addMenu(QStringLiteral("&List"));
    listMenu_->setObjectName(QStringLiteral("MenuList"));
    recentMenu_ = new RecentListsMenu(
        core_->lists().history(), [this](int index) { core_->lists().RecentListClick(index); }, this);
    listMenu_->addMenu(recentMenu_);
    for (QAction* action :
         {a.openList, a.addList, a.searchDrives, a.saveList, a.saveListAs, a.sortList, a.clearList, a.closeList})
        listMenu_->addAction(action);
    listMenu_->addSeparator();
    listMenu_->addAction(a.exit);

    // "&Parts" and "&All" go before "&Hide" once the window's parts are made.
    displayMenu_ = menuBar()->addMenu(QStringLiteral("&Display"));
    displayMenu_->setObjectName(QStringLiteral("MenuDisplay"));
    for (QAction* action : {a.hide, a.refreshFileBox, a.timeCount, a.lyrics}) displayMenu_->addAction(action);
    connect(a.lyrics, &QAction::triggered, this, ErrorHandler::guard([this] { lyricsWindow().showLyrics(); }));

    QMenu* optionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
    optionsMenu->setObjectName(QStringLiteral("MenuOptions"));
    modesMenu_ = optionsMenu->addMenu(QStringLiteral("&Play Modes"));
    modesMenu_->setObjectName(QStringLiteral("PlayModes"));
    for (int i = 0; i < PlayerActions::kModeCount; ++i) modesMenu_->addAction(a.modeItems()[i]);
    for (QAction* action : {a.configuration, a.volume, a.multimedia, a.resetMidiNow}) optionsMenu->addAction(action);

    helpMenu_ = menuBar()->addMenu(QStringLiteral("&Help"));
    helpMenu_->setObjectName(QStringLiteral("MenuHelp"));
    helpMenu_->addAction(a.helpContents);
    helpMenu_->addAction(a.about);
    connect(a.exit, &QAction::triggered, this, ErrorHandler::guard([this] { FileExitClick(false); }));
    connect(a.helpContents, &QAction::triggered, this, ErrorHandler::guard([this] { showHelp(101); }));
    connect(a.about, &QAction::triggered, this, ErrorHandler::guard([this] { showAbout(); }));
    connect(a.configuration, &QAction::triggered, this, ErrorHandler::guard([this] { ConfigurationClick(); }));
}

QSize TFormPlayer::clientSize() const { return windowParts_->clientSize(); }

void TFormPlayer::setClientSize(const QSize& size) { windowParts_->setClientSize(size); }

bool TFormPlayer::FormCreate(const QStringList& arguments) {
    std::optional<BusyCursor> busy(std::in_place);
    prepareTempFolder();
    setClientSize(lastClientSize_);

    readOptions();
    if (firstRun_) {
        // A new user starts with the file types: that is how files reach the player from the desktop. The
        // command line is not looked at on a first run. The user works in the dialog: no hourglass over it.
        busy.reset();
        ConfigurationClick(TPagesDlg::FileTypes);
        setClientSize(QSize(kDesignClientWidth, kDesignClientHeight));
        // Then the new user is offered a playlist of every song on the machine (the question can be declined).
        ErrorHandler::run([this] { AutoSearchClick(); });
        show();
        return true;
    }

    ListCommands& lists = core_->lists();
    PlaybackEngine& engine = core_->engine();
    lists.applyOptions(options_);
    lists.loadHistory(options_.programFolder);
    fileBox_->applyOptions(options_);
    engine.setModes(PlayModes::restored(options_.autoPlay, options_.loopPlay, options_.repeatPlay, options_.randomPlay,
                                        options_.shufflePlay));
    core_->position().TimeLabelClick(false);
    windowParts_->applyMarks();
    if (options_.windowState.value_or(0) == 0 && windowParts_->isShown(WindowPart::PlayList) && options_.clientHeight &&
        options_.clientWidth)
        setClientSize(QSize(*options_.clientWidth, *options_.clientHeight));

    const CommandLine line = CommandLine::parse(arguments);
    engine.setStartFlags(line.playOnStart, line.closeAfterPlay);
    applyModeChanges(line.modeChanges);

    if (!line.fileArgument.isEmpty()) {
        QString file = line.fileArgument;
        if (!pathExists(file)) {
            file = options_.programFolder + QLatin1Char('/') + line.fileArgument;
            if (!pathExists(file)) return false;  // ends without a message
        }
        if (IsPlayableExt(extensionLowered(file))) {
            showAtStart();
            ErrorHandler::run([&] { engine.startWithFile(file); });
            return true;
        }
        if (extensionLowered(file) == QLatin1String(".mpl")) {
            showBeforeLoading();
            lists.openListAtStart(file);
            if (!endingOnSignal_) lists.offerRecovery(ListCommands::recoveryFile());
            return true;
        }
    }
    showBeforeLoading();
    lists.autoLoadAtStart();
    if (!endingOnSignal_) lists.offerRecovery(ListCommands::recoveryFile());
    return true;
}

void TFormPlayer::prepareTempFolder() {
    tempFolder_ = TempFolder::pathFor();
    const QString refused = TempFolder::prepare(tempFolder_, &ZipSession::isLeftOver);
    if (!refused.isEmpty()) {
        MessageBoxes::show(QStringLiteral("Error - Temporary Folder"), refused, BoxIcon::Error);
        tempFolder_.clear();
    }
    core_->zip().setFolder(tempFolder_);
}

void TFormPlayer::readOptions() {
    try {
        firstRun_ = !settings_.read(runningFolder_);
    } catch (const RegistryError& error) {
        // Settings that cannot be read: tell the user and run on the defaults the settings object now holds.
        ErrorHandler::handle(error);
    }
    if (options_.midiDirectory.isEmpty()) options_.midiDirectory = QDir::currentPath();
    if (firstRun_) return;
    if (options_.top && options_.left) move(*options_.left, *options_.top);
    windowParts_->takeMarks(options_);
    stayOnTop_->setOn(options_.stayOnTop);
}

void TFormPlayer::applyModeChanges(const std::vector<CommandLine::ModeChange>& changes) {
    PlayModes modes = modes_;
    for (const CommandLine::ModeChange& change : changes) {
        switch (change.mode) {
            case 'a': modes.setAuto(change.on); break;
            case 'l': modes.setLoop(change.on); break;
            case 'r': modes.setRepeat(change.on); break;
            case 'm': modes.setRandom(change.on); break;
            case 's': modes.setShuffle(change.on); break;
            default: break;
        }
    }
    core_->engine().setModes(modes);
}

void TFormPlayer::showAtStart() {
    if (options_.hide) {
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            ensureTrayIcon();
            trayIcon_->show();
            return;
        }
        // No tray on this desktop: a minimised window can always be found again, a hidden one could not.
        showMinimized();
        return;
    }
    switch (options_.windowState.value_or(0)) {
        case 1: showMinimized(); break;
        case 2: showMaximized(); break;
        default: show(); break;
    }
}

void TFormPlayer::showBeforeLoading() {
    showAtStart();
    // A list of many thousand entries takes a moment to load: the window comes up first, with the hourglass, and
    // the list fills it. Only what the window system sends is handled meanwhile, never the user's input.
    if (!isVisible() || isMinimized()) return;
    QElapsedTimer waited;
    waited.start();
    constexpr int kLongestWaitMs = 500;
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < kLongestWaitMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormPlayer::restoreFromTray() {
    options_.hide = false;
    if (trayIcon_) trayIcon_->hide();
    showNormal();
    raise();
    activateWindow();
}

void TFormPlayer::receiveHandOver(const QByteArray& tail) {
    // It arrives from the single-instance socket: an error ends here, told to the user.
    ErrorHandler::run([&] { takeHandOver(tail); });
}

void TFormPlayer::takeHandOver(const QByteArray& tail) {
    if (core_->zip().active()) {
        PlaylistEditor::refuseInZipMode();
        return;
    }
    std::optional<BusyCursor> busy(std::in_place);
    raise();
    activateWindow();
    const HandOver handOver = HandOver::resolve(decodePath(tail), options_.programFolder);
    if (handOver.kind == HandOver::Kind::Ignore) return;
    Playlist& playlist = core_->playlist();
    const int earlierCount = playlist.count();
    bool added = true;
    if (handOver.kind == HandOver::Kind::Media) {
        core_->editor().addOneFile(handOver.path);
    } else {
        const QStringList lines = ListFile::read(handOver.path);
        if (lines.isEmpty()) {
            busy.reset();
            MessageBoxes::show(
                QStringLiteral("Files Not Available"),
                QStringLiteral("None of the files in this playlist files are available now. Please check the "
                               "status of all your removable drive."),
                BoxIcon::Information);
            return;
        }
        added = core_->editor().addListedPaths(lines) > 0;
        playlistPanel_->actions().addFile->setEnabled(false);
    }
    busy.reset();
    // With an empty playlist before, adding has opened (and with Auto started) the new first entry already.
    if (earlierCount == 0 || !added) return;
    switch (options_.addPlay) {
        case 1: core_->engine().playEntry(earlierCount, PlayRequest::HandOver); break;
        case 2:
            if (MessageBoxes::show(playlist.displayName(earlierCount),
                                   QStringLiteral("Play this new file added from the second instance now?"),
                                   BoxIcon::Question, BoxButtons::YesNo) == BoxButton::Yes)
                core_->engine().playEntry(earlierCount, PlayRequest::HandOver);
            break;
        default: break;
    }
}

void TFormPlayer::FileExitClick(bool fromWindow) {
    // An open rename ends first, without renaming: its line may be about to go.
    if (fileOperations_) fileOperations_->renameEditor().close();
    const bool keep = core_->lists().askSaveChanges(true);
    if (endingOnSignal_) return;  // the question was cut short: the player has ended meanwhile
    if (!keep) {
        closeConfirmed_ = false;
        return;
    }
    closeConfirmed_ = true;
    // From here on the player ends whatever fails: each step shows its own error and the next one still runs.
    ErrorHandler::run([this] {
        core_->zip().deleteTempFile();
        if (!tempFolder_.isEmpty()) TempFolder::remove(tempFolder_);
    });
    ErrorHandler::run([this] { releaseDevice(); });
    saveOptions();
    if (!fromWindow) QApplication::quit();
}

void TFormPlayer::endOnSignal() {
    if (endingOnSignal_) return;
    endingOnSignal_ = true;
    closeConfirmed_ = true;
    // Nobody answers from here on: any box (an error of the saves below) goes to standard error.
    MessageBoxes::setDefault(nullptr);
    ErrorHandler::run([this] { core_->lists().keepForRecovery(ListCommands::recoveryFile()); });
    ErrorHandler::run([this] {
        if (!tempFolder_.isEmpty()) TempFolder::remove(tempFolder_);
    });
    ErrorHandler::run([this] { releaseDevice(); });
    saveOptions();
    // Ends every event loop, a box's that is up as well; the code that waited on the box sees endingOnSignal().
    QApplication::exit(0);
}

void TFormPlayer::closeEvent(QCloseEvent* event) {
    // Ending the application closes its windows: after the Exit command the exit path has run already.
    if (!closeConfirmed_) FileExitClick(true);
    if (!closeConfirmed_) {
        event->ignore();
        return;
    }
    event->accept();
    QApplication::quit();
}

void TFormPlayer::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    windowParts_->relayout();
}

void TFormPlayer::FormDestroy() {
    // After an orderly close the exit path has done all of this already.
    if (closeConfirmed_) return;
    // The desktop is going away: the question may save the list, but a Cancel could not keep the player.
    core_->lists().askSaveChanges(false);
    closeConfirmed_ = true;
    ErrorHandler::run([this] {
        core_->zip().deleteTempFile();
        if (!tempFolder_.isEmpty()) TempFolder::remove(tempFolder_);
    });
    ErrorHandler::run([this] { releaseDevice(); });
    saveOptions();
}

void TFormPlayer::releaseDevice() {
    core_->position().ResetCounter();
    core_->position().stopTimer();
    core_->engine().closeDevice();
}

void TFormPlayer::captureWindowState() {
    if (isMinimized()) {
        options_.windowState = 1;
    } else if (isMaximized()) {
        options_.windowState = 2;
    } else if (windowState() == Qt::WindowNoState) {
        options_.windowState = 0;
    } else {
        options_.windowState.reset();
    }
    if (options_.windowState == 0) {
        options_.top = frameGeometry().top();
        options_.left = frameGeometry().left();
        options_.clientHeight = clientSize().height();
        options_.clientWidth = clientSize().width();
    }
    windowParts_->storeMarks(options_);
    options_.stayOnTop = stayOnTop_->isOn();
    options_.autoPlay = modes_.autoPlay;
    options_.loopPlay = modes_.loop;
    options_.repeatPlay = modes_.repeat;
    options_.randomPlay = modes_.random;
    options_.shufflePlay = modes_.shuffle;
}

void TFormPlayer::saveOptions() {
    captureWindowState();
    core_->lists().storeOptions(options_);
    fileBox_->storeOptions(options_);
    if (lyrics_ && lyrics_->isVisible()) lyrics_->saveSettings();
    // The history is written even when the options could not be.
    ErrorHandler::run([this] { settings_.save(core_->lists().history().entries()); });
    core_->lists().saveHistory(options_.programFolder);
}

LyricsWindow& TFormPlayer::lyricsWindow() {
    if (!lyrics_) lyrics_ = std::make_unique<LyricsWindow>(core_->engine());
    return *lyrics_;
}

void TFormPlayer::applySound() {
    try {
        device_->applySynthSettings(options_.sound.applyTo(device_->synthHost().settings()));
    } catch (const media::EMCIDeviceError& error) {
        // Not the error of a playlist entry: the song plays on with the sound before, and the options keep that
        // soundfont and output, so that the next start does not fail on them.
        const media::MediaSettings inForce = device_->synthHost().settings();
        options_.sound.soundFont = decodePath(inForce.soundFontPath);
        options_.sound.audioOutput = SoundOptions::outputOf(inForce);
        options_.sound.audioDevice = QString::fromStdString(inForce.audioDevice);
        MessageBoxes::show(QStringLiteral("Error - Sound"),
                           QString::fromLocal8Bit(error.what()) + QStringLiteral("\nThe sound stays as it was."),
                           BoxIcon::Error);
    }
}

void TFormPlayer::ConfigurationClick(int firstPage) {
    const QString listFolder = core_->lists().fileNames().openInitialFolder;
    TPagesDlg dialog(
        settings_,
        [this, listFolder](const QString& typed) {
            const QFileInfo typedFile(typed);
            return listDialogs_->chooseResetFile(typedFile.isFile() ? typedFile.absolutePath() : listFolder);
        },
        this);
    const media::SynthHost& synth = device_->synthHost();
    dialog.addPage(new SoundPage(options_.sound,
                                 SoundChoices::ofSystem(QFile::decodeName(synth.soundFontInUse().c_str()),
                                                        QString::fromStdString(synth.outputInUse())),
                                 [this](const QString& typed) { return SoundPage::chooseSoundFont(this, typed); }));
    dialog.showPage(firstPage);
    dialog.adjustSize();
    CentreOnPlayer(dialog, this);
    ModalDialogs::exec(dialog);
}

void TFormPlayer::showAbout() {
    TFormAbout about(options_.programFolder, this);
    ModalDialogs::exec(about);
}

}  // namespace vorlo
