#include "player/settings/PlayControlPage.h"

#include "core/settings/Options.h"
#include "player/help/HelpWindow.h"
#include "player/settings/NumberBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vorlo {

namespace {

QCheckBox* checkBox(const char* name, const QString& caption, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    return box;
}

}  // namespace

PlayControlPage::PlayControlPage(const Options& options, QWidget* parent) : ConfigurationPage(parent) {
    setObjectName(QStringLiteral("PControl"));
    auto* skipLabel = new QLabel(QStringLiteral("Skip                 seconds when Forward and Reverse."), this);
    skipLabel->setObjectName(QStringLiteral("LblSkip"));
    skip_ = new NumberBox(QStringLiteral("UpDownSkip"), QStringLiteral("EditSkip"), 1, 99, this);
    skip_->setValue(options.skip);
    skip_->placeOver(*skipLabel);
    auto* waitLabel = new QLabel(QStringLiteral("Wait                 seconds before playing next file"), this);
    waitLabel->setObjectName(QStringLiteral("LblWait"));
    wait_ = new NumberBox(QStringLiteral("UpDownWait"), QStringLiteral("EditWait"), 0, 99, this);
    wait_->setValue(options.wait);
    wait_->placeOver(*waitLabel);

    autoLoad_ = checkBox("CheckAutoLoad", QStringLiteral("Auto load the last playlist when start running MIDI Vorlo"),
                         options.autoLoad, this);
    autoCheck_ = checkBox("CheckAutoCheck", QStringLiteral("Always auto-check a file after it's finished"),
                          options.autoCheck, this);
    listClose_ =
        checkBox("CheckListClose", QStringLiteral("Close MIDI Vorlo when a playlist is finished (Override Loop mode)"),
                 options.listClose, this);

    auto* gaGa =
        new QGroupBox(QStringLiteral("When files from second instance are added (Need file types association)"), this);
    gaGa->setObjectName(QStringLiteral("RadioGaGa"));
    addPlay_ = new QButtonGroup(gaGa);
    auto* gaGaLayout = new QVBoxLayout(gaGa);
    gaGaLayout->setSpacing(2);
    const QString items[] = {QStringLiteral("Only add the new files to the playlist, do nothing else"),
                             QStringLiteral("Play new files immediately"), QStringLiteral("Always ask")};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(items[i], gaGa);
        item->setObjectName(QStringLiteral("RadioGaGa%1").arg(i));
        addPlay_->addButton(item, i);
        gaGaLayout->addWidget(item);
    }
    if (QAbstractButton* chosen = addPlay_->button(options.addPlay)) chosen->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    for (QWidget* row : std::initializer_list<QWidget*>{skipLabel, waitLabel, autoLoad_, autoCheck_, listClose_, gaGa})
        layout->addWidget(row);
    layout->addStretch();
}

int PlayControlPage::helpContext() const { return HelpTopics::PlayControl; }

bool PlayControlPage::apply(Options& edited) {
    edited.skip = skip_->value();
    edited.wait = wait_->value();
    edited.addPlay = std::max(0, addPlay_->checkedId());
    edited.autoLoad = autoLoad_->isChecked();
    edited.autoCheck = autoCheck_->isChecked();
    edited.listClose = listClose_->isChecked();
    return true;
}

}  // namespace vorlo
