#pragma once

#include "media/MediaSettings.h"

#include <QString>

namespace vorlo {

class Registry;
class RegistryBatch;

// How the player sounds: the soundfont, the audio output, reverb and chorus, and the gain. Kept in a key of its own
// beside the options ("Sound" under the player's key) and handed to the media device at start and whenever the
// configuration dialog changes it.
struct SoundOptions {
    static constexpr const char* kSoundKey = "SOFTWARE\\Brackwen\\MIDI Vorlo\\Sound";
    static constexpr int kMaxGainPercent = 1000;  // the synthesizer's gain of 10
    static constexpr int kDefaultGainPercent = 50;

    QString soundFont;  // empty: $VORLO_SOUNDFONT, then the system's General MIDI soundfont
    // Empty: automatic (the first driver that opens), else a driver's name, or "port:CLIENT:PORT" for an external
    // synthesizer on that MIDI port (the soundfont, effects and gain then apply to the built-in synthesizer only).
    QString audioOutput;
    QString audioDevice;  // empty: the driver's default device
    bool reverb = true;
    bool chorus = true;
    bool autoGain = true;                   // the level that suits the soundfont
    int gainPercent = kDefaultGainPercent;  // else the synthesizer's gain in hundredths, 0 to kMaxGainPercent

    bool operator==(const SoundOptions&) const = default;

    // Reads the Sound key; missing values, values of another type and a gain out of range keep their defaults.
    // Throws RegistryError when the settings file is damaged or cannot be read.
    void read(Registry& registry);
    // The stored sound options, or the defaults when the settings cannot be read (the window reports that when it
    // reads the options).
    static SoundOptions stored();
    // Adds every value of the Sound key to `batch`.
    void writeTo(RegistryBatch& batch) const;

    // The media device's settings `base` with these sound options in them.
    media::MediaSettings applyTo(media::MediaSettings base) const;
    // The audio output value of the output `settings` name (a driver, a MIDI port or automatic).
    static QString outputOf(const media::MediaSettings& settings);

    static constexpr const char* kPortPrefix = "port:";
    // The MIDI port ("CLIENT:PORT") an audio output value names; empty for a driver or automatic.
    static QString portOf(const QString& output);
    static QString portOutput(const QString& address) { return QLatin1String(kPortPrefix) + address; }
};

}  // namespace vorlo
