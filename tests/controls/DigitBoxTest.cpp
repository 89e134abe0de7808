#include "controls/TDigitBox.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using vorlo::digitboxdb;
using vorlo::TDigitBox;

namespace {

const QColor Lit(0, 255, 0);
const QColor Dark(0, 0, 0);

// The segments a reader sees lit on a seven-segment digit (1 top, 2 upper left, 3 upper right, 4 middle,
// 5 lower left, 6 lower right, 7 bottom).
const std::vector<std::set<int>> SegmentsOf = {
    {1, 2, 3, 5, 6, 7}, {3, 6},    {1, 3, 4, 5, 7},       {1, 3, 4, 6, 7}, {2, 3, 4, 6}, {1, 2, 4, 6, 7},
    {1, 2, 4, 5, 6, 7}, {1, 3, 6}, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 6},
};

// A pixel in the middle of each segment, relative to the cell's top-left corner.
const QPoint ProbeOf[8] = {{}, {5, 1}, {1, 5}, {9, 5}, {5, 10}, {1, 15}, {9, 15}, {5, 19}};

std::set<int> litSegments(const QImage& image, QPoint cell) {
    std::set<int> lit;
    for (int segment = 1; segment <= 7; ++segment)
        if (image.pixelColor(cell + ProbeOf[segment]) == Lit) lit.insert(segment);
    return lit;
}

// Reads the number shown by a box from its pixels.
std::string readDigits(const QImage& image, int cells) {
    std::string shown;
    for (int cell = 0; cell < cells; ++cell) {
        const std::set<int> lit = litSegments(image, QPoint(cell * 13 + 2, 2));
        char digit = '?';
        for (int d = 0; d < 10; ++d)
            if (SegmentsOf[static_cast<std::size_t>(d)] == lit) digit = static_cast<char>('0' + d);
        shown += digit;
    }
    return shown;
}

QImage render(TDigitBox& box) { return box.grab().toImage().convertToFormat(QImage::Format_RGB32); }

int countLit(const QImage& image) {
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) lit += image.pixelColor(x, y) == Lit ? 1 : 0;
    return lit;
}

std::unique_ptr<TDigitBox> makeStillBox(std::uint32_t digits) {
    auto box = std::make_unique<TDigitBox>();
    box->setDelay(0);
    box->setDigits(digits);
    box->setColor1(Lit);
    return box;
}

}  // namespace

TEST(DigitBox, EveryDigitLightsExactlyItsSegmentsWithBevelledStrokes) {
    auto box = makeStillBox(1);
    for (std::uint32_t d = 0; d < 10; ++d) {
        box->setValue(d);
        const QImage image = render(*box);
        ASSERT_EQ(image.size(), QSize(15, 25));
        EXPECT_EQ(litSegments(image, {2, 2}), SegmentsOf[d]) << "digit " << d;
        // Each segment is three tapering strokes without their end points: 9 + 7 + 5 pixels, the middle one
        // 9 + 7 + 7. Anything more would blur the joints, anything less leaves gaps.
        int expected = 0;
        for (int segment : SegmentsOf[d]) expected += segment == 4 ? 23 : 21;
        EXPECT_EQ(countLit(image), expected) << "digit " << d;
    }
}

TEST(DigitBox, ShowsLeadingZerosAndOnlyTheLowDigitsThatFit) {
    auto box = makeStillBox(2);
    box->setValue(7);
    EXPECT_EQ(readDigits(render(*box), 2), "07");
    box->setValue(123);
    EXPECT_EQ(readDigits(render(*box), 2), "23");
    box->setDigits(11);
    box->setValue(4294967295U);
    EXPECT_EQ(readDigits(render(*box), 11), "04294967295");
}

TEST(DigitBox, KeepsItsSizeWhateverItIsAskedFor) {
    TDigitBox box;
    EXPECT_EQ(box.size(), QSize(41, 25));
    box.setDigits(2);
    EXPECT_EQ(box.size(), QSize(28, 25));
    box.resize(100, 60);
    EXPECT_EQ(box.size(), QSize(28, 25));
    box.setGeometry(5, 5, 3, 3);
    EXPECT_EQ(box.size(), QSize(28, 25));
    box.setDigits(25);
    EXPECT_EQ(box.Digits(), 11U);
    EXPECT_EQ(box.size(), QSize(145, 25));
    box.setDigits(0);
    EXPECT_EQ(box.size(), QSize(2, 25));
    box.setColor1(Lit);
    EXPECT_EQ(countLit(render(box)), 0);
}

namespace {

// Records the box's events in the order they come, with what a handler would see at that moment.
struct EventLog {
    std::vector<std::string> entries;
    explicit EventLog(TDigitBox& box) {
        QObject::connect(&box, &TDigitBox::OnTargetChange, [this](TDigitBox* b) {
            entries.push_back("target change, old " + std::to_string(b->Target()));
        });
        QObject::connect(&box, &TDigitBox::OnValueChange,
                         [this](TDigitBox* b) { entries.push_back("value " + std::to_string(b->Value())); });
        QObject::connect(&box, &TDigitBox::OnTargetReach,
                         [this](TDigitBox* b) { entries.push_back("reached " + std::to_string(b->Value())); });
    }
};

}  // namespace

TEST(DigitBox, WalksFromFiveToEightOneStepPerTickUnderItsOwnTimer) {
    digitboxdb box;
    box.setDelay(0);
    box.setValue(5);
    box.setDelay(100);
    EventLog log(box);
    QSignalSpy reached(&box, &TDigitBox::OnTargetReach);

    box.setTarget(8);
    EXPECT_TRUE(box.isStepping());
    ASSERT_TRUE(reached.wait(5000));

    const std::vector<std::string> expected = {"target change, old 5", "value 6", "value 7", "value 8", "reached 8"};
    EXPECT_EQ(log.entries, expected);
    EXPECT_FALSE(box.isStepping());
    EXPECT_EQ(box.Value(), 8U);
}

TEST(DigitBox, DecrementBelowZeroWrapsAndSettingTheValueLeavesTheTarget) {
    TDigitBox box;
    box.TimerExpired();  // the construction tick
    box.dec(1);
    EXPECT_EQ(box.Target(), 4294967295U);
    box.TimerExpired();
    box.TimerExpired();
    EXPECT_EQ(box.Value(), 2U);  // counts up towards the wrapped target
    box.inc(3);
    EXPECT_EQ(box.Target(), 2U);
    box.TimerExpired();
    EXPECT_FALSE(box.isStepping());
    box.setValue(6);
    EXPECT_EQ(box.Target(), 2U);
    EXPECT_TRUE(box.isStepping());
    box.TimerExpired();
    EXPECT_EQ(box.Value(), 5U);  // the display walks back to the target
}

TEST(DigitBox, WithoutDelayAssignmentsJumpAndNeverReportReaching) {
    TDigitBox box;
    EventLog log(box);
    box.setTarget(40);
    ASSERT_TRUE(box.isStepping());
    box.setDelay(0);  // ends the walk at once, silently
    EXPECT_EQ(box.Value(), 40U);
    EXPECT_FALSE(box.isStepping());
    box.setTarget(42);
    EXPECT_EQ(box.Value(), 42U);
    box.setValue(9);
    EXPECT_EQ(box.Target(), 9U);
    const std::vector<std::string> expected = {"target change, old 0", "target change, old 40", "value 9"};
    EXPECT_EQ(log.entries, expected);
}

TEST(DigitBox, ReportsClicksAndDoubleClicksOnTheCounter) {
    digitboxdb box;
    QSignalSpy clicks(&box, &digitboxdb::OnClick);
    QSignalSpy doubleClicks(&box, &digitboxdb::OnDblClick);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(doubleClicks.count(), 1);
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
}
