#include "player/filebox/DirectoryListBox.h"

#include "core/filebox/FolderScanner.h"
#include "player/filebox/DragPayloads.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace vorlo {

namespace {

constexpr int IndentPerLevel = 8;

// Shifts each line right by its depth, so the chain from the root reads as a staircase.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + IndentPerLevel * index.data(DirectoryListBox::LevelRole).toInt());
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += IndentPerLevel * index.data(DirectoryListBox::LevelRole).toInt();
        return size;
    }
};

bool isInside(const QString& folder, const QString& root) {
    if (root == QLatin1String("/")) return folder.startsWith(QLatin1Char('/'));
    return folder == root || folder.startsWith(root + QLatin1Char('/'));
}

}  // namespace

DirectoryListBox::DirectoryListBox(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("DirectoryListBox"));
    setToolTip(QString::fromLatin1(Hint));
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
}

void DirectoryListBox::setDriveRoot(const QString& root) {
    root_ = root.isEmpty() ? QStringLiteral("/") : QDir::cleanPath(root);
}

QString DirectoryListBox::existingFolderOnDrive(const QString& folder) const {
    QString path = QDir::cleanPath(QDir(root_).absoluteFilePath(folder));
    if (!isInside(path, root_)) path = root_;
    while (path != root_ && !FolderScanner::isFolder(path)) path = QFileInfo(path).path();
    return path;
}

void DirectoryListBox::setDirectory(const QString& folder) {
    current_ = existingFolderOnDrive(folder);
    fill();
    emit directoryChanged(current_);
}

void DirectoryListBox::rebuild() { setDirectory(current_); }

void DirectoryListBox::fill() {
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain: the root, then each folder on the way down to the current one.
    QStringList chain{root_};
    const QString below =
        current_ == root_ ? QString() : current_.mid(root_ == QLatin1String("/") ? 1 : root_.size() + 1);
    QString path = root_;
    for (const QString& name : below.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path = path == QLatin1String("/") ? QLatin1Char('/') + name : path + QLatin1Char('/') + name;
        chain.append(path);
    }
    int level = 0;
    for (const QString& folder : chain) {
        auto* item = new QListWidgetItem(openIcon, level == 0 ? folder : QFileInfo(folder).fileName(), this);
        item->setData(PathRole, folder);
        item->setData(LevelRole, level++);
    }
    const int currentLine = count() - 1;

    // By the folder's bytes: QDir would show a name that is no UTF-8 as another, which leads nowhere.
    const QStringList subfolders = FolderScanner::subfolders(current_);
    const QString base = current_ == QLatin1String("/") ? current_ : current_ + QLatin1Char('/');
    for (const QString& name : subfolders) {
        auto* item = new QListWidgetItem(closedIcon, name, this);
        item->setData(PathRole, base + name);
        item->setData(LevelRole, level);
    }
    setCurrentRow(currentLine);
}

QString DirectoryListBox::pathOfLine(int row) const {
    const QListWidgetItem* line = item(row);
    return line ? line->data(PathRole).toString() : QString();
}

int DirectoryListBox::lineOf(const QString& folder) const {
    for (int row = 0; row < count(); ++row) {
        if (pathOfLine(row) == folder) return row;
    }
    return -1;
}

QString DirectoryListBox::selectedFolder() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(PathRole).toString();
}

void DirectoryListBox::openLine(int row) {
    const QString folder = pathOfLine(row);
    if (!folder.isEmpty()) setDirectory(folder);
}

void DirectoryListBox::mousePressEvent(QMouseEvent* event) {
    // A right press selects the line under the mouse, so the popup acts on that folder.
    if (event->button() == Qt::RightButton) {
        if (QListWidgetItem* line = itemAt(event->position().toPoint())) setCurrentItem(line);
        return;
    }
    QListWidget::mousePressEvent(event);
}

void DirectoryListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    if (oneTouch_) {
        if (itemAt(event->position().toPoint())) openLine(currentRow());
    } else {
        emit listClicked();
    }
}

void DirectoryListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (oneTouch_ || event->button() != Qt::LeftButton) return;
    const QListWidgetItem* line = itemAt(event->position().toPoint());
    if (line) openLine(row(line));
}

void DirectoryListBox::startDrag(Qt::DropActions /*supportedActions*/) {
    const QString folder = selectedFolder();
    if (folder.isEmpty()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(DragPayloads::folder(folder));
    // The folder's own picture as the drag cursor.
    const QPixmap cursor = style()->standardIcon(QStyle::SP_DirIcon).pixmap(32, 32);
    drag->setPixmap(cursor);
    drag->setDragCursor(cursor, Qt::CopyAction);
    drag->exec(Qt::CopyAction);
}

void DirectoryListBox::dragEnterEvent(QDragEnterEvent* event) {
    // Files of the file list and this list's own folders are refused (the no-drop cursor).
    if (!DragPayloads::isPlaylistLine(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DirectoryListBox::dragMoveEvent(QDragMoveEvent* event) {
    if (!DragPayloads::isPlaylistLine(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The folder line under the pointer is where the line would go; below the last line there is none.
    const int row = indexAt(event->position().toPoint()).row();
    if (row >= 0) {
        setCurrentRow(row);
    } else {
        clearSelection();
    }
}

void DirectoryListBox::dropEvent(QDropEvent* event) {
    if (!DragPayloads::isPlaylistLine(event->mimeData())) {
        event->ignore();
        return;
    }
    // Accepted as a copy: the playlist's view removes nothing itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (!selectedFolder().isEmpty()) emit playlistLineDropped(viewport()->mapToGlobal(event->position().toPoint()));
}

void DirectoryListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openLine(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

}  // namespace vorlo
