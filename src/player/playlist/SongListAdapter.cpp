#include "player/playlist/SongListAdapter.h"

#include "core/playlist/Playlist.h"
#include "player/filebox/DragPayloads.h"

#include <QMimeData>

namespace vorlo {

SongListAdapter::SongListAdapter(Playlist& playlist, QObject* parent)
    : QAbstractListModel(parent), playlist_(playlist) {
    connect(&playlist_, &Playlist::entriesAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(&playlist_, &Playlist::entriesInserted, this, [this] { endInsertRows(); });
    connect(&playlist_, &Playlist::entriesAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(&playlist_, &Playlist::entriesRemoved, this, [this] { endRemoveRows(); });
    connect(&playlist_, &Playlist::entryAboutToMove, this,
            [this](int from, int to) { beginMoveRows({}, from, from, {}, to); });
    connect(&playlist_, &Playlist::entryMoved, this, [this] { endMoveRows(); });
    connect(&playlist_, &Playlist::entriesAboutToBeReset, this, [this] { beginResetModel(); });
    connect(&playlist_, &Playlist::entriesReset, this, [this] { endResetModel(); });
    connect(&playlist_, &Playlist::entriesChanged, this, [this](int first, int last) {
        emit dataChanged(index(first), index(last), {Qt::DisplayRole, Qt::CheckStateRole});
    });
}

// The list view asks for every line each time it lays out the list: answered without the base class's checks
// through rowCount and columnCount, which cost a long list two calls a line.
QModelIndex SongListAdapter::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || column != 0 || !playlist_.isValidIndex(row)) return {};
    return createIndex(row, 0);
}

int SongListAdapter::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : playlist_.count(); }

QVariant SongListAdapter::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !playlist_.isValidIndex(index.row())) return {};
    switch (role) {
        case Qt::DisplayRole: return playlist_.displayName(index.row());
        case Qt::CheckStateRole: return playlist_.isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
        default: return {};
    }
}

bool SongListAdapter::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || !playlist_.isValidIndex(index.row())) return false;
    // A line is either checked or not; a partly checked state has no meaning for the advance.
    playlist_.setChecked(index.row(), value.value<Qt::CheckState>() != Qt::Unchecked);
    return true;
}

Qt::ItemFlags SongListAdapter::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QStringList SongListAdapter::mimeTypes() const { return {QString::fromLatin1(LineMimeType)}; }

QMimeData* SongListAdapter::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty()) return nullptr;
    return DragPayloads::playlistLine(indexes.first().row());
}

Qt::DropActions SongListAdapter::supportedDragActions() const { return Qt::MoveAction; }

Qt::DropActions SongListAdapter::supportedDropActions() const { return Qt::MoveAction | Qt::CopyAction; }

}  // namespace vorlo
