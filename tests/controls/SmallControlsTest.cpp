#include "controls/TLabel2.h"
#include "controls/TSCheckList.h"
#include "controls/TSTrackBar.h"

#include <QEnterEvent>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using vorlo::TLabel2;
using vorlo::TSCheckList;
using vorlo::TSTrackBar;

TEST(Label2, ReportsOneEnterAndOneLeavePerVisit) {
    TLabel2 label("Loop");
    std::vector<std::string> seen;
    QObject::connect(&label, &TLabel2::OnMouseEnter,
                     [&](TLabel2* sender) { seen.push_back(sender == &label ? "enter" : "?"); });
    QObject::connect(&label, &TLabel2::OnMouseLeave,
                     [&](TLabel2* sender) { seen.push_back(sender == &label ? "leave" : "?"); });
    QEnterEvent enter(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&label, &enter);
    QApplication::sendEvent(&label, &leave);
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", "leave"}));
}

namespace {

struct ScrollReport {
    int code;
    int position;
    int topRow;  // the first visible row when the report came
};

class ScrollingList : public ::testing::Test {
protected:
    void SetUp() override {
        QStringList lines;
        for (int i = 0; i < 200; ++i) lines << QString("Song number %1.mid").arg(i);
        model.setStringList(lines);
        list.setModel(&model);
        list.resize(150, 120);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        QObject::connect(&list, &TSCheckList::OnVScroll, [this](TSCheckList* sender, int code, int position) {
            EXPECT_EQ(sender, &list);
            vertical.push_back({code, position, list.indexAt(QPoint(2, 2)).row()});
        });
        QObject::connect(&list, &TSCheckList::OnHScroll, [this](TSCheckList*, int code, int position) {
            horizontal.push_back({code, position, 0});
        });
    }

    QStringListModel model;
    TSCheckList list;
    std::vector<ScrollReport> vertical;
    std::vector<ScrollReport> horizontal;
};

}  // namespace

TEST_F(ScrollingList, DraggingTheThumbReportsTrackingAfterTheListHasMoved) {
    QScrollBar* bar = list.verticalScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(10);
    bar->setSliderPosition(25);
    bar->setSliderDown(false);
    ASSERT_EQ(vertical.size(), 2U);
    EXPECT_EQ(vertical[0].code, TSCheckList::ThumbTrack);
    EXPECT_EQ(vertical[0].position, 10);
    EXPECT_EQ(vertical[0].topRow, 10);
    EXPECT_EQ(vertical[1].position, 25);
    EXPECT_EQ(vertical[1].topRow, 25);

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ASSERT_EQ(vertical.size(), 3U);
    EXPECT_EQ(vertical[2].code, TSCheckList::LineDown);
    EXPECT_EQ(vertical[2].topRow, 26);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(vertical.back().code, TSCheckList::Top);
    EXPECT_EQ(vertical.back().topRow, 0);
    EXPECT_TRUE(horizontal.empty());
}

TEST_F(ScrollingList, AWideExtentLetsLongLinesScrollSideways) {
    EXPECT_LT(list.horizontalScrollBar()->maximum(), 100);
    list.setHorizontalExtent(1000);
    QApplication::processEvents();
    EXPECT_GT(list.horizontalScrollBar()->maximum(), 700);
    EXPECT_GE(list.visualRect(model.index(150)).width(), 1000);
    list.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ASSERT_EQ(horizontal.size(), 1U);
    EXPECT_EQ(horizontal[0].code, TSCheckList::PageDown);
    EXPECT_GT(horizontal[0].position, 0);
    EXPECT_TRUE(vertical.empty());
}

TEST(TrackBar, ReportsPressAndReleaseAroundTheSlidersOwnHandling) {
    TSTrackBar bar;
    bar.setRange(0, 100);
    bar.resize(200, 30);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    std::vector<std::string> seen;
    QObject::connect(&bar, &TSTrackBar::OnMouseDown,
                     [&](TSTrackBar* sender, Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                         EXPECT_EQ(sender, &bar);
                         EXPECT_EQ(button, Qt::LeftButton);
                         EXPECT_FALSE(bar.isSliderDown());  // sent before the slider takes the press
                         seen.push_back("down");
                     });
    QObject::connect(&bar, &TSTrackBar::OnMouseUp,
                     [&](TSTrackBar*, Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                         EXPECT_EQ(button, Qt::LeftButton);
                         EXPECT_FALSE(bar.isSliderDown());
                         seen.push_back("up at " + std::to_string(bar.value()));
                     });
    const QPoint thumb = QPoint(3, bar.height() / 2);
    QTest::mousePress(&bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(&bar, QPoint(bar.width() - 3, bar.height() / 2));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(bar.width() - 3, bar.height() / 2));
    ASSERT_EQ(seen.size(), 2U);
    EXPECT_EQ(seen[0], "down");
    EXPECT_EQ(seen[1], "up at " + std::to_string(bar.value()));
    EXPECT_GT(bar.value(), 50);  // the slider itself still follows the drag
}

namespace {

// The columns of the bar's middle row painted in the highlight colour, from a real rendering of the widget.
std::vector<int> highlightedColumns(TSTrackBar& bar) {
    const QImage image = bar.grab().toImage();
    const QRgb highlight = bar.palette().color(QPalette::Active, QPalette::Highlight).rgb();
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, bar.height() / 2) == highlight) columns.push_back(x);
    }
    return columns;
}

int thumbCentreAt(TSTrackBar& bar, int value) {
    const int kept = bar.value();
    bar.setValue(value);
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    const int centre =
        bar.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &bar).center().x();
    bar.setValue(kept);
    return centre;
}

}  // namespace

TEST(TrackBar, DrawsItsSelectedRangeFromTheStartValueToTheEnd) {
    TSTrackBar bar;
    bar.setRange(0, 100);
    bar.resize(300, 30);
    bar.setSelection(40, 100);
    // The band runs from where the thumb stands at 40 to where it stands at 100; the thumb itself is at 0.
    std::vector<int> band = highlightedColumns(bar);
    ASSERT_FALSE(band.empty());
    EXPECT_NEAR(band.front(), thumbCentreAt(bar, 40), 2);
    EXPECT_NEAR(band.back(), thumbCentreAt(bar, 100), 2);

    // Moving the start moves the band's left end only; an end beyond the range stops at the range's end.
    bar.setSelection(70, 500);
    band = highlightedColumns(bar);
    ASSERT_FALSE(band.empty());
    EXPECT_NEAR(band.front(), thumbCentreAt(bar, 70), 2);
    EXPECT_NEAR(band.back(), thumbCentreAt(bar, 100), 2);

    // An end that is not past the start, or a cleared selection, draws no band.
    bar.setSelection(60, 20);
    EXPECT_TRUE(highlightedColumns(bar).empty());
    bar.setSelection(0, 0);
    EXPECT_TRUE(highlightedColumns(bar).empty());
}
