#pragma once

#include <QString>
#include <QStringList>

namespace vorlo {

// The entries of the file type filter: the text shown and the mask given to the file list.
struct FileFilter {
    const char* text;
    const char* mask;
};

class FileFilters {
public:
    static constexpr int Count = 8;
    // The entry that lists zip archives: with it the add buttons stay off, archives open by double click.
    static constexpr int ZipIndex = 6;
    static constexpr const char* InitialMask = "*.avi;*.cda;*.mid;*.rmi;*.wav";

    static const FileFilter& entry(int index);
    static bool isValidIndex(int index) { return index >= 0 && index < Count; }

    // The name patterns of a mask ("*.mid;*.rmi"). "*.*" means every file, with or without an extension.
    static QStringList patternsOf(const QString& mask);
};

}  // namespace vorlo
