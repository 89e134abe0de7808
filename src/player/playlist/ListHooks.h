#pragma once

#include "player/playlist/PlaylistPanel.h"

#include <QString>

#include <functional>

namespace vorlo {

// What the list commands need from the playback engine and the main window. The window fills in what it has;
// a hook left empty does nothing (a hook returning bool then answers with the value named below).
struct ListHooks {
    // Stop the media device if it plays and close it if it has a file open.
    std::function<void()> stopAndCloseDevice;
    // `OpenCurrentEntry`: open the playlist's current entry. False when it failed (the engine has told the
    // user). Empty: true.
    std::function<bool()> openCurrentEntry;
    // `ShowPlayingButtons` and `StartPlay`: play the current entry with the playing buttons shown.
    std::function<void()> startPlay;
    // `PickRandomEntry`: make a random entry current (Random or Shuffle is on).
    std::function<void()> pickRandomEntry;
    // Random or Shuffle is on. Empty: false.
    std::function<bool()> randomOrShuffle;
    // Auto play is on. Empty: false.
    std::function<bool()> autoPlay;
    // Sets the window caption and the application title.
    std::function<void(const QString& caption)> setCaption;
    // `ResetCounter`: the counter back to the start of the entry.
    std::function<void()> resetCounter;
    // The targets of both counters become 0 and the position timer stops.
    std::function<void()> stopCounters;
    // The track bar's position and selection end become 0 and it is disabled.
    std::function<void()> resetTrackBar;
    // Zip mode is on. Empty: false.
    std::function<bool()> zipMode;
    // Leave zip mode (the archive's extracted member is removed).
    std::function<void()> leaveZipMode;
    // Make the main window visible and remove the tray icon (the player may have started hidden).
    std::function<void()> showFromTray;
    // Bring the file box's buttons in line with the playlist.
    std::function<void()> refreshFileBoxButtons;
    // Close the in-place rename editor of a playlist line.
    std::function<void()> closeRenameEditor;
    // Give the keyboard focus to the playlist panel.
    std::function<void()> focusPlaylistPanel;
    // Enable or disable a transport button or list menu item; the same commands as the playlist panel's
    // commandEnabled signal.
    std::function<void(ListCommand command, bool enabled)> setCommandEnabled;
    // Enable or disable "&Close List" (menu item FileCloseList and button SpdBtnClose).
    std::function<void(bool enabled)> setCloseListEnabled;
};

}  // namespace vorlo
