#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vorlo::zip {

// The extensions the player plays, in lower case with their dot: ".mid", ".wav", ".avi", ".rmi", ".kar", ".cda".
inline constexpr std::array<std::string_view, 6> kPlayableExtensions{".mid", ".wav", ".avi", ".rmi", ".kar", ".cda"};

// True exactly for one of kPlayableExtensions; the extension must already be in lower case.
bool isPlayableExtension(std::string_view lowerCaseExtension);

// The extension of a name's last part in lower case (ASCII letters only), with its dot; empty without a dot.
std::string lowerExtension(std::string_view name);

// True for a path whose extension is ".zip" in any case: an archive to be taken like a list.
bool isArchivePath(std::string_view path);

// The part of a stored member name after its last "/" or "\": the name a member is written under. Archive
// folders, drive letters and leading slashes are never part of it.
std::string_view baseNameOf(std::string_view storedName);

// A base name that can be written into a folder and land there: not empty, not "." or "..", and without a NUL,
// "/" or "\". Every member is checked against this before a byte of it is written.
bool isSafeBaseName(std::string_view baseName);

// `bytes` as valid UTF-8: every byte that does not begin a well-formed sequence becomes U+FFFD.
std::string validUtf8(std::string_view bytes);

// Names of the files an extraction writes before it is complete. Only such names and members' base names are
// ever written into the extraction folder.
inline constexpr std::string_view kPartialPrefix = ".mvpart-";
bool isPartialName(std::string_view fileName);

}  // namespace vorlo::zip
