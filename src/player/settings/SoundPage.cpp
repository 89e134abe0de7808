#include "player/settings/SoundPage.h"

#include "core/app/MessageBoxes.h"
#include "core/settings/Options.h"
#include "media/audio/AudioOutput.h"
#include "media/audio/SequencerPorts.h"
#include "media/audio/SoundFontLookup.h"
#include "player/app/ModalDialogs.h"
#include "player/help/HelpWindow.h"
#include "player/settings/NumberBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlo {

namespace {

const QString kAutomatic = QStringLiteral("Automatic");
const QString kDefaultDevice = QStringLiteral("Default");

QStringList toStrings(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names) list << QString::fromStdString(name);
    return list;
}

QString shown(const QString& path) { return path.isEmpty() ? QStringLiteral("(none found)") : path; }

QString portLabel(const QString& name, const QString& address) {
    return QStringLiteral("External: %1 (%2)").arg(name, address);
}

}  // namespace

SoundChoices SoundChoices::ofSystem(const QString& soundFontInUse, const QString& driverInUse) {
    SoundChoices choices;
    choices.drivers = toStrings(audio::openableAudioDrivers({}, driverInUse.toStdString()));
    choices.devicesOf = [](const QString& driver) { return toStrings(audio::audioDevicesOf(driver.toStdString())); };
    // A machine without a sequencer simply offers no port.
    std::string noSequencer;
    for (const audio::SequencerPort& port : audio::sequencerOutputPorts(noSequencer))
        choices.ports.push_back(
            {QString::fromStdString(port.address()), QString::fromStdString(port.clientName + ", " + port.portName)});
    choices.soundFontInUse = soundFontInUse;
    // What an empty setting loads: $VORLO_SOUNDFONT, else the system's.
    choices.systemSoundFont = QString::fromStdString(audio::findSoundFont({}).path);
    return choices;
}

SoundPage::SoundPage(const SoundOptions& sound, SoundChoices choices, Browser browse, QWidget* parent)
    : ConfigurationPage(parent),
      choices_(std::move(choices)),
      browse_(std::move(browse)),
      storedOutput_(sound.audioOutput),
      storedDevice_(sound.audioDevice) {
    setObjectName(QStringLiteral("TabSound"));

    auto* fontGroup = new QGroupBox(QStringLiteral("Soundfont (empty: the system default)"), this);
    fontGroup_ = fontGroup;
    fontGroup->setObjectName(QStringLiteral("GroupSoundFont"));
    soundFont_ = new QLineEdit(sound.soundFont, fontGroup);
    soundFont_->setObjectName(QStringLiteral("EditSoundFont"));
    soundFont_->setPlaceholderText(QStringLiteral("System default"));
    browseButton_ = new QPushButton(QStringLiteral("Browse"), fontGroup);
    browseButton_->setObjectName(QStringLiteral("BtnSoundFont"));
    browseButton_->setAutoDefault(false);
    auto* inUse = new QLabel(QStringLiteral("In use: ") + shown(choices_.soundFontInUse), fontGroup);
    inUse->setObjectName(QStringLiteral("LblSoundFontInUse"));
    auto* systemDefault = new QLabel(QStringLiteral("System default: ") + shown(choices_.systemSoundFont), fontGroup);
    systemDefault->setObjectName(QStringLiteral("LblSoundFontDefault"));
    for (QLabel* label : {inUse, systemDefault}) {
        // A long path is cut in the middle rather than widening the dialog; the whole path is in the tip.
        label->setToolTip(label->text());
        label->setMinimumWidth(1);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(soundFont_, 1);
    fontRow->addWidget(browseButton_);
    auto* fontLayout = new QVBoxLayout(fontGroup);
    fontLayout->setSpacing(2);
    fontLayout->addLayout(fontRow);
    fontLayout->addWidget(inUse);
    fontLayout->addWidget(systemDefault);

    auto* outputLabel = new QLabel(QStringLiteral("Audio output:"), this);
    output_ = new QComboBox(this);
    output_->setObjectName(QStringLiteral("ComboOutput"));
    output_->addItem(kAutomatic, QString());
    for (const QString& driver : choices_.drivers) output_->addItem(driver, driver);
    for (const SoundPort& port : choices_.ports)
        output_->addItem(portLabel(port.name, port.address), SoundOptions::portOutput(port.address));
    // A stored driver or port that is not there now stays chosen, so that OK does not quietly change it.
    if (!sound.audioOutput.isEmpty() && output_->findData(sound.audioOutput) < 0) {
        const QString port = SoundOptions::portOf(sound.audioOutput);
        output_->addItem(port.isEmpty() ? sound.audioOutput + QStringLiteral(" (not available)")
                                        : portLabel(QStringLiteral("not available"), port),
                         sound.audioOutput);
    }
    output_->setCurrentIndex(std::max(0, output_->findData(sound.audioOutput)));
    outputLabel->setBuddy(output_);
    auto* deviceLabel = new QLabel(QStringLiteral("Device:"), this);
    device_ = new QComboBox(this);
    device_->setObjectName(QStringLiteral("ComboDevice"));
    device_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    device_->setMinimumContentsLength(8);
    deviceLabel->setBuddy(device_);

    reverb_ = new QCheckBox(QStringLiteral("Reverb"), this);
    reverb_->setObjectName(QStringLiteral("CheckReverb"));
    reverb_->setChecked(sound.reverb);
    chorus_ = new QCheckBox(QStringLiteral("Chorus"), this);
    chorus_->setObjectName(QStringLiteral("CheckChorus"));
    chorus_->setChecked(sound.chorus);
    autoGain_ = new QCheckBox(QStringLiteral("Gain that suits the soundfont"), this);
    autoGain_->setObjectName(QStringLiteral("CheckAutoGain"));
    autoGain_->setChecked(sound.autoGain);
    gain_ =
        new NumberBox(QStringLiteral("UpDownGain"), QStringLiteral("EditGain"), 0, SoundOptions::kMaxGainPercent, this);
    // Unlike the seconds, a gain never jumps from one end to the other: from silent to ten times as loud.
    gain_->setWrapping(false);
    gain_->setSuffix(QStringLiteral(" %"));
    gain_->setValue(sound.gainPercent);
    gain_->setEnabled(!sound.autoGain);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(4);
    grid->addWidget(outputLabel, 0, 0);
    grid->addWidget(output_, 0, 1);
    grid->addWidget(deviceLabel, 0, 2);
    grid->addWidget(device_, 0, 3);
    grid->setColumnStretch(3, 1);
    auto* effects = new QHBoxLayout;
    effects->addWidget(reverb_);
    effects->addWidget(chorus_);
    effects->addSpacing(12);
    effects->addWidget(autoGain_);
    effects->addWidget(gain_);
    effects->addStretch();

    external_ = new QLabel(QStringLiteral("MIDI songs play on the external synthesizer, which makes its own sound: the "
                                          "soundfont, reverb, chorus and gain are the built-in synthesizer's."),
                           this);
    external_->setObjectName(QStringLiteral("LblExternal"));
    external_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fontGroup);
    layout->addLayout(grid);
    layout->addLayout(effects);
    layout->addWidget(external_);
    layout->addStretch();

    connect(browseButton_, &QPushButton::clicked, this, [this] {
        if (!browse_) return;
        if (const std::optional<QString> chosen = browse_(soundFont_->text())) soundFont_->setText(*chosen);
    });
    connect(output_, &QComboBox::currentIndexChanged, this, [this] { outputChosen(); });
    connect(autoGain_, &QCheckBox::toggled, this, [this] { autoGainClicked(); });
    outputChosen();
}

int SoundPage::helpContext() const { return HelpTopics::Sound; }

void SoundPage::outputChosen() {
    const QString driver = output_->currentData().toString();
    // An external synthesizer has no soundfont, effects or gain of ours: their controls wait, as they were, for the
    // built-in synthesizer.
    const bool external = !SoundOptions::portOf(driver).isEmpty();
    external_->setVisible(external);
    for (QWidget* builtIn : std::initializer_list<QWidget*>{fontGroup_, reverb_, chorus_, autoGain_})
        builtIn->setEnabled(!external);
    gain_->setEnabled(!external && !autoGain_->isChecked());
    if (external) {
        device_->clear();
        device_->addItem(kDefaultDevice, QString());
        device_->setEnabled(false);
        return;
    }
    // A device names a device of its own driver only: the stored one is offered again for the stored driver (even
    // when it is unplugged now), never for another.
    const QString keep = driver == storedOutput_ ? storedDevice_ : QString();
    device_->clear();
    device_->addItem(kDefaultDevice, QString());
    if (!driver.isEmpty() && choices_.devicesOf)
        for (const QString& device : choices_.devicesOf(driver)) device_->addItem(device, device);
    if (!keep.isEmpty() && device_->findData(keep) < 0) device_->addItem(keep, keep);
    device_->setCurrentIndex(std::max(0, device_->findData(keep)));
    // Automatic tries the drivers on their own default devices; a driver without devices has nothing to choose.
    device_->setEnabled(device_->count() > 1);
}

void SoundPage::autoGainClicked() { gain_->setEnabled(autoGain_->isEnabled() && !autoGain_->isChecked()); }

bool SoundPage::isReadableSoundFont(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "sfbk";
}

std::optional<QString> SoundPage::chooseSoundFont(QWidget* parent, const QString& typed) {
    QFileDialog dialog(parent, QStringLiteral("Select Soundfont"));
    dialog.setObjectName(QStringLiteral("SoundFontDialog"));
    dialog.setNameFilter(QStringLiteral("Soundfonts (*.sf2 *.sf3)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QFileInfo typedFile(typed);
    dialog.setDirectory(typedFile.isFile() ? typedFile.absolutePath() : QStringLiteral("/usr/share/sounds"));
    if (typedFile.isFile()) dialog.selectFile(typedFile.absoluteFilePath());
    if (ModalDialogs::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

bool SoundPage::apply(Options& edited) {
    const QString font = soundFont_->text().trimmed();
    if (fontGroup_->isEnabled() && !font.isEmpty() && !isReadableSoundFont(font)) {
        emit showMe();
        MessageBoxes::show(QStringLiteral("Error - Soundfont"),
                           QStringLiteral("%1 is not a soundfont that can be read. Choose an .sf2 or .sf3 file, or "
                                          "leave the field empty for the system default.")
                               .arg(font),
                           BoxIcon::Error);
        soundFont_->setFocus();
        return false;
    }
    SoundOptions& sound = edited.sound;
    sound.soundFont = font;
    sound.audioOutput = output_->currentData().toString();
    const bool driver = !sound.audioOutput.isEmpty() && SoundOptions::portOf(sound.audioOutput).isEmpty();
    sound.audioDevice = driver ? device_->currentData().toString() : QString();
    sound.reverb = reverb_->isChecked();
    sound.chorus = chorus_->isChecked();
    sound.autoGain = autoGain_->isChecked();
    sound.gainPercent = gain_->value();
    return true;
}

}  // namespace vorlo
