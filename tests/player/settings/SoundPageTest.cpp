#include "core/settings/Settings.h"
#include "media/EMCIDeviceError.h"
#include "os/Registry.h"
#include "player/app/PlayerActions.h"
#include "player/app/TFormPlayer.h"
#include "player/playlist/PlaylistPanel.h"
#include "player/settings/NumberBox.h"
#include "player/settings/SoundPage.h"
#include "player/settings/TPagesDlg.h"

#include "MediaFixtures.h"
#include "PlayerSandbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

const QString kSmallFont = QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");
const QString kOtherFont = QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2");

template <class T>
T* child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The machine as a test gives it: two drivers, one of which offers devices (no sound card here).
SoundChoices twoDrivers() {
    SoundChoices choices;
    choices.drivers = {"pulseaudio", "alsa"};
    choices.devicesOf = [](const QString& driver) {
        return driver == "alsa" ? QStringList{"hw:0,0", "hw:1,0"} : QStringList{};
    };
    choices.soundFontInUse = kSmallFont;
    choices.systemSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";
    return choices;
}

class SoundPageTest : public test::PlayerSandbox {
protected:
    void SetUp() override {
        PlayerSandbox::SetUp();
        settings_.options() = Options::defaultsFor(path("program"));
        settings_.options().resetFile.clear();
    }
    std::unique_ptr<TPagesDlg> dialog(SoundPage::Browser browse = {}, SoundChoices choices = twoDrivers()) {
        auto dlg = std::make_unique<TPagesDlg>(settings_, MidiResetPage::Browser{});
        dlg->addPage(new SoundPage(settings_.options().sound, std::move(choices), std::move(browse)));
        return dlg;
    }
    SoundPage& page(TPagesDlg& dlg) { return static_cast<SoundPage&>(*dlg.page(TPagesDlg::Sound)); }
    Settings settings_;
};

TEST_F(SoundPageTest, ThePageShowsTheSoundInForceAndTheOutputsThatOpenHere) {
    settings_.options().sound = {"", "alsa", "hw:1,0", true, false, false, 120};
    auto dlg = dialog();
    dlg->show();
    dlg->showPage(TPagesDlg::Sound);
    SoundPage& sound = page(*dlg);
    EXPECT_EQ(sound.title(), "Sound");
    EXPECT_LE(sound.minimumSizeHint().width(), sound.width());
    EXPECT_EQ(child<QLabel>(sound, "LblSoundFontInUse")->text(), "In use: " + kSmallFont);
    EXPECT_EQ(child<QLabel>(sound, "LblSoundFontDefault")->text(),
              "System default: /usr/share/sounds/sf2/default-GM.sf2");
    QComboBox* output = sound.output();
    ASSERT_EQ(output->count(), 3);
    EXPECT_EQ(output->itemText(0), "Automatic");
    EXPECT_EQ(output->currentText(), "alsa");
    EXPECT_EQ(sound.device()->currentText(), "hw:1,0");
    EXPECT_TRUE(sound.device()->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(sound, "CheckReverb")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(sound, "CheckChorus")->isChecked());
    EXPECT_TRUE(sound.gain()->isEnabled());
    EXPECT_EQ(sound.gain()->value(), 120);
    // VORLO_SCREENSHOTS names a folder for pictures of the four pages, to look at.
    if (const QString shots = qEnvironmentVariable("VORLO_SCREENSHOTS"); !shots.isEmpty()) {
        for (int i = 0; i < 4; ++i) {
            dlg->showPage(i);
            dlg->grab().save(QString("%1/configuration-page-%2.png").arg(shots).arg(i + 1));
        }
        dlg->showPage(TPagesDlg::Sound);
    }

    // A driver without devices, and Automatic, have no device to choose.
    output->setCurrentIndex(1);
    EXPECT_FALSE(sound.device()->isEnabled());
    output->setCurrentIndex(0);
    EXPECT_FALSE(sound.device()->isEnabled());
    // Back on the stored driver, its device is offered again.
    output->setCurrentIndex(2);
    EXPECT_EQ(sound.device()->currentText(), "hw:1,0");
    output->setCurrentIndex(0);
    child<QCheckBox>(sound, "CheckAutoGain")->click();
    EXPECT_FALSE(sound.gain()->isEnabled());
    dlg->OKBtnClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(settings_.options().sound, (SoundOptions{"", "", "", true, false, true, 120}));
}

TEST_F(SoundPageTest, AStoredDriverThatDoesNotOpenNowStaysChosen) {
    settings_.options().sound.audioOutput = "jack";
    auto dlg = dialog();
    EXPECT_EQ(page(*dlg).output()->currentText(), "jack (not available)");
    dlg->OKBtnClick();
    EXPECT_EQ(settings_.options().sound.audioOutput, "jack");
}

TEST_F(SoundPageTest, ExternalSynthesizersAreOutputsWhoseChoiceSetsTheBuiltInControlsAside) {
    settings_.options().sound = {kSmallFont, "alsa", "hw:1,0", true, true, false, 120};
    SoundChoices choices = twoDrivers();
    choices.ports = {{"128:0", "FLUID Synth, Synth input port"}, {"20:0", "USB MIDI Interface, MIDI 1"}};
    auto dlg = dialog({}, choices);
    dlg->show();
    dlg->showPage(TPagesDlg::Sound);
    SoundPage& sound = page(*dlg);
    QComboBox* output = sound.output();
    ASSERT_EQ(output->count(), 5);
    EXPECT_EQ(output->itemText(3), "External: FLUID Synth, Synth input port (128:0)");
    EXPECT_EQ(output->itemText(4), "External: USB MIDI Interface, MIDI 1 (20:0)");
    EXPECT_FALSE(sound.externalNote()->isVisible());
    EXPECT_TRUE(sound.soundFont()->isEnabled());

    output->setCurrentIndex(4);
    EXPECT_TRUE(sound.externalNote()->isVisible());
    if (const QString shots = qEnvironmentVariable("VORLO_SCREENSHOTS"); !shots.isEmpty())
        dlg->grab().save(shots + "/configuration-sound-external.png");
    for (QWidget* builtIn : std::initializer_list<QWidget*>{sound.soundFont(), sound.reverb(), sound.gain(),
                                                            child<QCheckBox>(sound, "CheckAutoGain"), sound.device()})
        EXPECT_FALSE(builtIn->isEnabled()) << builtIn->objectName().toStdString();
    // Back on a driver, the controls are as they were.
    output->setCurrentIndex(2);
    EXPECT_TRUE(sound.soundFont()->isEnabled());
    EXPECT_TRUE(sound.gain()->isEnabled());
    EXPECT_EQ(sound.device()->currentText(), "hw:1,0");
    output->setCurrentIndex(4);
    dlg->OKBtnClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    // The built-in synthesizer's settings stay for when it is chosen again; a port has no device.
    EXPECT_EQ(settings_.options().sound, (SoundOptions{kSmallFont, "port:20:0", "", true, true, false, 120}));

    // Stored and read again, the port is chosen; one that is not there now stays chosen all the same.
    for (const QList<SoundPort>& listed : {choices.ports, QList<SoundPort>{}}) {
        SoundChoices now = twoDrivers();
        now.ports = listed;
        auto again = dialog({}, now);
        const QString expected =
            listed.isEmpty() ? "External: not available (20:0)" : "External: USB MIDI Interface, MIDI 1 (20:0)";
        EXPECT_EQ(page(*again).output()->currentText(), expected);
        EXPECT_FALSE(page(*again).soundFont()->isEnabled());
        again->OKBtnClick();
        EXPECT_EQ(settings_.options().sound.audioOutput, "port:20:0");
    }
}

TEST_F(SoundPageTest, OkTakesOnlyASoundfontThatCanBeReadAndTheGainStaysInRange) {
    const QString notAFont = path("song.sf2");
    ASSERT_TRUE(vorlo::testing::writeMidiSong(notAFont, 100));
    QString offered;
    auto dlg = dialog([&](const QString& typed) -> std::optional<QString> {
        offered = typed;
        return notAFont;
    });
    SoundPage& sound = page(*dlg);
    sound.soundFont()->setText("/typed.sf2");
    child<QPushButton>(sound, "BtnSoundFont")->click();
    EXPECT_EQ(offered, "/typed.sf2");
    EXPECT_EQ(sound.soundFont()->text(), notAFont);

    child<QCheckBox>(sound, "CheckAutoGain")->click();
    sound.gain()->setValue(1000);
    sound.gain()->stepUp();  // no wrapping from the loudest to silence
    EXPECT_EQ(sound.gain()->value(), 1000);
    sound.gain()->edit()->selectAll();
    QTest::keyClicks(sound.gain()->edit(), "2000");  // "200" is taken, the "0" that would leave the range is not
    EXPECT_EQ(sound.gain()->value(), 200);

    dlg->showPage(TPagesDlg::PlayControl);
    boxes_.expect("Error - Soundfont",
                  notAFont +
                      " is not a soundfont that can be read. Choose an .sf2 or .sf3 file, or leave the field empty "
                      "for the system default.",
                  BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    dlg->OKBtnClick();
    EXPECT_NE(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->shownPage(), TPagesDlg::Sound);
    EXPECT_EQ(settings_.options().sound, SoundOptions{});

    if (!QFile::exists(kSmallFont)) return;
    sound.soundFont()->setText(kSmallFont);
    dlg->OKBtnClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(settings_.options().sound.soundFont, kSmallFont);
    EXPECT_EQ(settings_.options().sound.gainPercent, 200);
    EXPECT_FALSE(settings_.options().sound.autoGain);
}

// The window: OK on the Sound page gives the synthesizer its new soundfont while the song plays on.
TEST_F(SoundPageTest, ANewSoundfontAtOkPlaysOnFromWhereTheSongWas) {
    if (!QFile::exists(kOtherFont)) GTEST_SKIP() << kOtherFont.toStdString() << " is not installed";
    storeOptions([](Registry& reg) { reg.writeString("RESETFILE", ""); });
    const QString song = path("song.mid");
    ASSERT_TRUE(vorlo::testing::writeMidiSong(song, 3000));
    TFormPlayer form(dir_.path(), nullptr, std::make_unique<media::MIDIPlayer>(vorlo::testing::offlineSettings()));
    ASSERT_TRUE(form.FormCreate({}));
    media::MIDIPlayer& device = form.device();
    device.setFileName(song);
    device.open();
    device.play();
    vorlo::testing::runFor(device, 700);
    const std::int64_t before = device.position();
    ASSERT_GT(before, 0);

    QString inUse;
    boxes_.expectDialog("PagesDlg", [&](QObject& dialog) {
        auto& pages = static_cast<TPagesDlg&>(dialog);
        auto& sound = static_cast<SoundPage&>(*pages.page(TPagesDlg::Sound));
        inUse = child<QLabel>(sound, "LblSoundFontInUse")->text();
        sound.soundFont()->setText(kOtherFont);
        pages.OKBtnClick();
        return pages.result();
    });
    form.playerActions().configuration->trigger();
    EXPECT_EQ(inUse, "In use: " + kSmallFont);
    EXPECT_EQ(form.options().sound.soundFont, kOtherFont);
    EXPECT_EQ(device.synthHost().soundFontInUse(), kOtherFont.toStdString());
    EXPECT_EQ(device.mode(), media::Mode::Playing);
    EXPECT_EQ(device.position(), before);
    EXPECT_GT(vorlo::testing::runFor(device, 300).peak(), 0.01);
    EXPECT_GT(device.position(), before);
}

// A file that looks like a soundfont but cannot be loaded: the user is told, the song and the playlist stay.
TEST_F(SoundPageTest, ASoundfontTheSynthesizerCannotLoadLeavesTheSoundAndTheListAsTheyWere) {
    storeOptions([](Registry& reg) { reg.writeString("RESETFILE", ""); });
    const QString song = path("song.mid");
    ASSERT_TRUE(vorlo::testing::writeMidiSong(song, 3000));
    const QString broken = path("broken.sf2");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("RIFF\x10\0\0\0sfbkLIST", 16) + QByteArray(64, 'x'));
    file.close();
    ASSERT_TRUE(SoundPage::isReadableSoundFont(broken));
    // What the synthesizer says about it.
    std::string why;
    {
        media::MIDIPlayer probe(vorlo::testing::offlineSettings());
        media::MediaSettings wanted = probe.synthHost().settings();
        wanted.soundFontPath = broken.toStdString();
        try {
            probe.applySynthSettings(wanted);
        } catch (const media::EMCIDeviceError& error) {
            why = error.what();
        }
    }
    ASSERT_FALSE(why.empty());

    TFormPlayer form(dir_.path(), nullptr, std::make_unique<media::MIDIPlayer>(vorlo::testing::offlineSettings()));
    ASSERT_TRUE(form.FormCreate({}));
    Playlist& playlist = form.playlistPanel().playlist();
    playlist.append({song, "song.mid", false});
    playlist.setCurrentIndex(0);
    playlist.selectLine(0);
    playlist.MarkListSaved();
    ASSERT_TRUE(form.engine().OpenCurrentEntry());
    media::MIDIPlayer& device = form.device();
    device.play();
    vorlo::testing::runFor(device, 500);
    const std::int64_t before = device.position();

    boxes_.expectDialog("PagesDlg", [&](QObject& dialog) {
        auto& pages = static_cast<TPagesDlg&>(dialog);
        static_cast<SoundPage&>(*pages.page(TPagesDlg::Sound)).soundFont()->setText(broken);
        pages.OKBtnClick();
        return pages.result();
    });
    boxes_.expect("Error - Sound", QString::fromStdString(why) + "\nThe sound stays as it was.", BoxIcon::Error,
                  BoxButtons::Ok, BoxButton::Ok);
    form.playerActions().configuration->trigger();
    EXPECT_EQ(boxes_.pending(), 0u);
    EXPECT_EQ(playlist.count(), 1);
    EXPECT_EQ(form.options().sound.soundFont, kSmallFont);  // the one the synthesizer plays
    EXPECT_EQ(device.mode(), media::Mode::Playing);
    EXPECT_EQ(device.position(), before);
}

}  // namespace
