#include "player/settings/NumberBox.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>

namespace vorlo {

NumberBox::NumberBox(const QString& upDownName, const QString& editName, int minimum, int maximum, QWidget* parent)
    : QSpinBox(parent) {
    setObjectName(upDownName);
    lineEdit()->setObjectName(editName);
    setRange(minimum, maximum);
    setWrapping(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
}

void NumberBox::placeOver(QLabel& label) {
    label_ = &label;
    setParent(&label);
    place();
    show();
}

void NumberBox::changeEvent(QEvent* event) {
    QSpinBox::changeEvent(event);
    // The box is the label's child: a new font reaches both, and the blanks it stands on have a new width.
    if (event->type() == QEvent::FontChange && label_) place();
}

void NumberBox::place() {
    const QString text = label_->text();
    const QRegularExpressionMatch blanks = QRegularExpression(QStringLiteral(" {3,}")).match(text);
    if (!blanks.hasMatch()) return;
    const QFontMetrics metrics(label_->font());
    const int left =
        metrics.horizontalAdvance(text.left(blanks.capturedStart())) + metrics.horizontalAdvance(QLatin1Char(' '));
    const int width = metrics.horizontalAdvance(blanks.captured()) - 2 * metrics.horizontalAdvance(QLatin1Char(' '));
    const int height = sizeHint().height();
    // The label's text is centred vertically in the label, and so is the box.
    label_->setMinimumHeight(height + 2);
    setGeometry(left, 1, std::max(width, minimumSizeHint().width()), height);
}

}  // namespace vorlo
