#pragma once

#include <QListView>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class QThread;

namespace vorlo {

class FileListModel;
class FolderScanner;

// The file list of the file box: the files of one folder that match the mask, several of which may be
// selected. The folder is read on a thread of its own; until its names are all in, isLoading() holds.
class FileListBox : public QListView {
    Q_OBJECT
public:
    static constexpr const char* NormalHint = "Double Click/Drag Files to Playlist";
    static constexpr const char* OneTouchHint = "Single Click";

    explicit FileListBox(QWidget* parent = nullptr);
    ~FileListBox() override;

    // Each of these reads the folder again.
    void setDirectory(const QString& folder);
    void setMask(const QString& mask);
    void reload();
    QString directory() const { return folder_; }
    QString mask() const { return mask_; }

    bool isLoading() const;
    // Waits for the folder's listing and shows all of it (the add commands need every name).
    void finishLoading();

    int count() const;
    QStringList fileNames() const;
    // The selected names, in list order.
    QStringList selectedFileNames() const;
    bool hasSelection() const;
    // The item with the focus when it is also selected; empty otherwise.
    QString focusedSelectedName() const;
    QString fullPath(const QString& fileName) const;
    // Selects the first line that begins with `text` (letters in either case) as soon as the folder's names
    // are in: after a file was moved or copied here, its line.
    void selectFirstStartingWith(const QString& text);

    // In One Touch Cursor mode a single left click opens, double clicks do nothing extra.
    void setOneTouch(bool on);
    bool oneTouch() const { return oneTouch_; }

signals:
    // The user clicked in the list, anywhere.
    void listClicked();
    // The selected files changed, however the selection was made (mouse, keyboard, right click, a command); the
    // add buttons follow it.
    void selectedFilesChanged();
    // A double click, or a left click in One Touch Cursor mode.
    void openItemRequested();
    void enterPressed();
    // A drag of the selected files ended; `dropped` when a target took them.
    void dragEnded(bool dropped);
    // The current folder's names are all in the list.
    void loaded();
    void requestScan(quint64 generation, const QString& folder, const QStringList& patterns);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    // A drag of the selected files, with the drag cursor of one file or of several.
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void receiveScan(quint64 generation, const QStringList& names);
    void applyPendingSelection();

    FileListModel* model_;
    QThread* thread_;
    FolderScanner* scanner_;
    std::shared_ptr<std::atomic<quint64>> generation_;
    QString folder_;
    QString mask_;
    QString pendingSelection_;
    bool oneTouch_ = false;
};

}  // namespace vorlo
