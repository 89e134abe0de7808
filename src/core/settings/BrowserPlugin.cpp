#include "core/settings/BrowserPlugin.h"

#include "core/app/MessageBoxes.h"
#include "core/settings/ClassStore.h"
#include "os/Registry.h"

#include <QFile>
#include <QFileInfo>

namespace vorlo {

BrowserPlugin BrowserPlugin::read() {
    Registry classes(RegistryRoot::ClassesRoot);
    QString command;
    if (classes.openKeyReadOnly(QStringLiteral("\\http\\shell\\open\\command"))) {
        if (classes.valueType(QString()) == RegistryValue::Type::String) command = classes.readString(QString());
        classes.closeKey();
    }
    return BrowserPlugin(command);
}

BrowserPlugin::BrowserPlugin(const QString& browserCommand) : folder_(pluginFolderOf(browserCommand)) {}

QString BrowserPlugin::pluginFolderOf(const QString& command) {
    const QString name = ClassStore::fileNamePart(command).toLower();
    if (name != QLatin1String("netscape.exe -h \"%1\"") && name != QLatin1String("netscape.exe -h") &&
        name != QLatin1String("netscape.exe"))
        return {};
    const qsizetype start = ClassStore::fileNameStart(command);
    // A browser found on the search path has no folder we know of.
    if (start == 0 || command.at(start - 1) == QLatin1Char(':')) return {};
    return command.left(start) + QStringLiteral("plugins") + command.at(start - 1);
}

QString BrowserPlugin::path(const char* file) const { return folder_ + QLatin1String(file); }

bool BrowserPlugin::has(const char* file) const { return !folder_.isEmpty() && QFileInfo(path(file)).isFile(); }

bool BrowserPlugin::isAvailable() const { return has(kPluginFile) || has(kSetAsideFile); }

BrowserPlugin::Choice BrowserPlugin::shownChoice(bool midChecked, bool wavChecked) const {
    if (folder_.isEmpty()) return Choice::None;
    if (has(kPluginFile)) return Choice::UseDefault;
    if (has(kSetAsideFile) && (midChecked || wavChecked)) return Choice::ForceAssociation;
    return Choice::None;
}

bool BrowserPlugin::apply(Choice choice, bool midChecked, bool wavChecked) const {
    if (choice == Choice::UseDefault) {
        if (has(kPluginFile)) return false;
        if (has(kSetAsideFile)) {
            if (!QFile::rename(path(kSetAsideFile), path(kPluginFile)))
                MessageBoxes::show(QStringLiteral("Cannot Restore Plug-in"),
                                   QStringLiteral("Cannot restore Netscape Audio Plug-in.  Try to close the Navigator "
                                                  "and try again"),
                                   BoxIcon::Error);
            return false;
        }
        MessageBoxes::show(QStringLiteral("File Missing"),
                           QStringLiteral("The backup file for \"npaudio.dll\" is missing!  You may need to reinstall "
                                          "Netscape Navigator to restore the plug-in."),
                           BoxIcon::Error, BoxButtons::Ok, true);
        return false;
    }
    if (choice != Choice::ForceAssociation) return false;
    if (has(kPluginFile)) {
        // A plug-in left behind by an earlier rename would be lost: the rename refuses to replace it.
        if (!QFile::rename(path(kPluginFile), path(kSetAsideFile)))
            MessageBoxes::show(QStringLiteral("Cannot Remove Plug-in"),
                               QStringLiteral("Cannot remove Netscape Audio Plug-in.  Try to close the Navigator and "
                                              "try again"),
                               BoxIcon::Error);
        return true;
    }
    if (!midChecked && !wavChecked)
        MessageBoxes::show(QStringLiteral("Use MIDI Vorlo as Helper Application"),
                           QStringLiteral("You need to associate at least one type of file from mid and wav to use "
                                          "MIDI Vorlo as a helper application of Netscape Navigator!"),
                           BoxIcon::Information);
    return false;
}

}  // namespace vorlo
