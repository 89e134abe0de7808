#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <QTimer>

namespace vorlo {

// The names of the file list. A folder's names arrive whole from the scanner and are shown in slices, each
// slice in its own turn of the event loop, so that the window stays responsive while a large folder fills in.
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int SliceSize = 2000;

    explicit FileListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Names can be dragged to the playlist.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Empties the list and waits for names.
    void startLoading();
    // The whole listing of the folder; shown slice by slice from here on.
    void deliver(const QStringList& names);
    // Shows every delivered name at once.
    void flush();
    bool isLoading() const { return loading_; }
    bool hasDelivery() const { return delivered_; }

    const QStringList& names() const { return names_; }
    QString nameAt(int row) const { return row >= 0 && row < names_.size() ? names_.at(row) : QString(); }

signals:
    // Every name of the folder is in the list.
    void loadingFinished();

private:
    void appendSlice(qsizetype count);

    QStringList names_;
    QStringList pending_;
    qsizetype pendingPos_ = 0;
    bool loading_ = false;
    bool delivered_ = false;
    QTimer sliceTimer_;
};

}  // namespace vorlo
