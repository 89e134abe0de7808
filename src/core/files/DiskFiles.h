#pragma once

#include <QString>

namespace vorlo {

// Why an operation on the disk failed, in the cases the player tells the user apart.
enum class DiskError { None, NotFound, Exists, CrossDevice, Denied, NotEmpty, NoSpace, IsFolder, Other };

struct DiskResult {
    DiskError error = DiskError::None;
    int code = 0;  // the system's error number

    bool ok() const { return error == DiskError::None; }
    // The system's own words for the error.
    QString reason() const;
    static DiskResult fromErrno(int code);
};

// The player's operations on files and folders, each one safe against losing data:
// - a rename never replaces another file (the system's plain rename would, silently);
// - a copy is written under a temporary name in the target folder, flushed, given the source's mode and times, and
//   only then renamed into place, so a copy that fails half-way (a full disk) leaves no partial target and never
//   harms the file it was to replace;
// - a move is a rename where it can be; across file systems it is such a copy followed by deleting the source, and a
//   failure at any step leaves the source whole and no target behind.
// Paths are the player's paths as they stand in the playlist. Any thread; nothing here throws.
class DiskFiles {
public:
    // Whether an operation may take the place of a file that is already there.
    enum class Existing { Keep, Replace };

    static DiskResult renameNoReplace(const QString& from, const QString& to);
    static DiskResult copy(const QString& from, const QString& to, Existing existing);
    static DiskResult move(const QString& from, const QString& to, Existing existing);
    // Deletes a file. On this system the owner of a folder may delete a read-only file in it: only the folder's
    // write permission counts.
    static DiskResult remove(const QString& path);
    // Removes an empty folder.
    static DiskResult removeFolder(const QString& path);
    // Creates one folder; its parent must exist.
    static DiskResult createFolder(const QString& path);

    // Anything of that name: a file, a folder or a link.
    static bool exists(const QString& path);
    static bool isFolder(const QString& path);
    // Both names reach the same file (the same device and inode).
    static bool sameFile(const QString& a, const QString& b);
    // The file may be written: it has a write permission bit and the system grants writing. (The system would let
    // the superuser write any file; a file without any write bit still counts as read-only, as the user sees it.)
    static bool writable(const QString& path);
    // Files may be created, renamed and deleted in this folder.
    static bool folderWritable(const QString& folder);

    // The name a copy is written under before it takes its place, in `folder`; a leftover of a crash can be known
    // by its prefix.
    static constexpr const char* kTemporaryPrefix = ".vorlo-copy-";
};

}  // namespace vorlo
