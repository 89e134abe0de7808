#include "core/settings/Settings.h"
#include "os/Registry.h"

#include "PlayerSandbox.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

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

}  // namespace
