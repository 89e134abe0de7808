#include "player/app/TFormPlayer.h"

#include "core/app/ErrorHandler.h"
#include "core/app/MessageBoxes.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/MediaPaths.h"
#include "media/MIDIPlayer.h"
#include "os/Registry.h"
#include "os/TempFolder.h"
#include "player/app/ModalDialogs.h"
#include "player/app/PlayerControls.h"
#include "player/app/StayOnTop.h"
#include "player/app/TFormAbout.h"
#include "player/app/WaitCursor.h"
#include "player/app/WindowParts.h"
#include "player/filebox/FileBox.h"
#include "player/help/HelpWindow.h"
#include "player/playback/PlaybackEngine.h"
#include "player/playback/PositionDisplay.h"
#include "player/playlist/ListCommands.h"
#include "player/playlist/PlaylistPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QToolButton>

#include <optional>

namespace vorlo {

namespace {

// A step of the player's ending: what fails is shown to the user, and the ending goes on.
template <class Step>
void whileEnding(Step&& step) {
    try {
        step();
    } catch (const std::exception& error) {
        ErrorHandler::handle(error);
    }
}

}  // namespace

TFormPlayer::TFormPlayer(const QString& runningFolder, QWidget* parent, std::unique_ptr<media::MIDIPlayer> device)
    : QMainWindow(parent), runningFolder_(runningFolder), device_(std::move(device)) {
    if (!device_) device_ = std::make_unique<media::MIDIPlayer>();
    setObjectName(QStringLiteral("FormPlayer"));
    setWindowTitle(QStringLiteral("MIDI Vorlo"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/vorlo.png")));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);
    controls_ = std::make_unique<PlayerControls>(client);
    playlistPanel_ = new PlaylistPanel(client);
    playlistPanel_->setObjectName(QStringLiteral("PlaylistPanel"));
    buildMenus();
    wirePlayback();
    wireFileBox();
    wireLists(listMenu_);
    wireWindow();
    ErrorHandler::setRestoreWindow([this] {
        if (isHidden()) restoreFromTray();
    });
    ErrorHandler::setRemoveSelectedEntry([this] {
        const int line = playlistPanel_->selectedLine();
        const Playlist& playlist = playlistPanel_->playlist();
        const QString name = playlist.isValidIndex(line) ? playlist.displayName(line) : QString();
        playlistPanel_->removeAfterDeviceError();
        return name;
    });
}

TFormPlayer::~TFormPlayer() {
    ErrorHandler::setRestoreWindow({});
    ErrorHandler::setRemoveSelectedEntry({});
    FormDestroy();
    // The device's reports must not reach a half-destroyed window.
    disconnect(device_.get(), nullptr, nullptr, nullptr);
}

bool TFormPlayer::playOnStart() const { return engine_->playOnStart(); }

bool TFormPlayer::closeAfterPlay() const { return engine_->closeAfterPlay(); }

void TFormPlayer::buildMenus() {
    listMenu_ = menuBar()->addMenu(QStringLiteral("&List"));
    listMenu_->setObjectName(QStringLiteral("MenuList"));
    fileExit_ = listMenu_->addAction(QStringLiteral("E&xit"));
    fileExit_->setObjectName(QStringLiteral("FileExit"));
    fileExit_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(fileExit_, &QAction::triggered, this, [this] { FileExitClick(false); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    QAction* contents = help->addAction(QStringLiteral("&Contents"));
    contents->setObjectName(QStringLiteral("HelpContents"));
    contents->setShortcut(QKeySequence(Qt::Key_F1));
    connect(contents, &QAction::triggered, this, [this] { showHelp(101); });
    QAction* about = help->addAction(QStringLiteral("&About..."));
    about->setObjectName(QStringLiteral("HelpAbout"));
    connect(about, &QAction::triggered, this, &TFormPlayer::showAbout);
}

QSize TFormPlayer::clientSize() const { return windowParts_->clientSize(); }

void TFormPlayer::setClientSize(const QSize& size) { windowParts_->setClientSize(size); }

bool TFormPlayer::FormCreate(const QStringList& arguments) {
    WaitCursor busy;
    prepareTempFolder();
    setClientSize(lastClientSize_);

    readOptions();
    if (firstRun_) {
        setClientSize(QSize(kDesignClientWidth, kDesignClientHeight));
        show();
        return true;
    }

    listCommands_->applyOptions(options_);
    listCommands_->loadHistory(options_.programFolder);
    fileBox_->applyOptions(options_);
    modes_ = PlayModes::restored(options_.autoPlay, options_.loopPlay, options_.repeatPlay, options_.randomPlay,
                                 options_.shufflePlay);
    engine_->showModes();
    position_->TimeLabelClick(false);
    windowParts_->applyMarks();
    if (options_.windowState.value_or(0) == 0 && windowParts_->isShown(WindowPart::PlayList) && options_.clientHeight &&
        options_.clientWidth)
        setClientSize(QSize(*options_.clientWidth, *options_.clientHeight));

    const CommandLine line = CommandLine::parse(arguments);
    engine_->setStartFlags(line.playOnStart, line.closeAfterPlay);
    applyModeChanges(line.modeChanges);
    engine_->showModes();

    if (!line.fileArgument.isEmpty()) {
        QString file = line.fileArgument;
        if (!QFileInfo::exists(file)) {
            file = options_.programFolder + QLatin1Char('/') + line.fileArgument;
            if (!QFileInfo::exists(file)) return false;  // ends without a message
        }
        if (IsPlayableExt(extensionLowered(file))) {
            startWithFile(file);
            return true;
        }
        if (extensionLowered(file) == QLatin1String(".mpl")) {
            listCommands_->openListAtStart(file);
            showAtStart();
            return true;
        }
    }
    listCommands_->autoLoadAtStart();

    showAtStart();
    return true;
}

void TFormPlayer::prepareTempFolder() {
    tempFolder_ = TempFolder::pathFor();
    const QString refused = TempFolder::prepare(tempFolder_);
    if (!refused.isEmpty()) {
        MessageBoxes::show(QStringLiteral("Error - Temporary Folder"), refused, BoxIcon::Error);
        tempFolder_.clear();
    }
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
    for (const CommandLine::ModeChange& change : changes) {
        switch (change.mode) {
            case 'a': modes_.setAuto(change.on); break;
            case 'l': modes_.setLoop(change.on); break;
            case 'r': modes_.setRepeat(change.on); break;
            case 'm': modes_.setRandom(change.on); break;
            case 's': modes_.setShuffle(change.on); break;
            default: break;
        }
    }
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

void TFormPlayer::restoreFromTray() {
    options_.hide = false;
    if (trayIcon_) trayIcon_->hide();
    showNormal();
    raise();
    activateWindow();
}

void TFormPlayer::receiveHandOver(const QByteArray& tail) {
    if (zipMode_) {
        PlaylistPanel::refuseInZipMode();
        return;
    }
    std::optional<WaitCursor> busy(std::in_place);
    raise();
    activateWindow();
    const HandOver handOver = HandOver::resolve(QFile::decodeName(tail), options_.programFolder);
    if (handOver.kind == HandOver::Kind::Ignore) return;
    const int earlierCount = playlistPanel_->playlist().count();
    bool added = true;
    if (handOver.kind == HandOver::Kind::Media) {
        playlistPanel_->addOneFile(handOver.path);
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
        added = playlistPanel_->addListedPaths(lines) > 0;
        if (QWidget* addFile = playlistPanel_->button(QStringLiteral("BtnAddFile"))) addFile->setEnabled(false);
    }
    busy.reset();
    // With an empty playlist before, adding has opened (and with Auto started) the new first entry already.
    if (earlierCount != 0 && added) actOnHandedOverEntry(earlierCount);
}

void TFormPlayer::actOnHandedOverEntry(int index) {
    switch (options_.addPlay) {
        case 1: emit handedOverEntryToPlay(index); break;
        case 2:
            if (MessageBoxes::show(playlistPanel_->playlist().displayName(index),
                                   QStringLiteral("Play this new file added from the second instance now?"),
                                   BoxIcon::Question, BoxButtons::YesNo) == BoxButton::Yes)
                emit handedOverEntryToPlay(index);
            break;
        default: break;
    }
}

void TFormPlayer::FileExitClick(bool fromWindow) {
    if (!listCommands_->askSaveChanges(true)) {
        closeConfirmed_ = false;
        return;
    }
    closeConfirmed_ = true;
    // From here on the player ends whatever fails: each step shows its own error and the next one still runs.
    whileEnding([this] {
        if (!tempFolder_.isEmpty()) TempFolder::remove(tempFolder_);
    });
    whileEnding([this] { releaseDevice(); });
    saveOptions();
    if (!fromWindow) QApplication::quit();
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
    listCommands_->askSaveChanges(false);
    closeConfirmed_ = true;
    whileEnding([this] {
        if (!tempFolder_.isEmpty()) TempFolder::remove(tempFolder_);
    });
    whileEnding([this] { releaseDevice(); });
    saveOptions();
}

void TFormPlayer::releaseDevice() {
    position_->ResetCounter();
    position_->stopTimer();
    if (device_->isOpen()) {
        if (device_->mode() == media::Mode::Playing) device_->stop();
        device_->close();
    }
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
    listCommands_->storeOptions(options_);
    fileBox_->storeOptions(options_);
    // The history is written even when the options could not be.
    whileEnding([this] { settings_.save(listCommands_->history().entries()); });
    listCommands_->saveHistory(options_.programFolder);
}

void TFormPlayer::showAbout() {
    TFormAbout about(options_.programFolder, this);
    ModalDialogs::exec(about);
}

}  // namespace vorlo
