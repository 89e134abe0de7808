#include "controls/TDigitBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <array>

namespace vorlo {

namespace {

// Bit (s - 1) set: segment s is lit. Segments: 1 top, 2 upper left, 3 upper right, 4 middle, 5 lower left,
// 6 lower right, 7 bottom. The 7 has no upper-left stroke and the 9 no bottom one.
constexpr std::array<std::uint8_t, 10> SegmentsOfDigit = {0x77, 0x24, 0x5D, 0x6D, 0x2E, 0x6B, 0x7B, 0x25, 0x7F, 0x2F};

struct Stroke {
    int x1, y1, x2, y2;  // from (x1, y1) up to, but not including, (x2, y2)
};
using Segment = std::array<Stroke, 3>;

// Offsets from the cell origin. Three tapering strokes per segment give the bevelled joints.
constexpr std::array<Segment, 7> SegmentStrokes = {{
    {{{1, 0, 10, 0}, {2, 1, 9, 1}, {3, 2, 8, 2}}},         // 1 top
    {{{0, 1, 0, 10}, {1, 2, 1, 9}, {2, 3, 2, 8}}},         // 2 upper left
    {{{10, 1, 10, 10}, {9, 2, 9, 9}, {8, 3, 8, 8}}},       // 3 upper right
    {{{1, 10, 10, 10}, {2, 9, 9, 9}, {2, 11, 9, 11}}},     // 4 middle
    {{{0, 11, 0, 20}, {1, 12, 1, 19}, {2, 13, 2, 18}}},    // 5 lower left
    {{{10, 11, 10, 20}, {9, 12, 9, 19}, {8, 13, 8, 18}}},  // 6 lower right
    {{{1, 20, 10, 20}, {2, 19, 9, 19}, {3, 18, 8, 18}}},   // 7 bottom
}};

// A line-to leaves its end point unpainted; every stroke is horizontal or vertical, so it is a thin rectangle.
void drawStroke(QPainter& painter, QPoint origin, const Stroke& stroke, const QColor& color) {
    const int x = origin.x() + std::min(stroke.x1, stroke.x2);
    const int y = origin.y() + std::min(stroke.y1, stroke.y2);
    const int width = stroke.y1 == stroke.y2 ? std::abs(stroke.x2 - stroke.x1) : 1;
    const int height = stroke.x1 == stroke.x2 ? std::abs(stroke.y2 - stroke.y1) : 1;
    painter.fillRect(QRect(x, y, width, height), color);
}

}  // namespace

TDigitBox::TDigitBox(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    timer_->setInterval(static_cast<int>(delay_));
    connect(timer_, &QTimer::timeout, this, &TDigitBox::TimerExpired);
    // Left running on purpose: the first tick finds Value = Target, stops and reports the target reached.
    startStepping();
    setAttribute(Qt::WA_OpaquePaintEvent);
    applyFixedSize();
}

TDigitBox::~TDigitBox() = default;

void TDigitBox::setColor1(const QColor& color) {
    color1_ = color;
    update();
}

void TDigitBox::setColor2(const QColor& color) {
    color2_ = color;
    update();
}

void TDigitBox::setDelay(std::uint32_t ms) {
    delay_ = ms;
    if (delay_ == 0) {
        // No stepping without a delay: the walk ends where it was heading, silently.
        timer_->stop();
        if (value_ != target_) {
            value_ = target_;
            update();
        }
        return;
    }
    timer_->setInterval(static_cast<int>(std::min<std::uint32_t>(delay_, 0x7FFFFFFF)));
}

void TDigitBox::setDigits(std::uint32_t digits) {
    digits_ = std::min(digits, MaxDigits);
    applyFixedSize();
    update();
}

void TDigitBox::setValue(std::uint32_t value) {
    if (delay_ == 0) {
        value_ = value;
        target_ = value;
    } else {
        value_ = value;
        if (target_ != value_) startStepping();
    }
    update();
    emit OnValueChange(this);
}

void TDigitBox::setTarget(std::uint32_t target) {
    emit OnTargetChange(this);
    target_ = target;
    if (delay_ == 0) {
        value_ = target_;
        update();
    } else if (target_ != value_) {
        startStepping();
    }
}

void TDigitBox::inc(std::uint32_t n) { setTarget(target_ + n); }

void TDigitBox::dec(std::uint32_t n) { setTarget(target_ - n); }

bool TDigitBox::isStepping() const { return timer_->isActive(); }

void TDigitBox::TimerExpired() {
    if (target_ > value_) setValue(value_ + 1);
    if (target_ < value_) setValue(value_ - 1);
    if (target_ == value_) {
        timer_->stop();
        emit OnTargetReach(this);
    }
}

void TDigitBox::startStepping() {
    if (delay_ != 0 && !timer_->isActive()) timer_->start();
}

void TDigitBox::DoPaint(QPainter& painter) const {
    std::uint64_t power = 1;  // 64 bits: the eleventh cell's divisor 10^10 does not fit in 32
    for (std::uint32_t position = 0; position < digits_; ++position) {
        const QPoint origin(static_cast<int>(digits_ - 1 - position) * CellPitch + 2, 2);
        PaintDigit(painter, origin, static_cast<unsigned>((value_ / power) % 10));
        power *= 10;
    }
}

void TDigitBox::PaintDigit(QPainter& painter, QPoint origin, unsigned digit) const {
    const std::uint8_t lit = SegmentsOfDigit.at(digit);
    // Unlit segments are drawn too, so a new digit covers the old one without clearing the cell.
    for (int segment = 7; segment >= 1; --segment) PaintAxe(painter, origin, segment, (lit >> (segment - 1)) & 1U);
}

void TDigitBox::PaintAxe(QPainter& painter, QPoint origin, int segment, bool lit) const {
    if (segment < 1 || segment > 7) return;
    const QColor& color = lit ? color1_ : color2_;
    for (const Stroke& stroke : SegmentStrokes.at(static_cast<std::size_t>(segment - 1)))
        drawStroke(painter, origin, stroke, color);
}

void TDigitBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), color2_);
    DoPaint(painter);
}

void TDigitBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyFixedSize();
}

void TDigitBox::applyFixedSize() {
    const QSize wanted(widthForDigits(digits_), FixedHeight);
    if (minimumSize() != wanted || maximumSize() != wanted)
        setFixedSize(wanted);
    else if (size() != wanted)
        resize(wanted);
}

digitboxdb::digitboxdb(QWidget* parent) : TDigitBox(parent) {}

void digitboxdb::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = event->button() == Qt::LeftButton;
    TDigitBox::mousePressEvent(event);
}

void digitboxdb::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressedInside_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressedInside_ = false;
    TDigitBox::mouseReleaseEvent(event);
    if (click) emit OnClick(this);
}

void digitboxdb::mouseDoubleClickEvent(QMouseEvent* event) {
    // The release that follows a double click is not a click of its own.
    pressedInside_ = false;
    TDigitBox::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit OnDblClick(this);
}

}  // namespace vorlo
