#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

namespace vorlo {

// A number that could not be read from a text, as in a ".cda" name without a track number.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The window caption while an entry is open: "Canon.mid - 4:05 - Classics - MIDI Vorlo". `listFile` is the
// playlist's own file ("*.mpl" when it has none, which leaves the list part out).
QString songCaption(const QString& entryName, std::int64_t lengthMs, const QString& listFile);

// The application title made from a caption: at most 63 characters, "..." after the 60th when cut.
QString applicationTitle(const QString& caption);

// The caption while the reset file plays: "GM Reset", "GS Reset", "XG Reset" for the standard files of the
// program folder, "Custom Reset" for any other.
QString resetCaption(const QString& resetFile, const QString& programFolder);

// The caption of a wait between songs: "Waiting 1 second", "Waiting 5 seconds".
QString waitCaption(int seconds);

// The CD track of a ".cda" entry: the decimal number between the last "k" and the last "." of the path
// ("Track07.cda" gives 7). Throws EConvertError when there is no such number.
int cdTrackFromPath(const QString& path);

// "m:ss": minutes not zero-filled, seconds always two digits.
QString minutesSeconds(std::int64_t ms);

}  // namespace vorlo
