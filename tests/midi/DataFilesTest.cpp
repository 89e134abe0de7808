#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "midi/ResetMessages.h"
#include "midi/SmfReader.h"
#include "midi/SongText.h"
#include "midi/TempoMap.h"

namespace vorlo::midi {
namespace {

// The environment names the program folder; the build's own folder is the fallback.
std::string programFolder() {
    const char* folder = std::getenv("VORLO_PROGRAM_DIR");
    return folder != nullptr && *folder != '\0' ? folder : VORLO_BUILD_PROGRAM_DIR;
}

MidiFile readData(const std::string& name) {
    ReadResult result = readMidiFile(programFolder() + "/" + name);
    if (auto* error = std::get_if<ReadError>(&result))
        ADD_FAILURE() << programFolder() << "/" << name << ": " << error->text;
    return std::get_if<MidiFile>(&result) ? std::get<MidiFile>(std::move(result)) : MidiFile{};
}

template <std::size_t N>
void expectOnlyMessage(const std::string& name, const std::array<std::uint8_t, N>& message) {
    const MidiFile file = readData(name);
    ASSERT_EQ(file.tracks.size(), 1u) << name;
    ASSERT_EQ(file.tracks[0].events.size(), 1u) << name;
    const MidiEvent& event = file.tracks[0].events[0];
    EXPECT_EQ(event.status, kStatusSysEx) << name;
    EXPECT_EQ(event.tick, 0u) << name;
    const auto bytes = file.payloadOf(event);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
              std::vector<std::uint8_t>(message.begin(), message.end()))
        << name;
    EXPECT_TRUE(file.repairs.empty()) << name;
}

TEST(DataFiles, EachResetFileHoldsExactlyItsMessage) {
    expectOnlyMessage("Reset/Gm_reset.mid", kGmSystemOn);
    expectOnlyMessage("Reset/Gs_reset.mid", kGsReset);
    expectOnlyMessage("Reset/Xg_reset.mid", kXgSystemOn);
}

// The sample songs show off the player and its information window.
TEST(DataFiles, SampleSongsHaveMelodyBassDrumsTempoChangesAndTexts) {
    for (const std::string name : {"A_Walk_to_Seashore.mid", "The Waiter and The Reaper.mid"}) {
        const MidiFile file = readData(name);
        ASSERT_GE(file.tracks.size(), 4u) << name;
        EXPECT_TRUE(file.repairs.empty()) << name;
        std::set<int> channelsWithNotes;
        std::set<std::uint32_t> tempos;
        for (const MidiTrack& track : file.tracks)
            for (const MidiEvent& event : track.events) {
                if (event.kind() == 0x90 && event.data2 > 0) channelsWithNotes.insert(event.channel());
                if (event.isMeta(MetaType::Tempo)) tempos.insert(buildTempoMap(file).tempoAt(event.tick));
            }
        EXPECT_GE(channelsWithNotes.size(), 4u) << name;
        EXPECT_TRUE(channelsWithNotes.count(9)) << name << " has no drums";
        EXPECT_GE(tempos.size(), 2u) << name << " has no tempo change";

        const TempoMap tempo = buildTempoMap(file);
        const SongText text = collectSongText(file, tempo);
        ASSERT_GE(text.texts.size(), 3u) << name;
        // The information window reads the leading text events of the first track.
        EXPECT_EQ(text.texts[0].type, MetaType::TrackName) << name;
        EXPECT_EQ(text.texts[0].text + ".mid", name == "A_Walk_to_Seashore.mid" ? "A Walk to Seashore.mid" : name);
        EXPECT_EQ(text.texts[1].type, MetaType::Copyright) << name;
        EXPECT_EQ(text.texts[2].type, MetaType::Text) << name;
        const std::int64_t length = songLengthMs(file, tempo);
        EXPECT_GT(length, 30000) << name;
        EXPECT_LT(length, 150000) << name;
    }
}

}  // namespace
}  // namespace vorlo::midi
