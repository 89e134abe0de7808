#include "player/playlist/PlaylistPanel.h"

#include "controls/TSCheckList.h"
#include "core/playlist/ListFile.h"
#include "player/playlist/SongListAdapter.h"
#include "player/playlist/SongListInput.h"

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QResizeEvent>
#include <QToolButton>

#include <algorithm>

namespace vorlo {

namespace {

struct ButtonDesign {
    const char* name;
    const char* hint;
    const char* glyph;
};

// Top to bottom on the middle panel.
constexpr ButtonDesign MidPanelButtons[] = {
    {"BtnAddFile", "Add Selected Files", "+"},  {"BtnAddAll", "Add All Files", "++"},
    {"BtnRemove", "Remove One File", "\u2212"}, {"BtnRemoveAll", "Clear List", "Clr"},
    {"MoveFileUp", "Push File up", "\u25B2"},   {"MoveFileDown", "Push File down", "\u25BC"},
    {"SpdCopyFile", "Copy File", "Copy"},       {"SpdMoveFile", "Move File", "Move"},
    {"BtnKill", "Kill This File!!!", "Kill"},
};
constexpr int MidPanelButtonCount = static_cast<int>(std::size(MidPanelButtons));

struct PopupDesign {
    const char* name;
    const char* caption;
    const char* shortcut;
    bool onList;  // the shortcut also works while the list has the focus
};

constexpr PopupDesign PopupItems[] = {
    {"PopGoto", "&Goto Current", "Ctrl+G", true},        {"PopFileInfo", "File  &Information...", "Ctrl+I", false},
    {"PopRemove", "&Remove File", "Del", true},          {"PopClearList", "C&lear List", "Ctrl+R", false},
    {"CopyFileTo", "&Copy File To...", "Ctrl+C", false}, {"MoveFileTo", "&Move File To...", "Ctrl+X", false},
    {"PopRename", "Re&name File", "Ctrl+N", false},      {"PopDelete", "&Kill This File!", "Ctrl+K", false},
    {"UncheckAll", "Uncheck All", "Ctrl+Alt+U", true},   {"PopSum", "Pla&ylist Summary...", "Ctrl+Y", false},
};

const char* const NormalHint = "Double Click/Right Click/Drag";
const char* const OneTouchHint = "Single Click/Right Click";

}  // namespace

PlaylistPanel::PlaylistPanel(QWidget* parent)
    : QWidget(parent),
      playlist_(new Playlist(this)),
      adapter_(new SongListAdapter(*playlist_, this)),
      panelSongList_(new QFrame(this)),
      songList_(new TSCheckList(panelSongList_)),
      panelMid_(new QFrame(this)),
      popup_(new QMenu(this)) {
    setObjectName(QStringLiteral("PlaylistPanel"));
    panelSongList_->setObjectName(QStringLiteral("PanelSongList"));
    panelSongList_->setFrameShape(QFrame::Panel);
    panelSongList_->setFrameShadow(QFrame::Raised);
    panelSongList_->setAutoFillBackground(true);
    panelMid_->setObjectName(QStringLiteral("PanelMid"));
    panelMid_->setFrameShape(QFrame::Panel);
    panelMid_->setFrameShadow(QFrame::Raised);

    songList_->setObjectName(QStringLiteral("SongList"));
    songList_->setToolTip(QString::fromLatin1(NormalHint));
    songList_->setModel(adapter_);
    songList_->setUniformItemSizes(true);  // one line height for all: long lists lay out in no time
    songList_->setSelectionMode(QAbstractItemView::SingleSelection);
    songList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    songList_->setDragEnabled(true);
    songList_->setAcceptDrops(true);
    songList_->setDragDropMode(QAbstractItemView::DragDrop);
    songList_->setDefaultDropAction(Qt::MoveAction);
    songList_->setContextMenuPolicy(Qt::CustomContextMenu);

    readListFile_ = [](const QString& listFile) -> std::optional<QStringList> { return ListFile::read(listFile); };
    buildMidPanel();
    buildPopup();
    input_ = new SongListInput(*this);

    connect(songList_, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        PopupSongListPopup();
        popup_->popup(songList_->viewport()->mapToGlobal(pos));
    });
    connect(songList_, &QAbstractItemView::clicked, this, [this] {
        if (oneTouch_)
            SongListDblClick();
        else
            SongListClick();
    });
    connect(songList_, &QAbstractItemView::doubleClicked, this, [this] {
        if (!oneTouch_) SongListDblClick();
    });
    connect(songList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateMidPanelButtons(); });
    connect(songList_, &TSCheckList::OnVScroll, this, [this] { emit closeRenameEditorRequested(); });
    connect(songList_, &TSCheckList::OnHScroll, this, [this] {
        emit closeRenameEditorRequested();
        if (playlist_->isValidIndex(playlist_->DragIndex())) selectLine(playlist_->DragIndex());
    });
    connect(playlist_, &Playlist::listChangedFlagChanged, this,
            [this](bool changed) { setCommand(ListCommand::SaveList, changed); });

    resize(designSize());
    layoutChildren();
    updateMidPanelButtons();
}

PlaylistPanel::~PlaylistPanel() {
    // The list sends events while it is taken apart; they must not reach a half-destroyed panel.
    delete input_;
}

void PlaylistPanel::buildMidPanel() {
    for (const ButtonDesign& design : MidPanelButtons) {
        auto* button = new QToolButton(panelMid_);
        button->setObjectName(QString::fromLatin1(design.name));
        button->setToolTip(QString::fromLatin1(design.hint));
        button->setText(QString::fromUtf8(design.glyph));
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(button(QStringLiteral("BtnRemove")), &QToolButton::clicked, this, [this] {
        BtnRemoveClick();
        songList_->setFocus();
    });
    connect(button(QStringLiteral("BtnRemoveAll")), &QToolButton::clicked, this, [this] {
        emit focusFolderListRequested();
        FileClearListClick();
    });
    connect(button(QStringLiteral("MoveFileUp")), &QToolButton::clicked, this, &PlaylistPanel::MoveFileUpClick);
    connect(button(QStringLiteral("MoveFileDown")), &QToolButton::clicked, this, &PlaylistPanel::MoveFileDownClick);
}

void PlaylistPanel::buildPopup() {
    popup_->setObjectName(QStringLiteral("PopupSongList"));
    for (const PopupDesign& design : PopupItems) {
        auto* action = new QAction(QString::fromLatin1(design.caption), popup_);
        action->setObjectName(QString::fromLatin1(design.name));
        action->setShortcut(QKeySequence(QString::fromLatin1(design.shortcut)));
        action->setShortcutContext(Qt::WidgetShortcut);
        popup_->addAction(action);
        if (design.onList) songList_->addAction(action);
    }
    connect(popupAction(QStringLiteral("PopRemove")), &QAction::triggered, this, &PlaylistPanel::BtnRemoveClick);
    connect(popupAction(QStringLiteral("PopClearList")), &QAction::triggered, this, &PlaylistPanel::FileClearListClick);
    connect(popupAction(QStringLiteral("UncheckAll")), &QAction::triggered, this, &PlaylistPanel::UncheckAllClick);
}

QToolButton* PlaylistPanel::button(const QString& objectName) const {
    return panelMid_->findChild<QToolButton*>(objectName, Qt::FindDirectChildrenOnly);
}

QAction* PlaylistPanel::popupAction(const QString& objectName) const {
    return popup_->findChild<QAction*>(objectName, Qt::FindDirectChildrenOnly);
}

void PlaylistPanel::setMidPanelVisible(bool visible) {
    midVisible_ = visible;
    panelMid_->setVisible(visible);
    layoutChildren();
}

void PlaylistPanel::setZipMode(bool on) {
    zipMode_ = on;
    updateMidPanelButtons();
}

void PlaylistPanel::setOneTouchCursor(bool on) {
    oneTouch_ = on;
    songList_->setToolTip(QString::fromLatin1(on ? OneTouchHint : NormalHint));
    songList_->setDragEnabled(!on);
}

void PlaylistPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void PlaylistPanel::layoutChildren() {
    const int h = height();
    const int listPanelWidth = midVisible_ ? std::max(0, width() - MidPanelGap - MidPanelWidth) : width();
    panelSongList_->setGeometry(0, 0, listPanelWidth, h);
    // The list sits inside its panel's bevel: 11 pixels narrower and 9 lower than the panel.
    songList_->setGeometry(5, 4, std::max(0, listPanelWidth - 11), std::max(0, h - 9));
    if (!midVisible_) return;
    panelMid_->setGeometry(listPanelWidth + MidPanelGap, 0, MidPanelWidth, h);
    const int pitch = std::max(1, (h - 6) / MidPanelButtonCount);
    for (int i = 0; i < MidPanelButtonCount; ++i)
        button(QString::fromLatin1(MidPanelButtons[i].name))
            ->setGeometry(3, 3 + i * pitch, MidPanelWidth - 6, pitch - 1);
}

int PlaylistPanel::selectedLine() const {
    const QModelIndexList selected = songList_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void PlaylistPanel::selectLine(int line) {
    QItemSelectionModel* selection = songList_->selectionModel();
    if (!playlist_->isValidIndex(line)) {
        selection->clear();
        return;
    }
    const QModelIndex index = adapter_->index(line);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    songList_->scrollTo(index);
}

int PlaylistPanel::dropIndexAt(QPoint viewportPos) const {
    if (!songList_->viewport()->rect().contains(viewportPos)) return -1;
    const QModelIndex index = songList_->indexAt(viewportPos);
    return index.isValid() ? index.row() : playlist_->count();
}

PlaylistState PlaylistPanel::state() const {
    return {playlist_->count(), selectedLine(), playlist_->CurrentIndex(), zipMode_};
}

void PlaylistPanel::updateMidPanelButtons() {
    const MidPanelEnables on = midPanelEnables(state());
    button(QStringLiteral("MoveFileUp"))->setEnabled(on.pushUp);
    button(QStringLiteral("MoveFileDown"))->setEnabled(on.pushDown);
    button(QStringLiteral("BtnRemove"))->setEnabled(on.remove);
    button(QStringLiteral("BtnRemoveAll"))->setEnabled(on.clear);
    button(QStringLiteral("SpdCopyFile"))->setEnabled(on.copy);
    button(QStringLiteral("SpdMoveFile"))->setEnabled(on.move);
    button(QStringLiteral("BtnKill"))->setEnabled(on.kill);
    // The popup's shortcuts work on the list without opening the menu, so its items follow too.
    PopupSongListPopup();
}

void PlaylistPanel::SongListClick(bool byUser) {
    if (renameEditor_ && renameEditor_->isVisible()) {
        renameEditor_->setFocus();
        return;
    }
    updateMidPanelButtons();
    if (byUser && window()->isVisible()) songList_->setFocus();
}

void PlaylistPanel::PopupSongListPopup() {
    const PopupEnables on = popupEnables(state());
    if (on.gotoCurrent) popupAction(QStringLiteral("PopGoto"))->setEnabled(*on.gotoCurrent);
    popupAction(QStringLiteral("PopFileInfo"))->setEnabled(on.fileInfo);
    popupAction(QStringLiteral("PopRemove"))->setEnabled(on.remove);
    popupAction(QStringLiteral("PopClearList"))->setEnabled(on.clearList);
    popupAction(QStringLiteral("CopyFileTo"))->setEnabled(on.copy);
    popupAction(QStringLiteral("MoveFileTo"))->setEnabled(on.move);
    popupAction(QStringLiteral("PopRename"))->setEnabled(on.rename);
    popupAction(QStringLiteral("PopDelete"))->setEnabled(on.kill);
    popupAction(QStringLiteral("UncheckAll"))->setEnabled(on.uncheckAll);
    popupAction(QStringLiteral("PopSum"))->setEnabled(on.summary);
}

}  // namespace vorlo
