#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

namespace vorlo::test {

namespace {
std::string describe(const MessageBox& box) {
    return QStringLiteral("[%1] \"%2\" icon=%3 buttons=%4")
        .arg(box.caption, box.text, toString(box.icon), toString(box.buttons))
        .toStdString();
}
}  // namespace

ScriptedMessageBoxes::ScriptedMessageBoxes() { MessageBoxes::install(this); }

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
    MessageBoxes::install(nullptr);
    for (const Expected& e : expected_) {
        if (e.box)
            ADD_FAILURE() << "expected message box never shown: " << describe(*e.box);
        else
            ADD_FAILURE() << "expected dialog never shown: " << e.dialogName.toStdString();
    }
}

void ScriptedMessageBoxes::expect(const QString& caption, const QString& text, BoxIcon icon, BoxButtons buttons,
                                  BoxButton answer) {
    MessageBox box;
    box.caption = caption;
    box.text = text;
    box.icon = icon;
    box.buttons = buttons;
    expected_.push_back(Expected{box, answer, {}, {}});
}

void ScriptedMessageBoxes::expectDialog(const QString& objectName, std::function<int(QObject&)> answer) {
    expected_.push_back(Expected{std::nullopt, BoxButton::None, objectName, std::move(answer)});
}

BoxButton ScriptedMessageBoxes::ask(const MessageBox& box) {
    shown_.push_back(box);
    const BoxButton fallback = box.buttons == BoxButtons::YesNo ? BoxButton::No : BoxButton::Cancel;
    if (expected_.empty() || !expected_.front().box) {
        ADD_FAILURE() << "unexpected message box: " << describe(box);
        return fallback;
    }
    const Expected e = expected_.front();
    expected_.pop_front();
    const MessageBox& want = *e.box;
    if (want.caption != box.caption || want.text != box.text || want.icon != box.icon || want.buttons != box.buttons) {
        ADD_FAILURE() << "message box differs\n  expected: " << describe(want) << "\n  shown:    " << describe(box);
        return fallback;
    }
    return e.answer;
}

int ScriptedMessageBoxes::answer(QObject& dialog) {
    // The result codes of a dialog: rejected 0, accepted 1.
    constexpr int rejected = 0;
    constexpr int accepted = 1;
    if (expected_.empty() || expected_.front().box || expected_.front().dialogName != dialog.objectName()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.objectName().toStdString();
        return rejected;
    }
    const Expected e = expected_.front();
    expected_.pop_front();
    return e.dialogAnswer ? e.dialogAnswer(dialog) : accepted;
}

}  // namespace vorlo::test
