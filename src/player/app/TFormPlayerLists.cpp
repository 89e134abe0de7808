// The main window's wiring of the list commands: the "&List" menu and the tool bar's list buttons, and what the
// list commands ask of the window.
#include "player/app/TFormPlayer.h"

#include "controls/TSCheckList.h"
#include "core/app/ErrorHandler.h"
#include "player/app/PlayerActions.h"
#include "player/filebox/FileBox.h"
#include "player/filebox/FileBoxCombos.h"
#include "player/info/TDgInt.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAction>

namespace vorlo {

void TFormPlayer::AutoSearchClick() { runDriveSearch(*core_, this, fileBox_->driveComboBox()->drives()); }

void TFormPlayer::wireLists() {
    const PlayerActions& a = *actions_;
    ListCommands& lists = core_->lists();
    PlaylistEditor& editor = core_->editor();
    const auto command = [this](QAction* action, auto run) {
        connect(action, &QAction::triggered, this, ErrorHandler::guard([run] { run(); }));
    };
    command(a.openList, [&lists] { lists.FileOpenListClick(); });
    command(a.addList, [&lists] { lists.FileAddListClick(); });
    command(a.searchDrives, [this] { AutoSearchClick(); });
    command(a.saveList, [&lists] { lists.FileSaveListClick(); });
    command(a.saveListAs, [&lists] { lists.FileSaveListAsClick(false); });
    command(a.sortList, [&editor] { editor.FileSortListClick(); });
    command(a.clearList, [&editor] { editor.FileClearListClick(); });
    command(a.closeList, [&lists] { lists.FileCloseListClick(CloseOrigin::User); });

    connect(&lists, &ListCommands::windowWanted, this, &TFormPlayer::restoreFromTray);
    connect(&lists, &ListCommands::fileBoxRefreshWanted, this, [this] { fileBox_->FileListBoxClick(); });
    connect(&lists, &ListCommands::addSelectedSpent, this,
            [this] { playlistPanel_->actions().addFile->setEnabled(false); });
    connect(&lists, &ListCommands::focusPlaylistPanelWanted, this, [this] { playlistPanel_->songList()->setFocus(); });
}

}  // namespace vorlo
