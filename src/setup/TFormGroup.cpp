#include "setup/TFormGroup.h"

#include "setup/CentreOnScreen.h"
#include "setup/ProductFiles.h"
#include "setup/SetupSteps.h"
#include "setup/TFormTitle.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace vorlo {

TFormGroup::TFormGroup(SetupSteps& steps, QString programFolder, QWidget* parent)
    : QDialog(parent), steps_(steps), programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("FormGroup"));
    setWindowTitle(QStringLiteral("Create MIDI Vorlo Program Group"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFixedSize(377, 243);
    centreOnScreen(*this);

    auto* editLabel = new QLabel(QStringLiteral("&Create Program Group Folder:"), this);
    editLabel->setGeometry(8, 8, 220, 16);
    edit_ = new QLineEdit(product::kDefaultGroup, this);
    edit_->setObjectName(QStringLiteral("Edit"));
    edit_->setGeometry(8, 26, 200, 22);
    editLabel->setBuddy(edit_);

    auto* listLabel = new QLabel(QStringLiteral("&Existing Program Groups:"), this);
    listLabel->setGeometry(8, 54, 200, 16);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListBox"));
    list_->setGeometry(8, 72, 200, 160);
    list_->addItems(steps_.groups());
    listLabel->setBuddy(list_);

    auto* text =
        new QLabel(QStringLiteral("Click 'Continue' or press Enter If you accept the default name of MIDI Vorlo "
                                  "program group. You may also type a name in the edit box to create a "
                                  "program group."),
                   this);
    text->setWordWrap(true);
    text->setGeometry(216, 26, 152, 120);

    auto* cont = new QPushButton(QStringLiteral("&Continue"), this);
    cont->setObjectName(QStringLiteral("ButGpCon"));
    cont->setDefault(true);
    cont->setGeometry(240, 160, 100, 28);
    auto* quit = new QPushButton(QStringLiteral("&Quit"), this);
    quit->setObjectName(QStringLiteral("ButGpQuit"));
    quit->setGeometry(240, 200, 100, 28);

    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { edit_->setText(item->text()); });
    connect(cont, &QPushButton::clicked, this, &TFormGroup::continueClicked);
    connect(quit, &QPushButton::clicked, this, [] { TFormTitle::endApplication(0); });
    edit_->setFocus();
}

void TFormGroup::continueClicked() {
    groupFolder_ = steps_.createGroup(programFolder_, edit_->text());
    if (groupFolder_.isEmpty())
        reject();
    else
        accept();
}

}  // namespace vorlo
