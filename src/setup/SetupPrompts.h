#pragma once

#include <QString>

namespace vorlo {

// One message box of setup: its text, caption and icon, and whether it stays above other windows.
struct SetupMessage {
    enum class Icon { Error, Information, Question };
    QString text;
    QString caption;
    Icon icon = Icon::Error;
    bool topmost = true;
};

// How setup tells the user things and asks them: message boxes in the windows, printed lines without a person.
// User-interface thread.
class SetupPrompts {
public:
    virtual ~SetupPrompts() = default;
    virtual void show(const SetupMessage& message) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const SetupMessage& question) = 0;
    // The hourglass while a step runs; the normal cursor again.
    virtual void busy(bool) {}
    // Opens a folder in the desktop's file manager, when there is one.
    virtual void showFolder(const QString&) {}
};

}  // namespace vorlo
