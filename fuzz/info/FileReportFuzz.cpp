// Fuzz target: the MIDI part of the information window's report. Whatever the bytes, the report is either
// nothing (not a MIDI file) or starts with the format and the track count, and every further line is a text
// line, an empty line or one of the labels.
#include "core/info/FileReport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = vorlo::FileReport::midiLines(bytes);
    if (lines.isEmpty()) return 0;
    if (lines.size() < 2 || !lines[0].startsWith(QStringLiteral("Type:\tMIDI Format ")) ||
        !lines[1].startsWith(QStringLiteral("Track:\t")))
        std::abort();
    const QString format = lines[0].mid(18);
    if (format != QLatin1String("0") && format != QLatin1String("1") && format != QLatin1String("2")) std::abort();
    // "Other Information:" comes once, right after an empty line.
    if (lines.count(QStringLiteral("Other Information:")) > 1) std::abort();
    return 0;
}
