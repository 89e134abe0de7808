#include <gtest/gtest.h>

#include "media/audio/SongPresets.h"
#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"

namespace vorlo::audio {
namespace {

midi::MidiFile parsed(const midi::SmfWriter& writer) {
    const std::vector<std::uint8_t> bytes = writer.bytes();
    midi::ReadResult result = midi::readMidi(bytes);
    EXPECT_TRUE(std::holds_alternative<midi::MidiFile>(result));
    return std::get<midi::MidiFile>(std::move(result));
}

TEST(SongPresets, ProgramsTakeTheBankOfTheLastBankSelectInTimeAcrossTracks) {
    midi::SmfWriter writer(1, 96);
    // Track 1 changes programs; track 2 selects the banks, between them in time.
    writer.addTrack()
        .programChange(0, 0, 48)
        .programChange(100, 0, 49)
        .programChange(300, 0, 50)
        .programChange(300, 1, 24);
    writer.addTrack().controlChange(50, 0, 0, 8).controlChange(200, 0, 0, 0).controlChange(50, 0, 32, 5);
    const std::vector<PresetRef> expected{{0, 0}, {0, 24}, {0, 48}, {0, 50}, {8, 49}, {kPercussionBank, 0}};
    EXPECT_EQ(presetsOfSong(parsed(writer)), expected);
}

TEST(SongPresets, ThePercussionChannelTakesKitsFromBank128AndIgnoresBankSelects) {
    midi::SmfWriter writer(0, 96);
    writer.addTrack()
        .controlChange(0, 9, 0, 8)
        .programChange(0, 9, 25)
        .programChange(500, 9, 40)
        .note(0, 10, 9, 36, 100);
    const std::vector<PresetRef> expected{{0, 0}, {kPercussionBank, 0}, {kPercussionBank, 25}, {kPercussionBank, 40}};
    EXPECT_EQ(presetsOfSong(parsed(writer)), expected);
}

TEST(SongPresets, ASongWithoutProgramChangesNeedsThePowerOnPresetsOnly) {
    midi::SmfWriter writer(0, 96);
    writer.addTrack().note(0, 96, 0, 60, 100).note(0, 96, 9, 38, 100);
    const std::vector<PresetRef> expected{{0, 0}, {kPercussionBank, 0}};
    EXPECT_EQ(presetsOfSong(parsed(writer)), expected);
}

}  // namespace
}  // namespace vorlo::audio
