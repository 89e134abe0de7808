#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace vorlo {

// The two file dialogs that name list files, and what they remember between uses. The save dialog's file
// name is the playlist's own file ("*.mpl": none yet); the open dialog's file name is the last list opened or
// saved. Each dialog starts in its own folder with its file name in the name field ("*.mpl" included, which
// only filters the listing: it is never accepted as a name). Dialogs are created for each use and run through
// MessageBoxes, as objects named "OpenDialog" and "SaveDialog".
class ListDialogs {
public:
    static inline const QString NoFile = QStringLiteral("*.mpl");

    QString openFileName = NoFile;
    QString openInitialFolder;
    QString saveFileName = NoFile;
    QString saveInitialFolder;

    bool playlistHasFile() const { return saveFileName != NoFile; }

    // The chosen name, or nothing when the user cancelled. `title` is "Open PlayList" or "Add Playlist".
    std::optional<QString> runOpenDialog(QWidget* parent, const QString& title) const;
    // `title` is "Save PlayList As", or "Save PlayList" for a list that has no file yet.
    std::optional<QString> runSaveDialog(QWidget* parent, const QString& title) const;
};

// The folder part of a path, with its trailing separator ("" for a bare name).
QString folderOfPath(const QString& path);

// True for an existing file that is not a folder: only such a path can be played.
bool fileExists(const QString& path);

}  // namespace vorlo
