#include "player/app/MessageBoxes.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vorlo {

namespace {

MessageBoxes* g_installed = nullptr;
std::function<void(bool)> g_modalHook;

MessageBoxes& current() {
    static DesktopMessageBoxes desktop;
    return g_installed ? *g_installed : desktop;
}

// Keeps the modal hook balanced even when a box's caller throws.
class ModalScope {
public:
    ModalScope() {
        if (g_modalHook) g_modalHook(true);
    }
    ~ModalScope() {
        if (g_modalHook) g_modalHook(false);
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

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

QString toString(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::None: return QStringLiteral("none");
    case BoxIcon::Information: return QStringLiteral("information");
    case BoxIcon::Warning: return QStringLiteral("warning");
    case BoxIcon::Error: return QStringLiteral("error");
    case BoxIcon::Question: return QStringLiteral("question");
    }
    return {};
}

QString toString(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::Ok: return QStringLiteral("Ok");
    case BoxButtons::OkCancel: return QStringLiteral("OkCancel");
    case BoxButtons::YesNo: return QStringLiteral("YesNo");
    case BoxButtons::YesNoCancel: return QStringLiteral("YesNoCancel");
    case BoxButtons::RetryCancel: return QStringLiteral("RetryCancel");
    case BoxButtons::AbortRetryIgnore: return QStringLiteral("AbortRetryIgnore");
    }
    return {};
}

QString toString(BoxButton button) {
    switch (button) {
    case BoxButton::None: return QStringLiteral("None");
    case BoxButton::Ok: return QStringLiteral("Ok");
    case BoxButton::Cancel: return QStringLiteral("Cancel");
    case BoxButton::Yes: return QStringLiteral("Yes");
    case BoxButton::No: return QStringLiteral("No");
    case BoxButton::Retry: return QStringLiteral("Retry");
    case BoxButton::Abort: return QStringLiteral("Abort");
    case BoxButton::Ignore: return QStringLiteral("Ignore");
    }
    return {};
}

MessageBoxes::~MessageBoxes() = default;

BoxButton MessageBoxes::show(const MessageBox& box) {
    ModalScope scope;
    return current().ask(box);
}

BoxButton MessageBoxes::show(const QString& caption, const QString& text, BoxIcon icon, BoxButtons buttons,
                             bool topMost) {
    MessageBox box;
    box.caption = caption;
    box.text = text;
    box.icon = icon;
    box.buttons = buttons;
    box.topMost = topMost;
    return show(box);
}

int MessageBoxes::exec(QDialog& dialog) {
    ModalScope scope;
    return current().run(dialog);
}

void MessageBoxes::install(MessageBoxes* boxes) { g_installed = boxes; }

void MessageBoxes::setModalHook(std::function<void(bool)> hook) { g_modalHook = std::move(hook); }

BoxButton DesktopMessageBoxes::ask(const MessageBox& box) {
    QMessageBox dialog(qtIcon(box.icon), box.caption, box.text, qtButtons(box.buttons),
                       QApplication::activeWindow());
    if (box.defaultButton != BoxButton::None) dialog.setDefaultButton(qtButton(box.defaultButton));
    if (box.topMost) dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return fromQt(dialog.exec());
}

int DesktopMessageBoxes::run(QDialog& dialog) { return dialog.exec(); }

}  // namespace vorlo
