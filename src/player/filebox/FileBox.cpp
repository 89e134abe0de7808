// The file box's assembly: its controls, their layout at the design coordinates, the popups, the options.
#include "player/filebox/FileBox.h"

#include "core/app/ErrorHandler.h"
#include "core/filebox/FileFilters.h"
#include "controls/TSCheckList.h"
#include "core/settings/Options.h"
#include "player/app/DesktopOpener.h"
#include "player/filebox/DirectoryListBox.h"
#include "player/filebox/FileBoxCombos.h"
#include "player/filebox/FileListBox.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFrame>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>

namespace vorlo {

FileBox::FileBox(QWidget* parent)
    : QWidget(parent),
      panel_(new QFrame(this)),
      splitter_(new QSplitter(Qt::Horizontal, panel_)),
      folderList_(new DirectoryListBox(splitter_)),
      fileList_(new FileListBox(splitter_)),
      driveCombo_(new DriveComboBox(this)),
      filterCombo_(new FilterComboBox(this)),
      popupFileBox_(new QMenu(this)),
      popupDir_(new QMenu(this)),
      openExternally_([](const QString& path) {
          DesktopOpener::open(path);  // tells the user itself when no program takes the file
          return true;
      }) {
    setObjectName(QStringLiteral("FileBox"));
    panel_->setObjectName(QStringLiteral("PanelFileList"));
    panel_->setFrameShape(QFrame::Panel);
    panel_->setFrameShadow(QFrame::Raised);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setToolTip(QStringLiteral("Drag to resize boxes"));
    splitter_->setHandleWidth(SplitterWidth);
    splitter_->setChildrenCollapsible(false);
    splitter_->setSizes({FolderListDesignWidth, DesignWidth - 2 * ListInset - FolderListDesignWidth - SplitterWidth});
    buildPopups();

    connect(driveCombo_, &DriveComboBox::driveChanged, this, [this] { DriveComboBoxChange(); });
    connect(folderList_, &DirectoryListBox::directoryChanged, this, [this] { DirectoryListBoxChange(); });
    connect(folderList_, &DirectoryListBox::listClicked, this, [this] { FileListBoxClick(); });
    connect(filterCombo_, &FilterComboBox::filterChanged, this, [this] { FilterComboBoxChange(); });
    connect(fileList_, &FileListBox::listClicked, this, [this] { FileListBoxClick(); });
    connect(fileList_, &FileListBox::selectedFilesChanged, this, [this] { FileListBoxClick(); });
    connect(fileList_, &FileListBox::openItemRequested, this, [this] { FileListBoxDblClick(); });
    connect(fileList_, &FileListBox::enterPressed, this, [this] { BtnAddFileClick(); });
    connect(fileList_, &FileListBox::loaded, this, [this] {
        FileListBoxClick();
        emit fileListLoaded();
    });
    connect(splitter_, &QSplitter::splitterMoved, this, [this] { followSplitter(); });

    resize(designSize());
    setFolder(QDir::currentPath());
}

FileBox::~FileBox() = default;

void FileBox::buildPopups() {
    popupFileBox_->setObjectName(QStringLiteral("PopupFileBox"));
    struct Item {
        const char* name;
        const char* caption;
        void (FileBox::*command)();
    };
    const Item items[] = {
        {"PopupRefresh", "&Refresh", &FileBox::refresh},
        {"PopupAddFile", "&Add Selected Files", &FileBox::BtnAddFileClick},
        {"PopupAddAll", "Add All &Files", &FileBox::BtnAddAllClick},
    };
    for (const Item& item : items) {
        QAction* action = popupFileBox_->addAction(QString::fromLatin1(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, this, item.command);
    }
    // Alt+R is shown here but belongs to the window's "Refresh File Box" item, which runs the same command.
    QAction* refreshItem = popupAction(QStringLiteral("PopupRefresh"));
    refreshItem->setShortcut(QKeySequence(Qt::ALT | Qt::Key_R));
    refreshItem->setShortcutContext(Qt::WidgetShortcut);

    fileList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(fileList_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupFileBoxPopup();
        popupFileBox_->popup(fileList_->viewport()->mapToGlobal(at));
    });

    popupDir_->setObjectName(QStringLiteral("PopupDir"));
    folderList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(folderList_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!popupDir_->isEmpty()) popupDir_->popup(folderList_->viewport()->mapToGlobal(at));
    });
}

QAction* FileBox::popupAction(const QString& objectName) const {
    return popupFileBox_->findChild<QAction*>(objectName);
}

void FileBox::attachPlaylist(PlaylistPanel* panel) {
    playlist_ = panel;
    if (!panel) return;
    connect(panel->actions().addFile, &QAction::triggered, this, ErrorHandler::guard([this] { BtnAddFileClick(); }));
    connect(panel->actions().addAll, &QAction::triggered, this, ErrorHandler::guard([this] { BtnAddAllClick(); }));
    connect(panel, &PlaylistPanel::focusFolderListRequested, folderList_, [this] { folderList_->setFocus(); });
    // Files dropped from the file list leave the playlist in focus; a playlist line being dragged starts with no
    // folder line chosen, so only the line under the pointer can become the drop's target folder.
    connect(fileList_, &FileListBox::dragEnded, panel, [panel](bool dropped) {
        if (dropped) panel->SongListClick();
    });
    connect(panel->songList(), &TSCheckList::OnStartDrag, folderList_, [this] { folderList_->clearSelection(); });
    FileListBoxClick();
}

void FileBox::attachToolButtons(QAbstractButton* refresh, QAbstractButton* cursor) {
    if (refresh) {
        refresh->setToolTip(QStringLiteral("Refresh File Box"));
        connect(refresh, &QAbstractButton::clicked, this, [this] { this->refresh(); });
    }
    cursorButton_ = cursor;
    if (cursor) {
        cursor->setCheckable(true);
        cursor->setChecked(oneTouch_);
        cursor->setToolTip(QString::fromLatin1(oneTouch_ ? CursorOnHint : CursorHint));
        connect(cursor, &QAbstractButton::clicked, this, [this](bool down) { setOneTouch(down); });
    }
}

void FileBox::setDriveSource(std::function<QStringList()> source) {
    driveCombo_->setDriveSource(std::move(source));
    setFolder(currentFolder());
}

void FileBox::setFolder(const QString& folder) {
    if (folder.isEmpty()) return;
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    folderList_->setDriveRoot(driveCombo_->selectDriveOf(clean));
    folderList_->setDirectory(clean);
}

QString FileBox::currentFolder() const { return folderList_->directory(); }

bool FileBox::setFilterIndex(int index) {
    if (!filterCombo_->setFilterIndex(index)) return false;
    FilterComboBoxChange();
    return true;
}

int FileBox::filterIndex() const { return filterCombo_->filterIndex(); }

void FileBox::applyOptions(const Options& options) {
    setFolder(options.midiDirectory);
    setOneTouch(options.oneTouch);
    setFilterIndex(options.filter);
}

void FileBox::storeOptions(Options& options) const {
    options.midiDirectory = currentFolder();
    options.oneTouch = oneTouch_;
    options.filter = filterIndex();
}

void FileBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void FileBox::layoutChildren() {
    const int panelHeight = std::max(0, height() - ComboSpace);
    panel_->setGeometry(0, 0, width(), panelHeight);
    const int inner = std::max(0, width() - 2 * ListInset);
    splitter_->setGeometry(ListInset, ListInset, inner, std::max(0, panelHeight - 2 * ListInset));
    QList<int> sizes = splitter_->sizes();
    int folderWidth = sizes.value(0, FolderListDesignWidth);
    if (width() == DesignWidth)
        folderWidth = FolderListDesignWidth;  // the design layout comes back at the window's minimum width
    else if (width() - 20 < folderWidth)
        folderWidth = (width() - 20) / 2;  // a narrow box shares its width between the lists
    splitter_->setSizes({folderWidth, std::max(0, inner - folderWidth - SplitterWidth)});
    followSplitter();
}

void FileBox::followSplitter() {
    // The combos stand 2 pixels below the panel, each as wide as the list above it (and a little more).
    const int top = panel_->height() + 2;
    const int comboHeight = std::min(driveCombo_->sizeHint().height(), ComboSpace - 2);
    driveCombo_->setGeometry(ListInset, top, folderList_->width() + 2, comboHeight);
    const int fileListLeft = splitter_->x() + fileList_->x();
    filterCombo_->setGeometry(fileListLeft, top, fileList_->width() + 3, comboHeight);
}

}  // namespace vorlo
