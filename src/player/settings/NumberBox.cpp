#include "player/settings/NumberBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

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
    const QString text = label.text();
    const QRegularExpressionMatch blanks = QRegularExpression(QStringLiteral(" {3,}")).match(text);
    if (!blanks.hasMatch()) return;
    const QFontMetrics metrics(label.font());
    const int left =
        metrics.horizontalAdvance(text.left(blanks.capturedStart())) + metrics.horizontalAdvance(QLatin1Char(' '));
    const int width = metrics.horizontalAdvance(blanks.captured()) - 2 * metrics.horizontalAdvance(QLatin1Char(' '));
    setParent(&label);
    const int height = sizeHint().height();
    // The label's text is centred vertically in the label, and so is the box.
    label.setMinimumHeight(height + 2);
    setGeometry(left, 1, std::max(width, minimumSizeHint().width()), height);
    show();
}

}  // namespace vorlo
