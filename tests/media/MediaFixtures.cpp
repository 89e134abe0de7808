#include "MediaFixtures.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include "AviWriter.h"
#include "midi/SmfWriter.h"

namespace vorlo::testing {
namespace {

constexpr std::size_t kBlockFrames = 256;
// A fault that keeps the device playing fails the test after this instead of hanging it.
constexpr int kLimitMs = 20000;

}  // namespace

double testTone(int frame, int channel) {
    return 0.5 * std::sin(2.0 * M_PI * (channel == 0 ? 440.0 : 660.0) * frame / 44100.0);
}

bool writeWave(const QString& path, int subtype, int channels, int sampleRate, int frames, const WaveShape& shape) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | subtype;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    std::vector<double> samples;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) samples.push_back(shape(i, c));
    const sf_count_t written = sf_writef_double(file, samples.data(), frames);
    sf_close(file);
    return written == frames;
}

bool writeMidiSong(const QString& path, int lengthMs) {
    // 480 ticks per quarter at 500000 us per quarter: 96 ticks are 100 ms.
    midi::SmfWriter writer(0, 480);
    midi::TrackWriter& track = writer.addTrack();
    track.tempo(0, 500000).programChange(0, 0, 0);
    const auto endTick = static_cast<std::uint64_t>(lengthMs) * 480 / 500;
    for (std::uint64_t tick = 0; tick + 96 <= endTick; tick += 96)
        track.note(tick, 96, 0, 60 + static_cast<int>(tick / 96 % 12), 100);
    track.endAt(endTick);
    return writer.writeTo(QFile::encodeName(path).toStdString());
}

QString writeDiscImage(const QTemporaryDir& dir, bool mixed) {
    const int sectors[] = {18, 27};  // 588 frames each: 240 ms and 360 ms
    const double hertz[] = {441.0, 882.0};
    QByteArray bin;
    for (int track = 0; track < 2; ++track) {
        for (int frame = 0; frame < sectors[track] * 588; ++frame) {
            auto sample = static_cast<std::int16_t>(12000 * std::sin(2.0 * M_PI * hertz[track] * frame / 44100.0));
            if (mixed && track == 1) sample = 0x5555;
            for (int channel = 0; channel < 2; ++channel)
                bin.append(static_cast<char>(sample & 0xFF)).append(static_cast<char>(sample >> 8));
        }
    }
    QFile binFile(dir.filePath("disc.bin"));
    QFile cue(dir.filePath("disc.cue"));
    if (!binFile.open(QIODevice::WriteOnly) || binFile.write(bin) != bin.size() || !cue.open(QIODevice::WriteOnly))
        return {};
    cue.write("FILE \"disc.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n");
    cue.write(mixed ? "  TRACK 02 MODE1/2352\r\n" : "  TRACK 02 AUDIO\r\n");
    cue.write("    INDEX 01 00:00:18\r\n");
    return cue.fileName();
}

void openMedium(media::MIDIPlayer& player, const QTemporaryDir& dir, Kind kind) {
    QString path;
    switch (kind) {
        case Kind::Midi:
            path = dir.filePath("song.mid");
            ASSERT_TRUE(writeMidiSong(path, kMediumMs));
            break;
        case Kind::Wave:
            path = dir.filePath("sound.wav");
            ASSERT_TRUE(writeWave(path, SF_FORMAT_PCM_16, 2, 44100, kMediumMs * 441 / 10, testTone));
            break;
        case Kind::Video:
            path = dir.filePath("clip.avi");
            ASSERT_TRUE(writeMjpegAvi(path, AviClip{.audioSampleRate = 8000}));
            break;
        case Kind::Disc:
            player.setDeviceType(media::DeviceType::CDAudio);  // the disc is the settings' image
            break;
    }
    player.setFileName(path);
    player.open();
    player.setTimeFormat(media::TimeFormat::Milliseconds);
}

media::MediaSettings offlineSettings(const QString& cdImage) {
    media::MediaSettings settings;
    const QString small = QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");
    if (QFile::exists(small)) settings.soundFontPath = small.toStdString();
    settings.cdDevice = cdImage.toStdString();
    settings.audioMode = media::AudioMode::Offline;
    return settings;
}

double RenderedAudio::peak() const {
    double most = 0.0;
    for (const auto* side : {&left, &right})
        for (float sample : *side) most = std::max(most, static_cast<double>(std::fabs(sample)));
    return most;
}

RenderedAudio runFor(media::MIDIPlayer& player, int ms) {
    RenderedAudio audio;
    std::vector<float> left(kBlockFrames), right(kBlockFrames);
    const auto frames = static_cast<std::size_t>(ms) * 441 / 10;
    for (std::size_t done = 0; done < frames; done += kBlockFrames) {
        const std::size_t now = std::min(kBlockFrames, frames - done);
        if (!player.renderOffline(left.data(), right.data(), now)) {
            // Real time: the device follows its own clock.
            QDeadlineTimer deadline(ms);
            while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            return audio;
        }
        audio.left.insert(audio.left.end(), left.begin(), left.begin() + static_cast<std::ptrdiff_t>(now));
        audio.right.insert(audio.right.end(), right.begin(), right.begin() + static_cast<std::ptrdiff_t>(now));
    }
    return audio;
}

RenderedAudio runToStop(media::MIDIPlayer& player) {
    RenderedAudio audio;
    QDeadlineTimer deadline(kLimitMs);
    while (player.mode() == media::Mode::Playing && !deadline.hasExpired()) {
        RenderedAudio part = runFor(player, 5);
        audio.left.insert(audio.left.end(), part.left.begin(), part.left.end());
        audio.right.insert(audio.right.end(), part.right.begin(), part.right.end());
    }
    return audio;
}

Reports::Reports(media::MIDIPlayer& player) {
    QObject::connect(&player, &media::MIDIPlayer::OnNotify,
                     [this](media::NotifyValue value) { values.push_back(value); });
}

bool Reports::waitFor(std::size_t count) {
    QDeadlineTimer deadline(kLimitMs);
    while (values.size() < count && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return values.size() >= count;
}

void Reports::settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace vorlo::testing
