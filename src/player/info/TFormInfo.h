#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QAction;
class QFrame;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace vorlo {

class Playlist;

// The information window: a short read-only report about one playlist file (see FileReport), and the
// program's plain report viewer, where the caller supplies caption and text (the list of missing files, the
// playlist summary). It never reads a file by itself in the viewer use.
class TFormInfo : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 394;
    static constexpr int ClientHeight = 203;
    static constexpr int PanelHeight = 160;
    static constexpr int InitialPointSize = 8;
    static constexpr int LargestPointSize = 24;
    static constexpr int HelpTopic = 270;

    // An empty window: a viewer for the caller's text.
    explicit TFormInfo(QWidget* parent = nullptr);

    // The file report of `path`, the entry `selectedIndex` of a playlist of `entryCount` entries. A file that
    // cannot be read leaves the window empty and without caption.
    void showFileReport(const QString& path, int selectedIndex, int entryCount);
    // The viewer use.
    void setReport(const QString& caption, const QStringList& lines);

    QString text() const;
    int textPointSize() const;
    QPlainTextEdit* richEdit() const { return richEdit_; }
    QMenu* popupEdit() const { return popupEdit_; }
    QAction* popupAction(const QString& objectName) const;

    void BtInfoCopyAllClick();
    void PopEditCopyClick();
    void PopupEditPopup();
    void PopZoomInClick();
    void PopZoomOutClick();
    void BtInfoHelpClick();

    // Places the window centred over `player`, inside the screen's available area.
    void centreOver(const QWidget* player);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setTextPointSize(int points);
    bool handleKey(QKeyEvent* event);

    QFrame* panelInfo_;
    QPlainTextEdit* richEdit_;
    QMenu* popupEdit_;
    QPushButton* btInfoOK_;
    QPushButton* btInfoCopyAll_;
    QPushButton* btInfoHelp_;
};

// The playlist's "File  &Information..." command: the report on the selected entry, or the message why there
// is none (a missing file; in zip mode only the member being played exists on disk).
void showEntryInformation(QWidget* player, const Playlist& playlist, int selectedIndex, bool zipMode);

}  // namespace vorlo
