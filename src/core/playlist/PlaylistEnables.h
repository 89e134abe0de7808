#pragma once

#include <optional>

namespace vorlo {

// What the playlist's buttons and popup items may do, decided from the list alone.
struct PlaylistState {
    int lineCount = 0;
    int selectedLine = -1;  // -1: no line selected
    int currentIndex = -1;
    bool zipMode = false;
    bool changed = false;   // the list differs from its list file
    bool listOpen = false;  // a list (or an archive) is open: it can be closed

    bool operator==(const PlaylistState&) const = default;
};

// The middle panel's buttons that act on playlist lines.
struct MidPanelEnables {
    bool pushUp = false;
    bool pushDown = false;
    bool remove = false;
    bool clear = false;
    bool copy = false;
    bool move = false;
    bool kill = false;

    bool operator==(const MidPanelEnables&) const = default;
};

// The playlist's popup menu. `gotoCurrent` is empty where the item keeps whatever state it had.
struct PopupEnables {
    std::optional<bool> gotoCurrent;
    bool fileInfo = false;
    bool remove = false;
    bool clearList = false;
    bool copy = false;
    bool move = false;
    bool rename = false;
    bool kill = false;
    bool uncheckAll = false;
    bool summary = false;

    bool operator==(const PopupEnables&) const = default;
};

// In zip mode only the member being played exists on disk, so only it can be copied or inspected; moving,
// renaming and killing archive members is never offered.
MidPanelEnables midPanelEnables(const PlaylistState& state);
PopupEnables popupEnables(const PlaylistState& state);

}  // namespace vorlo
