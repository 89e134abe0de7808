// Fuzz target: the settings hive reader. Whatever the bytes, parse() either throws RegistryError or returns a
// hive that writes back and reads again to the same text.
#include "os/RegistryHive.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const vorlo::RegistryHive hive = vorlo::RegistryHive::parse(bytes, QStringLiteral("fuzz.reg"));
        const QByteArray written = hive.serialise();
        const vorlo::RegistryHive again = vorlo::RegistryHive::parse(written, QStringLiteral("again.reg"));
        if (again.serialise() != written) std::abort();
    } catch (const vorlo::RegistryError&) {}
    return 0;
}
