#include "core/filebox/FolderScanner.h"

#include "os/NativePath.h"

#include <QRegularExpression>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace vorlo {

namespace {

// Letters without regard to case, ties by exact text: the order the file box shows.
void sortAsShown(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int byLetters = a.compare(b, Qt::CaseInsensitive);
        return byLetters != 0 ? byLetters < 0 : a < b;
    });
}

}  // namespace

FolderScanner::FolderScanner(std::shared_ptr<std::atomic<quint64>> latestGeneration)
    : latest_(std::move(latestGeneration)) {}

QStringList FolderScanner::matchingFiles(const QString& folder, const QStringList& patterns,
                                         const std::function<bool()>& superseded) {
    QStringList names;
    if (folder.isEmpty() || patterns.isEmpty()) return names;
    // Name patterns match without regard to case, as the extension tests of the player do: "SONG.MID" is a
    // MIDI file. Hidden files stay hidden, as in the desktop's own file windows.
    std::vector<QRegularExpression> matchers;
    for (const QString& pattern : patterns)
        matchers.push_back(QRegularExpression::fromWildcard(pattern, Qt::CaseInsensitive));
    // The folder is read by its bytes, not through QDir, which would turn a name that is no UTF-8 into another.
    const QByteArray native = encodePath(folder);
    DIR* dir = ::opendir(native.constData());
    if (dir == nullptr) return names;
    const int dirFd = ::dirfd(dir);
    int sinceCheck = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        if (++sinceCheck == 512) {
            sinceCheck = 0;
            if (superseded && superseded()) {
                ::closedir(dir);
                return {};
            }
        }
        const QString name = decodePath(entry->d_name);
        // The regular expression engine takes no lone surrogate (a byte of a name that is no UTF-8): it matches a
        // copy where such bytes read as U+FFFD.
        QString matched = name;
        for (QChar& c : matched)
            if (c.isLowSurrogate() && (&c == matched.data() || !(&c - 1)->isHighSurrogate()))
                c = QChar::ReplacementCharacter;
        if (std::none_of(matchers.begin(), matchers.end(),
                         [&](const QRegularExpression& matcher) { return matcher.match(matched).hasMatch(); }))
            continue;
        // Only regular files (a link counts as what it leads to): no folder, FIFO or device is offered.
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            regular = ::fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (regular) names.append(name);
    }
    ::closedir(dir);
    sortAsShown(names);
    return names;
}

QStringList FolderScanner::subfolders(const QString& folder) {
    QStringList names;
    DIR* dir = ::opendir(encodePath(folder).constData());
    if (dir == nullptr) return names;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;  // ".", ".." and hidden folders
        bool isDir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            isDir = ::fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        if (isDir) names.append(decodePath(entry->d_name));
    }
    ::closedir(dir);
    sortAsShown(names);
    return names;
}

bool FolderScanner::isFolder(const QString& path) {
    struct stat info {};
    return ::stat(encodePath(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

void FolderScanner::scan(quint64 generation, const QString& folder, const QStringList& patterns) {
    const auto superseded = [this, generation] { return latest_->load() != generation; };
    if (superseded()) return;
    QStringList names = matchingFiles(folder, patterns, superseded);
    if (!superseded()) emit scanned(generation, names);
}

}  // namespace vorlo
