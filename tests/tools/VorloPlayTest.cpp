// `vorlo play` goes through the player's media device: each kind of medium plays for about its length and ends
// with the device's successful report, also on a machine with no sound card (the silent clock plays).
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <csignal>
#include <utility>

#include "ArchiveWriter.h"
#include "AviWriter.h"
#include "MediaFixtures.h"

namespace {

using vorlo::testing::AviClip;

struct Played {
    int exitCode = -1;
    QString out;
    qint64 elapsedMs = 0;
};

Played play(const QStringList& args, const QString& tempFolder = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("LSAN_OPTIONS", "suppressions=" VORLO_THIRD_PARTY_LEAKS);
    if (!tempFolder.isEmpty()) env.insert("TMPDIR", tempFolder);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(VORLO_TOOL), QStringList{"play", "--drivers", "none"} + args);
    Played played;
    if (!process.waitForFinished(60000)) return played;
    played.elapsedMs = clock.elapsed();
    played.exitCode = process.exitCode();
    played.out = QString::fromLocal8Bit(process.readAll());
    return played;
}

TEST(VorloPlay, AWaveFilePlaysItsTwoSecondsAndEndsSuccessfully) {
    QTemporaryDir dir;
    const QString wave = dir.filePath("two.wav");
    ASSERT_TRUE(vorlo::testing::writeWave(wave, SF_FORMAT_PCM_16, 2, 22050, 44100, vorlo::testing::testTone));
    const Played played = play({wave});
    EXPECT_EQ(played.exitCode, 0) << played.out.toStdString();
    EXPECT_TRUE(played.out.contains("playing\t0:02\t" + wave + "\n")) << played.out.toStdString();
    EXPECT_TRUE(played.out.contains("ended\tsuccessful\t" + wave + "\n")) << played.out.toStdString();
    EXPECT_GE(played.elapsedMs, 1800);  // it really played, at the pace of the music
}

TEST(VorloPlay, APortThatCannotBeOpenedFailsTheSongWithItsAddressAndNoWait) {
    QTemporaryDir dir;
    const QString song = dir.filePath("s.mid");
    ASSERT_TRUE(vorlo::testing::writeMidiSong(song, 3000));
    // No such port on any machine (client 250 is not given out below 192 clients), and none at all here.
    for (const char* port : {"250:7", "synth"}) {
        const Played played = play({"--port", port, song});
        EXPECT_NE(played.exitCode, 0) << played.out.toStdString();
        EXPECT_TRUE(played.out.contains(port)) << played.out.toStdString();
        EXPECT_FALSE(played.out.contains("ended\tsuccessful")) << played.out.toStdString();
        EXPECT_LT(played.elapsedMs, 2500);  // refused, not played silently to the end
    }
}

std::string bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

TEST(VorloPlay, AnArchivePlaysItsMembersInOrderEachExtractedOnlyWhileItPlays) {
    QTemporaryDir dir;
    const QString wave = dir.filePath("w.wav");
    const QString song = dir.filePath("s.mid");
    ASSERT_TRUE(vorlo::testing::writeWave(wave, SF_FORMAT_PCM_16, 1, 8000, 4000, vorlo::testing::testTone));
    ASSERT_TRUE(vorlo::testing::writeMidiSong(song, 400));
    const QString archive = dir.filePath("pack.zip");
    ASSERT_TRUE(vorlo::test::writeArchive(
        archive.toStdString(),
        {vorlo::test::fileMember("b/second.wav", bytesOf(wave)), vorlo::test::fileMember("notes.txt", "not played"),
         vorlo::test::fileMember("a/first.mid", bytesOf(song))}));
    ASSERT_TRUE(QDir(dir.path()).mkdir("tmp"));
    const Played played = play({archive}, dir.filePath("tmp"));
    EXPECT_EQ(played.exitCode, 0) << played.out.toStdString();
    const qsizetype second = played.out.indexOf("ended\tsuccessful\t" + archive + "/b/second.wav\n");
    const qsizetype first = played.out.indexOf("ended\tsuccessful\t" + archive + "/a/first.mid\n");
    EXPECT_GE(second, 0) << played.out.toStdString();
    EXPECT_GT(first, second) << played.out.toStdString();  // archive order
    EXPECT_FALSE(played.out.contains("notes.txt"));
    EXPECT_TRUE(QDir(dir.filePath("tmp")).isEmpty());
}

TEST(VorloPlay, TheLastSecondOfASampleSongFromAPosition) {
    const QString song = QStringLiteral(VORLO_PROGRAM_FOLDER "/A_Walk_to_Seashore.mid");
    QProcess length;
    length.start(QStringLiteral(VORLO_TOOL), {"length", song});
    ASSERT_TRUE(length.waitForFinished(10000));
    const long long ms = QString::fromLocal8Bit(length.readAll()).section('\t', 0, 0).toLongLong();
    ASSERT_GT(ms, 10000);
    const Played played = play({"--from", QString::number(ms - 1000), song});
    EXPECT_EQ(played.exitCode, 0) << played.out.toStdString();
    EXPECT_TRUE(played.out.contains("playing\t0:01\t" + song + "\n")) << played.out.toStdString();
    EXPECT_TRUE(played.out.contains("ended\tsuccessful\t" + song + "\n"));
    EXPECT_GE(played.elapsedMs, 800);
}

// A start after the end can never end by itself: it is a usage error, said at once.
TEST(VorloPlay, AStartAfterTheEndIsAClearError) {
    const QString song = QStringLiteral(VORLO_PROGRAM_FOLDER "/A_Walk_to_Seashore.mid");
    const Played played = play({"--from", "3000", "--to", "1000", song});
    EXPECT_EQ(played.exitCode, 2) << played.out.toStdString();
    EXPECT_TRUE(played.out.contains("vorlo: --from 3000 is after --to 1000\n")) << played.out.toStdString();
    EXPECT_FALSE(played.out.contains("playing\t"));

    // Beyond the end of the song, both positions come to its end: the play ends as soon as it starts.
    const Played beyond = play({"--from", "900000", "--to", "990000", song});
    EXPECT_EQ(beyond.exitCode, 0) << beyond.out.toStdString();
    EXPECT_TRUE(beyond.out.contains("ended\tsuccessful\t" + song + "\n")) << beyond.out.toStdString();
}

bool catchesSigterm(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:")) return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

// A medium that never arrives stalls its opening: SIGTERM or SIGHUP (a closed terminal) still ends the program, and
// so does a second signal at once. Songs, lists and archives named on a FIFO are refused at once now; a CD image
// that is a named pipe nobody writes still holds the disc reader's open, and stands in for a stalled medium here.
TEST(VorloPlay, ASignalEndsTheProgramEvenWhenThePlayStalls) {
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("stalled.cue"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    for (const auto& [signal, signalCount] : {std::pair{SIGTERM, 1}, std::pair{SIGTERM, 2}, std::pair{SIGHUP, 1}}) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(VORLO_TOOL),
                      {"play", "--drivers", "none", "--cd", QString::fromLocal8Bit(fifo), dir.filePath("Track01.cda")});
        ASSERT_TRUE(process.waitForStarted());
        // Once it catches SIGTERM it is on its way to the pipe, where it blocks.
        for (int i = 0; i < 3000 && !catchesSigterm(process.processId()); ++i) QThread::msleep(10);
        ASSERT_TRUE(catchesSigterm(process.processId()));
        for (int i = 0; i < signalCount; ++i) ::kill(static_cast<pid_t>(process.processId()), signal);
        const bool ended = process.waitForFinished(30000);
        if (!ended) process.kill();
        ASSERT_TRUE(ended) << signalCount << " signal(s) " << signal << ": the program did not end";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 130) << process.readAll().toStdString();
    }
}

TEST(VorloPlay, AVideoClipAndACdTrackOfADiscImage) {
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.avi");
    ASSERT_TRUE(vorlo::testing::writeMjpegAvi(clip, AviClip{.audioSampleRate = 8000}));
    const Played video = play({clip});
    EXPECT_EQ(video.exitCode, 0) << video.out.toStdString();
    EXPECT_TRUE(video.out.contains("ended\tsuccessful\t" + clip + "\n")) << video.out.toStdString();

    const QString cue = vorlo::testing::writeDiscImage(dir);
    const Played track = play({"--cd", cue, dir.filePath("Track02.cda")});
    EXPECT_EQ(track.exitCode, 0) << track.out.toStdString();
    EXPECT_TRUE(track.out.contains("playing\t0:00\t" + dir.filePath("Track02.cda") + "\n")) << track.out.toStdString();
    EXPECT_TRUE(track.out.contains("ended\tsuccessful\t")) << track.out.toStdString();
    EXPECT_GE(track.elapsedMs, 300);  // track 2 lasts 360 ms

    const Played missing = play({"--cd", cue, dir.filePath("Track07.cda")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.contains("The disc has no track 7.")) << missing.out.toStdString();
}

}  // namespace
