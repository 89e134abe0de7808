#include "core/info/PlaylistSummary.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QSemaphore>
#include <QThread>

#include <exception>
#include <variant>

#include "media/CdAudioDevice.h"
#include "media/EMCIDeviceError.h"
#include "media/MIDIPlayer.h"
#include "media/WaveAudioDevice.h"
#include "midi/FileBytes.h"
#include "midi/SongLength.h"

namespace vorlo {

EntryLengths::EntryLengths(std::string cdDevice, VideoProbe videoProbe)
    : cdDevice_(std::move(cdDevice)), videoProbe_(std::move(videoProbe)) {}

EntryLengths::VideoProbe EntryLengths::throughDevice(media::MIDIPlayer& device) {
    return [&device](const QString& path) -> std::optional<std::int64_t> {
        device.setDeviceType(media::MIDIPlayer::deviceTypeForPath(path));
        device.setFileName(path);
        device.open();
        device.setTimeFormat(media::TimeFormat::Milliseconds);
        const std::int64_t length = device.length();
        device.close();
        return length;
    };
}

std::optional<int> EntryLengths::cdTrackNumber(const QString& path) {
    const qsizetype k = path.lastIndexOf(QLatin1Char('k'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (k < 0 || dot <= k + 1) return std::nullopt;
    bool ok = false;
    const int number = path.mid(k + 1, dot - k - 1).toInt(&ok);
    if (!ok) return std::nullopt;
    return number;
}

std::optional<std::int64_t> EntryLengths::measure(const QString& path) {
    try {
        return measureOrThrow(path);
    } catch (const std::exception&) {
        // The row says "Error!"; why is the device's business, and the summary goes on.
        return std::nullopt;
    }
}

std::optional<std::int64_t> EntryLengths::measureOrThrow(const QString& path) {
    const QString suffix = QLatin1Char('.') + QFileInfo(path).suffix().toLower();
    if (suffix == u".cda") {
        const std::optional<int> track = cdTrackNumber(path);
        if (!track) return std::nullopt;
        if (!discRead_) {
            discRead_ = true;
            cdTracks_ = media::CdAudioDevice::readTrackLengthsMs(cdDevice_);
        }
        if (*track < 1 || *track > static_cast<int>(cdTracks_.size())) return std::nullopt;
        return cdTracks_[static_cast<std::size_t>(*track - 1)];
    }
    const std::string file = QFile::encodeName(path).toStdString();
    if (suffix == u".mid" || suffix == u".rmi" || suffix == u".kar") {
        // The device refuses a folder; reading one would fail anyway, but say nothing else.
        std::vector<std::uint8_t> bytes;
        if (!midi::loadFileBytes(file, bytes).empty()) return std::nullopt;
        const auto measured = midi::measureSong(bytes);
        if (const auto* song = std::get_if<midi::SongLength>(&measured)) return song->lengthMs;
        return std::nullopt;
    }
    if (suffix == u".wav") return media::waveLengthMs(file);
    if (media::MIDIPlayer::isVideoFile(path) && videoProbe_) return videoProbe_(path);
    // No device plays any other type.
    return std::nullopt;
}

namespace {

QString twoDigits(std::int64_t value) { return QString::number(value).rightJustified(2, QLatin1Char('0')); }

}  // namespace

QString SummaryReport::lengthText(std::int64_t ms) {
    return twoDigits(ms / 60000) + QLatin1Char(':') + twoDigits((ms / 1000) % 60);
}

QString SummaryReport::totalText(std::int64_t seconds) {
    const std::int64_t hours = seconds / 3600;
    return (hours == 0 ? QStringLiteral("00") : QString::number(hours)) + QLatin1Char(':') +
           twoDigits((seconds % 3600) / 60) + QLatin1Char(':') + twoDigits(seconds % 60);
}

QStringList SummaryReport::lines(const QString& listFile, const std::vector<SummaryRow>& rows) {
    std::int64_t totalSeconds = 0;
    for (const SummaryRow& row : rows)
        if (row.lengthMs) totalSeconds += *row.lengthMs / 1000;
    QStringList out;
    out << (listFile.isEmpty() ? QStringLiteral("Summary of Untitled PlayList")
                               : QStringLiteral("Summary of PlayList ") + listFile);
    out << QStringLiteral("Total files in this playlist:  ") + QString::number(rows.size());
    out << QStringLiteral("Total Play Time regardless wait time and file open delay:  ") + totalText(totalSeconds);
    out << QString() << QStringLiteral("File List:") << QStringLiteral("NO\tTime\tPath and Name");
    int number = 0;
    for (const SummaryRow& row : rows) {
        ++number;
        out << QString::number(number) + QLatin1Char('\t') +
                   (row.lengthMs ? lengthText(*row.lengthMs) + QLatin1Char('\t') : QStringLiteral("Error!\t")) +
                   row.path;
    }
    return out;
}

SummaryJob::SummaryJob(std::string cdDevice, EntryLengths::VideoProbe videoProbe, QObject* parent)
    : QObject(parent),
      cdDevice_(std::move(cdDevice)),
      videoProbe_(std::move(videoProbe)),
      stop_(std::make_shared<std::atomic<bool>>(false)) {}

SummaryJob::~SummaryJob() {
    cancel();
    joinThread();
}

void SummaryJob::cancel() { stop_->store(true); }

bool SummaryJob::start(const QStringList& paths) {
    if (thread_ != nullptr) return false;
    rows_.clear();
    rows_.reserve(static_cast<std::size_t>(paths.size()));
    stop_ = std::make_shared<std::atomic<bool>>(false);
    auto stop = stop_;
    // The video probe needs the device on this thread: the measuring thread asks for it and waits.
    QObject* home = this;
    EntryLengths::VideoProbe probe;
    if (videoProbe_) {
        probe = [home, stop, videoProbe = videoProbe_](const QString& path) -> std::optional<std::int64_t> {
            // Shared with the call on the starting thread, which may run after this thread gave up waiting.
            struct Answer {
                QSemaphore done;
                std::optional<std::int64_t> length;
            };
            auto answer = std::make_shared<Answer>();
            QMetaObject::invokeMethod(
                home,
                [answer, videoProbe, path] {
                    answer->length = EntryLengths(std::string(), videoProbe).measure(path);
                    answer->done.release();
                },
                Qt::QueuedConnection);
            // Waits in short steps so that a cancel (or the job's end) never waits for the device.
            while (!answer->done.tryAcquire(1, 20))
                if (stop->load()) return std::nullopt;
            return answer->length;
        };
    }
    thread_ = QThread::create([this, paths, stop, cdDevice = cdDevice_, probe] {
        EntryLengths lengths(cdDevice, probe);
        const int count = static_cast<int>(paths.size());
        for (int index = 0; index < count && !stop->load(); ++index) {
            QMetaObject::invokeMethod(
                this, [this, index, count] { emit progress(index, count); }, Qt::QueuedConnection);
            SummaryRow row{paths[index], lengths.measure(paths[index])};
            QMetaObject::invokeMethod(
                this, [this, index, row] { rowMeasured(index, row); }, Qt::QueuedConnection);
        }
    });
    connect(
        thread_, &QThread::finished, this,
        [this] {
            joinThread();
            emit finished(stop_->load());
        },
        Qt::QueuedConnection);
    thread_->start();
    return true;
}

void SummaryJob::rowMeasured(int index, const SummaryRow& row) {
    // A row queued before a cancel still arrives; it belongs to the run only when it follows the rows before it.
    if (index == static_cast<int>(rows_.size())) rows_.push_back(row);
}

void SummaryJob::joinThread() {
    if (thread_ == nullptr) return;
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

}  // namespace vorlo
