#include "core/settings/ResetModes.h"

#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

class ResetModesTest : public test::PlayerSandbox {
protected:
    void SetUp() override {
        PlayerSandbox::SetUp();
        folder_ = path("program");
        ASSERT_TRUE(test::writeResetFiles(folder_));
    }
    QString gm() const { return folder_ + "//Reset//Gm_reset.mid"; }
    QString folder_;
};

TEST_F(ResetModesTest, TheModeShownFollowsTheResetFileAndWhetherItExists) {
    EXPECT_EQ(ResetModes::modeOf("", folder_), ResetMode::None);
    EXPECT_EQ(ResetModes::modeOf(gm(), folder_), ResetMode::GM);
    EXPECT_EQ(ResetModes::modeOf(folder_ + "//Reset//Xg_reset.mid", folder_), ResetMode::XG);
    // The same file named another way is a customised one.
    EXPECT_EQ(ResetModes::modeOf(folder_ + "/Reset/Gm_reset.mid", folder_), ResetMode::Customized);
    QFile::remove(folder_ + "/Reset/Gm_reset.mid");
    EXPECT_EQ(ResetModes::modeOf(gm(), folder_), ResetMode::Unselected);
}

TEST_F(ResetModesTest, OkTakesTheModesFileOrSaysWhyNot) {
    EXPECT_EQ(ResetModes::choose(ResetMode::GS, "", gm(), folder_).resetFile, folder_ + "//Reset//Gs_reset.mid");
    const ResetChoice none = ResetModes::choose(ResetMode::None, "", gm(), folder_);
    EXPECT_EQ(none.resetFile, "");
    EXPECT_FALSE(none.error);

    // A customised path that is the GM file's path is shown as GM the next time.
    const ResetChoice custom = ResetModes::choose(ResetMode::Customized, gm(), "", folder_);
    EXPECT_FALSE(custom.error);
    EXPECT_EQ(ResetModes::modeOf(custom.resetFile, folder_), ResetMode::GM);

    const ResetChoice empty = ResetModes::choose(ResetMode::Customized, "", gm(), folder_);
    ASSERT_TRUE(empty.error);
    EXPECT_EQ(empty.error->caption, "Error - Reset File");
    EXPECT_EQ(empty.error->text, "You need to either type or browse to fill in a file name for customised MIDI reset.");
    EXPECT_EQ(empty.resetFile, gm());  // the reset file in force stays

    const ResetChoice missing = ResetModes::choose(ResetMode::Customized, path("gone.mid"), gm(), folder_);
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->text,
              "The customised MIDI Reset file that you specified does not exist!  Please check the file name and "
              "path again to ensure everything is correct.");
    EXPECT_EQ(missing.resetFile, gm());
}

TEST_F(ResetModesTest, ACustomisedFileThatIsNoMidiFileIsRefusedWithTheWarning) {
    QFile text(path("notes.mid"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("these are my notes, not a song\n");
    text.close();
    const ResetChoice choice = ResetModes::choose(ResetMode::Customized, path("notes.mid"), gm(), folder_);
    ASSERT_TRUE(choice.error);
    EXPECT_EQ(choice.error->caption, "Warning - Reset File");
    EXPECT_EQ(choice.error->text, "Warning:  Do not fill in any file not for MIDI reset purpose!");
    EXPECT_EQ(choice.error->icon, BoxIcon::Warning);
    EXPECT_EQ(choice.resetFile, gm());
    EXPECT_FALSE(ResetModes::isReadableMidiFile(folder_));  // a folder is no file either
}

TEST_F(ResetModesTest, AMissingModeFileIsTakenButReportedAndNoSelectionMeansNoReset) {
    QFile::remove(folder_ + "/Reset/Gm_reset.mid");
    const ResetChoice gmChoice = ResetModes::choose(ResetMode::GM, "", "", folder_);
    EXPECT_EQ(gmChoice.resetFile, gm());
    ASSERT_TRUE(gmChoice.error);
    EXPECT_EQ(gmChoice.error->text, "The MIDI reset file for this mode is missing!");
    const ResetChoice unselected = ResetModes::choose(ResetMode::Unselected, "", gm(), folder_);
    EXPECT_EQ(unselected.resetFile, "");
    ASSERT_TRUE(unselected.error);
    EXPECT_EQ(unselected.error->text, "The MIDI reset file for this mode is missing!");
}

}  // namespace
