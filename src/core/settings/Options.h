#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vorlo {

class Registry;

// Every option the player keeps between runs, in memory from start-up to close. It is read once while the main
// window is created and written whole when the player closes; the window reflects these values and hands its
// current state back before the save. Nothing else touches the options key.
struct Options {
    static constexpr const char* kKey = "SOFTWARE\\Brackwen\\MIDI Vorlo";
    static constexpr const char* kDefaultValue = "MIDI Vorlo Configuration Key";
    static constexpr int kFilterCount = 8;
    static constexpr int kFirstRunClientWidth = 592;
    static constexpr int kFirstRunClientHeight = 298;

    // The folder the player runs from: the "Folder" key, else (never installed by setup) the folder of the
    // program itself, so that the history file and the reset files still have a home.
    QString programFolder;

    // Window (absent values keep the form's own position and size).
    std::optional<int> top;
    std::optional<int> left;
    std::optional<int> clientHeight;
    std::optional<int> clientWidth;
    std::optional<int> windowState;  // 0 normal, 1 minimised, 2 maximised; absent: nothing to apply or save

    // The six parts of the window and the other marks.
    bool fileBox = true;
    bool playList = true;
    bool trackBar = true;
    bool menu = true;
    bool counter = true;
    bool toolBar = true;
    bool hide = false;
    int timeCount = 0;
    bool stayOnTop = false;

    // Playing.
    bool autoCheck = false;
    bool listClose = false;
    bool autoPlay = true;
    bool loopPlay = true;
    bool repeatPlay = false;
    bool randomPlay = false;
    bool shufflePlay = false;
    bool autoLoad = true;
    int addPlay = 0;
    QString resetFile;
    int lastOne = 0;
    int skip = 5;
    int wait = 0;

    // Lists and the file box.
    QString autoLoadList = QStringLiteral("*.mpl");
    QString listDirectory;
    QString midiDirectory;
    bool oneTouch = false;
    int filter = 0;

    // The reset file a fresh installation plays before MIDI songs.
    QString defaultResetFile() const { return programFolder + QStringLiteral("//Reset//Gm_reset.mid"); }

    // Reads the options in their documented order. `runningFolder` is the program folder to use when the
    // "Folder" key is missing. Returns false when the options key does not exist (the first run); the
    // program folder and the reset file are set either way. Values that are missing or of another type keep
    // their defaults. Throws RegistryError when the settings file is damaged.
    bool read(Registry& registry, const QString& runningFolder);

    // Writes every option. `history` is the list history, most recent first: when it has an entry, the list to
    // load at the next start and its folder are taken from it; otherwise the stored ones stay as they are.
    // Throws RegistryError when a write fails; the values written before it stay.
    void save(Registry& registry, const QStringList& history) const;

    // The folder part of a list path, with its trailing separator.
    static QString folderOf(const QString& path);
};

}  // namespace vorlo
