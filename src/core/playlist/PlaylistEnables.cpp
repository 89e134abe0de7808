#include "core/playlist/PlaylistEnables.h"

namespace vorlo {

namespace {
bool selectedIsCurrent(const PlaylistState& s) { return s.selectedLine >= 0 && s.selectedLine == s.currentIndex; }
bool hasSelection(const PlaylistState& s) { return s.selectedLine >= 0 && s.selectedLine < s.lineCount; }
}  // namespace

MidPanelEnables midPanelEnables(const PlaylistState& s) {
    MidPanelEnables on;
    if (s.lineCount == 0) return on;
    const bool selected = hasSelection(s);
    on.clear = true;
    on.copy = s.zipMode ? selectedIsCurrent(s) : true;
    on.move = !s.zipMode;
    if (selected) {
        on.pushUp = s.selectedLine > 0;
        on.pushDown = s.selectedLine < s.lineCount - 1;
        on.remove = true;
        on.kill = !s.zipMode;
    }
    return on;
}

PopupEnables popupEnables(const PlaylistState& s) {
    PopupEnables on;
    if (s.lineCount == 0) {
        on.gotoCurrent = false;
        return on;
    }
    const bool selected = hasSelection(s);
    on.clearList = true;
    on.uncheckAll = true;
    on.move = !s.zipMode;
    on.summary = !s.zipMode;
    on.copy = s.zipMode ? selectedIsCurrent(s) : true;
    if (selected) {
        on.gotoCurrent = true;
        on.fileInfo = s.zipMode ? selectedIsCurrent(s) : true;
        on.remove = true;
        on.rename = !s.zipMode;
        on.kill = !s.zipMode;
    }
    return on;
}

}  // namespace vorlo
