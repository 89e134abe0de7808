#include "core/files/FolderHistory.h"

#include "core/playlist/ListFile.h"
#include "os/RegularFile.h"

#include <QFileInfo>

namespace vorlo {

QString FolderHistory::fileIn(const QString& programFolder) {
    if (programFolder.isEmpty()) return {};
    return programFolder + QStringLiteral("/folder.ini");
}

QStringList FolderHistory::parse(const QByteArray& head, bool cut) {
    return ListFile::parseHead(head, cut, kMaxFolders);
}

void FolderHistory::load(const QString& file) {
    folders_.clear();
    if (file.isEmpty() || !QFileInfo::exists(file)) return;
    // Only as much as the kept folders can fill: a huge or endless file (a FIFO, a device) costs nothing. A file
    // that cannot be read leaves the history empty; it only saves typing.
    const FileHead head = readFileHead(file, kMaxReadBytes);
    if (head.error.isEmpty()) folders_ = parse(head.bytes, head.cut);
}

void FolderHistory::save(const QString& file) const {
    if (file.isEmpty()) return;
    // The player's own file: never written through a link.
    ListFile::write(file, folders_, SafeSave::Links::Refuse);
}

void FolderHistory::add(const QString& folder) {
    folders_.removeAll(folder);
    folders_.prepend(folder);
    while (folders_.size() > kMaxFolders) folders_.removeLast();
}

}  // namespace vorlo
