#include "os/Registry.h"
#include "os/SafeSave.h"

#include "SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

using namespace vorlo;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        qputenv("VORLO_CONFIG_DIR", QFile::encodeName(dir_.path() + QStringLiteral("/config")));
    }
    void TearDown() override { qunsetenv("VORLO_CONFIG_DIR"); }
    QByteArray hiveBytes(RegistryRoot root = RegistryRoot::CurrentUser) {
        QFile file(Registry::hiveFile(root));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir_;
};

TEST_F(RegistryTest, ValuesSurviveANewRegistryObjectWithTheirTypes) {
    {
        Registry reg;
        ASSERT_FALSE(reg.openKey("\\SOFTWARE\\Brackwen\\MIDI Vorlo", false));
        ASSERT_TRUE(reg.openKey("\\SOFTWARE\\Brackwen\\MIDI Vorlo", true));
        reg.writeString("", "MIDI Vorlo Configuration Key");
        ASSERT_TRUE(reg.openKey("Options", true));  // relative to the open key
        reg.writeInteger("Top", -40);
        reg.writeBool("AutoPlay", true);
        reg.writeString("AutoLoadList", "/home/a \"b\"\\c\nd/Käse.mpl");
    }
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly("\\software\\brackwen\\midi vorlo"));  // names ignore case
    EXPECT_EQ(reg.readString(""), "MIDI Vorlo Configuration Key");
    EXPECT_EQ(reg.subKeyNames(), QStringList{"Options"});
    ASSERT_TRUE(reg.openKeyReadOnly("\\SOFTWARE\\Brackwen\\MIDI Vorlo\\Options"));
    EXPECT_EQ(reg.readInteger("top"), -40);
    EXPECT_TRUE(reg.readBool("AutoPlay"));
    EXPECT_EQ(reg.readString("AutoLoadList"), "/home/a \"b\"\\c\nd/Käse.mpl");
    EXPECT_EQ(reg.valueType("Top"), RegistryValue::Type::DWord);
    EXPECT_EQ(reg.valueType("AutoLoadList"), RegistryValue::Type::String);
    EXPECT_FALSE(reg.valueExists("Left"));
    EXPECT_THROW(reg.readString("Top"), RegistryError);    // wrong type
    EXPECT_THROW(reg.readInteger("Left"), RegistryError);  // missing
    // The hive is a text file a person can read.
    EXPECT_TRUE(hiveBytes().contains("\"Top\"=dword:ffffffd8"));
    EXPECT_TRUE(hiveBytes().contains("@=\"MIDI Vorlo Configuration Key\""));
}

TEST_F(RegistryTest, DeletesValuesAndWholeKeysButNothingElse) {
    Registry reg;
    ASSERT_TRUE(reg.openKey("\\A\\B\\C", true));
    reg.writeInteger("x", 1);
    ASSERT_TRUE(reg.openKey("\\A\\Bee", true));
    reg.writeInteger("y", 2);
    reg.writeInteger("z", 3);
    EXPECT_TRUE(reg.deleteValue("z"));
    EXPECT_FALSE(reg.deleteValue("z"));
    EXPECT_FALSE(reg.valueExists("z"));
    EXPECT_TRUE(reg.deleteKey("\\A\\B"));
    EXPECT_FALSE(reg.keyExists("\\A\\B\\C"));
    EXPECT_FALSE(reg.keyExists("\\A\\B"));
    EXPECT_TRUE(reg.keyExists("\\A\\Bee"));  // a key whose name merely starts alike stays
    EXPECT_FALSE(reg.deleteKey("\\A\\B"));
    Registry other;
    ASSERT_TRUE(other.openKeyReadOnly("\\A\\Bee"));
    EXPECT_EQ(other.readInteger("y"), 2);
}

TEST_F(RegistryTest, RootsAreSeparateFiles) {
    Registry user(RegistryRoot::CurrentUser);
    Registry classes(RegistryRoot::ClassesRoot);
    ASSERT_TRUE(classes.openKey("\\.mpl", true));
    classes.writeString("", "MIDI Vorlo MPL File");
    EXPECT_FALSE(user.keyExists("\\.mpl"));
    EXPECT_TRUE(QFile::exists(Registry::hiveFile(RegistryRoot::ClassesRoot)));
    EXPECT_FALSE(QFile::exists(Registry::hiveFile(RegistryRoot::LocalMachine)));
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNoValue) {
    constexpr int kPerProcess = 60;
    {
        Registry reg;
        ASSERT_TRUE(reg.openKey("\\Shared", true));
    }
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = ::fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            int status = 0;
            try {
                Registry reg;
                reg.openKey("\\Shared", false);
                for (int i = 0; i < kPerProcess; ++i) reg.writeInteger(QStringLiteral("p%1_%2").arg(p).arg(i), i);
            } catch (...) {
                status = 1;
            }
            ::_exit(status);
        }
    }
    for (pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly("\\Shared"));
    EXPECT_EQ(reg.valueNames().size(), 2 * kPerProcess);
    for (int p = 0; p < 2; ++p)
        for (int i = 0; i < kPerProcess; ++i) EXPECT_EQ(reg.readInteger(QStringLiteral("p%1_%2").arg(p).arg(i)), i);
}

TEST_F(RegistryTest, ADamagedHiveIsRefusedAndNeverOverwritten) {
    {
        Registry reg;
        ASSERT_TRUE(reg.openKey("\\Keep", true));
        reg.writeString("precious", "value");
    }
    // Cut the file in the middle of a value, as a full disk or a bad editor might.
    QByteArray damaged = hiveBytes();
    damaged.chop(5);
    {
        QFile file(Registry::hiveFile(RegistryRoot::CurrentUser));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    Registry reg;
    try {
        reg.openKey("\\Keep", false);
        FAIL() << "a damaged hive was read";
    } catch (const RegistryError& e) {
        EXPECT_NE(QString::fromStdString(e.what()).indexOf("damaged"), -1) << e.what();
    }
    EXPECT_THROW(reg.openKey("\\Other", true), RegistryError);
    EXPECT_THROW(reg.deleteKey("\\Keep"), RegistryError);
    EXPECT_EQ(hiveBytes(), damaged);
}

TEST_F(RegistryTest, RejectsFilesThatAreNotHives) {
    QDir().mkpath(Registry::folder());
    for (const QByteArray& text : {QByteArray("garbage"), QByteArray("MIDI Vorlo settings hive 1\n\"v\"=1\n"),
                                   QByteArray("MIDI Vorlo settings hive 1\n[K]\n\"v\"=dword:1\n"),
                                   QByteArray("MIDI Vorlo settings hive 1\n[K]\n\"v\"=\"open\n")}) {
        QFile file(Registry::hiveFile(RegistryRoot::CurrentUser));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        Registry reg;
        EXPECT_THROW(reg.openKey("\\K", false), RegistryError) << text.constData();
    }
}

TEST_F(RegistryTest, ABatchWritesItsValuesTogetherOrNotAtAll) {
    Registry reg;
    ASSERT_TRUE(reg.openKey("\\App", true));
    reg.writeInteger("old", 1);
    RegistryBatch batch;
    batch.writeString("\\App", "", "Configuration");
    batch.writeInteger("Options", "Skip", -5);  // relative to the open key
    batch.writeBool("\\App\\Options", "On", true);
    reg.write(batch);
    Registry other;
    ASSERT_TRUE(other.openKeyReadOnly("\\App"));
    EXPECT_EQ(other.readString(""), "Configuration");
    EXPECT_EQ(other.readInteger("old"), 1);
    ASSERT_TRUE(other.openKeyReadOnly("\\App\\Options"));
    EXPECT_EQ(other.readInteger("Skip"), -5);
    EXPECT_TRUE(other.readBool("On"));

    QByteArray damaged = hiveBytes();
    damaged.replace("\"On\"=dword:00000001", "\"On\"=dword:");
    {
        QFile file(Registry::hiveFile(RegistryRoot::CurrentUser));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
    }
    RegistryBatch refused;
    refused.writeInteger("\\App", "new", 2);
    EXPECT_THROW(reg.write(refused), RegistryError);
    EXPECT_EQ(hiveBytes(), damaged);
}

TEST_F(RegistryTest, ADamagedHiveIsSetAsideUnderAFreeNameAndAGoodOneStays) {
    EXPECT_EQ(Registry::setAsideDamaged(RegistryRoot::CurrentUser), QString());  // no file at all
    {
        Registry reg;
        ASSERT_TRUE(reg.openKey("\\Good", true));
    }
    const QByteArray good = hiveBytes();
    EXPECT_EQ(Registry::setAsideDamaged(RegistryRoot::CurrentUser), QString());
    EXPECT_EQ(hiveBytes(), good);

    const QString hive = Registry::hiveFile(RegistryRoot::CurrentUser);
    // A name already taken, even by a dangling link, is never overwritten.
    ASSERT_TRUE(QFile::link(dir_.path() + "/nowhere", hive + ".damaged"));
    for (const QByteArray& text : {QByteArray("first"), QByteArray("second")}) {
        QFile file(hive);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        const QString kept = Registry::setAsideDamaged(RegistryRoot::CurrentUser);
        EXPECT_EQ(kept, hive + (text == "first" ? ".damaged-2" : ".damaged-3"));
        QFile moved(kept);
        ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
        EXPECT_EQ(moved.readAll(), text);
        EXPECT_FALSE(QFile::exists(hive));
    }
    EXPECT_TRUE(QFileInfo(hive + ".damaged").isSymLink());
}

}  // namespace

namespace {

// A failed save (a full disk, a hive that is a link) keeps every old value and names the cause; an empty hive
// file, as a full disk used to leave behind, is a fresh start rather than a damaged file.
class RegistrySaveTest : public RegistryTest {
protected:
    void TearDown() override {
        SafeSave::failWritesAfter(-1, 0);
        RegistryTest::TearDown();
    }
    static void writeOld() {
        Registry reg;
        ASSERT_TRUE(reg.openKey("\\App", true));
        reg.writeString("Name", "old");
    }
    static QString failureOf(const QString& value) {
        Registry reg;
        if (!reg.openKey("\\App", false)) return "no key";
        try {
            reg.writeString("Name", value);
            return "saved";
        } catch (const RegistryError& error) {
            return QString::fromStdString(error.what());
        }
    }
};

TEST_F(RegistrySaveTest, AFullDiskKeepsTheOldHive) {
    writeOld();
    const QByteArray before = hiveBytes();
    SafeSave::failWritesAfter(20, ENOSPC);
    EXPECT_TRUE(failureOf("new").endsWith(QString::fromLocal8Bit(std::strerror(ENOSPC))));
    EXPECT_EQ(hiveBytes(), before);

    SafeSave::failWritesAfter(-1, 0);
    test::SmallDisk disk(64 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << qPrintable(disk.reason());
    qputenv("VORLO_CONFIG_DIR", QFile::encodeName(disk.path() + "/config"));
    writeOld();
    disk.fill();
    EXPECT_TRUE(failureOf(QString(30000, 'n')).contains(QString::fromLocal8Bit(std::strerror(ENOSPC))));
    EXPECT_EQ(hiveBytes(), before);
}

// Whatever the link leads to: a file that is not a hive (a copy of the password file), or one that is, which
// a save through the link would rewrite.
TEST_F(RegistrySaveTest, AHiveThatIsALinkIsNeverWrittenThroughIt) {
    QDir().mkpath(Registry::folder());
    for (const QByteArray& text :
         {QByteArray("root:x:0:0:root:/root:/bin/bash\n"), QByteArray("MIDI Vorlo settings hive 1\n")}) {
        const QString elsewhere = dir_.path() + "/elsewhere";
        {
            QFile file(elsewhere);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text);
        }
        QFile::remove(Registry::hiveFile(RegistryRoot::CurrentUser));
        ASSERT_TRUE(QFile::link(elsewhere, Registry::hiveFile(RegistryRoot::CurrentUser)));
        Registry reg;
        EXPECT_THROW(reg.openKey("\\App", true), RegistryError);
        QFile file(elsewhere);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), text);
        EXPECT_TRUE(QFileInfo(Registry::hiveFile(RegistryRoot::CurrentUser)).isSymLink());
    }
}

// The lock file beside the hive is opened with O_CREAT: through a link it would create or take any file the link
// names. A link there, dangling or not, is refused and left as it is.
TEST_F(RegistrySaveTest, AHiveLockThatIsALinkIsRefused) {
    QDir().mkpath(Registry::folder());
    const QString lockFile = Registry::hiveFile(RegistryRoot::CurrentUser) + ".lock";
    const QString existing = dir_.path() + "/existing";
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("kept");
    }
    const QString nowhere = dir_.path() + "/created-through-the-link";
    for (const QString& target : {existing, nowhere}) {
        QFile::remove(lockFile);
        ASSERT_TRUE(QFile::link(target, lockFile));
        Registry reg;
        try {
            reg.openKey("\\App", true);
            ADD_FAILURE() << "the lock was taken through a link to " << qPrintable(target);
        } catch (const RegistryError& error) {
            EXPECT_TRUE(QString::fromStdString(error.what()).endsWith(lockFile + " is a symbolic link."))
                << error.what();
        }
        EXPECT_TRUE(QFileInfo(lockFile).isSymLink());
        EXPECT_FALSE(QFileInfo::exists(Registry::hiveFile(RegistryRoot::CurrentUser)));
    }
    EXPECT_FALSE(QFileInfo::exists(nowhere));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "kept");
}

TEST_F(RegistrySaveTest, AnEmptyHiveIsAFreshStart) {
    QDir().mkpath(Registry::folder());
    QFile empty(Registry::hiveFile(RegistryRoot::CurrentUser));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_EQ(Registry::setAsideDamaged(RegistryRoot::CurrentUser), QString());
    writeOld();
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly("\\App"));
    EXPECT_EQ(reg.readString("Name"), "old");
}

// A change that decides on what the hive holds writes all of it or nothing.
TEST_F(RegistryTest, AChangeIsWrittenWholeOrNotAtAll) {
    Registry classes(RegistryRoot::ClassesRoot);
    classes.change([](RegistryHive& hive) {
        RegistryValue value;
        value.text = "midfile";
        RegistryHive::setValue(hive.createKey(".mid"), "", value);
        return true;
    });
    const QByteArray written = hiveBytes(RegistryRoot::ClassesRoot);
    EXPECT_TRUE(written.contains("midfile"));

    // Nothing changed: the file is not even replaced (a replacement is a new file).
    const auto fileId = [] {
        struct stat info {};
        EXPECT_EQ(::stat(QFile::encodeName(Registry::hiveFile(RegistryRoot::ClassesRoot)).constData(), &info), 0);
        return info.st_ino;
    };
    const ino_t before = fileId();
    classes.change([](RegistryHive& hive) { return hive.findKey(".wav") != nullptr; });
    EXPECT_EQ(fileId(), before);

    // A change that fails halfway leaves the first half unwritten.
    EXPECT_THROW(classes.change([](RegistryHive& hive) -> bool {
        hive.deleteKey(".mid");
        throw RegistryError("stopped");
    }),
                 RegistryError);
    EXPECT_EQ(hiveBytes(RegistryRoot::ClassesRoot), written);
}

}  // namespace
