#include "core/playback/PlayerView.h"

namespace vorlo {

namespace {

Rgb lit(bool on, Rgb colour) { return on ? colour : colours::kSilver; }

}  // namespace

PlayerView playerView(const TransportState& transport, const PlaylistState& list, const PlayModes& modes) {
    PlayerView view;
    // An open door matters while a CD track is open; with a file open the door is none of the transport's.
    const bool doorOpen = transport.doorOpened && transport.cdAudio;
    const bool ready = transport.entryOpen && !doorOpen;
    // Stopped: Play only; playing: Pause and Stop; paused: all three. A disabled Play is the wish to play.
    view.play = ready && !transport.playWanted;
    view.pause = ready && (transport.playWanted || transport.paused);
    view.stop = view.pause;
    view.next = view.previous = list.lineCount > 1 && !doorOpen;
    view.forward = view.reverse = list.lineCount >= 1 && !doorOpen;
    view.eject = transport.entryOpen && transport.cdAudio;
    view.ejectHint = transport.doorOpened ? QStringLiteral("Close Drive(F9)") : QStringLiteral("Eject CD(F9)");
    if (modes.random) {
        view.nextHint = QStringLiteral("Random Jump(F5)");
        view.previousHint = QStringLiteral("Random Jump(F6)");
        view.trayNext = view.trayPrevious = QStringLiteral("&Random");
    } else if (modes.shuffle) {
        view.nextHint = QStringLiteral("Shuffle(F5)");
        view.previousHint = QStringLiteral("Shuffle(F6)");
        view.trayNext = view.trayPrevious = QStringLiteral("&Shuffle");
    } else {
        view.nextHint = QStringLiteral("Next(F5)");
        view.previousHint = QStringLiteral("Previous(F6)");
        view.trayNext = QStringLiteral("&Next");
        view.trayPrevious = QStringLiteral("&Pre&vious");
    }

    view.replay = view.play || view.stop;
    view.trayPlaying = transport.entryOpen && transport.playWanted;
    // A paused song is a stopped device whose Pause still offers to go on.
    view.trayPause = !transport.devicePlaying && view.pause ? QStringLiteral("C&ontinue") : QStringLiteral("P&ause");

    view.marks = modes;
    view.autoLabel = lit(modes.autoPlay, colours::kWhite);
    view.loopLabel = lit(modes.loop, colours::kFuchsia);
    view.repeatLabel = lit(modes.repeat, colours::kLime);
    view.randomLabel = lit(modes.random, colours::kYellow);
    view.shuffleLabel = lit(modes.shuffle, colours::kRed);
    view.zipLabel = lit(list.zipMode, colours::kAqua);
    if (list.zipMode) view.playlistPanel = colours::kAqua;

    // During the wait the counter shows the wait's seconds and cannot be switched.
    view.switchCounter = transport.wait == WaitPhase::None;
    view.counterColour = transport.counterMode == CounterMode::Remaining ? colours::kRed : colours::kLime;
    view.counter = transport.counter;
    view.trackBar = transport.trackBar;

    view.addList = !list.zipMode;
    view.saveList = list.changed;
    view.saveListAs = list.lineCount >= 1;
    view.sortList = list.lineCount >= 2;
    view.clearList = list.lineCount >= 1;
    view.closeList = list.listOpen;

    view.midPanel = midPanelEnables(list);
    view.popup = popupEnables(list);
    return view;
}

}  // namespace vorlo
