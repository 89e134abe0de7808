#include "player/app/ModalDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace vorlo {

namespace {

QMessageBox::Icon qtIcon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Information: return QMessageBox::Information;
        case BoxIcon::Warning: return QMessageBox::Warning;
        case BoxIcon::Error: return QMessageBox::Critical;
        case BoxIcon::Question: return QMessageBox::Question;
        case BoxIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(BoxButtons buttons) {
    switch (buttons) {
        case BoxButtons::Ok: return QMessageBox::Ok;
        case BoxButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case BoxButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case BoxButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case BoxButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
        case BoxButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton qtButton(BoxButton button) {
    switch (button) {
        case BoxButton::Ok: return QMessageBox::Ok;
        case BoxButton::Cancel: return QMessageBox::Cancel;
        case BoxButton::Yes: return QMessageBox::Yes;
        case BoxButton::No: return QMessageBox::No;
        case BoxButton::Retry: return QMessageBox::Retry;
        case BoxButton::Abort: return QMessageBox::Abort;
        case BoxButton::Ignore: return QMessageBox::Ignore;
        case BoxButton::None: break;
    }
    return QMessageBox::NoButton;
}

BoxButton fromQt(int button) {
    switch (button) {
        case QMessageBox::Ok: return BoxButton::Ok;
        case QMessageBox::Cancel: return BoxButton::Cancel;
        case QMessageBox::Yes: return BoxButton::Yes;
        case QMessageBox::No: return BoxButton::No;
        case QMessageBox::Retry: return BoxButton::Retry;
        case QMessageBox::Abort: return BoxButton::Abort;
        case QMessageBox::Ignore: return BoxButton::Ignore;
        default: return BoxButton::Cancel;  // closed by Escape or the window's close button
    }
}

}  // namespace

int ModalDialogs::exec(QDialog& dialog) {
    MessageBoxes::ModalScope scope;
    const int answer = MessageBoxes::answerDialog(dialog);
    return answer == MessageBoxes::kNotAnswered ? dialog.exec() : answer;
}

BoxButton DesktopMessageBoxes::ask(const MessageBox& box) {
    QMessageBox dialog(qtIcon(box.icon), box.caption, box.text, qtButtons(box.buttons), QApplication::activeWindow());
    if (box.defaultButton != BoxButton::None) dialog.setDefaultButton(qtButton(box.defaultButton));
    if (box.topMost) dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return fromQt(dialog.exec());
}

}  // namespace vorlo
