#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorlo {

// One line of the playlist: the full path as it came (never normalised), the name shown for it, and the
// check mark that makes the advance skip it. Check marks are never written to a list file. In zip mode the
// entry is a member of the open archive: `member` is its place there, so that it is the member extracted
// whatever becomes of its name or line; -1 for a file.
struct PlaylistEntry {
    QString path;
    QString displayName;
    bool checked = false;
    int member = -1;
};

// The playlist: its entries in order (duplicates allowed), the current entry (`CurrentIndex`, the one opened
// on the media device; -1 only as the start of an advance), the line of the last mouse press (`DragIndex`)
// and whether the list differs from its list file (`ListChanged`). Every editing operation is one method that
// keeps the current entry on the same song; views follow through the signals.
class Playlist : public QObject {
    Q_OBJECT

public:
    explicit Playlist(QObject* parent = nullptr);

    int count() const { return static_cast<int>(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    bool isValidIndex(int index) const { return index >= 0 && index < count(); }
    const PlaylistEntry& entry(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
    const QString& path(int index) const { return entry(index).path; }
    const QString& displayName(int index) const { return entry(index).displayName; }
    bool isChecked(int index) const { return entry(index).checked; }
    // Full paths in list order, as a list file stores them.
    QStringList PathList() const;

    int CurrentIndex() const { return currentIndex_; }
    void setCurrentIndex(int index) { currentIndex_ = index; }
    int DragIndex() const { return dragIndex_; }
    void setDragIndex(int index) { dragIndex_ = index; }

    // The highlighted line of the list, separate from CurrentIndex; -1 while none is. The view mirrors it and
    // reports the user's choice back. It follows its line when lines are inserted, removed or moved, and goes
    // when the list is cleared or sorted.
    int selectedLine() const { return selectedLine_; }
    // An index that is no line selects nothing.
    void selectLine(int line);

    bool ListChanged() const { return listChanged_; }
    void MarkListChanged();
    void MarkListSaved();
    // Before any question whether to save: an empty playlist is never "changed". Returns the flag.
    bool settleChangedFlag();

    // Ticking a line never changes the list file, so it does not mark the list changed.
    void setChecked(int index, bool checked);
    void UncheckAllEntries();

    // The file of entry `index` was renamed or moved: the entry keeps its place and check mark and takes the new
    // path and name.
    void setEntryFile(int index, const QString& path, const QString& displayName);

    void append(PlaylistEntry entry);
    // Appends many entries at once (one notification: fast for very long lists).
    void append(std::vector<PlaylistEntry> entries);
    // Inserts at `row` (0..count). The current entry stays the same song when it stood at or after `row`
    // and the list has more than one entry afterwards. Returns the number inserted.
    int insertAtDropPoint(int row, std::vector<PlaylistEntry> entries);

    // Moves line `from` so that it lands before line `to` (0..count) as a reordering drag does, keeping its
    // check mark. Returns the moved line's new index, or `from` when dropping it onto itself or just below
    // changes nothing; -1 when the list is empty or `from` is no line.
    int dragMove(int from, int to);

    // Exchanges line `index` with the one above (below). Returns false when there is none.
    bool moveUp(int index);
    bool moveDown(int index);

    enum class Removal { Nothing, ClearedList, RemovedCurrent, RemovedOther };
    struct RemovalResult {
        Removal removal = Removal::Nothing;
        int lineToSelect = -1;  // -1: no line selected afterwards
    };
    // Removes one entry. The only entry left goes by clearing the list; removing the current entry moves
    // `CurrentIndex` one back so that the advance can choose the next one; removing a line above the current
    // one keeps the same song current.
    RemovalResult removeEntry(int index);

    // Empties the list; the list file is kept, so the flag is cleared.
    void clear();

    // Sorts by whole path without regard to case in the user's locale; every display name becomes the file
    // name part, every check mark is cleared and entry 0 becomes current. Returns false for an empty list.
    bool sort();

signals:
    void entriesAboutToBeInserted(int first, int last);
    void entriesInserted(int first, int last);
    void entriesAboutToBeRemoved(int first, int last);
    void entriesRemoved(int first, int last);
    // A single line moves from `from` to before `to` (in the numbering before the move).
    void entryAboutToMove(int from, int to);
    void entryMoved(int from, int to);
    void entriesAboutToBeReset();
    void entriesReset();
    // Display names or check marks of these lines changed.
    void entriesChanged(int first, int last);
    void listChangedFlagChanged(bool changed);
    void selectionChanged(int line);

private:
    // Every change of the paths runs this: an empty list has nothing to save, anything else differs now.
    void pathsChanged();
    void moveLine(int from, int to);
    void removeLine(int index);
    // The selected line after a structural change: `line` is where it stands now.
    void followSelection(int line);

    std::vector<PlaylistEntry> entries_;
    int currentIndex_ = 0;
    int dragIndex_ = -1;
    int selectedLine_ = -1;
    bool listChanged_ = false;
};

}  // namespace vorlo
