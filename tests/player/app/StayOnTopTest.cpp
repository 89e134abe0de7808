#include "player/app/StayOnTop.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using vorlo::StayOnTop;

namespace {

// A window with two buttons that carry hints, and Stay on Top on it, shown and active.
class StayOnTopTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        play = new QToolButton;
        play->setToolTip("Play(F2)");
        stop = new QToolButton;
        stop->setToolTip("Stop(F4)");
        layout->addWidget(play);
        layout->addWidget(stop);
        onTop = new StayOnTop(window);  // owned by the window
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void TearDown() override { QToolTip::hideText(); }

    // Rests the mouse on `button` as a person would and waits for its hint.
    static bool hintShows(QToolButton* button) {
        QToolTip::hideText();
        QTest::mouseMove(button, button->rect().center());
        QTest::mouseMove(button, button->rect().center() + QPoint(1, 1));
        return QTest::qWaitFor([button] { return QToolTip::isVisible() && QToolTip::text() == button->toolTip(); },
                               5000);
    }

    QWidget window;
    QToolButton* play = nullptr;
    QToolButton* stop = nullptr;
    StayOnTop* onTop = nullptr;
};

TEST_F(StayOnTopTest, HintsStillShowAndTheWindowStaysActiveAfterEachToggle) {
    ASSERT_TRUE(hintShows(play));

    onTop->action()->trigger();
    EXPECT_TRUE(onTop->isOn());
    EXPECT_TRUE(onTop->windowOnTop());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isActiveWindow());
    EXPECT_TRUE(hintShows(stop));

    onTop->action()->trigger();
    EXPECT_FALSE(onTop->windowOnTop());
    EXPECT_TRUE(window.isActiveWindow());
    EXPECT_TRUE(hintShows(play));
}

}  // namespace
