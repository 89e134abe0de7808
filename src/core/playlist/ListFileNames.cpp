#include "core/playlist/ListFileNames.h"

#include "core/playlist/MediaPaths.h"

namespace vorlo {

QString ListFileNames::listCaption() const {
    if (!playlistHasFile()) return QStringLiteral("MIDI Vorlo");
    const QString name = fileNamePart(saveFileName);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? name : name.left(dot)) + QStringLiteral(" - MIDI Vorlo");
}

}  // namespace vorlo
