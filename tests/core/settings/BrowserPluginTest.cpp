#include "core/settings/BrowserPlugin.h"
#include "os/Registry.h"

#include "PlayerSandbox.h"

#include <QDir>
#include <QFile>

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace vorlo;
using Choice = BrowserPlugin::Choice;

namespace {

class BrowserPluginTest : public test::PlayerSandbox {
protected:
    void SetUp() override {
        PlayerSandbox::SetUp();
        QDir().mkpath(path("navigator/plugins"));
    }
    // A browser installed in the test's folder, its command as the class store holds it.
    QString command() const { return path("navigator/NETSCAPE.EXE") + " -h \"%1\""; }
    BrowserPlugin plugin() const { return BrowserPlugin(command()); }
    void put(const char* name) {
        QFile file(path("navigator/plugins/") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("plug-in");
    }
    bool has(const char* name) const { return QFile::exists(path("navigator/plugins/") + name); }
    void expectFileMissing() {
        boxes_.expect("File Missing",
                      "The backup file for \"npaudio.dll\" is missing!  You may need to reinstall Netscape "
                      "Navigator to restore the plug-in.",
                      BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    }
};

TEST_F(BrowserPluginTest, TheBrowserIsKnownByItsProgramNameAndItsPluginsFolderFollows) {
    EXPECT_EQ(BrowserPlugin::pluginFolderOf("C:\\NETSCAPE\\PROGRAM\\NETSCAPE.EXE -h \"%1\""),
              "C:\\NETSCAPE\\PROGRAM\\plugins\\");
    EXPECT_EQ(BrowserPlugin::pluginFolderOf("C:\\Nav\\netscape.exe -h"), "C:\\Nav\\plugins\\");
    EXPECT_EQ(BrowserPlugin::pluginFolderOf("C:\\Nav\\netscape.exe"), "C:\\Nav\\plugins\\");
    EXPECT_EQ(plugin().pluginFolder(), path("navigator/plugins/"));
    for (const char* other : {"C:\\Nav\\netscape.exe %1", "C:\\IE\\iexplore.exe -nohome", "/usr/bin/firefox %u", ""})
        EXPECT_EQ(BrowserPlugin::pluginFolderOf(other), "") << other;
}

TEST_F(BrowserPluginTest, WithoutABrowserCommandTheGroupIsNotOffered) {
    EXPECT_FALSE(BrowserPlugin::read().isAvailable());
    EXPECT_FALSE(Registry(RegistryRoot::ClassesRoot).keyExists("\\http"));  // looked at, not created
    {
        Registry classes(RegistryRoot::ClassesRoot);
        ASSERT_TRUE(classes.openKey("\\http\\shell\\open\\command", true));
        classes.writeString("", command());
    }
    put("npaudio.dll");
    EXPECT_TRUE(BrowserPlugin::read().isAvailable());
}

TEST_F(BrowserPluginTest, WhatTheGroupShowsFollowsThePluginFiles) {
    EXPECT_FALSE(plugin().isAvailable());  // neither file: nothing to remove or restore
    put("npaudio.bak");
    EXPECT_TRUE(plugin().isAvailable());
    EXPECT_EQ(plugin().shownChoice(false, false), Choice::None);
    EXPECT_EQ(plugin().shownChoice(false, true), Choice::ForceAssociation);
    put("npaudio.dll");
    EXPECT_EQ(plugin().shownChoice(true, true), Choice::UseDefault);
}

TEST_F(BrowserPluginTest, ForcingTheAssociationSetsThePluginAsideAndAsksForBothBoxes) {
    put("npaudio.dll");
    EXPECT_TRUE(plugin().apply(Choice::ForceAssociation, false, false));
    EXPECT_FALSE(has("npaudio.dll"));
    EXPECT_TRUE(has("npaudio.bak"));

    // Set aside already and neither type chosen: the user is told that one is needed.
    boxes_.expect("Use MIDI Vorlo as Helper Application",
                  "You need to associate at least one type of file from mid and wav to use MIDI Vorlo as a helper "
                  "application of Netscape Navigator!",
                  BoxIcon::Information, BoxButtons::Ok, BoxButton::Ok);
    EXPECT_FALSE(plugin().apply(Choice::ForceAssociation, false, false));
    EXPECT_FALSE(plugin().apply(Choice::ForceAssociation, true, false));

    // A plug-in back in place while an old one is set aside: the rename fails and nothing is lost.
    put("npaudio.dll");
    boxes_.expect("Cannot Remove Plug-in",
                  "Cannot remove Netscape Audio Plug-in.  Try to close the Navigator and try again", BoxIcon::Error,
                  BoxButtons::Ok, BoxButton::Ok);
    EXPECT_TRUE(plugin().apply(Choice::ForceAssociation, false, false));
    EXPECT_TRUE(has("npaudio.dll"));
    EXPECT_TRUE(has("npaudio.bak"));
}

TEST_F(BrowserPluginTest, TheDefaultPluginComesBackFromItsBackupOrIsReportedMissing) {
    put("npaudio.bak");
    EXPECT_FALSE(plugin().apply(Choice::UseDefault, true, true));
    EXPECT_TRUE(has("npaudio.dll"));
    EXPECT_FALSE(has("npaudio.bak"));
    EXPECT_FALSE(plugin().apply(Choice::UseDefault, true, true));  // in place: nothing to do

    QFile::remove(path("navigator/plugins/npaudio.dll"));
    expectFileMissing();
    plugin().apply(Choice::UseDefault, false, false);
    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_TRUE(boxes_.shown().front().topMost);
}

}  // namespace
