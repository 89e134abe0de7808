#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorlo {

// A mounted file system as the kernel lists it in /proc/self/mountinfo.
struct MountEntry {
    QString mountPoint;  // unescaped: "\040" in the table is a blank here
    QString fileSystemType;
    QString source;
};

// The player's "drives": the mounted file systems that can hold the user's files. Kernel and runtime file
// systems (proc, sysfs, cgroups, devices, memory file systems and the like) are left out; the root "/" is
// always a drive.
class Drives {
public:
    // Reads the mount table of the running process. Mount points that are not folders (single files bound
    // into a container) are left out.
    static QStringList logicalDrives();

    // The drives of a mount table's text: the real file systems' mount points, "/" first, then in name order,
    // each once. Malformed lines are skipped.
    static QStringList drivesOf(const QByteArray& mountInfo);

    // Every well-formed line of a mount table, in table order.
    static std::vector<MountEntry> parseMountInfo(const QByteArray& mountInfo);

    // True for file systems that only show the kernel's or the desktop session's own state.
    static bool isPseudoFileSystem(const MountEntry& entry);

    // The drive holding `path`: the longest drive that is `path` itself or one of its parent folders; "/"
    // when none is.
    static QString driveOf(const QString& path, const QStringList& drives);
};

}  // namespace vorlo
