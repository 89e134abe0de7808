#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorlo {

class Playlist;
class ZipSession;
struct FoundFile;
struct PlaylistEntry;

// A file as the file box lists it: its name in the folder and the text of its line.
struct FileBoxItem {
    QString fileName;
    QString lineText;
};

// Where the keyboard focus is to go after an editing command: the playlist's list, the file box's folder list,
// or the playlist panel itself.
enum class PlaylistFocus { SongList, FolderList, PlaylistPanel };

// Every editing command of the playlist: adding from the file box, a list or a second start, inserting at a
// drop point, reordering, removing, clearing, sorting, unchecking, playing the selected line, and the question
// whether to save a changed list. It acts on the Playlist (including its selected line, which the view
// mirrors) and tells by its signals what a change means for playing (the player's core hands them to the
// playback engine). Nothing can be added in zip mode. User-interface thread only; a list file that cannot be
// read throws EListFileError to the caller.
class PlaylistEditor : public QObject {
    Q_OBJECT
public:
    PlaylistEditor(Playlist& playlist, ZipSession& zip, QObject* parent = nullptr);

    Playlist& playlist() { return playlist_; }
    const Playlist& playlist() const { return playlist_; }
    const ZipSession& zip() const { return zip_; }

    // The box that says nothing can be added while the playlist shows an archive.
    static void refuseInZipMode();
    // The box that says the files `names` were not added: their names hold a line break, which would split
    // their line of a list file in two. Adding leaves such files out; nothing when `names` is empty.
    static void refuseLineBreaks(const QStringList& names);

    // Adding from the file box: the given files of `folder` in file box order (the selected ones, or all).
    // Playable files and the existing paths of list files are appended; Add All also settles the list after
    // each list file it adds.
    void addSelectedFiles(const QString& folder, const std::vector<FileBoxItem>& files);
    void BtnAddAllClick(const QString& folder, const std::vector<FileBoxItem>& files);
    // Appends the paths of a list that name existing files (the others are left out without a word), then
    // brings the list up to date as after any adding. Returns the number of entries added.
    int addListedPaths(const QStringList& paths);
    // A double click on a playable file in the file box, or a file handed over by a second start.
    void addOneFile(const QString& path);
    // A drop of file box files at line `dropIndex`; the first file of another type ends the drop.
    void insertFromFileBox(int dropIndex, const QString& folder, const std::vector<FileBoxItem>& files);
    // Moves line DragIndex to before line `dropIndex`, as dropping a dragged line does.
    void dropDraggedLine(int dropIndex);
    // Files dropped from the desktop: playable files and the existing entries of list files are appended in the
    // order given; folders, archives and anything else are left out without a word.
    void DropWatchFilesDropped(const QStringList& paths);
    // Add Folder (a folder dropped from the folder list): false, after telling the user, in zip mode. The files a
    // folder walk finds arrive in batches; when it ends, the last line is selected and the list settles as after
    // any adding, if it grew.
    bool mayAddFolder();
    void appendFound(const std::vector<FoundFile>& files);
    void folderAdded(int countBefore);

    // Removes the selected line ("Remove One File"); after a media device error, the same for the entry that
    // failed.
    void BtnRemoveClick();
    void removeAfterDeviceError();
    void FileClearListClick();
    void MoveFileUpClick();
    void MoveFileDownClick();
    void FileSortListClick();
    void UncheckAllClick();
    // Plays the selected line (a double click, Enter, a One Touch click).
    void SongListDblClick();
    // Selects the current entry's line.
    void GotoCurrent1Click();

    // After entries were appended (entriesAdded: with nothing open, the first one is opened).
    void AfterEntriesAdded();

    // The question before the list is left ("This list has been changed. Save it now?"). Yes asks for the
    // save (saveListRequested) and goes on, No forgets the changes, Cancel (when offered) returns false.
    bool AskSaveChanges(bool allowCancel = true);

signals:
    // What the changes mean for playing.
    void entriesAdded();
    // The current entry was removed; CurrentIndex stands one before it.
    void currentEntryRemoved(bool afterDeviceError);
    void listCleared();
    // The list was sorted and entry 0 made current.
    void listSorted();
    // The user chose entry `index` to be played.
    void playRequested(int index);

    void saveListRequested();
    void closeRenameEditorRequested();
    void focusRequested(vorlo::PlaylistFocus where);
    // Clearing in zip mode closes the list (and the archive).
    void closeListRequested();

private:
    std::vector<PlaylistEntry> entriesOfListFile(const QString& listFile) const;
    static std::vector<PlaylistEntry> existingEntries(const QStringList& paths);
    void appendEntries(std::vector<PlaylistEntry>& batch);
    void addFromFileBox(const QString& folder, const std::vector<FileBoxItem>& files, bool settleAfterEachList);
    void finishAdding();
    void removeSelected(bool afterDeviceError);

    Playlist& playlist_;
    ZipSession& zip_;
};

}  // namespace vorlo
