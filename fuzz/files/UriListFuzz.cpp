// Fuzz target: the reader of dropped file lists. Every path it gives is absolute and reaches exactly the bytes the
// URI named (so the file added is the file dropped), and no more paths come out than lines went in.
#include "core/files/UriList.h"
#include "os/NativePath.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const vorlo::UriList list = vorlo::UriList::parse(bytes);
    if (list.paths.size() > bytes.count('\n') + 1) std::abort();
    for (const QString& path : list.paths) {
        if (!path.startsWith(QLatin1Char('/'))) std::abort();
        if (vorlo::decodePath(vorlo::encodePath(path)) != path) std::abort();
    }
    return 0;
}
