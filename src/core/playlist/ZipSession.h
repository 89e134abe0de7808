#pragma once

#include "core/playlist/Playlist.h"
#include "zip/ZipArchive.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace vorlo {

// Zip mode: the playlist shows the members of an archive instead of files. This is its one owner; every
// question "are we in zip mode?" reads active(). While it is active nothing can be added to the playlist, list
// files are not saved or asked about, and file commands act only on the member on disk.
//
// It holds the open archive and the private temporary folder, and sees to it that at most one member is on disk
// there: the one extracted last (ZipTempFile). Each extraction first deletes the member extracted before, also
// when that one could not be played, and leaving zip mode deletes the last. Extraction refusals (encrypted or
// damaged members, unknown compression, members too large for the limit or the free space, names that cannot
// be file names) come back as text; nothing throws. User-interface thread only.
class ZipSession : public QObject {
    Q_OBJECT
public:
    explicit ZipSession(QObject* parent = nullptr);
    ~ZipSession() override;

    bool active() const { return active_; }
    // The archive whose members the playlist shows; empty while zip mode is off.
    QString archive() const { return archive_; }

    // The private temporary folder members are extracted into; empty when the player has none.
    void setFolder(const QString& folder) { folder_ = folder; }
    QString folder() const { return folder_; }
    // What an extraction may write; the defaults outside tests.
    void setLimits(const zip::ExtractLimits& limits) { limits_ = limits; }

    // Reads the member list of `archive` and returns its playable members in archive order as playlist entries:
    // the stored name (folders included) shown, the temporary folder and the base name as path. The archive
    // stays open for enter(). An archive that cannot be read, or a player without its temporary folder, gives no
    // entries and `error` says why.
    std::vector<PlaylistEntry> readArchive(const QString& archive, QString& error);

    // Zip mode begins for `archive` (the one read last, whose members can then be extracted); entering again
    // replaces the archive.
    void enter(const QString& archive);
    // Zip mode ends: the member on disk is deleted and the archive closed. Nothing happens when it is off.
    void leave();

    // Extracts the member of `entry` to the entry's path, after deleting the member extracted before.
    // ZipTempFile becomes the entry's path even when the extraction fails. Returns an empty string when the
    // member is in place, else why it is not.
    QString extract(const PlaylistEntry& entry);
    // ZipTempFile: the path of the member extracted last; empty when none.
    QString tempFile() const { return tempFile_; }
    // Deletes ZipTempFile when it lies directly in the temporary folder, and forgets it.
    void deleteTempFile();

    // A file of the temporary folder that this player may have left there: a member (a playable name) or a
    // partial extraction. The clean-up at start removes only such files.
    static bool isLeftOver(const QString& fileName);

    // The refusal of the playlist summary while an archive is open. Returns true when it was refused.
    bool refuseSummary() const;

signals:
    void changed(bool active);

private:
    bool active_ = false;
    QString archive_;
    QString folder_;
    QString tempFile_;
    zip::ExtractLimits limits_;
    std::unique_ptr<zip::ZipArchive> reader_;
};

}  // namespace vorlo
