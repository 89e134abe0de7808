// Fuzz target: the History.ini reader, which reads only the head of the file. Whatever the bytes, it returns at
// most 15 entries, none holding a line break; a whole file gives the first lines the list reader gives; and a
// head cut short never yields a line the whole file does not have.
#include "core/playlist/ListFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr qsizetype kEntries = 15;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList all = vorlo::ListFile::parse(bytes);
    const QStringList whole = vorlo::ListFile::parseHead(bytes, false, kEntries);
    if (whole != all.mid(0, kEntries)) std::abort();
    // The same file cut short, as the byte cap cuts a large one: at and just after its first and last line
    // ends, and in the middle.
    const qsizetype cr = bytes.indexOf('\r');
    const qsizetype lf = bytes.indexOf('\n');
    const qsizetype first = cr < 0 ? lf : lf < 0 ? cr : std::min(cr, lf);
    const qsizetype last = std::max(bytes.lastIndexOf('\r'), bytes.lastIndexOf('\n'));
    std::vector<qsizetype> cuts{0, bytes.size() / 2};
    for (const qsizetype at : {first, last}) {
        if (at >= 0) cuts.insert(cuts.end(), {at, at + 1});
    }
    for (const qsizetype cut : cuts) {
        const QStringList head = vorlo::ListFile::parseHead(bytes.left(cut), true, kEntries);
        if (head.size() > kEntries) std::abort();
        for (qsizetype i = 0; i < head.size(); ++i) {
            if (head[i].contains(QLatin1Char('\r')) || head[i].contains(QLatin1Char('\n'))) std::abort();
            if (i >= all.size() || head[i] != all[i]) std::abort();
        }
    }
    return 0;
}
