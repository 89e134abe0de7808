#include "core/settings/Settings.h"
#include "core/settings/SoundOptions.h"
#include "os/Registry.h"

#include "PlayerSandbox.h"

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

class SoundOptionsTest : public test::PlayerSandbox {
protected:
    static inline const QString kSoundKey = QStringLiteral("\\SOFTWARE\\Brackwen\\MIDI Vorlo\\Sound");
    static void save(const Options& options) {
        Registry reg;
        options.save(reg, {});
    }
    static Options readBack() {
        Registry reg;
        Options options;
        options.read(reg, "/opt/run");
        return options;
    }
};

TEST_F(SoundOptionsTest, TheSoundKeepsAKeyOfItsOwnBesideTheOptions) {
    Options options = Options::defaultsFor("/opt/run");
    save(options);
    // Never changed: the settings file stays as the player always wrote it.
    EXPECT_FALSE(Registry().keyExists(kSoundKey));

    options.sound = {"/fonts/My Font.sf2", "alsa", "hw:1,0", false, true, false, 180};
    save(options);
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly(kSoundKey));
    EXPECT_EQ(reg.valueNames(),
              (QStringList{"AudioDevice", "AudioOutput", "AutoGain", "Chorus", "Gain", "Reverb", "SoundFont"}));
    EXPECT_EQ(reg.readString("SoundFont"), "/fonts/My Font.sf2");
    EXPECT_EQ(reg.readInteger("Gain"), 180);
    EXPECT_EQ(reg.valueType("Reverb"), RegistryValue::Type::DWord);
    reg.closeKey();
    ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
    EXPECT_FALSE(reg.valueNames().contains("SoundFont"));
    EXPECT_EQ(readBack().sound, options.sound);

    // Back to the defaults: written as such, not left as they were.
    options.sound = {};
    save(options);
    EXPECT_EQ(readBack().sound, SoundOptions{});
    EXPECT_TRUE(Registry().keyExists(kSoundKey));
}

TEST_F(SoundOptionsTest, StrayValuesKeepTheirDefaults) {
    {
        Registry reg;
        ASSERT_TRUE(reg.openKey(kSoundKey, true));
        reg.writeInteger("Gain", 1001);
        reg.writeString("Reverb", "no");
        reg.writeInteger("SoundFont", 3);
        reg.writeBool("AutoGain", false);
    }
    const SoundOptions read = SoundOptions::stored();
    EXPECT_EQ(read.gainPercent, SoundOptions::kDefaultGainPercent);
    EXPECT_TRUE(read.reverb);
    EXPECT_EQ(read.soundFont, "");
    EXPECT_FALSE(read.autoGain);
    {
        Registry reg;
        ASSERT_TRUE(reg.openKey(kSoundKey, true));
        reg.writeInteger("Gain", -1);
    }
    EXPECT_EQ(SoundOptions::stored().gainPercent, SoundOptions::kDefaultGainPercent);
}

TEST_F(SoundOptionsTest, TheMediaDeviceGetsTheSoundAndKeepsItsOwnMode) {
    media::MediaSettings base;
    base.audioMode = media::AudioMode::SilentClock;
    base.cdDevice = "/dev/sr1";
    base.audioDriverOrder = {"jack"};

    SoundOptions automatic;
    automatic.audioDevice = "hw:1,0";  // left from a driver chosen before: no driver, no device
    media::MediaSettings settings = automatic.applyTo(base);
    EXPECT_EQ(settings.soundFontPath, "");
    EXPECT_FALSE(settings.synthGain.has_value());
    EXPECT_TRUE(settings.audioDriverOrder.empty());
    EXPECT_EQ(settings.audioDevice, "");
    EXPECT_EQ(settings.audioMode, media::AudioMode::SilentClock);
    EXPECT_EQ(settings.cdDevice, "/dev/sr1");

    const SoundOptions chosen{"/fonts/a.sf3", "alsa", "hw:1,0", false, false, false, 150};
    settings = chosen.applyTo(base);
    EXPECT_EQ(settings.soundFontPath, "/fonts/a.sf3");
    EXPECT_DOUBLE_EQ(settings.synthGain.value_or(0), 1.5);
    EXPECT_EQ(settings.audioDriverOrder, std::vector<std::string>{"alsa"});
    EXPECT_EQ(settings.audioDevice, "hw:1,0");
    EXPECT_FALSE(settings.reverb);
    EXPECT_FALSE(settings.chorus);
    EXPECT_EQ(SoundOptions::outputOf(settings), "alsa");
}

TEST_F(SoundOptionsTest, AnExternalPortTakesMidiAwayFromTheDriversAndRoundTrips) {
    media::MediaSettings base;
    base.midiPort = "20:0";  // chosen before
    SoundOptions port{"/fonts/a.sf3", "port:128:2", "hw:1,0", true, true, true, 50};
    media::MediaSettings settings = port.applyTo(base);
    EXPECT_EQ(settings.midiPort, "128:2");
    EXPECT_TRUE(settings.audioDriverOrder.empty());  // "port:128:2" is no driver
    EXPECT_EQ(settings.audioDevice, "");
    EXPECT_EQ(settings.soundFontPath, "/fonts/a.sf3");  // kept for the built-in synthesizer
    // What the window keeps when the sound it asked for cannot start: the output in force, as stored.
    EXPECT_EQ(SoundOptions::outputOf(settings), "port:128:2");
    port.audioOutput = "alsa";
    EXPECT_EQ(port.applyTo(settings).midiPort, "");
    EXPECT_EQ(SoundOptions::outputOf(port.applyTo(settings)), "alsa");

    Options options = Options::defaultsFor("/opt/run");
    options.sound.audioOutput = "port:128:2";
    save(options);
    EXPECT_EQ(readBack().sound.audioOutput, "port:128:2");
}

TEST_F(SoundOptionsTest, ApplyingTellsWhetherTheSoundChanged) {
    Settings settings;
    std::vector<OptionChanges> heard;
    QObject::connect(&settings, &Settings::changed, [&](const OptionChanges& changes) { heard.push_back(changes); });
    Options edited = settings.options();
    edited.sound.chorus = false;
    settings.apply(edited);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(heard[0].sound());
    EXPECT_TRUE(heard[0].valueNames().isEmpty());
    edited.skip = 9;
    settings.apply(edited);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_FALSE(heard[1].sound());
}

}  // namespace
