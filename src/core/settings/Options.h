#pragma once

#include "core/settings/SoundOptions.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <variant>

namespace vorlo {

class Registry;
struct OptionField;

// Every option the player keeps between runs, in memory from start-up to close. It is read once while the main
// window is created and written whole when the player closes; the window reflects these values and hands its
// current state back before the save. Nothing else touches the options key.
//
// Each stored option is one row of the option table (fields()): its value name, how it is stored, its default and
// what reading and saving do with it. A default-made Options holds the defaults of that table.
struct Options {
    static constexpr const char* kKey = "SOFTWARE\\Brackwen\\MIDI Vorlo";
    static constexpr const char* kOptionsKey = "SOFTWARE\\Brackwen\\MIDI Vorlo\\Options";
    static constexpr const char* kDefaultValue = "MIDI Vorlo Configuration Key";
    static constexpr int kFilterCount = 8;

    Options();
    // The defaults of a player running from `programFolder` (the reset file lives there).
    static Options defaultsFor(const QString& programFolder);

    // The folder the player runs from: the "Folder" key, else (never installed by setup) the folder of the
    // program itself, so that the history file and the reset files still have a home. Not stored by the player.
    QString programFolder;

    // The stored options follow; their defaults are those of the option table (Options.cpp).

    // Window (absent values keep the form's own position and size).
    std::optional<int> top;
    std::optional<int> left;
    std::optional<int> clientHeight;
    std::optional<int> clientWidth;
    std::optional<int> windowState;  // 0 normal, 1 minimised, 2 maximised; absent: nothing to apply or save

    // The six parts of the window and the other marks.
    bool fileBox{};
    bool playList{};
    bool trackBar{};
    bool menu{};
    bool counter{};
    bool toolBar{};
    bool hide{};
    int timeCount{};  // 0 or 1
    bool stayOnTop{};

    // Playing.
    bool autoCheck{};
    bool listClose{};
    bool autoPlay{};
    bool loopPlay{};
    bool repeatPlay{};
    bool randomPlay{};
    bool shufflePlay{};
    bool autoLoad{};
    int addPlay{};
    QString resetFile;  // empty: no reset
    int lastOne{};
    int skip{};
    int wait{};

    // Lists and the file box.
    QString autoLoadList;
    QString listDirectory;
    QString midiDirectory;  // empty: the file box stays where it is
    bool oneTouch{};
    int filter{};

    // How the player sounds: a key of its own beside the options, outside the option table.
    SoundOptions sound;

    // The reset file a fresh installation plays before MIDI songs.
    QString defaultResetFile() const;

    // The option table, in the order the save writes the values.
    static std::span<const OptionField> fields();

    // Reads the options and the sound options. `runningFolder` is the program folder to use when the "Folder" key is
    // missing. Returns false when the options key does not exist (the first run); the program folder and the reset file
    // are set either way. Values that are missing or of another type keep their defaults. Throws RegistryError
    // when the settings file is damaged or cannot be read.
    bool read(Registry& registry, const QString& runningFolder);

    // Writes the key's default value, every option and the sound options in one rewrite of the settings file. `history`
    // is the list history, most recent first: when it has an entry, the list to load at the next start and its folder
    // are taken from it; otherwise the stored ones stay as they are. Throws RegistryError when the write fails; nothing
    // is written then.
    void save(Registry& registry, const QStringList& history) const;

    // The folder part of a list path, with its trailing separator.
    static QString folderOf(const QString& path);
};

// How an option is kept in the options key.
enum class StoredAs {
    Bool,     // REG_DWORD 0 or 1; any non-zero value reads as true (as 1 for a number held in memory)
    Integer,  // REG_DWORD
    String,   // REG_SZ
};

// What reading or saving does with an option beyond taking the value as it is stored.
enum OptionRule : unsigned {
    kPlain = 0,
    kWrittenWhenSet = 1u << 0,     // a window value the window may not have: written only while it is set
    kFilterIndex = 1u << 1,        // read only when it indexes one of the file box's kFilterCount filters
    kExistingFile = 1u << 2,       // reverts to its default unless the file it names exists
    kEmptyKeepsCurrent = 1u << 3,  // an empty stored value leaves the one in force
    kFromHistory = 1u << 4,        // saved from the list history, and only when the history has an entry
    kInProgramFolder = 1u << 5,    // the default is the program folder followed by the default column; a value
                                   // stored empty stays empty
};

// One row of the option table.
struct OptionField {
    using Member = std::variant<bool Options::*, int Options::*, std::optional<int> Options::*, QString Options::*>;
    // No default (monostate): the value is absent until read or set.
    using Default = std::variant<std::monostate, bool, int, const char*>;

    const char* name;  // the value name as stored
    StoredAs storedAs;
    Member member;
    Default defaultValue;
    unsigned rules = kPlain;

    QString valueName() const { return QLatin1String(name); }
    // Whether `a` and `b` hold the same value of this option.
    bool same(const Options& a, const Options& b) const;
};

}  // namespace vorlo
