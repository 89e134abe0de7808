#include "core/playback/Captions.h"

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

TEST(CaptionsTest, TheSongCaptionNamesFileLengthAndList) {
    EXPECT_EQ(songCaption("Canon.mid", 245000, "/lists/Classics.mpl"), "Canon.mid - 4:05 - Classics - MIDI Vorlo");
    EXPECT_EQ(songCaption("Canon.mid", 187999, "*.mpl"), "Canon.mid - 3:07 - MIDI Vorlo");
    EXPECT_EQ(minutesSeconds(59000), "0:59");
    EXPECT_EQ(minutesSeconds(3600000), "60:00");
}

TEST(CaptionsTest, ALongTitleIsCutAfterSixtyCharacters) {
    const QString seventy(70, 'x');
    EXPECT_EQ(applicationTitle(seventy), QString(60, 'x') + "...");
    EXPECT_EQ(applicationTitle(QString(63, 'y')), QString(63, 'y'));
}

TEST(CaptionsTest, ResetAndWaitCaptions) {
    EXPECT_EQ(resetCaption("/opt/mv//Reset//Gs_reset.mid", "/opt/mv"), "GS Reset");
    EXPECT_EQ(resetCaption("/opt/mv/Reset/Gs_reset.mid", "/opt/mv"), "Custom Reset");  // compared exactly
    EXPECT_EQ(waitCaption(1), "Waiting 1 second");
    EXPECT_EQ(waitCaption(5), "Waiting 5 seconds");
}

TEST(CaptionsTest, TheCdTrackIsTheNumberAfterTheLastK) {
    EXPECT_EQ(cdTrackFromPath("/media/cd/Track07.cda"), 7);
    EXPECT_EQ(cdTrackFromPath("/kk/Track12.cda"), 12);
    EXPECT_THROW(cdTrackFromPath("/media/cd/Song.cda"), EConvertError);
    EXPECT_THROW(cdTrackFromPath("/media/cd/TrackXY.cda"), EConvertError);
}

}  // namespace
