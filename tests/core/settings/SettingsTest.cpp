#include "core/settings/Settings.h"
#include "os/Registry.h"
#include "os/RegistryHive.h"

#include "PlayerSandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace vorlo;

namespace {

class SettingsTest : public test::PlayerSandbox {
protected:
    void expectKeptBox(const QString& damage, const QString& kept) {
        boxes_.expect("Warning - Settings File",
                      QString("The settings file %1 is damaged (%2). It has been kept as %3; the player runs with "
                              "its default options and saves them afresh when it closes.")
                          .arg(hive(), damage, kept),
                      BoxIcon::Warning, BoxButtons::Ok, BoxButton::Ok);
    }
    static int storedSkip() {
        Registry reg;
        return reg.openKeyReadOnly(kOptionsKey) && reg.valueExists("SKIP") ? reg.readInteger("SKIP") : -1;
    }
};

QByteArray randomBytes() {
    QRandomGenerator random(20240611);
    QByteArray bytes(4096, '\0');
    for (char& c : bytes) c = static_cast<char>(random.bounded(256));
    return bytes;
}

TEST_F(SettingsTest, ADamagedFileIsKeptAsideReportedOnceAndTheOptionsAreWrittenAfresh) {
    storeOptions([](Registry& reg) { reg.writeInteger("SKIP", 30); });
    QByteArray oneBadLine = fileBytes(hive());
    oneBadLine.replace("\"SKIP\"=dword:0000001e", "\"SKIP\"=dword:1e");
    struct Case {
        QByteArray bytes;
        QString damage;
        QString kept;
    };
    const Case cases[] = {
        {randomBytes(), "line 1: not a settings file", hive() + ".damaged"},
        {oneBadLine, "line 11: a dword needs eight hexadecimal digits", hive() + ".damaged-2"},
    };
    for (const Case& c : cases) {
        writeHive(c.bytes);
        Settings settings;
        expectKeptBox(c.damage, c.kept);
        EXPECT_TRUE(settings.read("/opt/run"));  // not a first run: the command line still counts
        EXPECT_EQ(boxes_.pending(), 0u);
        EXPECT_EQ(settings.options().skip, 5);
        EXPECT_EQ(settings.options().programFolder, "/opt/run");
        EXPECT_EQ(settings.options().resetFile, "/opt/run//Reset//Gm_reset.mid");
        EXPECT_FALSE(QFile::exists(hive()));
        EXPECT_EQ(fileBytes(c.kept), c.bytes);

        settings.options().skip = 12;
        settings.save({});  // no second box
        EXPECT_EQ(storedSkip(), 12);
        EXPECT_EQ(fileBytes(c.kept), c.bytes);
    }
    EXPECT_EQ(fileBytes(hive() + ".damaged"), randomBytes());  // the first file kept is still there
}

TEST_F(SettingsTest, AnEmptyFileIsAFreshStart) {
    writeHive({});
    Settings settings;
    EXPECT_FALSE(settings.read("/opt/run"));  // the first run, without a word
    EXPECT_FALSE(QFile::exists(hive() + ".damaged"));
    settings.save({});
    EXPECT_EQ(storedSkip(), 5);
}

TEST_F(SettingsTest, AFileDamagedWhileThePlayerRunsIsKeptBeforeTheSave) {
    storeOptions();
    Settings settings;
    ASSERT_TRUE(settings.read("/opt/run"));
    writeHive("MIDI Vorlo settings hive 1\n[K]\n\"v\"=dword:1\n");
    settings.options().skip = 8;
    expectKeptBox("line 3: a dword needs eight hexadecimal digits", hive() + ".damaged");
    settings.save({});
    EXPECT_EQ(storedSkip(), 8);
    EXPECT_EQ(fileBytes(hive() + ".damaged"), "MIDI Vorlo settings hive 1\n[K]\n\"v\"=dword:1\n");
}

TEST_F(SettingsTest, SettingsThatCannotBeReadLeaveTheDefaultsAndTheFile) {
    QDir().mkpath(hive());  // a folder where the file should be: unreadable, but not damaged
    Settings settings;
    settings.options().skip = 40;
    EXPECT_THROW(settings.read("/opt/run"), RegistryError);
    EXPECT_EQ(settings.options().skip, 5);
    EXPECT_EQ(settings.options().programFolder, "/opt/run");
    EXPECT_TRUE(QFileInfo(hive()).isDir());
    EXPECT_THROW(settings.save({}), RegistryError);
}

TEST_F(SettingsTest, ApplyingAnEditedCopyTellsListenersWhatChanged) {
    Settings settings;
    std::vector<OptionChanges> heard;
    QObject::connect(&settings, &Settings::changed, [&](const OptionChanges& changes) { heard.push_back(changes); });
    Options edited = settings.options();
    edited.skip = 9;
    edited.stayOnTop = true;
    edited.top = 20;
    settings.apply(edited);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].valueNames(), (QStringList{"Top", "StayOnTop", "SKIP"}));
    EXPECT_TRUE(heard[0].contains(&Options::skip));
    EXPECT_TRUE(heard[0].contains(&Options::top));
    EXPECT_FALSE(heard[0].contains(&Options::wait));
    EXPECT_FALSE(heard[0].contains(&Options::clientHeight));
    EXPECT_EQ(settings.options().skip, 9);

    settings.apply(edited);  // nothing differs: nobody is told
    EXPECT_EQ(heard.size(), 1u);
}

// The generation of the one save a settings file holds whole: every value written by save number g says g.
// -1 when the file is damaged, holds no options, or mixes saves.
int wholeGeneration(const QByteArray& bytes) {
    RegistryHive hive;
    try {
        hive = RegistryHive::parse(bytes, "probe.reg");
    } catch (const RegistryError&) {
        return -1;
    }
    const RegistryHive::Key* key = hive.findKey("SOFTWARE\\Brackwen\\MIDI Vorlo\\Options");
    if (!key) return -1;
    std::set<std::uint32_t> seen;
    for (const char* name : {"Top", "Left", "Height", "Width", "LastOne", "SKIP", "WAIT"}) {
        const RegistryValue* value = RegistryHive::value(*key, name);
        if (!value || value->type != RegistryValue::Type::DWord) return -1;
        seen.insert(value->number);
    }
    const RegistryValue* folder = RegistryHive::value(*key, "MIDIDirectory");
    const RegistryValue* list = RegistryHive::value(*key, "AutoLoadList");
    if (seen.size() != 1 || !folder || !list) return -1;
    const int generation = static_cast<int>(*seen.begin());
    if (folder->text != QString("/gen/%1").arg(generation) || list->text != QString("/gen/%1/list.mpl").arg(generation))
        return -1;
    return generation;
}

// kill -9 at any moment of the save at close leaves the options of one save whole: the one before or the one
// that was being written, never a mix of the two and never a damaged file.
TEST(SettingsKillTest, AKillDuringTheSaveLeavesTheOldOrTheNewOptionsWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString probe = QFileInfo(QFile::symLinkTarget("/proc/self/exe")).absolutePath() + "/options_save_probe";
    const QString hiveFile = dir.path() + "/HKEY_CURRENT_USER.reg";
    QRandomGenerator random(19);
    int lastGeneration = 0;
    for (int run = 0; run < 50; ++run) {
        SCOPED_TRACE(run);
        QProcess saver;
        saver.start(probe, {dir.path()});
        ASSERT_TRUE(saver.waitForStarted());
        ASSERT_TRUE(saver.waitForReadyRead(30000));
        QThread::usleep(random.bounded(20000));
        saver.kill();  // SIGKILL
        ASSERT_TRUE(saver.waitForFinished(30000));
        QFile file(hiveFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const int generation = wholeGeneration(file.readAll());
        EXPECT_GE(generation, 1) << "the settings file does not hold one save whole";
        lastGeneration = std::max(lastGeneration, generation);
    }
    EXPECT_GT(lastGeneration, 1);  // the kills did fall during later saves, not only before the first
}

}  // namespace
