// Fuzz target: the playlist file reader. Every line it returns was in the input, and writing the lines back
// and reading them again gives the same lines.
#include "core/playlist/ListFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = vorlo::ListFile::parse(bytes);
    for (const QString& line : lines) {
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n'))) std::abort();
    }
    if (vorlo::ListFile::parse(vorlo::ListFile::serialise(lines)) != lines) std::abort();
    return 0;
}
