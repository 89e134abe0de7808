#pragma once

#include "os/DesktopMenu.h"
#include "os/Registry.h"
#include "os/XdgAssociations.h"
#include "setup/SetupPrompts.h"

#include <QString>
#include <QStringList>

namespace vorlo {

// Every step of installing and uninstalling, without windows: the windows of setup and its unattended mode run
// the same steps and differ only in their prompts. Each step says through the prompts what went wrong and then
// reports whether setup goes on. Registry: the hives of vorlo_os (VORLO_CONFIG_DIR moves them); desktop: the
// user's XDG folders. User-interface thread.
class SetupSteps {
public:
    enum class Result {
        Done,            // the step ran to its end
        Stopped,         // the step stopped; setup stays (back on its first window)
        EndApplication,  // setup ends (with a failure)
    };

    explicit SetupSteps(SetupPrompts& prompts, DesktopMenu menu = DesktopMenu(),
                        XdgAssociations desktop = XdgAssociations());

    // Whether a program folder was recorded: the uninstall choice needs it.
    static bool isInstalled();
    // The program folder for a folder chosen in the directory list: a file-system root gets "MIDIVorlo"
    // appended, any other folder is taken as it is.
    static QString folderForSelection(const QString& selected);
    // The default program folder: "MIDIVorlo" in the user's home.
    static QString defaultProgramFolder();

    // The directory dialog's Continue: creates the program folder and copies the product into it from
    // `sourceFolder`, then writes the uninstall entry. Done or EndApplication.
    Result copyFiles(const QString& sourceFolder, const QString& programFolder);

    // The existing program groups.
    QStringList groups() const;
    // The group dialog's Continue: creates the group (a submenu of the applications menu) with its four
    // launchers, and the desktop's launcher when the user asks for it. Returns the group folder; empty when the
    // group could not be created (setup returns to its first window).
    QString createGroup(const QString& programFolder, const QString& groupName);

    // Completion: the version, group and folder keys and the playlist file type. Done, or EndApplication when
    // the version key cannot be written; the other failures are reported and setup goes on to its finish page.
    Result complete(const QString& programFolder, const QString& groupFolder);

    // Finish: opens the read-me and starts the player, as the boxes say. Returns false when something could not
    // be started (it has been reported).
    bool finish(const QString& programFolder, bool viewReadMe, bool launchPlayer);

    // The whole uninstall. Done, or Stopped when the group folder could not be removed. programFolder() names
    // the folder that was left in place.
    Result uninstall();
    QString programFolder() const { return programFolder_; }
    // The end of an uninstall: this desktop lets a running program delete its own file, so setup removes itself
    // when it is the setup of the program folder just uninstalled (a setup run from elsewhere, such as the
    // distribution folder, stays).
    void removeOwnFile() const;

    // Deletes `path` when it is there (a link itself, never what it leads to). Access denied is reported; any
    // other failure is silent.
    void deleteFile(const QString& path);

private:
    void error(const QString& text, const QString& caption, bool topmost = true);
    void information(const QString& text, const QString& caption, bool topmost = true);
    // Copies one file through a temporary name in the target's folder; false on failure.
    static bool copyOne(const QString& from, const QString& to);
    // Deletes `relative` inside `base` unless a folder on the way is a link out of `base`.
    void deleteInside(const QString& base, const QString& relative);
    void deleteKey(RegistryRoot root, const QString& key);
    void restoreClass(const QString& extension);

    SetupPrompts& prompts_;
    DesktopMenu menu_;
    XdgAssociations desktop_;
    QString programFolder_;
};

}  // namespace vorlo
