#include "core/playback/PlaySequence.h"

#include "core/playlist/Playlist.h"
#include "core/settings/Options.h"

namespace vorlo {

PlaySequence::PlaySequence(Playlist& playlist, const PlayModes& modes, RandomGenerator& random, const Options& options)
    : playlist_(playlist), modes_(modes), random_(random), options_(options) {}

void PlaySequence::PickRandomEntry() { playlist_.setCurrentIndex(random_.pick(playlist_.count())); }

void PlaySequence::pickUnchecked(int firstUnchecked) {
    for (int tries = 0; tries < kMaxRandomPicks; ++tries) {
        PickRandomEntry();
        if (!playlist_.isChecked(playlist_.CurrentIndex())) return;
    }
    playlist_.setCurrentIndex(firstUnchecked);
}

void PlaySequence::pickOtherThan(const QString& devicePath) {
    // With one entry (or only copies of the song just played) no other entry exists: keep the pick.
    int other = -1;
    for (int i = 0; i < playlist_.count() && other < 0; ++i)
        if (playlist_.path(i) != devicePath) other = i;
    if (other < 0) return;
    for (int tries = 0; tries < kMaxRandomPicks; ++tries) {
        if (playlist_.path(playlist_.CurrentIndex()) != devicePath) return;
        PickRandomEntry();
    }
    playlist_.setCurrentIndex(other);
}

PlaySequence::Advance PlaySequence::AdvanceToNext(const QString& devicePath) {
    const int n = playlist_.count();
    if (n == 0) return Advance::EndReached;
    int current = playlist_.CurrentIndex();
    if (current < 0) {
        current = 0;
    } else if (current < n - 1) {
        ++current;
    } else {
        current = 0;
        if (!randomOrShuffle()) {
            playlist_.setCurrentIndex(current);
            if (options_.listClose) return Advance::CloseProgram;
            if (!modes_.loop) return Advance::EndReached;
        }
    }
    playlist_.setCurrentIndex(current);

    // Skip checked lines, wrapping round once.
    int i = 0;
    while (i < n) {
        if (!playlist_.isChecked(current)) break;
        current = current == n - 1 ? 0 : current + 1;
        playlist_.setCurrentIndex(current);
        if (!playlist_.isChecked(current)) break;
        ++i;
    }
    if (i < n) {
        if (randomOrShuffle()) pickUnchecked(current);
        return Advance::Continue;
    }

    // Every line is checked.
    if (options_.listClose) return Advance::CloseProgram;
    if (randomOrShuffle()) {
        PickRandomEntry();
        if (modes_.shuffle && modes_.loop) {
            pickOtherThan(devicePath);
            playlist_.UncheckAllEntries();
            return Advance::Continue;
        }
    } else {
        playlist_.setCurrentIndex(0);
    }
    return Advance::EndReached;
}

PlaySequence::Finish PlaySequence::EntryFinished(const QString& devicePath) {
    if (modes_.repeat && playlist_.CurrentIndex() != -1) return Finish::Replay;
    const int current = playlist_.CurrentIndex();
    if (playlist_.isValidIndex(current) && (modes_.shuffle || options_.autoCheck)) playlist_.setChecked(current, true);
    switch (AdvanceToNext(devicePath)) {
        case Advance::Continue: return Finish::PlayNext;
        case Advance::EndReached: return Finish::StopReady;
        case Advance::CloseProgram: return Finish::CloseProgram;
    }
    return Finish::StopReady;
}

PlaySequence::Advance PlaySequence::step(bool forward, const QString& devicePath) {
    const int n = playlist_.count();
    if (n == 0) return Advance::EndReached;
    const int current = playlist_.CurrentIndex();
    if (options_.autoCheck && playlist_.isValidIndex(current)) playlist_.setChecked(current, true);
    if (randomOrShuffle()) {
        if (modes_.shuffle && playlist_.isValidIndex(current)) playlist_.setChecked(current, true);
        return AdvanceToNext(devicePath);
    }
    if (forward)
        playlist_.setCurrentIndex(current >= n - 1 ? 0 : current + 1);
    else
        playlist_.setCurrentIndex(current <= 0 ? n - 1 : current - 1);
    return Advance::Continue;
}

}  // namespace vorlo
