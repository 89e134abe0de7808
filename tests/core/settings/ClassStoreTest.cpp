#include "core/settings/ClassStore.h"
#include "os/RegistryHive.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

const PlayerCommands kPlayer{"C:\\MIDIVorlo\\MIDI_Vorlo.exe %1", "C:\\MIDIVorlo\\MIDI_Vorlo.exe /play /close %1"};
const QString kOpen = "midfile\\shell\\open\\command";
const QString kPlay = "midfile\\shell\\play\\command";

class ClassStoreTest : public ::testing::Test {
protected:
    void set(const QString& key, const QString& name, const QString& text) {
        RegistryValue value;
        value.text = text;
        RegistryHive::setValue(hive_.createKey(key), name, value);
    }
    std::optional<QString> get(const QString& key, const QString& name = QString()) const {
        const RegistryHive::Key* found = hive_.findKey(key);
        const RegistryValue* value = found ? RegistryHive::value(*found, name) : nullptr;
        return value ? std::optional<QString>(value->text) : std::nullopt;
    }
    void otherProgramOwnsMidfile() {
        set(kOpen, "", "C:\\Windows\\mplayer.exe /open %1");
        set(kPlay, "", "C:\\Windows\\mplayer.exe /play /close %1");
    }
    RegistryHive hive_;
};

TEST_F(ClassStoreTest, AssociatingBacksUpTheOtherProgramOnceAndUnassociatingGivesItBack) {
    otherProgramOwnsMidfile();
    ClassStore store(hive_, kPlayer);
    EXPECT_FALSE(store.IsAssociated("midfile"));
    store.Associate("midfile");
    EXPECT_TRUE(store.changed());
    EXPECT_TRUE(store.IsAssociated("midfile"));
    EXPECT_EQ(get(kOpen, "MIDIVorlo.Bak"), "C:\\Windows\\mplayer.exe /open %1");
    EXPECT_EQ(get(kPlay, "MIDIVorlo.Bak"), "C:\\Windows\\mplayer.exe /play /close %1");

    // Another program takes the class meanwhile; associating again keeps the first backup.
    set(kOpen, "", "C:\\Other\\other.exe %1");
    store.Associate("midfile");
    store.Associate("midfile");
    EXPECT_EQ(get(kOpen), kPlayer.open);
    EXPECT_EQ(get(kOpen, "MIDIVorlo.Bak"), "C:\\Windows\\mplayer.exe /open %1");

    store.Unassociate("midfile");
    EXPECT_EQ(get(kOpen), "C:\\Windows\\mplayer.exe /open %1");
    EXPECT_EQ(get(kPlay), "C:\\Windows\\mplayer.exe /play /close %1");
    EXPECT_FALSE(get(kOpen, "MIDIVorlo.Bak"));
    EXPECT_FALSE(get(kPlay, "MIDIVorlo.Bak"));

    // Without a backup the commands stay, even when they are the player's.
    set(kOpen, "", kPlayer.open);
    set(kPlay, "", kPlayer.play);
    store.Unassociate("midfile");
    EXPECT_TRUE(store.IsAssociated("midfile"));
}

TEST_F(ClassStoreTest, ThePlayerFromAnotherFolderIsReplacedWithoutABackup) {
    set(kOpen, "", "D:\\Old\\MIDI_Vorlo.exe %1");
    set(kPlay, "", "D:\\Old\\MIDI_Vorlo.exe /play /close %1");
    ClassStore store(hive_, kPlayer);
    store.Associate("midfile");
    EXPECT_EQ(get(kOpen), kPlayer.open);
    EXPECT_FALSE(get(kOpen, "MIDIVorlo.Bak"));
    EXPECT_FALSE(get(kPlay, "MIDIVorlo.Bak"));
}

TEST_F(ClassStoreTest, MissingExtensionsGetTheirDefaultClassAndAnEmptyClassIsNeverTouched) {
    set(".wav", "", "wavfile");
    ClassStore store(hive_, kPlayer);
    EXPECT_EQ(store.ClassOf(".wav"), "wavfile");
    EXPECT_FALSE(store.changed());
    EXPECT_EQ(store.ClassOf(".cda"), "cdafile");
    EXPECT_EQ(store.ClassOf(".avi"), "avifile");
    EXPECT_EQ(store.ClassOf(".rmi"), "");
    EXPECT_TRUE(hive_.hasKey(".rmi"));
    EXPECT_EQ(get(".cda"), "cdafile");
    EXPECT_TRUE(store.changed());

    const QStringList before = hive_.subKeyNames(QString());
    store.Associate("");
    store.Unassociate("");
    EXPECT_FALSE(store.IsAssociated(""));
    EXPECT_EQ(hive_.subKeyNames(QString()), before);
    EXPECT_FALSE(hive_.hasKey("shell"));
}

TEST_F(ClassStoreTest, WithoutThePlayersCommandsNothingIsAssociatedOrWritten) {
    otherProgramOwnsMidfile();
    set("noverbs\\shell\\open\\command", "", "");
    set("noverbs\\shell\\play\\command", "", "");
    ClassStore store(hive_, ClassStore::playerCommands(hive_));
    EXPECT_FALSE(store.IsAssociated("noverbs"));  // empty commands equal empty commands: still not ours
    store.Associate("midfile");
    EXPECT_FALSE(store.changed());
    EXPECT_EQ(get(kOpen), "C:\\Windows\\mplayer.exe /open %1");
    EXPECT_FALSE(get(kOpen, "MIDIVorlo.Bak"));

    set("MIDI Vorlo MPL File\\shell\\open\\command", "", kPlayer.open);
    set("MIDI Vorlo MPL File\\shell\\play\\command", "", kPlayer.play);
    const PlayerCommands read = ClassStore::playerCommands(hive_);
    EXPECT_EQ(read.open, kPlayer.open);
    EXPECT_EQ(read.play, kPlayer.play);
}

TEST_F(ClassStoreTest, ReadingDoesNotCreateCommandKeys) {
    set(".mid", "", "midfile");
    ClassStore store(hive_, kPlayer);
    EXPECT_FALSE(store.IsAssociated(store.ClassOf(".mid")));
    EXPECT_FALSE(hive_.hasKey("midfile"));
    EXPECT_FALSE(store.changed());
}

}  // namespace
