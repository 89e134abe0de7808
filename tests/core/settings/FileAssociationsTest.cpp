#include "core/settings/FileAssociations.h"
#include "os/Registry.h"
#include "os/XdgAssociations.h"

#include "PlayerSandbox.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>

using namespace vorlo;

namespace {

const QString kOther = "/usr/bin/timidity %1";
const QByteArray kListBefore =
    "[Default Applications]\n"
    "audio/midi=timidity.desktop;\n"
    "text/plain=gedit.desktop\n";

class FileAssociationsTest : public test::PlayerSandbox {
protected:
    void SetUp() override {
        PlayerSandbox::SetUp();
        desktop_ = XdgAssociations({path("xdg-config"), path("xdg-data")});
        // The desktop takes only handlers whose program exists: the player is a program of the test's own.
        program_ = path("bin/MIDI_Vorlo");
        writeFile(program_, "#!/bin/sh\n");
        QFile::setPermissions(program_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        kOpen = program_ + " %1";
        kPlay = program_ + " /play /close %1";
    }
    static void writeClasses(const std::function<void(Registry&)>& fill) {
        Registry classes(RegistryRoot::ClassesRoot);
        fill(classes);
    }
    static void setDefault(Registry& reg, const QString& key, const QString& text) {
        ASSERT_TRUE(reg.openKey("\\" + key, true));
        reg.writeString("", text);
    }
    static std::optional<QString> read(const QString& key, const QString& name = QString()) {
        Registry reg(RegistryRoot::ClassesRoot);
        if (!reg.openKeyReadOnly("\\" + key) || !reg.valueExists(name)) return std::nullopt;
        return reg.readString(name);
    }
    // As setup leaves them: the playlist file type with the player's commands, and ".mpl" naming it.
    static inline QString kOpen;
    static inline QString kPlay;
    static void installPlayer(Registry& reg) {
        setDefault(reg, "MIDI Vorlo MPL File\\shell\\open\\command", kOpen);
        setDefault(reg, "MIDI Vorlo MPL File\\shell\\play\\command", kPlay);
    }
    static void installPlayerWithListType(Registry& reg) {
        installPlayer(reg);
        setDefault(reg, ".mpl", "MIDI Vorlo MPL File");
    }
    // Another program opens MIDI files, in the class store and on the desktop, whose entry exists.
    void otherProgramOpensMidi() {
        writeClasses([](Registry& reg) {
            setDefault(reg, ".mid", "midfile");
            setDefault(reg, "midfile\\shell\\open\\command", kOther);
            setDefault(reg, "midfile\\shell\\play\\command", kOther);
        });
        writeFile(desktop_.mimeAppsFile(), kListBefore);
        writeFile(path("xdg-data/applications/timidity.desktop"),
                  "[Desktop Entry]\nType=Application\nName=TiMidity\nExec=true %f\nMimeType=audio/midi;\n");
    }
    static void writeFile(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(name).absolutePath());
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // What the desktop's own tool says opens `mimeType` (on a desktop without its own settings program).
    static QString queryDefault(const QString& mimeType) {
        QProcess query;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("XDG_CURRENT_DESKTOP");
        environment.remove("DESKTOP_SESSION");
        environment.remove("KDE_FULL_SESSION");
        environment.remove("GNOME_DESKTOP_SESSION_ID");
        query.setProcessEnvironment(environment);
        query.start("xdg-mime", {"query", "default", mimeType});
        EXPECT_TRUE(query.waitForFinished(30000));
        return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    }
    static bool hasTool(const char* name) { return !QStandardPaths::findExecutable(name).isEmpty(); }

    XdgAssociations desktop_;
    QString program_;
};

TEST_F(FileAssociationsTest, MidiGoesToThePlayerOnTheDesktopAndBackToTheProgramThatHadIt) {
    if (!hasTool("xdg-mime")) GTEST_SKIP() << "xdg-utils is not installed (scripts/install-deps.sh)";
    otherProgramOpensMidi();
    writeClasses(installPlayer);
    ASSERT_EQ(queryDefault("audio/midi"), "timidity.desktop");

    FileAssociations before;
    EXPECT_FALSE(before.associated().mid);
    before.apply({.mid = true});
    EXPECT_EQ(read("midfile\\shell\\open\\command"), kOpen);
    EXPECT_EQ(read("midfile\\shell\\open\\command", "MIDIVorlo.Bak"), kOther);
    EXPECT_EQ(queryDefault("audio/midi"), "midi-vorlo.desktop");
    EXPECT_EQ(desktop_.defaultApplications("audio/x-midi"), QStringList{"midi-vorlo.desktop"});
    EXPECT_EQ(read("MIDIVorlo.Desktop\\audio/midi", "MIDIVorlo.Bak"), "timidity.desktop;");
    if (hasTool("desktop-file-validate")) {
        QProcess validate;
        validate.start("desktop-file-validate", {desktop_.desktopEntryFile()});
        ASSERT_TRUE(validate.waitForFinished(30000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
    }

    // Opened again, the page shows MIDI as the player's; associating once more keeps the first backups.
    FileAssociations again;
    EXPECT_TRUE(again.associated().mid);
    again.apply({.mid = true});
    EXPECT_EQ(read("MIDIVorlo.Desktop\\audio/midi", "MIDIVorlo.Bak"), "timidity.desktop;");
    EXPECT_EQ(read("midfile\\shell\\open\\command", "MIDIVorlo.Bak"), kOther);

    FileAssociations(desktop_).apply({});
    EXPECT_EQ(queryDefault("audio/midi"), "timidity.desktop");
    EXPECT_EQ(fileBytes(desktop_.mimeAppsFile()).left(kListBefore.size()), kListBefore);
    EXPECT_EQ(desktop_.defaultApplications("audio/x-midi"), QStringList());
    EXPECT_EQ(read("midfile\\shell\\open\\command"), kOther);
    EXPECT_FALSE(read("midfile\\shell\\open\\command", "MIDIVorlo.Bak"));
    EXPECT_FALSE(read("MIDIVorlo.Desktop\\audio/midi", "MIDIVorlo.Bak"));
}

TEST_F(FileAssociationsTest, ReadingCreatesTheMissingExtensionKeysWithTheirClasses) {
    FileAssociations read;
    EXPECT_EQ(read.classOf(".cda"), "cdafile");
    EXPECT_EQ(read.classOf(".avi"), "avifile");
    EXPECT_EQ(FileAssociationsTest::read(".cda"), "cdafile");
    EXPECT_EQ(FileAssociationsTest::read(".rmi"), "");
    EXPECT_EQ(read.associated(), AssociationBoxes{});
}

TEST_F(FileAssociationsTest, WithoutThePlayersCommandsNeitherTheClassesNorTheDesktopChange) {
    otherProgramOpensMidi();
    FileAssociations associations;
    EXPECT_TRUE(associations.refusesForMissingCommands({.wav = true}));
    EXPECT_FALSE(associations.refusesForMissingCommands({}));
    associations.apply({.mid = true, .avi = true, .wav = true, .cda = true});
    EXPECT_EQ(read("midfile\\shell\\open\\command"), kOther);
    EXPECT_FALSE(read("avifile\\shell\\open\\command"));
    EXPECT_EQ(fileBytes(desktop_.mimeAppsFile()), kListBefore);
    EXPECT_FALSE(QFile::exists(desktop_.desktopEntryFile()));
}

TEST_F(FileAssociationsTest, APlaylistTypeOfThePlayersOwnComesWithTheFirstAssociation) {
    if (!hasTool("update-mime-database")) GTEST_SKIP() << "shared-mime-info is not installed";
    writeClasses(installPlayerWithListType);
    FileAssociations(desktop_).apply({.wav = true});
    EXPECT_EQ(desktop_.defaultApplications("audio/x-wav"), QStringList{"midi-vorlo.desktop"});
    EXPECT_EQ(desktop_.defaultApplications("audio/x-midi-vorlo-playlist"), QStringList{"midi-vorlo.desktop"});
    EXPECT_TRUE(fileBytes(path("xdg-data/mime/globs2")).contains("audio/x-midi-vorlo-playlist:*.mpl"));

    // What the uninstaller does: everything back as it was, the player's files gone.
    desktop_.restoreEverything();
    EXPECT_EQ(desktop_.defaultApplications("audio/x-wav"), QStringList());
    EXPECT_EQ(desktop_.defaultApplications("audio/x-midi-vorlo-playlist"), QStringList());
    EXPECT_FALSE(QFile::exists(desktop_.desktopEntryFile()));
    EXPECT_FALSE(QFile::exists(desktop_.playlistTypeFile()));
    EXPECT_FALSE(fileBytes(path("xdg-data/mime/globs2")).contains("audio/x-midi-vorlo-playlist"));
    EXPECT_FALSE(read("MIDIVorlo.Desktop\\audio/x-wav", "MIDIVorlo.Bak"));
}

TEST_F(FileAssociationsTest, WhenTheClassStoreCannotBeWrittenTheDesktopIsPutBackAndTheErrorTold) {
    otherProgramOpensMidi();
    writeClasses([](Registry& reg) {
        installPlayer(reg);
        // A hive larger than the file size allowed below, while mimeapps.list stays well under it.
        setDefault(reg, "Padding", QString(64 * 1024, 'x'));
    });
    FileAssociations associations;
    const QByteArray hiveBefore = fileBytes(Registry::hiveFile(RegistryRoot::ClassesRoot));

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(associations.apply({.mid = true}), RegistryError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(fileBytes(desktop_.mimeAppsFile()), kListBefore);
    EXPECT_EQ(fileBytes(Registry::hiveFile(RegistryRoot::ClassesRoot)), hiveBefore);
    EXPECT_FALSE(QFile::exists(desktop_.desktopEntryFile()));
}

}  // namespace
