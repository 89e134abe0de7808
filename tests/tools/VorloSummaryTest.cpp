// `vorlo summary LIST.mpl` prints the player's summary report: every kind of entry measured, failures as
// "Error!" rows that do not stop the report, and an exit code that tells a script whether any entry failed.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>

#include "AviWriter.h"
#include "MediaFixtures.h"

namespace {

struct Summed {
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

Summed summary(const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("LSAN_OPTIONS", "suppressions=" VORLO_THIRD_PARTY_LEAKS);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VORLO_TOOL), QStringList{"summary"} + args);
    Summed summed;
    if (!process.waitForFinished(60000)) return summed;
    summed.exitCode = process.exitCode();
    summed.lines = QString::fromLocal8Bit(process.readAllStandardOutput()).split('\n');
    summed.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return summed;
}

void writeList(const QString& file, const QStringList& paths) {
    QFile list(file);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    for (const QString& path : paths) list.write(path.toLocal8Bit() + "\r\n");
}

TEST(VorloSummary, EveryKindOfEntryIsMeasuredAndAFailureIsARowOfItsOwn) {
    QTemporaryDir dir;
    const QString song = dir.filePath("long.mid");
    const QString wave = dir.filePath("tone.wav");
    const QString clip = dir.filePath("clip.avi");
    const QString track = dir.filePath("Track02.cda");
    const QString missing = dir.filePath("missing.mid");
    ASSERT_TRUE(vorlo::testing::writeMidiSong(song, 187'000));
    ASSERT_TRUE(vorlo::testing::writeWave(wave, SF_FORMAT_PCM_16, 1, 8000, 8000 * 61, vorlo::testing::testTone));
    ASSERT_TRUE(vorlo::testing::writeMjpegAvi(clip, vorlo::testing::AviClip{.frameCount = 50}));
    const QString cue = vorlo::testing::writeDiscImage(dir);
    const QString list = dir.filePath("all.mpl");
    writeList(list, {song, missing, wave, clip, track});

    const Summed summed = summary({"--cd", cue, list});
    EXPECT_EQ(summed.exitCode, 1) << summed.errors.toStdString();  // one entry failed
    const QStringList expected{"Summary of PlayList " + list,
                               "Total files in this playlist:  5",
                               "Total Play Time regardless wait time and file open delay:  00:04:10",
                               "",
                               "File List:",
                               "NO\tTime\tPath and Name",
                               "1\t03:07\t" + song,
                               "2\tError!\t" + missing,
                               "3\t01:01\t" + wave,
                               "4\t00:02\t" + clip,
                               "5\t00:00\t" + track,
                               ""};
    EXPECT_EQ(summed.lines, expected) << summed.errors.toStdString();

    writeList(list, {song});
    EXPECT_EQ(summary({list}).exitCode, 0);
    EXPECT_EQ(summary({dir.filePath("none.mpl")}).exitCode, 1);
    EXPECT_EQ(summary({}).exitCode, 2);
}

}  // namespace
