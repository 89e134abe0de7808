#pragma once

#include <QAbstractListModel>

namespace vorlo {

class Playlist;

// Shows a Playlist in a list view: one line per entry with its display name and check box. The view asks
// only for the lines it paints, so very long playlists stay fast.
class SongListAdapter : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr const char* LineMimeType = "application/x-vorlo-playlist-line";  // DragPayloads::playlistLine

    explicit SongListAdapter(Playlist& playlist, QObject* parent = nullptr);

    QModelIndex index(int row, int column = 0, const QModelIndex& parent = QModelIndex()) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // A line dragged within the list carries only its row; the drop is handled by the playlist panel.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

private:
    Playlist& playlist_;
};

}  // namespace vorlo
