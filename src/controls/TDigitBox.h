#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

class QPainter;
class QTimer;

namespace vorlo {

// A row of seven-segment digits drawn with single-pixel lines. The shown number (`Value`) can walk one step
// per timer tick towards `Target`, which is how the play-time counter counts the wait between songs.
// The control always keeps the size Digits x 13 + 2 by 25 pixels.
class TDigitBox : public QWidget {
    Q_OBJECT

public:
    static constexpr std::uint32_t MaxDigits = 11;
    static constexpr int CellPitch = 13;
    static constexpr int FixedHeight = 25;

    explicit TDigitBox(QWidget* parent = nullptr);
    ~TDigitBox() override;

    QColor Color1() const { return color1_; }
    QColor Color2() const { return color2_; }
    std::uint32_t Delay() const { return delay_; }
    std::uint32_t Digits() const { return digits_; }
    std::uint32_t Value() const { return value_; }
    std::uint32_t Target() const { return target_; }

    void setColor1(const QColor& color);
    void setColor2(const QColor& color);
    void setDelay(std::uint32_t ms);
    void setDigits(std::uint32_t digits);
    void setValue(std::uint32_t value);
    void setTarget(std::uint32_t target);
    void inc(std::uint32_t n);
    void dec(std::uint32_t n);

    // True while the box walks towards its target.
    bool isStepping() const;

    // One step of the walk; the box's timer calls it every `Delay` ms while stepping.
    void TimerExpired();

    // Draws every digit cell (lit segments in Color1, unlit ones in Color2) without clearing the background.
    void DoPaint(QPainter& painter) const;

    // Width of a box with this many digit cells.
    static int widthForDigits(std::uint32_t digits) { return static_cast<int>(digits) * CellPitch + 2; }

signals:
    void OnValueChange(vorlo::TDigitBox* sender);
    void OnTargetChange(vorlo::TDigitBox* sender);
    void OnTargetReach(vorlo::TDigitBox* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintDigit(QPainter& painter, QPoint origin, unsigned digit) const;
    void PaintAxe(QPainter& painter, QPoint origin, int segment, bool lit) const;
    void applyFixedSize();
    void startStepping();

    QTimer* timer_;
    QColor color1_{255, 0, 0};
    QColor color2_{0, 0, 0};
    std::uint32_t delay_ = 100;
    std::uint32_t digits_ = 3;
    std::uint32_t value_ = 0;
    std::uint32_t target_ = 0;
};

// The counter used on the player's main window: a TDigitBox that also reports clicks and double clicks.
class digitboxdb : public TDigitBox {
    Q_OBJECT

public:
    explicit digitboxdb(QWidget* parent = nullptr);

signals:
    void OnClick(vorlo::digitboxdb* sender);
    void OnDblClick(vorlo::digitboxdb* sender);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressedInside_ = false;
};

}  // namespace vorlo
