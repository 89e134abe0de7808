#include "os/Drives.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace vorlo {

namespace {

// File systems that never hold the user's files: the kernel's views of itself, device nodes, control
// groups, memory-backed runtime folders and the desktop's helper mounts.
const QSet<QString>& pseudoTypes() {
    static const QSet<QString> types = {
        QStringLiteral("proc"),
        QStringLiteral("sysfs"),
        QStringLiteral("cgroup"),
        QStringLiteral("cgroup2"),
        QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),
        QStringLiteral("tmpfs"),
        QStringLiteral("ramfs"),
        QStringLiteral("mqueue"),
        QStringLiteral("hugetlbfs"),
        QStringLiteral("debugfs"),
        QStringLiteral("tracefs"),
        QStringLiteral("securityfs"),
        QStringLiteral("pstore"),
        QStringLiteral("bpf"),
        QStringLiteral("configfs"),
        QStringLiteral("fusectl"),
        QStringLiteral("binfmt_misc"),
        QStringLiteral("autofs"),
        QStringLiteral("efivarfs"),
        QStringLiteral("rpc_pipefs"),
        QStringLiteral("nsfs"),
        QStringLiteral("selinuxfs"),
        QStringLiteral("nfsd"),
        QStringLiteral("fuse.gvfsd-fuse"),
        QStringLiteral("fuse.portal"),
        QStringLiteral("fuse.lxcfs"),
        QStringLiteral("squashfs"),  // read-only images of installed packages (snaps), not the user's
    };
    return types;
}

// Folders whose mounts are the system's business even when their type looks ordinary.
bool underSystemFolder(const QString& mountPoint) {
    static const QStringList folders = {QStringLiteral("/proc"), QStringLiteral("/sys"),  QStringLiteral("/dev"),
                                        QStringLiteral("/run"),  QStringLiteral("/snap"), QStringLiteral("/boot/efi")};
    // Removable media are mounted below /run/media by the desktop: those are drives.
    if (mountPoint.startsWith(QLatin1String("/run/media/"))) return false;
    return std::any_of(folders.begin(), folders.end(), [&](const QString& folder) {
        return mountPoint == folder || mountPoint.startsWith(folder + QLatin1Char('/'));
    });
}

// The table writes blanks, tabs, new lines and backslashes in names as a backslash and three octal digits.
QByteArray unescape(const QByteArray& field) {
    const auto isOctal = [](char d) { return d >= '0' && d <= '7'; };
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value > 0 && value < 256) {
                out.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

}  // namespace

std::vector<MountEntry> Drives::parseMountInfo(const QByteArray& mountInfo) {
    std::vector<MountEntry> entries;
    for (const QByteArray& line : mountInfo.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // id, parent, major:minor, root, mount point, options, [optional fields...], "-", type, source, ...
        const qsizetype separator = fields.indexOf(QByteArrayLiteral("-"), 6);
        if (separator < 6 || separator + 1 >= fields.size()) continue;
        const QByteArray mountPoint = unescape(fields[4]);
        if (!mountPoint.startsWith('/')) continue;
        MountEntry entry;
        entry.mountPoint = QFile::decodeName(mountPoint);
        entry.fileSystemType = QString::fromLatin1(fields[separator + 1]);
        if (separator + 2 < fields.size()) entry.source = QFile::decodeName(unescape(fields[separator + 2]));
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool Drives::isPseudoFileSystem(const MountEntry& entry) {
    if (entry.mountPoint == QLatin1String("/")) return false;
    return pseudoTypes().contains(entry.fileSystemType) || underSystemFolder(entry.mountPoint);
}

QStringList Drives::drivesOf(const QByteArray& mountInfo) {
    QStringList drives;
    for (const MountEntry& entry : parseMountInfo(mountInfo)) {
        if (entry.mountPoint != QLatin1String("/") && !isPseudoFileSystem(entry)) drives.append(entry.mountPoint);
    }
    drives.removeDuplicates();
    std::sort(drives.begin(), drives.end());
    drives.prepend(QStringLiteral("/"));
    return drives;
}

QStringList Drives::logicalDrives() {
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    QByteArray text;
    if (table.open(QIODevice::ReadOnly))
        text = table.readAll();  // a file of the proc kind: its size is unknown until read
    QStringList drives = drivesOf(text);
    drives.erase(std::remove_if(drives.begin() + 1, drives.end(),
                                [](const QString& drive) { return !QFileInfo(drive).isDir(); }),
                 drives.end());
    return drives;
}

QString Drives::driveOf(const QString& path, const QStringList& drives) {
    QString best = QStringLiteral("/");
    for (const QString& drive : drives) {
        const bool holds = path == drive || drive == QLatin1String("/") ||
                           path.startsWith(drive.endsWith(QLatin1Char('/')) ? drive : drive + QLatin1Char('/'));
        if (holds && drive.size() > best.size()) best = drive;
    }
    return best;
}

}  // namespace vorlo
