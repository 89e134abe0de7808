#include "os/DesktopMenu.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace vorlo {

namespace {

// A value of a desktop entry's string key: backslashes and line breaks escaped.
QString entryValue(const QString& value) {
    QString out;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    return out;
}

QString xmlEscaped(const QString& s) { return s.toHtmlEscaped(); }

QString writeAtomically(const QString& file, const QByteArray& bytes, QFileDevice::Permissions permissions) {
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return QStringLiteral("Cannot create the folder of %1").arg(file);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.setPermissions(permissions) ||
        !out.commit())
        return QStringLiteral("Cannot write %1: %2").arg(file, out.errorString());
    return {};
}

}  // namespace

QString desktopExecArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument) needsQuotes = needsQuotes || reserved.contains(c);
    QString quoted;
    if (needsQuotes) {
        quoted = QStringLiteral("\"");
        for (const QChar c : argument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        quoted += QLatin1Char('"');
    } else {
        quoted = argument;
    }
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return quoted;
}

QByteArray DesktopShortcut::text() const {
    QStringList exec;
    for (const QString& argument : command) exec << desktopExecArgument(argument);
    QString out = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\nName=%1\n").arg(entryValue(name));
    if (!comment.isEmpty()) out += QStringLiteral("Comment=%1\n").arg(entryValue(comment));
    out += QStringLiteral("Exec=%1\n").arg(exec.join(QLatin1Char(' ')));
    if (!icon.isEmpty()) out += QStringLiteral("Icon=%1\n").arg(entryValue(icon));
    out += QStringLiteral("Terminal=false\n");
    if (!category.isEmpty()) out += QStringLiteral("Categories=%1;\n").arg(category);
    return out.toUtf8();
}

DesktopMenu::Folders DesktopMenu::Folders::ofUser() {
    return {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)};
}

DesktopMenu::DesktopMenu(Folders folders) : folders_(std::move(folders)) {}

QString DesktopMenu::programsFolder() const {
    if (folders_.dataHome.isEmpty() || QDir::isRelativePath(folders_.dataHome)) return {};
    return folders_.dataHome + QStringLiteral("/applications");
}

QStringList DesktopMenu::groups() const {
    const QString programs = programsFolder();
    if (programs.isEmpty()) return {};
    return QDir(programs).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QString DesktopMenu::groupCategory(const QString& groupName) {
    QString category = QStringLiteral("X-");
    for (const QChar c : groupName) category += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QLatin1Char('-');
    return category;
}

QString DesktopMenu::directoryEntryFile(const QString& groupName) const {
    return folders_.dataHome + QStringLiteral("/desktop-directories/") + groupCategory(groupName).mid(2).toLower() +
           QStringLiteral(".directory");
}

QString DesktopMenu::menuFile(const QString& groupName) const {
    return folders_.configHome + QStringLiteral("/menus/applications-merged/") +
           groupCategory(groupName).mid(2).toLower() + QStringLiteral(".menu");
}

QString DesktopMenu::addToMenu(const QString& groupFolder) const {
    if (programsFolder().isEmpty() || folders_.configHome.isEmpty() || QDir::isRelativePath(folders_.configHome))
        return QStringLiteral("The desktop's folders for this user are not known (is HOME set?)");
    const QString name = QFileInfo(groupFolder).fileName();
    const QString directory = QStringLiteral(
                                  "[Desktop Entry]\nType=Directory\nVersion=1.0\nName=%1\n"
                                  "Icon=folder\n")
                                  .arg(entryValue(name));
    if (QString failed = writeAtomically(
            directoryEntryFile(name), directory.toUtf8(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        !failed.isEmpty())
        return failed;
    const QString menu =
        QStringLiteral(
            "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
            "<Menu>\n  <Name>Applications</Name>\n  <Menu>\n    <Name>%1</Name>\n    <Directory>%2</Directory>\n"
            "    <Include>\n      <Category>%3</Category>\n    </Include>\n  </Menu>\n</Menu>\n")
            .arg(xmlEscaped(name), xmlEscaped(QFileInfo(directoryEntryFile(name)).fileName()), groupCategory(name));
    return writeAtomically(
        menuFile(name), menu.toUtf8(),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

void DesktopMenu::removeFromMenu(const QString& groupName) const {
    QFile::remove(menuFile(groupName));
    QFile::remove(directoryEntryFile(groupName));
}

QStringList DesktopMenu::folders() const {
    QStringList folders;
    if (!folders_.dataHome.isEmpty() && !QDir::isRelativePath(folders_.dataHome)) {
        const QString dataParent = QFileInfo(folders_.dataHome).absolutePath();
        if (dataParent != QDir::homePath() && dataParent != QStringLiteral("/")) folders << dataParent;
        folders << folders_.dataHome << programsFolder() << folders_.dataHome + QStringLiteral("/desktop-directories")
                << folders_.dataHome + QStringLiteral("/mime") << folders_.dataHome + QStringLiteral("/mime/packages");
    }
    if (!folders_.configHome.isEmpty() && !QDir::isRelativePath(folders_.configHome))
        folders << folders_.configHome << folders_.configHome + QStringLiteral("/menus")
                << folders_.configHome + QStringLiteral("/menus/applications-merged");
    if (const QString desktop = desktopFolder(); !desktop.isEmpty()) folders << desktop;
    return folders;
}

void DesktopMenu::removeEmptyFolders(const QStringList& folders) {
    // The longer names first: a folder comes before the one that holds it.
    QStringList deepestFirst = folders;
    std::stable_sort(deepestFirst.begin(), deepestFirst.end(),
                     [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& name : deepestFirst) {
        const QFileInfo folder(name);
        if (name.isEmpty() || QDir::isRelativePath(name) || folder.isSymLink() || !folder.isDir()) continue;
        if (!QDir(name).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) continue;
        QDir().rmdir(name);
    }
}

QString DesktopMenu::desktopFolder() {
    QProcess ask;
    ask.start(QStringLiteral("xdg-user-dir"), {QStringLiteral("DESKTOP")});
    if (ask.waitForFinished(10000) && ask.exitStatus() == QProcess::NormalExit && ask.exitCode() == 0) {
        const QString folder = QString::fromLocal8Bit(ask.readAllStandardOutput()).trimmed();
        if (!folder.isEmpty() && !QDir::isRelativePath(folder)) return folder;
    }
    const QString home = QDir::homePath();
    if (home.isEmpty() || home == QStringLiteral("/")) return {};
    return home + QStringLiteral("/Desktop");
}

QString DesktopMenu::writeShortcut(const QString& file, const DesktopShortcut& shortcut) {
    return writeAtomically(file, shortcut.text(),
                           QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                               QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                               QFileDevice::ExeOther);
}

}  // namespace vorlo
