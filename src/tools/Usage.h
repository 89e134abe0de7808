#pragma once
// What `vorlo` says about its commands: the usage lines (on a usage error) and each command's help (COMMAND --help).
// Shared by the program and the sound module, so both say the same.
namespace vorlo::tools {

inline constexpr const char* kInfoUsage = "usage: vorlo info FILE...\n";
inline constexpr const char* kLengthUsage = "usage: vorlo length FILE...\n";
inline constexpr const char* kLyricsUsage = "usage: vorlo lyrics [--encoding NAME] [--syllables] FILE\n";
inline constexpr const char* kRenderUsage =
    "usage: vorlo render [--soundfont SF2] [--rate HZ] [--gain G] [--no-reverb] [--no-chorus] FILE OUT.wav\n";
inline constexpr const char* kPlayUsage =
    "usage: vorlo play [--soundfont SF2] [--gain G] [--drivers LIST] [--port CLIENT:PORT] [--cd DEVICE|CUE] "
    "[--from MS] [--to MS] FILE...\n";
inline constexpr const char* kPortsUsage = "usage: vorlo ports\n";
inline constexpr const char* kSummaryUsage = "usage: vorlo summary [--cd DEVICE|CUE] LIST.mpl\n";

inline constexpr const char* kPortsHelp =
    "Lists the ALSA sequencer's output ports that MIDI can be sent to (external synthesizers), one a line:\n"
    "CLIENT:PORT, the client's name and the port's name.\n";
inline constexpr const char* kInfoHelp =
    "Prints what a MIDI file holds: format, tracks, time division, length, its texts (titles, copyrights, lyrics,\n"
    "instrument, program and device names; printed as UTF-8) and what had to be repaired to read it.\n";
inline constexpr const char* kLengthHelp =
    "Prints the length of each MIDI file in milliseconds, one line per file; a file that cannot be read gives a\n"
    "line that starts with \"error\".\n";
inline constexpr const char* kLyricsHelp =
    "Prints the words of a song in time: its karaoke text (.kar) or its lyric events, one line of the song per\n"
    "line as \"[mm:ss.cc]words\", the title as \"[ti:title]\" and an empty line before each paragraph.\n"
    "  --syllables       one syllable per line instead: milliseconds, a tab, \"/\" when it starts a line or \"\\\"\n"
    "                    when it starts a paragraph, a tab, the syllable\n"
    "  --encoding NAME   read the texts as auto (the default), utf-8, cp1252, cp1250, cp1251 or shift-jis\n";
inline constexpr const char* kSoundOptionsHelp =
    "  --soundfont SF2   the soundfont (default: $VORLO_SOUNDFONT, then the system's General MIDI soundfont)\n"
    "  --gain G          the synthesizer's gain, 0 to 10 (default: the level that suits the soundfont)\n";
inline constexpr const char* kRenderHelp =
    "Renders a MIDI file through the soundfont synthesizer into a 16-bit stereo WAV file, as fast as it can.\n"
    "The file ends when the last sound has died away. A limiter keeps every sample below full scale.\n";
inline constexpr const char* kRenderOptionsHelp =
    "  --rate HZ         the sample rate, 8000 to 192000 (default 44100)\n"
    "  --no-reverb       without the synthesizer's reverb\n"
    "  --no-chorus       without the synthesizer's chorus\n";
inline constexpr const char* kPlayHelp =
    "Plays media files (MIDI, wave audio, video, CD tracks) one after another through the player's media device.\n"
    "Prints \"playing\" with the length when a file starts and \"ended\" with the device's report when it ends.\n";
inline constexpr const char* kPlayOptionsHelp =
    "  --drivers LIST    the audio drivers to try, in order, separated by commas (\"none\": play silently)\n"
    "  --port CLIENT:PORT  MIDI files play on the external synthesizer at this ALSA sequencer port (as `vorlo ports`\n"
    "                      lists them) instead of the built-in one\n"
    "  --cd DEVICE|CUE   the CD drive, or the CUE sheet of a disc image, that .cda files play from\n"
    "  --from MS         start this many milliseconds into each file (or CD track)\n"
    "  --to MS           end this many milliseconds into each file; not before --from\n";
inline constexpr const char* kSummaryHelp =
    "Prints the playlist summary the player shows: the list's name, each entry with its length (\"Error!\" when it\n"
    "cannot be measured), the number of files and the total length.\n";
inline constexpr const char* kSummaryOptionsHelp =
    "  --cd DEVICE|CUE   the CD drive, or the CUE sheet of a disc image, whose table of contents gives .cda lengths\n";
inline constexpr const char* kArchivesHelp =
    "length and play take a FILE ending in .zip as its playable members, in archive order\n";
inline constexpr const char* kExitCodesHelp =
    "exit codes: 0 done, 1 a file failed, 2 usage, 3 no synthesizer, 130 interrupted\n";

}  // namespace vorlo::tools
