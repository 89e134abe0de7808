#include "os/MimeAppsList.h"
#include "os/RegistryHive.h"
#include "os/XdgAssociations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../support/QtPrinters.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace vorlo;

namespace {

const QByteArray kUserList =
    "# kept by hand\n"
    "[Added Associations]\n"
    "audio/midi=timidity.desktop;\n"
    "\n"
    "[Default Applications]\n"
    "audio/midi=timidity.desktop;fluidsynth.desktop;\n"
    "text/plain = gedit.desktop\n"
    "\n"
    "[Removed Associations]\n"
    "video/x-msvideo=vlc.desktop;\n";

TEST(MimeAppsListTest, EditsChangeOnlyTheTypeTheyAreAboutAndGiveTheSameTextBack) {
    MimeAppsList list = MimeAppsList::parse(kUserList);
    EXPECT_EQ(list.text(), kUserList);
    EXPECT_EQ(list.defaultApplications("AUDIO/MIDI"), QStringList({"timidity.desktop", "fluidsynth.desktop"}));
    EXPECT_EQ(list.defaultFor("text/plain"), "gedit.desktop");
    EXPECT_FALSE(list.defaultFor("video/x-msvideo"));  // only removed, never a default

    list.setDefault("audio/midi", "midi-vorlo.desktop");
    list.setDefault("video/x-msvideo", "midi-vorlo.desktop");
    QByteArray expected = kUserList;
    expected.replace("audio/midi=timidity.desktop;fluidsynth.desktop;\ntext/plain = gedit.desktop\n",
                     "audio/midi=midi-vorlo.desktop\ntext/plain = gedit.desktop\nvideo/x-msvideo=midi-vorlo.desktop\n");
    EXPECT_EQ(list.text(), expected);

    list.setDefault("audio/midi", "timidity.desktop;fluidsynth.desktop;");
    list.removeDefault("video/x-msvideo");
    EXPECT_EQ(list.text(), kUserList);
}

TEST(MimeAppsListTest, AFileWithoutTheGroupGetsItAtTheEnd) {
    for (const QByteArray& before : {QByteArray(), QByteArray("[Added Associations]\naudio/wav=a.desktop;")}) {
        MimeAppsList list = MimeAppsList::parse(before);
        list.setDefault("audio/wav", "midi-vorlo.desktop");
        const QByteArray group = "[Default Applications]\naudio/wav=midi-vorlo.desktop\n";
        EXPECT_EQ(list.text(), before.isEmpty() ? group : before + "\n\n" + group);
        EXPECT_EQ(MimeAppsList::parse(list.text()).defaultApplications("audio/wav"), QStringList{"midi-vorlo.desktop"});
    }
}

TEST(MimeAppsListTest, ATypeNamedTwiceIsNamedOnceAfterAnEdit) {
    const QByteArray twice =
        "[Default Applications]\naudio/midi=a.desktop\nAUDIO/MIDI=b.desktop\n[Other]\naudio/midi=c\n";
    MimeAppsList set = MimeAppsList::parse(twice);
    set.setDefault("audio/midi", "midi-vorlo.desktop");
    EXPECT_EQ(set.text(), "[Default Applications]\naudio/midi=midi-vorlo.desktop\n[Other]\naudio/midi=c\n");
    MimeAppsList removed = MimeAppsList::parse(twice);
    removed.removeDefault("audio/midi");
    EXPECT_FALSE(removed.defaultFor("audio/midi"));
    EXPECT_EQ(removed.text(), "[Default Applications]\n[Other]\naudio/midi=c\n");
}

TEST(XdgAssociationsTest, TheDesktopEntryRunsTheOpenCommandsProgramWithTheFile) {
    EXPECT_EQ(XdgAssociations::execLine("/opt/MIDI Vorlo/MIDI_Vorlo %1"), "\"/opt/MIDI Vorlo/MIDI_Vorlo\" %f");
    EXPECT_EQ(XdgAssociations::execLine("\"/opt/vorlo/MIDI_Vorlo\" /play /close \"%1\""),
              "/opt/vorlo/MIDI_Vorlo /play /close %f");
    // Quoting of the Exec key, then the string escapes of the file: "$", "\" and "%" cannot start anything.
    EXPECT_EQ(XdgAssociations::execLine("/opt/a$b\\c 100%/MIDI_Vorlo %1"),
              "\"/opt/a\\\\$b\\\\\\\\c 100%%/MIDI_Vorlo\" %f");
    const QString entry = QString::fromUtf8(XdgAssociations::desktopEntry("/opt/vorlo/MIDI_Vorlo %1"));
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nExec=/opt/vorlo/MIDI_Vorlo %f\n"));
    EXPECT_TRUE(entry.contains(
        "\nMimeType=audio/midi;audio/x-midi;audio/x-wav;audio/wav;video/x-msvideo;audio/x-midi-vorlo-playlist;\n"));
}

class XdgChangeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    XdgAssociations desktop() const { return XdgAssociations({dir_.path() + "/config", dir_.path() + "/data"}); }
    void writeList(const QByteArray& text) const {
        QDir().mkpath(dir_.path() + "/config");
        QFile file(desktop().mimeAppsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray list() const {
        QFile file(desktop().mimeAppsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    QTemporaryDir dir_;
    RegistryHive hive_;
};

TEST_F(XdgChangeTest, UndoPutsTheListBackAndRemovesAnEntryItMade) {
    writeList(kUserList);
    XdgAssociations::Change change(desktop(), hive_);
    change.associate({"audio/midi"}, "/opt/vorlo/MIDI_Vorlo %1");
    change.commit();
    EXPECT_EQ(desktop().defaultApplications("audio/midi"), QStringList{"midi-vorlo.desktop"});
    EXPECT_TRUE(QFile::exists(desktop().desktopEntryFile()));
    change.undo();
    EXPECT_EQ(list(), kUserList);
    EXPECT_FALSE(QFile::exists(desktop().desktopEntryFile()));
}

TEST_F(XdgChangeTest, UnknownFoldersAreRefusedInsteadOfWritingWhereThePlayerRuns) {
    for (const XdgAssociations::Folders& folders :
         {XdgAssociations::Folders{"", dir_.path()}, XdgAssociations::Folders{dir_.path(), "vorlo-relative-data"}}) {
        XdgAssociations nowhere(folders);
        EXPECT_THROW(XdgAssociations::Change(nowhere, hive_), XdgError);
        EXPECT_THROW(nowhere.restoreEverything(), XdgError);
    }
}

TEST_F(XdgChangeTest, AnEmptyCommandTakesNoType) {
    XdgAssociations::Change change(desktop(), hive_);
    change.associate({"audio/midi"}, "  ");
    change.commit();
    EXPECT_FALSE(change.changesHive());
    EXPECT_EQ(list(), "(none)");
    EXPECT_FALSE(QFile::exists(desktop().desktopEntryFile()));
}

TEST_F(XdgChangeTest, AListThatLeadsToAnotherUsersFileIsLeftAlone) {
    const QString foreign = dir_.path() + "/foreign.list";
    {
        QFile file(foreign);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kUserList);
    }
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
    } else {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    QDir().mkpath(dir_.path() + "/config");
    ASSERT_TRUE(QFile::link(foreign, desktop().mimeAppsFile()));
    XdgAssociations::Change change(desktop(), hive_);
    change.associate({"audio/midi"}, "/opt/vorlo/MIDI_Vorlo %1");
    EXPECT_THROW(change.commit(), XdgError);
    // The desktop entry was written before the list failed: taking the change back removes it.
    EXPECT_TRUE(QFile::exists(desktop().desktopEntryFile()));
    change.undo();
    EXPECT_FALSE(QFile::exists(desktop().desktopEntryFile()));
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kUserList);
}

}  // namespace
