#include "player/playlist/PlaylistPanel.h"
#include "player/playlist/NameWidths.h"

#include "controls/TSCheckList.h"
#include "core/app/ErrorHandler.h"
#include "core/files/UriList.h"
#include "core/playlist/ZipSession.h"
#include "player/playlist/SongListAdapter.h"
#include "player/playlist/SongListInput.h"

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QResizeEvent>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace vorlo {

namespace {

const char* const NormalHint = "Double Click/Right Click/Drag";
const char* const OneTouchHint = "Single Click/Right Click";

QAction* makeAction(QObject* parent, const char* name, const char* caption, const char* shortcut,
                    const char* buttonText, const char* hint) {
    auto* action = new QAction(QString::fromUtf8(caption), parent);
    action->setObjectName(QString::fromLatin1(name));
    if (*shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    // A middle-panel button shows the action's icon text and its hint.
    if (*buttonText) action->setIconText(QString::fromUtf8(buttonText));
    if (*hint) action->setToolTip(QString::fromUtf8(hint));
    action->setEnabled(false);
    return action;
}

}  // namespace

PlaylistPanel::PlaylistPanel(PlaylistEditor& editor, QWidget* parent)
    : QWidget(parent),
      editor_(editor),
      adapter_(new SongListAdapter(editor.playlist(), this)),
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

    buildActions();
    buildMidPanel();
    buildPopup();
    input_ = new SongListInput(*this);

    Playlist& list = editor_.playlist();
    connect(songList_, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { popup_->popup(songList_->viewport()->mapToGlobal(pos)); });
    connect(songList_, &QAbstractItemView::clicked, this, ErrorHandler::guard([this] {
                if (oneTouch_)
                    SongListDblClick();
                else
                    SongListClick();
            }));
    connect(songList_, &QAbstractItemView::doubleClicked, this, ErrorHandler::guard([this] {
                if (!oneTouch_) SongListDblClick();
            }));
    // The view mirrors the core's selected line and reports the user's choice back.
    connect(songList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (showingSelection_) return;
        const QModelIndexList selected = songList_->selectionModel()->selectedIndexes();
        editor_.playlist().selectLine(selected.isEmpty() ? -1 : selected.first().row());
    });
    connect(&list, &Playlist::selectionChanged, this, &PlaylistPanel::showSelection);
    connect(&list, &Playlist::entriesInserted, this, [this](int first, int last) { fitLines(first, last); });
    connect(&list, &Playlist::entriesReset, this, [this] {
        resetExtent();
        if (!editor_.playlist().isEmpty()) fitLines(0, editor_.playlist().count() - 1);
    });
    connect(songList_, &TSCheckList::OnVScroll, this, [this] { emit closeRenameEditorRequested(); });
    connect(songList_, &TSCheckList::OnEndDrag, this, [this] { SongListClick(); });
    connect(songList_, &TSCheckList::OnHScroll, this, [this] {
        emit closeRenameEditorRequested();
        if (editor_.playlist().isValidIndex(editor_.playlist().DragIndex())) selectLine(editor_.playlist().DragIndex());
    });
    connect(&editor_, &PlaylistEditor::focusRequested, this, &PlaylistPanel::takeFocus);
    connect(&editor_, &PlaylistEditor::closeRenameEditorRequested, this, &PlaylistPanel::closeRenameEditorRequested);
    // What the commands may do follows the list, the selected line and zip mode.
    for (auto changed : {&Playlist::entriesInserted, &Playlist::entriesRemoved, &Playlist::entryMoved})
        connect(&list, changed, this, &PlaylistPanel::applyView);
    connect(&list, &Playlist::entriesReset, this, &PlaylistPanel::applyView);
    connect(&list, &Playlist::selectionChanged, this, &PlaylistPanel::applyView);
    connect(&editor_.zip(), &ZipSession::changed, this, &PlaylistPanel::applyView);

    resize(designSize());
    layoutChildren();
    applyView();
}

PlaylistPanel::~PlaylistPanel() {
    // The list sends events while it is taken apart; they must not reach a half-destroyed panel.
    delete input_;
}

void PlaylistPanel::buildActions() {
    PlaylistActions& a = actions_;
    a.addFile = makeAction(this, "AddSelectedFiles", "Add Selected Files", "", "+", "Add Selected Files");
    a.addAll = makeAction(this, "AddAllFiles", "Add All Files", "", "++", "Add All Files");
    a.gotoCurrent = makeAction(this, "PopGoto", "&Goto Current", "Ctrl+G", "", "");
    a.fileInfo = makeAction(this, "PopFileInfo", "File  &Information...", "Ctrl+I", "", "");
    a.remove = makeAction(this, "PopRemove", "&Remove File", "Del", "\u2212", "Remove One File");
    a.clearList = makeAction(this, "PopClearList", "C&lear List", "Ctrl+R", "Clr", "Clear List");
    a.moveUp = makeAction(this, "PushFileUp", "Push File up", "Ctrl+U", "\u25B2", "Push File up");
    a.moveDown = makeAction(this, "PushFileDown", "Push File down", "Ctrl+D", "\u25BC", "Push File down");
    a.copy = makeAction(this, "CopyFileTo", "&Copy File To...", "Ctrl+C", "Copy", "Copy File");
    a.move = makeAction(this, "MoveFileTo", "&Move File To...", "Ctrl+X", "Move", "Move File");
    a.rename = makeAction(this, "PopRename", "Re&name File", "Ctrl+N", "", "");
    a.kill = makeAction(this, "PopDelete", "&Kill This File!", "Ctrl+K", "Kill", "Kill This File!!!");
    a.uncheckAll = makeAction(this, "UncheckAll", "Uncheck All", "Ctrl+Alt+U", "", "");
    a.summary = makeAction(this, "PopSum", "Pla&ylist Summary...", "Ctrl+Y", "", "");

    // The window handles these keys before any control; the others work while the list has the focus. Clear
    // List's key belongs to the "&List" menu's item of the same command.
    for (QAction* action : {a.fileInfo, a.moveUp, a.moveDown, a.copy, a.move, a.rename, a.kill, a.summary}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    for (QAction* action : {a.gotoCurrent, a.remove, a.uncheckAll}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        songList_->addAction(action);
    }
    a.clearList->setShortcutContext(Qt::WidgetShortcut);

    PlaylistEditor& editor = editor_;
    const auto command = [this](QAction* action, auto run) {
        connect(action, &QAction::triggered, this, ErrorHandler::guard([run] { run(); }));
    };
    command(a.remove, [this, &editor] {
        editor.BtnRemoveClick();
        songList_->setFocus();
    });
    command(a.clearList, [&editor] { editor.FileClearListClick(); });
    command(a.moveUp, [&editor] { editor.MoveFileUpClick(); });
    command(a.moveDown, [&editor] { editor.MoveFileDownClick(); });
    command(a.uncheckAll, [&editor] { editor.UncheckAllClick(); });
    command(a.gotoCurrent, [&editor] { editor.GotoCurrent1Click(); });
    // Copy, Move, Rename and Kill are run by the window's file operations; the window runs the summary.
}

void PlaylistPanel::buildMidPanel() {
    const PlaylistActions& a = actions_;
    // Top to bottom on the middle panel.
    const std::pair<const char*, QAction*> buttons[] = {
        {"BtnAddFile", a.addFile},     {"BtnAddAll", a.addAll},  {"BtnRemove", a.remove},
        {"BtnRemoveAll", a.clearList}, {"MoveFileUp", a.moveUp}, {"MoveFileDown", a.moveDown},
        {"SpdCopyFile", a.copy},       {"SpdMoveFile", a.move},  {"BtnKill", a.kill},
    };
    for (const auto& [name, action] : buttons) {
        auto* button = new QToolButton(panelMid_);
        button->setObjectName(QString::fromLatin1(name));
        button->setDefaultAction(action);
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        midButtons_.push_back(button);
    }
    addFileButton_ = midButtons_[0];
    addAllButton_ = midButtons_[1];
}

void PlaylistPanel::buildPopup() {
    popup_->setObjectName(QStringLiteral("PopupSongList"));
    const PlaylistActions& a = actions_;
    for (QAction* action :
         {a.gotoCurrent, a.fileInfo, a.remove, a.clearList, a.copy, a.move, a.rename, a.kill, a.uncheckAll, a.summary})
        popup_->addAction(action);
}

bool PlaylistPanel::zipMode() const { return editor_.zip().active(); }

void PlaylistPanel::applyView() {
    const Playlist& list = editor_.playlist();
    const PlaylistState state{list.count(), list.selectedLine(), list.CurrentIndex(), zipMode()};
    const MidPanelEnables mid = midPanelEnables(state);
    const PopupEnables popup = popupEnables(state);
    const PlaylistActions& a = actions_;
    a.moveUp->setEnabled(mid.pushUp);
    a.moveDown->setEnabled(mid.pushDown);
    a.remove->setEnabled(mid.remove);
    a.clearList->setEnabled(mid.clear);
    a.copy->setEnabled(mid.copy);
    a.move->setEnabled(mid.move);
    a.kill->setEnabled(mid.kill);
    if (popup.gotoCurrent) a.gotoCurrent->setEnabled(*popup.gotoCurrent);
    a.fileInfo->setEnabled(popup.fileInfo);
    a.rename->setEnabled(popup.rename);
    a.uncheckAll->setEnabled(popup.uncheckAll);
    a.summary->setEnabled(popup.summary);
}

void PlaylistPanel::showSelection(int line) {
    showingSelection_ = true;
    QItemSelectionModel* selection = songList_->selectionModel();
    if (!editor_.playlist().isValidIndex(line)) {
        selection->clear();
    } else {
        const QModelIndex index = adapter_->index(line);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        songList_->scrollTo(index);
    }
    showingSelection_ = false;
}

void PlaylistPanel::setMidPanelVisible(bool visible) {
    midVisible_ = visible;
    panelMid_->setVisible(visible);
    layoutChildren();
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
    const int count = static_cast<int>(midButtons_.size());
    const int pitch = std::max(1, (h - 6) / count);
    for (int i = 0; i < count; ++i)
        midButtons_[static_cast<std::size_t>(i)]->setGeometry(3, 3 + i * pitch, MidPanelWidth - 6, pitch - 1);
}

int PlaylistPanel::dropIndexAt(QPoint viewportPos) const {
    if (!songList_->viewport()->rect().contains(viewportPos)) return -1;
    const QModelIndex index = songList_->indexAt(viewportPos);
    return index.isValid() ? index.row() : editor_.playlist().count();
}

void PlaylistPanel::addSelectedFiles(const QString& folder, const std::vector<FileBoxItem>& files) {
    editor_.addSelectedFiles(folder, files);
}

void PlaylistPanel::BtnAddAllClick(const QString& folder, const std::vector<FileBoxItem>& files) {
    editor_.BtnAddAllClick(folder, files);
}

void PlaylistPanel::addOneFile(const QString& path) { editor_.addOneFile(path); }

void PlaylistPanel::insertFromFileBox(int dropIndex, const QString& folder, const std::vector<FileBoxItem>& files) {
    editor_.insertFromFileBox(dropIndex, folder, files);
}

void PlaylistPanel::dropDraggedLine(int dropIndex) { editor_.dropDraggedLine(dropIndex); }

void PlaylistPanel::dropFromDesktop(const QByteArray& uriList) {
    const UriList dropped = UriList::parse(uriList);
    if (editor_.zip().active()) {
        refuseInZipMode();
        return;
    }
    editor_.DropWatchFilesDropped(dropped.paths);
}

void PlaylistPanel::SongListDblClick() { editor_.SongListDblClick(); }

void PlaylistPanel::SongListClick(bool byUser) {
    if (renameEditor_ && renameEditor_->isVisible()) {
        renameEditor_->setFocus();
        return;
    }
    if (byUser && window()->isVisible()) songList_->setFocus();
}

void PlaylistPanel::takeFocus(PlaylistFocus where) {
    switch (where) {
        case PlaylistFocus::SongList: SongListClick(true); break;
        case PlaylistFocus::FolderList: emit focusFolderListRequested(); break;
        case PlaylistFocus::PlaylistPanel: panelSongList_->setFocus(); break;
    }
}

void PlaylistPanel::fitLines(int first, int last) {
    const Playlist& list = editor_.playlist();
    last = std::min(last, list.count() - 1);
    // Only the widest of the new names can widen the extent: it alone is fitted.
    if (!nameWidths_ || nameWidthsFont_ != songList_->font()) {
        nameWidths_ = std::make_unique<NameWidths>(songList_->fontMetrics());
        nameWidthsFont_ = songList_->font();
    }
    const int widest =
        nameWidths_->widest(first, last, [&list](int i) -> const QString& { return list.displayName(i); });
    if (widest > 0) fitWidth(widest);
    FitListExtent(QString(), true);
}

void PlaylistPanel::resetExtent() {
    songList_->setHorizontalExtent(0);
    listExtent_ = 0;
}

void PlaylistPanel::FitListExtent(const QString& text, bool apply) {
    if (!text.isEmpty()) fitWidth(songList_->fontMetrics().horizontalAdvance(text));
    if (apply && songList_->viewport()->width() < listExtent_) songList_->setHorizontalExtent(listExtent_);
}

void PlaylistPanel::fitWidth(int textWidth) {
    // Room for the check box in front of the name, and a margin behind it.
    const int checkBox = songList_->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, songList_) + 8;
    const int needed = textWidth + 20 + checkBox;
    if (songList_->viewport()->width() < needed && listExtent_ < needed) listExtent_ = needed;
}

}  // namespace vorlo
