#include "player/files/TFormNF.h"

#include "core/playlist/MediaPaths.h"
#include "core/playlist/Playlist.h"

#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vorlo {

namespace {

QString captionOf(TFormNF::Mode mode) {
    switch (mode) {
        case TFormNF::Mode::Copy: return QStringLiteral("Copy File");
        case TFormNF::Mode::Move: return QStringLiteral("Move File");
        case TFormNF::Mode::CreateFolder: break;
    }
    return QStringLiteral("Create New Folder");
}

}  // namespace

TFormNF::TFormNF(Mode mode, const Playlist& playlist, bool zipMode, const QString& folder, const QStringList& history,
                 QWidget* parent)
    : QDialog(parent),
      mode_(mode),
      playlist_(playlist),
      label_(new QLabel(QStringLiteral("Enter the full name and path of the new folder:"), this)),
      combo_(new QComboBox(this)),
      radioOne_(new QRadioButton(QStringLiteral("Only One"), this)),
      radioChecked_(new QRadioButton(QStringLiteral("Checked Files"), this)),
      radioAll_(new QRadioButton(QStringLiteral("All Files"), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("TFormNF"));
    setWindowTitle(captionOf(mode));
    // A fixed frame without the title bar's buttons, as small dialogs of the player have.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kClientWidth, kClientHeight);

    label_->setObjectName(QStringLiteral("LabelNF"));
    combo_->setObjectName(QStringLiteral("ComboNF"));
    combo_->setEditable(true);
    combo_->setMaxVisibleItems(15);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    combo_->addItems(history);
    combo_->completer()->setCompletionMode(QCompleter::InlineCompletion);
    combo_->completer()->setCaseSensitivity(Qt::CaseSensitive);
    setFolderText(folderWithSeparator(folder));
    radioOne_->setObjectName(QStringLiteral("RadioOne"));
    radioChecked_->setObjectName(QStringLiteral("RadioChecked"));
    radioAll_->setObjectName(QStringLiteral("RadioAll"));
    ok_->setObjectName(QStringLiteral("BitOKNF"));
    cancel_->setObjectName(QStringLiteral("BitCancelNF"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(radioOne_, &QRadioButton::clicked, this, &TFormNF::RadioOneClick);
    connect(radioChecked_, &QRadioButton::clicked, this, &TFormNF::RadioCheckedClick);
    connect(radioAll_, &QRadioButton::clicked, this, &TFormNF::RadioAllClick);

    if (mode == Mode::CreateFolder) {
        label_->setText(QStringLiteral("Enter the name of the new folder:"));
        for (QRadioButton* radio : {radioOne_, radioChecked_, radioAll_}) radio->hide();
    } else {
        radioChecked_->setEnabled(!zipMode);
        radioAll_->setEnabled(!zipMode);
        if (playlist_.isValidIndex(playlist_.DragIndex())) {
            radioOne_->setChecked(true);
            RadioOneClick();
        } else {
            // Nothing to name as the one entry: it cannot be chosen, and all entries are offered instead.
            radioOne_->setEnabled(false);
            radioAll_->setChecked(true);
            RadioAllClick();
        }
    }
    layoutControls();
    combo_->setFocus();
}

void TFormNF::layoutControls() {
    label_->setGeometry(8, 8, kClientWidth - 16, 16);
    combo_->setGeometry(8, 28, kClientWidth - 16, 24);
    radioOne_->setGeometry(8, 62, 110, 20);
    radioChecked_->setGeometry(130, 62, 130, 20);
    radioAll_->setGeometry(272, 62, 130, 20);
    ok_->setGeometry(kClientWidth - 2 * 88 - 16, 96, 88, 26);
    cancel_->setGeometry(kClientWidth - 88 - 8, 96, 88, 26);
}

QString TFormNF::folderText() const { return combo_->currentText(); }

void TFormNF::setFolderText(const QString& text) { combo_->setEditText(text); }

TransferScope TFormNF::scope() const {
    if (radioAll_->isChecked()) return TransferScope::All;
    if (radioChecked_->isChecked()) return TransferScope::Checked;
    return TransferScope::One;
}

QString TFormNF::labelText() const { return label_->text(); }

QString TFormNF::operationWord() const {
    switch (mode_) {
        case Mode::Copy: return QStringLiteral("Copy");
        case Mode::Move: return QStringLiteral("Move");
        case Mode::CreateFolder: break;
    }
    return {};
}

void TFormNF::RadioOneClick() {
    const QString word = operationWord();
    const int index = playlist_.DragIndex();
    if (word.isEmpty() || !playlist_.isValidIndex(index)) return;
    label_->setText(word + QStringLiteral(" '") + playlist_.displayName(index) + QStringLiteral("' to this path:"));
}

void TFormNF::RadioCheckedClick() {
    const QString word = operationWord();
    if (!word.isEmpty()) label_->setText(word + QStringLiteral(" all checked files in the playlist to this path:"));
}

void TFormNF::RadioAllClick() {
    const QString word = operationWord();
    if (!word.isEmpty()) label_->setText(word + QStringLiteral(" all files in the playlist to this path:"));
}

}  // namespace vorlo
