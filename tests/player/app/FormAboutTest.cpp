// The About box's Read Me link: the desktop's program opens the file, and a failure is told, never dropped.
#include "player/app/TFormAbout.h"

#include "ScriptedMessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

// The desktop here is a folder of the test's on PATH: empty (no launcher at all), or with an xdg-open that notes
// what it was asked to open and ends with a given code.
class FormAboutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid() && QDir(dir.path()).mkpath("desktop"));
        for (const char* name : {"PATH", "BROWSER", "DEFAULT_BROWSER"}) saved.emplace_back(name, qgetenv(name));
        qputenv("PATH", (dir.path() + "/desktop").toLocal8Bit());
        qunsetenv("BROWSER");
        qunsetenv("DEFAULT_BROWSER");
        QFile file(readMe);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void TearDown() override {
        for (const auto& [name, value] : saved) value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

    void installXdgOpen(int exitCode) {
        QFile script(dir.path() + "/desktop/xdg-open");
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QString("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n").arg(asked).arg(exitCode).toLocal8Bit());
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    QString askedFor() const {
        QFile file(asked);
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }
    void clickReadMe() { emit about.findChild<QLabel*>("LblReadMe")->linkActivated("readme"); }
    void expectError(const QString& text) {
        boxes.expect("Error - Open File", text, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    }

    QTemporaryDir dir;
    const QString readMe = dir.path() + "/ReadMe.txt";
    const QString asked = dir.path() + "/asked";
    std::vector<std::pair<const char*, QByteArray>> saved;
    test::ScriptedMessageBoxes boxes;
    TFormAbout about{dir.path()};
};

TEST_F(FormAboutTest, TheReadMeGoesToTheDesktopsProgram) {
    installXdgOpen(0);
    clickReadMe();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !askedFor().isEmpty(); }, 10000));
    EXPECT_EQ(askedFor(), readMe);
    QTest::qWait(200);  // time for xdg-open's end to arrive: a box then fails the test
}

TEST_F(FormAboutTest, AReadMeThatNoProgramTakesOrThatIsMissingIsTold) {
    const QString noProgram = "No program is set up to open the file '" + readMe + "'!";
    expectError(noProgram);  // no launcher at all
    clickReadMe();
    EXPECT_EQ(boxes.pending(), 0u);

    installXdgOpen(3);  // xdg-open found no program: told once it has ended
    expectError(noProgram);
    clickReadMe();
    EXPECT_TRUE(QTest::qWaitFor([this] { return boxes.pending() == 0; }, 10000));
    EXPECT_EQ(askedFor(), readMe);

    ASSERT_TRUE(QFile::remove(readMe) && QFile::remove(asked));
    expectError("Cannot find the file '" + readMe + "'!");
    clickReadMe();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_FALSE(QFile::exists(asked));  // the desktop was not asked
}

}  // namespace
