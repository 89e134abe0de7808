#include <gtest/gtest.h>

#include <string>

#include "midi/TextEncoding.h"

namespace vorlo::midi {
namespace {

TEST(TextEncoding, Utf8AndAsciiStayAsTheyAre) {
    EXPECT_EQ(songTextToUtf8("Plain title"), "Plain title");
    EXPECT_EQ(songTextToUtf8("Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC"), "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(songTextToUtf8(std::string("a\0b\tc", 5)), std::string("a\0b\tc", 5));  // the caller handles controls
    EXPECT_EQ(songTextToUtf8(""), "");
}

TEST(TextEncoding, EuropeanTextIsReadAsWindowsLatin1) {
    EXPECT_EQ(songTextToUtf8("Caf\xE9 \xE0 la cr\xE8me"), "Caf\xC3\xA9 \xC3\xA0 la cr\xC3\xA8me");
    EXPECT_EQ(songTextToUtf8("\xA9 1996 M\xFCller"), "\xC2\xA9 1996 M\xC3\xBCller");
    // Typographic quotes and the dash that Windows puts where Latin-1 has control codes; 0x93 and 0x94 are also
    // Shift-JIS lead bytes, so this text must not pass for Japanese.
    EXPECT_EQ(songTextToUtf8("\x93Summer\x94 \x96 live"), "\xE2\x80\x9CSummer\xE2\x80\x9D \xE2\x80\x93 live");
    // A byte Windows leaves undefined, and a lone UTF-8 lead byte, still give valid text.
    EXPECT_EQ(songTextToUtf8("abc\x90"), "abc\xEF\xBF\xBD");
    EXPECT_EQ(songTextToUtf8("\xC3"), "\xC3\x83");
}

TEST(TextEncoding, JapaneseTextIsReadAsShiftJis) {
    // "Sakura" in kanji and in hiragana; "Japan" and a long-vowel mark after ASCII; a word in katakana.
    EXPECT_EQ(songTextToUtf8("\x8D\xF7 \x82\xB3\x82\xAD\x82\xE7"), "\xE6\xA1\x9C \xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89");
    EXPECT_EQ(songTextToUtf8("Title: \x93\xFA\x96\x7B\x81\x5B"), "Title: \xE6\x97\xA5\xE6\x9C\xAC\xE3\x83\xBC");
    EXPECT_EQ(songTextToUtf8("\x83\x4A\x83\x89\x83\x49\x83\x50"), "\xE3\x82\xAB\xE3\x83\xA9\xE3\x82\xAA\xE3\x82\xB1");
}

}  // namespace
}  // namespace vorlo::midi
