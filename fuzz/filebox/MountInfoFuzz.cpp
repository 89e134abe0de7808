// Fuzz target: the mount table reader. Every drive it gives is an absolute path, the root comes first and
// no drive is given twice.
#include "os/Drives.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList drives = vorlo::Drives::drivesOf(bytes);
    if (drives.isEmpty() || drives.first() != QLatin1String("/")) std::abort();
    for (const QString& drive : drives) {
        if (!drive.startsWith(QLatin1Char('/')) || drives.count(drive) != 1) std::abort();
        if (vorlo::Drives::driveOf(drive, drives) != drive) std::abort();
    }
    return 0;
}
