#pragma once

#include "os/MimeAppsList.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace vorlo {

class RegistryHive;

// A file of the desktop that cannot be read or written, or that is not the current user's to change.
class XdgError : public std::runtime_error {
public:
    explicit XdgError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The desktop's side of the player's file associations. The class store names the commands a Windows shell
// runs; a freedesktop desktop opens a file with the application that the user's mimeapps.list names for its
// MIME type. This makes the player that application, through a desktop entry of its own whose Exec runs the
// player's open command with the file, and keeps the application each type had before as a backup in the
// classes-root hive, beside the classes' own backups, to give it back exactly as the class store does: the first
// backup is kept, a type that has no backup keeps what it has.
//
// Only the current user's files are written: mimeapps.list in the XDG config folder, the desktop entry and the
// playlist type in the XDG data folder; a file there that belongs to another user is refused. User-interface
// thread (or the uninstaller's).
class XdgAssociations {
public:
    static constexpr const char* kDesktopId = "midi-vorlo.desktop";
    // Classes-root key with one subkey per MIME type the player took, holding the previous default.
    static constexpr const char* kBackupKey = "MIDIVorlo.Desktop";
    static constexpr const char* kBackupValue = "MIDIVorlo.Bak";
    // The MIME type of the player's own playlist files (*.mpl), defined in the user's MIME database.
    static constexpr const char* kPlaylistType = "audio/x-midi-vorlo-playlist";
    // Every type the player's desktop entry can open.
    static const QStringList& handledTypes();

    struct Folders {
        QString configHome;  // holds mimeapps.list ($XDG_CONFIG_HOME)
        QString dataHome;    // holds applications/ and mime/ ($XDG_DATA_HOME)
        static Folders ofUser();
    };

    explicit XdgAssociations(Folders folders = Folders::ofUser());

    QString mimeAppsFile() const;
    QString desktopEntryFile() const;
    QString playlistTypeFile() const;

    // The applications the user's mimeapps.list names for `mimeType`, the one that opens it first. Throws
    // XdgError when the file cannot be read or the user's folders are not known.
    QStringList defaultApplications(const QString& mimeType) const;

    // The desktop entry's Exec for a class-store command: the program of "<program> %1" (quoted or not, blanks
    // allowed), quoted as desktop entries want, its switches, and %f for the file.
    static QString execLine(const QString& command);
    // The player's desktop entry for the open command `command`.
    static QByteArray desktopEntry(const QString& command);

    // One change of the desktop's defaults; see below.
    class Change;

    // Gives back every default the player took and removes its desktop entry and playlist type: what the
    // uninstaller calls. Throws XdgError or RegistryError; the files and the hive are then as they were.
    void restoreEverything() const;

    // The playlist type alone, as setup registers it: the MIME package for *.mpl in the user's MIME folder, with
    // the database updated. Throws XdgError. Removing a type that is not there does nothing; removing the user's
    // last package removes the database built from it (and the MIME folder, when nothing else is in it).
    void writePlaylistType() const;
    void removePlaylistType() const;

private:
    // Removes what update-mime-database generated in `database`, and its folders once they are empty.
    static void removeGeneratedDatabase(const QString& database);
    // Throws XdgError when a folder is unknown or relative.
    void requireFolders() const;

    Folders folders_;
};

// The desktop's part of one change of the associations, made inside a change of the classes-root hive
// (Registry::change): the backups go into that hive, so they are written together with the classes' own,
// and the desktop's files are written by commit(), before the hive is.
class XdgAssociations::Change {
public:
    // Reads the user's mimeapps.list. Throws XdgError when it cannot be read.
    Change(const XdgAssociations& desktop, RegistryHive& hive);

    // Makes the player's desktop entry, running `openCommand`, the default of each type; a type whose
    // default is not the player's yet keeps it as its backup unless it has one.
    void associate(const QStringList& mimeTypes, const QString& openCommand);
    // Gives each type with a backup its previous default back and forgets the backup.
    void unassociate(const QStringList& mimeTypes);
    // Gives back every type the player took; types without a backup lose the player as their default.
    void restoreAll();

    bool changesHive() const { return hiveChanged_; }
    // Writes the desktop entry (and the playlist type) when associating, then mimeapps.list when it changed,
    // each replaced atomically. Throws XdgError; what it wrote before is then taken back by undo().
    void commit();
    // Puts the files that commit() wrote back as they were: after a commit that failed halfway, or when the
    // hive could not be written after all. Throws XdgError when a file cannot be put back.
    void undo();

private:
    XdgAssociations desktop_;
    RegistryHive& hive_;
    std::optional<QByteArray> mimeAppsBefore_;  // nothing: the file did not exist
    MimeAppsList list_;
    bool listChanged_ = false;
    bool hiveChanged_ = false;
    QString openCommand_;  // set by associate(): the desktop entry is written
    bool playlistType_ = false;
    // What commit() has written (or begun to write), for undo().
    bool listWritten_ = false;
    bool entryWritten_ = false;
    std::optional<QByteArray> entryBefore_;  // nothing: there was no entry
    bool typeCreated_ = false;
};

}  // namespace vorlo
