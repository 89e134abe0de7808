// The real player process ended by the system (a logout's SIGTERM, Ctrl+C, a closed terminal) while its list
// has unsaved changes: it ends at once without a question, keeps the list for the next start, and saves its
// options.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QString programDir() { return QString::fromLocal8Bit(qgetenv("VORLO_PROGRAM_DIR")); }

QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

TEST(SignalEnd, TheSystemsSignalsEndThePlayerWithoutAQuestionAndKeepTheChangedList) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir().mkpath(dir.path() + "/config"));
        {
            QFile hive(dir.path() + "/config/HKEY_CURRENT_USER.reg");
            ASSERT_TRUE(hive.open(QIODevice::WriteOnly));
            hive.write(
                "MIDI Vorlo settings hive 1\n\n[SOFTWARE\\Brackwen\\MIDI Vorlo\\Options]\n"
                "\"AutoPlay\"=dword:00000000\n");
        }
        const QString song = dir.path() + "/song.mid";
        ASSERT_TRUE(QFile::copy(programDir() + "/A_Walk_to_Seashore.mid", song));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VORLO_CONFIG_DIR", dir.path() + "/config");
        env.insert("VORLO_RUNTIME_DIR", dir.path() + "/run");
        env.insert("TMPDIR", dir.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");

        QProcess player;
        player.setProcessEnvironment(env);
        player.start(programDir() + "/MIDI_Vorlo", {});
        ASSERT_TRUE(player.waitForStarted());
        // Ready for hand-overs once its socket is there; a second start made before would become the first.
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(dir.path() + "/run/midi-vorlo/MV_map"); }, 60000));
        // A second start hands a song over and returns once the player has added it: the list has changed.
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(programDir() + "/MIDI_Vorlo", {song});
        ASSERT_TRUE(second.waitForFinished(60000)) << player.readAllStandardError().constData();

        ::kill(static_cast<pid_t>(player.processId()), signalNumber);
        // A player that asks "Save list now?" never ends by itself here: nobody answers.
        const bool ended = player.waitForFinished(30000);
        if (!ended) {
            player.kill();
            player.waitForFinished();
        }
        ASSERT_TRUE(ended) << "the player did not end on the signal";
        EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(contents(dir.path() + "/config/Unsaved list.mpl"), (song + "\r\n").toUtf8());
        EXPECT_TRUE(contents(dir.path() + "/config/HKEY_CURRENT_USER.reg").contains("\"LastOne\"="));
    }
}

}  // namespace
