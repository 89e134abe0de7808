#pragma once

#include "core/settings/SoundOptions.h"
#include "player/settings/ConfigurationPage.h"

#include <QStringList>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlo {

class NumberBox;

// An external synthesizer's MIDI port, as the Sound page offers it.
struct SoundPort {
    QString address;  // "CLIENT:PORT"
    QString name;     // "CLIENT NAME, PORT NAME"
};

// What the machine offers the Sound page: the audio outputs that open here and their devices, the MIDI ports of
// external synthesizers, and the soundfonts in use and found by default.
struct SoundChoices {
    QStringList drivers;                                   // the drivers that open here, in the automatic order
    QList<SoundPort> ports;                                // the sequencer's ports that take MIDI now
    std::function<QStringList(const QString&)> devicesOf;  // a driver's devices; empty: no choice
    QString soundFontInUse;                                // empty: none could be loaded
    QString systemSoundFont;                               // empty: none found

    // Asks the audio libraries (opening each driver for a moment, `driverInUse` excepted: the player holds it) and
    // the ALSA sequencer.
    static SoundChoices ofSystem(const QString& soundFontInUse, const QString& driverInUse);
};

// "Sound" (`TabSound`): the soundfont, the audio output and its device, reverb and chorus, and the gain. OK stores
// them in the options' sound; the player hands them to the synthesizer at once.
class SoundPage : public ConfigurationPage {
    Q_OBJECT
public:
    // Asks the user for a soundfont, starting from the path typed so far; nothing when cancelled.
    using Browser = std::function<std::optional<QString>(const QString& typed)>;

    SoundPage(const SoundOptions& sound, SoundChoices choices, Browser browse, QWidget* parent = nullptr);

    QString title() const override { return QStringLiteral("Sound"); }
    int helpContext() const override;
    // A soundfont typed that cannot be read, or is no soundfont, stops OK with its message.
    bool apply(Options& edited) override;

    // Whether `path` is a soundfont file that can be read (a RIFF "sfbk" file, as .sf2 and .sf3 are).
    static bool isReadableSoundFont(const QString& path);
    // The standard soundfont chooser: .sf2 and .sf3 files.
    static std::optional<QString> chooseSoundFont(QWidget* parent, const QString& typed);

    QLineEdit* soundFont() const { return soundFont_; }
    QComboBox* output() const { return output_; }
    QComboBox* device() const { return device_; }
    QCheckBox* reverb() const { return reverb_; }
    QLabel* externalNote() const { return external_; }
    NumberBox* gain() const { return gain_; }

private:
    void outputChosen();
    void autoGainClicked();

    SoundChoices choices_;
    Browser browse_;
    QString storedOutput_;
    QString storedDevice_;
    QWidget* fontGroup_;
    QLabel* external_;
    QLineEdit* soundFont_;
    QPushButton* browseButton_;
    QComboBox* output_;
    QComboBox* device_;
    QCheckBox* reverb_;
    QCheckBox* chorus_;
    QCheckBox* autoGain_;
    NumberBox* gain_;
};

}  // namespace vorlo
