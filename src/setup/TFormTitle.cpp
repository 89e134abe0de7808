#include "setup/TFormTitle.h"

#include "setup/CentreOnScreen.h"
#include "setup/SetupSteps.h"
#include "setup/TFormDir.h"
#include "setup/TFormGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace vorlo {

namespace {

bool endRequested = false;

QLabel* bigLabel(const QString& text, const QString& colour, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(32);
    font.setBold(true);
    font.setItalic(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: %1").arg(colour));
    return label;
}

}  // namespace

void TFormTitle::endApplication(int code) {
    endRequested = true;
    QApplication::exit(code);
}

bool TFormTitle::ending() { return endRequested; }

TFormTitle::TFormTitle(SetupSteps& steps, QString sourceFolder, QWidget* parent)
    : QWidget(parent), steps_(steps), source_(std::move(sourceFolder)) {
    setObjectName(QStringLiteral("FormTitle"));
    setWindowTitle(QStringLiteral("MIDI Vorlo Setup"));
    setFixedSize(344, 211);
    centreOnScreen(*this);

    label2_ = bigLabel(QStringLiteral("MIDI Vorlo"), QStringLiteral("red"), this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setGeometry(8, 4, 170, 40);
    label3_ = bigLabel(QStringLiteral("1.90"), QStringLiteral("aqua"), this);
    label3_->setObjectName(QStringLiteral("Label3"));
    label3_->setGeometry(180, 4, 70, 40);
    label4_ = bigLabel(QStringLiteral("Setup"), QStringLiteral("black"), this);
    label4_->setObjectName(QStringLiteral("Label4"));
    label4_->setGeometry(252, 4, 90, 40);

    label1_ =
        new QLabel(QStringLiteral("Welocme to MIDI Vorlo setup program.  You may install or uninstall MIDI Vorlo. "
                                  "Click one of the radio buttons then press 'Continue' to proceed.          "
                                  "Press 'Quit' to leave this program. Please Stop running MIDI Vorlo before "
                                  "you continue.    "),
                   this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setWordWrap(true);
    label1_->setGeometry(8, 48, 328, 64);

    auto* group = new QGroupBox(this);
    group->setGeometry(8, 112, 220, 90);
    radioInstall_ = new QRadioButton(QStringLiteral("Install MIDI Vorlo"), group);
    radioInstall_->setObjectName(QStringLiteral("RadioInstall"));
    radioInstall_->setGeometry(10, 14, 200, 22);
    radioInstall_->setChecked(true);
    radioUninstall_ = new QRadioButton(QStringLiteral("Uninstall MIDI Vorlo"), group);
    radioUninstall_->setObjectName(QStringLiteral("RadioUninstall"));
    radioUninstall_->setGeometry(10, 40, 200, 22);
    checkReadMe_ = new QCheckBox(QStringLiteral("View ReadMe.txt"), group);
    checkReadMe_->setObjectName(QStringLiteral("CheckBox1"));
    checkReadMe_->setGeometry(10, 14, 200, 22);
    checkReadMe_->setChecked(true);
    checkReadMe_->hide();
    checkLaunch_ = new QCheckBox(QStringLiteral("Launch MIDI Vorlo"), group);
    checkLaunch_->setObjectName(QStringLiteral("CheckBox2"));
    checkLaunch_->setGeometry(10, 40, 200, 22);
    checkLaunch_->setChecked(true);
    checkLaunch_->hide();

    button1_ = new QPushButton(QStringLiteral("&Continue"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setDefault(true);
    button1_->setGeometry(244, 126, 90, 28);
    button2_ = new QPushButton(QStringLiteral("&Quit"), this);
    button2_->setObjectName(QStringLiteral("Button2"));
    button2_->setGeometry(244, 166, 90, 28);

    // Without a recorded program folder there is nothing to uninstall.
    radioUninstall_->setEnabled(SetupSteps::isInstalled());

    connect(button1_, &QPushButton::clicked, this, &TFormTitle::continueClicked);
    connect(button2_, &QPushButton::clicked, this, [] { endApplication(0); });
}

void TFormTitle::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            (focused && !focused->isHidden() ? focused : button1_)->click();
            return;
        }
        if (event->key() == Qt::Key_Escape && !button2_->isHidden()) {
            button2_->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void TFormTitle::continueClicked() {
    if (button1_->text() == QStringLiteral("&Finish")) {
        finishClicked();
        return;
    }
    if (radioUninstall_->isChecked()) {
        uninstallClicked();
        return;
    }
    hide();
    QString programFolder;
    {
        TFormDir dir(steps_, source_, this);
        dir.setWindowModality(Qt::ApplicationModal);
        dir.exec();
        if (ending()) return;
        programFolder = dir.programFolder();
    }
    if (programFolder.isEmpty()) {
        show();
        return;
    }
    QString groupFolder;
    {
        TFormGroup group(steps_, programFolder, this);
        group.exec();
        if (ending()) return;
        groupFolder = group.groupFolder();
    }
    if (groupFolder.isEmpty()) {
        show();
        return;
    }
    completeInstall(programFolder, groupFolder);
}

void TFormTitle::completeInstall(const QString& programFolder, const QString& groupFolder) {
    hide();
    programFolder_ = programFolder;
    setWindowTitle(QStringLiteral("MIDI Vorlo Installation Complete"));
    label1_->setText(
        QStringLiteral("You have finisned the installation of MIDI Vorlo. If you want to view readme text "
                       "and launch MIDI Vorlo now, click 'Finish' button to proceed."));
    label2_->setText(QStringLiteral("Installation"));
    label2_->setFixedWidth(width() - label2_->x() - 2);
    label3_->setText(QStringLiteral("Complete"));
    QFont font = label3_->font();
    font.setPixelSize(24 * 4 / 3);  // 24 points
    label3_->setFont(font);
    label3_->setGeometry(label2_->x() + 190, label2_->y(), width() - label2_->x() - 190 - 2, label2_->height());
    label4_->hide();
    radioInstall_->hide();
    radioUninstall_->hide();
    button2_->hide();
    checkReadMe_->show();
    checkLaunch_->show();
    button1_->setText(QStringLiteral("&Finish"));
    // The button goes to the middle of the window; left where Continue stood it would cover the check boxes'
    // texts, so the boxes take one row across the window and the button the row below them.
    QWidget* boxes = checkReadMe_->parentWidget();
    boxes->setGeometry(boxes->x(), boxes->y(), width() - 2 * boxes->x(), 44);
    checkReadMe_->setGeometry(10, 14, boxes->width() / 2 - 10, 22);
    checkLaunch_->setGeometry(boxes->width() / 2, 14, boxes->width() / 2 - 10, 22);
    button1_->move(width() / 2 - button1_->width() / 2, button2_->y());
    if (steps_.complete(programFolder, groupFolder) == SetupSteps::Result::EndApplication) {
        endApplication(1);
        return;
    }
    // The finish page also follows a key that could not be written: the files are in place either way.
    show();
}

void TFormTitle::finishClicked() {
    const bool started = steps_.finish(programFolder_, checkReadMe_->isChecked(), checkLaunch_->isChecked());
    endApplication(started ? 0 : 1);
}

void TFormTitle::uninstallClicked() {
    if (steps_.uninstall() != SetupSteps::Result::Done) return;  // back on this window
    steps_.removeOwnFile();
    endApplication(0);
}

}  // namespace vorlo
