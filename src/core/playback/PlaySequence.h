#pragma once

#include "core/playback/PlayModes.h"
#include "core/playback/RandomGenerator.h"

#include <QString>

namespace vorlo {

class Playlist;
struct Options;

// Chooses what plays next: the advance through the playlist by the play modes, skipping checked entries, the
// random and shuffle picks, the end of the list. It only moves `CurrentIndex` and check marks; opening and
// playing the chosen entry is the playback engine's work.
class PlaySequence {
public:
    enum class Advance {
        Continue,      // a next entry is current: open and play it
        EndReached,    // the end of the list: open the current entry and wait, stopped
        CloseProgram,  // the close-at-end option: the program ends without asking anything
    };

    // The close-at-end and auto-check options are read from `options` at each step.
    PlaySequence(Playlist& playlist, const PlayModes& modes, RandomGenerator& random, const Options& options);

    // `PickRandomEntry`: a random entry becomes current.
    void PickRandomEntry();

    // `AdvanceToNext`. `devicePath` is the file open on the media device (the entry just played), which a new
    // shuffle pass does not start with.
    Advance AdvanceToNext(const QString& devicePath);

    // The choice made when an entry has finished with Auto on: the same entry again with Repeat, else the
    // finished entry is checked (Shuffle or auto-check) and the advance runs.
    enum class Finish { Replay, PlayNext, StopReady, CloseProgram };
    Finish EntryFinished(const QString& devicePath);

    // The entry that Next (forward true) or Previous chooses: the neighbour in list order, wrapping around,
    // whatever its check mark; a random pick with Random or Shuffle. Returns EndReached only when a random
    // advance ended the list.
    Advance step(bool forward, const QString& devicePath);

    // Bounds of the random re-picks: a pick that keeps missing (it cannot, in practice) falls back to the first
    // suitable entry in list order rather than hanging the player.
    static constexpr int kMaxRandomPicks = 1 << 16;

private:
    bool randomOrShuffle() const { return modes_.random || modes_.shuffle; }
    void pickUnchecked(int firstUnchecked);
    void pickOtherThan(const QString& devicePath);

    Playlist& playlist_;
    const PlayModes& modes_;
    RandomGenerator& random_;
    const Options& options_;
};

}  // namespace vorlo
