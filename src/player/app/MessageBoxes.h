#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

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

// The one door through which every message box and modal dialog of the player is shown. The desktop
// implementation shows real boxes; tests install a scripted one that answers and records each box.
class MessageBoxes {
public:
    virtual ~MessageBoxes();

    // Shows a box and returns the button that closed it.
    static BoxButton show(const MessageBox& box);
    static BoxButton show(const QString& caption, const QString& text, BoxIcon icon,
                          BoxButtons buttons = BoxButtons::Ok, bool topMost = false);
    // Runs a modal dialog and returns its result code (QDialog::Accepted or Rejected).
    static int exec(QDialog& dialog);

    // Replaces the implementation; nullptr brings back the desktop one. The caller keeps ownership.
    static void install(MessageBoxes* boxes);

    // Called with true before and false after every box or modal dialog; the main window uses it to leave
    // the top-most layer while a box is up.
    static void setModalHook(std::function<void(bool entering)> hook);

protected:
    virtual BoxButton ask(const MessageBox& box) = 0;
    virtual int run(QDialog& dialog) = 0;
};

// Real boxes on the desktop.
class DesktopMessageBoxes : public MessageBoxes {
protected:
    BoxButton ask(const MessageBox& box) override;
    int run(QDialog& dialog) override;
};

}  // namespace vorlo
