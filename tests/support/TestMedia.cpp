#include "TestMedia.h"

#include "midi/SmfWriter.h"

#include <QDir>

namespace vorlo::test {

bool writeSong(const QString& path, int lengthMs) {
    midi::SmfWriter writer(0, 480);  // 480 ticks a beat at 500 ms a beat
    writer.addTrack().programChange(0, 0, 0).note(0, static_cast<std::uint64_t>(lengthMs) * 480 / 500, 0, 60, 90);
    return writer.writeTo(path.toStdString());
}

bool writeResetFiles(const QString& programFolder) {
    if (!QDir().mkpath(programFolder + QStringLiteral("/Reset"))) return false;
    for (const char* name : {"Gm_reset.mid", "Gs_reset.mid", "Xg_reset.mid"})
        if (!writeSong(programFolder + QStringLiteral("/Reset/") + QLatin1String(name))) return false;
    return true;
}

std::unique_ptr<media::MIDIPlayer> silentDevice() {
    media::MediaSettings settings;
    settings.audioMode = media::AudioMode::SilentClock;
    return std::make_unique<media::MIDIPlayer>(settings);
}

}  // namespace vorlo::test
