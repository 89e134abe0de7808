#include "core/playlist/Playlist.h"

#include "core/playlist/MediaPaths.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <iterator>

namespace vorlo {

Playlist::Playlist(QObject* parent) : QObject(parent) {}

QStringList Playlist::PathList() const {
    QStringList paths;
    paths.reserve(count());
    for (const PlaylistEntry& e : entries_) paths.append(e.path);
    return paths;
}

void Playlist::MarkListChanged() {
    if (listChanged_) return;
    listChanged_ = true;
    emit listChangedFlagChanged(true);
}

void Playlist::MarkListSaved() {
    listChanged_ = false;
    emit listChangedFlagChanged(false);
}

bool Playlist::settleChangedFlag() {
    if (isEmpty() && listChanged_) MarkListSaved();
    return listChanged_;
}

void Playlist::pathsChanged() {
    if (isEmpty())
        MarkListSaved();
    else
        MarkListChanged();
}

void Playlist::selectLine(int line) {
    if (!isValidIndex(line)) line = -1;
    if (line == selectedLine_) return;
    selectedLine_ = line;
    emit selectionChanged(line);
}

void Playlist::followSelection(int line) {
    selectedLine_ = -2;  // always tell the view: it may have moved its highlight on its own
    selectLine(line);
}

void Playlist::setChecked(int index, bool checked) {
    PlaylistEntry& e = entries_.at(static_cast<std::size_t>(index));
    if (e.checked == checked) return;
    e.checked = checked;
    emit entriesChanged(index, index);
}

void Playlist::UncheckAllEntries() {
    for (int i = 0; i < count(); ++i) setChecked(i, false);
}

void Playlist::setEntryFile(int index, const QString& path, const QString& displayName) {
    PlaylistEntry& e = entries_.at(static_cast<std::size_t>(index));
    e.path = path;
    e.displayName = displayName;
    emit entriesChanged(index, index);
    pathsChanged();
}

void Playlist::append(PlaylistEntry entry) {
    std::vector<PlaylistEntry> one;
    one.push_back(std::move(entry));
    append(std::move(one));
}

void Playlist::append(std::vector<PlaylistEntry> entries) {
    if (entries.empty()) return;
    const int first = count();
    const int last = first + static_cast<int>(entries.size()) - 1;
    emit entriesAboutToBeInserted(first, last);
    entries_.insert(entries_.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
    emit entriesInserted(first, last);
    pathsChanged();
}

int Playlist::insertAtDropPoint(int row, std::vector<PlaylistEntry> entries) {
    const int inserted = static_cast<int>(entries.size());
    if (inserted == 0) return 0;
    row = std::clamp(row, 0, count());
    const bool hadEntries = !isEmpty();
    emit entriesAboutToBeInserted(row, row + inserted - 1);
    entries_.insert(entries_.begin() + row, std::make_move_iterator(entries.begin()),
                    std::make_move_iterator(entries.end()));
    emit entriesInserted(row, row + inserted - 1);
    if (selectedLine_ >= row) followSelection(selectedLine_ + inserted);
    // Only a current entry that exists can follow; into an empty list the adder picks the current entry anew.
    if (hadEntries && currentIndex_ >= row) currentIndex_ += inserted;
    pathsChanged();
    return inserted;
}

void Playlist::moveLine(int from, int to) {
    emit entryAboutToMove(from, to);
    const auto begin = entries_.begin();
    if (from < to)
        std::rotate(begin + from, begin + from + 1, begin + to);
    else
        std::rotate(begin + to, begin + from, begin + from + 1);
    emit entryMoved(from, to);
    int selected = selectedLine_;
    if (selected == from)
        selected = from < to ? to - 1 : to;
    else if (from < selected && selected < to)
        --selected;
    else if (to <= selected && selected < from)
        ++selected;
    if (selected != selectedLine_) followSelection(selected);
}

int Playlist::dragMove(int from, int to) {
    if (isEmpty() || !isValidIndex(from) || to < 0 || to > count()) return -1;
    if (to == from || to == from + 1) return from;
    if (currentIndex_ == from)
        currentIndex_ = from < to ? to - 1 : to;
    else if (from < currentIndex_ && currentIndex_ < to)
        --currentIndex_;
    else if (currentIndex_ < from && currentIndex_ >= to)
        ++currentIndex_;
    moveLine(from, to);
    pathsChanged();
    return from < to ? to - 1 : to;
}

bool Playlist::moveUp(int index) {
    if (!isValidIndex(index) || index == 0) return false;
    moveLine(index, index - 1);
    if (currentIndex_ == index)
        currentIndex_ = index - 1;
    else if (currentIndex_ == index - 1)
        currentIndex_ = index;
    pathsChanged();
    return true;
}

bool Playlist::moveDown(int index) {
    if (!isValidIndex(index) || index == count() - 1) return false;
    moveLine(index, index + 2);
    if (currentIndex_ == index)
        currentIndex_ = index + 1;
    else if (currentIndex_ == index + 1)
        currentIndex_ = index;
    pathsChanged();
    return true;
}

void Playlist::removeLine(int index) {
    emit entriesAboutToBeRemoved(index, index);
    entries_.erase(entries_.begin() + index);
    emit entriesRemoved(index, index);
    if (selectedLine_ == index)
        followSelection(-1);
    else if (selectedLine_ > index)
        followSelection(selectedLine_ - 1);
}

Playlist::RemovalResult Playlist::removeEntry(int index) {
    if (!isValidIndex(index)) return {};
    if (count() == 1) {
        clear();
        return {Removal::ClearedList, -1};
    }
    if (index == currentIndex_) {
        removeLine(index);
        --currentIndex_;
        pathsChanged();
        return {Removal::RemovedCurrent, -1};
    }
    removeLine(index);
    if (index < currentIndex_) --currentIndex_;
    pathsChanged();
    return {Removal::RemovedOther, index < count() ? index : index - 1};
}

void Playlist::clear() {
    emit entriesAboutToBeReset();
    entries_.clear();
    entries_.shrink_to_fit();
    // An index into a list that is gone would point at whatever is added next.
    currentIndex_ = 0;
    dragIndex_ = -1;
    emit entriesReset();
    followSelection(-1);
    pathsChanged();
}

bool Playlist::sort() {
    if (isEmpty()) return false;
    emit entriesAboutToBeReset();
    const bool reorder = count() >= 2;
    if (reorder) {
        QCollator collator{QLocale()};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<std::pair<QCollatorSortKey, std::size_t>> keys;
        keys.reserve(entries_.size());
        for (std::size_t i = 0; i < entries_.size(); ++i)
            // Folded first: the plain "C" collation would otherwise still tell case apart in its keys.
            keys.emplace_back(collator.sortKey(entries_[i].path.toCaseFolded()), i);
        std::stable_sort(keys.begin(), keys.end(),
                         [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
        std::vector<PlaylistEntry> sorted;
        sorted.reserve(entries_.size());
        for (const auto& key : keys) sorted.push_back(std::move(entries_[key.second]));
        entries_ = std::move(sorted);
    }
    for (PlaylistEntry& e : entries_) {
        e.displayName = fileNamePart(e.path);
        e.checked = false;
    }
    currentIndex_ = 0;
    emit entriesReset();
    followSelection(-1);
    if (reorder) pathsChanged();
    return true;
}

}  // namespace vorlo
