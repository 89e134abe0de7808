#include "controls/TSCheckList.h"

#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace vorlo {

namespace {

// Makes every line at least as wide as the list's horizontal extent, so long names can be scrolled into view.
class ExtentDelegate : public QStyledItemDelegate {
public:
    explicit ExtentDelegate(const TSCheckList* list)
        : QStyledItemDelegate(const_cast<TSCheckList*>(list)), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(std::max(size.width(), list_->horizontalExtent()));
        return size;
    }

private:
    const TSCheckList* list_;
};

}  // namespace

TSCheckList::TSCheckList(QWidget* parent) : QListView(parent) {
    setItemDelegate(new ExtentDelegate(this));
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { lastVerticalCode_ = codeForAction(action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { lastHorizontalCode_ = codeForAction(action); });
}

void TSCheckList::startDrag(Qt::DropActions supportedActions) {
    emit OnStartDrag();
    QListView::startDrag(supportedActions);
    emit OnEndDrag();
}

void TSCheckList::setHorizontalExtent(int pixels) {
    pixels = std::max(pixels, 0);
    if (pixels == horizontalExtent_) return;
    horizontalExtent_ = pixels;
    doItemsLayout();
}

int TSCheckList::codeForAction(int sliderAction) {
    switch (sliderAction) {
        case QAbstractSlider::SliderSingleStepSub: return LineUp;
        case QAbstractSlider::SliderSingleStepAdd: return LineDown;
        case QAbstractSlider::SliderPageStepSub: return PageUp;
        case QAbstractSlider::SliderPageStepAdd: return PageDown;
        case QAbstractSlider::SliderToMinimum: return Top;
        case QAbstractSlider::SliderToMaximum: return Bottom;
        case QAbstractSlider::SliderMove: return ThumbTrack;
        default: return ThumbPosition;
    }
}

void TSCheckList::scrollContentsBy(int dx, int dy) {
    // The list moves and repaints first; the report comes after, so a handler sees the new position.
    QListView::scrollContentsBy(dx, dy);
    if (dy != 0) {
        const int code = lastVerticalCode_;
        lastVerticalCode_ = ThumbPosition;  // a scroll not started on the scroll bar (keys, selection)
        emit OnVScroll(this, code, verticalScrollBar()->value());
    }
    if (dx != 0) {
        const int code = lastHorizontalCode_;
        lastHorizontalCode_ = ThumbPosition;
        emit OnHScroll(this, code, horizontalScrollBar()->value());
    }
}

}  // namespace vorlo
