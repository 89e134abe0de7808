#include "setup/BoxPrompts.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace vorlo {

namespace {

QMessageBox::Icon iconOf(SetupMessage::Icon icon) {
    switch (icon) {
        case SetupMessage::Icon::Error: return QMessageBox::Critical;
        case SetupMessage::Icon::Information: return QMessageBox::Information;
        case SetupMessage::Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

int run(QWidget* parent, const SetupMessage& message, QMessageBox::StandardButtons buttons) {
    QMessageBox box(iconOf(message.icon), message.caption, message.text, buttons, parent);
    box.setObjectName(QStringLiteral("SetupMessage"));
    if (message.topmost) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    // A box is read with the normal cursor, even in the middle of a step.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    return answer;
}

}  // namespace

void BoxPrompts::show(const SetupMessage& message) { run(parent_, message, QMessageBox::Ok); }

bool BoxPrompts::ask(const SetupMessage& question) {
    return run(parent_, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void BoxPrompts::busy(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busy_;
    } else {
        while (busy_ > 0) {
            QApplication::restoreOverrideCursor();
            --busy_;
        }
    }
}

void BoxPrompts::showFolder(const QString& folder) {
    // Only with a desktop to show it on; xdg-open picks the desktop's file manager.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return;
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return;
    QProcess::startDetached(QStringLiteral("xdg-open"), {folder});
}

}  // namespace vorlo
