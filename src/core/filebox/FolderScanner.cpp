#include "core/filebox/FolderScanner.h"

#include <QDirIterator>

#include <algorithm>

namespace vorlo {

FolderScanner::FolderScanner(std::shared_ptr<std::atomic<quint64>> latestGeneration)
    : latest_(std::move(latestGeneration)) {}

QStringList FolderScanner::matchingFiles(const QString& folder, const QStringList& patterns,
                                         const std::function<bool()>& superseded) {
    QStringList names;
    if (folder.isEmpty() || patterns.isEmpty()) return names;
    // Name patterns match without regard to case, as the extension tests of the player do: "SONG.MID" is a
    // MIDI file. Hidden files stay hidden, as in the desktop's own file windows.
    QDirIterator it(folder, patterns, QDir::Files | QDir::NoDotAndDotDot);
    int sinceCheck = 0;
    while (it.hasNext()) {
        it.next();
        names.append(it.fileName());
        if (++sinceCheck == 512) {
            sinceCheck = 0;
            if (superseded && superseded()) return {};
        }
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int byLetters = a.compare(b, Qt::CaseInsensitive);
        return byLetters != 0 ? byLetters < 0 : a < b;
    });
    return names;
}

void FolderScanner::scan(quint64 generation, const QString& folder, const QStringList& patterns) {
    const auto superseded = [this, generation] { return latest_->load() != generation; };
    if (superseded()) return;
    QStringList names = matchingFiles(folder, patterns, superseded);
    if (!superseded()) emit scanned(generation, names);
}

}  // namespace vorlo
