#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace vorlo {

class ListCommands;
class PlaybackEngine;
class Playlist;
class PlaylistEditor;
class ZipSession;

enum class TransferMode { Copy, Move };
// Which entries the copy and move dialog handles: the acted-on entry, the checked ones, or all.
enum class TransferScope { One, Checked, All };
// How an OK of the copy and move dialog ended: Completed keeps its folder in the history; Abandoned (the user did
// not want the missing folder, or it could not be made) leaves the history as it was.
enum class DialogOutcome { Completed, Abandoned };

// The player's commands on the files behind the playlist: renaming an entry's file, deleting it ("&Kill This
// File!"), deleting and creating folders of the file box, copying and moving entries' files to a folder (the copy
// and move dialog, and a playlist line dropped on the folder list). Each keeps the playlist, the media device and
// the file box in step with the disk: paths in the playlist follow the file, a file the device has open is let go
// of and opened again where it went (at the same position, playing on), the file box is told what changed, and an
// open list file is saved again. Every failure is told in a message box and leaves the playlist as it was.
//
// None of them ever loses a file: a rename or move never replaces another file unless the user said Yes to
// replacing it, and then the old one goes only when the new one is whole in its place (see DiskFiles).
// User-interface thread only.
class FileCommands : public QObject {
    Q_OBJECT
public:
    FileCommands(PlaylistEditor& editor, PlaybackEngine& engine, ListCommands& lists, ZipSession& zip,
                 QObject* parent = nullptr);

    // The in-place rename's Enter: the file of entry `index` is renamed to `typed` (the old extension is kept when
    // `typed` has none). Typing the old name, with or without its extension, renames nothing.
    enum class RenameResult { Unchanged, Renamed, Failed };
    RenameResult renameEntry(int index, const QString& typed);

    // "&Kill This File!": deletes the selected entry's file after asking, and takes the entry out of the playlist.
    void PopDeleteClick();

    // "&Delete Folder": removes an empty folder; tells the user when it is not empty or is a root.
    bool deleteFolder(const QString& folder);

    // The copy and move dialog's OK. `folderText` is what the user typed or picked; a relative name is taken
    // from `baseFolder` (the file box's folder). The create mode makes one folder; the copy and move modes
    // handle the entries of `scope` (offering to make a missing folder first).
    DialogOutcome createFolder(const QString& folderText, const QString& baseFolder);
    DialogOutcome transferFiles(TransferMode mode, TransferScope scope, const QString& folderText,
                                const QString& baseFolder);

    // A playlist line (the acted-on entry, DragIndex) dropped on a folder of the folder list: "&Move" and "&Copy".
    void dropMove(const QString& folder);
    void dropCopy(const QString& folder);

    // The folder named by the dialog's text: a trailing separator dropped (the root keeps its own), a relative
    // name taken from `baseFolder`.
    static QString destinationFolder(const QString& folderText, const QString& baseFolder);

signals:
    // Files or folders changed where the file box may show them: it reads the disk again (Refresh).
    void fileBoxRefreshWanted();
    // The files of `folder` changed: the file list reads it again when it shows it, and selects the first line
    // beginning with `selectName` (when one is given).
    void folderContentsChanged(const QString& folder, const QString& selectName);
    // A folder was made: the folder list reads the disk again and selects it.
    void folderCreated(const QString& folder);
    // A folder exists already where one was to be made: the folder list selects it.
    void folderShown(const QString& folder);

private:
    // An open list file is saved again after its entries changed.
    void saveIfListFile();
    // Entry `index` now stands for `path`; the caption follows when it is the current entry.
    void relocate(int index, const QString& path, const QString& displayName);
    // Moves the file of entry `index` to `target`, with the device let go of it when it has it open.
    bool moveEntryFile(int index, const QString& target, bool replace, bool& wasOpen);
    // The parts of the copy and move dialog.
    void handleOne(TransferMode mode, int index, const QString& folder);
    void transfer(TransferMode mode, int index, const QString& target, bool replace);
    bool sameFolderOrFile(int index, const QString& folder, const QString& target) const;
    // A Yes to replacing `target` counts only when it can be replaced; otherwise "Cannot overwrite the file!".
    bool replaceable(const QString& target, const QString& caption) const;
    bool askOverwrite(const QString& caption) const;
    void deleteAfterYes(int index);
    // The acted-on entry dropped on a folder: its file and where it would go; none, after telling the user, when
    // the file is in that folder already.
    struct DropTarget {
        int index = -1;
        QString folder;
        QString display;
        QString source;
        QString target;
    };
    std::optional<DropTarget> dropTarget(const QString& dropFolder, TransferMode mode) const;

    Playlist& playlist_;
    PlaylistEditor& editor_;
    PlaybackEngine& engine_;
    ListCommands& lists_;
    ZipSession& zip_;
};

}  // namespace vorlo
