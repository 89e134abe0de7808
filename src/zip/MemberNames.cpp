#include "zip/MemberNames.h"

#include <algorithm>
#include <cstdint>

namespace vorlo::zip {

namespace {

// U+FFFD, the replacement character, in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at the start of `bytes`, or 0 when there is none.
std::size_t sequenceLength(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

}  // namespace

bool isPlayableExtension(std::string_view lowerCaseExtension) {
    return std::find(kPlayableExtensions.begin(), kPlayableExtensions.end(), lowerCaseExtension) !=
           kPlayableExtensions.end();
}

std::string lowerExtension(std::string_view name) {
    const std::string_view base = baseNameOf(name);
    const std::size_t dot = base.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string extension(base.substr(dot));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

bool isArchivePath(std::string_view path) { return lowerExtension(path) == ".zip"; }

std::string_view baseNameOf(std::string_view storedName) {
    const std::size_t separator = storedName.find_last_of("/\\");
    return separator == std::string_view::npos ? storedName : storedName.substr(separator + 1);
}

bool isSafeBaseName(std::string_view baseName) {
    if (baseName.empty() || baseName == "." || baseName == "..") return false;
    return baseName.find_first_of(std::string_view("\0/\\", 3)) == std::string_view::npos;
}

std::string validUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = sequenceLength(bytes);
        if (length == 0) {
            out += kReplacement;
            bytes.remove_prefix(1);
        } else {
            out.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
        }
    }
    return out;
}

bool isPartialName(std::string_view fileName) {
    return fileName.size() > kPartialPrefix.size() && fileName.substr(0, kPartialPrefix.size()) == kPartialPrefix;
}

}  // namespace vorlo::zip
