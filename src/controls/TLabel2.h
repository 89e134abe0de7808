#pragma once

#include <QLabel>

namespace vorlo {

// A label that reports the mouse entering and leaving it; the play-mode labels underline themselves on hover.
class TLabel2 : public QLabel {
    Q_OBJECT

public:
    explicit TLabel2(QWidget* parent = nullptr);
    explicit TLabel2(const QString& text, QWidget* parent = nullptr);

signals:
    void OnMouseEnter(vorlo::TLabel2* sender);
    void OnMouseLeave(vorlo::TLabel2* sender);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

}  // namespace vorlo
