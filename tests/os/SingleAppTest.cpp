#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

TEST_F(SingleAppTest, TheRuntimeFolderIsPrivate) {
    startFirst();
    const QFile::Permissions perms = QFile::permissions(dir_.path() + "/run");
    EXPECT_FALSE(perms & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                          QFile::WriteOther | QFile::ExeOther));
}

}  // namespace
