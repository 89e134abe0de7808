#pragma once

#include <QString>

namespace vorlo {

// The web browser's own audio plug-in, which the player can set aside so that the browser hands MIDI and wave
// files to the program associated with them. Only the browser's open command in the class store (read, never
// written) and the two names of the plug-in file in the browser's plug-in folder are touched. User-interface
// thread: it may show message boxes.
class BrowserPlugin {
public:
    static constexpr const char* kPluginFile = "npaudio.dll";
    static constexpr const char* kSetAsideFile = "npaudio.bak";

    // The radio group's items, and no selection.
    enum class Choice { None = -1, ForceAssociation = 0, UseDefault = 1 };

    // Reads the browser's command from the classes-root hive (creating nothing). Throws RegistryError.
    static BrowserPlugin read();
    // For a browser command as the class store holds it.
    explicit BrowserPlugin(const QString& browserCommand);

    // The plug-in folder of a recognised browser command (the command's folder followed by "plugins" and the
    // separator); empty when the command is not the browser's.
    static QString pluginFolderOf(const QString& command);
    QString pluginFolder() const { return folder_; }

    // Whether the radio group is offered: the browser is recognised and its plug-in folder holds the plug-in or
    // the plug-in set aside.
    bool isAvailable() const;
    // What the group shows, given the MIDI and wave boxes as the page opens.
    Choice shownChoice(bool midChecked, bool wavChecked) const;

    // Applies the choice at OK (only when the group is available). Returns true when the MIDI and wave boxes
    // must be checked, so that the associations that follow make the player the browser's helper.
    bool apply(Choice choice, bool midChecked, bool wavChecked) const;

private:
    bool has(const char* file) const;
    QString path(const char* file) const;

    QString folder_;
};

}  // namespace vorlo
