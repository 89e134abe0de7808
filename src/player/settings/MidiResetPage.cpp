#include "player/settings/MidiResetPage.h"

#include "core/app/MessageBoxes.h"
#include "core/settings/Options.h"
#include "player/help/HelpWindow.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vorlo {

MidiResetPage::MidiResetPage(const Options& options, Browser browse, QWidget* parent)
    : ConfigurationPage(parent), programFolder_(options.programFolder), browse_(std::move(browse)) {
    setObjectName(QStringLiteral("TabReset"));
    auto* group = new QGroupBox(QStringLiteral("Auto MIDI Reset Mode"), this);
    group->setObjectName(QStringLiteral("RadioReset"));
    modes_ = new QButtonGroup(group);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setSpacing(2);
    const QString items[] = {QStringLiteral("None"), QStringLiteral("GM"), QStringLiteral("GS"), QStringLiteral("XG"),
                             QStringLiteral("Customized (Type or browse to fill a file name with full path below.)")};
    for (int i = 0; i < 5; ++i) {
        auto* item = new QRadioButton(items[i], group);
        item->setObjectName(QStringLiteral("RadioReset%1").arg(i));
        modes_->addButton(item, i);
        groupLayout->addWidget(item);
    }
    customFile_ = new QLineEdit(group);
    customFile_->setObjectName(QStringLiteral("EditCMFile"));
    browseButton_ = new QPushButton(QStringLiteral("Browse"), group);
    browseButton_->setObjectName(QStringLiteral("BtnBrowse"));
    browseButton_->setAutoDefault(false);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(customFile_, 1);
    fileRow->addWidget(browseButton_);
    groupLayout->addLayout(fileRow);

    auto* warning = new QLabel(QStringLiteral("Warning:  Do not fill in any file not for MIDI reset purpose!"), this);
    warning->setObjectName(QStringLiteral("LblWarning"));
    QPalette red = warning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    warning->setPalette(red);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(warning);
    layout->addStretch();

    customFile_->setEnabled(false);
    browseButton_->setEnabled(false);
    const ResetMode shown = ResetModes::modeOf(options.resetFile, programFolder_);
    if (shown != ResetMode::Unselected) modes_->button(static_cast<int>(shown))->setChecked(true);
    if (shown == ResetMode::Customized) {
        customFile_->setEnabled(true);
        browseButton_->setEnabled(true);
        customFile_->setText(options.resetFile);
    }
    connect(modes_, &QButtonGroup::idClicked, this, [this] { RadioResetClick(); });
    connect(browseButton_, &QPushButton::clicked, this, [this] { BtnBrowseClick(); });
}

int MidiResetPage::helpContext() const { return HelpTopics::MidiReset; }

ResetMode MidiResetPage::mode() const { return static_cast<ResetMode>(modes_->checkedId()); }

void MidiResetPage::RadioResetClick() {
    const bool customised = mode() == ResetMode::Customized;
    if (!customised) customFile_->clear();
    customFile_->setEnabled(customised);
    browseButton_->setEnabled(customised);
}

void MidiResetPage::BtnBrowseClick() {
    if (!browse_) return;
    if (const std::optional<QString> chosen = browse_(customFile_->text())) customFile_->setText(*chosen);
}

bool MidiResetPage::apply(Options& edited) {
    const ResetChoice choice = ResetModes::choose(mode(), customFile_->text(), edited.resetFile, edited.programFolder);
    edited.resetFile = choice.resetFile;
    if (!choice.error) return true;
    emit showMe();
    MessageBoxes::show(*choice.error);
    return false;
}

}  // namespace vorlo
