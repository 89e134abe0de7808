#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QAbstractButton;
class QAction;
class QFrame;
class QMenu;
class QSplitter;

namespace vorlo {

class DirectoryListBox;
class DriveComboBox;
class FileListBox;
class FilterComboBox;
class PlaylistPanel;
struct FileBoxItem;
struct Options;

// The file box: the lower right pane of the main window, where the user browses drives and folders and picks
// media files for the playlist. It holds the panel `PanelFileList` with the folder list and the file list
// side by side (`Splitter1` between them) and, below it, the drive combo and the filter combo.
//
// Wiring: attachPlaylist() hands it the playlist panel, whose BtnAddFile and BtnAddAll buttons it drives
// and whose adding operations its commands call; attachToolButtons() hands it the tool bar's
// SpeedBtnRefresh and SpdBtnCursor. What belongs to the window (zip mode, the window's own cursor) is
// asked for through signals.
class FileBox : public QWidget {
    Q_OBJECT
public:
    // At design size the file box stands at x = 252 of the window's client area, level with the playlist
    // panel; the panel takes all but the combos' 25 pixels of height.
    static constexpr int DesignWidth = 335;
    static constexpr int DesignHeight = 196;
    static constexpr int ComboSpace = 25;
    static constexpr int FolderListDesignWidth = 146;
    static constexpr int SplitterWidth = 5;
    static constexpr int ListInset = 3;
    static QSize designSize() { return {DesignWidth, DesignHeight}; }

    static constexpr const char* CursorHint = "One Touch Cursor";
    static constexpr const char* CursorOnHint = "Turn off One Touch Cursor";

    explicit FileBox(QWidget* parent = nullptr);
    ~FileBox() override;

    DriveComboBox* driveComboBox() const { return driveCombo_; }
    DirectoryListBox* directoryListBox() const { return folderList_; }
    FileListBox* fileListBox() const { return fileList_; }
    FilterComboBox* filterComboBox() const { return filterCombo_; }
    QFrame* panelFileList() const { return panel_; }
    QMenu* popupFileBox() const { return popupFileBox_; }
    // The folder list's popup; its folder commands are added by the file operations.
    QMenu* popupDir() const { return popupDir_; }
    QAction* popupAction(const QString& objectName) const;

    void attachPlaylist(PlaylistPanel* panel);
    void attachToolButtons(QAbstractButton* refresh, QAbstractButton* cursor);
    // Where the drives come from (the mount table unless replaced).
    void setDriveSource(std::function<QStringList()> source);
    // Opens a file of a type the player does not handle with the desktop's program for it.
    void setExternalOpener(std::function<bool(const QString& path)> opener) { openExternally_ = std::move(opener); }

    // The option MIDIDirectory: the drive follows the folder.
    void setFolder(const QString& folder);
    QString currentFolder() const;
    // The option FILTER: an index outside the eight entries changes nothing and returns false.
    bool setFilterIndex(int index);
    int filterIndex() const;
    // The option OneTouch: the same as pressing or releasing SpdBtnCursor.
    void setOneTouch(bool on);
    bool oneTouch() const { return oneTouch_; }
    // Takes MIDIDirectory, OneTouch and FILTER from the options, in that order; gives them back for the save.
    void applyOptions(const Options& options);
    void storeOptions(Options& options) const;

    // The commands of the file box.
    void refresh();
    void DriveComboBoxChange();
    void DirectoryListBoxChange();
    void FilterComboBoxChange();
    void FileListBoxClick();     // the add-button rule
    void FileListBoxDblClick();  // Open Item
    void BtnAddFileClick();
    void BtnAddAllClick();
    void PopupFileBoxPopup();

signals:
    void folderChanged(const QString& folder);
    void filterIndexChanged(int index);
    // The user opened a zip archive: the window closes the current list and opens the archive in zip mode.
    void zipArchiveRequested(const QString& path);
    // One Touch Cursor mode changed: the window sets the hand cursor on itself and its other panels.
    void oneTouchChanged(bool on);
    // The file list holds every name of the current folder.
    void fileListLoaded();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildPopups();
    void layoutChildren();
    void followSplitter();
    void setCursorOnControls(bool hand);
    std::vector<FileBoxItem> itemsOf(const QStringList& names) const;
    bool zipMode() const;
    // The add commands go on only with a playlist, files in the folder (all of them listed) and no zip mode.
    bool readyToAdd();

    QFrame* panel_;
    QSplitter* splitter_;
    DirectoryListBox* folderList_;
    FileListBox* fileList_;
    DriveComboBox* driveCombo_;
    FilterComboBox* filterCombo_;
    QMenu* popupFileBox_;
    QMenu* popupDir_;
    PlaylistPanel* playlist_ = nullptr;
    QAbstractButton* cursorButton_ = nullptr;
    std::function<bool(const QString&)> openExternally_;
    // Each drive keeps the folder last shown on it, so going back to a drive returns there.
    QHash<QString, QString> lastFolderOnDrive_;
    bool oneTouch_ = false;
};

}  // namespace vorlo
