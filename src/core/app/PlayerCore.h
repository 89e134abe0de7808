#pragma once

#include "core/files/FileCommands.h"
#include "core/playback/PlaybackEngine.h"
#include "core/playback/PlayerView.h"
#include "core/playlist/ListCommands.h"
#include "core/playlist/ListFileNames.h"
#include "core/playlist/Playlist.h"
#include "core/playlist/PlaylistEditor.h"
#include "core/playlist/ZipSession.h"

#include <QObject>

namespace vorlo {

struct Options;
struct PlayModes;

// The player without its window: the playlist, zip mode, the playback engine, the playlist's editing commands
// and the list commands, wired to each other. The window holds one, shows its view() and turns the user's
// input into its commands; tests drive one directly. It works on the options, the play modes and the media
// device it is given, which outlive it. User-interface thread only.
class PlayerCore : public QObject {
    Q_OBJECT
public:
    PlayerCore(media::MIDIPlayer& device, Options& options, PlayModes& modes, QObject* parent = nullptr);
    ~PlayerCore() override;

    Options& options() { return options_; }
    PlayModes& modes() { return modes_; }
    Playlist& playlist() { return playlist_; }
    const Playlist& playlist() const { return playlist_; }
    ZipSession& zip() { return zip_; }
    ListFileNames& fileNames() { return fileNames_; }
    PlaybackEngine& engine() { return engine_; }
    PositionDisplay& position() { return engine_.position(); }
    PlaylistEditor& editor() { return editor_; }
    ListCommands& lists() { return lists_; }
    FileCommands& files() { return files_; }
    media::MIDIPlayer& device() { return engine_.device(); }

    // The playlist as the enables see it.
    PlaylistState listState() const;
    // What the window shows now.
    PlayerView view() const;

signals:
    // Anything the view shows may have changed.
    void viewChanged();

private:
    Options& options_;
    PlayModes& modes_;
    Playlist playlist_;
    ZipSession zip_;
    ListFileNames fileNames_;
    PlaybackEngine engine_;
    PlaylistEditor editor_;
    ListCommands lists_;
    FileCommands files_;
};

}  // namespace vorlo
