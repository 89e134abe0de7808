#include "os/TempFolder.h"

#include "os/PrivateFolder.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace vorlo {

QString TempFolder::pathFor(const QString& systemTemp) {
    QString base = systemTemp.isEmpty() ? QDir::tempPath() : systemTemp;
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    return base + QStringLiteral("mvtemp-%1").arg(::geteuid());
}

QString TempFolder::prepare(const QString& path, const std::function<bool(const QString& fileName)>& leftOver) {
    const bool existed = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
    const QString refused = ensurePrivateFolder(path);
    if (!refused.isEmpty() || !existed) return refused;
    const QFileInfoList files = QDir(path).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    if (!leftOver) {
        if (!files.isEmpty()) QFile::remove(files.first().absoluteFilePath());
        return {};
    }
    for (const QFileInfo& file : files) {
        if (!file.isSymLink() && leftOver(file.fileName())) QFile::remove(file.absoluteFilePath());
    }
    return {};
}

bool TempFolder::remove(const QString& path) { return QDir().rmdir(path); }

}  // namespace vorlo
