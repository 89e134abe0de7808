#include "player/info/TFormInfo.h"

#include "core/app/MessageBoxes.h"
#include "core/info/FileReport.h"
#include "core/playlist/Playlist.h"
#include "player/app/CentreOnPlayer.h"
#include "player/app/ModalDialogs.h"
#include "player/help/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlo {

namespace {

constexpr int ZoomStep = 2;
constexpr int SmallestPointSize = TFormInfo::InitialPointSize;

}  // namespace

TFormInfo::TFormInfo(QWidget* parent)
    : QDialog(parent),
      panelInfo_(new QFrame(this)),
      richEdit_(new QPlainTextEdit(panelInfo_)),
      popupEdit_(new QMenu(this)),
      btInfoOK_(new QPushButton(QStringLiteral("&OK"), this)),
      btInfoCopyAll_(new QPushButton(QStringLiteral("Copy &All"), this)),
      btInfoHelp_(new QPushButton(QStringLiteral("&Help"), this)) {
    setObjectName(QStringLiteral("FormInfo"));
    // A dialog frame with a title and no title-bar buttons; the size is fixed.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(ClientWidth, ClientHeight);

    panelInfo_->setObjectName(QStringLiteral("PanelInfo"));
    panelInfo_->setGeometry(0, 0, ClientWidth, PanelHeight);
    auto* panelLayout = new QVBoxLayout(panelInfo_);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(richEdit_);

    richEdit_->setObjectName(QStringLiteral("RichEdit"));
    richEdit_->setReadOnly(true);
    richEdit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    richEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    richEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(InitialPointSize);
    richEdit_->setFont(font);
    richEdit_->setContextMenuPolicy(Qt::CustomContextMenu);
    richEdit_->installEventFilter(this);

    popupEdit_->setObjectName(QStringLiteral("PopupEdit"));
    QAction* copy = popupEdit_->addAction(QStringLiteral("&Copy"));
    copy->setObjectName(QStringLiteral("PopEditCopy"));
    QFont bold = copy->font();
    bold.setBold(true);  // the default item
    copy->setFont(bold);
    popupEdit_->addSeparator();
    QAction* zoomIn = popupEdit_->addAction(QStringLiteral("&Enlarge Text Size"));
    zoomIn->setObjectName(QStringLiteral("PopZoomIn"));
    QAction* zoomOut = popupEdit_->addAction(QStringLiteral("&Reduce Text Size"));
    zoomOut->setObjectName(QStringLiteral("PopZoomOut"));
    connect(copy, &QAction::triggered, this, &TFormInfo::PopEditCopyClick);
    connect(zoomIn, &QAction::triggered, this, &TFormInfo::PopZoomInClick);
    connect(zoomOut, &QAction::triggered, this, &TFormInfo::PopZoomOutClick);
    connect(richEdit_, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        PopupEditPopup();
        popupEdit_->popup(richEdit_->viewport()->mapToGlobal(pos));
    });

    btInfoOK_->setObjectName(QStringLiteral("BtInfoOK"));
    btInfoOK_->setDefault(true);
    btInfoCopyAll_->setObjectName(QStringLiteral("BtInfoCopyAll"));
    btInfoHelp_->setObjectName(QStringLiteral("BtInfoHelp"));
    constexpr int buttonWidth = 75;
    constexpr int buttonHeight = 25;
    const int buttonTop = PanelHeight + (ClientHeight - PanelHeight - buttonHeight) / 2;
    const int gap = (ClientWidth - 3 * buttonWidth) / 4;
    btInfoOK_->setGeometry(gap, buttonTop, buttonWidth, buttonHeight);
    btInfoCopyAll_->setGeometry(2 * gap + buttonWidth, buttonTop, buttonWidth, buttonHeight);
    btInfoHelp_->setGeometry(3 * gap + 2 * buttonWidth, buttonTop, buttonWidth, buttonHeight);
    connect(btInfoOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btInfoCopyAll_, &QPushButton::clicked, this, &TFormInfo::BtInfoCopyAllClick);
    connect(btInfoHelp_, &QPushButton::clicked, this, &TFormInfo::BtInfoHelpClick);
}

void TFormInfo::showFileReport(const QString& path, int selectedIndex, int entryCount) {
    const FileReport report = FileReport::build(path, selectedIndex, entryCount);
    setReport(report.caption, report.lines);
}

void TFormInfo::setReport(const QString& caption, const QStringList& lines) {
    setWindowTitle(caption);
    richEdit_->setPlainText(lines.join(QLatin1Char('\n')));
}

QString TFormInfo::text() const { return richEdit_->toPlainText(); }

int TFormInfo::textPointSize() const { return richEdit_->font().pointSize(); }

QAction* TFormInfo::popupAction(const QString& objectName) const {
    return popupEdit_->findChild<QAction*>(objectName, Qt::FindDirectChildrenOnly);
}

void TFormInfo::BtInfoCopyAllClick() {
    richEdit_->selectAll();
    richEdit_->copy();
}

void TFormInfo::PopEditCopyClick() { richEdit_->copy(); }

void TFormInfo::PopupEditPopup() {
    popupAction(QStringLiteral("PopEditCopy"))->setEnabled(richEdit_->textCursor().hasSelection());
}

void TFormInfo::setTextPointSize(int points) {
    QFont font = richEdit_->font();
    font.setPointSize(points);
    richEdit_->setFont(font);
}

void TFormInfo::PopZoomInClick() {
    if (textPointSize() <= LargestPointSize - ZoomStep) setTextPointSize(textPointSize() + ZoomStep);
}

void TFormInfo::PopZoomOutClick() {
    if (textPointSize() >= SmallestPointSize + ZoomStep) setTextPointSize(textPointSize() - ZoomStep);
}

void TFormInfo::BtInfoHelpClick() { HelpWindow::showTopic(HelpTopic); }

bool TFormInfo::handleKey(QKeyEvent* event) {
    const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
    if (event->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (keypad && event->key() == Qt::Key_Plus) {
        PopZoomInClick();
        return true;
    }
    if (keypad && event->key() == Qt::Key_Minus) {
        PopZoomOutClick();
        return true;
    }
    return false;
}

void TFormInfo::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event)) QDialog::keyPressEvent(event);
}

bool TFormInfo::eventFilter(QObject* watched, QEvent* event) {
    // The window sees its keys before the text does.
    if (watched == richEdit_ && event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TFormInfo::centreOver(const QWidget* player) { CentreOnPlayer(*this, player); }

void showEntryInformation(QWidget* player, const Playlist& playlist, int selectedIndex, bool zipMode) {
    if (!playlist.isValidIndex(selectedIndex)) return;
    const QString path = playlist.path(selectedIndex);
    const QFileInfo file(path);
    if (file.exists() && !file.isDir()) {
        TFormInfo info(player);
        info.showFileReport(path, selectedIndex, playlist.count());
        info.centreOver(player);
        ModalDialogs::exec(info);
    } else if (zipMode) {
        MessageBoxes::show(
            QStringLiteral("Information - Find File"),
            QStringLiteral("In Zip mode only the current playing file is extracted to the temporary directory."),
            BoxIcon::Information, BoxButtons::Ok, true);
    } else {
        MessageBoxes::show(QStringLiteral("Error - Find File"), QStringLiteral("This file does not exist!"),
                           BoxIcon::Error, BoxButtons::Ok, true);
    }
}

}  // namespace vorlo
