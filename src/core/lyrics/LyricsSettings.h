#pragma once

#include <QString>

#include <optional>

namespace vorlo {

// What the lyrics window keeps between runs, in a key of its own beside the options: where it stood, its text
// size and the encoding chosen for song texts.
struct LyricsSettings {
    static constexpr const char* kKey = "\\SOFTWARE\\Brackwen\\MIDI Vorlo\\Lyrics";
    static constexpr int kMinimumPointSize = 8;
    static constexpr int kMaximumPointSize = 72;

    struct Place {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        bool operator==(const Place&) const = default;
    };
    std::optional<Place> place;  // absent: the window manager places it
    int pointSize = 18;
    QString encoding = QStringLiteral("auto");  // a name of midi::textCharsets()

    // The stored settings; what is missing, of another type or out of range keeps its default. Throws
    // RegistryError when the settings file is damaged.
    static LyricsSettings read();
    // Writes them in one change of the settings file. Throws RegistryError when that fails.
    void save() const;

    bool operator==(const LyricsSettings&) const = default;
};

}  // namespace vorlo
