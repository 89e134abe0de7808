#include "os/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace vorlo;

namespace {

TEST(TempFolderTest, CreatesAPrivateFolderAndRemovesItOnlyWhenEmpty) {
    QTemporaryDir system;
    const QString path = TempFolder::pathFor(system.path());
    EXPECT_TRUE(path.startsWith(system.path() + "/mvtemp-"));
    EXPECT_EQ(TempFolder::prepare(path), QString());
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    QFile member(path + "/song.mid");
    ASSERT_TRUE(member.open(QIODevice::WriteOnly));
    member.close();
    EXPECT_FALSE(TempFolder::remove(path));
    EXPECT_TRUE(QFileInfo::exists(path));
    QFile::remove(path + "/song.mid");
    EXPECT_TRUE(TempFolder::remove(path));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(TempFolderTest, AnExistingFolderLosesTheOneFileALastRunLeft) {
    QTemporaryDir system;
    const QString path = TempFolder::pathFor(system.path());
    ASSERT_TRUE(QDir().mkdir(path));
    ::chmod(QFile::encodeName(path).constData(), 0755);  // too open: narrowed
    for (const char* name : {"a.mid", "b.mid"}) {
        QFile f(path + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(TempFolder::prepare(path), QString());
    EXPECT_EQ(QDir(path).entryList(QDir::Files), QStringList{"b.mid"});
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(TempFolderTest, RefusesAPlantedLinkAndLeavesItsTargetAlone) {
    QTemporaryDir system;
    QTemporaryDir victim;
    QFile precious(victim.path() + "/precious.txt");
    ASSERT_TRUE(precious.open(QIODevice::WriteOnly));
    precious.write("keep me");
    precious.close();
    const QString path = TempFolder::pathFor(system.path());
    ASSERT_TRUE(QFile::link(victim.path(), path));
    const QString refused = TempFolder::prepare(path);
    EXPECT_NE(refused.indexOf("symbolic link"), -1) << refused.toStdString();
    EXPECT_TRUE(QFileInfo::exists(victim.path() + "/precious.txt"));
}

TEST(TempFolderTest, RefusesAFileInThePlaceOfTheFolder) {
    QTemporaryDir system;
    const QString path = TempFolder::pathFor(system.path());
    QFile planted(path);
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.close();
    EXPECT_NE(TempFolder::prepare(path), QString());
}

}  // namespace

namespace {

TEST(TempFolderTest, TheCleanUpRemovesOnlyPlainFilesTheGivenRuleClaims) {
    QTemporaryDir system;
    QTemporaryDir elsewhere;
    const QString path = TempFolder::pathFor(system.path());
    ASSERT_TRUE(QDir().mkpath(path + "/kept-folder.mid"));
    for (const char* name : {"left.mid", "partial.part", "notes.txt"}) {
        QFile f(path + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile target(elsewhere.path() + "/target.mid");
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.close();
    ASSERT_TRUE(QFile::link(target.fileName(), path + "/link.mid"));
    const auto ours = [](const QString& name) { return name.endsWith(".mid") || name.endsWith(".part"); };
    EXPECT_EQ(TempFolder::prepare(path, ours), QString());
    EXPECT_EQ(QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name),
              (QStringList{"kept-folder.mid", "link.mid", "notes.txt"}));
    EXPECT_TRUE(QFileInfo::exists(target.fileName()));
}

}  // namespace
