#include "player/app/StayOnTop.h"

#include "core/app/MessageBoxes.h"

#include <QAction>
#include <QWidget>
#include <QWindow>

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
    // The layer is changed on the native window that exists. QWidget::setWindowFlag() would destroy and re-create
    // it: the window flickers, and Qt, which keeps the same focus window throughout, forgets that it is the
    // active one, so no tooltip (they show only over the active window) and no window activation is seen again
    // until the focus leaves the player and comes back. A window not created yet takes the flag when it is.
    Qt::WindowFlags flags = window_.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topMost);
    window_.overrideWindowFlags(flags);
    if (QWindow* native = window_.windowHandle()) native->setFlags(flags);
}

}  // namespace vorlo
