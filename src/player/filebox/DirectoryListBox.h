#pragma once

#include <QListWidget>
#include <QString>

namespace vorlo {

// The folder list of the file box: the chain of folders from the drive's root down to the current folder,
// each one step further indented, then the current folder's subfolders. Opening a line makes it the
// current folder. A folder can be dragged to the playlist, and a playlist line dropped on a folder line.
class DirectoryListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr const char* Hint = "Change Directory/Drag Folder to Playlist";
    static constexpr int PathRole = Qt::UserRole;
    static constexpr int LevelRole = Qt::UserRole + 1;

    explicit DirectoryListBox(QWidget* parent = nullptr);

    // The drive whose folders are shown; the chain starts at this folder.
    void setDriveRoot(const QString& root);
    QString driveRoot() const { return root_; }

    // Makes `folder` current (a folder that is gone gives way to its nearest existing parent on the drive)
    // and raises directoryChanged.
    void setDirectory(const QString& folder);
    QString directory() const { return current_; }
    // Reads the current folder's subfolders from the disk again; raises directoryChanged.
    void rebuild();

    // Opens line `row` (the current folder moves there).
    void openLine(int row);
    QString pathOfLine(int row) const;
    int lineOf(const QString& folder) const;
    // The folder of the selected line, empty when none is selected.
    QString selectedFolder() const;

    // In One Touch Cursor mode a single left click opens the line.
    void setOneTouch(bool on) { oneTouch_ = on; }
    bool oneTouch() const { return oneTouch_; }

signals:
    void directoryChanged(const QString& folder);
    // A click on the list outside One Touch Cursor mode.
    void listClicked();
    // A playlist line was dropped on the selected folder line, at this point of the screen.
    void playlistLineDropped(const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The selected folder is dragged to the playlist; only playlist lines may be dropped here (on a folder line).
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void fill();
    QString existingFolderOnDrive(const QString& folder) const;

    QString root_ = QStringLiteral("/");
    QString current_ = QStringLiteral("/");
    bool oneTouch_ = false;
};

}  // namespace vorlo
