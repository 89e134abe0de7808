// Writes the seed corpus of the MIDI fuzz harness: small files of every kind the reader knows,
// the same kinds the reader's tests build.
//
// usage: vorlo_fuzz_midi_seeds FOLDER
#include <cstdio>
#include <filesystem>
#include <string>

#include "midi/ResetMessages.h"
#include "midi/SmfWriter.h"

using vorlo::midi::MetaType;
using vorlo::midi::SmfWriter;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vorlo_fuzz_midi_seeds FOLDER\n", stderr);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    auto save = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        return vorlo::midi::writeBytes((folder / name).string(), bytes);
    };
    bool ok = true;

    SmfWriter formatOne(1, 96);
    formatOne.addTrack().tempo(0, 500000).text(0, MetaType::TrackName, "Seed").text(0, MetaType::Copyright, "(c)");
    formatOne.addTrack()
        .programChange(0, 0, 5)
        .note(0, 96, 0, 60, 100)
        .pitchBend(10, 0, 9000)
        .controlChange(20, 0, 7, 90);
    formatOne.addTrack().tempo(96, 250000).note(96, 48, 9, 36, 100).channelPressure(100, 1, 40);
    ok = save("format1.mid", formatOne.bytes()) && ok;
    ok = save("format1.rmi", vorlo::midi::wrapInRmid(formatOne.bytes())) && ok;

    SmfWriter formatZero(0, 480);
    formatZero.addTrack()
        .sysEx(0, vorlo::midi::kGsReset)
        .raw(10, {0xF0, 0x03, 0x7E, 0x7F, 0x09})
        .raw(12, {0xF7, 0x02, 0x01, 0xF7})
        .raw(20, {0xF7, 0x02, 0xC0, 0x05})
        .note(30, 200, 2, 64, 80)
        .controlChange(40, 2, 101, 0)
        .controlChange(40, 2, 100, 0)
        .controlChange(40, 2, 6, 12);
    ok = save("format0_sysex.mid", formatZero.bytes()) && ok;

    SmfWriter formatTwo(2, 96);
    formatTwo.addTrack().note(0, 192, 0, 60, 100);
    formatTwo.addTrack().tempo(0, 1000000).note(0, 96, 0, 62, 100).withoutRunningStatus();
    ok = save("format2.mid", formatTwo.bytes()) && ok;

    SmfWriter smpte = SmfWriter::smpte(0, 29, 80);
    smpte.addTrack().note(0, 2500, 0, 60, 100).withoutEndOfTrack();
    ok = save("smpte_no_end.mid", smpte.bytes()) && ok;

    SmfWriter karaoke(1, 96);
    karaoke.addTrack().text(0, MetaType::Text, "notes");
    karaoke.addTrack()
        .text(0, MetaType::Text, "@KMIDI KARAOKE FILE")
        .text(96, MetaType::Text, "\\Hel")
        .text(120, MetaType::Text, "/lo");
    karaoke.addTrack().text(48, MetaType::Lyric, "la").note(0, 96, 1, 70, 90);
    ok = save("karaoke.kar", karaoke.bytes()) && ok;

    std::vector<std::uint8_t> truncated = formatOne.bytes();
    truncated.resize(truncated.size() - 7);
    ok = save("truncated.mid", truncated) && ok;

    // Two files joined into one, with texts in Windows Latin-1 and Shift-JIS.
    SmfWriter texts(0, 96);
    texts.addTrack()
        .text(0, MetaType::TrackName, "Caf\xE9")
        .text(0, MetaType::Copyright, "\x93\xFA\x96\x7B")
        .text(0, MetaType::DeviceName, "Port A")
        .note(0, 96, 0, 60, 100);
    std::vector<std::uint8_t> joined = texts.bytes();
    const std::vector<std::uint8_t> second = formatOne.bytes();
    joined.insert(joined.end(), second.begin(), second.end());
    ok = save("joined_texts.mid", joined) && ok;
    return ok ? 0 : 1;
}
