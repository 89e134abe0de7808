#include "controls/TLabel2.h"

namespace vorlo {

TLabel2::TLabel2(QWidget* parent) : QLabel(parent) {}

TLabel2::TLabel2(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void TLabel2::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit OnMouseEnter(this);
}

void TLabel2::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit OnMouseLeave(this);
}

}  // namespace vorlo
