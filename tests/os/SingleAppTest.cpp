#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstring>

namespace {

class SingleAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("VORLO_RUNTIME_DIR", dir_.path() + "/run");
        out_ = dir_.path() + "/received.txt";
    }
    void TearDown() override {
        if (first_.state() != QProcess::NotRunning) {
            first_.kill();
            first_.waitForFinished();
        }
    }
    // The probe is built beside this test program.
    static QString probe() {
        return QFileInfo(QFile::symLinkTarget("/proc/self/exe")).absolutePath() + "/singleapp_probe";
    }
    void startFirst() {
        first_.setProcessEnvironment(env_);
        first_.start(probe(), {"first", out_});
        ASSERT_TRUE(first_.waitForStarted());
        ASSERT_TRUE(first_.waitForReadyRead(10000));
        ASSERT_EQ(first_.readLine().trimmed(), "READY");
    }
    int runSecond(const QStringList& args) {
        QProcess second;
        second.setProcessEnvironment(env_);
        second.start(probe(), QStringList{"second"} + args);
        EXPECT_TRUE(second.waitForFinished(15000));
        return second.exitCode();
    }
    QByteArray received() {
        QFile file(out_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir_;
    QProcessEnvironment env_;
    QString out_;
    QProcess first_;
};

TEST_F(SingleAppTest, ASecondStartHandsItsCommandLineToTheFirstAndWaitsForIt) {
    startFirst();
    EXPECT_EQ(runSecond({"/play", "/close", "/music/My", "Song.mid"}), 0);
    // The second start returned only after the first had handled the block.
    EXPECT_EQ(received(), "/play /close /music/My Song.mid\n");
    EXPECT_EQ(runSecond({"quit"}), 0);
    EXPECT_TRUE(first_.waitForFinished(10000));
}

TEST_F(SingleAppTest, AnEmptyOrOverlongTailIsNotSent) {
    startFirst();
    EXPECT_EQ(runSecond({}), 5);
    EXPECT_EQ(runSecond({QString(259, 'x')}), 0);
    EXPECT_EQ(runSecond({QString(260, 'y')}), 5);
    EXPECT_EQ(runSecond({"quit"}), 0);
    EXPECT_TRUE(first_.waitForFinished(10000));
    EXPECT_EQ(received(), QByteArray(259, 'x') + "\nquit\n");
}

TEST_F(SingleAppTest, AStartAfterTheFirstPlayerDiedBecomesTheFirst) {
    startFirst();
    first_.kill();
    first_.waitForFinished();
    // The dead player's socket file is still there; the lock is not.
    EXPECT_EQ(runSecond({"file.mid"}), 4);
}

// The folder VORLO_RUNTIME_DIR names keeps the mode its owner gave it; the player's own folder inside is private.
TEST_F(SingleAppTest, TheRuntimeFolderIsPrivateAndTheGivenFolderKeepsItsMode) {
    ASSERT_TRUE(QDir().mkpath(dir_.path() + "/run"));
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.path() + "/run").constData(), 0755), 0);
    startFirst();
    struct stat given {};
    ASSERT_EQ(::stat(QFile::encodeName(dir_.path() + "/run").constData(), &given), 0);
    EXPECT_EQ(given.st_mode & 0777, 0755u);
    struct stat own {};
    ASSERT_EQ(::stat(QFile::encodeName(dir_.path() + "/run/midi-vorlo").constData(), &own), 0);
    EXPECT_EQ(own.st_mode & 0777, 0700u);
}

// Without a session runtime folder the player does not use a guessable name in the shared temporary folder,
// which another user can take first: a folder planted there does not keep it from starting.
TEST_F(SingleAppTest, APlantedFolderOfAnotherUserInTheTemporaryFolderDoesNotStopTheStart) {
    const QString tmp = dir_.path() + "/tmp";
    const QString home = dir_.path() + "/home";
    ASSERT_TRUE(QDir().mkpath(tmp) && QDir().mkpath(home));
    const QString planted = tmp + QString("/midi-vorlo-%1").arg(::geteuid());
    ASSERT_TRUE(QDir().mkpath(planted));
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(planted).constData(), 65534, 65534), 0);
    }
    env_.remove("VORLO_RUNTIME_DIR");
    env_.remove("XDG_RUNTIME_DIR");
    env_.insert("TMPDIR", tmp);
    env_.insert("HOME", home);
    startFirst();
    EXPECT_EQ(runSecond({"quit"}), 0);
    EXPECT_TRUE(first_.waitForFinished(10000));
    EXPECT_EQ(received(), "quit\n");
    // The folder is the user's own, under the home.
    EXPECT_FALSE(QDir(home + "/.cache/midi-vorlo").entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

// A second start in another folder hands over the file it means, not the first player's file of that name.
TEST_F(SingleAppTest, ARelativeNameIsHandedOverAbsoluteAgainstTheSecondStartsFolder) {
    const QString here = dir_.path() + "/second-start";
    ASSERT_TRUE(QDir().mkpath(here));
    QFile song(here + "/song.mid");
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.close();
    startFirst();
    QProcess second;
    second.setProcessEnvironment(env_);
    second.setWorkingDirectory(here);
    for (const QStringList& args :
         {QStringList{"song.mid"}, QStringList{"/play", "/close", "song.mid"}, QStringList{"absent.mid"}}) {
        second.start(probe(), QStringList{"second"} + args);
        ASSERT_TRUE(second.waitForFinished(15000));
        EXPECT_EQ(second.exitCode(), 0);
    }
    EXPECT_EQ(runSecond({"quit"}), 0);
    EXPECT_TRUE(first_.waitForFinished(10000));
    // A name that is not there stays bare: the first player looks for it in its program folder.
    EXPECT_EQ(received(), (here + "/song.mid\n/play /close " + here + "/song.mid\nabsent.mid\nquit\n").toUtf8());
}

// A connection that sends nothing is dropped after a while, and the player takes the next one.
TEST_F(SingleAppTest, AnIdleConnectionIsDropped) {
    startFirst();
    const QByteArray socketPath = QFile::encodeName(dir_.path() + "/run/midi-vorlo/MV_map");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.constData(), static_cast<std::size_t>(socketPath.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    pollfd waiting{fd, POLLIN, 0};
    // Generous: the drop comes after a few seconds; a player that never drops it fails here.
    ASSERT_EQ(::poll(&waiting, 1, 30000), 1) << "the idle connection was kept";
    char byte = 0;
    EXPECT_LE(::recv(fd, &byte, 1, 0), 0);  // closed by the player, nothing sent
    ::close(fd);
    EXPECT_EQ(runSecond({"quit"}), 0);
    EXPECT_TRUE(first_.waitForFinished(10000));
}

}  // namespace
