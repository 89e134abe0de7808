#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "ArchiveWriter.h"
#include "midi/SmfWriter.h"

namespace vorlo {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int exitCode = -1;
    std::string out;
};

// Runs a shell command with its stderr folded into the output.
ToolRun runShell(const std::string& command) {
    ToolRun run;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Runs the real `vorlo` program.
ToolRun runVorlo(const std::string& arguments) { return runShell(std::string(VORLO_TOOL) + " " + arguments); }

class VorloTool : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("vorlo-tool-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = (folder_ / name).string();
        EXPECT_TRUE(midi::writeBytes(path, bytes));
        return path;
    }
    std::string quoted(const std::string& path) { return "'" + path + "'"; }

    fs::path folder_;
};

std::vector<std::uint8_t> songOf(std::uint64_t ticks, std::uint32_t tempo) {
    midi::SmfWriter writer(1, 100);
    writer.addTrack()
        .tempo(0, tempo)
        .text(0, midi::MetaType::TrackName, "Sea")
        .text(0, midi::MetaType::Copyright, "(c) 2026");
    writer.addTrack().note(0, ticks, 0, 60, 100).text(50, midi::MetaType::Text, "hello\nthere");
    return writer.bytes();
}

TEST_F(VorloTool, LengthPrintsOneLinePerFileAndErrorLinesInOrder) {
    const std::string first = write("first song.mid", songOf(300, 1000000));
    const std::string broken = write("broken.mid", {'M', 'T', 'h', 'd', 0, 0});
    const std::string rmid = write("wrapped.rmi", midi::wrapInRmid(songOf(150, 200000)));
    const ToolRun run = runVorlo("length " + quoted(first) + " " + quoted(broken) + " " + quoted(rmid));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "3000\t" + first + "\n" + "error\t" + broken + "\tthe MIDI header is truncated\n" + "300\t" +
                           rmid + "\n");
}

TEST_F(VorloTool, LengthOfGoodFilesExitsWithZero) {
    const std::string song = write("a.kar", songOf(100, 500000));
    const ToolRun run = runVorlo("length " + quoted(song));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "500\t" + song + "\n");
}

TEST_F(VorloTool, LengthTakesAnArchiveLikeAListAndLeavesNothingExtractedBehind) {
    const std::vector<std::uint8_t> long_ = songOf(300, 1000000);
    const std::vector<std::uint8_t> short_ = songOf(150, 200000);
    const std::string archive = (folder_ / "Pack.ZIP").string();
    ASSERT_TRUE(
        test::writeArchive(archive, {test::fileMember("top.mid", std::string(long_.begin(), long_.end())),
                                     test::fileMember("docs/readme.txt", "words"),
                                     test::fileMember("songs/../../b.kar", std::string(short_.begin(), short_.end())),
                                     test::fileMember("broken.mid", "MThd")}));
    const std::string loose = write("loose.mid", short_);
    const fs::path scratch = folder_ / "tmp";
    fs::create_directories(scratch);
    const ToolRun run = runShell("TMPDIR=" + quoted(scratch.string()) + " " VORLO_TOOL " length " + quoted(archive) +
                                 " " + quoted(loose));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "3000\t" + archive + "/top.mid\n" + "300\t" + archive + "/songs/../../b.kar\n" + "error\t" +
                           archive + "/broken.mid\tthe MIDI header is truncated\n" + "300\t" + loose + "\n");
    // Each member was extracted into a private folder of its own, which went with the last member.
    EXPECT_TRUE(fs::is_empty(scratch));
    EXPECT_FALSE(fs::exists(folder_ / "b.kar"));

    const ToolRun texts = runVorlo("length " + quoted(loose) + " " + quoted((folder_ / "none.zip").string()));
    EXPECT_EQ(texts.exitCode, 1);
    EXPECT_EQ(texts.out,
              "300\t" + loose + "\nerror\t" + (folder_ / "none.zip").string() + "\tcannot be read: No such file\n");
}

TEST_F(VorloTool, InfoShowsHeaderLengthAndTextEvents) {
    const std::string song = write("info.mid", songOf(6100, 1000000));
    const ToolRun run = runVorlo("info " + quoted(song));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Format:\t1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Tracks:\t2\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Division:\t100 ticks per quarter note\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Length:\t61000 ms (1:01)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("track 0\t0:00\tTrack name\tSea\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("track 0\t0:00\tCopyright\t(c) 2026\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("track 1\t0:00\tText\thello there\n"), std::string::npos) << run.out;
}

// A FIFO named like a song would hold open() for ever: every command refuses it at once. `timeout` stands watch, so
// a hang fails the test (exit 124) instead of blocking the run.
TEST_F(VorloTool, AFifoOrAFolderNamedLikeASongIsRefusedAtOnce) {
    const std::string fifo = (folder_ / "pipe.mid").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string tool = "timeout 60 " + std::string(VORLO_TOOL);
    ToolRun run = runShell(tool + " info " + quoted(fifo));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "vorlo: " + fifo + ": is not a regular file\n");
    run = runShell(tool + " length " + quoted(fifo));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "error\t" + fifo + "\tis not a regular file\n");
    run = runShell(tool + " render --soundfont /usr/share/sounds/sf2/TimGM6mb.sf2 " + quoted(fifo) + " " +
                   quoted((folder_ / "out.wav").string()));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("vorlo: " + fifo + ": is not a regular file\n"), std::string::npos) << run.out;
    fs::create_directory(folder_ / "folder.mid");
    run = runShell(tool + " info " + quoted((folder_ / "folder.mid").string()));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "vorlo: " + (folder_ / "folder.mid").string() + ": is a folder\n");
}

// File names are bytes: a Latin-1 name is read as it is.
TEST_F(VorloTool, InfoReadsAFileWhoseNameIsNoUtf8) {
    const std::string latin1 = write("caf\xe9.mid", songOf(600, 1000000));
    const ToolRun run = runVorlo("info " + quoted(latin1));
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("Length:\t6000 ms (0:06)\n"), std::string::npos) << run.out;
}

TEST_F(VorloTool, SummaryReadsAListWhoseNameIsNoUtf8) {
    const std::string song = write("walk.mid", songOf(600, 1000000));
    const std::string line = song + "\r\n";
    const std::string list = write("list\xe9.mpl", std::vector<std::uint8_t>(line.begin(), line.end()));
    const ToolRun run = runVorlo("summary " + quoted(list));
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("walk.mid"), std::string::npos) << run.out;
}

// Song texts come in whatever encoding the writing program used; a UTF-8 terminal must get UTF-8.
TEST_F(VorloTool, InfoPrintsTextsOfAnyEncodingAsUtf8AndNamesDevicesAndPrograms) {
    midi::SmfWriter writer(1, 96);
    writer.addTrack()
        .text(0, midi::MetaType::TrackName, "Caf\xE9 cr\xE8me")                           // Windows Latin-1
        .text(0, midi::MetaType::Copyright, "\x93\xFA\x96\x7B \x82\xB3\x82\xAD\x82\xE7")  // Shift-JIS
        .text(0, midi::MetaType::DeviceName, "SC-88 Port A")
        .text(0, midi::MetaType::ProgramName, "Grand Piano\r");
    writer.addTrack().note(0, 96, 0, 60, 100);
    const std::string song = write("texts.mid", writer.bytes());
    const ToolRun run = runVorlo("info " + quoted(song));
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("\tTrack name\tCaf\xC3\xA9 cr\xC3\xA8me\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\tCopyright\t\xE6\x97\xA5\xE6\x9C\xAC \xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\tDevice name\tSC-88 Port A\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\tProgram name\tGrand Piano \n"), std::string::npos) << run.out;
}

TEST_F(VorloTool, InfoOfTwoFilesJoinedInOneReadsTheFirstAndSaysSo) {
    std::vector<std::uint8_t> bytes = songOf(100, 500000);
    const std::vector<std::uint8_t> second = songOf(400, 500000);
    bytes.insert(bytes.end(), second.begin(), second.end());
    const std::string song = write("joined.mid", bytes);
    const ToolRun run = runVorlo("info " + quoted(song));
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("Tracks:\t2\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Length:\t500 ms"), std::string::npos) << run.out;
    EXPECT_NE(
        run.out.find("Repaired:\ta second MIDI file follows the first in the same file; only the first is read\n"),
        std::string::npos)
        << run.out;
    EXPECT_EQ(runVorlo("length " + quoted(song)).out, "500\t" + song + "\n");
}

// Every option a command takes is in its help and in its usage line.
TEST_F(VorloTool, HelpAndUsageLinesListEveryOption) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> commands{
        {"render", {"--soundfont", "--rate", "--gain", "--no-reverb", "--no-chorus"}},
        {"play", {"--soundfont", "--gain", "--drivers", "--port", "--cd", "--from", "--to"}},
        {"summary", {"--cd"}},
        {"lyrics", {"--encoding", "--syllables"}},
    };
    const ToolRun overall = runVorlo("--help");
    EXPECT_EQ(overall.exitCode, 0);
    for (const auto& [command, options] : commands) {
        const ToolRun help = runVorlo(command + " --help");
        EXPECT_EQ(help.exitCode, 0) << help.out;
        EXPECT_EQ(help.out.rfind("usage: vorlo " + command + " ", 0), 0u) << help.out;
        const ToolRun wrong = runVorlo(command + " --bogus x");
        EXPECT_EQ(wrong.exitCode, 2) << wrong.out;
        for (const std::string& option : options) {
            EXPECT_NE(help.out.find("\n  " + option + " "), std::string::npos) << command << " " << option;
            EXPECT_NE(wrong.out.find("[" + option), std::string::npos) << command << " " << option << wrong.out;
            EXPECT_NE(overall.out.find("[" + option), std::string::npos) << command << " " << option;
        }
    }
    const ToolRun badGain = runVorlo("render --gain loud a.mid b.wav");
    EXPECT_EQ(badGain.exitCode, 2);
    EXPECT_NE(badGain.out.find("the gain must be a number from 0 to 10"), std::string::npos) << badGain.out;
}

TEST_F(VorloTool, PortsListsTheSequencersOutputPortsOrSaysWhyItCannot) {
    EXPECT_EQ(runVorlo("ports extra").exitCode, 2);
    const ToolRun run = runVorlo("ports");
    if (::access("/dev/snd/seq", F_OK) != 0) {
        // No sequencer here: a clear reason, not an empty list that looks like success.
        EXPECT_EQ(run.exitCode, 3) << run.out;
        EXPECT_NE(run.out.find("no ALSA sequencer (/dev/snd/seq is missing"), std::string::npos) << run.out;
        return;
    }
    EXPECT_EQ(run.exitCode, 0) << run.out;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        int client = -1, port = -1;
        EXPECT_EQ(std::sscanf(line.c_str(), "%d:%d", &client, &port), 2) << line;
        EXPECT_GT(client, 0) << line;  // never the system's own client
    }
}

// Reads the 16-bit samples of a WAV file that `vorlo render` wrote (44-byte header).
std::vector<std::int16_t> wavSamples(const std::string& path, std::string& header) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return {};
    header.resize(44);
    const std::size_t headerBytes = std::fread(header.data(), 1, 44, file);
    header.resize(headerBytes);
    std::vector<std::int16_t> samples;
    std::int16_t sample = 0;
    while (std::fread(&sample, sizeof sample, 1, file) == 1) samples.push_back(sample);
    std::fclose(file);
    return samples;
}

TEST_F(VorloTool, RenderWritesAWavFileThatSoundsWhereTheNotesAre) {
    midi::SmfWriter writer(0, 96);
    writer.addTrack().tempo(0, 500000).note(96, 96, 0, 69, 120);  // 0.5 s .. 1 s
    const std::string song = write("render.mid", writer.bytes());
    const std::string wav = (folder_ / "out.wav").string();
    const ToolRun run =
        runVorlo("render --soundfont /usr/share/sounds/sf2/TimGM6mb.sf2 " + quoted(song) + " " + quoted(wav));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out.rfind("rendered\t", 0), 0u) << run.out;
    std::string header;
    const std::vector<std::int16_t> samples = wavSamples(wav, header);
    ASSERT_EQ(header.substr(0, 4), "RIFF");
    EXPECT_EQ(header.substr(8, 8), "WAVEfmt ");
    ASSERT_GT(samples.size(), 2u * 44100);  // the song and its tail
    auto peak = [&](std::size_t fromFrame, std::size_t toFrame) {
        int level = 0;
        for (std::size_t i = 2 * fromFrame; i < 2 * toFrame && i < samples.size(); ++i)
            level = std::max(level, std::abs(int{samples[i]}));
        return level;
    };
    EXPECT_EQ(peak(0, 22000), 0);        // nothing before the note
    EXPECT_GT(peak(23000, 44000), 300);  // the note
}

// A pedal held down at the song's end no longer keeps an organ sounding: the file ends once the sound has died
// away, shortly after the music, with no sound in its last part.
TEST_F(VorloTool, RenderEndsTheFileWhenTheSoundHasDiedAway) {
    midi::SmfWriter writer(0, 96);
    writer.addTrack()
        .tempo(0, 500000)
        .programChange(0, 0, 16)
        .controlChange(0, 0, 64, 127)
        .note(0, 48, 0, 60, 120)
        .note(0, 48, 0, 67, 120)
        .endAt(96);  // 0.5 s, the pedal down
    const std::string song = write("pedal.mid", writer.bytes());
    const std::string wav = (folder_ / "pedal.wav").string();
    const ToolRun run =
        runVorlo("render --soundfont /usr/share/sounds/sf2/TimGM6mb.sf2 " + quoted(song) + " " + quoted(wav));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    std::string header;
    const std::vector<std::int16_t> samples = wavSamples(wav, header);
    const std::size_t frames = samples.size() / 2;
    EXPECT_GT(frames, 44100u / 2);
    EXPECT_LT(frames, 44100u * 4);  // the release and the echo, not seconds of organ
    int tail = 0;
    for (std::size_t i = samples.size() - 2 * 1024; i < samples.size(); ++i)
        tail = std::max(tail, std::abs(int{samples[i]}));
    EXPECT_LE(tail, 4);
}

// Every channel fortissimo, chords and the drum kit: at a high gain, far over full scale before the limiter.
TEST_F(VorloTool, RenderOfASongBuiltToClipHasNoFullScaleSample) {
    midi::SmfWriter writer(1, 96);
    writer.addTrack().tempo(0, 500000);
    for (int channel = 0; channel < 16; ++channel) {
        auto& track = writer.addTrack();
        track.controlChange(0, channel, 7, 127).programChange(0, channel, 19 + channel * 5);
        for (int key : {36, 40, 43, 48}) track.note(0, 192, channel, key + channel, 127);
    }
    const std::string song = write("dense.mid", writer.bytes());
    const std::string wav = (folder_ / "dense.wav").string();
    const ToolRun run =
        runVorlo("render --gain 3 --soundfont /usr/share/sounds/sf2/TimGM6mb.sf2 " + quoted(song) + " " + quoted(wav));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    std::string header;
    const std::vector<std::int16_t> samples = wavSamples(wav, header);
    ASSERT_FALSE(samples.empty());
    int peak = 0;
    for (const std::int16_t sample : samples) peak = std::max(peak, std::abs(int{sample}));
    EXPECT_LT(peak, 32767);
    EXPECT_GT(peak, 20000);  // loud, held under the ceiling rather than made quiet
}

TEST_F(VorloTool, RenderWithoutASoundFontExitsWithThree) {
    const std::string song = write("x.mid", songOf(100, 500000));
    const ToolRun run =
        runVorlo("render --soundfont /nowhere/x.sf2 " + quoted(song) + " " + quoted((folder_ / "x.wav").string()));
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "vorlo: The soundfont /nowhere/x.sf2 cannot be read.\n");
}

// Ctrl+C while playing: the synthesizer is silenced and the program says so and exits with 130.
// No sound card here: the driver list names none, so the silent clock plays.
TEST_F(VorloTool, PlayStopsCleanlyOnInterrupt) {
    midi::SmfWriter writer(0, 96);
    writer.addTrack().note(0, 96 * 60, 0, 60, 100);  // 30 s
    const std::string song = write("long.mid", writer.bytes());
    const std::string log = (folder_ / "play.log").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<std::string> words{
        VORLO_TOOL, "play", "--drivers", "none", "--soundfont", "/usr/share/sounds/sf2/TimGM6mb.sf2", song};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, VORLO_TOOL, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    auto logText = [&] {
        std::ifstream in(log);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (int i = 0; i < 500 && logText().find("playing\t") == std::string::npos; ++i) ::usleep(10000);
    ASSERT_NE(logText().find("playing\t0:30\t" + song + "\n"), std::string::npos) << logText();
    ::kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_NE(logText().find("vorlo: No audio output could be opened (tried none). Songs play on silently.\n"),
              std::string::npos);
    EXPECT_NE(logText().find("ended\taborted\t" + song + "\n"), std::string::npos) << logText();
    EXPECT_NE(logText().find("vorlo: interrupted\n"), std::string::npos) << logText();
}

// info and length start fast because the program loads neither Qt nor the synthesizer: render and play bring them
// in with the sound module from the program folder.
TEST_F(VorloTool, TheProgramNeedsNoQtNorSynthesizerAndSaysSoWhenTheSoundModuleIsMissing) {
    const ToolRun dynamic = runShell("readelf -d " VORLO_TOOL);
    ASSERT_NE(dynamic.out.find("(NEEDED)"), std::string::npos) << dynamic.out;
    EXPECT_EQ(dynamic.out.find("libQt6"), std::string::npos) << dynamic.out;
    EXPECT_EQ(dynamic.out.find("libfluidsynth"), std::string::npos) << dynamic.out;
    EXPECT_EQ(dynamic.out.find("libzip"), std::string::npos) << dynamic.out;  // archives load it with their module

    const fs::path alone = folder_ / "vorlo";
    fs::copy_file(VORLO_TOOL, alone);
    const std::string song = write("x.mid", songOf(100, 500000));
    const ToolRun length = runShell(alone.string() + " length " + quoted(song));
    EXPECT_EQ(length.exitCode, 0) << length.out;
    EXPECT_EQ(length.out, "500\t" + song + "\n");
    const ToolRun render =
        runShell(alone.string() + " render " + quoted(song) + " " + quoted((folder_ / "x.wav").string()));
    EXPECT_EQ(render.exitCode, 3);
    EXPECT_EQ(
        render.out.rfind(
            "vorlo: render needs the sound module, which cannot be loaded: " + folder_.string() + "/vorlo-sound.so", 0),
        0u)
        << render.out;
}

TEST_F(VorloTool, LyricsPrintsTheWordsInTimeLineBySyllableByAndSaysWhenThereAreNone) {
    midi::SmfWriter writer(1, 100);
    writer.addTrack().tempo(0, 1000000).note(0, 800, 0, 60, 100);  // a tick is 10 ms
    writer.addTrack()
        .text(0, midi::MetaType::Text, "@KMIDI KARAOKE FILE")
        .text(0, midi::MetaType::Text, "@TSea\tSong")
        .text(150, midi::MetaType::Text, "Hel")
        .text(200, midi::MetaType::Text, "lo")
        .text(6123, midi::MetaType::Text,
              "\\\xc4"
              "ark");
    const std::string kar = write("-song.kar", writer.bytes());
    ToolRun run = runVorlo("lyrics -- " + quoted(kar));
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, "[ti:Sea Song]\n[00:01.50]Hello\n\n[01:01.23]\u00c4ark\n");
    run = runVorlo("lyrics --syllables --encoding cp1251 -- " + quoted(kar));
    EXPECT_EQ(run.out, "1500\t\tHel\n2000\t\tlo\n61230\t\\\t\u0414ark\n");

    const std::string plain = write("plain.mid", songOf(100, 500000));
    run = runVorlo("lyrics " + quoted(plain));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "vorlo: " + plain + ": the song has no lyrics\n");
    const std::string broken = write("broken.mid", {'M', 'T', 'h', 'd', 0, 0});
    EXPECT_EQ(runVorlo("lyrics " + quoted(broken)).exitCode, 1);
    EXPECT_EQ(runVorlo("lyrics " + quoted(plain) + " " + quoted(plain)).exitCode, 2);
    EXPECT_EQ(runVorlo("lyrics --encoding ebcdic " + quoted(plain)).exitCode, 2);
}

TEST_F(VorloTool, UsageErrorsExitWithTwo) {
    EXPECT_EQ(runVorlo("").exitCode, 2);
    EXPECT_EQ(runVorlo("length").exitCode, 2);
    const ToolRun unknown = runVorlo("dance");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.out.find("unknown command 'dance'"), std::string::npos);
}

}  // namespace
}  // namespace vorlo
