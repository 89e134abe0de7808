#pragma once

#include <QLineEdit>

namespace vorlo {

class TSCheckList;

// The in-place rename editor `EditFile`: a one-line box without a frame laid over a playlist line. It is idle
// (hidden) or editing (shown with the focus); Escape, Enter and losing the focus end the editing, and only Enter
// asks for the rename. User-interface thread.
class RenameEditor : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kStartHeight = 14;
    static constexpr int kTypingHeight = 18;
    static constexpr int kMinimumLeft = 19;

    // The editor lives beside `list`, in the list's parent.
    explicit RenameEditor(TSCheckList& list);

    // Lays the editor over line `row` with `text`, shows it and gives it the focus.
    void start(int row, const QString& text);
    // Ends the editing without renaming (the list scrolled, a list was closed, the window closes).
    void close();
    bool editing() const { return isVisible(); }

signals:
    // Enter: rename to this text.
    void renameRequested(const QString& text);
    // Escape: the focus goes back to the list.
    void escaped();
    // The editor was hidden, however the editing ended.
    void ended();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TSCheckList& list_;
};

}  // namespace vorlo
