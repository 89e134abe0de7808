#include "controls/TSTrackBar.h"

#include <QMouseEvent>

namespace vorlo {

TSTrackBar::TSTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void TSTrackBar::mousePressEvent(QMouseEvent* event) {
    emit OnMouseDown(this, event->button(), event->modifiers(), event->position().toPoint());
    QSlider::mousePressEvent(event);
}

void TSTrackBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    emit OnMouseUp(this, event->button(), event->modifiers(), event->position().toPoint());
}

}  // namespace vorlo
