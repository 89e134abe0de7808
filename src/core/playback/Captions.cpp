#include "core/playback/Captions.h"

#include "core/playlist/MediaPaths.h"
#include "core/settings/ResetModes.h"

namespace vorlo {

QString minutesSeconds(std::int64_t ms) {
    if (ms < 0) ms = 0;
    return QStringLiteral("%1:%2").arg(ms / 60000).arg((ms / 1000) % 60, 2, 10, QLatin1Char('0'));
}

QString songCaption(const QString& entryName, std::int64_t lengthMs, const QString& listFile) {
    QString listPart;
    if (listFile != QLatin1String("*.mpl") && !listFile.isEmpty()) {
        QString name = fileNamePart(listFile);
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0) name.truncate(dot);
        listPart = QStringLiteral(" - ") + name;
    }
    return entryName + QStringLiteral(" - ") + minutesSeconds(lengthMs) + listPart + QStringLiteral(" - MIDI Vorlo");
}

QString applicationTitle(const QString& caption) {
    if (caption.size() <= 63) return caption;
    return caption.left(60) + QStringLiteral("...");
}

QString resetCaption(const QString& resetFile, const QString& programFolder) {
    return ResetModes::caption(resetFile, programFolder);
}

QString waitCaption(int seconds) {
    return QStringLiteral("Waiting %1 %2")
        .arg(seconds)
        .arg(seconds < 2 ? QStringLiteral("second") : QStringLiteral("seconds"));
}

int cdTrackFromPath(const QString& path) {
    const qsizetype k = path.lastIndexOf(QLatin1Char('k'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString digits = k >= 0 && dot > k ? path.mid(k + 1, dot - k - 1) : QString();
    bool ok = false;
    const int track = digits.toInt(&ok, 10);
    if (!ok || digits.trimmed() != digits)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(digits));
    return track;
}

}  // namespace vorlo
