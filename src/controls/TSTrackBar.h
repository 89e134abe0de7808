#pragma once

#include <QSlider>

namespace vorlo {

// The position slider. Besides the usual value changes it reports mouse presses and releases, so that the
// player can stop following the song while the user holds the thumb and seek when it is let go.
class TSTrackBar : public QSlider {
    Q_OBJECT

public:
    explicit TSTrackBar(QWidget* parent = nullptr);

signals:
    // Sent before the slider itself reacts to the press, and after it has reacted to the release.
    void OnMouseDown(vorlo::TSTrackBar* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseUp(vorlo::TSTrackBar* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace vorlo
