#pragma once

#include "core/playback/PlayModes.h"
#include "core/playback/TransportState.h"
#include "core/playlist/PlaylistEnables.h"

#include <QString>

#include <optional>

namespace vorlo {

// A colour of the counter panel, as red, green and blue.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const Rgb&) const = default;
};

namespace colours {
inline constexpr Rgb kSilver{192, 192, 192};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kFuchsia{255, 0, 255};
inline constexpr Rgb kLime{0, 255, 0};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kAqua{0, 255, 255};
}  // namespace colours

// What the main window shows: which commands are enabled (each one's button, menu item, tray item and key
// together), the hints and captions that change with the state, the mode marks and the counter panel's
// colours, and the counter and track bar themselves.
struct PlayerView {
    // The transport bar (and F2 to F9).
    bool play = false;
    bool pause = false;
    bool stop = false;
    bool next = false;
    bool previous = false;
    bool forward = false;
    bool reverse = false;
    bool eject = false;
    QString nextHint;
    QString previousHint;
    QString ejectHint;

    // The tray icon and its menu.
    bool replay = false;
    bool trayPlaying = false;  // the icon's normal image; greyed otherwise
    QString trayNext;
    QString trayPrevious;
    QString trayPause;

    // The play modes: the marks of their menu items and their labels' colours; the zip label.
    PlayModes marks;
    Rgb autoLabel;
    Rgb loopLabel;
    Rgb repeatLabel;
    Rgb randomLabel;
    Rgb shuffleLabel;
    Rgb zipLabel;

    // The counter, its colour and its switch; the track bar.
    bool switchCounter = false;
    Rgb counterColour;
    CounterReading counter;
    TrackBarView trackBar;

    // The list commands of the "&List" menu and the tool bar.
    bool addList = false;
    bool saveList = false;
    bool saveListAs = false;
    bool sortList = false;
    bool clearList = false;
    bool closeList = false;

    // The playlist panel's colour: aqua in zip mode; none: the button face.
    std::optional<Rgb> playlistPanel;

    // The playlist's middle panel and popup menu.
    MidPanelEnables midPanel;
    PopupEnables popup;

    bool operator==(const PlayerView&) const = default;
};

// The view of a state. A pure function: the same state always shows the same.
PlayerView playerView(const TransportState& transport, const PlaylistState& list, const PlayModes& modes);

}  // namespace vorlo
