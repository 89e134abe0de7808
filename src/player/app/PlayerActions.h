#pragma once

#include <QObject>

class QAction;
class QStyle;

namespace vorlo {

// Every command of the main window as one action, shared by its button, its menu item, its tray item and its
// key. Enabling, marks, hints and tray captions follow the core's view (the window applies it); a key acts
// only while its command is enabled. The playlist's own commands are the playlist panel's (PlaylistActions).
class PlayerActions : public QObject {
    Q_OBJECT
public:
    // `style` draws the transport and tool bar icons.
    PlayerActions(QStyle* style, QObject* parent);

    // The transport bar (F2 to F9) and the tray.
    QAction* play;      // PopPlay "&Play", "Play(F2)"
    QAction* pause;     // PopPause "P&ause" / "C&ontinue", "Pause(F3)"
    QAction* stop;      // PopStop "&Stop", "Stop(F4)"
    QAction* next;      // PopNext "&Next", "Next(F5)"
    QAction* previous;  // PopPrev "Pre&vious", "Previous(F6)"
    QAction* forward;   // StepForward "Forward(F7)": a step; the button also steps while held
    QAction* reverse;   // StepBack "Reverse(F8)"
    QAction* eject;     // Eject "Eject CD(F9)" / "Close Drive(F9)"
    QAction* replay;    // PopReplay "&Replay"

    // "&Play Modes" and the mode labels.
    QAction* autoPlay;     // AutoPlay "&Auto" Ctrl+1
    QAction* loopPlay;     // LoopPlay "&Loop" Ctrl+2
    QAction* repeatPlay;   // RepeatPlay "&Repeat" Ctrl+3
    QAction* randomPlay;   // RandomPlay "Ran&dom" Ctrl+4
    QAction* shufflePlay;  // ShufflePlay "&Shuffle" Ctrl+5

    // "&Options" and "&Display" items that belong to playing.
    QAction* configuration;   // Configuration "&Configuration..."
    QAction* resetMidiNow;    // MIDIResetNow "Reset MIDI &Now!" Ctrl+Alt+R
    QAction* timeCount;       // TimeCount "&Switch Counter" Alt+S; also the counter's clicks
    QAction* volume;          // VolumeControl "&Volume Control..." Ctrl+V; SpdBtnVolume
    QAction* multimedia;      // MultimediaSetting "&Multimedia Setting..." Ctrl+M
    QAction* hide;            // DisplayHide "&Hide" Alt+H; SpdBtnShrink
    QAction* refreshFileBox;  // RefreshFileBox "&Refresh File Box" Alt+R
    QAction* lyrics;          // ShowLyrics "&Lyrics" Ctrl+L: the lyrics window

    // The "&List" menu and the tool bar.
    QAction* openList;      // FileOpenList "&Open List..." Ctrl+O; SpeedBtnOpen
    QAction* addList;       // FileAddList "&Add List..." Ctrl+A
    QAction* searchDrives;  // AutoSearch "Search All Drives..."
    QAction* saveList;      // FileSaveList "&Save List" Ctrl+S; SpeedBtnSave
    QAction* saveListAs;    // FileSaveListAs "Save List &As..."
    QAction* sortList;      // FileSortList "&Sort List"
    QAction* clearList;     // FileClearList "Clea&r List" Ctrl+R
    QAction* closeList;     // FileCloseList "&Close List" Ctrl+E; SpdBtnClose
    QAction* exit;          // FileExit "E&xit" Alt+F4; tray "E&xit"

    // The tray's own items: "&Open List" runs Open List under the tray's caption.
    QAction* trayOpenList;  // TrayOpenList "&Open List"
    QAction* trayRestore;   // TrayRestore "&Restore"

    // "&Help".
    QAction* helpContents;  // HelpContents "&Contents" F1
    QAction* about;         // HelpAbout "&About..."

    // The play modes' items in menu order: Loop, Repeat, Random, Shuffle, Auto.
    QAction* const* modeItems() const { return modes_; }
    static constexpr int kModeCount = 5;

private:
    QAction* modes_[kModeCount];
};

}  // namespace vorlo
