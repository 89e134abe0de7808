#include "media/MIDIPlayer.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <utility>

#include "media/CdAudioDevice.h"
#include "media/CdTime.h"
#include "media/EMCIDeviceError.h"
#include "media/MediaLog.h"
#include "media/SequencerDevice.h"
#include "media/VideoBackend.h"
#include "media/WaveAudioDevice.h"
#include "os/NativePath.h"

#include <sys/stat.h>

namespace vorlo::media {
namespace {

QString lowerSuffix(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

std::string quoted(const QString& path) { return "\"" + path.toStdString() + "\""; }

constexpr std::chrono::seconds kWaitSlack{10};

}  // namespace

MIDIPlayer::MIDIPlayer(MediaSettings settings, QObject* parent)
    : QObject(parent), synthHost_(settings), settings_(std::move(settings)) {}

MIDIPlayer::~MIDIPlayer() {
    // The back end's audio thread stops before anything it reports to goes away.
    backend_.reset();
}

bool MIDIPlayer::isVideoFile(const QString& path) { return lowerSuffix(path) == u".avi"; }

DeviceType MIDIPlayer::deviceTypeForPath(const QString& path) {
    const QString suffix = lowerSuffix(path);
    if (suffix == u".cda") return DeviceType::CDAudio;
    if (suffix == u".kar") return DeviceType::Sequencer;
    return DeviceType::AutoSelect;
}

void MIDIPlayer::setStartPos(std::int64_t position) {
    oneShot_.hasStart = true;
    oneShot_.start = position;
}

void MIDIPlayer::setEndPos(std::int64_t position) {
    oneShot_.hasEnd = true;
    oneShot_.end = position;
}

void MIDIPlayer::setWait(bool wait) {
    oneShot_.hasWait = true;
    oneShot_.wait = wait;
}

void MIDIPlayer::setNotify(bool notify) {
    oneShot_.hasNotify = true;
    oneShot_.notify = notify;
}

MIDIPlayer::OneShot MIDIPlayer::takeOneShot() {
    setError(DeviceErrorCode::None);
    return std::exchange(oneShot_, OneShot{});
}

void MIDIPlayer::finishCommand(const OneShot& settings, NotifyValue value) {
    if (settings.hasNotify && settings.notify) postReport(value);
}

void MIDIPlayer::postReport(NotifyValue value) {
    qCDebug(lcMedia) << "report" << static_cast<int>(value) << "posted for" << fileName_;
    QMetaObject::invokeMethod(
        this, [this, value] { emit OnNotify(value); }, Qt::QueuedConnection);
}

void MIDIPlayer::requireOpen() const {
    if (!backend_) throw EMCIDeviceError(kNoDeviceOpen);
}

void MIDIPlayer::cutPending(NotifyValue value) {
    if (!hasPending_) return;
    hasPending_ = false;
    if (pending_.notify) postReport(value);
}

PlayEndHandler MIDIPlayer::endHandler() {
    const std::uint64_t generation = generation_;
    // Runs on an audio thread: only a queued call crosses to this object's thread.
    return [this, generation](std::uint64_t token, bool failed) {
        QMetaObject::invokeMethod(
            this, [this, generation, token, failed] { onPlayEnded(generation, token, failed); }, Qt::QueuedConnection);
    };
}

void MIDIPlayer::onPlayEnded(std::uint64_t generation, std::uint64_t token, bool failed) {
    // A play that was stopped, replaced or closed has had its report already.
    if (!hasPending_ || pending_.generation != generation || pending_.token != token) {
        qCDebug(lcMedia) << "end of an earlier play dropped: generation" << generation << "token" << token;
        return;
    }
    hasPending_ = false;
    qCDebug(lcMedia) << "play" << token << "of" << fileName_ << (failed ? "failed" : "reached its end");
    if (failed && backend_) failureMessage_ = backend_->failureMessage();
    if (pending_.notify) emit OnNotify(failed ? NotifyValue::Failure : NotifyValue::Successful);
}

std::unique_ptr<MediaBackend> MIDIPlayer::openBackend(DeviceType type, const std::string& path) {
    switch (type) {
        case DeviceType::Sequencer: return std::make_unique<SequencerDevice>(synthHost_, path, endHandler());
        case DeviceType::WaveAudio: return openWaveAudio(path, settings_, endHandler());
        case DeviceType::AVIVideo: return openVideoDevice(path, endHandler());
        case DeviceType::CDAudio: return std::make_unique<CdAudioDevice>(path, settings_, endHandler());
        case DeviceType::AutoSelect: break;
    }
    throw EMCIDeviceError("No media device type was chosen for " + path + ".");
}

void MIDIPlayer::open() {
    const OneShot settings = takeOneShot();
    if (backend_) {
        cutPending(NotifyValue::Aborted);
        backend_.reset();
    }
    ++generation_;
    timeFormat_ = TimeFormat::Milliseconds;

    DeviceType type = deviceType_;
    std::string path;
    if (type == DeviceType::CDAudio) {
        // The file name of a CD entry is empty (a track's ".cda" name stands for the disc too); any
        // other name given here is a drive or a disc image.
        const bool ownDrive = fileName_.isEmpty() || lowerSuffix(fileName_) == u".cda";
        path = ownDrive ? resolvedCdDevice(settings_) : encodePath(fileName_).toStdString();
    } else {
        if (fileName_.isEmpty()) throw EMCIDeviceError("No file was given to open.");
        // The name's own bytes, which need not be UTF-8.
        const QByteArray native = encodePath(fileName_);
        struct stat info {};
        if (::stat(native.constData(), &info) != 0)
            throw EMCIDeviceError("The file " + quoted(fileName_) + " does not exist.");
        if (S_ISDIR(info.st_mode)) throw EMCIDeviceError(quoted(fileName_) + " is a folder, not a media file.");
        // A FIFO, device or socket named like a song would block its reader or feed it for ever.
        if (!S_ISREG(info.st_mode)) throw EMCIDeviceError(quoted(fileName_) + " is not a regular file.");
        if (type == DeviceType::AutoSelect) {
            const QString suffix = lowerSuffix(fileName_);
            if (suffix == u".mid" || suffix == u".rmi")
                type = DeviceType::Sequencer;
            else if (suffix == u".wav")
                type = DeviceType::WaveAudio;
            else if (isVideoFile(fileName_))
                type = DeviceType::AVIVideo;
            else
                throw EMCIDeviceError("No media device plays files of type " +
                                      (suffix.isEmpty() ? std::string("(none)") : quoted(suffix)) + ": " +
                                      quoted(fileName_) + ".");
        }
        path = native.toStdString();
    }
    backend_ = openBackend(type, path);
    openType_ = type;
    openPath_ = path;
    qCDebug(lcMedia) << "opened" << fileName_ << "as device type" << static_cast<int>(type) << "length"
                     << backend_->lengthMs() << "ms";
    // A CD device starts in track, minute, second, frame format, as drives always have.
    if (type == DeviceType::CDAudio) timeFormat_ = TimeFormat::TMSF;
    finishCommand(settings);
}

void MIDIPlayer::close() {
    const OneShot settings = takeOneShot();
    if (backend_) {
        cutPending(NotifyValue::Aborted);
        backend_.reset();
        ++generation_;
    }
    finishCommand(settings);
}

void MIDIPlayer::play() {
    const OneShot settings = takeOneShot();
    requireOpen();
    const std::int64_t lengthMs = backend_->lengthMs();
    const std::int64_t fromMs =
        std::clamp<std::int64_t>(settings.hasStart ? toMs(settings.start) : backend_->positionMs(), 0, lengthMs);
    const std::int64_t toMsValue =
        std::clamp<std::int64_t>(settings.hasEnd ? toMs(settings.end) : lengthMs, 0, lengthMs);
    if (fromMs > toMsValue) {
        qCDebug(lcMedia) << "play from" << fromMs << "to" << toMsValue << "refused: out of range";
        setError(DeviceErrorCode::OutOfRange);
        return;
    }
    const bool notify = settings.hasNotify ? settings.notify : true;
    const bool wait = settings.hasWait && settings.wait;
    cutPending(notify ? NotifyValue::Superseded : NotifyValue::Aborted);
    const std::uint64_t token = backend_->play(fromMs, toMsValue);
    qCDebug(lcMedia) << "play" << token << "of" << fileName_ << "from" << fromMs << "to" << toMsValue << "ms";
    hasPending_ = true;
    pending_ = {generation_, token, notify, toMsValue};
    if (!wait) return;
    // A waiting play ends with the medium; an output that stalls must not hold the player for ever.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(toMsValue - fromMs) + kWaitSlack;
    if (backend_->waitForEnd(token, deadline)) return;
    backend_->stop();
    setError(DeviceErrorCode::HardwareError);
    cutPending(NotifyValue::Failure);
}

void MIDIPlayer::stop() {
    const OneShot settings = takeOneShot();
    requireOpen();
    cutPending(NotifyValue::Aborted);
    backend_->stop();
    finishCommand(settings);
}

void MIDIPlayer::seek(std::int64_t position) {
    const OneShot settings = takeOneShot();
    requireOpen();
    cutPending(NotifyValue::Aborted);
    backend_->seek(std::clamp<std::int64_t>(toMs(position), 0, backend_->lengthMs()));
    finishCommand(settings);
}

void MIDIPlayer::rewind() {
    const OneShot settings = takeOneShot();
    requireOpen();
    cutPending(NotifyValue::Aborted);
    backend_->seek(0);
    finishCommand(settings);
}

bool MIDIPlayer::canEject() const { return backend_ && backend_->canEject(); }

void MIDIPlayer::eject() {
    const OneShot settings = takeOneShot();
    requireOpen();
    if (!backend_->canEject()) {
        setError(DeviceErrorCode::CannotEject);
        return;
    }
    cutPending(NotifyValue::Aborted);
    backend_->stop();
    if (!backend_->eject()) setError(DeviceErrorCode::HardwareError);
    finishCommand(settings);
}

void MIDIPlayer::closeDoor() {
    const OneShot settings = takeOneShot();
    if (!backend_) {
        setError(DeviceErrorCode::NotOpen);
        return;
    }
    if (!backend_->canEject()) {
        setError(DeviceErrorCode::CannotEject);
        return;
    }
    if (!backend_->closeDoor()) setError(DeviceErrorCode::HardwareError);
    finishCommand(settings);
}

void MIDIPlayer::setTimeFormat(TimeFormat format) {
    const OneShot settings = takeOneShot();
    if (!backend_) {
        setError(DeviceErrorCode::NotOpen);
        return;
    }
    if (format == TimeFormat::TMSF && openType_ != DeviceType::CDAudio) {
        setError(DeviceErrorCode::UnsupportedFormat);
        return;
    }
    timeFormat_ = format;
    finishCommand(settings);
}

Mode MIDIPlayer::mode() const {
    if (!backend_) return Mode::NotReady;
    if (backend_->isDoorOpen()) return Mode::Open;
    return backend_->isPlaying() ? Mode::Playing : Mode::Stopped;
}

std::int64_t MIDIPlayer::position() const {
    if (!backend_) return 0;
    return fromMs(backend_->positionMs(), false);
}

std::int64_t MIDIPlayer::trackPosition(int track) const {
    if (!backend_) return 0;
    if (track < 1 || track > backend_->trackCount()) {
        setError(DeviceErrorCode::OutOfRange);
        return 0;
    }
    return fromMs(backend_->trackPositionMs(track), false);
}

TimeFormat MIDIPlayer::timeFormat() const {
    requireOpen();
    return timeFormat_;
}

std::int64_t MIDIPlayer::length() const {
    requireOpen();
    return fromMs(backend_->lengthMs(), true);
}

int MIDIPlayer::trackCount() const {
    requireOpen();
    return backend_->trackCount();
}

std::int64_t MIDIPlayer::trackLength(int track) const {
    requireOpen();
    if (track < 1 || track > backend_->trackCount()) {
        setError(DeviceErrorCode::OutOfRange);
        return 0;
    }
    return fromMs(backend_->trackLengthMs(track), true);
}

std::int64_t MIDIPlayer::toMs(std::int64_t position) const {
    if (timeFormat_ != TimeFormat::TMSF) return position;
    return tmsfToMs(*backend_, position);
}

std::int64_t MIDIPlayer::fromMs(std::int64_t ms, bool isLength) const {
    if (timeFormat_ != TimeFormat::TMSF) return ms;
    return isLength ? msToMsf(ms) : msToTmsf(*backend_, ms);
}

QString MIDIPlayer::lastErrorMessage() const {
    switch (lastError_) {
        case DeviceErrorCode::None: return {};
        case DeviceErrorCode::NotOpen: return QString::fromLatin1(kNoDeviceOpen);
        case DeviceErrorCode::OutOfRange: return QStringLiteral("The position or track is outside the medium.");
        case DeviceErrorCode::UnsupportedFormat: return QStringLiteral("This device cannot use that time format.");
        case DeviceErrorCode::CannotEject: return QStringLiteral("This device has no door to open or close.");
        case DeviceErrorCode::HardwareError: return QStringLiteral("The drive did not carry out the command.");
    }
    return {};
}

bool MIDIPlayer::renderOffline(float* left, float* right, std::size_t frames) {
    return backend_ && backend_->renderOffline(left, right, frames);
}

void MIDIPlayer::applySynthSettings(const MediaSettings& wanted) {
    if (!synthHost_.needsNewEngine(wanted)) {
        synthHost_.apply(wanted);
        return;
    }
    // Let go of the song on the old engine, remembering where it was.
    const bool songOpen = backend_ && openType_ == DeviceType::Sequencer;
    std::int64_t positionMs = 0;
    bool playing = false;
    if (songOpen) {
        positionMs = backend_->positionMs();
        playing = backend_->isPlaying() && hasPending_;
        // The old engine's end reports carry the old generation: dropped from now on.
        backend_.reset();
        ++generation_;
    }
    const MediaSettings before = synthHost_.settings();
    synthHost_.apply(wanted);
    std::string failed;
    if (synthHost_.ready(failed)) {
        failed.clear();
    } else {
        qCDebug(lcMedia) << "new synthesizer failed:" << failed.c_str() << "- the one before comes back";
        synthHost_.apply(before);
        std::string again;
        if (!synthHost_.ready(again)) {
            if (songOpen) cutPending(NotifyValue::Failure);
            throw EMCIDeviceError(failed);
        }
    }
    if (songOpen) {
        try {
            backend_ = openBackend(DeviceType::Sequencer, openPath_);
        } catch (const EMCIDeviceError&) {
            // The song's file went away meanwhile: the device is closed, as after a failed open.
            cutPending(NotifyValue::Failure);
            throw;
        }
        backend_->seek(positionMs);
        qCDebug(lcMedia) << "synthesizer made anew;" << fileName_ << "at" << positionMs << "ms"
                         << (playing ? "plays on" : "stays stopped");
        if (playing) {
            pending_.generation = generation_;
            pending_.token = backend_->play(positionMs, std::max(positionMs, pending_.toMs));
        }
    }
    if (!failed.empty()) throw EMCIDeviceError(failed);
}

QString MIDIPlayer::takeFailureMessage() { return QString::fromStdString(std::exchange(failureMessage_, {})); }

QString MIDIPlayer::takeOutputNotice() {
    // Each back end (and each wave file's output) finds the output missing anew: taking theirs keeps them quiet,
    // and only the first notice of the run goes out.
    std::string notice = backend_ ? backend_->takeOutputNotice() : std::string();
    if (notice.empty()) notice = synthHost_.takeOutputNotice();
    if (notice.empty() || outputNoticeGiven_) return {};
    outputNoticeGiven_ = true;
    return QString::fromStdString(notice);
}

}  // namespace vorlo::media
