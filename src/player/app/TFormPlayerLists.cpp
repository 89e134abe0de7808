// The main window's wiring of the list commands: the "&List" menu, the list file of the playlist, start-up
// loading and the shutdown writes of the list history.
#include "player/app/TFormPlayer.h"

#include "controls/TDigitBox.h"
#include "controls/TSCheckList.h"
#include "controls/TSTrackBar.h"
#include "core/playback/Captions.h"
#include "player/app/PlayerControls.h"
#include "player/filebox/FileBox.h"
#include "player/playback/PlaybackEngine.h"
#include "player/playback/PositionDisplay.h"
#include "player/playlist/ListCommands.h"
#include "player/playlist/ListMenuActions.h"
#include "player/playlist/PlaylistPanel.h"
#include "player/playlist/RecentListsMenu.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace vorlo {

void TFormPlayer::setCommandEnabled(ListCommand command, bool enabled) {
    PlayerControls& c = *controls_;
    switch (command) {
        case ListCommand::Play: c.play->setEnabled(enabled); break;
        case ListCommand::Pause: c.pause->setEnabled(enabled); break;
        case ListCommand::Stop: c.stop->setEnabled(enabled); break;
        case ListCommand::Next: c.next->setEnabled(enabled); break;
        case ListCommand::Previous: c.previous->setEnabled(enabled); break;
        case ListCommand::Forward: c.forward->setEnabled(enabled); break;
        case ListCommand::Reverse: c.reverse->setEnabled(enabled); break;
        case ListCommand::Eject: c.eject->setEnabled(enabled); break;
        case ListCommand::SaveList: c.saveList->setEnabled(enabled); break;
        default: break;  // the list menu items follow the list commands themselves
    }
}

void TFormPlayer::wireLists(QMenu* listMenu) {
    ListHooks hooks;
    hooks.stopAndCloseDevice = [this] {
        if (!device_->isOpen()) return;
        if (device_->mode() == media::Mode::Playing) device_->stop();
        device_->close();
    };
    hooks.openCurrentEntry = [this] { return engine_->OpenCurrentEntry(); };
    hooks.startPlay = [this] {
        engine_->ShowPlayingButtons();
        engine_->StartPlay();
    };
    hooks.pickRandomEntry = [this] { engine_->sequence().PickRandomEntry(); };
    hooks.randomOrShuffle = [this] { return modes_.random || modes_.shuffle; };
    hooks.autoPlay = [this] { return modes_.autoPlay; };
    hooks.setCaption = [this](const QString& caption) {
        setWindowTitle(caption);
        setApplicationTitle(caption);
    };
    hooks.resetCounter = [this] { position_->ResetCounter(); };
    hooks.stopCounters = [this] {
        controls_->minutes->setTarget(0);
        controls_->seconds->setTarget(0);
        position_->stopTimer();
    };
    hooks.resetTrackBar = [this] {
        controls_->trackBar->setValue(0);
        controls_->trackBar->setSelection(0, 0);
        controls_->trackBar->setEnabled(false);
    };
    hooks.zipMode = [this] { return zipMode_; };
    hooks.showFromTray = [this] { restoreFromTray(); };
    hooks.focusPlaylistPanel = [this] { playlistPanel_->songList()->setFocus(); };
    hooks.setCommandEnabled = [this](ListCommand command, bool enabled) { setCommandEnabled(command, enabled); };
    hooks.setCloseListEnabled = [this](bool enabled) { controls_->closeList->setEnabled(enabled); };
    hooks.refreshFileBoxButtons = [this] { fileBox_->FileListBoxClick(); };
    listCommands_ = new ListCommands(*playlistPanel_, std::move(hooks), this);
    listCommands_->setParent(this);  // the window owns it

    const ListMenuActions& actions = listCommands_->menuActions();
    QAction* exit = fileExit_;
    listMenu->insertMenu(exit, listCommands_->recentMenu());
    for (QAction* action : {actions.openList, actions.addList, actions.saveList, actions.saveListAs, actions.sortList,
                            actions.clearList, actions.closeList})
        listMenu->insertAction(exit, action);
    listMenu->insertSeparator(exit);
}

}  // namespace vorlo
