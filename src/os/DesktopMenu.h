#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vorlo {

// One argument of a desktop entry's Exec key. An argument with a reserved character is quoted, with the quoting
// of desktop entries; others stay bare, since simpler launchers (xdg-open without a desktop) split Exec at blanks
// and take quotes as part of the name. Then a percent sign that is not a field code is written twice, and, the
// value being a string, every backslash too.
QString desktopExecArgument(const QString& argument);

// A launcher of the desktop: the text of one desktop entry (Type=Application).
struct DesktopShortcut {
    QString name;         // Name=
    QString comment;      // Comment=
    QStringList command;  // program and arguments; quoted for Exec= as desktop entries want
    QString icon;         // Icon= (a file or a theme name); empty: none
    QString category;     // the menu group's own category; empty: none

    QByteArray text() const;
};

// The program groups of the desktop's applications menu, made the freedesktop way: a group is a folder of
// desktop entries under the user's applications folder ($XDG_DATA_HOME/applications/<group>), shown as a submenu
// through a directory entry ($XDG_DATA_HOME/desktop-directories) and a menu file merged into the applications
// menu ($XDG_CONFIG_HOME/menus/applications-merged). Only the current user's folders are written. Thread: any,
// one at a time.
class DesktopMenu {
public:
    struct Folders {
        QString dataHome;    // $XDG_DATA_HOME
        QString configHome;  // $XDG_CONFIG_HOME
        static Folders ofUser();
    };

    explicit DesktopMenu(Folders folders = Folders::ofUser());

    // The folder that holds the groups (the applications folder); empty when the user's folders are unknown.
    QString programsFolder() const;
    // The groups there: its subfolders, sorted.
    QStringList groups() const;

    // The category that files a desktop entry into the group `groupName`.
    static QString groupCategory(const QString& groupName);
    QString directoryEntryFile(const QString& groupName) const;
    QString menuFile(const QString& groupName) const;

    // Shows the group folder `groupFolder` as a submenu: writes its directory entry and menu file (each replaced
    // atomically). Returns an empty string, else what failed.
    QString addToMenu(const QString& groupFolder) const;
    // Removes the directory entry and the menu file of the group; files that are not there are no fault.
    void removeFromMenu(const QString& groupName) const;

    // The folders of the user's desktop that putting a group, a launcher and the playlist type there may create,
    // each after the folder that holds it: the data and configuration homes (and the data home's parent), the
    // applications, directory-entry, menu, merged-menu and MIME folders, and the desktop folder.
    QStringList folders() const;
    // Removes those of `folders` that are empty, each before the folder that holds it (so a folder emptied by
    // removing its subfolder goes too). A link, a folder with anything in it and a folder that is not there stay.
    static void removeEmptyFolders(const QStringList& folders);

    // The user's desktop folder, as `xdg-user-dir DESKTOP` names it ($XDG_CONFIG_HOME/user-dirs.dirs, else
    // ~/Desktop); empty when it cannot be told (no home).
    static QString desktopFolder();

    // Writes a desktop entry to `file` through a temporary file, marked runnable (desktops ask that of launchers
    // outside the applications folder). Returns an empty string, else what failed.
    static QString writeShortcut(const QString& file, const DesktopShortcut& shortcut);

private:
    Folders folders_;
};

}  // namespace vorlo
