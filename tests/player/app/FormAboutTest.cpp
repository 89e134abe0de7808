// The About box's links: Help shows the player's own help, and a page that cannot be opened is reported.
#include "player/app/DesktopOpener.h"
#include "player/app/TFormAbout.h"
#include "player/help/HelpWindow.h"

#include "ScriptedMessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

// The desktop of these tests is a folder on PATH that holds what the test puts there: nothing (no launcher at
// all), or an xdg-open that writes down what it was asked to open and ends with a given code.
class FormAboutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("desktop"));
        for (const char* name : {"PATH", "BROWSER", "DEFAULT_BROWSER"}) saved.emplace_back(name, qgetenv(name));
        qputenv("PATH", (dir.path() + "/desktop").toLocal8Bit());
        qunsetenv("BROWSER");
        qunsetenv("DEFAULT_BROWSER");
        readMe = dir.path() + "/ReadMe.txt";
        QFile file(readMe);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void TearDown() override {
        for (const auto& [name, value] : saved) value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

    void installXdgOpen(int exitCode) {
        QFile script(dir.path() + "/desktop/xdg-open");
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QString("#!/bin/sh\nprintf '%s' \"$1\" > '%1/asked'\nexit %2\n")
                         .arg(dir.path())
                         .arg(exitCode)
                         .toLocal8Bit());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    QByteArray asked() const {
        QFile file(dir.path() + "/asked");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void clickReadMe(TFormAbout& about) { emit about.findChild<QLabel*>("LblReadMe")->linkActivated("readme"); }
    bool answered() {
        return QTest::qWaitFor([this] { return boxes.pending() == 0; }, 10000);
    }

    QTemporaryDir dir;
    QString readMe;
    std::vector<std::pair<const char*, QByteArray>> saved;
    test::ScriptedMessageBoxes boxes;
};

TEST_F(FormAboutTest, TheReadMeOpensWithTheDesktopsProgram) {
    installXdgOpen(0);
    TFormAbout about(dir.path());
    clickReadMe(about);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !asked().isEmpty(); }, 10000));
    EXPECT_EQ(asked(), readMe.toLocal8Bit());
    QTest::qWait(200);  // time for xdg-open's end to arrive: a box then fails the test
}

TEST_F(FormAboutTest, AReadMeThatNoProgramTakesIsReported) {
    const QString text = "No program is set up to open the file '" + readMe + "'!";
    TFormAbout about(dir.path());

    // A desktop without any launcher.
    boxes.expect("Error - Open File", text, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    clickReadMe(about);
    EXPECT_EQ(boxes.pending(), 0u);

    // xdg-open that finds no program for the file (its exit code 3): the box comes when it has ended.
    installXdgOpen(3);
    boxes.expect("Error - Open File", text, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    clickReadMe(about);
    EXPECT_TRUE(answered());
    EXPECT_EQ(asked(), readMe.toLocal8Bit());
}

TEST_F(FormAboutTest, AMissingReadMeIsReportedWithoutAskingTheDesktop) {
    installXdgOpen(0);
    ASSERT_TRUE(QFile::remove(readMe));
    TFormAbout about(dir.path());
    boxes.expect("Error - Open File", "Cannot find the file '" + readMe + "'!", BoxIcon::Error, BoxButtons::Ok,
                 BoxButton::Ok);
    clickReadMe(about);
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(FormAboutTest, TheHelpLinkShowsTheContentsAsF1Does) {
    const QString pages = qEnvironmentVariable("VORLO_PROGRAM_DIR") + "/help";
    HelpWindow help(pages);
    std::vector<int> asked;
    TFormAbout about(dir.path());
    HelpWindow::setViewer(&about, [&](int context) {
        asked.push_back(context);
        help.showContext(context);
    });
    QTimer::singleShot(0, &about, [&] {
        emit about.findChild<QLabel*>("LblHelp")->linkActivated("help");
        about.accept();
    });
    about.exec();  // modal, as the player runs it
    EXPECT_EQ(asked, std::vector<int>{HelpTopics::Contents});
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(QFileInfo(help.browser()->source().toLocalFile()).fileName(), "index.html");
}

}  // namespace
