#include "player/app/PlayerActions.h"

#include <QAction>
#include <QStyle>

namespace vorlo {

namespace {

struct Design {
    const char* name;
    const char* caption;
    const char* hint;  // the button's hint; empty: the action has no button
    QKeySequence key;
};

QAction* make(QObject* parent, const Design& design, QIcon icon = {}) {
    auto* action = new QAction(QString::fromUtf8(design.caption), parent);
    action->setObjectName(QString::fromLatin1(design.name));
    if (*design.hint) action->setToolTip(QString::fromUtf8(design.hint));
    if (!design.key.isEmpty()) action->setShortcut(design.key);
    if (!icon.isNull()) {
        action->setIcon(icon);
        // The icon is the button's; menus show the caption alone.
        action->setIconVisibleInMenu(false);
    }
    return action;
}

}  // namespace

PlayerActions::PlayerActions(QStyle* style, QObject* parent) : QObject(parent) {
    const auto icon = [style](QStyle::StandardPixmap pixmap) { return style->standardIcon(pixmap); };
    play = make(this, {"PopPlay", "&Play", "Play(F2)", Qt::Key_F2}, icon(QStyle::SP_MediaPlay));
    pause = make(this, {"PopPause", "P&ause", "Pause(F3)", Qt::Key_F3}, icon(QStyle::SP_MediaPause));
    stop = make(this, {"PopStop", "&Stop", "Stop(F4)", Qt::Key_F4}, icon(QStyle::SP_MediaStop));
    next = make(this, {"PopNext", "&Next", "Next(F5)", Qt::Key_F5}, icon(QStyle::SP_MediaSkipForward));
    previous = make(this, {"PopPrev", "Pre&vious", "Previous(F6)", Qt::Key_F6}, icon(QStyle::SP_MediaSkipBackward));
    forward = make(this, {"StepForward", "Forward", "Forward(F7)", Qt::Key_F7}, icon(QStyle::SP_MediaSeekForward));
    reverse = make(this, {"StepBack", "Reverse", "Reverse(F8)", Qt::Key_F8}, icon(QStyle::SP_MediaSeekBackward));
    eject = make(this, {"Eject", "Eject CD", "Eject CD(F9)", Qt::Key_F9});
    eject->setIconText(QString(QChar(0x23CF)));
    replay = make(this, {"PopReplay", "&Replay", "", {}});

    autoPlay = make(this, {"AutoPlay", "&Auto", "", QKeySequence(Qt::CTRL | Qt::Key_1)});
    loopPlay = make(this, {"LoopPlay", "&Loop", "", QKeySequence(Qt::CTRL | Qt::Key_2)});
    repeatPlay = make(this, {"RepeatPlay", "&Repeat", "", QKeySequence(Qt::CTRL | Qt::Key_3)});
    randomPlay = make(this, {"RandomPlay", "Ran&dom", "", QKeySequence(Qt::CTRL | Qt::Key_4)});
    shufflePlay = make(this, {"ShufflePlay", "&Shuffle", "", QKeySequence(Qt::CTRL | Qt::Key_5)});
    QAction* const inMenuOrder[kModeCount] = {loopPlay, repeatPlay, randomPlay, shufflePlay, autoPlay};
    for (int i = 0; i < kModeCount; ++i) {
        modes_[i] = inMenuOrder[i];
        modes_[i]->setCheckable(true);
    }

    configuration = make(this, {"Configuration", "&Configuration...", "", {}});
    resetMidiNow = make(this, {"MIDIResetNow", "Reset MIDI &Now!", "", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R)});
    timeCount = make(this, {"TimeCount", "&Switch Counter", "", QKeySequence(Qt::ALT | Qt::Key_S)});
    volume = make(this, {"VolumeControl", "&Volume Control...", "Volume Control", QKeySequence(Qt::CTRL | Qt::Key_V)},
                  icon(QStyle::SP_MediaVolume));
    multimedia = make(this, {"MultimediaSetting", "&Multimedia Setting...", "", QKeySequence(Qt::CTRL | Qt::Key_M)});
    hide = make(this, {"DisplayHide", "&Hide", "Hide", QKeySequence(Qt::ALT | Qt::Key_H)},
                icon(QStyle::SP_TitleBarMinButton));
    refreshFileBox = make(this, {"RefreshFileBox", "&Refresh File Box", "", QKeySequence(Qt::ALT | Qt::Key_R)});
    lyrics = make(this, {"ShowLyrics", "&Lyrics", "", QKeySequence(Qt::CTRL | Qt::Key_L)});

    openList = make(this, {"FileOpenList", "&Open List...", "Open List", QKeySequence(Qt::CTRL | Qt::Key_O)},
                    icon(QStyle::SP_DialogOpenButton));
    addList = make(this, {"FileAddList", "&Add List...", "", QKeySequence(Qt::CTRL | Qt::Key_A)});
    searchDrives = make(this, {"AutoSearch", "Search All Drives...", "", {}});
    saveList = make(this, {"FileSaveList", "&Save List", "Save List", QKeySequence(Qt::CTRL | Qt::Key_S)},
                    icon(QStyle::SP_DialogSaveButton));
    saveListAs = make(this, {"FileSaveListAs", "Save List &As...", "", {}});
    sortList = make(this, {"FileSortList", "&Sort List", "", {}});
    clearList = make(this, {"FileClearList", "Clea&r List", "", QKeySequence(Qt::CTRL | Qt::Key_R)});
    closeList = make(this, {"FileCloseList", "&Close List", "Close List", QKeySequence(Qt::CTRL | Qt::Key_E)},
                     icon(QStyle::SP_DialogCloseButton));
    exit = make(this, {"FileExit", "E&xit", "", QKeySequence(Qt::ALT | Qt::Key_F4)});

    trayOpenList = make(this, {"TrayOpenList", "&Open List", "", {}});
    connect(trayOpenList, &QAction::triggered, openList, &QAction::trigger);
    trayRestore = make(this, {"TrayRestore", "&Restore", "", {}});

    helpContents = make(this, {"HelpContents", "&Contents", "", Qt::Key_F1});
    about = make(this, {"HelpAbout", "&About...", "", {}});

    // Until the core's view says otherwise: nothing to play, save, sort, clear or close.
    for (QAction* off : {play, pause, stop, next, previous, forward, reverse, eject, replay, saveList, saveListAs,
                         sortList, clearList, closeList})
        off->setEnabled(false);
}

}  // namespace vorlo
