#include "player/settings/FileTypesPage.h"

#include "core/app/ErrorHandler.h"
#include "core/app/MessageBoxes.h"
#include "player/help/HelpWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vorlo {

FileTypesPage::FileTypesPage(QWidget* parent) : ConfigurationPage(parent) {
    setObjectName(QStringLiteral("FAss"));
    auto* explanation = new QLabel(QStringLiteral("Associate MIDI and other supported file types with MIDI Volro so "
                                                  "you can add these files from second instance to the playlist."),
                                   this);
    explanation->setObjectName(QStringLiteral("LabelFA1"));
    explanation->setWordWrap(true);
    const auto box = [this](const char* name, const QString& caption) {
        auto* check = new QCheckBox(caption, this);
        check->setObjectName(QLatin1String(name));
        return check;
    };
    mid_ = box("CheckBoxMid", QStringLiteral("Associate .mid .rmi  file"));
    avi_ = box("CheckBoxAvi", QStringLiteral("Associate .avi file"));
    wav_ = box("CheckBoxWav", QStringLiteral("Associate .wav file"));
    cda_ = box("CheckBoxCda", QStringLiteral("Associate .cda CD track"));

    browser_ = new QGroupBox(QStringLiteral("Remove/Restore Netscape Default Audio Plug-in"), this);
    browser_->setObjectName(QStringLiteral("RadioNS"));
    browserChoice_ = new QButtonGroup(browser_);
    auto* browserLayout = new QVBoxLayout(browser_);
    browserLayout->setSpacing(2);
    const QString items[] = {QStringLiteral("Play mid, wav Files for Netscape (Force file types association)"),
                             QStringLiteral("Use Default Netscape Plugin")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(items[i], browser_);
        item->setObjectName(QStringLiteral("RadioNS%1").arg(i));
        browserChoice_->addButton(item, i);
        browserLayout->addWidget(item);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addWidget(explanation);
    for (QWidget* row : std::initializer_list<QWidget*>{mid_, avi_, wav_, cda_, browser_}) layout->addWidget(row);
    layout->addStretch();
    read();
}

FileTypesPage::~FileTypesPage() = default;

void FileTypesPage::read() {
    const bool readable = ErrorHandler::run([this] {
        associations_ = std::make_unique<FileAssociations>();
        plugin_ = BrowserPlugin::read();
    });
    if (!readable) {
        associations_.reset();
        plugin_.reset();
        for (QWidget* control : std::initializer_list<QWidget*>{mid_, avi_, wav_, cda_, browser_})
            control->setEnabled(false);
        return;
    }
    const AssociationBoxes shown = associations_->associated();
    mid_->setChecked(shown.mid);
    avi_->setChecked(shown.avi);
    wav_->setChecked(shown.wav);
    cda_->setChecked(shown.cda);
    browser_->setEnabled(plugin_->isAvailable());
    const BrowserPlugin::Choice choice = plugin_->shownChoice(shown.mid, shown.wav);
    if (browser_->isEnabled() && choice != BrowserPlugin::Choice::None)
        browserChoice_->button(static_cast<int>(choice))->setChecked(true);
}

int FileTypesPage::helpContext() const { return HelpTopics::FileTypes; }

AssociationBoxes FileTypesPage::boxes() const {
    return {mid_->isChecked(), avi_->isChecked(), wav_->isChecked(), cda_->isChecked()};
}

bool FileTypesPage::apply(Options& /*edited*/) {
    if (!associations_) return true;  // could not be read: nothing to apply
    if (browser_->isEnabled()) {
        const auto choice = static_cast<BrowserPlugin::Choice>(browserChoice_->checkedId());
        if (plugin_->apply(choice, mid_->isChecked(), wav_->isChecked())) {
            mid_->setChecked(true);
            wav_->setChecked(true);
        }
    }
    const AssociationBoxes wanted = boxes();
    if (associations_->refusesForMissingCommands(wanted)) {
        MessageBoxes::show(QStringLiteral("Warning - File Types Association"),
                           QStringLiteral("MIDI Vorlo cannot be associated with these file types: its own open and "
                                          "play commands are not registered, because setup has not installed it. "
                                          "The file types keep the programs they have."),
                           BoxIcon::Warning);
    }
    // A failure is told; the hive and the desktop are then as they were, and the dialog goes on.
    ErrorHandler::run([&] { associations_->apply(wanted); });
    return true;
}

}  // namespace vorlo
