#include "player/files/RenameEditor.h"

#include "controls/TSCheckList.h"

#include <QAbstractItemModel>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace vorlo {

RenameEditor::RenameEditor(TSCheckList& list) : QLineEdit(list.parentWidget()), list_(list) {
    setObjectName(QStringLiteral("EditFile"));
    setFrame(false);
    hide();
}

void RenameEditor::start(int row, const QString& text) {
    const QModelIndex index = list_.model()->index(row, 0);
    list_.scrollTo(index);
    // Over the line's text, right of its check box (never further left than 19 pixels into the list), as wide as
    // the list's inside allows.
    const QRect line = list_.visualRect(index);
    QStyleOptionViewItem option;
    option.initFrom(list_.viewport());
    option.rect = line;
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect textRect = list_.style()->subElementRect(QStyle::SE_ItemViewItemText, &option, &list_);
    const QPoint viewportTopLeft = list_.viewport()->mapTo(&list_, QPoint(0, 0));
    const int left = std::max(kMinimumLeft, viewportTopLeft.x() + textRect.left() - 1);
    setGeometry(list_.x() + left, list_.y() + viewportTopLeft.y() + line.top() + 1,
                std::max(0, viewportTopLeft.x() + list_.viewport()->width() - left), kStartHeight);
    setText(text);
    selectAll();
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void RenameEditor::close() {
    if (!isVisible()) return;
    hide();
    emit ended();
}

void RenameEditor::keyPressEvent(QKeyEvent* event) {
    // The line grows to fit its text once the user types.
    if (height() != kTypingHeight) setGeometry(x(), y() - 2, width(), kTypingHeight);
    switch (event->key()) {
        case Qt::Key_Escape:
            close();
            emit escaped();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter: emit renameRequested(text()); return;
        default: QLineEdit::keyPressEvent(event);
    }
}

void RenameEditor::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    close();
}

}  // namespace vorlo
