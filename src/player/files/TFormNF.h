#pragma once

#include "core/files/FileCommands.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vorlo {

class Playlist;

// The copy and move dialog, also the one that makes a new folder: the destination folder is typed or picked from
// the folders used last (the combo's list), and in the copy and move modes the radio buttons choose the entries
// (the acted-on one, the checked ones, all). The dialog only gathers the choice; the caller runs it (FileCommands)
// after an OK. User-interface thread.
class TFormNF : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Copy, Move, CreateFolder };
    static constexpr int kClientWidth = 415;
    static constexpr int kClientHeight = 130;

    // `folder` is the folder the combo starts with (a separator is added at its end); `history` fills its list.
    // The label names the acted-on entry (DragIndex): with none, "All Files" is chosen instead. In zip mode only
    // "Only One" can be chosen.
    TFormNF(Mode mode, const Playlist& playlist, bool zipMode, const QString& folder, const QStringList& history,
            QWidget* parent = nullptr);

    Mode mode() const { return mode_; }
    // What the user typed or picked.
    QString folderText() const;
    void setFolderText(const QString& text);
    TransferScope scope() const;
    QString labelText() const;

    // The radio buttons' clicks: the label names what will be handled.
    void RadioOneClick();
    void RadioCheckedClick();
    void RadioAllClick();

    QComboBox* comboNF() const { return combo_; }
    QRadioButton* radioOne() const { return radioOne_; }
    QRadioButton* radioChecked() const { return radioChecked_; }
    QRadioButton* radioAll() const { return radioAll_; }

private:
    // "Copy" or "Move" (the first word of the label), empty in the folder mode.
    QString operationWord() const;
    void layoutControls();

    Mode mode_;
    const Playlist& playlist_;
    QLabel* label_;
    QComboBox* combo_;
    QRadioButton* radioOne_;
    QRadioButton* radioChecked_;
    QRadioButton* radioAll_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace vorlo
