// Loading a list into the playlist, closing it, and the list history at start-up and shutdown.
#include "core/app/ErrorHandler.h"
#include "core/app/Logging.h"
#include "core/app/MessageBoxes.h"
#include "core/playback/PlaybackEngine.h"
#include "core/playlist/ListCommands.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/ListPrompts.h"
#include "core/playlist/MediaPaths.h"
#include "core/playlist/Playlist.h"
#include "core/playlist/PlaylistEditor.h"
#include "core/playlist/ZipSession.h"
#include "core/settings/Options.h"
#include "os/Registry.h"
#include "os/SafeSave.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

namespace vorlo {

void ListCommands::setLoadedListCommands() { setListOpen(true); }

void ListCommands::ResetListForLoad() {
    guarded([this] { resetListForLoad(); });
    normalCursor();
}

void ListCommands::resetListForLoad() {
    busy();
    engine_.closeDevice();
    setLoadedListCommands();
    zip_.leave();
    playlist().clear();
}

void ListCommands::LoadPathsIntoList(const QStringList& paths, LoadOrigin origin, int startIndex) {
    guarded([&] { loadPaths(paths, origin, startIndex); });
}

void ListCommands::chooseCurrentEntry(LoadOrigin origin, int startIndex) {
    if (engine_.modes().random || engine_.modes().shuffle) {
        engine_.sequence().PickRandomEntry();
        return;
    }
    const bool restore = origin == LoadOrigin::StartUp && playlist().isValidIndex(startIndex);
    playlist().setCurrentIndex(restore ? startIndex : 0);
}

bool ListCommands::openFirstEntry(LoadOrigin origin, int startIndex) {
    chooseCurrentEntry(origin, startIndex);
    if (!engine_.OpenCurrentEntry()) return false;
    if (engine_.modes().autoPlay) {
        engine_.ShowPlayingButtons();
        engine_.StartPlay();
    } else {
        engine_.ShowStoppedButtons();
    }
    return true;
}

void ListCommands::loadPaths(const QStringList& paths, LoadOrigin origin, int startIndex) {
    names_.saveFileName = names_.openFileName;
    const QString listFile = names_.openFileName;

    std::vector<PlaylistEntry> entries;
    entries.reserve(static_cast<std::size_t>(paths.size()));
    QStringList missing;
    for (const QString& path : paths) {
        if (fileExists(path))
            entries.push_back({path, fileNamePart(path), false});
        else
            missing << path;
    }
    playlist().append(std::move(entries));
    qCDebug(lcLists) << "list" << listFile << "loaded:" << playlist().count() << "entries," << missing.size()
                     << "missing";

    if (!playlist().isEmpty()) {
        const int loaded = playlist().count();
        // An entry that cannot be opened is taken out of the list (which changes it, or closes it); an output that
        // cannot open (an external synthesizer not there) leaves the list as it was loaded.
        if (!openFirstEntry(origin, startIndex) && playlist().count() != loaded) return;
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
    if (answer == BoxButton::Yes) reportMissing(missing, listFile);
    emit windowWanted();
}

void ListCommands::reportMissing(const QStringList& missing, const QString& listFile) {
    if (!prompts_) return;
    QStringList lines = missing;
    lines << QString() << QStringLiteral("These files are missing from playlist reference ") + listFile;
    prompts_->showReport(QStringLiteral("List of Missing Files"), lines);
}

bool ListCommands::FileCloseListClick(CloseOrigin origin) {
    bool closed = false;
    guarded([&] { closed = closeList(origin); });
    return closed;
}

bool ListCommands::closeList(CloseOrigin origin) {
    emit closeRenameEditorRequested();
    playlist().settleChangedFlag();
    if (!askSaveChanges(origin != CloseOrigin::ArchiveOpening)) return false;
    history_.listClosed();
    setListOpen(false);
    engine_.listClosed();
    playlist().clear();
    qCDebug(lcLists) << "list closed";
    if (origin != CloseOrigin::MainWindow) emit focusPlaylistPanelWanted();
    if (zip_.active()) {
        zip_.leave();
        emit fileBoxRefreshWanted();
    }
    engine_.announce(QStringLiteral("MIDI Vorlo"));
    names_.saveFileName = ListFileNames::NoFile;
    return true;
}

void ListCommands::applyOptions(const Options& options) {
    names_.openFileName = fileExists(options.autoLoadList) ? options.autoLoadList : ListFileNames::NoFile;
    if (!options.listDirectory.isEmpty()) names_.openInitialFolder = options.listDirectory;
    startIndex_ = options.lastOne;
    autoLoad_ = options.autoLoad;
}

QString ListCommands::historyFile(const QString& programFolder) {
    return programFolder.isEmpty() ? QString() : programFolder + QStringLiteral("/History.ini");
}

void ListCommands::loadHistory(const QString& programFolder) {
    guarded([&] { history_.load(historyFile(programFolder), names_.openFileName); });
    names_.saveInitialFolder = names_.openInitialFolder;
}

void ListCommands::openListAtStart(const QString& listFile) {
    guarded([&] {
        const QStringList paths = ListFile::read(listFile);
        names_.openFileName = listFile;
        history_.PushHistory(listFile);
        names_.saveFileName = listFile;
        setLoadedListCommands();
        emit fileBoxRefreshWanted();
        playlist().clear();
        loadPaths(paths, LoadOrigin::StartUp, 0);
    });
    normalCursor();
}

void ListCommands::autoLoadAtStart() {
    if (!autoLoad_ || names_.openFileName == ListFileNames::NoFile) return;
    guarded([&] {
        const QString listFile = names_.openFileName;
        const QStringList paths = ListFile::read(listFile);
        setLoadedListCommands();
        emit fileBoxRefreshWanted();
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
    ErrorHandler::run([&] { history_.save(file); });
}

QString ListCommands::recoveryFile() { return Registry::folder() + QStringLiteral("/Unsaved list.mpl"); }

bool ListCommands::keepForRecovery(const QString& file) {
    playlist().settleChangedFlag();
    if (!playlist().ListChanged() || playlist().isEmpty() || zip_.active()) return false;
    return guarded([&] {
        QStringList paths = playlist().PathList();
        paths.removeIf(&ListFile::holdsLineBreak);  // never added, but a broken line would cost a wrong entry
        ListFile::write(file, paths, SafeSave::Links::Refuse);
        qCDebug(lcLists) << "changed list of" << paths.size() << "entries kept in" << file;
    });
}

void ListCommands::offerRecovery(const QString& file) {
    if (!QFileInfo::exists(file) && !QFileInfo(file).isSymLink()) return;
    const BoxButton answer = MessageBoxes::show(
        QStringLiteral("Recover Unsaved List"),
        QStringLiteral("The player was ended by the system while the playlist had unsaved changes; the list was kept "
                       "in %1.\nDo you want to load it now? (No deletes it.)")
            .arg(file),
        BoxIcon::Question, BoxButtons::YesNo);
    if (answer == BoxButton::Yes) {
        const bool loaded = guarded([&] {
            const QStringList paths = ListFile::read(file);
            resetListForLoad();
            names_.openFileName = ListFileNames::NoFile;
            loadPaths(paths, LoadOrigin::User, 0);
            names_.saveFileName = ListFileNames::NoFile;
            if (!playlist().isEmpty()) playlist().MarkListChanged();
            emit fileBoxRefreshWanted();
        });
        normalCursor();
        if (!loaded) return;
    }
    QFile::remove(file);
}

}  // namespace vorlo
