#include "player/app/StayOnTop.h"

#include "core/app/MessageBoxes.h"

#include <QAction>
#include <QWidget>

#include <algorithm>

namespace vorlo {

StayOnTop::StayOnTop(QWidget& window) : QObject(&window), window_(window) {
    action_ = new QAction(QStringLiteral("Stay on &Top"), this);
    action_->setObjectName(QStringLiteral("StayOnTop"));
    action_->setCheckable(true);
    action_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_T));
    connect(action_, &QAction::triggered, this, [this] { StayOnTopClick(true); });
    MessageBoxes::setModalHook([this](bool entering) { modalBox(entering); });
}

StayOnTop::~StayOnTop() { MessageBoxes::setModalHook({}); }

void StayOnTop::StayOnTopClick(bool byUser) { setOn(byUser ? !on_ : on_); }

void StayOnTop::setOn(bool on) {
    on_ = on;
    action_->setChecked(on);
    if (boxesUp_ == 0) placeWindow(on);
}

bool StayOnTop::windowOnTop() const { return window_.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void StayOnTop::modalBox(bool entering) {
    // Boxes can open from inside a dialog: only the outermost one moves the window.
    boxesUp_ = entering ? boxesUp_ + 1 : std::max(0, boxesUp_ - 1);
    if (!on_) return;
    if (entering && boxesUp_ == 1) placeWindow(false);
    if (!entering && boxesUp_ == 0) placeWindow(true);
}

void StayOnTop::placeWindow(bool topMost) {
    if (windowOnTop() == topMost) return;
    // Changing the flag takes the window off the screen; a visible window is shown again at once, a window in
    // the tray stays where it is.
    const bool visible = window_.isVisible();
    // The new native window is placed by the client area, as the old one stood: placed by its frame position, it
    // came up higher by the height of the frame with every change.
    const bool normal = window_.windowState() == Qt::WindowNoState;
    const QRect client = window_.geometry();
    window_.setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    if (normal) window_.setGeometry(client);
    if (visible) window_.show();
}

}  // namespace vorlo
