#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

TEST_F(VorloTool, UsageErrorsExitWithTwo) {
    EXPECT_EQ(runVorlo("").exitCode, 2);
    EXPECT_EQ(runVorlo("length").exitCode, 2);
    const ToolRun unknown = runVorlo("dance");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.out.find("unknown command 'dance'"), std::string::npos);
}

}  // namespace
}  // namespace vorlo
