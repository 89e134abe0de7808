// Opening an archive as the playlist: zip mode begins.
#include "core/app/Logging.h"
#include "core/app/MessageBoxes.h"
#include "core/playback/PlaybackEngine.h"
#include "core/playlist/ListCommands.h"
#include "core/playlist/MediaPaths.h"
#include "core/playlist/Playlist.h"
#include "core/playlist/ZipSession.h"

namespace vorlo {

void ListCommands::openZipArchive(const QString& archive) {
    guarded([&] { openArchive(archive); });
    normalCursor();
}

void ListCommands::openArchive(const QString& archive) {
    // Opening an archive cannot be cancelled: a changed list is only asked about, and zip mode, if on, ends.
    closeList(CloseOrigin::ArchiveOpening);
    busy();
    QString unreadable;
    std::vector<PlaylistEntry> entries = zip_.readArchive(archive, unreadable);
    if (entries.empty()) {
        normalCursor();
        if (!unreadable.isEmpty()) {
            MessageBoxes::show(
                QStringLiteral("Error - Open Zip File"),
                fileNamePart(archive) + QStringLiteral(" cannot be opened: ") + unreadable + QLatin1Char('.'),
                BoxIcon::Error);
        }
        MessageBoxes::show(QStringLiteral("No File to Play"),
                           QStringLiteral("No compressed file in this zip archive can be played!"), BoxIcon::Error,
                           BoxButtons::Ok, true);
        return;
    }
    qCDebug(lcLists) << "archive" << archive << "opened:" << entries.size() << "entries";
    playlist().append(std::move(entries));
    playlist().MarkListSaved();
    zip_.enter(archive);
    setListOpen(true);

    // Opening the entry extracts its member and selects its line.
    openFirstEntry(LoadOrigin::User, 0);
}

}  // namespace vorlo
