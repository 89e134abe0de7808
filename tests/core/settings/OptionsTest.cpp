#include "core/playback/PlayModes.h"
#include "core/settings/Options.h"
#include "os/Registry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

const QString kOptionsKey = "\\SOFTWARE\\Brackwen\\MIDI Vorlo\\Options";

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        qputenv("VORLO_CONFIG_DIR", QFile::encodeName(dir_.path() + "/config"));
    }
    void TearDown() override { qunsetenv("VORLO_CONFIG_DIR"); }
    QString makeFile(const QString& name) {
        QFile f(dir_.path() + "/" + name);
        f.open(QIODevice::WriteOnly);
        return f.fileName();
    }
    void writeOptions(const std::function<void(Registry&)>& fill) {
        Registry reg;
        ASSERT_TRUE(reg.openKey(kOptionsKey, true));
        fill(reg);
    }
    Options readBack() {
        Registry reg;
        Options options;
        EXPECT_TRUE(options.read(reg, "/opt/run"));
        return options;
    }
    QTemporaryDir dir_;
};

TEST_F(OptionsTest, AFirstRunReportsNoKeyAndFindsTheProgramFolder) {
    Registry reg;
    Options options;
    EXPECT_FALSE(options.read(reg, "/opt/run"));
    EXPECT_EQ(options.programFolder, "/opt/run");  // never installed: the folder the program runs from
    EXPECT_EQ(options.resetFile, "/opt/run//Reset//Gm_reset.mid");

    ASSERT_TRUE(reg.openKey("\\SOFTWARE\\Brackwen\\MIDI Vorlo\\Folder", true));
    reg.writeString("", "/usr/lib/midivorlo");
    Options installed;
    EXPECT_FALSE(installed.read(reg, "/opt/run"));
    EXPECT_EQ(installed.programFolder, "/usr/lib/midivorlo");
    EXPECT_EQ(installed.resetFile, "/usr/lib/midivorlo//Reset//Gm_reset.mid");
}

TEST_F(OptionsTest, EveryValueIsSavedWithItsTypeAndReadBack) {
    Options saved;
    saved.top = 11;
    saved.left = -12;
    saved.clientHeight = 400;
    saved.clientWidth = 700;
    saved.windowState = 2;
    saved.fileBox = false;
    saved.playList = false;
    saved.trackBar = false;
    saved.menu = false;
    saved.counter = false;
    saved.toolBar = false;
    saved.hide = true;
    saved.timeCount = 1;
    saved.stayOnTop = true;
    saved.autoCheck = true;
    saved.listClose = true;
    saved.autoPlay = false;
    saved.loopPlay = false;
    saved.repeatPlay = true;
    saved.randomPlay = true;
    saved.shufflePlay = true;
    saved.autoLoad = false;
    saved.addPlay = 2;
    saved.resetFile = "/x/Custom.mid";
    saved.lastOne = 7;
    saved.midiDirectory = "/music";
    saved.skip = 17;
    saved.wait = 99;
    saved.oneTouch = true;
    saved.filter = 7;
    const QString list = makeFile("songs.mpl");
    {
        Registry reg;
        saved.save(reg, {list, "/older.mpl"});
    }
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly("\\SOFTWARE\\Brackwen\\MIDI Vorlo"));
    EXPECT_EQ(reg.readString(""), "MIDI Vorlo Configuration Key");
    ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
    const QStringList dwords = {"Top",        "Left",       "Height",      "Width",     "WindowState", "FileBox",
                                "PlayList",   "TrackBar",   "Menu",        "Counter",   "ToolBar",     "Hide",
                                "TimeCount",  "StayOnTop",  "AUTOCHECK",   "LISTCLOSE", "AutoPlay",    "LoopPlay",
                                "RepeatPlay", "RandomPlay", "ShufflePlay", "AutoLoad",  "ADDPLAY",     "LastOne",
                                "SKIP",       "WAIT",       "OneTouch",    "FILTER"};
    const QStringList strings = {"AutoLoadList", "ListDirectory", "RESETFILE", "MIDIDirectory"};
    for (const QString& name : dwords) EXPECT_EQ(reg.valueType(name), RegistryValue::Type::DWord) << name.toStdString();
    for (const QString& name : strings)
        EXPECT_EQ(reg.valueType(name), RegistryValue::Type::String) << name.toStdString();
    EXPECT_EQ(reg.valueNames().size(), dwords.size() + strings.size());
    EXPECT_EQ(reg.readString("ListDirectory"), dir_.path() + "/");

    const Options r = readBack();
    EXPECT_EQ(r.top, 11);
    EXPECT_EQ(r.left, -12);
    EXPECT_EQ(r.clientHeight, 400);
    EXPECT_EQ(r.clientWidth, 700);
    EXPECT_EQ(r.windowState, 2);
    EXPECT_FALSE(r.fileBox || r.playList || r.trackBar || r.menu || r.counter || r.toolBar);
    EXPECT_TRUE(r.hide && r.stayOnTop && r.autoCheck && r.listClose && r.oneTouch);
    EXPECT_EQ(r.timeCount, 1);
    EXPECT_FALSE(r.autoPlay || r.loopPlay || r.autoLoad);
    EXPECT_TRUE(r.repeatPlay && r.randomPlay && r.shufflePlay);
    EXPECT_EQ(r.addPlay, 2);
    EXPECT_EQ(r.resetFile, "/x/Custom.mid");
    EXPECT_EQ(r.lastOne, 7);
    EXPECT_EQ(r.midiDirectory, "/music");
    EXPECT_EQ(r.skip, 17);
    EXPECT_EQ(r.wait, 99);
    EXPECT_EQ(r.filter, 7);
    EXPECT_EQ(r.autoLoadList, list);
    EXPECT_EQ(r.listDirectory, dir_.path() + "/");
}

TEST_F(OptionsTest, AnEmptyResetFileMeansNoResetAndAMissingOneTheGmReset) {
    writeOptions([](Registry& reg) { reg.writeString("RESETFILE", ""); });
    EXPECT_EQ(readBack().resetFile, "");
    writeOptions([](Registry& reg) { reg.deleteValue("RESETFILE"); });
    EXPECT_EQ(readBack().resetFile, "/opt/run//Reset//Gm_reset.mid");
}

TEST_F(OptionsTest, AFilterOutOfRangeKeepsTheCurrentOne) {
    for (int stored : {8, 9, -1}) {
        writeOptions([&](Registry& reg) { reg.writeInteger("FILTER", stored); });
        EXPECT_EQ(readBack().filter, 0) << stored;
    }
    writeOptions([](Registry& reg) { reg.writeInteger("FILTER", 3); });
    EXPECT_EQ(readBack().filter, 3);
}

TEST_F(OptionsTest, ADeletedAutoLoadListFallsBackToNoList) {
    writeOptions([](Registry& reg) { reg.writeString("AutoLoadList", "/gone/away.mpl"); });
    EXPECT_EQ(readBack().autoLoadList, "*.mpl");
}

TEST_F(OptionsTest, MissingOrMistypedValuesKeepTheirDefaults) {
    writeOptions([](Registry& reg) {
        reg.writeString("SKIP", "twelve");
        reg.writeString("AutoPlay", "yes");
        reg.writeInteger("ListDirectory", 3);
        reg.writeString("MIDIDirectory", "");
    });
    const Options r = readBack();
    EXPECT_EQ(r.skip, 5);
    EXPECT_TRUE(r.autoPlay);
    EXPECT_EQ(r.listDirectory, "");
    EXPECT_EQ(r.midiDirectory, "");  // empty: the file box stays where it is
    EXPECT_FALSE(r.windowState.has_value());
    EXPECT_FALSE(r.clientHeight.has_value());
}

TEST_F(OptionsTest, AnEmptyHistoryLeavesTheStoredListInPlace) {
    const QString list = makeFile("kept.mpl");
    writeOptions([&](Registry& reg) {
        reg.writeString("AutoLoadList", list);
        reg.writeString("ListDirectory", "/kept/");
    });
    Options options = readBack();
    {
        Registry reg;
        options.save(reg, {});
    }
    const Options r = readBack();
    EXPECT_EQ(r.autoLoadList, list);
    EXPECT_EQ(r.listDirectory, "/kept/");
}

TEST_F(OptionsTest, StoredModesApplyOneExclusiveModeThenShuffle) {
    // Loop wins over Repeat and Random.
    EXPECT_EQ(PlayModes::restored(true, true, true, true, false), (PlayModes{true, true, false, false, false}));
    // Repeat wins over Random; Shuffle stored as well then ends Repeat.
    EXPECT_EQ(PlayModes::restored(false, false, true, true, false), (PlayModes{false, false, true, false, false}));
    EXPECT_EQ(PlayModes::restored(false, false, true, false, true), (PlayModes{false, false, false, false, true}));
    // Loop combines with Shuffle.
    EXPECT_EQ(PlayModes::restored(true, true, false, false, true), (PlayModes{true, true, false, false, true}));
    EXPECT_EQ(PlayModes::restored(true, false, false, false, false), (PlayModes{true, false, false, false, false}));
}

TEST(PlayModesTest, ModesExcludeEachOtherAsTheMenuShowsThem) {
    PlayModes modes;  // Auto and Loop
    modes.setShuffle(true);
    EXPECT_TRUE(modes.loop && modes.shuffle);
    modes.setRandom(true);
    EXPECT_TRUE(modes.random && !modes.loop && !modes.shuffle && !modes.repeat);
    modes.setShuffle(true);
    EXPECT_TRUE(modes.shuffle && !modes.random);
    modes.setRepeat(true);
    EXPECT_TRUE(modes.repeat && !modes.shuffle && !modes.loop);
    modes.setLoop(true);
    EXPECT_TRUE(modes.loop && !modes.repeat);
    modes.setLoop(false);
    EXPECT_FALSE(modes.loop || modes.repeat || modes.random);
    EXPECT_TRUE(modes.autoPlay);
}

}  // namespace
