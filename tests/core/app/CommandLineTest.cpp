#include "core/app/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

TEST(CommandLineTest, SwitchesIgnoreCaseAndModesEndAtTheFirstOtherArgument) {
    const CommandLine line = CommandLine::parse({"/PLAY", "/mode", "+s", "+L", "-a", "+x", "My", "Song.mid", "/Close"});
    EXPECT_TRUE(line.playOnStart);
    EXPECT_TRUE(line.closeAfterPlay);
    ASSERT_EQ(line.modeChanges.size(), 3u);  // "+x" is not a mode and is ignored
    EXPECT_EQ(line.modeChanges[0].mode, 's');
    EXPECT_TRUE(line.modeChanges[0].on);
    EXPECT_EQ(line.modeChanges[1].mode, 'l');
    EXPECT_EQ(line.modeChanges[2].mode, 'a');
    EXPECT_FALSE(line.modeChanges[2].on);
    // A path with blanks given without quotes comes back whole.
    EXPECT_EQ(line.fileArgument, "My Song.mid");
}

TEST(CommandLineTest, UnknownSwitchesAndEmptyArgumentsAreIgnored) {
    const CommandLine line = CommandLine::parse({"/verbose", "", "a", "", "b ", "/mode"});
    EXPECT_FALSE(line.playOnStart || line.closeAfterPlay);
    EXPECT_TRUE(line.modeChanges.empty());
    EXPECT_EQ(line.fileArgument, "a b");
}

TEST(CommandLineTest, AnAbsolutePathIsAFileNotASwitch) {
    const CommandLine line = CommandLine::parse({"/play", "/home/me/My", "Song.mid"});
    EXPECT_TRUE(line.playOnStart);
    EXPECT_EQ(line.fileArgument, "/home/me/My Song.mid");
}

class HandOverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QDir(dir_.path()).mkdir("program");
        for (const char* name : {"song.MID", "list.mpl", "notes.txt", "program/demo.kar", "with blank.wav"}) {
            QFile f(dir_.path() + "/" + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }
    QString path(const QString& name) const { return dir_.path() + "/" + name; }
    QTemporaryDir dir_;
};

TEST_F(HandOverTest, ThePlayCommandsPrefixIsStrippedAndAPlainPathIsKept) {
    const HandOver prefixed = HandOver::resolve("/play /close " + path("song.MID"), dir_.path() + "/program");
    EXPECT_EQ(prefixed.kind, HandOver::Kind::Media);  // the extension test ignores case
    EXPECT_EQ(prefixed.path, path("song.MID"));
    // Every absolute path here starts with "/": without the prefix nothing may be cut off.
    const HandOver plain = HandOver::resolve(path("with blank.wav"), {});
    EXPECT_EQ(plain.kind, HandOver::Kind::Media);
    EXPECT_EQ(plain.path, path("with blank.wav"));
}

TEST_F(HandOverTest, ListsAreTakenOtherFilesAndMissingOnesIgnored) {
    EXPECT_EQ(HandOver::resolve(path("list.mpl"), {}).kind, HandOver::Kind::List);
    EXPECT_EQ(HandOver::resolve(path("notes.txt"), {}).kind, HandOver::Kind::Ignore);
    EXPECT_EQ(HandOver::resolve(path("gone.mid"), dir_.path() + "/program").kind, HandOver::Kind::Ignore);
}

TEST_F(HandOverTest, ANameNotFoundIsLookedForInTheProgramFolder) {
    const HandOver found = HandOver::resolve("demo.kar", dir_.path() + "/program");
    EXPECT_EQ(found.kind, HandOver::Kind::Media);
    EXPECT_EQ(found.path, dir_.path() + "/program/demo.kar");
}

}  // namespace
