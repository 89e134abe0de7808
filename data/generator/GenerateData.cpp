// Writes the player's own MIDI data files into the program folder given as the argument:
// the three reset files and the two sample songs.
#include <cstdio>
#include <filesystem>
#include <string>

#include "midi/ResetMessages.h"
#include "midi/SmfWriter.h"
#include "Songs.h"

namespace {

// A reset file holds the reset message and nothing else: one track, the SysEx at its start.
vorlo::midi::SmfWriter resetFile(std::span<const std::uint8_t> message) {
    vorlo::midi::SmfWriter writer(0, 96);
    writer.addTrack().sysEx(0, message);
    return writer;
}

bool write(const vorlo::midi::SmfWriter& writer, const std::filesystem::path& path) {
    if (writer.writeTo(path.string())) return true;
    std::fprintf(stderr, "vorlo_data_generator: cannot write %s\n", path.string().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vorlo_data_generator PROGRAM_FOLDER\n", stderr);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder / "Reset", error);
    bool ok = write(resetFile(vorlo::midi::kGmSystemOn), folder / "Reset" / "Gm_reset.mid");
    ok = write(resetFile(vorlo::midi::kGsReset), folder / "Reset" / "Gs_reset.mid") && ok;
    ok = write(resetFile(vorlo::midi::kXgSystemOn), folder / "Reset" / "Xg_reset.mid") && ok;
    ok = write(vorlo::data::aWalkToSeashore(), folder / "A_Walk_to_Seashore.mid") && ok;
    ok = write(vorlo::data::theWaiterAndTheReaper(), folder / "The Waiter and The Reaper.mid") && ok;
    return ok ? 0 : 1;
}
