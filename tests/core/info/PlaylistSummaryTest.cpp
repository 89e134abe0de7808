// The playlist summary's measuring and report without a window: lengths read straight from the files must be the
// numbers the media device gives for them, failures give "Error!" rows without stopping the run, and a run on
// its own thread can be cancelled without touching the song that plays.
#include "CoreRig.h"
#include "MediaFixtures.h"
#include "QtPrinters.h"
#include "TestMedia.h"

#include "core/info/PlaylistSummary.h"
#include "media/MediaSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

class Summary : public ::testing::Test {
protected:
    QString song(const QString& name, int lengthMs) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(vorlo::testing::writeMidiSong(path, lengthMs));
        return path;
    }
    // Lets the job's queued reports arrive until it has finished.
    static bool waitForEnd(QSignalSpy& finished) {
        for (int round = 0; round < 2000 && finished.isEmpty(); ++round) finished.wait(50);
        return !finished.isEmpty();
    }

    QTemporaryDir dir_;
};

TEST_F(Summary, RowsAndTotalCutToWholeSecondsAndTheHeaderNamesTheList) {
    const QString first = song("first.mid", 187'000);
    const QString second = song("second.mid", 60'900);
    EntryLengths lengths({}, {});
    std::vector<SummaryRow> rows{{first, lengths.measure(first)}, {second, lengths.measure(second)}};
    ASSERT_TRUE(rows[0].lengthMs && rows[1].lengthMs);

    const QStringList report = SummaryReport::lines(QStringLiteral("/lists/evening.mpl"), rows);
    const QStringList expected{
        QStringLiteral("Summary of PlayList /lists/evening.mpl"),
        QStringLiteral("Total files in this playlist:  2"),
        QStringLiteral("Total Play Time regardless wait time and file open delay:  00:04:07"),
        QString(),
        QStringLiteral("File List:"),
        QStringLiteral("NO\tTime\tPath and Name"),
        QStringLiteral("1\t03:07\t") + first,
        QStringLiteral("2\t01:00\t") + second,
    };
    EXPECT_EQ(report, expected);
    EXPECT_EQ(SummaryReport::lines({}, {}).first(), QStringLiteral("Summary of Untitled PlayList"));
}

TEST_F(Summary, LongTimesGrowPastTwoDigitsAndHoursAreNotPadded) {
    EXPECT_EQ(SummaryReport::lengthText(100 * 60'000), QStringLiteral("100:00"));
    EXPECT_EQ(SummaryReport::lengthText(125 * 60'000 + 59'999), QStringLiteral("125:59"));
    EXPECT_EQ(SummaryReport::lengthText(999), QStringLiteral("00:00"));
    EXPECT_EQ(SummaryReport::totalText(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(SummaryReport::totalText(3600 + 5 * 60), QStringLiteral("1:05:00"));
    EXPECT_EQ(SummaryReport::totalText(101 * 3600 + 9), QStringLiteral("101:00:09"));
    // The total adds whole seconds per entry: two entries of 1.9 s make 2 s, not 3.
    const std::vector<SummaryRow> rows{
        {QStringLiteral("a"), 1900}, {QStringLiteral("b"), 1900}, {QStringLiteral("c"), {}}};
    const QStringList report = SummaryReport::lines({}, rows);
    EXPECT_EQ(report[1], QStringLiteral("Total files in this playlist:  3"));  // errors count as files
    EXPECT_TRUE(report[2].endsWith(QStringLiteral("00:00:02")));
    EXPECT_EQ(report.last(), QStringLiteral("3\tError!\tc"));
}

TEST_F(Summary, FailuresGiveErrorRowsAndTheEntriesAfterThemAreStillMeasured) {
    const QString disc = vorlo::testing::writeDiscImage(dir_);
    const QString midi = song("before.mid", 1500);
    QFile::copy(midi, dir_.filePath(QStringLiteral("karaoke.kar")));
    const QString karaoke = dir_.filePath(QStringLiteral("karaoke.kar"));
    const QString after = song("after.mid", 2500);
    QFile text(dir_.filePath(QStringLiteral("notes.mid")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a song");
    text.close();

    EntryLengths lengths(QFile::encodeName(disc).toStdString(), {});
    EXPECT_FALSE(lengths.measure(dir_.filePath(QStringLiteral("missing.mid"))));
    EXPECT_FALSE(lengths.measure(text.fileName()));
    EXPECT_FALSE(lengths.measure(QStringLiteral("/cd/Track09.cda")));   // the disc has two tracks
    EXPECT_FALSE(lengths.measure(QStringLiteral("/cd/TrackTwo.cda")));  // no number
    EXPECT_FALSE(lengths.measure(dir_.filePath(QStringLiteral("folder.wav"))));
    EXPECT_FALSE(lengths.measure(dir_.path()));
    EXPECT_EQ(lengths.measure(karaoke), 1500);
    EXPECT_EQ(lengths.measure(QStringLiteral("/cd/Track02.cda")), 360);
    EXPECT_EQ(lengths.measure(after), 2500);

    // Without a disc every CD row fails, and the MIDI files after them do not.
    EntryLengths noDisc(QFile::encodeName(dir_.filePath(QStringLiteral("none.cue"))).toStdString(), {});
    EXPECT_FALSE(noDisc.measure(QStringLiteral("/cd/Track01.cda")));
    EXPECT_EQ(noDisc.measure(karaoke), 1500);
    EXPECT_EQ(EntryLengths::cdTrackNumber(QStringLiteral("/music/Track03.cda")), 3);
}

TEST_F(Summary, LengthsFromTheFilesEqualTheDevicesForMidiWaveAndDiscTracks) {
    const QString disc = vorlo::testing::writeDiscImage(dir_);
    const QString midi = song("odd.mid", 4321);
    const QString wave = dir_.filePath(QStringLiteral("odd.wav"));
    ASSERT_TRUE(
        vorlo::testing::writeWave(wave, 0x0002 /* PCM 16 */, 2, 22050, 22050 * 3 + 1234, vorlo::testing::testTone));
    const QString wave8k = dir_.filePath(QStringLiteral("odd8k.wav"));
    ASSERT_TRUE(vorlo::testing::writeWave(wave8k, 0x0002, 1, 8000, 8007, vorlo::testing::testTone));

    media::MIDIPlayer device(vorlo::testing::offlineSettings(disc));
    EntryLengths lengths(media::resolvedCdDevice(device.settings()), {});
    for (const QString& path : {midi, wave, wave8k}) {
        device.setDeviceType(media::MIDIPlayer::deviceTypeForPath(path));
        device.setFileName(path);
        device.open();
        device.setTimeFormat(media::TimeFormat::Milliseconds);
        EXPECT_EQ(lengths.measure(path), device.length()) << path.toStdString();
        device.close();
    }
    device.setDeviceType(media::DeviceType::CDAudio);
    device.setFileName({});
    device.open();
    device.setTimeFormat(media::TimeFormat::Milliseconds);
    ASSERT_EQ(device.trackCount(), 2);
    for (int track = 1; track <= 2; ++track)
        EXPECT_EQ(lengths.measure(QStringLiteral("/cd/Track0%1.cda").arg(track)), device.trackLength(track));
}

TEST_F(Summary, AJobMeasuresOnItsOwnThreadAndCancelLeavesThePlayingSongAlone) {
    test::CoreRig rig;
    const QString playing = song("playing.mid", 5000);
    rig.fill({playing});
    rig.engine().entriesArrived();
    rig.engine().SpdBtnPlayClick();
    vorlo::testing::runFor(rig.device(), 700);
    ASSERT_EQ(rig.device().mode(), media::Mode::Playing);
    const std::int64_t position = rig.device().position();

    QStringList paths;
    for (int index = 0; index < 200; ++index) paths << song(QStringLiteral("s%1.mid").arg(index), 1000 + index);
    const QString video = dir_.filePath(QStringLiteral("clip.avi"));
    paths.insert(1, video);
    QThread* probedOn = nullptr;
    SummaryJob job({}, [&](const QString& path) -> std::optional<std::int64_t> {
        probedOn = QThread::currentThread();
        return path == video ? std::optional<std::int64_t>(777) : std::nullopt;
    });
    QSignalSpy finished(&job, &SummaryJob::finished);
    QSignalSpy progress(&job, &SummaryJob::progress);
    ASSERT_TRUE(job.start(paths));
    EXPECT_FALSE(job.start(paths));
    ASSERT_TRUE(waitForEnd(finished));
    EXPECT_FALSE(finished.first().at(0).toBool());
    ASSERT_EQ(job.rows().size(), static_cast<std::size_t>(paths.size()));
    EXPECT_EQ(job.rows()[1].lengthMs, 777);  // the video went through the probe, on this thread
    EXPECT_EQ(probedOn, QThread::currentThread());
    EXPECT_EQ(job.rows()[200].lengthMs, EntryLengths({}, {}).measure(paths[200]));
    EXPECT_GT(job.rows()[200].lengthMs, job.rows()[199].lengthMs);
    EXPECT_EQ(progress.size(), paths.size());
    EXPECT_EQ(progress.last().at(0).toInt(), paths.size() - 1);

    // A cancel stops the run early; the song plays on where it was, untouched.
    finished.clear();
    ASSERT_TRUE(job.start(paths));
    job.cancel();
    ASSERT_TRUE(waitForEnd(finished));
    EXPECT_TRUE(finished.first().at(0).toBool());
    EXPECT_LT(job.rows().size(), static_cast<std::size_t>(paths.size()));
    EXPECT_EQ(rig.device().mode(), media::Mode::Playing);
    EXPECT_EQ(rig.device().position(), position);
    EXPECT_EQ(rig.state().openFile, playing);
}

}  // namespace
