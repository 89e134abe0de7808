#include "player/filebox/FileListModel.h"

namespace vorlo {

FileListModel::FileListModel(QObject* parent) : QAbstractListModel(parent) {
    sliceTimer_.setInterval(0);
    sliceTimer_.setSingleShot(false);
    connect(&sliceTimer_, &QTimer::timeout, this, [this] { appendSlice(SliceSize); });
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    return QAbstractListModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= names_.size()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return names_.at(index.row());
    return {};
}

void FileListModel::startLoading() {
    sliceTimer_.stop();
    beginResetModel();
    names_.clear();
    endResetModel();
    pending_.clear();
    pendingPos_ = 0;
    loading_ = true;
    delivered_ = false;
}

void FileListModel::deliver(const QStringList& names) {
    pending_ = names;
    pendingPos_ = 0;
    delivered_ = true;
    appendSlice(SliceSize);  // the first names show at once
    if (loading_) sliceTimer_.start();
}

void FileListModel::flush() {
    if (delivered_) appendSlice(pending_.size());
}

void FileListModel::appendSlice(qsizetype count) {
    const qsizetype end = std::min(pending_.size(), pendingPos_ + count);
    if (end > pendingPos_) {
        const int first = static_cast<int>(names_.size());
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(end - pendingPos_) - 1);
        names_.append(pending_.mid(pendingPos_, end - pendingPos_));
        endInsertRows();
        pendingPos_ = end;
    }
    if (pendingPos_ >= pending_.size() && loading_) {
        sliceTimer_.stop();
        pending_.clear();
        pendingPos_ = 0;
        loading_ = false;
        emit loadingFinished();
    }
}

}  // namespace vorlo
