#pragma once
// Song texts (titles, copyrights, lyrics, the names of instruments and devices) are 8-bit text of no stated encoding:
// what the program that wrote the file used. Most are ASCII; European files use the Windows code page (Latin-1 and
// the typographic marks Windows adds to it), Japanese files Shift-JIS, newer files UTF-8.
#include <span>
#include <string>
#include <string_view>

namespace vorlo::midi {

// The text as UTF-8: as it is when it is valid UTF-8; else Shift-JIS when it reads as Japanese text (valid
// Shift-JIS with at least one two-byte character of the common kana and kanji rows, which Windows Latin-1 text
// never forms); else Windows Latin-1 (code page 1252), a byte it leaves undefined becoming U+FFFD.
// Control characters and NUL bytes are kept: the caller decides how to show them.
std::string songTextToUtf8(std::string_view bytes);

// The encodings a song's texts may be read in: Automatic decides as songTextToUtf8 does; the others are what
// karaoke files commonly use, for texts the automatic choice reads wrongly.
enum class TextCharset { Automatic, Utf8, Windows1252, Windows1250, Windows1251, ShiftJis };

struct TextCharsetName {
    TextCharset charset;
    const char* name;   // for the command line and the settings: "auto", "utf-8", "cp1252", ...
    const char* label;  // for menus: "&Western (Windows-1252)", ...
};
// Every choice, Automatic first.
std::span<const TextCharsetName> textCharsets();

// What Automatic makes of these bytes: Utf8, ShiftJis or Windows1252.
TextCharset detectCharset(std::string_view bytes);

// The text as UTF-8 read in `charset`; a byte or sequence that charset cannot read becomes U+FFFD.
std::string songTextToUtf8(std::string_view bytes, TextCharset charset);

}  // namespace vorlo::midi
