#pragma once

namespace vorlo {

// The five play modes and how they exclude each other. Loop, Repeat and Random form one group (turning one on
// turns the other two off); Repeat and Random also end Shuffle and Shuffle ends both of them, so Shuffle
// combines only with Loop. Auto stands apart.
struct PlayModes {
    bool autoPlay = true;
    bool loop = true;
    bool repeat = false;
    bool random = false;
    bool shuffle = false;

    void setAuto(bool on) { autoPlay = on; }
    void setLoop(bool on);
    void setRepeat(bool on);
    void setRandom(bool on);
    void setShuffle(bool on);

    // The modes as a start-up restores stored marks: of Loop, Repeat and Random only the first one stored on
    // counts (in that order), then Shuffle is applied on top.
    static PlayModes restored(bool autoPlay, bool loop, bool repeat, bool random, bool shuffle);

    bool operator==(const PlayModes&) const = default;
};

}  // namespace vorlo
