#include "SetupRig.h"

#include "os/Registry.h"
#include "setup/ProductFiles.h"
#include "setup/SetupSteps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "../support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace vorlo;
using namespace vorlo::test;

namespace {

using Result = SetupSteps::Result;
const auto CU = RegistryRoot::CurrentUser;
const auto LM = RegistryRoot::LocalMachine;
const auto CR = RegistryRoot::ClassesRoot;

const QString kCopied = QStringLiteral("Installer has successfully created directory and copied files.");
const QString kAttentionStart = QStringLiteral(
    "In case you may lose your important files in MIDI Vorlo directory.\n"
    "Uninstaller didn't remove directory '");

// Installs from the rig's distribution with the default answers; returns the group folder.
QString installAll(SetupRig& rig, SetupSteps& steps, const QString& group = QStringLiteral("MIDI Vorlo")) {
    EXPECT_EQ(steps.copyFiles(rig.dist(), rig.programFolder()), Result::Done);
    const QString groupFolder = steps.createGroup(rig.programFolder(), group);
    EXPECT_FALSE(groupFolder.isEmpty());
    EXPECT_EQ(steps.complete(rig.programFolder(), groupFolder), Result::Done);
    return groupFolder;
}

bool validates(const QString& desktopEntry) {
    QProcess validate;
    validate.start(QStringLiteral("desktop-file-validate"), {desktopEntry});
    validate.waitForFinished(30000);
    const QByteArray said = validate.readAllStandardOutput() + validate.readAllStandardError();
    if (validate.exitCode() != 0 || said.contains("error")) {
        ADD_FAILURE() << desktopEntry.toStdString() << ": " << said.toStdString();
        return false;
    }
    return true;
}

}  // namespace

TEST(SetupStepsTest, InstallWritesTheFilesTheKeysTheMenuAndThePlaylistType) {
    SetupRig rig;
    RecordingPrompts prompts;
    prompts.answerYes = true;  // a desktop launcher too
    SetupSteps steps(prompts);
    EXPECT_FALSE(SetupSteps::isInstalled());
    const QString group = installAll(rig, steps);

    QStringList expected{"MIDI_Vorlo", "setup",  "ReadMe.txt",         "File_id.diz",        "vorlo-video.so",
                         "help/",      "Reset/", "Reset/Gm_reset.mid", "Reset/Gs_reset.mid", "Reset/Xg_reset.mid"};
    expected << product::helpPages() << product::kSamples;
    expected.sort();
    EXPECT_EQ(SetupRig::tree(rig.programFolder()), expected);
    EXPECT_EQ(SetupRig::read(rig.programFolder() + "/Reset/Xg_reset.mid"), "contents of Xg_reset.mid");
    EXPECT_TRUE(QFileInfo(rig.programFolder() + "/MIDI_Vorlo").isExecutable());  // the mode comes along

    const QString folder = rig.programFolder();
    EXPECT_EQ(SetupRig::value(LM, product::kUninstallKey, "DisplayName"), "MIDI Vorlo");
    EXPECT_EQ(SetupRig::value(LM, product::kUninstallKey, "UninstallString"), folder + "/setup");
    EXPECT_EQ(SetupRig::value(LM, product::kVersionKey), "1.90");
    EXPECT_EQ(SetupRig::value(CU, product::kGroupKey), group);
    EXPECT_EQ(SetupRig::value(CU, product::kFolderKey), folder);
    EXPECT_EQ(SetupRig::value(CR, "MIDI Vorlo MPL File"), "Media Play List File");
    EXPECT_EQ(SetupRig::value(CR, "MIDI Vorlo MPL File\\shell"), "play");
    EXPECT_EQ(SetupRig::value(CR, "MIDI Vorlo MPL File\\shell\\play"), "Play");
    EXPECT_EQ(SetupRig::value(CR, "MIDI Vorlo MPL File\\shell\\play\\command"), folder + "/MIDI_Vorlo /play /close %1");
    EXPECT_EQ(SetupRig::value(CR, "MIDI Vorlo MPL File\\shell\\open"), "Open");
    EXPECT_EQ(SetupRig::value(CR, "MIDI Vorlo MPL File\\shell\\open\\command"), folder + "/MIDI_Vorlo %1");
    EXPECT_EQ(SetupRig::value(CR, ".mpl"), "MIDI Vorlo MPL File");
    EXPECT_FALSE(SetupRig::value(CU, product::kOptionsKey));
    EXPECT_TRUE(SetupSteps::isInstalled());

    EXPECT_EQ(group, rig.applications() + "/MIDI Vorlo");
    EXPECT_EQ(SetupRig::tree(group), QStringList({"MIDI Vorlo Help.desktop", "MIDI Vorlo ReadMe.desktop",
                                                  "MIDI Vorlo Setup.desktop", "MIDI Vorlo.desktop"}));
    for (const QString& entry : SetupRig::tree(group)) EXPECT_TRUE(validates(group + "/" + entry));
    const QString onDesktop = rig.desktop() + "/MIDI Vorlo.desktop";
    EXPECT_TRUE(validates(onDesktop));
    EXPECT_TRUE(QFileInfo(onDesktop).isExecutable());
    EXPECT_TRUE(SetupRig::read(group + "/MIDI Vorlo.desktop").contains("Exec=\"" + folder.toUtf8() + "/MIDI_Vorlo\"") ||
                SetupRig::read(group + "/MIDI Vorlo.desktop").contains("Exec=" + folder.toUtf8() + "/MIDI_Vorlo"));
    EXPECT_TRUE(QFile::exists(rig.home() + "/.config/menus/applications-merged/midi-vorlo.menu"));
    EXPECT_TRUE(QFile::exists(rig.home() + "/.local/share/desktop-directories/midi-vorlo.directory"));
    EXPECT_TRUE(QFile::exists(rig.home() + "/.local/share/mime/packages/midi-vorlo.xml"));
    EXPECT_TRUE(
        SetupRig::read(rig.home() + "/.local/share/mime/packages/midi-vorlo.xml").contains("Media Play List File"));

    QStringList said{"Tasks Complete: " + kCopied,
                     "Create Shortcut: Do you want to create a shortcut to MIDI Vorlo on desktop?"};
    EXPECT_EQ(prompts.texts(), said);
}

TEST(SetupStepsTest, UninstallRemovesOnlyWhatWasInstalledAndGivesBackTheTakenCommands) {
    SetupRig rig;
    RecordingPrompts prompts;
    prompts.answerYes = true;
    SetupSteps steps(prompts);
    const QString group = installAll(rig, steps);
    // What the player writes later, what the user keeps beside it, and the player's options.
    SetupRig::write(rig.programFolder() + "/History.ini", "[History]\n");
    SetupRig::write(rig.programFolder() + "/My song.mid", "mine");
    SetupRig::write(rig.programFolder() + "/Reset/Custom.mid", "mine too");
    Registry user(CU);
    ASSERT_TRUE(user.openKey("\\" + product::kOptionsKey, true));
    user.writeString("Filter", "*.mid");
    // Classes the player took over: .mid's open and play verbs with backups, .wav's open verb never taken.
    Registry classes(CR);
    ASSERT_TRUE(classes.openKey("\\.mid", true));
    classes.writeString("", "midfile");
    ASSERT_TRUE(classes.openKey("\\midfile\\shell\\open\\command", true));
    classes.writeString("", rig.programFolder() + "/MIDI_Vorlo %1");
    classes.writeString("MIDIVorlo.Bak", "timidity \"%1\"");
    ASSERT_TRUE(classes.openKey("\\.wav", true));
    classes.writeString("", "SoundRec");
    ASSERT_TRUE(classes.openKey("\\SoundRec\\shell\\open\\command", true));
    classes.writeString("", "aplay %1");
    ASSERT_TRUE(classes.openKey("\\SoundRec\\shell\\play\\command", true));
    classes.writeString("", "vorlo /play %1");
    classes.writeString("MIDIVorlo.Bak", "paplay %1");

    prompts.messages.clear();
    ASSERT_EQ(steps.uninstall(), Result::Done);
    EXPECT_EQ(SetupRig::tree(rig.programFolder()), QStringList({"My song.mid", "Reset/", "Reset/Custom.mid", "setup"}));
    EXPECT_FALSE(QFileInfo::exists(group));
    EXPECT_FALSE(QFileInfo::exists(rig.desktop() + "/MIDI Vorlo.desktop"));
    EXPECT_FALSE(SetupRig::value(CU, product::kFolderKey));
    EXPECT_FALSE(SetupRig::value(CU, product::kGroupKey));
    EXPECT_FALSE(Registry(CU).keyExists("\\" + product::kOptionsKey));
    EXPECT_FALSE(Registry(CR).keyExists("\\.mpl"));
    EXPECT_FALSE(Registry(CR).keyExists("\\MIDI Vorlo MPL File"));
    EXPECT_EQ(SetupRig::value(LM, product::kVersionKey), "1.90");  // kept, as the uninstall entry is
    EXPECT_EQ(SetupRig::value(CR, "midfile\\shell\\open\\command"), "timidity \"%1\"");
    EXPECT_FALSE(SetupRig::value(CR, "midfile\\shell\\open\\command", "MIDIVorlo.Bak"));
    EXPECT_EQ(SetupRig::value(CR, "SoundRec\\shell\\open\\command"), "aplay %1");  // no backup: kept
    EXPECT_EQ(SetupRig::value(CR, "SoundRec\\shell\\play\\command"), "paplay %1");
    EXPECT_FALSE(QFile::exists(rig.home() + "/.config/menus/applications-merged/midi-vorlo.menu"));
    EXPECT_FALSE(QFile::exists(rig.home() + "/.local/share/desktop-directories/midi-vorlo.directory"));
    EXPECT_FALSE(QFile::exists(rig.home() + "/.local/share/mime/packages/midi-vorlo.xml"));
    ASSERT_EQ(prompts.messages.size(), 2u) << prompts.texts().join('\n').toStdString();
    EXPECT_EQ(prompts.messages[0].text, kAttentionStart + rig.programFolder() +
                                            "'\nYou may check it and manually delete it with the file manager.");
    EXPECT_EQ(prompts.messages[1].caption, "Uninstallation Complete");

    // A second uninstall finds nothing recorded and changes nothing.
    EXPECT_FALSE(SetupSteps::isInstalled());
    const QStringList after = SetupRig::tree(rig.home());
    prompts.messages.clear();
    EXPECT_EQ(steps.uninstall(), Result::Done);
    EXPECT_EQ(SetupRig::tree(rig.home()), after);
}

TEST(SetupStepsTest, TheUninstallLeavesTheHomeAsItWasButForTheProgramFolderAndTheSettings) {
    SetupRig rig;
    SetupRig::write(rig.applications() + "/mine.desktop", "the user's own");  // a folder that was there stays
    const QStringList before = SetupRig::tree(rig.home());
    RecordingPrompts prompts;
    prompts.answerYes = true;
    SetupSteps steps(prompts);
    installAll(rig, steps);
    ASSERT_TRUE(QFile::exists(rig.home() + "/.local/share/mime/mime.cache"));
    ASSERT_TRUE(QFile::exists(rig.desktop() + "/MIDI Vorlo.desktop"));
    ASSERT_EQ(steps.uninstall(), Result::Done);

    // The settings hives stay (with the version key and the uninstall entry); everything else the install made
    // outside the program folder is gone: launchers, menu files, the MIME database and the folders made for them.
    QStringList after;
    for (const QString& path : SetupRig::tree(rig.home()))
        if (!path.startsWith(".config/vorlo")) after << path;
    QStringList expected = before;
    expected << QStringList{".config/", "MIDIVorlo/", "MIDIVorlo/Reset/", "MIDIVorlo/setup"};
    expected.sort();
    EXPECT_EQ(after, expected);
    EXPECT_FALSE(SetupRig::value(LM, product::kUninstallKey, product::kCreatedFoldersValue));
}

TEST(SetupStepsTest, TheUsersOwnMimeTypesKeepTheirDatabaseAfterTheUninstall) {
    SetupRig rig;
    const QString mime = rig.home() + "/.local/share/mime";
    SetupRig::write(mime + "/packages/mine.xml",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                    "  <mime-type type=\"application/x-mine\"><glob pattern=\"*.mine\"/></mime-type>\n"
                    "</mime-info>\n");
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    installAll(rig, steps);
    EXPECT_TRUE(SetupRig::read(mime + "/globs2").contains("audio/x-midi-vorlo-playlist:*.mpl"));
    ASSERT_EQ(steps.uninstall(), Result::Done);
    const QByteArray globs = SetupRig::read(mime + "/globs2");
    EXPECT_TRUE(globs.contains("application/x-mine:*.mine")) << globs.toStdString();
    EXPECT_FALSE(globs.contains("x-midi-vorlo")) << globs.toStdString();
    EXPECT_EQ(SetupRig::tree(mime + "/packages"), QStringList{"mine.xml"});
}

TEST(SetupStepsTest, ThePlaylistTypeIsOursForTheDesktop) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    installAll(rig, steps);
    // A list file as the player writes it; gio answers xdg-mime on GNOME and on the desktops that follow it.
    const QString list = rig.home() + "/songs.mpl";
    SetupRig::write(list, "/home/me/song.mid\r\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CURRENT_DESKTOP", "GNOME");
    QProcess query;
    query.setProcessEnvironment(env);
    query.start("xdg-mime", {"query", "filetype", list});
    ASSERT_TRUE(query.waitForFinished(30000));
    EXPECT_EQ(query.readAllStandardOutput().trimmed(), "audio/x-midi-vorlo-playlist")
        << query.readAllStandardError().toStdString();
}

// The failures of the last step, each with its box and consequence. A hive that cannot be read or written is a
// folder in its file's place.
TEST(SetupStepsTest, CompletionTellsEachKeyItCannotWriteAndEndsOnlyWithoutTheVersionKey) {
    const struct {
        const char* blocked;  // the hive file, or the MIME folder of the user, made unusable
        Result result;
        const char* said;
        bool folderKey;
    } cases[] = {
        {"vorlo/HKEY_LOCAL_MACHINE.reg", Result::EndApplication, "Error - Open Key: Cannot open registry key!", false},
        {"vorlo/HKEY_CURRENT_USER.reg", Result::Done, "Error - Open key: Cannot open regsitry key!", false},
        {"vorlo/HKEY_CLASSES_ROOT.reg", Result::Done, "Error - Open Key: Cannot open registration key!", true},
        {"../.local/share/mime/packages", Result::Done, "Error - Open Key: Cannot open registration key!", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.blocked);
        SetupRig rig;
        RecordingPrompts prompts;
        SetupSteps steps(prompts);
        ASSERT_EQ(steps.copyFiles(rig.dist(), rig.programFolder()), Result::Done);
        const QString group = steps.createGroup(rig.programFolder(), "MIDI Vorlo");
        const QString blocked = rig.home() + "/.config/" + c.blocked;
        QFile::remove(blocked);
        if (QString(c.blocked).endsWith("packages")) {
            QDir(blocked).removeRecursively();
            SetupRig::write(blocked, "a file where the folder goes");
        } else {
            ASSERT_TRUE(QDir().mkpath(blocked));
        }
        prompts.messages.clear();
        EXPECT_EQ(steps.complete(rig.programFolder(), group), c.result);
        EXPECT_EQ(prompts.texts(), QStringList{c.said});
        ASSERT_FALSE(prompts.messages.empty());
        EXPECT_EQ(prompts.messages[0].icon, SetupMessage::Icon::Error);
        if (!QString(c.blocked).contains("HKEY_CURRENT_USER")) {
            EXPECT_EQ(SetupRig::value(CU, product::kFolderKey).has_value(), c.folderKey);
        }
    }
}

TEST(SetupStepsTest, TheProgramFolderForAChosenFolderAndTheDefault) {
    EXPECT_EQ(SetupSteps::folderForSelection("/"), "/MIDIVorlo");
    EXPECT_EQ(SetupSteps::folderForSelection("/media/usb/"), "/media/usb/MIDIVorlo");
    EXPECT_EQ(SetupSteps::folderForSelection("/opt/Program Files"), "/opt/Program Files");
    SetupRig rig;
    EXPECT_EQ(SetupSteps::defaultProgramFolder(), rig.home() + "/MIDIVorlo");
}

TEST(SetupStepsTest, InstallingAgainOverwritesOnlyTheProductsFilesAndKeepsOneGroup) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    const QString group = installAll(rig, steps);
    SetupRig::write(rig.programFolder() + "/History.ini", "kept");
    SetupRig::write(rig.programFolder() + "/ReadMe.txt", "changed by hand");
    SetupRig::write(group + "/Other.desktop", "someone else's");
    const QStringList before = SetupRig::tree(rig.home());

    prompts.messages.clear();
    EXPECT_EQ(installAll(rig, steps), group);
    EXPECT_EQ(SetupRig::tree(rig.home()), before);  // no temporary file left, nothing doubled
    EXPECT_EQ(SetupRig::read(rig.programFolder() + "/ReadMe.txt"), "contents of ReadMe.txt");
    EXPECT_EQ(SetupRig::read(rig.programFolder() + "/History.ini"), "kept");
    EXPECT_TRUE(prompts.has("Directory already exist.", "Directory Exist"));
    EXPECT_TRUE(prompts.has("Program group already exist.", "Group Exist"));
    EXPECT_TRUE(prompts.has(kCopied, "Tasks Complete"));
}

TEST(SetupStepsTest, MissingSongsAreSkippedButAMissingResetFileEndsTheInstallBeforeAnyKey) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    for (const QString& song : product::kSamples) QFile::remove(rig.dist() + "/" + song);
    EXPECT_EQ(steps.copyFiles(rig.dist(), rig.programFolder()), Result::Done);
    EXPECT_FALSE(QFile::exists(rig.programFolder() + "/A_Walk_to_Seashore.mid"));

    SetupRig other;
    RecordingPrompts prompts2;
    SetupSteps steps2(prompts2);
    QFile::remove(other.dist() + "/Xg_reset.mid");
    EXPECT_EQ(steps2.copyFiles(other.dist(), other.programFolder()), Result::EndApplication);
    EXPECT_EQ(prompts2.texts(), QStringList{"Error - Copy File: Cannot copy file 'Xg_reset.mid' to target directory!"});
    EXPECT_FALSE(QFile::exists(other.programFolder() + "/vorlo-video.so"));  // nothing after the failure
    EXPECT_FALSE(SetupRig::value(LM, product::kUninstallKey, "DisplayName"));
}

TEST(SetupStepsTest, AProgramFolderThatCannotBeMadeEndsSetup) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    SetupRig::write(rig.home() + "/afile", "x");
    EXPECT_EQ(steps.copyFiles(rig.dist(), rig.home() + "/afile/MIDIVorlo"), Result::EndApplication);
    EXPECT_EQ(prompts.texts(), QStringList{"Error - Create Directory: Cannot create directory!"});
}

TEST(SetupStepsTest, AGroupHoldingOtherEntriesStopsTheUninstallWithTheKeysInPlace) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    const QString group = installAll(rig, steps);
    SetupRig::write(group + "/Other.desktop", "someone else's");
    prompts.messages.clear();
    EXPECT_EQ(steps.uninstall(), Result::Stopped);
    EXPECT_EQ(prompts.texts(), QStringList{"Error - Remove Directory: Cannot remove directory '" + group + "'!"});
    EXPECT_EQ(SetupRig::tree(group), QStringList{"Other.desktop"});
    EXPECT_FALSE(QFile::exists(rig.programFolder() + "/MIDI_Vorlo"));  // the files went before the group
    EXPECT_EQ(SetupRig::value(CU, product::kFolderKey), rig.programFolder());
    EXPECT_EQ(SetupRig::value(CR, ".mpl"), "MIDI Vorlo MPL File");
}

TEST(SetupStepsTest, AFolderKeyNamingAGoneFolderDeletesNothingAndTheMessageNamesIt) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    installAll(rig, steps);
    const QString gone = rig.home() + "/Moved away";
    Registry user(CU);
    ASSERT_TRUE(user.openKey("\\" + product::kFolderKey, false));
    user.writeString("", gone);
    prompts.messages.clear();
    EXPECT_EQ(steps.uninstall(), Result::Done);
    EXPECT_FALSE(QFileInfo::exists(gone));
    EXPECT_TRUE(QFile::exists(rig.programFolder() + "/MIDI_Vorlo"));
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_TRUE(prompts.messages[0].text.contains("'" + gone + "'"));
    EXPECT_FALSE(SetupRig::value(CU, product::kFolderKey));
}

TEST(SetupStepsTest, TheUninstallNeverFollowsALinkOutOfTheProgramOrGroupFolder) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    const QString group = installAll(rig, steps);
    // Files of the same names elsewhere, reached through links the user put in place of the product's.
    const QString elsewhere = rig.home() + "/elsewhere";
    for (const QString& reset : product::kResetFiles) SetupRig::write(elsewhere + "/" + reset, "not ours");
    SetupRig::write(elsewhere + "/ReadMe.txt", "not ours");
    QDir(rig.programFolder() + "/Reset").removeRecursively();
    ASSERT_TRUE(QFile::link(elsewhere, rig.programFolder() + "/Reset"));
    QFile::remove(rig.programFolder() + "/ReadMe.txt");
    ASSERT_TRUE(QFile::link(elsewhere + "/ReadMe.txt", rig.programFolder() + "/ReadMe.txt"));

    EXPECT_EQ(steps.uninstall(), Result::Done);
    EXPECT_EQ(SetupRig::tree(elsewhere), QStringList({"Gm_reset.mid", "Gs_reset.mid", "ReadMe.txt", "Xg_reset.mid"}));
    EXPECT_FALSE(QFileInfo(rig.programFolder() + "/ReadMe.txt").isSymLink());  // the link itself went
    EXPECT_FALSE(QFileInfo::exists(group));
}

TEST(SetupStepsTest, SetupLinksNoneOfThePlayersLibraries) {
    // setup must run where the player's sound, archive and CD libraries are not installed yet.
    QProcess ldd;
    ldd.start("ldd", {QStringLiteral(VORLO_BUILD_PROGRAM_DIR) + "/setup"});
    ASSERT_TRUE(ldd.waitForFinished(30000));
    const QByteArray libraries = ldd.readAllStandardOutput();
    ASSERT_TRUE(libraries.contains("libQt6Widgets")) << libraries.toStdString();
    for (const char* library : {"fluidsynth", "sndfile", "libzip", "cdio", "Multimedia", "vorlo"})
        EXPECT_FALSE(libraries.contains(library)) << library << " in\n" << libraries.toStdString();
}
