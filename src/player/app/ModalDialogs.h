#pragma once

#include "core/app/MessageBoxes.h"

class QDialog;

namespace vorlo {

// Every modal dialog of the player runs through here, beside the message boxes: while it is up the main window
// leaves the top-most layer, and a test's scripted boxes may fill it in and answer it instead of a person.
class ModalDialogs {
public:
    // Runs a modal dialog and returns its result code (QDialog::Accepted or Rejected).
    static int exec(QDialog& dialog);
};

// Real message boxes on the desktop.
class DesktopMessageBoxes : public MessageBoxes {
protected:
    BoxButton ask(const MessageBox& box) override;
};

}  // namespace vorlo
