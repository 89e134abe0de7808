#include "SetupRig.h"

#include "os/Registry.h"
#include "setup/ProductFiles.h"
#include "setup/SetupSteps.h"
#include "setup/TFormDir.h"
#include "setup/TFormGroup.h"
#include "setup/TFormTitle.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QThread>

#include "../support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vorlo;
using namespace vorlo::test;

TEST(SetupWindowsTest, UninstallIsOfferedOnlyWhenAProgramFolderIsRecorded) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    {
        TFormTitle title(steps, rig.dist());
        EXPECT_FALSE(title.radioUninstall()->isEnabled());
        EXPECT_EQ(title.windowTitle(), "MIDI Vorlo Setup");
    }
    Registry user(RegistryRoot::CurrentUser);
    ASSERT_TRUE(user.openKey("\\" + product::kFolderKey, true));
    user.writeString("", rig.programFolder());
    TFormTitle title(steps, rig.dist());
    EXPECT_TRUE(title.radioUninstall()->isEnabled());
}

TEST(SetupWindowsTest, TheDirectoryListProposesAFolderInsideARootAndTakesOtherFoldersAsTheyAre) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    TFormDir dir(steps, rig.dist());
    EXPECT_EQ(dir.dirEdit()->text(), rig.home() + "/MIDIVorlo");  // the home folder is the first place
    QDir().mkpath(rig.home() + "/Programs");
    dir.selectFolder(rig.home() + "/Programs");
    EXPECT_EQ(dir.dirEdit()->text(), rig.home() + "/Programs");
    dir.selectFolder(rig.home());
    EXPECT_EQ(dir.dirEdit()->text(), rig.home() + "/MIDIVorlo");
}

TEST(SetupWindowsTest, TheGroupDialogListsTheGroupsAndAClickedOneBecomesTheName) {
    SetupRig rig;
    QDir().mkpath(rig.applications() + "/Games");
    QDir().mkpath(rig.applications() + "/Sound");
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    TFormGroup group(steps, rig.programFolder());
    EXPECT_EQ(group.edit()->text(), "MIDI Vorlo");
    ASSERT_EQ(group.listBox()->count(), 2);
    EXPECT_EQ(group.listBox()->item(1)->text(), "Sound");
    emit group.listBox()->itemClicked(group.listBox()->item(1));
    EXPECT_EQ(group.edit()->text(), "Sound");
}

TEST(SetupWindowsTest, TheFinishPageStartsOnlyWhatIsTicked) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    // A player that tells that it ran.
    const QString player = rig.programFolder() + "/MIDI_Vorlo";
    SetupRig::write(player, "#!/bin/sh\necho started >> \"$(dirname \"$0\")/started.txt\"\n");
    QFile::setPermissions(player, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    TFormTitle title(steps, rig.dist());
    title.completeInstall(rig.programFolder(), rig.applications() + "/MIDI Vorlo");
    EXPECT_EQ(title.windowTitle(), "MIDI Vorlo Installation Complete");
    EXPECT_EQ(title.button1()->text(), "&Finish");
    EXPECT_TRUE(title.findChild<QCheckBox*>("CheckBox1")->isVisible());
    EXPECT_FALSE(title.findChild<QPushButton*>("Button2")->isVisible());
    EXPECT_EQ(title.findChild<QLabel*>("Label2")->text(), "Installation");
    // The centred button covers neither check box.
    for (const char* name : {"CheckBox1", "CheckBox2"}) {
        const QCheckBox* box = title.findChild<QCheckBox*>(name);
        const QRect onWindow(box->mapTo(&title, QPoint(0, 0)), box->size());
        EXPECT_FALSE(onWindow.intersects(title.button1()->geometry())) << name;
        EXPECT_TRUE(title.rect().contains(onWindow)) << name;
    }
    EXPECT_EQ(title.button1()->x(), title.width() / 2 - title.button1()->width() / 2);

    EXPECT_TRUE(steps.finish(rig.programFolder(), false, false));
    EXPECT_TRUE(steps.finish(rig.programFolder(), false, true));
    const QString marker = rig.programFolder() + "/started.txt";
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(marker) && waited.elapsed() < 20000) QThread::msleep(20);
    QThread::msleep(200);
    EXPECT_EQ(SetupRig::read(marker), "started\n");  // once: Finish with both cleared started nothing
}

TEST(SetupWindowsTest, EveryWindowOpensInTheMiddleOfTheScreen) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    // Within the window frame's few pixels, which the platform may add around the window.
    auto centred = [&](QWidget& window) {
        window.show();
        const QPoint off = window.geometry().center() - free.center();
        window.hide();
        return std::abs(off.x()) <= 4 && std::abs(off.y()) <= 4;
    };
    TFormTitle title(steps, rig.dist());
    EXPECT_TRUE(centred(title));
    // The dialogs go to the middle of the screen, not of the first window, wherever that is.
    title.move(free.topLeft());
    TFormDir dir(steps, rig.dist(), &title);
    EXPECT_TRUE(centred(dir));
    TFormGroup group(steps, rig.programFolder(), &title);
    EXPECT_TRUE(centred(group));
}

namespace {

void press(QWidget& window, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&window, &down);
}

}  // namespace

// The first window is a plain window, where a button set as default or cancel does nothing by itself.
TEST(SetupWindowsTest, EnterPressesContinueOrFinishAndEscapePressesQuit) {
    SetupRig rig;
    RecordingPrompts prompts;
    SetupSteps steps(prompts);
    TFormTitle title(steps, rig.dist());
    int quits = 0;
    QObject::connect(title.findChild<QPushButton*>("Button2"), &QPushButton::clicked, [&] { ++quits; });
    press(title, Qt::Key_Escape);
    EXPECT_EQ(quits, 1);

    title.completeInstall(rig.programFolder(), rig.applications() + "/MIDI Vorlo");
    title.findChild<QCheckBox*>("CheckBox1")->setChecked(false);
    title.findChild<QCheckBox*>("CheckBox2")->setChecked(false);
    int finishes = 0;
    QObject::connect(title.button1(), &QPushButton::clicked, [&] { ++finishes; });
    press(title, Qt::Key_Return);
    EXPECT_EQ(finishes, 1);
    press(title, Qt::Key_Escape);  // Quit is gone from the finish page
    EXPECT_EQ(quits, 1);

    // The directory dialog's Escape is its Quit, not a plain close that would lead back to the first window.
    TFormDir dir(steps, rig.dist());
    int dirQuits = 0;
    QObject::connect(dir.findChild<QPushButton*>("ButDirQuit"), &QPushButton::clicked, [&] { ++dirQuits; });
    dir.show();
    press(dir, Qt::Key_Escape);
    EXPECT_EQ(dirQuits, 1);
}
