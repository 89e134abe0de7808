#include "core/settings/SoundOptions.h"

#include "os/NativePath.h"
#include "os/Registry.h"

#include <QFile>

namespace vorlo {

namespace {

QString soundKey() { return QLatin1Char('\\') + QLatin1String(SoundOptions::kSoundKey); }

void readString(const Registry& registry, const char* name, QString& value) {
    if (registry.valueType(QLatin1String(name)) == RegistryValue::Type::String)
        value = registry.readString(QLatin1String(name));
}

void readBool(const Registry& registry, const char* name, bool& value) {
    if (registry.valueType(QLatin1String(name)) == RegistryValue::Type::DWord)
        value = registry.readBool(QLatin1String(name));
}

}  // namespace

void SoundOptions::read(Registry& registry) {
    if (!registry.openKeyReadOnly(soundKey())) return;
    readString(registry, "SoundFont", soundFont);
    readString(registry, "AudioOutput", audioOutput);
    readString(registry, "AudioDevice", audioDevice);
    readBool(registry, "Reverb", reverb);
    readBool(registry, "Chorus", chorus);
    readBool(registry, "AutoGain", autoGain);
    if (registry.valueType(QStringLiteral("Gain")) == RegistryValue::Type::DWord) {
        const int gain = registry.readInteger(QStringLiteral("Gain"));
        if (gain >= 0 && gain <= kMaxGainPercent) gainPercent = gain;
    }
    registry.closeKey();
}

SoundOptions SoundOptions::stored() {
    SoundOptions options;
    try {
        Registry registry;
        options.read(registry);
    } catch (const RegistryError&) {
        return SoundOptions{};
    }
    return options;
}

void SoundOptions::writeTo(RegistryBatch& batch) const {
    const QString key = soundKey();
    batch.writeString(key, QStringLiteral("SoundFont"), soundFont);
    batch.writeString(key, QStringLiteral("AudioOutput"), audioOutput);
    batch.writeString(key, QStringLiteral("AudioDevice"), audioDevice);
    batch.writeBool(key, QStringLiteral("Reverb"), reverb);
    batch.writeBool(key, QStringLiteral("Chorus"), chorus);
    batch.writeBool(key, QStringLiteral("AutoGain"), autoGain);
    batch.writeInteger(key, QStringLiteral("Gain"), gainPercent);
}

media::MediaSettings SoundOptions::applyTo(media::MediaSettings base) const {
    base.soundFontPath = encodePath(soundFont).toStdString();
    base.synthGain.reset();
    if (!autoGain) base.synthGain = gainPercent / 100.0;
    base.reverb = reverb;
    base.chorus = chorus;
    base.audioDriverOrder.clear();
    base.audioDevice.clear();
    base.midiPort = portOf(audioOutput).toStdString();
    if (!audioOutput.isEmpty() && base.midiPort.empty()) {
        // A chosen driver is the only one tried: when it cannot open, the user hears that it did not.
        base.audioDriverOrder = {audioOutput.toStdString()};
        base.audioDevice = audioDevice.toStdString();
    }
    return base;
}

QString SoundOptions::portOf(const QString& output) {
    const QLatin1String prefix(kPortPrefix);
    return output.startsWith(prefix) ? output.mid(prefix.size()) : QString();
}

QString SoundOptions::outputOf(const media::MediaSettings& settings) {
    if (!settings.midiPort.empty()) return portOutput(QString::fromStdString(settings.midiPort));
    return settings.audioDriverOrder.size() == 1 ? QString::fromStdString(settings.audioDriverOrder.front())
                                                 : QString();
}

}  // namespace vorlo
