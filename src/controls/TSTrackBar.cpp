#include "controls/TSTrackBar.h"

#include <qdrawutil.h>
#include <QMouseEvent>
#include <QStyleOptionSlider>
#include <QStylePainter>

#include <algorithm>

namespace vorlo {

namespace {

constexpr int kChannelHeight = 6;
constexpr int kTickHeight = 3;

}  // namespace

TSTrackBar::TSTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void TSTrackBar::setSelStart(int value) { setSelection(value, selEnd_); }

void TSTrackBar::setSelEnd(int value) { setSelection(selStart_, value); }

void TSTrackBar::setSelection(int start, int end) {
    if (start == selStart_ && end == selEnd_) return;
    selStart_ = start;
    selEnd_ = end;
    update();
}

QRect TSTrackBar::channelRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    return QRect(groove.left(), groove.center().y() - kChannelHeight / 2, groove.width(), kChannelHeight);
}

int TSTrackBar::pixelOf(int value) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // The thumb's centre travels from half a thumb inside the groove's left end to half a thumb inside its right.
    const int travel = std::max(0, groove.width() - handle.width());
    const int clamped = std::clamp(value, minimum(), maximum());
    return groove.left() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), clamped, travel, option.upsideDown);
}

QRect TSTrackBar::selectionRect() const {
    const int start = std::max(selStart_, minimum());
    const int end = std::min(selEnd_, maximum());
    if (end <= start) return {};
    const QRect channel = channelRect().adjusted(0, 1, 0, -1);
    return QRect(QPoint(pixelOf(start), channel.top()), QPoint(pixelOf(end), channel.bottom()));
}

void TSTrackBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    // A sunken channel instead of the style's groove: some styles fill the groove up to the thumb, which would
    // hide the selected range.
    const QBrush base = palette().brush(QPalette::Base);
    const QRect channel = channelRect();
    qDrawShadePanel(&painter, channel, palette(), true, 1, &base);
    const QRect band = selectionRect();
    if (!band.isEmpty()) {
        const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
        painter.fillRect(band, palette().brush(group, QPalette::Highlight));
        painter.setPen(palette().color(group, QPalette::WindowText));
        const int top = channel.top() - 2;
        for (int x : {band.left(), band.right()}) painter.drawLine(x, top - kTickHeight, x, top);
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderHandle;
    if (tickPosition() != QSlider::NoTicks) option.subControls |= QStyle::SC_SliderTickmarks;
    painter.drawComplexControl(QStyle::CC_Slider, option);
}

void TSTrackBar::mousePressEvent(QMouseEvent* event) {
    emit OnMouseDown(this, event->button(), event->modifiers(), event->position().toPoint());
    QSlider::mousePressEvent(event);
}

void TSTrackBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    emit OnMouseUp(this, event->button(), event->modifiers(), event->position().toPoint());
}

}  // namespace vorlo
