#include "core/app/BusyCursor.h"
#include "core/settings/Settings.h"
#include "os/Registry.h"
#include "player/app/PlayerActions.h"
#include "player/app/TFormPlayer.h"
#include "player/help/HelpWindow.h"
#include "player/playlist/ListDialogs.h"
#include "player/settings/ConfigurationPage.h"
#include "player/settings/FileTypesPage.h"
#include "player/settings/MidiResetPage.h"
#include "player/settings/NumberBox.h"
#include "player/settings/PlayControlPage.h"
#include "player/settings/TPagesDlg.h"

#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

template <class T>
T* child(QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void click(QWidget& dialog, const char* name) { child<QAbstractButton>(dialog, name)->click(); }

class PagesDlgTest : public test::PlayerSandbox {
protected:
    void SetUp() override {
        PlayerSandbox::SetUp();
        folder_ = path("program");
        ASSERT_TRUE(test::writeResetFiles(folder_));
        settings_.options() = Options::defaultsFor(folder_);
    }
    QString gm() const { return folder_ + "//Reset//Gm_reset.mid"; }
    std::unique_ptr<TPagesDlg> dialog(MidiResetPage::Browser browse = {}) {
        return std::make_unique<TPagesDlg>(settings_, std::move(browse));
    }
    static void installPlayer() {
        Registry classes(RegistryRoot::ClassesRoot);
        ASSERT_TRUE(classes.openKey("\\MIDI Vorlo MPL File\\shell\\open\\command", true));
        classes.writeString("", "/opt/vorlo/MIDI_Vorlo %1");
        ASSERT_TRUE(classes.openKey("\\MIDI Vorlo MPL File\\shell\\play\\command", true));
        classes.writeString("", "/opt/vorlo/MIDI_Vorlo /play /close %1");
    }
    static QString classCommand(const QString& className) {
        Registry classes(RegistryRoot::ClassesRoot);
        return classes.openKeyReadOnly("\\" + className + "\\shell\\open\\command") ? classes.readString("")
                                                                                    : QString();
    }
    void expectResetError(const QString& text) {
        boxes_.expect("Error - Reset File", text, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    }

    QString folder_;
    Settings settings_;
};

TEST_F(PagesDlgTest, ThePagesHoldTheControlsAndTextsOfTheOptions) {
    settings_.options().skip = 12;
    settings_.options().addPlay = 2;
    settings_.options().autoCheck = true;
    auto dlg = dialog();
    EXPECT_EQ(dlg->windowTitle(), "MIDI Vorlo Configuration");
    EXPECT_EQ(dlg->size(), QSize(427, 300));
    auto* pages = child<QTabWidget>(*dlg, "PageControl");
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->tabText(0), "Play Control");
    EXPECT_EQ(pages->tabText(1), "File Types Association");
    EXPECT_EQ(pages->tabText(2), "MIDI Reset");
    EXPECT_EQ(child<QLabel>(*dlg, "LblSkip")->text(), "Skip                 seconds when Forward and Reverse.");
    EXPECT_EQ(child<QLabel>(*dlg, "LblWait")->text(), "Wait                 seconds before playing next file");
    EXPECT_EQ(child<QSpinBox>(*dlg, "UpDownSkip")->value(), 12);
    EXPECT_TRUE(child<QCheckBox>(*dlg, "CheckAutoLoad")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(*dlg, "CheckAutoCheck")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(*dlg, "CheckListClose")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(*dlg, "RadioGaGa2")->isChecked());
    EXPECT_EQ(child<QCheckBox>(*dlg, "CheckBoxMid")->text(), "Associate .mid .rmi  file");
    EXPECT_EQ(child<QLabel>(*dlg, "LabelFA1")->text(),
              "Associate MIDI and other supported file types with MIDI Volro so you can add these files from "
              "second instance to the playlist.");
    // No browser here: the plug-in group is not offered.
    EXPECT_FALSE(child<QGroupBox>(*dlg, "RadioNS")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>(*dlg, "RadioReset1")->isChecked());
    EXPECT_FALSE(child<QLineEdit>(*dlg, "EditCMFile")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*dlg, "BtnBrowse")->isEnabled());
    EXPECT_EQ(child<QLabel>(*dlg, "LblWarning")->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(child<QPushButton>(*dlg, "OKBtn")->isDefault());
}

TEST_F(PagesDlgTest, EveryCaptionFitsAndTheNumberBoxesStayOnTheirBlanks) {
    auto dlg = dialog();
    dlg->show();
    for (int i = 0; i < 3; ++i) {
        dlg->showPage(i);
        QWidget* page = dlg->page(i);
        EXPECT_LE(page->minimumSizeHint().width(), page->width()) << page->objectName().toStdString();
    }
    // The box covers the blanks of its label, between "Skip" and "seconds", whatever font the dialog took.
    dlg->showPage(TPagesDlg::PlayControl);
    auto* label = child<QLabel>(*dlg, "LblSkip");
    const QFontMetrics metrics(label->font());
    const QRect box = dlg->playControl()->skip()->geometry();
    EXPECT_GE(box.left(), metrics.horizontalAdvance("Skip"));
    EXPECT_LE(box.right(), metrics.horizontalAdvance("Skip                 "));
}

// A page added after the three: OK applies it after them, Help and a stop of OK work for it as for them.
class LaterPage : public ConfigurationPage {
public:
    explicit LaterPage(bool stops) : stops_(stops) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QCheckBox("A caption of a later page, as long as the longest of the first three ones"));
    }
    QString title() const override { return "Later"; }
    int helpContext() const override { return 101; }
    bool apply(Options& edited) override {
        edited.wait = 77;
        if (stops_) emit showMe();
        return !stops_;
    }

private:
    bool stops_;
};

TEST_F(PagesDlgTest, ALaterPageIsAppliedAfterTheOthersAndFitsAsTheyDo) {
    settings_.options().resetFile.clear();
    auto dlg = dialog();
    dlg->addPage(new LaterPage(true));
    dlg->show();
    dlg->showPage(3);
    EXPECT_LE(dlg->page(3)->minimumSizeHint().width(), dlg->page(3)->width());
    dlg->playControl()->skip()->setValue(8);
    dlg->showPage(TPagesDlg::PlayControl);
    dlg->OKBtnClick();
    EXPECT_NE(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->shownPage(), 3);
    EXPECT_EQ(settings_.options().skip, 8);   // the pages before it are in force
    EXPECT_EQ(settings_.options().wait, 77);  // and so is what it applied before it stopped
}

TEST_F(PagesDlgTest, TheNumberBoxesWrapAndKeepTheirLastValidValue) {
    auto dlg = dialog();
    auto* skip = static_cast<NumberBox*>(child<QSpinBox>(*dlg, "UpDownSkip"));
    auto* wait = static_cast<NumberBox*>(child<QSpinBox>(*dlg, "UpDownWait"));
    EXPECT_EQ(skip->edit()->objectName(), "EditSkip");
    skip->setValue(99);
    skip->stepUp();
    EXPECT_EQ(skip->value(), 1);
    skip->stepDown();
    EXPECT_EQ(skip->value(), 99);
    wait->stepDown();
    EXPECT_EQ(wait->value(), 99);

    skip->setValue(7);
    skip->edit()->selectAll();
    QTest::keyClicks(skip->edit(), "150");  // "15" is taken, the "0" that would leave the range is not
    EXPECT_EQ(skip->value(), 15);
    skip->edit()->selectAll();
    QTest::keyClicks(skip->edit(), "x");
    EXPECT_EQ(skip->value(), 15);
    skip->edit()->selectAll();
    QTest::keyClicks(skip->edit(), "0");  // below the range: not a value yet
    wait->edit()->selectAll();
    QTest::keyClicks(wait->edit(), "42");
    dlg->OKBtnClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(settings_.options().skip, 15);
    EXPECT_EQ(settings_.options().wait, 42);
}

TEST_F(PagesDlgTest, AMissingGmFileShowsNoModeAndOkStopsThereAfterApplyingTheRest) {
    installPlayer();
    settings_.options().resetFile = gm();
    QFile::remove(folder_ + "/Reset/Gm_reset.mid");
    auto dlg = dialog();
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(child<QRadioButton>(*dlg, QString("RadioReset%1").arg(i).toLatin1())->isChecked());
    dlg->playControl()->skip()->setValue(9);
    child<QCheckBox>(*dlg, "CheckBoxAvi")->setChecked(true);
    child<QCheckBox>(*dlg, "CheckAutoLoad")->setChecked(false);

    expectResetError("The MIDI reset file for this mode is missing!");
    dlg->OKBtnClick();
    EXPECT_NE(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->shownPage(), TPagesDlg::MidiReset);
    EXPECT_EQ(settings_.options().skip, 9);
    EXPECT_FALSE(settings_.options().autoLoad);
    EXPECT_EQ(classCommand("avifile"), "/opt/vorlo/MIDI_Vorlo %1");
    EXPECT_EQ(settings_.options().resetFile, "");  // no mode chosen: no reset

    // GM again is taken but still missing; None ends it.
    click(*dlg, "RadioReset1");
    expectResetError("The MIDI reset file for this mode is missing!");
    dlg->OKBtnClick();
    EXPECT_EQ(settings_.options().resetFile, gm());
    EXPECT_NE(dlg->result(), QDialog::Accepted);
    click(*dlg, "RadioReset0");
    dlg->OKBtnClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(settings_.options().resetFile, "");
    EXPECT_EQ(boxes_.pending(), 0u);
}

TEST_F(PagesDlgTest, CustomisedResetFilesAreCheckedAndTheGmPathIsShownAsGm) {
    auto dlg = dialog();
    dlg->showPage(TPagesDlg::PlayControl);
    click(*dlg, "RadioReset4");
    auto* edit = child<QLineEdit>(*dlg, "EditCMFile");
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*dlg, "BtnBrowse")->isEnabled());
    expectResetError("You need to either type or browse to fill in a file name for customised MIDI reset.");
    dlg->OKBtnClick();
    EXPECT_EQ(dlg->shownPage(), TPagesDlg::MidiReset);
    EXPECT_EQ(settings_.options().resetFile, gm());

    edit->setText(path("nowhere.mid"));
    expectResetError(
        "The customised MIDI Reset file that you specified does not exist!  Please check the file name and path "
        "again to ensure everything is correct.");
    dlg->OKBtnClick();
    EXPECT_NE(dlg->result(), QDialog::Accepted);

    edit->setText(gm());
    dlg->OKBtnClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    auto next = dialog();
    EXPECT_TRUE(child<QRadioButton>(*next, "RadioReset1")->isChecked());
    EXPECT_EQ(child<QLineEdit>(*next, "EditCMFile")->text(), "");

    // Another mode empties the path and locks it.
    click(*next, "RadioReset4");
    child<QLineEdit>(*next, "EditCMFile")->setText("typed");
    click(*next, "RadioReset2");
    EXPECT_EQ(child<QLineEdit>(*next, "EditCMFile")->text(), "");
    EXPECT_FALSE(child<QLineEdit>(*next, "EditCMFile")->isEnabled());
}

TEST_F(PagesDlgTest, NoneIsStoredAsAnEmptyResetFileValue) {
    auto dlg = dialog();
    click(*dlg, "RadioReset0");
    dlg->OKBtnClick();
    settings_.save({});
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
    EXPECT_EQ(reg.readString("RESETFILE"), "");
}

TEST_F(PagesDlgTest, CancelLeavesTheOptionsAndTheAssociationsAlone) {
    installPlayer();
    const Options before = settings_.options();
    auto dlg = dialog();
    dlg->playControl()->skip()->setValue(33);
    child<QCheckBox>(*dlg, "CheckBoxWav")->setChecked(true);
    click(*dlg, "RadioReset0");
    click(*dlg, "CancelBtn");
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_TRUE(OptionChanges::between(before, settings_.options()).isEmpty());
    EXPECT_EQ(classCommand("SoundRec"), "");
}

TEST_F(PagesDlgTest, HelpOpensTheTopicOfThePageShown) {
    std::vector<int> shown;
    QObject owner;
    HelpWindow::setViewer(&owner, [&shown](int context) { shown.push_back(context); });
    auto dlg = dialog();
    for (int page : {TPagesDlg::PlayControl, TPagesDlg::FileTypes, TPagesDlg::MidiReset}) {
        dlg->showPage(page);
        click(*dlg, "HelpBtn");
    }
    EXPECT_EQ(shown, (std::vector<int>{230, 240, 220}));
}

TEST_F(PagesDlgTest, AskingForATypeBeforeSetupRanIsRefusedWithAWarning) {
    auto dlg = dialog();
    child<QCheckBox>(*dlg, "CheckBoxMid")->setChecked(true);
    boxes_.expect("Warning - File Types Association",
                  "MIDI Vorlo cannot be associated with these file types: its own open and play commands are not "
                  "registered, because setup has not installed it. The file types keep the programs they have.",
                  BoxIcon::Warning, BoxButtons::Ok, BoxButton::Ok);
    dlg->OKBtnClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(classCommand("midfile"), "");
    EXPECT_FALSE(dialog()->fileTypes()->boxes().mid);
}

TEST_F(PagesDlgTest, AnAssociatedTypeIsShownCheckedAndUncheckingGivesItBack) {
    installPlayer();
    {
        Registry classes(RegistryRoot::ClassesRoot);
        ASSERT_TRUE(classes.openKey("\\avifile\\shell\\open\\command", true));
        classes.writeString("", "/usr/bin/vlc %1");
    }
    auto dlg = dialog();
    child<QCheckBox>(*dlg, "CheckBoxAvi")->setChecked(true);
    dlg->OKBtnClick();
    EXPECT_EQ(classCommand("avifile"), "/opt/vorlo/MIDI_Vorlo %1");
    auto again = dialog();
    EXPECT_TRUE(again->fileTypes()->boxes().avi);
    child<QCheckBox>(*again, "CheckBoxAvi")->setChecked(false);
    again->OKBtnClick();
    EXPECT_EQ(classCommand("avifile"), "/usr/bin/vlc %1");
}

TEST_F(PagesDlgTest, SettingTheBrowsersPluginAsideTakesMidiAndWaveFilesForThePlayer) {
    installPlayer();
    QDir().mkpath(path("navigator/plugins"));
    {
        QFile plugin(path("navigator/plugins/npaudio.dll"));
        ASSERT_TRUE(plugin.open(QIODevice::WriteOnly));
        Registry classes(RegistryRoot::ClassesRoot);
        ASSERT_TRUE(classes.openKey("\\http\\shell\\open\\command", true));
        classes.writeString("", path("navigator/netscape.exe") + " -h \"%1\"");
    }
    auto dlg = dialog();
    EXPECT_TRUE(child<QGroupBox>(*dlg, "RadioNS")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>(*dlg, "RadioNS1")->isChecked());  // the plug-in is in place
    click(*dlg, "RadioNS0");
    dlg->OKBtnClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(QFile::exists(path("navigator/plugins/npaudio.bak")));
    EXPECT_FALSE(QFile::exists(path("navigator/plugins/npaudio.dll")));
    // The boxes were checked for the associations that follow in the same OK.
    EXPECT_EQ(classCommand("midfile"), "/opt/vorlo/MIDI_Vorlo %1");
    EXPECT_EQ(classCommand("SoundRec"), "/opt/vorlo/MIDI_Vorlo %1");
    EXPECT_EQ(classCommand("avifile"), "");

    // Set aside with the types taken: the next showing offers it as chosen; the default plug-in comes back.
    auto again = dialog();
    EXPECT_TRUE(child<QRadioButton>(*again, "RadioNS0")->isChecked());
    click(*again, "RadioNS1");
    again->OKBtnClick();
    EXPECT_TRUE(QFile::exists(path("navigator/plugins/npaudio.dll")));
    EXPECT_EQ(classCommand("midfile"), "/opt/vorlo/MIDI_Vorlo %1");  // the types stay the player's
}

// The main window: the first run, the menu item, and Browse with the list open dialog.
class ConfigurationWindowTest : public test::PlayerSandbox {};

TEST_F(ConfigurationWindowTest, TheFirstRunOpensTheDialogOnTheFileTypesBeforeTheWindow) {
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    bool windowShown = true;
    int page = -1;
    int busyScopes = -1;
    boxes_.expectDialog("PagesDlg", [&](QObject& dialog) {
        windowShown = form.isVisible();
        busyScopes = BusyCursor::depth();
        page = static_cast<TPagesDlg&>(dialog).shownPage();
        return int(QDialog::Rejected);
    });
    boxes_.expectDialog("DgInt", [](QObject&) { return int(QDialog::Rejected); });  // the drive search declined
    ASSERT_TRUE(form.FormCreate({}));
    EXPECT_TRUE(form.firstRun());
    EXPECT_FALSE(windowShown);
    EXPECT_EQ(page, TPagesDlg::FileTypes);
    EXPECT_EQ(busyScopes, 0);  // no hourglass over the dialog
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ConfigurationWindowTest, TheOptionsMenuOpensItOnTheFirstPageAndOkAppliesAtOnce) {
    // No reset file here: OK has no reset file to find missing.
    storeOptions([](Registry& reg) { reg.writeString("RESETFILE", ""); });
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    QAction* item = form.playerActions().configuration;
    EXPECT_EQ(item->text(), "&Configuration...");
    int page = -1;
    boxes_.expectDialog("PagesDlg", [&](QObject& dialog) {
        auto& pages = static_cast<TPagesDlg&>(dialog);
        page = pages.shownPage();
        pages.playControl()->wait()->setValue(3);
        pages.OKBtnClick();
        return pages.result();
    });
    item->trigger();
    EXPECT_EQ(page, TPagesDlg::PlayControl);
    EXPECT_EQ(form.options().wait, 3);
}

TEST_F(ConfigurationWindowTest, BrowseBorrowsTheListOpenDialogAndLeavesItAsItWas) {
    storeOptions();
    const QString reset = path("mine.mid");
    ASSERT_TRUE(test::writeSong(reset));
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    const ListFileNames namesBefore = form.listCommands().fileNames();

    struct Seen {
        QString title, filter, suffix, name;
    };
    const auto seen = [](QObject& object) {
        auto& dialog = static_cast<QFileDialog&>(object);
        auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        return Seen{dialog.windowTitle(), dialog.nameFilters().join(";"), dialog.defaultSuffix(),
                    field ? field->text() : QString()};
    };
    Seen browse;
    QString typed;
    boxes_.expectDialog("PagesDlg", [&](QObject& dialog) {
        auto& pages = static_cast<TPagesDlg&>(dialog);
        click(pages, "RadioReset4");
        boxes_.expectDialog("OpenDialog", [&](QObject& open) {
            browse = seen(open);
            static_cast<QFileDialog&>(open).selectFile(reset);
            return int(QDialog::Accepted);
        });
        click(pages, "BtnBrowse");
        typed = pages.midiReset()->customFile()->text();
        pages.OKBtnClick();
        return pages.result();
    });
    form.playerActions().configuration->trigger();
    EXPECT_EQ(browse.title, "Select MIDI Reset File");
    EXPECT_EQ(browse.filter, "MIDI Sequence files (*.mid)");
    EXPECT_EQ(browse.suffix, "mid");
    EXPECT_EQ(browse.name, "*.mid");
    EXPECT_EQ(typed, reset);
    EXPECT_EQ(form.options().resetFile, reset);

    Seen list;
    boxes_.expectDialog("OpenDialog", [&](QObject& open) {
        list = seen(open);
        return int(QDialog::Rejected);
    });
    form.playerActions().openList->trigger();
    EXPECT_EQ(list.title, "Open PlayList");
    EXPECT_EQ(list.filter, "Media PlayList File (*.mpl)");
    EXPECT_EQ(list.suffix, "mpl");
    EXPECT_EQ(list.name, "*.mpl");
    EXPECT_EQ(form.listCommands().fileNames().openFileName, namesBefore.openFileName);
    EXPECT_EQ(form.listCommands().fileNames().openInitialFolder, namesBefore.openInitialFolder);
}

}  // namespace
