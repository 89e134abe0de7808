#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QMimeData;

namespace vorlo {

// What the player's own drags carry: files of the file list, a folder of the folder list, a line of the playlist.
// Each names the process that started it, so that a drag from another running player is never taken for one of
// ours (its line numbers and folders mean nothing here). Drags from other programs arrive as "text/uri-list".
class DragPayloads {
public:
    static constexpr const char* FileBoxFilesType = "application/x-vorlo-file-box-files";
    static constexpr const char* FolderType = "application/x-vorlo-folder";
    static constexpr const char* PlaylistLineType = "application/x-vorlo-playlist-line";
    static constexpr const char* UriListType = "text/uri-list";

    // Selected files of the file list: their folder and names (also as URIs, for other programs).
    static QMimeData* fileBoxFiles(const QString& folder, const QStringList& names);
    struct FileBoxFiles {
        QString folder;
        QStringList names;
    };
    static std::optional<FileBoxFiles> readFileBoxFiles(const QMimeData* mime);

    static QMimeData* folder(const QString& path);
    static std::optional<QString> readFolder(const QMimeData* mime);

    static QMimeData* playlistLine(int row);
    static bool isPlaylistLine(const QMimeData* mime);

    // A drop from another program: a list of URIs.
    static bool isUriList(const QMimeData* mime);
};

}  // namespace vorlo
