#include "midi/TextEncoding.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>

namespace vorlo::midi {
namespace {

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        std::uint32_t code = 0;
        if (byte >= 0xC2 && byte <= 0xDF) {
            more = 1;
            code = byte & 0x1Fu;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            more = 2;
            code = byte & 0x0Fu;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            more = 3;
            code = byte & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= text.size()) return false;
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0u) != 0x80u) return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        if ((more == 2 && code < 0x800) || (more == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

bool isShiftJisLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
bool isShiftJisTrail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

// Valid Shift-JIS that holds a two-byte character led by 0x81 to 0x9F (punctuation, kana and the common kanji).
// Those lead bytes are control codes in Latin-1 and rare marks in Windows Latin-1, followed by a space or the
// end of the text more often than not, so European text does not pass for Japanese.
bool looksLikeShiftJis(std::string_view text) {
    bool commonRow = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF)) continue;  // ASCII, half-width katakana
        if (!isShiftJisLead(byte) || i + 1 >= text.size()) return false;
        if (!isShiftJisTrail(static_cast<unsigned char>(text[i + 1]))) return false;
        commonRow = commonRow || byte <= 0x9F;
        ++i;
    }
    return commonRow;
}

bool convertWithIconv(const char* from, std::string_view text, std::string& out) {
    const iconv_t converter = ::iconv_open("UTF-8", from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    std::string result(text.size() * 4 + 4, '\0');
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* outAt = result.data();
    std::size_t outLeft = result.size();
    const std::size_t done = ::iconv(converter, &in, &inLeft, &outAt, &outLeft);
    ::iconv_close(converter);
    if (done == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    result.resize(result.size() - outLeft);
    out = std::move(result);
    return true;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Windows Latin-1: Latin-1 with typographic marks where Latin-1 has control codes; 0 where it has nothing.
constexpr std::array<std::uint16_t, 32> kWindows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

std::string fromWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0) {
            const std::uint16_t code = kWindows1252High[byte - 0x80];
            appendUtf8(out, code == 0 ? 0xFFFDu : code);
        } else {
            appendUtf8(out, byte);
        }
    }
    return out;
}

// Like convertWithIconv, but what the encoding cannot read becomes U+FFFD (one per byte) and the rest goes on.
std::string convertLeniently(const char* from, std::string_view text) {
    std::string out;
    const iconv_t converter = ::iconv_open("UTF-8", from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return fromWindows1252(text);
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::array<char, 1024> buffer{};
    while (inLeft > 0) {
        char* outAt = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t done = ::iconv(converter, &in, &inLeft, &outAt, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // EILSEQ or EINVAL (a sequence cut short by the end): one byte is unreadable.
        appendUtf8(out, 0xFFFDu);
        ++in;
        --inLeft;
        ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    ::iconv_close(converter);
    return out;
}

constexpr std::array<TextCharsetName, 6> kCharsets{{
    {TextCharset::Automatic, "auto", "&Automatic"},
    {TextCharset::Utf8, "utf-8", "&Unicode (UTF-8)"},
    {TextCharset::Windows1252, "cp1252", "&Western (Windows-1252)"},
    {TextCharset::Windows1250, "cp1250", "&Central European (Windows-1250)"},
    {TextCharset::Windows1251, "cp1251", "C&yrillic (Windows-1251)"},
    {TextCharset::ShiftJis, "shift-jis", "&Japanese (Shift-JIS)"},
}};

}  // namespace

std::span<const TextCharsetName> textCharsets() { return kCharsets; }

TextCharset detectCharset(std::string_view bytes) {
    if (isValidUtf8(bytes)) return TextCharset::Utf8;
    if (looksLikeShiftJis(bytes)) return TextCharset::ShiftJis;
    return TextCharset::Windows1252;
}

std::string songTextToUtf8(std::string_view bytes, TextCharset charset) {
    switch (charset) {
        case TextCharset::Automatic: return songTextToUtf8(bytes);
        case TextCharset::Utf8: return isValidUtf8(bytes) ? std::string(bytes) : convertLeniently("UTF-8", bytes);
        case TextCharset::Windows1252: return fromWindows1252(bytes);
        case TextCharset::Windows1250: return convertLeniently("CP1250", bytes);
        case TextCharset::Windows1251: return convertLeniently("CP1251", bytes);
        case TextCharset::ShiftJis: return convertLeniently("CP932", bytes);
    }
    return fromWindows1252(bytes);
}

std::string songTextToUtf8(std::string_view bytes) {
    if (isValidUtf8(bytes)) return std::string(bytes);
    std::string converted;
    // CP932 is Windows' Shift-JIS, with the marks and kanji that Windows added; plain Shift-JIS where it is missing.
    if (looksLikeShiftJis(bytes) &&
        (convertWithIconv("CP932", bytes, converted) || convertWithIconv("SHIFT_JIS", bytes, converted)))
        return converted;
    return fromWindows1252(bytes);
}

}  // namespace vorlo::midi
