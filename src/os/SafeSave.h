#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <stdexcept>

namespace vorlo {

// Why a save did not happen, in words for the user ("No space left on device", "it is a symbolic link"). The
// caller names the file and what it is ("Cannot save the playlist file ...: <reason>").
class SafeSaveError : public std::runtime_error {
public:
    explicit SafeSaveError(const QString& reason) : std::runtime_error(reason.toStdString()), reason_(reason) {}
    QString reason() const { return reason_; }

private:
    QString reason_;
};

// Replaces a file whole, so that whatever happens (a full disk, a crash, a kill, a power cut) the file holds either
// its old text or the new one. The new text goes to a temporary file beside the file; every write is checked, the
// data is synced to disk, the temporary file takes the file's place by rename, and the folder is synced so the
// rename itself survives a power cut. Any failure before the rename removes the temporary file and leaves the old
// file as it was; temporary files that a killed save left beside the file are removed by the next save once they
// are a minute old. Special files (FIFOs, devices, sockets, folders) are never written.
//
// Thread-safe (no shared state but the test seam). Throws SafeSaveError.
class SafeSave {
public:
    enum class Links {
        // The player's own files (History.ini, settings hives, recovery files): a symbolic link in their place is
        // refused and left as it is. Nobody but the player writes these files, so a link there was planted, and
        // following it would let whoever planted it choose what the player overwrites.
        Refuse,
        // A user's own file (a list): a link is followed when it ends at a regular file, and that file is replaced;
        // the link stays a link.
        FollowToRegularFile,
    };

    // Writes `bytes` as the whole new content of `fileName`. A new file gets the mode the umask allows; a file
    // that is replaced keeps its mode.
    static void write(const QString& fileName, const QByteArray& bytes, Links links);

    // Test seam: after `bytes` more bytes have been written by any save, writes fail with `error` (ENOSPC for a
    // full disk), as the kernel would. A negative count turns the seam off again.
    static void failWritesAfter(std::int64_t bytes, int error);
};

}  // namespace vorlo
