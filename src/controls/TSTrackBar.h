#pragma once

#include <QSlider>

namespace vorlo {

// The position slider. Besides the usual value changes it reports mouse presses and releases, so that the
// player can stop following the song while the user holds the thumb and seek when it is let go.
//
// Like a classic track bar it can mark a selected range of its scale (SelStart to SelEnd), drawn as a
// highlighted band in its channel with a small tick above each end; a range whose end is not past its start
// shows nothing.
class TSTrackBar : public QSlider {
    Q_OBJECT

public:
    explicit TSTrackBar(QWidget* parent = nullptr);

    int selStart() const { return selStart_; }
    int selEnd() const { return selEnd_; }
    void setSelStart(int value);
    void setSelEnd(int value);
    void setSelection(int start, int end);

signals:
    // Sent before the slider itself reacts to the press, and after it has reacted to the release.
    void OnMouseDown(vorlo::TSTrackBar* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseUp(vorlo::TSTrackBar* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect channelRect() const;
    // Where the band lies on the widget, in pixels; empty while nothing is selected.
    QRect selectionRect() const;
    int pixelOf(int value) const;

    int selStart_ = 0;
    int selEnd_ = 0;
};

}  // namespace vorlo
