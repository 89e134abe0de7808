// Fuzz target: the folder.ini reader of the copy and move dialog, which reads only the head of the file, and the
// path codec its lines go through. Whatever the bytes, at most 15 folders come out, none holding a line break; a
// whole file gives the first lines the list reader gives; a head cut short never yields a line the whole file does
// not have; and every byte string comes back from the codec as it was.
#include "core/files/FolderHistory.h"
#include "core/playlist/ListFile.h"
#include "os/NativePath.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (vorlo::encodePath(vorlo::decodePath(bytes)) != bytes) std::abort();
    const QStringList all = vorlo::ListFile::parse(bytes);
    const QStringList whole = vorlo::FolderHistory::parse(bytes, false);
    if (whole != all.mid(0, vorlo::FolderHistory::kMaxFolders)) std::abort();
    // Written and read again, the folders are the same: no byte of a name is lost on the way.
    if (vorlo::ListFile::parse(vorlo::ListFile::serialise(whole)) != whole) std::abort();
    for (const qsizetype cut : {qsizetype{0}, bytes.size() / 3, bytes.size() / 2, bytes.size() - 1}) {
        if (cut < 0) continue;
        const QStringList head = vorlo::FolderHistory::parse(bytes.left(cut), true);
        if (head.size() > vorlo::FolderHistory::kMaxFolders) std::abort();
        for (qsizetype i = 0; i < head.size(); ++i) {
            if (head[i].contains(QLatin1Char('\r')) || head[i].contains(QLatin1Char('\n'))) std::abort();
            if (i >= all.size() || head[i] != all[i]) std::abort();
        }
    }
    return 0;
}
