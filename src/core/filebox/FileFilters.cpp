#include "core/filebox/FileFilters.h"

#include <array>

namespace vorlo {

namespace {

const std::array<FileFilter, FileFilters::Count> Entries = {{
    {"(*.avi;*.cda;*.mid;*.rmi;*.wav)", "*.avi;*.cda;*.mid;*.rmi;*.wav"},
    {"MIDI Sequence File(*.mid;*.rmi)", "*.mid;*.rmi"},
    {"Windows Audio File(*.wav)", "*.wav"},
    {"Audio CD Track(*.cda)", "*.cda"},
    {"Video for Windows(*.avi)", "*.avi"},
    {"Media PlayList File(*.mpl)", "*.mpl"},
    {"Zip Files(*.zip)", "*.zip"},
    {"All Files (*.*)", "*.*"},
}};

}  // namespace

const FileFilter& FileFilters::entry(int index) {
    return Entries.at(static_cast<std::size_t>(isValidIndex(index) ? index : 0));
}

QStringList FileFilters::patternsOf(const QString& mask) {
    QStringList patterns;
    for (const QString& part : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern == QLatin1String("*.*"))
            patterns.append(QStringLiteral("*"));
        else if (!pattern.isEmpty())
            patterns.append(pattern);
    }
    return patterns;
}

}  // namespace vorlo
