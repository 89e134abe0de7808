#pragma once

#include "setup/SetupPrompts.h"

namespace vorlo {

// Prompts without a person at the keyboard: every message is printed (errors to the error output) and every
// question gets its default answer. Remembers whether an error was shown, for the exit status.
class ConsolePrompts : public SetupPrompts {
public:
    // `desktopShortcut`: the answer to the desktop shortcut question.
    explicit ConsolePrompts(bool desktopShortcut = false) : desktopShortcut_(desktopShortcut) {}

    void show(const SetupMessage& message) override;
    bool ask(const SetupMessage& question) override;
    bool failed() const { return failed_; }

private:
    bool desktopShortcut_;
    bool failed_ = false;
};

}  // namespace vorlo
