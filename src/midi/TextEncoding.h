#pragma once
// Song texts (titles, copyrights, lyrics, the names of instruments and devices) are 8-bit text of no stated encoding:
// what the program that wrote the file used. Most are ASCII; European files use the Windows code page (Latin-1 and
// the typographic marks Windows adds to it), Japanese files Shift-JIS, newer files UTF-8.
#include <string>
#include <string_view>

namespace vorlo::midi {

// The text as UTF-8: as it is when it is valid UTF-8; else Shift-JIS when it reads as Japanese text (valid
// Shift-JIS with at least one two-byte character of the common kana and kanji rows, which Windows Latin-1 text
// never forms); else Windows Latin-1 (code page 1252), a byte it leaves undefined becoming U+FFFD.
// Control characters and NUL bytes are kept: the caller decides how to show them.
std::string songTextToUtf8(std::string_view bytes);

}  // namespace vorlo::midi
