// Opening entries, the device's reports, the MIDI reset, the CD door, and what the playlist's changes do to
// what is open.
#include "core/playback/PlaybackEngine.h"

#include "core/app/BusyCursor.h"
#include "core/app/ErrorHandler.h"
#include "core/app/Logging.h"
#include "core/app/MessageBoxes.h"
#include "core/playback/Captions.h"
#include "core/playlist/ListFileNames.h"
#include "core/playlist/MediaPaths.h"
#include "core/playlist/Playlist.h"
#include "core/playlist/ZipSession.h"
#include "core/settings/Options.h"
#include "media/EMCIDeviceError.h"
#include "media/MidiOut.h"

#include <QDateTime>
#include <QFileInfo>

namespace vorlo {

using media::DeviceType;
using media::NotifyValue;

PlaybackEngine::PlaybackEngine(media::MIDIPlayer& device, Playlist& playlist, Options& options, PlayModes& modes,
                               const ListFileNames& listFiles, ZipSession& zip, QObject* parent)
    : QObject(parent),
      device_(device),
      playlist_(playlist),
      options_(options),
      modes_(modes),
      listFiles_(listFiles),
      zip_(zip),
      random_(RandomGenerator::seedFor(QDateTime::currentDateTime())),
      sequence_(playlist, modes, random_, options),
      position_(*this, options) {
    waitTimer_.setInterval(1000);
    connect(&waitTimer_, &QTimer::timeout, this, ErrorHandler::guard([this] { waitTick(); }));
    connect(&device_, &media::MIDIPlayer::OnNotify, this,
            ErrorHandler::guard([this](NotifyValue value) { MIDIPlayerNotify(value); }));
    state_.counterMode = position_.mode();
}

PlaybackEngine::~PlaybackEngine() = default;

void PlaybackEngine::publish() {
    state_.entryOpen = device_.isOpen();
    state_.openFile = state_.entryOpen ? device_.fileName() : QString();
    state_.devicePlaying = state_.entryOpen && device_.mode() == media::Mode::Playing;
    state_.counterMode = position_.mode();
    if (!state_.entryOpen) state_.paused = false;
    if (state_ == lastPublished_) return;
    lastPublished_ = state_;
    emit stateChanged(state_);
}

void PlaybackEngine::setStartFlags(bool playOnStart, bool closeAfterPlay) {
    playOnStart_ = playOnStart;
    closeAfterPlay_ = closeAfterPlay;
}

EntrySpan PlaybackEngine::span() const {
    if (!state_.cdAudio) return {0, entryLengthMs_, false};
    return {device_.trackPosition(state_.cdTrack), entryLengthMs_, true};
}

int PlaybackEngine::playlistCount() const { return playlist_.count(); }

void PlaybackEngine::announce(const QString& caption) {
    emit captionChanged(caption);
    emit titleChanged(caption);
}

QString PlaybackEngine::songCaptionOfCurrent() const {
    return songCaption(fileNamePart(playlist_.path(playlist_.CurrentIndex())), entryLengthMs_, listFiles_.saveFileName);
}

void PlaybackEngine::PlayResetFile(const QString& path) {
    device_.setDeviceType(DeviceType::AutoSelect);
    device_.setFileName(path);
    try {
        device_.open();
        device_.setWait(true);
        device_.setNotify(false);
        device_.play();
    } catch (const media::EMCIDeviceError& error) {
        // A reset file that cannot be played leaves the synthesizer as it is; the song still plays.
        qCDebug(lcPlayback) << "reset file" << path << "not played:" << error.what();
    }
}

void PlaybackEngine::setTrackBarForEntry() {
    TrackBarView& bar = state_.trackBar;
    bar.enabled = true;
    bar.maximum = static_cast<int>(entryLengthMs_ / 1000);
    bar.position = 0;
    bar.selStart = 0;
    bar.selEnd = bar.maximum;
}

void PlaybackEngine::resetTrackBar() {
    TrackBarView& bar = state_.trackBar;
    bar.position = 0;
    bar.selStart = 0;
    bar.selEnd = 0;
    bar.enabled = false;
}

bool PlaybackEngine::removeUnplayable() {
    const int current = playlist_.CurrentIndex();
    emit captionChanged(QStringLiteral("Can't play file. Remove ") + playlist_.displayName(current) +
                        QStringLiteral(" Now..."));
    const bool onlyOne = playlist_.count() == 1;
    playlist_.removeEntry(current);
    playlist_.selectLine(-1);
    if (onlyOne) {
        playlist_.setCurrentIndex(-1);
        return true;
    }
    // The removal made the entry before it current; the advance chooses the replacement.
    if (!handleAdvance(sequence_.AdvanceToNext(device_.fileName()))) return false;
    playlist_.selectLine(playlist_.CurrentIndex());
    return true;
}

bool PlaybackEngine::handleAdvance(PlaySequence::Advance advance) {
    if (advance != PlaySequence::Advance::CloseProgram) return true;
    // The close-at-end option: the program ends without asking to save anything.
    qCDebug(lcPlayback) << "end of the list: the program closes";
    playlist_.MarkListSaved();
    emit closeRequested();
    return false;
}

bool PlaybackEngine::extractCurrentMember(QStringList& failures) {
    const PlaylistEntry& entry = playlist_.entry(playlist_.CurrentIndex());
    const QString why = zip_.extract(entry);
    if (why.isEmpty()) return true;
    failures << entry.displayName + QStringLiteral(" cannot be extracted: ") + why + QLatin1Char('.');
    return false;
}

bool PlaybackEngine::OpenCurrentEntry() {
    position_.ResetCounter();
    if (!playlist_.isValidIndex(playlist_.CurrentIndex())) return false;
    if (zip_.active()) zip_.deleteTempFile();
    device_.setDeviceType(DeviceType::AutoSelect);
    device_.setFileName(playlist_.path(playlist_.CurrentIndex()));
    emit titleChanged(fileNamePart(device_.fileName()));
    playlist_.selectLine(playlist_.CurrentIndex());

    const QString extension = extensionLowered(device_.fileName());
    if (!options_.resetFile.isEmpty() && QFileInfo::exists(options_.resetFile) &&
        (extension == QLatin1String(".mid") || extension == QLatin1String(".rmi"))) {
        emit captionChanged(resetCaption(options_.resetFile, options_.programFolder));
        PlayResetFile(options_.resetFile);
    }

    bool opened = false;
    QStringList notExtracted;
    while (!opened && playlist_.isValidIndex(playlist_.CurrentIndex())) {
        const QString path = playlist_.path(playlist_.CurrentIndex());
        device_.setFileName(path);
        // A member that cannot be extracted is dropped like a file that cannot be opened, never opened half.
        if (zip_.active() && !extractCurrentMember(notExtracted)) {
            if (!removeUnplayable()) {
                publish();
                return false;
            }
            continue;
        }
        const DeviceType type = media::MIDIPlayer::deviceTypeForPath(path);
        state_.cdAudio = type == DeviceType::CDAudio;
        if (state_.cdAudio) {
            state_.cdTrack = cdTrackFromPath(path);  // not guarded: a name without a number is the user's to see
            device_.setFileName(QString());
        }
        device_.setDeviceType(type);
        try {
            device_.open();
            opened = true;
            qCDebug(lcPlayback) << "opened entry" << playlist_.CurrentIndex() << path;
        } catch (const media::EMCIOutputError& error) {
            // The external synthesizer is not there (unplugged, not started): no entry is to blame, so none is
            // removed; the user hears why, and Play tries again.
            qCDebug(lcPlayback) << "entry" << playlist_.CurrentIndex() << path << "has no output:" << error.what();
            publish();
            MessageBoxes::show(QStringLiteral("Error - MIDI Output"), QString::fromLocal8Bit(error.what()),
                               BoxIcon::Error);
            return false;
        } catch (const std::exception& error) {
            qCDebug(lcPlayback) << "entry" << playlist_.CurrentIndex() << path << "cannot be opened:" << error.what();
            if (!removeUnplayable()) {
                publish();
                return false;
            }
        }
    }

    if (!notExtracted.isEmpty()) {
        MessageBoxes::show(QStringLiteral("Error - Extract File"), notExtracted.join(QLatin1Char('\n')), BoxIcon::Error,
                           BoxButtons::Ok, true);
    }
    if (!opened) {
        if (playlist_.count() == 1) playlist_.removeEntry(0);
        const QString listFile = listFiles_.saveFileName;
        const QString caption =
            listFile == ListFileNames::NoFile ? QStringLiteral("Error!") : QStringLiteral("Error - ") + listFile;
        emit closeListRequested();
        publish();
        MessageBoxes::show(caption, QStringLiteral("Cannot play any file in this playlist."), BoxIcon::Error,
                           BoxButtons::Ok, true);
        return false;
    }

    showOutputNotice();
    device_.setTimeFormat(media::TimeFormat::Milliseconds);
    if (state_.cdAudio) {
        if (device_.trackCount() < state_.cdTrack) state_.cdTrack = 1;
        const std::int64_t start = device_.trackPosition(state_.cdTrack);
        entryLengthMs_ = device_.trackLength(state_.cdTrack);
        device_.seek(start);
        state_.savedEndMs = start + entryLengthMs_ - 1;
        device_.setStartPos(start);
        applyEnd(state_.savedEndMs);
    } else {
        entryLengthMs_ = device_.length();
        applyEnd(entryLengthMs_);
    }
    setTrackBarForEntry();
    announce(songCaptionOfCurrent());
    publish();
    return true;
}

void PlaybackEngine::showOutputNotice() {
    // Without a sound device the songs still play, silently, at their pace. The device hands the notice out once a
    // run, whatever kind of medium found out first; it is shown after the song has started, so the list goes on
    // while the box is up, and no second box can follow it.
    const QString notice = device_.takeOutputNotice();
    if (notice.isEmpty()) return;
    QTimer::singleShot(
        0, this, [notice] { MessageBoxes::show(QStringLiteral("Warning - Sound Output"), notice, BoxIcon::Warning); });
}

void PlaybackEngine::applyEnd(std::int64_t endMs) {
    playEndMs_ = endMs;
    device_.setEndPos(endMs);
}

void PlaybackEngine::rewindEntry() {
    if (state_.cdAudio) {
        const std::int64_t start = device_.trackPosition(state_.cdTrack);
        device_.seek(start);
        device_.setStartPos(start);
        applyEnd(start + device_.trackLength(state_.cdTrack) - 1);
    } else {
        device_.rewind();
        applyEnd(entryLengthMs_);
    }
}

void PlaybackEngine::MIDIPlayerNotify(NotifyValue value) {
    qCDebug(lcPlayback) << "report" << static_cast<int>(value) << "for" << device_.fileName();
    if (closeAfterPlay_ && playlist_.count() == 1) {
        qCDebug(lcPlayback) << "the one song of a \"/close\" start has ended: the program closes";
        emit closeRequested();
        return;
    }
    playOnStart_ = false;
    closeAfterPlay_ = false;
    if (value != NotifyValue::Successful) {
        // Plays cut short by Stop, a seek or a new command report too; only a play that ran to its end counts.
        qCDebug(lcPlayback) << "report dropped: the play did not run to its end";
        // A device that can tell why a play failed (an external synthesizer that went away) is heard: the song
        // stays stopped where it was. The box comes after the report is handled, so nothing waits for it.
        if (const QString why = value == NotifyValue::Failure ? device_.takeFailureMessage() : QString();
            !why.isEmpty()) {
            ShowStoppedButtons();
            QTimer::singleShot(
                0, this, [why] { MessageBoxes::show(QStringLiteral("Error - MIDI Output"), why, BoxIcon::Error); });
        }
        publish();
        return;
    }

    playlist_.selectLine(-1);
    if (state_.trackBar.enabled) resetTrackBar();
    if (modes_.autoPlay) {
        if (options_.wait != 0)
            StartWait();
        else
            EntryFinished();
        return;
    }
    ShowStoppedButtons();
    if (device_.isOpen()) rewindEntry();
    state_.trackBar.selStart = 0;
    state_.trackBar.selEnd = state_.trackBar.maximum;
    playlist_.selectLine(playlist_.CurrentIndex());
    state_.trackBar.enabled = true;
    publish();
}

void PlaybackEngine::MIDIResetNowClick() {
    BusyCursor busy;
    const bool wasOpen = device_.isOpen();
    if (wasOpen) {
        SpdBtnStopClick();
        closeDevice();
    }
    if (state_.trackBar.enabled) {
        state_.trackBar.selStart = 0;
        state_.trackBar.position = 0;
    }
    media::MidiOut out(device_.synthHost());
    if (!out.open()) {
        emit captionChanged(QStringLiteral("Fail to open MIDI device!"));
    } else {
        for (std::uint32_t message : media::midiResetMessages()) out.shortMessage(message);
        if (!out.close()) emit captionChanged(QStringLiteral("Error Closing MIDI!"));
    }
    if (wasOpen) {
        device_.open();
        device_.setTimeFormat(media::TimeFormat::Milliseconds);
    }
    publish();
}

void PlaybackEngine::SpdEjectClick() {
    if (device_.mode() == media::Mode::Open || state_.doorOpened) {
        device_.closeDoor();
        state_.doorOpened = false;
        if (playlist_.selectedLine() >= 0) playlist_.setCurrentIndex(playlist_.selectedLine());
        if (OpenCurrentEntry()) {
            if (modes_.autoPlay && !playlist_.isChecked(playlist_.CurrentIndex())) {
                ShowPlayingButtons();
                StartPlay();
            } else {
                ShowStoppedButtons();
            }
        }
        publish();
        return;
    }
    if (state_.cdAudio && state_.playWanted && device_.isOpen()) {
        device_.stop();
        position_.stopTimer();
        state_.trackBar.position = 0;
        state_.trackBar.selStart = 0;
        state_.trackBar.selEnd = 0;
        state_.counter = {};
        state_.playWanted = false;
        state_.paused = false;
    }
    if (device_.isOpen() && device_.canEject()) device_.eject();
    state_.doorOpened = true;
    publish();
}

void PlaybackEngine::closeDevice() {
    if (!device_.isOpen()) return;
    if (device_.mode() == media::Mode::Playing) device_.stop();
    device_.close();
    publish();
}

void PlaybackEngine::playEntry(int index, PlayRequest how) {
    if (!playlist_.isValidIndex(index)) return;
    if (how == PlayRequest::UserChoice) {
        // The drive's door is open: the entries of the disc cannot be played until it is closed again.
        if (device_.mode() == media::Mode::Open || state_.doorOpened) return;
        resetTrackBar();
        position_.ResetCounter();
    }
    closeDevice();
    playlist_.setCurrentIndex(index);
    playlist_.selectLine(index);
    if (!OpenCurrentEntry()) return;
    if (how == PlayRequest::HandOver || modes_.autoPlay) {
        ShowPlayingButtons();
        StartPlay();
    } else {
        ShowStoppedButtons();
    }
}

void PlaybackEngine::entriesArrived() {
    if (device_.isOpen() || playlist_.isEmpty()) return;
    if (modes_.autoPlay) {
        ShowPlayingButtons();
        playlist_.setCurrentIndex(-1);
        EntryFinished();
    } else {
        playlist_.setCurrentIndex(0);
        if (OpenCurrentEntry()) ShowStoppedButtons();
    }
}

bool PlaybackEngine::letGoOfRemovedCurrent() {
    position_.ResetCounter();
    resetTrackBar();
    closeDevice();
    if (!playlist_.isEmpty()) return true;
    publish();
    return false;
}

void PlaybackEngine::currentEntryRemoved(bool afterDeviceError) {
    const bool wasPlaying = device_.isOpen() && device_.mode() == media::Mode::Playing;
    if (!letGoOfRemovedCurrent()) return;
    // Removing an entry never ends the program, even at the end of the list with the close-at-end option: the
    // advance only chooses the entry that takes the removed one's place.
    sequence_.AdvanceToNext(QString());
    if (!OpenCurrentEntry()) return;
    if ((wasPlaying || afterDeviceError) && modes_.autoPlay && !playlist_.isChecked(playlist_.CurrentIndex())) {
        ShowPlayingButtons();
        StartPlay();
    } else {
        ShowStoppedButtons();
    }
    playlist_.selectLine(playlist_.CurrentIndex());
    publish();
}

void PlaybackEngine::listCleared() {
    position_.ResetCounter();
    position_.stopTimer();
    closeDevice();
    resetTrackBar();
    ShowStoppedButtons();
    announce(listFiles_.listCaption());
}

void PlaybackEngine::listSorted() {
    state_.counter = {};
    closeDevice();
    if (!OpenCurrentEntry()) return;
    if (modes_.autoPlay) {
        ShowPlayingButtons();
        StartPlay();
    } else {
        ShowStoppedButtons();
    }
}

void PlaybackEngine::listClosed() {
    position_.ResetCounter();
    closeDevice();
    resetTrackBar();
    state_.counter = {};
    position_.stopTimer();
    ShowStoppedButtons();
}

void PlaybackEngine::startWithFile(const QString& file) {
    playlist_.clear();
    playlist_.append({file, fileNamePart(file), false});
    playlist_.setCurrentIndex(0);
    playlist_.selectLine(0);
    playlist_.MarkListSaved();
    ShowStoppedButtons();
    if (OpenCurrentEntry() && (modes_.autoPlay || playOnStart_)) {
        ShowPlayingButtons();
        StartPlay();
    }
}

}  // namespace vorlo
