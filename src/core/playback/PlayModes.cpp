#include "core/playback/PlayModes.h"

namespace vorlo {

void PlayModes::setLoop(bool on) {
    loop = on;
    if (on) repeat = random = false;
}

void PlayModes::setRepeat(bool on) {
    repeat = on;
    if (on) loop = random = shuffle = false;
}

void PlayModes::setRandom(bool on) {
    random = on;
    if (on) loop = repeat = shuffle = false;
}

void PlayModes::setShuffle(bool on) {
    shuffle = on;
    if (on) repeat = random = false;
}

PlayModes PlayModes::restored(bool autoPlay, bool loop, bool repeat, bool random, bool shuffle) {
    PlayModes modes;
    modes.autoPlay = autoPlay;
    modes.loop = modes.repeat = modes.random = modes.shuffle = false;
    if (loop)
        modes.setLoop(true);
    else if (repeat)
        modes.setRepeat(true);
    else if (random)
        modes.setRandom(true);
    if (shuffle) modes.setShuffle(true);
    return modes;
}

}  // namespace vorlo
