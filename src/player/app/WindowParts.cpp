#include "player/app/WindowParts.h"

#include "controls/TSTrackBar.h"
#include "core/settings/Options.h"
#include "player/app/PlayerControls.h"
#include "player/filebox/FileBox.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAction>
#include <QFrame>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>

namespace vorlo {

namespace {

struct PartItem {
    const char* name;
    const char* caption;
    Qt::Key key;
};

// In the order of WindowPart.
constexpr PartItem kPartItems[kWindowPartCount] = {
    {"FileBox", "&File Box", Qt::Key_1}, {"PlayList", "Play &List", Qt::Key_2}, {"TrackB", "Track &Bar", Qt::Key_3},
    {"Menu", "&Menu", Qt::Key_4},        {"Counter", "&Counter", Qt::Key_5},    {"ToolBar", "&ToolBar", Qt::Key_6},
};

// The file box needs this much beside the playlist and the middle panel, so a wide playlist never squeezes it out.
constexpr int kNarrowestFileBox = 20;
constexpr int kNarrowestPlaylist = 20;

}  // namespace

WindowParts::WindowParts(QMainWindow& window, PlayerControls& controls, PlaylistPanel& playlist, FileBox& fileBox)
    : QObject(&window), window_(window), controls_(controls), playlist_(playlist), fileBox_(fileBox) {}

void WindowParts::buildMenu(QMenu* display, QAction* before) {
    partsMenu_ = new QMenu(QStringLiteral("&Parts"), display);
    partsMenu_->setObjectName(QStringLiteral("DisplayParts"));
    for (int i = 0; i < kWindowPartCount; ++i) {
        QAction* item = partsMenu_->addAction(QString::fromLatin1(kPartItems[i].caption));
        item->setObjectName(QString::fromLatin1(kPartItems[i].name));
        item->setCheckable(true);
        item->setShortcut(QKeySequence(Qt::ALT | kPartItems[i].key));
        const auto part = static_cast<WindowPart>(i);
        // The mark is ours: a checkable action would flip it before the command decides whether it may.
        connect(item, &QAction::triggered, this, [this, part] { run(part, Sender::User); });
        actions_[i] = item;
    }
    all_ = new QAction(QStringLiteral("&All"), display);
    all_->setObjectName(QStringLiteral("DisplayAll"));
    all_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_A));
    connect(all_, &QAction::triggered, this, &WindowParts::AllClick);
    display->insertMenu(before, partsMenu_);
    display->insertAction(before, all_);
    syncItems();
}

bool WindowParts::canToggle(WindowPart part) const {
    // While the playlist shows, the counter and the tool bar stay: the window needs their width.
    const bool topRow = part == WindowPart::Counter || part == WindowPart::ToolBar;
    return !topRow || !isShown(WindowPart::PlayList);
}

bool WindowParts::allShown() const {
    return std::all_of(marks_.begin(), marks_.end(), [](bool on) { return on; });
}

void WindowParts::run(WindowPart part, Sender sender) {
    if (sender == Sender::MainWindow) {
        showPart(part, isShown(part));
        return;
    }
    if (!canToggle(part)) {
        syncItems();
        return;
    }
    showPart(part, !isShown(part));
}

void WindowParts::AllClick() {
    for (WindowPart part : {WindowPart::Counter, WindowPart::ToolBar, WindowPart::Menu, WindowPart::TrackBar,
                            WindowPart::PlayList, WindowPart::FileBox})
        turnOnIfOff(part);
}

void WindowParts::takeMarks(const Options& options) {
    setMark(WindowPart::FileBox, options.fileBox);
    setMark(WindowPart::PlayList, options.playList);
    setMark(WindowPart::TrackBar, options.trackBar);
    setMark(WindowPart::Menu, options.menu);
    setMark(WindowPart::Counter, options.counter);
    setMark(WindowPart::ToolBar, options.toolBar);
    syncItems();
}

void WindowParts::applyMarks() {
    for (WindowPart part : {WindowPart::FileBox, WindowPart::PlayList, WindowPart::Menu, WindowPart::Counter,
                            WindowPart::ToolBar, WindowPart::TrackBar})
        run(part, Sender::MainWindow);
}

void WindowParts::storeMarks(Options& options) const {
    options.fileBox = isShown(WindowPart::FileBox);
    options.playList = isShown(WindowPart::PlayList);
    options.trackBar = isShown(WindowPart::TrackBar);
    options.menu = isShown(WindowPart::Menu);
    options.counter = isShown(WindowPart::Counter);
    options.toolBar = isShown(WindowPart::ToolBar);
}

void WindowParts::turnOnIfOff(WindowPart part) {
    if (!isShown(part)) showPart(part, true);
}

void WindowParts::showPart(WindowPart part, bool on) {
    const QSize client = clientSize();
    QSize target = client;
    switch (part) {
        case WindowPart::FileBox:
            if (on) {
                turnOnIfOff(WindowPart::Counter);
                turnOnIfOff(WindowPart::ToolBar);
                turnOnIfOff(WindowPart::PlayList);
                target = clientSize();
            }
            setMark(WindowPart::FileBox, on);
            break;
        case WindowPart::PlayList:
            if (on) {
                turnOnIfOff(WindowPart::Counter);
                turnOnIfOff(WindowPart::ToolBar);
                if (!isShown(WindowPart::PlayList))
                    target = QSize(clientSize().width(), panelsTop() + playlistHeight_ + kPanelGap);
            } else {
                if (isShown(WindowPart::PlayList)) playlistHeight_ = client.height() - kPanelGap - panelsTop();
                // A maximised window could not take the fixed size of a window without its playlist.
                if (window_.isMaximized()) window_.showNormal();
                setMark(WindowPart::FileBox, false);
            }
            setMark(WindowPart::PlayList, on);
            break;
        case WindowPart::TrackBar:
            if (on != isShown(WindowPart::TrackBar) && isShown(WindowPart::PlayList))
                target.rheight() += on ? kTrackBarSpace : -kTrackBarSpace;
            setMark(WindowPart::TrackBar, on);
            break;
        case WindowPart::Menu:
        case WindowPart::Counter:
        case WindowPart::ToolBar: setMark(part, on); break;
    }

    const bool fileBoxNowShown = isShown(WindowPart::FileBox) && !fileBox_.isVisibleTo(&window_);
    window_.menuBar()->setVisible(isShown(WindowPart::Menu));
    controls_.panelSpeed->setVisible(isShown(WindowPart::ToolBar));
    controls_.panelCounter->setVisible(isShown(WindowPart::Counter));
    controls_.trackBar->setVisible(isShown(WindowPart::TrackBar));
    playlist_.setVisible(isShown(WindowPart::PlayList));
    playlist_.setMidPanelVisible(isShown(WindowPart::FileBox));
    fileBox_.setVisible(isShown(WindowPart::FileBox));
    if (fileBoxNowShown) lastClient_ = QSize();  // the playlist takes its width afresh
    syncItems();
    fitWindow(target);
    emit partsChanged();
}

QSize WindowParts::minimumClientSize() const {
    int width = kDesignClientWidth;
    if (!isShown(WindowPart::ToolBar)) width -= controls_.panelSpeed->width() + kPanelGap;
    if (!isShown(WindowPart::Counter)) width -= controls_.panelCounter->width() + kPanelGap;
    if (!isShown(WindowPart::PlayList)) return {width, compactClientHeight()};
    const int height = kDesignClientHeight - (isShown(WindowPart::TrackBar) ? 0 : kTrackBarSpace);
    return {width, height};
}

int WindowParts::panelsTop() const {
    return isShown(WindowPart::TrackBar) ? kPanelsTopWithTrackBar : kPanelsTopWithoutTrackBar;
}

int WindowParts::compactClientHeight() const {
    // Without the playlist the window ends just below the track bar (or the top row).
    return panelsTop() - 1;
}

int WindowParts::menuHeight() const {
    if (!isShown(WindowPart::Menu)) return 0;
    QMenuBar* bar = window_.menuBar();
    // A narrow window wraps the menu bar onto a second line.
    const int wrapped = bar->heightForWidth(window_.width());
    return wrapped > 0 ? wrapped : bar->sizeHint().height();
}

QSize WindowParts::clientSizeFor(QSize windowSize) const { return windowSize - QSize(0, menuHeight()); }

QSize WindowParts::clientSize() const { return clientSizeFor(window_.size()); }

void WindowParts::setClientSize(QSize client) { window_.resize(client.width(), client.height() + menuHeight()); }

void WindowParts::applyLimits() {
    const QSize client = minimumClientSize();
    // The menu bar's height depends on the width it wraps in, so measure it at the width the window takes.
    QMenuBar* bar = window_.menuBar();
    const int wrapped = isShown(WindowPart::Menu) ? bar->heightForWidth(client.width()) : 0;
    const int menu = !isShown(WindowPart::Menu) ? 0 : wrapped > 0 ? wrapped : bar->sizeHint().height();
    const QSize minimum(client.width(), client.height() + menu);
    if (!resizable()) {
        window_.setFixedSize(minimum);
        return;
    }
    QSize maximum(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (const QScreen* screen = window_.screen()) maximum = screen->availableGeometry().size().expandedTo(minimum);
    window_.setMinimumSize(minimum);
    window_.setMaximumSize(maximum);
}

void WindowParts::fitWindow(QSize client) {
    applyLimits();
    const QSize minimum = minimumClientSize();
    const QSize target = resizable() ? client.expandedTo(minimum) : minimum;
    if (!window_.isMaximized() && !window_.isFullScreen()) setClientSize(target);
    relayout();
}

void WindowParts::syncItems() {
    for (int i = 0; i < kWindowPartCount; ++i) {
        if (actions_[i]) actions_[i]->setChecked(marks_[i]);
    }
    if (QAction* counter = action(WindowPart::Counter)) counter->setEnabled(canToggle(WindowPart::Counter));
    if (QAction* toolBar = action(WindowPart::ToolBar)) toolBar->setEnabled(canToggle(WindowPart::ToolBar));
    if (refresh_) refresh_->setEnabled(isShown(WindowPart::FileBox));
}

void WindowParts::relayout() {
    const QSize client = clientSize();
    controls_.layout(client.width());
    const int counterLeft =
        kToolBarLeft + (isShown(WindowPart::ToolBar) ? controls_.panelSpeed->width() + kPanelGap : 0);
    controls_.panelCounter->move(counterLeft, controls_.panelCounter->y());
    if (!isShown(WindowPart::PlayList)) {
        lastClient_ = client;
        return;
    }
    const int top = panelsTop();
    const int height = std::max(0, client.height() - 3 - top);
    if (!isShown(WindowPart::FileBox)) {
        playlist_.setGeometry(kPanelsLeft, top, std::max(0, client.width() - 5), height);
        lastClient_ = client;
        return;
    }
    const int minimumWidth = minimumClientSize().width();
    if (client.width() <= minimumWidth) {
        playlistWidth_ = kPlaylistDesignWidth;  // the design layout comes back at the minimum width
    } else if (!lastClient_.isValid()) {
        playlistWidth_ = kPlaylistDesignWidth + (client.width() - minimumWidth) / 2;
    } else if (client.width() != lastClient_.width()) {
        playlistWidth_ += (client.width() - lastClient_.width()) / 2;  // half of the change, towards zero
    }
    const int besideList = PlaylistPanel::MidPanelGap + PlaylistPanel::MidPanelWidth + kPanelGap;
    const int widest = client.width() - 5 - kPanelsLeft - besideList - kNarrowestFileBox;
    playlistWidth_ = std::max(kNarrowestPlaylist, std::min(playlistWidth_, widest));
    const int panelWidth = playlistWidth_ + PlaylistPanel::MidPanelGap + PlaylistPanel::MidPanelWidth;
    playlist_.setGeometry(kPanelsLeft, top, panelWidth, height);
    const int fileBoxLeft = kPanelsLeft + panelWidth + kPanelGap;
    fileBox_.setGeometry(fileBoxLeft, top, std::max(0, client.width() - 5 - fileBoxLeft), height);
    lastClient_ = client;
}

}  // namespace vorlo
