// Loading a list into the playlist, closing it, and the list history at start-up and shutdown.
#include "controls/TSCheckList.h"
#include "core/app/ErrorHandler.h"
#include "core/app/MessageBoxes.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/MediaPaths.h"
#include "core/settings/Options.h"
#include "player/app/ModalDialogs.h"
#include "player/info/TFormInfo.h"
#include "player/playlist/ListCommands.h"
#include "player/playlist/PlaylistPanel.h"

#include <vector>

namespace vorlo {

void ListCommands::setLoadedListCommands() {
    for (ListCommand command : {ListCommand::Pause, ListCommand::Stop, ListCommand::Next, ListCommand::Previous})
        enable(command, false);
    for (ListCommand command : {ListCommand::Forward, ListCommand::Reverse, ListCommand::SaveList,
                                ListCommand::SaveListAs, ListCommand::ClearList})
        enable(command, true);
    setListOpen(true);
}

void ListCommands::ResetListForLoad() {
    resetListForLoad();
    normalCursor();
}

void ListCommands::resetListForLoad() {
    busy();
    if (hooks_.stopAndCloseDevice) hooks_.stopAndCloseDevice();
    setLoadedListCommands();
    if (hooks_.zipMode && hooks_.zipMode() && hooks_.leaveZipMode) hooks_.leaveZipMode();
    playlist().clear();
}

void ListCommands::LoadPathsIntoList(const QStringList& paths, LoadOrigin origin, int startIndex) {
    guarded([&] { loadPaths(paths, origin, startIndex); });
}

void ListCommands::chooseCurrentEntry(LoadOrigin origin, int startIndex) {
    if (hooks_.randomOrShuffle && hooks_.randomOrShuffle() && hooks_.pickRandomEntry) {
        hooks_.pickRandomEntry();
        return;
    }
    const bool restore = origin == LoadOrigin::StartUp && playlist().isValidIndex(startIndex);
    playlist().setCurrentIndex(restore ? startIndex : 0);
}

void ListCommands::loadPaths(const QStringList& paths, LoadOrigin origin, int startIndex) {
    dialogs_.saveFileName = dialogs_.openFileName;
    const QString listFile = dialogs_.openFileName;
    panel_.songList()->setHorizontalExtent(0);

    std::vector<PlaylistEntry> entries;
    entries.reserve(static_cast<std::size_t>(paths.size()));
    QStringList missing;
    for (const QString& path : paths) {
        if (fileExists(path)) {
            entries.push_back({path, fileNamePart(path), false});
            panel_.FitListExtent(entries.back().displayName, false);
        } else {
            missing << path;
        }
    }
    playlist().append(std::move(entries));

    if (!playlist().isEmpty()) {
        panel_.FitListExtent(QString(), true);
        chooseCurrentEntry(origin, startIndex);
        if (hooks_.openCurrentEntry && !hooks_.openCurrentEntry()) return;
        if (hooks_.autoPlay && hooks_.autoPlay()) {
            if (hooks_.startPlay) hooks_.startPlay();
            enable(ListCommand::Forward, true);
            enable(ListCommand::Reverse, true);
        } else {
            enable(ListCommand::Play, true);
        }
        if (playlist().count() > 1) {
            enable(ListCommand::Next, true);
            enable(ListCommand::Previous, true);
            enable(ListCommand::SortList, true);
        }
        enable(ListCommand::ClearList, true);
        panel_.SongListClick(false);
        if (missing.isEmpty()) {
            playlist().MarkListSaved();
            return;
        }
        normalCursor();
        playlist().MarkListChanged();
        const BoxButton answer = MessageBoxes::show(
            QStringLiteral("File Missing"),
            QStringLiteral("Some files referenced by this mpl playlist are missing, even MIDI Vorlo did not load these "
                           "files, the playlist file remains unchanged. If you're sure that these files are not "
                           "located on a removable drive, you should save the current playlist to avoid this message, "
                           "otherwise you should ignore the message: 'playlist has been changed' when you close this "
                           "playlist file.\nDo you want to check what files are missing from the playlist now?"),
            BoxIcon::Question, BoxButtons::YesNo);
        if (answer == BoxButton::Yes) reportMissing(missing, listFile);
        return;
    }

    normalCursor();
    playlist().MarkListSaved();
    if (origin != LoadOrigin::StartUp) closeList(CloseOrigin::MainWindow);
    const BoxButton answer = MessageBoxes::show(
        QStringLiteral("Files Not Available"),
        QStringLiteral("None of the files in this playlist reference are available now. Please check the status of all "
                       "your removable drive.  Check the content of this playlist now?"),
        BoxIcon::Question, BoxButtons::YesNo);
    if (answer == BoxButton::Yes) {
        enable(ListCommand::Forward, false);
        enable(ListCommand::Reverse, false);
        reportMissing(missing, listFile);
    }
    if (hooks_.showFromTray) hooks_.showFromTray();
}

void ListCommands::reportMissing(const QStringList& missing, const QString& listFile) const {
    TFormInfo report(window_);
    QStringList lines = missing;
    lines << QString() << QStringLiteral("These files are missing from playlist reference ") + listFile;
    report.setReport(QStringLiteral("List of Missing Files"), lines);
    report.centreOver(window_);
    ModalDialogs::exec(report);
}

bool ListCommands::FileCloseListClick(CloseOrigin origin) {
    bool closed = false;
    guarded([&] { closed = closeList(origin); });
    return closed;
}

bool ListCommands::closeList(CloseOrigin origin) {
    if (hooks_.closeRenameEditor) hooks_.closeRenameEditor();
    playlist().settleChangedFlag();
    if (!askSaveChanges(origin != CloseOrigin::ArchiveOpening)) return false;
    if (hooks_.resetCounter) hooks_.resetCounter();
    history_.listClosed();

    for (ListCommand command :
         {ListCommand::Play, ListCommand::Pause, ListCommand::Stop, ListCommand::Next, ListCommand::Previous,
          ListCommand::Forward, ListCommand::Reverse, ListCommand::Eject, ListCommand::SaveList})
        enable(command, false);
    setListOpen(false);
    if (hooks_.stopAndCloseDevice) hooks_.stopAndCloseDevice();
    if (hooks_.resetTrackBar) hooks_.resetTrackBar();

    playlist().clear();
    // With the list empty the middle panel's buttons all go off.
    panel_.SongListClick(false);
    if (origin != CloseOrigin::MainWindow && hooks_.focusPlaylistPanel) hooks_.focusPlaylistPanel();
    if (hooks_.zipMode && hooks_.zipMode()) {
        if (hooks_.leaveZipMode) hooks_.leaveZipMode();
        if (hooks_.refreshFileBoxButtons) hooks_.refreshFileBoxButtons();
    }
    if (hooks_.stopCounters) hooks_.stopCounters();
    if (hooks_.setCaption) hooks_.setCaption(QStringLiteral("MIDI Vorlo"));
    for (ListCommand command :
         {ListCommand::SaveList, ListCommand::SaveListAs, ListCommand::ClearList, ListCommand::SortList})
        enable(command, false);
    panel_.songList()->setHorizontalExtent(0);
    dialogs_.saveFileName = ListDialogs::NoFile;
    return true;
}

void ListCommands::applyOptions(const Options& options) {
    dialogs_.openFileName = fileExists(options.autoLoadList) ? options.autoLoadList : ListDialogs::NoFile;
    if (!options.listDirectory.isEmpty()) dialogs_.openInitialFolder = options.listDirectory;
    startIndex_ = options.lastOne;
    autoLoad_ = options.autoLoad;
}

QString ListCommands::historyFile(const QString& programFolder) {
    return programFolder.isEmpty() ? QString() : programFolder + QStringLiteral("/History.ini");
}

void ListCommands::loadHistory(const QString& programFolder) {
    guarded([&] { history_.load(historyFile(programFolder), dialogs_.openFileName); });
    dialogs_.saveInitialFolder = dialogs_.openInitialFolder;
}

void ListCommands::openListAtStart(const QString& listFile) {
    guarded([&] {
        const QStringList paths = ListFile::read(listFile);
        dialogs_.openFileName = listFile;
        history_.PushHistory(listFile);
        dialogs_.saveFileName = listFile;
        setLoadedListCommands();
        if (hooks_.refreshFileBoxButtons) hooks_.refreshFileBoxButtons();
        playlist().clear();
        loadPaths(paths, LoadOrigin::StartUp, 0);
    });
    normalCursor();
}

void ListCommands::autoLoadAtStart() {
    if (!autoLoad_ || dialogs_.openFileName == ListDialogs::NoFile) return;
    guarded([&] {
        const QString listFile = dialogs_.openFileName;
        const QStringList paths = ListFile::read(listFile);
        setLoadedListCommands();
        if (hooks_.refreshFileBoxButtons) hooks_.refreshFileBoxButtons();
        playlist().clear();
        history_.takeOpenedFromMenu(listFile);
        loadPaths(paths, LoadOrigin::StartUp, startIndex_);
    });
    normalCursor();
}

void ListCommands::storeOptions(Options& options) const { options.lastOne = playlist().CurrentIndex(); }

void ListCommands::saveHistory(const QString& programFolder) const {
    const QString file = historyFile(programFolder);
    if (file.isEmpty() || history_.isEmpty()) return;
    try {
        history_.save(file);
    } catch (const std::exception& error) {
        ErrorHandler::handle(error);
    }
}

}  // namespace vorlo
