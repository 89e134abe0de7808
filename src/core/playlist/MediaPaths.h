#pragma once

#include <QString>

namespace vorlo {

// True exactly for the extensions the player plays: ".mid", ".wav", ".avi", ".rmi", ".kar", ".cda". The
// extension is compared whole, dot included, and must already be in lower case.
bool IsPlayableExt(const QString& lowerCaseExtension);

// The extension of a path's file name in lower case, with its dot; empty when the name has no dot.
QString extensionLowered(const QString& path);

// The file name part of a path: the text after its last separator.
QString fileNamePart(const QString& path);

// A folder with exactly one separator at its end, ready for a file name to be appended.
QString folderWithSeparator(const QString& folder);

// The folder part of a path, with its trailing separator ("" for a bare name).
QString folderOfPath(const QString& path);

// True for an existing file that is not a folder: only such a path can be played.
bool fileExists(const QString& path);

}  // namespace vorlo
