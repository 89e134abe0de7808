#include "core/app/MessageBoxes.h"

#include <cstdio>

namespace vorlo {

namespace {

// Boxes where nobody can see them: written to standard error and answered cautiously.
class ConsoleMessageBoxes : public MessageBoxes {
protected:
    BoxButton ask(const MessageBox& box) override {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(box.caption), qUtf8Printable(box.text));
        return cautiousAnswer(box);
    }
};

MessageBoxes* g_installed = nullptr;
MessageBoxes* g_default = nullptr;
std::function<void(bool)> g_modalHook;

MessageBoxes& current() {
    static ConsoleMessageBoxes console;
    if (g_installed) return *g_installed;
    return g_default ? *g_default : console;
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

int MessageBoxes::answerDialog(QObject& dialog) { return current().answer(dialog); }

void MessageBoxes::install(MessageBoxes* boxes) { g_installed = boxes; }

void MessageBoxes::setDefault(MessageBoxes* boxes) { g_default = boxes; }

MessageBoxes::ModalScope::ModalScope() {
    if (g_modalHook) g_modalHook(true);
}

MessageBoxes::ModalScope::~ModalScope() {
    if (g_modalHook) g_modalHook(false);
}

BoxButton cautiousAnswer(const MessageBox& box) {
    if (box.defaultButton != BoxButton::None) return box.defaultButton;
    switch (box.buttons) {
        case BoxButtons::Ok: return BoxButton::Ok;
        case BoxButtons::YesNo: return BoxButton::No;
        case BoxButtons::AbortRetryIgnore: return BoxButton::Abort;
        case BoxButtons::OkCancel:
        case BoxButtons::YesNoCancel:
        case BoxButtons::RetryCancel: break;
    }
    return BoxButton::Cancel;
}

void MessageBoxes::setModalHook(std::function<void(bool)> hook) { g_modalHook = std::move(hook); }

}  // namespace vorlo
