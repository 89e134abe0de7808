#include "core/playback/PlayModes.h"
#include "core/settings/Options.h"
#include "os/Registry.h"

#include "PlayerSandbox.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

using namespace vorlo;

namespace {

class OptionsTest : public test::PlayerSandbox {
protected:
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

// The options key as the player has always written it: every value of a full save (%1: the list's folder)...
const char* const kFullSave = R"(MIDI Vorlo settings hive 1

[SOFTWARE]

[SOFTWARE\Brackwen]

[SOFTWARE\Brackwen\MIDI Vorlo]
@="MIDI Vorlo Configuration Key"

[SOFTWARE\Brackwen\MIDI Vorlo\Options]
"ADDPLAY"=dword:00000002
"AUTOCHECK"=dword:00000001
"AutoLoad"=dword:00000000
"AutoLoadList"="%1songs.mpl"
"AutoPlay"=dword:00000000
"Counter"=dword:00000000
"FileBox"=dword:00000000
"FILTER"=dword:00000007
"Height"=dword:00000190
"Hide"=dword:00000001
"LastOne"=dword:00000007
"Left"=dword:fffffff4
"LISTCLOSE"=dword:00000001
"ListDirectory"="%1"
"LoopPlay"=dword:00000000
"Menu"=dword:00000000
"MIDIDirectory"="/music"
"OneTouch"=dword:00000001
"PlayList"=dword:00000000
"RandomPlay"=dword:00000001
"RepeatPlay"=dword:00000001
"RESETFILE"="/x/Custom.mid"
"ShufflePlay"=dword:00000001
"SKIP"=dword:00000011
"StayOnTop"=dword:00000001
"TimeCount"=dword:00000001
"ToolBar"=dword:00000000
"Top"=dword:0000000b
"TrackBar"=dword:00000000
"WAIT"=dword:00000063
"Width"=dword:000002bc
"WindowState"=dword:00000002
)";
// ...and of a save of the defaults with an empty list history and no window values yet.
const char* const kDefaultSave = R"(MIDI Vorlo settings hive 1

[SOFTWARE]

[SOFTWARE\Brackwen]

[SOFTWARE\Brackwen\MIDI Vorlo]
@="MIDI Vorlo Configuration Key"

[SOFTWARE\Brackwen\MIDI Vorlo\Options]
"ADDPLAY"=dword:00000000
"AUTOCHECK"=dword:00000000
"AutoLoad"=dword:00000001
"AutoPlay"=dword:00000001
"Counter"=dword:00000001
"FileBox"=dword:00000001
"FILTER"=dword:00000000
"Hide"=dword:00000000
"LastOne"=dword:00000000
"LISTCLOSE"=dword:00000000
"LoopPlay"=dword:00000001
"Menu"=dword:00000001
"MIDIDirectory"=""
"OneTouch"=dword:00000000
"PlayList"=dword:00000001
"RandomPlay"=dword:00000000
"RepeatPlay"=dword:00000000
"RESETFILE"="/opt/run//Reset//Gm_reset.mid"
"ShufflePlay"=dword:00000000
"SKIP"=dword:00000005
"StayOnTop"=dword:00000000
"TimeCount"=dword:00000000
"ToolBar"=dword:00000001
"TrackBar"=dword:00000001
"WAIT"=dword:00000000
)";

// Every value differs from its default here, so that each row of the table is written and read back.
TEST_F(OptionsTest, EveryValueIsStoredAsThePlayerHasAlwaysStoredItAndReadBack) {
    const QString list = makeFile("songs.mpl");
    Options full;
    full.top = 11;
    full.left = -12;
    full.clientHeight = 400;
    full.clientWidth = 700;
    full.windowState = 2;
    full.fileBox = full.playList = full.trackBar = full.menu = full.counter = full.toolBar = false;
    full.hide = full.stayOnTop = full.autoCheck = full.listClose = full.oneTouch = true;
    full.timeCount = 1;
    full.autoPlay = full.loopPlay = full.autoLoad = false;
    full.repeatPlay = full.randomPlay = full.shufflePlay = true;
    full.addPlay = 2;
    full.resetFile = "/x/Custom.mid";
    full.lastOne = 7;
    full.midiDirectory = "/music";
    full.skip = 17;
    full.wait = 99;
    full.filter = 7;
    {
        Registry reg;
        full.save(reg, {list, "/older.mpl"});
    }
    EXPECT_EQ(fileBytes(hive()), QString(kFullSave).arg(dir_.path() + "/").toUtf8());
    full.autoLoadList = list;
    full.listDirectory = dir_.path() + "/";
    const Options read = readBack();
    for (const OptionField& field : Options::fields()) EXPECT_TRUE(field.same(full, read)) << field.name;

    QFile::remove(hive());
    {
        Registry reg;
        Options::defaultsFor("/opt/run").save(reg, {});
    }
    EXPECT_EQ(fileBytes(hive()), QByteArray(kDefaultSave));
}

TEST_F(OptionsTest, TheSaveRewritesTheSettingsFileOnce) {
    {
        Registry reg;
        ASSERT_TRUE(reg.openKey("\\SOFTWARE\\Other", true));
        reg.writeString("kept", "yes");
    }
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(Registry::folder()).constData(), IN_MOVED_TO | IN_CREATE),
              0);
    {
        Registry reg;
        Options::defaultsFor("/opt/run").save(reg, {"/lists/a.mpl"});
    }
    // Each rewrite puts a new file in place under the hive's name.
    const QByteArray hiveName = QFile::encodeName(QFileInfo(hive()).fileName());
    int rewrites = 0;
    alignas(inotify_event) char buffer[16384];
    for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && hiveName == event->name) ++rewrites;
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    EXPECT_EQ(rewrites, 1);
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly("\\SOFTWARE\\Other"));
    EXPECT_EQ(reg.readString("kept"), "yes");  // the rest of the file stays
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
