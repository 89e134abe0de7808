#include "setup/SetupSteps.h"

#include "os/RegistryHive.h"
#include "setup/ProductFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

#include <unistd.h>
#include <cerrno>

namespace vorlo {

namespace {

QString joined(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// Reads a string value of a key that exists; empty when it is missing or the hive cannot be read.
QString readValue(RegistryRoot root, const QString& key, const QString& name) {
    try {
        Registry registry(root);
        if (!registry.openKeyReadOnly(QLatin1Char('\\') + key)) return {};
        return registry.valueExists(name) ? registry.readString(name) : QString();
    } catch (const RegistryError&) {
        return {};
    }
}

QString readDefault(RegistryRoot root, const QString& key) { return readValue(root, key, QString()); }

// Opens (creating) `key` and writes its default value; false when the hive could not take it.
bool writeDefault(RegistryRoot root, const QString& key, const QString& value) {
    try {
        Registry registry(root);
        if (!registry.openKey(QLatin1Char('\\') + key, true)) return false;
        registry.writeString(QString(), value);
        return true;
    } catch (const RegistryError&) {
        return false;
    }
}

bool isDeniedError(int error) { return error == EACCES || error == EPERM || error == EROFS; }

}  // namespace

SetupSteps::SetupSteps(SetupPrompts& prompts, DesktopMenu menu, XdgAssociations desktop)
    : prompts_(prompts), menu_(std::move(menu)), desktop_(std::move(desktop)) {}

bool SetupSteps::isInstalled() {
    try {
        return Registry(RegistryRoot::CurrentUser).keyExists(QLatin1Char('\\') + product::kFolderKey);
    } catch (const RegistryError&) {
        return false;
    }
}

QString SetupSteps::folderForSelection(const QString& selected) {
    if (selected.endsWith(QLatin1Char('/'))) return selected + product::kDefaultFolderName;
    return selected;
}

QString SetupSteps::defaultProgramFolder() { return joined(QDir::homePath(), product::kDefaultFolderName); }

void SetupSteps::error(const QString& text, const QString& caption, bool topmost) {
    prompts_.show({text, caption, SetupMessage::Icon::Error, topmost});
}

void SetupSteps::information(const QString& text, const QString& caption, bool topmost) {
    prompts_.show({text, caption, SetupMessage::Icon::Information, topmost});
}

bool SetupSteps::copyOne(const QString& from, const QString& to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) return false;
    // A link in the target's place is replaced by the file, never written through.
    if (QFileInfo(to).isSymLink() && ::unlink(QFile::encodeName(to).constData()) != 0) return false;
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly)) return false;
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() && in.error() != QFileDevice::NoError) return false;
        if (out.write(block) != block.size()) return false;
    }
    out.setPermissions(in.permissions());
    return out.commit();
}

SetupSteps::Result SetupSteps::copyFiles(const QString& sourceFolder, const QString& programFolder) {
    prompts_.busy(true);
    programFolder_ = programFolder;
    // The desktop's folders that are not there yet are the install's own: the uninstall removes them once empty.
    QStringList created = readValue(RegistryRoot::LocalMachine, product::kUninstallKey, product::kCreatedFoldersValue)
                              .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& folder : menu_.folders())
        if (!QFileInfo(folder).exists() && !QFileInfo(folder).isSymLink() && !created.contains(folder))
            created << folder;
    QDir dir;
    if (QFileInfo(programFolder).isDir()) {
        information(QStringLiteral("Directory already exist."), QStringLiteral("Directory Exist"));
    } else if (!dir.mkpath(programFolder)) {
        error(QStringLiteral("Cannot create directory!"), QStringLiteral("Error - Create Directory"));
        prompts_.busy(false);
        return Result::EndApplication;
    }
    dir.mkpath(joined(programFolder, product::kResetFolder));
    dir.mkpath(joined(programFolder, product::kHelpFolder));
    QString source = sourceFolder;
    while (source.size() > 1 && source.endsWith(QLatin1Char('/'))) source.chop(1);

    auto copyRequired = [&](const QString& name, const QString& target) {
        if (copyOne(joined(source, name), joined(programFolder, target))) return true;
        error(QStringLiteral("Cannot copy file '") + name + QStringLiteral("' to target directory!"),
              QStringLiteral("Error - Copy File"));
        prompts_.busy(false);
        return false;
    };
    QStringList required{product::kPlayer, product::kSetup};
    required << product::helpPages() << product::kReadMe << product::kFileId;
    for (const QString& name : required)
        if (!copyRequired(name, name)) return Result::EndApplication;
    for (const QString& song : product::kSamples) copyOne(joined(source, song), joined(programFolder, song));
    for (const QString& reset : product::kResetFiles)
        if (!copyRequired(reset, product::kResetFolder + QLatin1Char('/') + reset)) return Result::EndApplication;
    if (!copyRequired(product::kVideoModule, product::kVideoModule)) return Result::EndApplication;

    try {
        Registry machine(RegistryRoot::LocalMachine);
        RegistryBatch batch;
        const QString key = QLatin1Char('\\') + product::kUninstallKey;
        batch.writeString(key, QStringLiteral("DisplayName"), QStringLiteral("MIDI Vorlo"));
        batch.writeString(key, QStringLiteral("UninstallString"), joined(programFolder, product::kSetup));
        if (!created.isEmpty()) batch.writeString(key, product::kCreatedFoldersValue, created.join(QLatin1Char('\n')));
        machine.write(batch);
    } catch (const RegistryError&) {
        prompts_.busy(false);
        error(QStringLiteral("Cannot open registry key!"), QStringLiteral("Error - Open Key"));
        return Result::EndApplication;
    }
    prompts_.busy(false);
    information(QStringLiteral("Installer has successfully created directory and copied files."),
                QStringLiteral("Tasks Complete"));
    return Result::Done;
}

QStringList SetupSteps::groups() const {
    if (menu_.programsFolder().isEmpty()) {
        prompts_.show({QStringLiteral("Can't find program group!"), QStringLiteral("Error - Program Groups"),
                       SetupMessage::Icon::Error, true});
        return {};
    }
    return menu_.groups();
}

QString SetupSteps::createGroup(const QString& programFolder, const QString& groupName) {
    const QString programs = menu_.programsFolder();
    const QString name = groupName.trimmed();
    QString groupFolder =
        programs.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/')) ? QString() : joined(programs, name);
    if (!groupFolder.isEmpty() && QFileInfo(groupFolder).isDir() && !QFileInfo(groupFolder).isSymLink()) {
        information(QStringLiteral("Program group already exist."), QStringLiteral("Group Exist"), false);
    } else if (groupFolder.isEmpty() || QFileInfo(groupFolder).isSymLink() || !QDir().mkpath(groupFolder)) {
        error(QStringLiteral("Cannot create program group!"), QStringLiteral("Error - Create Program Group"), false);
        return {};
    }
    deleteFile(joined(groupFolder, product::kOldShortcut));
    prompts_.showFolder(groupFolder);

    const QString category = DesktopMenu::groupCategory(name);
    const QString player = joined(programFolder, product::kPlayer);
    const QString icon = QStringLiteral("audio-x-generic");
    const struct {
        QString file;
        DesktopShortcut shortcut;
    } launchers[] = {
        {product::kPlayerShortcut,
         {QStringLiteral("MIDI Vorlo"), QStringLiteral("MIDI Vorlo Exectuable"), {player}, icon, category}},
        {product::kHelpShortcut,
         {QStringLiteral("MIDI Vorlo Help"),
          QStringLiteral("MIDI Vorlo Help"),
          {QStringLiteral("xdg-open"), joined(programFolder, product::kHelpFolder + QStringLiteral("/index.html"))},
          QStringLiteral("help-browser"),
          category}},
        {product::kReadMeShortcut,
         {QStringLiteral("MIDI Vorlo ReadMe"),
          QStringLiteral("MIDI Vorlo Readme"),
          {QStringLiteral("xdg-open"), joined(programFolder, product::kReadMe)},
          QStringLiteral("text-x-generic"),
          category}},
        {product::kSetupShortcut,
         {QStringLiteral("MIDI Vorlo Setup"),
          QStringLiteral("MIDI Vorlo Setup"),
          {joined(programFolder, product::kSetup)},
          QStringLiteral("system-software-install"),
          category}},
    };
    bool made = menu_.addToMenu(groupFolder).isEmpty();
    for (const auto& launcher : launchers) {
        if (!made) break;
        made = DesktopMenu::writeShortcut(joined(groupFolder, launcher.file), launcher.shortcut).isEmpty();
    }
    if (!made) {
        error(QStringLiteral("Cannot create shortcut to program file!"), QStringLiteral("Error - Create Shortcut"));
        return groupFolder;
    }
    QCoreApplication::processEvents();
    if (!prompts_.ask({QStringLiteral("Do you want to create a shortcut to MIDI Vorlo on desktop?"),
                       QStringLiteral("Create Shortcut"), SetupMessage::Icon::Question, true}))
        return groupFolder;
    const QString desktop = DesktopMenu::desktopFolder();
    if (desktop.isEmpty()) {
        // Without a desktop folder there is nowhere sensible to put the launcher: it is left out.
        error(QStringLiteral("Can't find Desktop directory!"), QStringLiteral("Error - Desktop Directory"));
        return groupFolder;
    }
    DesktopShortcut onDesktop{QStringLiteral("MIDI Vorlo"), QStringLiteral("MIDI Vorlo"), {player}, icon, {}};
    if (!DesktopMenu::writeShortcut(joined(desktop, product::kPlayerShortcut), onDesktop).isEmpty())
        error(QStringLiteral("Cannot create shortcut to program file!"), QStringLiteral("Error - Create Shortcut"));
    return groupFolder;
}

SetupSteps::Result SetupSteps::complete(const QString& programFolder, const QString& groupFolder) {
    prompts_.busy(true);
    if (!writeDefault(RegistryRoot::LocalMachine, product::kVersionKey, product::kVersion)) {
        error(QStringLiteral("Cannot open registry key!"), QStringLiteral("Error - Open Key"));
        prompts_.busy(false);
        return Result::EndApplication;
    }
    if (!writeDefault(RegistryRoot::CurrentUser, product::kGroupKey, groupFolder) ||
        !writeDefault(RegistryRoot::CurrentUser, product::kFolderKey, programFolder)) {
        error(QStringLiteral("Cannot open regsitry key!"), QStringLiteral("Error - Open key"));
        prompts_.busy(false);
        return Result::Done;
    }
    const QString player = joined(programFolder, product::kPlayer);
    bool registered = true;
    try {
        const QString cls = QLatin1Char('\\') + product::kPlaylistClass;
        RegistryBatch batch;
        batch.writeString(cls, QString(), QStringLiteral("Media Play List File"));
        batch.writeString(cls + QStringLiteral("\\shell"), QString(), QStringLiteral("play"));
        batch.writeString(cls + QStringLiteral("\\shell\\play"), QString(), QStringLiteral("Play"));
        batch.writeString(cls + QStringLiteral("\\shell\\play\\command"), QString(),
                          player + QStringLiteral(" /play /close %1"));
        batch.writeString(cls + QStringLiteral("\\shell\\open"), QString(), QStringLiteral("Open"));
        batch.writeString(cls + QStringLiteral("\\shell\\open\\command"), QString(), player + QStringLiteral(" %1"));
        batch.writeString(QStringLiteral("\\.mpl"), QString(), product::kPlaylistClass);
        Registry(RegistryRoot::ClassesRoot).write(batch);
        desktop_.writePlaylistType();
    } catch (const std::exception&) {
        registered = false;
    }
    prompts_.busy(false);
    if (!registered) error(QStringLiteral("Cannot open registration key!"), QStringLiteral("Error - Open Key"));
    return Result::Done;
}

bool SetupSteps::finish(const QString& programFolder, bool viewReadMe, bool launchPlayer) {
    bool started = true;
    if (viewReadMe)
        started = QProcess::startDetached(QStringLiteral("xdg-open"), {joined(programFolder, product::kReadMe)},
                                          programFolder);
    if (launchPlayer)
        started = QProcess::startDetached(joined(programFolder, product::kPlayer), {}, programFolder) && started;
    if (!started)
        error(QStringLiteral("Cannot start ") + (launchPlayer ? product::kPlayer : product::kReadMe) +
                  QStringLiteral("."),
              QStringLiteral("MIDI Vorlo Setup"));
    return started;
}

void SetupSteps::removeOwnFile() const {
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QString installed = QFileInfo(joined(programFolder_, product::kSetup)).canonicalFilePath();
    if (!self.isEmpty() && self == installed) QFile::remove(self);
}

void SetupSteps::deleteFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return;
    if (info.isDir() && !info.isSymLink()) return;  // only files are ours to delete
    if (::unlink(QFile::encodeName(path).constData()) == 0) return;
    if (isDeniedError(errno))
        error(QStringLiteral("Cannot delete file '") + path + QStringLiteral("'."),
              QStringLiteral("Error - Delete File"));
}

void SetupSteps::deleteInside(const QString& base, const QString& relative) {
    const QString baseReal = QFileInfo(base).canonicalFilePath();
    const QString path = joined(base, relative);
    const QString parent = QFileInfo(path).absolutePath();
    const QString expected = QFileInfo(joined(baseReal, relative)).absolutePath();
    // A folder on the way that is a link (or leads out of the folder) is left alone with everything behind it.
    if (baseReal.isEmpty() || QFileInfo(parent).canonicalFilePath() != expected) return;
    deleteFile(path);
}

void SetupSteps::deleteKey(RegistryRoot root, const QString& key) {
    const QString path = QLatin1Char('\\') + key;
    for (int attempt = 0; attempt < 3; ++attempt) {
        try {
            Registry registry(root);
            if (!registry.keyExists(path)) return;
            registry.deleteKey(path);
            return;
        } catch (const RegistryError&) {}
    }
    error(QStringLiteral("Cannot delete registry key ") + key + QStringLiteral(" !"),
          QStringLiteral("Error - Delete Key"));
}

void SetupSteps::restoreClass(const QString& extension) {
    try {
        Registry classes(RegistryRoot::ClassesRoot);
        classes.change([&](RegistryHive& hive) {
            const RegistryHive::Key* ext = hive.findKey(extension);
            const RegistryValue* cls = ext ? RegistryHive::value(*ext, QString()) : nullptr;
            if (!cls || cls->text.isEmpty()) return false;
            bool changed = false;
            for (const char* verb : {"open", "play"}) {
                RegistryHive::Key* command = hive.findKey(cls->text + QStringLiteral("\\shell\\") +
                                                          QLatin1String(verb) + QStringLiteral("\\command"));
                const RegistryValue* backup =
                    command ? RegistryHive::value(*command, QLatin1String(XdgAssociations::kBackupValue)) : nullptr;
                if (!backup) continue;
                RegistryValue restored;
                restored.text = backup->text;
                RegistryHive::setValue(*command, QString(), restored);
                RegistryHive::deleteValue(*command, QLatin1String(XdgAssociations::kBackupValue));
                changed = true;
            }
            return changed;
        });
    } catch (const RegistryError&) {
        // A class store that cannot be read keeps what it holds; there is nothing else to give back.
    }
}

SetupSteps::Result SetupSteps::uninstall() {
    prompts_.busy(true);
    const QStringList createdFolders =
        readValue(RegistryRoot::LocalMachine, product::kUninstallKey, product::kCreatedFoldersValue)
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    try {
        Registry machine(RegistryRoot::LocalMachine);
        if (machine.keyExists(QStringLiteral("\\SOFTWARE\\Brakwen")))
            machine.deleteKey(QStringLiteral("\\SOFTWARE\\Brakwen"));
    } catch (const RegistryError&) {}
    programFolder_ = readDefault(RegistryRoot::CurrentUser, product::kFolderKey);
    if (!programFolder_.isEmpty() && QFileInfo(programFolder_).isDir()) {
        QStringList files{product::kPlayer};
        files << product::helpPages() << product::kReadMe << product::kFileId << product::kSamples
              << product::kVideoModule << product::kPlayerWrites;
        for (const QString& reset : product::kResetFiles) files << product::kResetFolder + QLatin1Char('/') + reset;
        for (const QString& file : files) deleteInside(programFolder_, file);
        // The help pages stand where the help file stood: their folder goes with them once it is empty.
        const QString help = joined(programFolder_, product::kHelpFolder);
        if (QFileInfo(help).isDir() && !QFileInfo(help).isSymLink()) QDir().rmdir(help);
    }
    const QString groupFolder = readDefault(RegistryRoot::CurrentUser, product::kGroupKey);
    if (!groupFolder.isEmpty()) {
        if (QFileInfo(groupFolder).isDir() && !QFileInfo(groupFolder).isSymLink())
            for (const QString& file : {product::kPlayerShortcut, product::kOldShortcut, product::kHelpShortcut,
                                        product::kReadMeShortcut, product::kSetupShortcut})
                deleteFile(joined(groupFolder, file));
        if (QFileInfo(groupFolder).isSymLink() || !QDir().rmdir(groupFolder)) {
            error(QStringLiteral("Cannot remove directory '") + groupFolder + QStringLiteral("'!"),
                  QStringLiteral("Error - Remove Directory"));
            prompts_.busy(false);
            return Result::Stopped;
        }
        menu_.removeFromMenu(QFileInfo(groupFolder).fileName());
    }
    const QString desktop = DesktopMenu::desktopFolder();
    if (desktop.isEmpty())
        error(QStringLiteral("Can't find Desktop directory!"), QStringLiteral("Error - Desktop Directory"));
    else
        deleteFile(joined(desktop, product::kPlayerShortcut));

    deleteKey(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\MIDI Vorlo"));
    deleteKey(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\Brakwen"));
    deleteKey(RegistryRoot::CurrentUser, product::kFolderKey);
    deleteKey(RegistryRoot::CurrentUser, product::kGroupKey);
    deleteKey(RegistryRoot::CurrentUser, product::kOptionsKey);
    deleteKey(RegistryRoot::ClassesRoot, QStringLiteral(".mpl"));
    deleteKey(RegistryRoot::ClassesRoot, product::kPlaylistClass);
    for (const char* extension : {".avi", ".mid", ".rmi", ".wav", ".cda"}) restoreClass(QLatin1String(extension));
    try {
        // What the configuration dialog took over on the desktop, and the playlist type.
        desktop_.restoreEverything();
        desktop_.removePlaylistType();
    } catch (const std::exception& e) {
        error(QString::fromLocal8Bit(e.what()), QStringLiteral("Error - Desktop Associations"));
    }
    // The desktop's folders the install made, once nothing is left in them.
    DesktopMenu::removeEmptyFolders(createdFolders);
    try {
        Registry machine(RegistryRoot::LocalMachine);
        if (machine.openKey(QLatin1Char('\\') + product::kUninstallKey, false))
            machine.deleteValue(product::kCreatedFoldersValue);
    } catch (const RegistryError&) {}
    prompts_.busy(false);
    prompts_.show({QStringLiteral("In case you may lose your important files in MIDI Vorlo directory.\n"
                                  "Uninstaller didn't remove directory '") +
                       programFolder_ +
                       QStringLiteral("'\nYou may check it and manually delete it with the file manager."),
                   QStringLiteral("Attention"), SetupMessage::Icon::Information, true});
    prompts_.show({QStringLiteral("Uninstaller has removed MIDI Vorlo from the system. This setup program will be "
                                  "removed when it closes."),
                   QStringLiteral("Uninstallation Complete"), SetupMessage::Icon::Question, true});
    return Result::Done;
}

}  // namespace vorlo
