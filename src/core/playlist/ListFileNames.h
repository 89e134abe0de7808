#pragma once

#include <QString>

namespace vorlo {

// What the two list-file dialogs remember between uses. The save name is the playlist's own file ("*.mpl":
// none yet); the open name is the last list opened or saved. Each dialog starts in its own folder.
struct ListFileNames {
    static inline const QString NoFile = QStringLiteral("*.mpl");

    QString openFileName = NoFile;
    QString openInitialFolder;
    QString saveFileName = NoFile;
    QString saveInitialFolder;

    bool playlistHasFile() const { return saveFileName != NoFile; }
    // The caption while no entry is shown: "Classics - MIDI Vorlo" for a list file, else "MIDI Vorlo".
    QString listCaption() const;
};

}  // namespace vorlo
