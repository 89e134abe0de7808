// The main window's wiring of playing: the transport actions and their buttons, the counter, the track bar,
// the mode labels and items, and the core's view shown on all of them.
#include "player/app/TFormPlayer.h"

#include "controls/TDigitBox.h"
#include "controls/TLabel2.h"
#include "controls/TSCheckList.h"
#include "controls/TSTrackBar.h"
#include "core/app/ErrorHandler.h"
#include "core/playback/Captions.h"
#include "player/app/PlayerActions.h"
#include "player/app/PlayerControls.h"
#include "player/info/TDgInt.h"
#include "player/info/TFormInfo.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSystemTrayIcon>

namespace vorlo {

namespace {

// Connects an action to a command of the core inside its error boundary.
template <class Command>
void onTriggered(QAction* action, QObject* context, Command command) {
    QObject::connect(action, &QAction::triggered, context, ErrorHandler::guard([command] { command(); }));
}

}  // namespace

void TFormPlayer::setApplicationTitle(const QString& title) {
    applicationTitle_ = vorlo::applicationTitle(title);
    if (trayIcon_) trayIcon_->setToolTip(title.left(64));
}

void TFormPlayer::wirePlayback() {
    const PlayerActions& a = *actions_;
    PlayerControls& ui = *controls_;
    PlaybackEngine& engine = core_->engine();
    PositionDisplay& position = core_->position();

    connect(&engine, &PlaybackEngine::captionChanged, this, &QWidget::setWindowTitle);
    connect(&engine, &PlaybackEngine::titleChanged, this, &TFormPlayer::setApplicationTitle);
    connect(&engine, &PlaybackEngine::closeRequested, this, ErrorHandler::guard([this] { close(); }));

    // The transport. A key acts only while its command is enabled, which QAction sees to itself.
    onTriggered(a.play, this, [&engine] { engine.SpdBtnPlayClick(); });
    onTriggered(a.pause, this, [&engine] { engine.SpdBtnPauseClick(); });
    onTriggered(a.stop, this, [this, &engine] {
        engine.SpdBtnStopClick();
        playlistPanel_->songList()->setFocus();
    });
    onTriggered(a.next, this, [&engine] { engine.SpdBtnNextClick(); });
    onTriggered(a.previous, this, [&engine] { engine.SpdBtnPrevClick(); });
    onTriggered(a.eject, this, [&engine] { engine.SpdEjectClick(); });
    onTriggered(a.replay, this, [&engine] { engine.PopReplayClick(); });
    onTriggered(a.forward, this, [&position] { position.StepForward(); });
    onTriggered(a.reverse, this, [&position] { position.StepBack(); });
    for (QAction* key : {a.play, a.pause, a.stop, a.next, a.previous, a.forward, a.reverse, a.eject}) addAction(key);
    // Forward and Reverse step once when pressed and again on every tick while held.
    connect(ui.forward, &QAbstractButton::pressed, this, [this, &position] {
        actions_->forward->trigger();
        position.setForwardHeld(true);
    });
    connect(ui.forward, &QAbstractButton::released, this, [&position] { position.setForwardHeld(false); });
    connect(ui.reverse, &QAbstractButton::pressed, this, [this, &position] {
        actions_->reverse->trigger();
        position.setReverseHeld(true);
    });
    connect(ui.reverse, &QAbstractButton::released, this, [&position] { position.setReverseHeld(false); });

    // The modes, "Reset MIDI &Now!" and the counter switch.
    onTriggered(a.autoPlay, this, [&engine] { engine.AutoPlayClick(true); });
    onTriggered(a.loopPlay, this, [&engine] { engine.LoopPlayClick(true); });
    onTriggered(a.repeatPlay, this, [&engine] { engine.RepeatPlayClick(true); });
    onTriggered(a.randomPlay, this, [&engine] { engine.RandomPlayClick(true); });
    onTriggered(a.shufflePlay, this, [&engine] { engine.ShufflePlayClick(true); });
    onTriggered(a.resetMidiNow, this, [&engine] { engine.MIDIResetNowClick(); });
    onTriggered(a.timeCount, this, [&position] { position.TimeLabelClick(true); });
    for (digitboxdb* box : {ui.minutes, ui.seconds}) connect(box, &digitboxdb::OnClick, a.timeCount, &QAction::trigger);

    // The track bar reports the user's moves, presses and releases.
    connect(ui.trackBar, &QSlider::valueChanged, this,
            ErrorHandler::guard([&position](int second) { position.TrackBarChange(second); }));
    connect(ui.trackBar, &TSTrackBar::OnMouseDown, this,
            ErrorHandler::guard([&position](TSTrackBar*, Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                if (button != Qt::LeftButton) return;
                QApplication::setOverrideCursor(Qt::ClosedHandCursor);
                position.TrackBarMouseDown();
            }));
    connect(ui.trackBar, &TSTrackBar::OnMouseUp, this,
            ErrorHandler::guard([&position](TSTrackBar*, Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                if (button != Qt::LeftButton) return;
                QApplication::restoreOverrideCursor();
                position.TrackBarMouseUp();
            }));

    // The counter's label and the mode labels run their commands and underline themselves on hover.
    for (TLabel2* label :
         {ui.counterLabel, ui.labelAuto, ui.labelLoop, ui.labelRepeat, ui.labelRandom, ui.labelShuffle}) {
        label->installEventFilter(this);
        connect(label, &TLabel2::OnMouseEnter, label, [label] {
            QFont font = label->font();
            font.setUnderline(true);
            label->setFont(font);
        });
        connect(label, &TLabel2::OnMouseLeave, label, [label] {
            QFont font = label->font();
            font.setUnderline(false);
            font.setBold(false);
            font.setItalic(false);
            font.setStrikeOut(false);
            label->setFont(font);
        });
    }

    const PlaylistActions& list = playlistPanel_->actions();
    onTriggered(list.fileInfo, this, [this] { showEntryInformation(); });
    // The summary is refused in zip mode, otherwise it asks first.
    onTriggered(list.summary, this, [this] { runPlaylistSummary(*core_, this); });
    // The window handles the playlist's keys before any control, also while the playlist is hidden.
    for (QAction* key :
         {list.fileInfo, list.moveUp, list.moveDown, list.copy, list.move, list.rename, list.kill, list.summary})
        addAction(key);
}

void TFormPlayer::showEntryInformation() {
    vorlo::showEntryInformation(this, core_->playlist(), core_->playlist().selectedLine(), core_->zip().active());
}

bool TFormPlayer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const PlayerControls& ui = *controls_;
        const PlayerActions& a = *actions_;
        const std::pair<QObject*, QAction*> labels[] = {
            {ui.counterLabel, a.timeCount}, {ui.labelAuto, a.autoPlay},     {ui.labelLoop, a.loopPlay},
            {ui.labelRepeat, a.repeatPlay}, {ui.labelRandom, a.randomPlay}, {ui.labelShuffle, a.shufflePlay}};
        for (const auto& [label, command] : labels) {
            if (watched == label) command->trigger();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormPlayer::applyView() {
    const PlayerView view = core_->view();
    if (shown_ && *shown_ == view) return;
    const PlayerActions& a = *actions_;
    PlayerControls& ui = *controls_;

    a.play->setEnabled(view.play);
    a.pause->setEnabled(view.pause);
    a.stop->setEnabled(view.stop);
    a.next->setEnabled(view.next);
    a.previous->setEnabled(view.previous);
    a.forward->setEnabled(view.forward);
    a.reverse->setEnabled(view.reverse);
    a.eject->setEnabled(view.eject);
    a.replay->setEnabled(view.replay);
    a.next->setToolTip(view.nextHint);
    a.previous->setToolTip(view.previousHint);
    a.eject->setToolTip(view.ejectHint);
    a.next->setText(view.trayNext);
    a.previous->setText(view.trayPrevious);
    a.pause->setText(view.trayPause);

    a.autoPlay->setChecked(view.marks.autoPlay);
    a.loopPlay->setChecked(view.marks.loop);
    a.repeatPlay->setChecked(view.marks.repeat);
    a.randomPlay->setChecked(view.marks.random);
    a.shufflePlay->setChecked(view.marks.shuffle);
    setLabelColour(ui.labelAuto, toColor(view.autoLabel));
    setLabelColour(ui.labelLoop, toColor(view.loopLabel));
    setLabelColour(ui.labelRepeat, toColor(view.repeatLabel));
    setLabelColour(ui.labelRandom, toColor(view.randomLabel));
    setLabelColour(ui.labelShuffle, toColor(view.shuffleLabel));
    setLabelColour(ui.labelZip, toColor(view.zipLabel));
    showPlaylistPanelColour(view.playlistPanel);

    a.timeCount->setEnabled(view.switchCounter);
    const QColor counter = toColor(view.counterColour);
    ui.minutes->setColor1(counter);
    ui.seconds->setColor1(counter);
    setLabelColour(ui.counterLabel, counter);
    ui.minutes->setValue(static_cast<std::uint32_t>(view.counter.minutes));
    ui.seconds->setValue(static_cast<std::uint32_t>(view.counter.seconds));
    showTrackBar(view.trackBar);

    a.addList->setEnabled(view.addList);
    a.saveList->setEnabled(view.saveList);
    a.saveListAs->setEnabled(view.saveListAs);
    a.sortList->setEnabled(view.sortList);
    a.clearList->setEnabled(view.clearList);
    a.closeList->setEnabled(view.closeList);

    updateTrayImage(view.trayPlaying);
    shown_ = view;
}

void TFormPlayer::showPlaylistPanelColour(const std::optional<Rgb>& colour) {
    QFrame* panel = playlistPanel_->songListPanel();
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window,
                     colour ? toColor(*colour) : QApplication::palette(panel).color(QPalette::Button));
    panel->setPalette(palette);
}

void TFormPlayer::showTrackBar(const TrackBarView& bar) {
    TSTrackBar& trackBar = *controls_->trackBar;
    // What the core shows is no move of the user's.
    const QSignalBlocker quiet(&trackBar);
    trackBar.setEnabled(bar.enabled);
    trackBar.setRange(0, bar.maximum);
    trackBar.setValue(bar.position);
    trackBar.setSelection(bar.selStart, bar.selEnd);
}

void TFormPlayer::updateTrayImage(bool playing) {
    trayPlaying_ = playing;
    if (!trayIcon_) return;
    if (playing) {
        trayIcon_->setIcon(windowIcon());
        return;
    }
    const QPixmap greyed = windowIcon().pixmap(QSize(32, 32), QIcon::Disabled);
    trayIcon_->setIcon(QIcon(greyed));
}

}  // namespace vorlo
