#pragma once

#include <QString>

#include <functional>

class QObject;

namespace vorlo {

enum class BoxIcon { None, Information, Warning, Error, Question };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class BoxButton { None, Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// One message box as the user sees it: everything a test may want to check.
struct MessageBox {
    QString caption;
    QString text;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    BoxButton defaultButton = BoxButton::None;  // None: the first button
    bool topMost = false;
};

QString toString(BoxIcon icon);
QString toString(BoxButtons buttons);
QString toString(BoxButton button);

// The one door through which every message box of the player is shown. The user interface installs the
// implementation that shows real boxes as the default; tests install a scripted one that answers and records
// each box. Without a user interface (the command-line companion) boxes are written to standard error and answered
// with their default button, or the button that changes nothing (No, Cancel).
class MessageBoxes {
public:
    virtual ~MessageBoxes();

    // Shows a box and returns the button that closed it.
    static BoxButton show(const MessageBox& box);
    static BoxButton show(const QString& caption, const QString& text, BoxIcon icon,
                          BoxButtons buttons = BoxButtons::Ok, bool topMost = false);

    // Replaces the implementation; nullptr brings back the default one. The caller keeps ownership.
    static void install(MessageBoxes* boxes);
    // The implementation in force when none is installed; nullptr brings back the standard-error one.
    static void setDefault(MessageBoxes* boxes);

    // Called with true before and false after every box or modal dialog; the main window uses it to leave
    // the top-most layer while a box is up.
    static void setModalHook(std::function<void(bool entering)> hook);

    // Tells the modal hook that a box or dialog is up for the life of the scope, even when its caller throws.
    class ModalScope {
    public:
        ModalScope();
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;
    };

    // A modal dialog of the user interface is about to run: an implementation that answers dialogs itself (a
    // test's script) returns the dialog's result code; kNotAnswered lets the dialog run for real.
    static constexpr int kNotAnswered = -1;
    static int answerDialog(QObject& dialog);

protected:
    virtual BoxButton ask(const MessageBox& box) = 0;
    virtual int answer(QObject& /*dialog*/) { return kNotAnswered; }
};

// The button a box answers with when nobody can answer it: its default, else the one that changes nothing.
BoxButton cautiousAnswer(const MessageBox& box);

}  // namespace vorlo
