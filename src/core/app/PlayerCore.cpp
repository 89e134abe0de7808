#include "core/app/PlayerCore.h"

#include "core/app/ErrorHandler.h"

namespace vorlo {

PlayerCore::PlayerCore(media::MIDIPlayer& device, Options& options, PlayModes& modes, QObject* parent)
    : QObject(parent),
      options_(options),
      modes_(modes),
      engine_(device, playlist_, options, modes, fileNames_, zip_),
      editor_(playlist_, zip_),
      lists_(editor_, engine_, zip_, fileNames_),
      files_(editor_, engine_, lists_, zip_) {
    // What the playlist's changes mean for playing. Each is a boundary of its own: nothing is thrown back
    // through the editor's signals.
    connect(&editor_, &PlaylistEditor::entriesAdded, &engine_,
            ErrorHandler::guard([this] { engine_.entriesArrived(); }));
    connect(&editor_, &PlaylistEditor::currentEntryRemoved, &engine_,
            ErrorHandler::guard([this](bool afterDeviceError) { engine_.currentEntryRemoved(afterDeviceError); }));
    connect(&editor_, &PlaylistEditor::listCleared, &engine_, ErrorHandler::guard([this] { engine_.listCleared(); }));
    connect(&editor_, &PlaylistEditor::listSorted, &engine_, ErrorHandler::guard([this] { engine_.listSorted(); }));
    connect(&editor_, &PlaylistEditor::playRequested, &engine_,
            ErrorHandler::guard([this](int index) { engine_.playEntry(index, PlayRequest::UserChoice); }));
    // Nothing in the list can be played, or the list was cleared in zip mode: the list closes.
    connect(&engine_, &PlaybackEngine::closeListRequested, &lists_,
            ErrorHandler::guard([this] { lists_.FileCloseListClick(CloseOrigin::MainWindow); }));
    connect(&editor_, &PlaylistEditor::closeListRequested, &lists_,
            ErrorHandler::guard([this] { lists_.FileCloseListClick(CloseOrigin::MainWindow); }));
    // A media device error escaping a command takes the selected entry out of the list.
    ErrorHandler::setRemoveSelectedEntry([this] {
        const int line = playlist_.selectedLine();
        const QString name = playlist_.isValidIndex(line) ? playlist_.displayName(line) : QString();
        editor_.removeAfterDeviceError();
        return name;
    });

    const auto changed = [this] { emit viewChanged(); };
    connect(&engine_, &PlaybackEngine::stateChanged, this, changed);
    connect(&engine_, &PlaybackEngine::modesChanged, this, changed);
    connect(&playlist_, &Playlist::entriesInserted, this, changed);
    connect(&playlist_, &Playlist::entriesRemoved, this, changed);
    connect(&playlist_, &Playlist::entriesReset, this, changed);
    connect(&playlist_, &Playlist::entryMoved, this, changed);
    connect(&playlist_, &Playlist::selectionChanged, this, changed);
    connect(&playlist_, &Playlist::listChangedFlagChanged, this, changed);
    connect(&zip_, &ZipSession::changed, this, changed);
    connect(&lists_, &ListCommands::listOpenChanged, this, changed);
}

PlayerCore::~PlayerCore() { ErrorHandler::setRemoveSelectedEntry({}); }

PlaylistState PlayerCore::listState() const {
    return {playlist_.count(), playlist_.selectedLine(), playlist_.CurrentIndex(),
            zip_.active(),     playlist_.ListChanged(),  lists_.listOpen()};
}

PlayerView PlayerCore::view() const { return playerView(engine_.state(), listState(), modes_); }

}  // namespace vorlo
