#pragma once

#include "setup/SetupPrompts.h"

class QWidget;

namespace vorlo {

// Prompts of the windows: message boxes with their caption and icon, the hourglass cursor, the file manager.
class BoxPrompts : public SetupPrompts {
public:
    explicit BoxPrompts(QWidget* parent = nullptr) : parent_(parent) {}

    void show(const SetupMessage& message) override;
    bool ask(const SetupMessage& question) override;
    void busy(bool on) override;
    void showFolder(const QString& folder) override;

private:
    QWidget* parent_;
    int busy_ = 0;
};

}  // namespace vorlo
