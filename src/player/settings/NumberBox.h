#pragma once

#include <QSpinBox>

class QLabel;
class QLineEdit;

namespace vorlo {

// A number box with up-down arrows (`UpDownSkip` and its `EditSkip`): whole numbers in a range only, the
// arrows wrapping from one end of the range to the other. A typed or pasted value that is not a number, or
// lies outside the range, is not taken: the last valid value stays in force and comes back when the box is left.
class NumberBox : public QSpinBox {
    Q_OBJECT
public:
    NumberBox(const QString& upDownName, const QString& editName, int minimum, int maximum, QWidget* parent);

    QLineEdit* edit() const { return lineEdit(); }

    // Puts the box over the run of blanks in `label`'s text that stands for it, and keeps it there when the
    // label's font changes.
    void placeOver(QLabel& label);

protected:
    void changeEvent(QEvent* event) override;

private:
    void place();

    QLabel* label_ = nullptr;
};

}  // namespace vorlo
