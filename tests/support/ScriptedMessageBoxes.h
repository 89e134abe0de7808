#pragma once

#include "core/app/MessageBoxes.h"

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace vorlo::test {

// Stands in for the person in front of the screen: each expected box is matched in order against what the
// player shows (caption, text, icon, buttons) and answered. A box nobody expected fails the running test and is
// answered with Cancel (or No). Boxes still expected when the script is destroyed fail the test as well.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes() override;
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    // Expects a box with exactly this caption, text, icon and buttons, and answers it.
    void expect(const QString& caption, const QString& text, BoxIcon icon, BoxButtons buttons, BoxButton answer);
    // Expects a modal dialog whose object name is given; `answer` may fill it in and returns its result code.
    void expectDialog(const QString& objectName, std::function<int(QObject& dialog)> answer);

    const std::vector<MessageBox>& shown() const { return shown_; }
    std::size_t pending() const { return expected_.size(); }

protected:
    BoxButton ask(const MessageBox& box) override;
    int answer(QObject& dialog) override;

private:
    struct Expected {
        std::optional<MessageBox> box;
        BoxButton answer = BoxButton::None;
        QString dialogName;
        std::function<int(QObject&)> dialogAnswer;
    };
    std::deque<Expected> expected_;
    std::vector<MessageBox> shown_;
};

}  // namespace vorlo::test
