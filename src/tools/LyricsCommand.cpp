// `vorlo lyrics`: a song's words in time, for scripts.
#include <cstdint>
#include <cstdio>
#include <string>

#include "Commands.h"
#include "Usage.h"
#include "midi/Lyrics.h"

namespace vorlo::tools {
namespace {

// "[mm:ss.cc]", as timed lyric files write it.
std::string lrcStamp(std::int64_t ms) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%02lld:%02lld.%02lld]", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000 / 10));
    return stamp;
}

// Control characters would break the one-line layout.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text;
}

void printLines(const midi::SongLyrics& lyrics) {
    if (!lyrics.title.empty()) std::printf("[ti:%s]\n", oneLine(lyrics.title).c_str());
    for (const midi::LyricLine& line : lyrics.lines) {
        if (line.paragraph) std::printf("\n");
        std::printf("%s%s\n", lrcStamp(line.startMs()).c_str(), oneLine(line.text()).c_str());
    }
}

void printSyllables(const midi::SongLyrics& lyrics) {
    for (std::size_t l = 0; l < lyrics.lines.size(); ++l) {
        const midi::LyricLine& line = lyrics.lines[l];
        for (std::size_t s = 0; s < line.syllables.size(); ++s) {
            const char* mark = (s > 0 || l == 0) ? "" : (line.paragraph ? "\\" : "/");
            std::printf("%lld\t%s\t%s\n", static_cast<long long>(line.syllables[s].timeMs), mark,
                        oneLine(line.syllables[s].text).c_str());
        }
    }
}

}  // namespace

int runLyrics(const std::vector<std::string>& args) {
    midi::TextCharset charset = midi::TextCharset::Automatic;
    bool syllables = false;
    std::string path;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--syllables") {
            syllables = true;
        } else if (arg == "--encoding" && i + 1 < args.size()) {
            const std::string& name = args[++i];
            bool known = false;
            for (const midi::TextCharsetName& choice : midi::textCharsets()) {
                if (name == choice.name) {
                    charset = choice.charset;
                    known = true;
                }
            }
            if (!known) {
                std::fprintf(stderr, "vorlo: unknown encoding '%s'\n", name.c_str());
                std::fputs(kLyricsUsage, stderr);
                return kExitUsage;
            }
        } else if (arg == "--" && path.empty() && i + 2 == args.size()) {
            path = args[++i];  // "--" ends the options: the name may begin with "-"
        } else if (path.empty() && (arg.empty() || arg.front() != '-')) {
            path = arg;
        } else {
            std::fputs(kLyricsUsage, stderr);
            return kExitUsage;
        }
    }
    if (path.empty()) {
        std::fputs(kLyricsUsage, stderr);
        return kExitUsage;
    }
    auto read = midi::readLyrics(path, charset);
    if (auto* error = std::get_if<midi::ReadError>(&read)) {
        std::fprintf(stderr, "vorlo: %s: %s\n", path.c_str(), error->text.c_str());
        return kExitFileFailed;
    }
    const midi::SongLyrics& lyrics = std::get<midi::SongLyrics>(read);
    if (lyrics.empty()) {
        std::fprintf(stderr, "vorlo: %s: the song has no lyrics\n", path.c_str());
        return kExitOk;
    }
    if (syllables)
        printSyllables(lyrics);
    else
        printLines(lyrics);
    return kExitOk;
}

}  // namespace vorlo::tools
