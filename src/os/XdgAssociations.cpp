#include "os/XdgAssociations.h"

#include "os/DesktopMenu.h"
#include "os/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <unistd.h>

#include <algorithm>

namespace vorlo {

namespace {

// Every type the player's desktop entry can open.
const QStringList kHandledTypes{
    QStringLiteral("audio/midi"), QStringLiteral("audio/x-midi"),    QStringLiteral("audio/x-wav"),
    QStringLiteral("audio/wav"),  QStringLiteral("video/x-msvideo"), QLatin1String(XdgAssociations::kPlaylistType),
};

QString backupKey(const QString& mimeType) {
    return QLatin1String(XdgAssociations::kBackupKey) + QLatin1Char('\\') + mimeType;
}

// The file (or the file a link leads to) must be this user's: we run as root at times, and a link in the
// user's folder must not make us rewrite a file of the system or of someone else.
void requireOwnFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return;
    const QFileInfo target(info.isSymLink() ? info.canonicalFilePath() : path);
    if (!target.exists() || target.ownerId() != ::geteuid())
        throw XdgError(QStringLiteral("%1 does not belong to this user; it has been left as it is.").arg(path));
}

std::optional<QByteArray> readFile(const QString& path) {
    QFile file(path);
    if (!file.exists()) return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw XdgError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    requireOwnFile(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw XdgError(QStringLiteral("Cannot create the folder of %1").arg(path));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw XdgError(QStringLiteral("Cannot write %1: %2").arg(path, out.errorString()));
}

void removeFile(const QString& path) {
    QFile file(path);
    if (!file.exists() && !QFileInfo(path).isSymLink()) return;
    if (!file.remove()) throw XdgError(QStringLiteral("Cannot remove %1: %2").arg(path, file.errorString()));
}

}  // namespace

const QStringList& XdgAssociations::handledTypes() { return kHandledTypes; }

XdgAssociations::Folders XdgAssociations::Folders::ofUser() {
    return {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)};
}

XdgAssociations::XdgAssociations(Folders folders) : folders_(std::move(folders)) {}

void XdgAssociations::requireFolders() const {
    // Without a home the folders are unknown; a relative name would put the files wherever the player runs.
    for (const QString& folder : {folders_.configHome, folders_.dataHome})
        if (folder.isEmpty() || QDir::isRelativePath(folder))
            throw XdgError(
                QStringLiteral("The desktop's folders for this user are not known (is HOME set?): the "
                               "file types cannot be associated on the desktop."));
}

QString XdgAssociations::mimeAppsFile() const { return folders_.configHome + QStringLiteral("/mimeapps.list"); }

QString XdgAssociations::desktopEntryFile() const {
    return folders_.dataHome + QStringLiteral("/applications/") + QLatin1String(kDesktopId);
}

QString XdgAssociations::playlistTypeFile() const {
    return folders_.dataHome + QStringLiteral("/mime/packages/midi-vorlo.xml");
}

QStringList XdgAssociations::defaultApplications(const QString& mimeType) const {
    requireFolders();
    return MimeAppsList::parse(readFile(mimeAppsFile()).value_or(QByteArray())).defaultApplications(mimeType);
}

QString XdgAssociations::execLine(const QString& command) {
    QString head = command.trimmed();
    for (const QString& file : {QStringLiteral("\"%1\""), QStringLiteral("%1")}) {
        if (head.endsWith(file)) {
            head.chop(file.size());
            head = head.trimmed();
            break;
        }
    }
    QString program = head;
    QString switches;
    if (head.startsWith(QLatin1Char('"'))) {
        const qsizetype close = head.indexOf(QLatin1Char('"'), 1);
        program = close < 0 ? head.mid(1) : head.mid(1, close - 1);
        switches = close < 0 ? QString() : head.mid(close + 1).trimmed();
    }
    QString exec = desktopExecArgument(program);
    if (!switches.isEmpty()) exec += QLatin1Char(' ') + switches;
    return exec + QStringLiteral(" %f");
}

QByteArray XdgAssociations::desktopEntry(const QString& command) {
    QString entry = QStringLiteral(
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=MIDI Vorlo\n"
        "GenericName=MIDI Jukebox\n"
        "Comment=Plays MIDI, wave and video files from a playlist\n"
        "Icon=audio-x-generic\n"
        "Terminal=false\n"
        // The file handler; the applications menu gets its shortcuts from the installation.
        "NoDisplay=true\n"
        "Categories=AudioVideo;Audio;Player;\n");
    entry += QStringLiteral("MimeType=") + kHandledTypes.join(QLatin1Char(';')) + QStringLiteral(";\n");
    entry += QStringLiteral("Exec=") + execLine(command) + QLatin1Char('\n');
    return entry.toUtf8();
}

XdgAssociations::Change::Change(const XdgAssociations& desktop, RegistryHive& hive)
    : desktop_(desktop), hive_(hive), mimeAppsBefore_((desktop.requireFolders(), readFile(desktop.mimeAppsFile()))) {
    list_ = MimeAppsList::parse(mimeAppsBefore_.value_or(QByteArray()));
}

void XdgAssociations::Change::associate(const QStringList& mimeTypes, const QString& openCommand) {
    if (openCommand.trimmed().isEmpty()) return;  // nothing to run: no type is given to the player
    openCommand_ = openCommand;
    const QString ours = QLatin1String(kDesktopId);
    for (const QString& type : mimeTypes) {
        if (type == QLatin1String(kPlaylistType)) playlistType_ = true;
        const std::optional<QString> current = list_.defaultFor(type);
        const QStringList names = list_.defaultApplications(type);
        if (!names.isEmpty() && names.first() == ours) continue;
        if (!hive_.hasKey(backupKey(type))) {
            // No line at all is kept as an empty backup: giving it back removes the player's line.
            RegistryValue previous;
            previous.text = current.value_or(QString());
            RegistryHive::setValue(hive_.createKey(backupKey(type)), QLatin1String(kBackupValue), previous);
            hiveChanged_ = true;
        }
        list_.setDefault(type, ours);
        listChanged_ = true;
    }
}

void XdgAssociations::Change::unassociate(const QStringList& mimeTypes) {
    for (const QString& type : mimeTypes) {
        const RegistryHive::Key* key = hive_.findKey(backupKey(type));
        if (!key) continue;
        const RegistryValue* previous = RegistryHive::value(*key, QLatin1String(kBackupValue));
        if (previous && !previous->text.trimmed().isEmpty())
            list_.setDefault(type, previous->text);
        else
            list_.removeDefault(type);
        listChanged_ = true;
        hive_.deleteKey(backupKey(type));
        hiveChanged_ = true;
    }
}

void XdgAssociations::Change::restoreAll() {
    QStringList backedUp;
    for (const QString& type : hive_.subKeyNames(QLatin1String(kBackupKey))) backedUp << type;
    unassociate(backedUp);
    for (const QString& type : kHandledTypes) {
        const QStringList names = list_.defaultApplications(type);
        if (!names.isEmpty() && names.first() == QLatin1String(kDesktopId)) {
            list_.removeDefault(type);
            listChanged_ = true;
        }
    }
    if (hive_.deleteKey(QLatin1String(kBackupKey))) hiveChanged_ = true;
}

void XdgAssociations::Change::commit() {
    // Each file is replaced whole or not at all, and noted once it is, so that undo() also takes back a commit
    // that failed halfway.
    if (!openCommand_.isEmpty()) {
        const QString entryFile = desktop_.desktopEntryFile();
        const QByteArray entry = desktopEntry(openCommand_);
        const std::optional<QByteArray> existing = readFile(entryFile);
        if (existing != entry) {
            writeFile(entryFile, entry);
            entryBefore_ = existing;
            entryWritten_ = true;
        }
        if (playlistType_) {
            // Noted first: the type's file may be in while the database update that follows fails.
            typeCreated_ = !QFileInfo::exists(desktop_.playlistTypeFile());
            desktop_.writePlaylistType();
        }
    }
    if (listChanged_) {
        writeFile(desktop_.mimeAppsFile(), list_.text());
        listWritten_ = true;
    }
}

void XdgAssociations::Change::undo() {
    if (listWritten_) {
        listWritten_ = false;
        if (mimeAppsBefore_)
            writeFile(desktop_.mimeAppsFile(), *mimeAppsBefore_);
        else
            removeFile(desktop_.mimeAppsFile());
    }
    if (entryWritten_) {
        entryWritten_ = false;
        if (entryBefore_)
            writeFile(desktop_.desktopEntryFile(), *entryBefore_);
        else
            removeFile(desktop_.desktopEntryFile());
    }
    if (typeCreated_) {
        typeCreated_ = false;
        desktop_.removePlaylistType();
    }
}

void XdgAssociations::restoreEverything() const {
    requireFolders();
    Registry classes(RegistryRoot::ClassesRoot);
    std::optional<Change> change;
    try {
        classes.change([&](RegistryHive& hive) {
            change.emplace(*this, hive);
            change->restoreAll();
            change->commit();
            return change->changesHive();
        });
    } catch (...) {
        if (change) change->undo();
        throw;
    }
    removeFile(desktopEntryFile());
    removePlaylistType();
}

void XdgAssociations::writePlaylistType() const {
    requireFolders();
    const QByteArray package =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"audio/x-midi-vorlo-playlist\">\n"
        "    <comment>Media Play List File</comment>\n"
        // A list is text. Said so, the type also wins where the desktop settles a tie of names by the contents
        // (gio takes the first name whose type the sniffed text/plain is a parent of; the subtitle type that
        // claims *.mpl too is text as well).
        "    <sub-class-of type=\"text/plain\"/>\n"
        // Other types claim *.mpl at the usual weight 50; the player's lists are what this user opens.
        "    <glob pattern=\"*.mpl\" weight=\"60\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n";
    if (readFile(playlistTypeFile()) == package) return;
    writeFile(playlistTypeFile(), package);
    const QString database = folders_.dataHome + QStringLiteral("/mime");
    QProcess update;
    update.start(QStringLiteral("update-mime-database"), {database});
    if (!update.waitForFinished(60000) || update.exitStatus() != QProcess::NormalExit || update.exitCode() != 0)
        throw XdgError(QStringLiteral("The MIME database in %1 could not be updated for the playlist type: %2")
                           .arg(database, update.errorString()));
}

void XdgAssociations::removePlaylistType() const {
    if (!QFileInfo::exists(playlistTypeFile())) return;
    removeFile(playlistTypeFile());
    const QString database = folders_.dataHome + QStringLiteral("/mime");
    const QString packages = QFileInfo(playlistTypeFile()).absolutePath();
    if (QDir(packages).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        // Ours was the user's only package: the database built from it is of no use to anyone, so it goes
        // instead of being rebuilt empty.
        removeGeneratedDatabase(database);
        return;
    }
    QProcess update;
    update.start(QStringLiteral("update-mime-database"), {database});
    update.waitForFinished(60000);
}

void XdgAssociations::removeGeneratedDatabase(const QString& database) {
    // The files update-mime-database writes, and its folders of one XML file per type ("audio/x-....xml").
    static const char* const kGenerated[] = {"XMLnamespaces", "aliases",   "generic-icons", "globs",
                                             "globs2",        "icons",     "magic",         "mime.cache",
                                             "subclasses",    "treemagic", "types",         "version"};
    for (const char* name : kGenerated) {
        const QString file = database + QLatin1Char('/') + QLatin1String(name);
        if (QFileInfo(file).isFile() && !QFileInfo(file).isSymLink()) QFile::remove(file);
    }
    const QFileInfoList media = QDir(database).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& folder : media) {
        if (folder.fileName() == QLatin1String("packages")) continue;
        for (const QFileInfo& type : QDir(folder.filePath()).entryInfoList({QStringLiteral("*.xml")}, QDir::Files))
            if (!type.isSymLink()) QFile::remove(type.filePath());
        QDir().rmdir(folder.filePath());
    }
    QDir().rmdir(database + QStringLiteral("/packages"));
    QDir().rmdir(database);
}

}  // namespace vorlo
