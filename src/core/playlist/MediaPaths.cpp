#include "core/playlist/MediaPaths.h"

#include <QFileInfo>
#include <QLatin1StringView>

namespace vorlo {

namespace {
constexpr QChar Separator = QLatin1Char('/');
}

bool IsPlayableExt(const QString& lowerCaseExtension) {
    static const QLatin1StringView playable[] = {QLatin1StringView(".mid"), QLatin1StringView(".wav"),
                                                 QLatin1StringView(".avi"), QLatin1StringView(".rmi"),
                                                 QLatin1StringView(".kar"), QLatin1StringView(".cda")};
    for (const QLatin1StringView& extension : playable)
        if (lowerCaseExtension == extension) return true;
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
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

}  // namespace vorlo
