#include "core/playlist/MediaPaths.h"

#include "os/NativePath.h"
#include "zip/MemberNames.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <QLatin1StringView>

namespace vorlo {

namespace {
constexpr QChar Separator = QLatin1Char('/');
}

bool IsPlayableExt(const QString& lowerCaseExtension) {
    // One list for the playlist and the archive members it may show.
    for (const std::string_view extension : zip::kPlayableExtensions)
        if (lowerCaseExtension == QLatin1StringView(extension.data(), static_cast<qsizetype>(extension.size())))
            return true;
    return false;
}

QString extensionLowered(const QString& path) {
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

QString fileNamePart(const QString& path) { return path.mid(path.lastIndexOf(Separator) + 1); }

QString folderWithSeparator(const QString& folder) { return folder.endsWith(Separator) ? folder : folder + Separator; }

QString folderOfPath(const QString& path) { return path.left(path.lastIndexOf(Separator) + 1); }

bool fileExists(const QString& path) {
    // One stat() of the path's bytes: a list of 100,000 entries is checked path by path while it loads, and
    // QFileInfo's own bookkeeping would cost several times the system call.
    if (path.isEmpty()) return false;
    struct stat status {};
    return ::stat(encodePath(path).constData(), &status) == 0 && !S_ISDIR(status.st_mode);
}

}  // namespace vorlo
