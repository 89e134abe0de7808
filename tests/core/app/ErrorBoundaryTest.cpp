// Each command is its own error boundary; the hourglass goes however an operation ends; the logging categories
// are silent until asked.
#include "core/app/BusyCursor.h"
#include "core/app/ErrorHandler.h"
#include "core/app/Logging.h"

#include "ScriptedMessageBoxes.h"

#include <QObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace vorlo;

namespace {

// A sender of a signal with an argument, as a widget or the media device has.
class Sender : public QObject {
    Q_OBJECT
signals:
    void happened(int value);
};

TEST(ErrorBoundary, AnErrorOfACommandIsShownAndGoesNoFurtherThanItsSignal) {
    test::ScriptedMessageBoxes boxes;
    boxes.expect("Error", "The list cannot be read.\nruntime_error", BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    Sender sender;
    std::vector<int> received;
    QObject::connect(&sender, &Sender::happened, ErrorHandler::guard([&](int value) {
        received.push_back(value);
        throw std::runtime_error("The list cannot be read.");
    }));
    EXPECT_NO_THROW(emit sender.happened(7));
    EXPECT_EQ(received, std::vector<int>{7});
    EXPECT_EQ(boxes.pending(), 0u);

    // A command that takes none of the signal's arguments is given none.
    int calls = 0;
    QObject::connect(&sender, &Sender::happened, ErrorHandler::guard([&] { ++calls; }));
    boxes.expect("Error", "The list cannot be read.\nruntime_error", BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    emit sender.happened(8);
    EXPECT_EQ(calls, 1);
}

TEST(ErrorBoundary, RunTellsWhetherTheCommandEndedWell) {
    test::ScriptedMessageBoxes boxes;
    EXPECT_TRUE(ErrorHandler::run([] {}));
    boxes.expect("Error", "An unknown error occurred.\nruntime_error", BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    EXPECT_FALSE(ErrorHandler::run([] { throw 42; }));
}

TEST(BusyCursor, IsShownForEachOperationAndTakenBackAlsoWhenItThrows) {
    std::vector<bool> shown;
    BusyCursor::setIndicator([&](bool busy) { shown.push_back(busy); });
    try {
        const BusyCursor outer;
        const BusyCursor inner;
        EXPECT_EQ(BusyCursor::depth(), 2);
        throw std::runtime_error("failed");
    } catch (const std::runtime_error&) {}
    BusyCursor::setIndicator({});
    EXPECT_EQ(BusyCursor::depth(), 0);
    EXPECT_EQ(shown, (std::vector<bool>{true, true, false, false}));
}

TEST(Logging, PlaybackAndListsAreSilentUntilTheRulesTurnThemOn) {
    EXPECT_STREQ(lcPlayback().categoryName(), "vorlo.playback");
    EXPECT_STREQ(lcLists().categoryName(), "vorlo.lists");
    EXPECT_FALSE(lcPlayback().isDebugEnabled());
    EXPECT_FALSE(lcLists().isDebugEnabled());
    EXPECT_TRUE(lcPlayback().isWarningEnabled());
    QLoggingCategory::setFilterRules(QStringLiteral("vorlo.playback.debug=true"));
    EXPECT_TRUE(lcPlayback().isDebugEnabled());
    EXPECT_FALSE(lcLists().isDebugEnabled());
    QLoggingCategory::setFilterRules(QString());
}

}  // namespace

#include "ErrorBoundaryTest.moc"
