#pragma once

#include <QString>

namespace vorlo {

class RegistryHive;

// The player's open and play commands, as the setup program registered them for its playlist file type.
struct PlayerCommands {
    QString open;  // "<program> %1"
    QString play;  // "<program> /play /close %1"

    // Without both commands there is nothing to associate: no class may lose its commands to empty ones.
    bool isComplete() const { return !open.isEmpty() && !play.isEmpty(); }
};

// The class store: which class each media extension belongs to and the shell commands of each class, in the
// classes-root hive held in memory (take it from Registry::change, so that what one operation decides on is
// written together with it). The player makes its own commands a class's commands and keeps the class's
// previous ones in "MIDIVorlo.Bak" values to give them back.
//
// A class with an empty name (an ".rmi" key that had to be created) has no commands: every operation leaves the
// store alone then, and nothing is ever created or changed at the root of the store.
class ClassStore {
public:
    static constexpr const char* kPlaylistClass = "MIDI Vorlo MPL File";
    static constexpr const char* kBackupValue = "MIDIVorlo.Bak";

    ClassStore(RegistryHive& hive, PlayerCommands commands);

    // The commands of the playlist file type; empty ones when its keys are missing (setup never ran).
    static PlayerCommands playerCommands(const RegistryHive& hive);
    // The class a missing extension key is created with: "avifile", "midfile", "SoundRec", "cdafile"; empty for
    // ".rmi" and any other extension.
    static QString defaultClass(const QString& extension);
    // The text after the last backslash, colon or slash of the program's path: the program's name and its
    // arguments. A slash after a blank starts a switch ("/play"), not a folder.
    static QString fileNamePart(const QString& command);
    // Where that part starts.
    static qsizetype fileNameStart(const QString& command);

    // The class named by the extension's key; creates the key with the default class when it is missing.
    QString ClassOf(const QString& extension);
    // Whether the class's open and play commands are both the player's, as whole strings. False when the player
    // has no commands.
    bool IsAssociated(const QString& className) const;
    // Makes the player's commands the class's (open verb, then play verb). A verb whose command is another
    // program's, and that has no backup yet, keeps that command in "MIDIVorlo.Bak"; a command of the player
    // from another folder is replaced without a backup; an existing backup is never overwritten.
    void Associate(const QString& className);
    // Puts the backed-up commands back and removes the backups; a verb without a backup keeps its command.
    void Unassociate(const QString& className);

    // Whether an operation changed the hive.
    bool changed() const { return changed_; }

private:
    enum class Verb { Open, Play };
    QString commandOf(Verb verb) const;
    static QString commandKey(const QString& className, Verb verb);

    RegistryHive& hive_;
    PlayerCommands commands_;
    bool changed_ = false;
};

}  // namespace vorlo
