#include "core/files/FolderHistory.h"

#include "core/playlist/ListFile.h"

#include <QFileInfo>

namespace vorlo {

QString FolderHistory::fileIn(const QString& programFolder) {
    if (programFolder.isEmpty()) return {};
    return programFolder + QStringLiteral("/folder.ini");
}

void FolderHistory::load(const QString& file) {
    folders_.clear();
    if (file.isEmpty() || !QFileInfo::exists(file)) return;
    try {
        folders_ = ListFile::read(file);
    } catch (const EListFileError&) {
        // The history only saves typing: without it the dialog starts with an empty list.
        return;
    }
    while (folders_.size() > kMaxFolders) folders_.removeLast();
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
