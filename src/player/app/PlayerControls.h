#pragma once

#include "core/playback/PlayerView.h"

#include <QColor>
#include <QString>
#include <QToolButton>

class QFrame;
class QWidget;

namespace vorlo {

class PlayerActions;
class TLabel2;
class TSTrackBar;
class digitboxdb;

// A button whose command runs when it is pressed rather than when it is let go: Forward and Reverse step at
// once and then on every tick while held.
class StepButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    // The command already ran on the press.
    void nextCheckState() override {}
};

// The controls of the main window that playing drives: the transport bar, the counter panel with its digit
// boxes and mode labels, and the position track bar. Created once at their design places in the window's client
// area, each button showing its command's action; the window owns them and shows the core's view on them.
struct PlayerControls {
    static constexpr int kTopRowY = 2;
    static constexpr int kRowHeight = 30;
    static constexpr int kTrackBarY = 35;
    static constexpr int kTrackBarHeight = 22;

    // Colours of the counter and the mode labels.
    static inline const QColor kSilver{192, 192, 192};
    static inline const QColor kWhite{255, 255, 255};
    static inline const QColor kFuchsia{255, 0, 255};
    static inline const QColor kLime{0, 255, 0};
    static inline const QColor kYellow{255, 255, 0};
    static inline const QColor kRed{255, 0, 0};

    PlayerControls(QWidget* client, const PlayerActions& actions);

    // Puts the track bar across the client width less 4 pixels.
    void layout(int clientWidth);
    int playlistTop() const { return kTrackBarY + kTrackBarHeight + 3; }

    QFrame* panelControl = nullptr;
    QToolButton* play = nullptr;      // SpdBtnPlay
    QToolButton* pause = nullptr;     // SpdBtnPause
    QToolButton* stop = nullptr;      // SpdBtnStop
    QToolButton* next = nullptr;      // SpdBtnNext
    QToolButton* previous = nullptr;  // SpdBtnPrev
    StepButton* forward = nullptr;    // SpdBtnStep
    StepButton* reverse = nullptr;    // SpdBtnBack
    QToolButton* eject = nullptr;     // SpdEject

    QFrame* panelSpeed = nullptr;      // the tool bar
    QToolButton* oneTouch = nullptr;   // SpdBtnCursor
    QToolButton* openList = nullptr;   // SpeedBtnOpen
    QToolButton* saveList = nullptr;   // SpeedBtnSave
    QToolButton* closeList = nullptr;  // SpdBtnClose
    QToolButton* volume = nullptr;     // SpdBtnVolume
    QToolButton* shrink = nullptr;     // SpdBtnShrink
    QToolButton* refresh = nullptr;    // SpeedBtnRefresh

    QFrame* panelCounter = nullptr;
    digitboxdb* minutes = nullptr;    // DgMinIn
    digitboxdb* seconds = nullptr;    // DgSecIn
    TLabel2* counterLabel = nullptr;  // LblCounter
    TLabel2* labelAuto = nullptr;
    TLabel2* labelLoop = nullptr;
    TLabel2* labelRepeat = nullptr;
    TLabel2* labelRandom = nullptr;
    TLabel2* labelShuffle = nullptr;
    TLabel2* labelZip = nullptr;

    TSTrackBar* trackBar = nullptr;
};

// Sets a label's text colour.
void setLabelColour(QWidget* label, const QColor& colour);
QColor toColor(Rgb colour);

}  // namespace vorlo
