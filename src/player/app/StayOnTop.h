#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace vorlo {

// "Stay on Top": keeps the main window above other windows. While a message box or modal dialog of the player
// is up, the window leaves the top-most layer so that it cannot cover the box, and returns when the box closes.
class StayOnTop : public QObject {
    Q_OBJECT
public:
    explicit StayOnTop(QWidget& window);
    ~StayOnTop() override;

    QAction* action() const { return action_; }
    bool isOn() const { return on_; }
    // The user's command toggles the mark; the main window's (at start-up) applies the mark it has.
    void StayOnTopClick(bool byUser);
    void setOn(bool on);
    // Whether the window is in the top-most layer right now.
    bool windowOnTop() const;

private:
    void modalBox(bool entering);
    void placeWindow(bool topMost);

    QWidget& window_;
    QAction* action_ = nullptr;
    bool on_ = false;
    int boxesUp_ = 0;
};

}  // namespace vorlo
