#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QThread;

namespace vorlo::media {
class MIDIPlayer;
}

namespace vorlo {

// The playing time of playlist entries, measured without the player's media device wherever the file tells it:
// MIDI (".mid", ".rmi", ".kar") through the MIDI engine's length scan, wave files from their header, CD tracks
// from the disc's table of contents. Every number equals what the device reports after opening the same entry.
// Only video goes through a device, the `videoProbe` the caller gives (it may throw; any failure is no length).
// Not thread-safe: one measuring thread at a time.
class EntryLengths {
public:
    // Returns the length in milliseconds of a video file; throws or returns nullopt when it has none.
    using VideoProbe = std::function<std::optional<std::int64_t>(const QString& path)>;

    // A video probe that opens the file in `device` (then closes it) and reads its length in milliseconds.
    // The device must not be the one that plays: its open file would be lost.
    static VideoProbe throughDevice(media::MIDIPlayer& device);

    // `cdDevice`: the drive (or CUE image) that ".cda" entries stand for, as the device resolves it.
    EntryLengths(std::string cdDevice, VideoProbe videoProbe);

    // The entry's length in milliseconds; nullopt when the device could not open or measure it. Never throws.
    std::optional<std::int64_t> measure(const QString& path);

    // The track number written between the last "k" and the last "." of a ".cda" path (Track03.cda is 3);
    // nullopt when that is not a number.
    static std::optional<int> cdTrackNumber(const QString& path);

private:
    std::optional<std::int64_t> measureOrThrow(const QString& path);

    std::string cdDevice_;
    VideoProbe videoProbe_;
    // The disc's table of contents, read once per summary and kept even when it failed.
    bool discRead_ = false;
    std::vector<std::int64_t> cdTracks_;
};

// One line of the summary: an entry's path and its length (nullopt: "Error!").
struct SummaryRow {
    QString path;
    std::optional<std::int64_t> lengthMs;
};

// The summary report's text.
struct SummaryReport {
    // "03:07" for 187,000 ms; minutes grow past two digits (125:00).
    static QString lengthText(std::int64_t ms);
    // The total in seconds as "00:04:07", or "1:05:00": hours unpadded, "00" when none.
    static QString totalText(std::int64_t seconds);
    // The whole report: the header lines, then one row per entry ("n<TAB>mm:ss<TAB>path" or
    // "n<TAB>Error!<TAB>path"). `listFile` is empty for an untitled playlist.
    static QStringList lines(const QString& listFile, const std::vector<SummaryRow>& rows);
};

// Measures a playlist's entries on a thread of its own, one after the other, and reports each measured entry to
// the thread that started it (queued), then the end. cancel() takes effect before the next entry; a measure
// under way (one file) finishes first. The video probe runs on the starting thread (the device lives there),
// and the measuring thread waits for it.
class SummaryJob : public QObject {
    Q_OBJECT
public:
    SummaryJob(std::string cdDevice, EntryLengths::VideoProbe videoProbe, QObject* parent = nullptr);
    // Cancels a run still going and waits for its thread.
    ~SummaryJob() override;

    // Starts measuring `paths`; false when a run is already going.
    bool start(const QStringList& paths);
    void cancel();
    bool running() const { return thread_ != nullptr; }
    bool cancelled() const { return stop_->load(); }
    const std::vector<SummaryRow>& rows() const { return rows_; }

signals:
    // Entry `index` (from 0) of `count` is being measured now: the caption "File n of Total N" comes from it.
    void progress(int index, int count);
    // The run ended; rows() holds every entry measured (all of them unless cancelled).
    void finished(bool cancelled);

private:
    void rowMeasured(int index, const vorlo::SummaryRow& row);
    void joinThread();

    std::string cdDevice_;
    EntryLengths::VideoProbe videoProbe_;
    std::shared_ptr<std::atomic<bool>> stop_;
    QThread* thread_ = nullptr;
    std::vector<SummaryRow> rows_;
};

}  // namespace vorlo
