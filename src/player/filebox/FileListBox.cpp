#include "player/filebox/FileListBox.h"

#include "core/filebox/FileFilters.h"
#include "core/filebox/FolderScanner.h"
#include "core/playlist/MediaPaths.h"
#include "player/filebox/DragPayloads.h"
#include "player/filebox/FileListModel.h"

#include <QDrag>
#include <QPainter>
#include <QStyle>

#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>

#include <utility>

namespace vorlo {

FileListBox::FileListBox(QWidget* parent)
    : QListView(parent),
      model_(new FileListModel(this)),
      thread_(new QThread(this)),
      generation_(std::make_shared<std::atomic<quint64>>(0)),
      mask_(QString::fromLatin1(FileFilters::InitialMask)) {
    setObjectName(QStringLiteral("FileListBox"));
    setToolTip(QString::fromLatin1(NormalHint));
    setModel(model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);  // keeps a list of many thousand names as quick as a short one
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);

    scanner_ = new FolderScanner(generation_);
    scanner_->moveToThread(thread_);
    connect(this, &FileListBox::requestScan, scanner_, &FolderScanner::scan, Qt::QueuedConnection);
    connect(scanner_, &FolderScanner::scanned, this, &FileListBox::receiveScan, Qt::QueuedConnection);
    connect(model_, &FileListModel::loadingFinished, this, [this] {
        applyPendingSelection();
        emit loaded();
    });
    thread_->setObjectName(QStringLiteral("FileListScanner"));
    thread_->start();
}

FileListBox::~FileListBox() {
    generation_->fetch_add(1);  // a scan under way stops at its next check
    thread_->quit();
    thread_->wait();
    delete scanner_;
}

void FileListBox::setDirectory(const QString& folder) {
    folder_ = folder;
    reload();
}

void FileListBox::setMask(const QString& mask) {
    mask_ = mask;
    reload();
}

void FileListBox::reload() {
    const quint64 generation = generation_->fetch_add(1) + 1;
    model_->startLoading();
    emit requestScan(generation, folder_, FileFilters::patternsOf(mask_));
}

void FileListBox::receiveScan(quint64 generation, const QStringList& names) {
    if (generation != generation_->load()) return;  // the folder or the mask changed since this scan began
    model_->deliver(names);
}

bool FileListBox::isLoading() const { return model_->isLoading(); }

void FileListBox::finishLoading() {
    if (!model_->isLoading()) return;
    if (!model_->hasDelivery()) {
        QEventLoop waitForScan;
        connect(model_, &FileListModel::loadingFinished, &waitForScan, &QEventLoop::quit);
        // The scan's result arrives as a queued call; the list fills in, then the loop ends.
        waitForScan.exec(QEventLoop::ExcludeUserInputEvents);
    }
    model_->flush();
}

int FileListBox::count() const { return model_->rowCount(); }

QStringList FileListBox::fileNames() const { return model_->names(); }

QStringList FileListBox::selectedFileNames() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList names;
    names.reserve(rows.size());
    for (const QModelIndex& row : rows) names.append(model_->nameAt(row.row()));
    return names;
}

bool FileListBox::hasSelection() const { return selectionModel()->hasSelection(); }

QString FileListBox::focusedSelectedName() const {
    const QModelIndex focused = currentIndex();
    if (!focused.isValid() || !selectionModel()->isSelected(focused)) return {};
    return model_->nameAt(focused.row());
}

QString FileListBox::fullPath(const QString& fileName) const { return folderWithSeparator(folder_) + fileName; }

void FileListBox::selectFirstStartingWith(const QString& text) {
    pendingSelection_ = text;
    if (!isLoading()) applyPendingSelection();
}

void FileListBox::applyPendingSelection() {
    if (pendingSelection_.isEmpty()) return;
    const QString text = std::exchange(pendingSelection_, QString());
    const QStringList& names = model_->names();
    for (int row = 0; row < names.size(); ++row) {
        if (names.at(row).startsWith(text, Qt::CaseInsensitive)) {
            const QModelIndex line = model_->index(row, 0);
            selectionModel()->setCurrentIndex(line, QItemSelectionModel::ClearAndSelect);
            scrollTo(line);
            return;
        }
    }
}

void FileListBox::setOneTouch(bool on) {
    oneTouch_ = on;
    setToolTip(QString::fromLatin1(on ? OneTouchHint : NormalHint));
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
    QListView::mousePressEvent(event);
    // A press below the last name leaves nothing focused, so that a double click there opens nothing.
    if (!indexAt(event->position().toPoint()).isValid() && event->button() == Qt::LeftButton)
        setCurrentIndex(QModelIndex());
}

void FileListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    emit listClicked();
    if (oneTouch_ && event->button() == Qt::LeftButton) emit openItemRequested();
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    if (!oneTouch_ && event->button() == Qt::LeftButton) emit openItemRequested();
}

void FileListBox::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QListView::selectionChanged(selected, deselected);
    emit selectedFilesChanged();
}

void FileListBox::startDrag(Qt::DropActions /*supportedActions*/) {
    const QStringList names = selectedFileNames();
    if (names.isEmpty()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(DragPayloads::fileBoxFiles(folder_, names));
    // One file's picture for one file, a small stack of them for several.
    const QPixmap file = style()->standardIcon(QStyle::SP_FileIcon).pixmap(24, 24);
    if (names.size() == 1) {
        drag->setPixmap(file);
    } else {
        QPixmap stack(32, 32);
        stack.fill(Qt::transparent);
        QPainter painter(&stack);
        painter.drawPixmap(8, 0, file);
        painter.drawPixmap(0, 8, file);
        painter.end();
        drag->setPixmap(stack);
    }
    const Qt::DropAction result = drag->exec(Qt::CopyAction);
    emit dragEnded(result != Qt::IgnoreAction);
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        return;
    }
    QListView::keyPressEvent(event);
}

}  // namespace vorlo
