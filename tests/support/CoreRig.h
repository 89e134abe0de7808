#pragma once

#include "core/app/PlayerCore.h"
#include "core/playback/PlayModes.h"
#include "core/settings/Options.h"
#include "media/MIDIPlayer.h"
#include "media/MediaSettings.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace vorlo::test {

// The player's core without a window, on the real media device with offline audio: nothing moves unless the
// test renders it, and the device's reports arrive as queued signals when the test lets events through. No
// MIDI reset file plays.
class CoreRig {
public:
    // The settings of the media device; the default is offline audio with the small soundfont.
    explicit CoreRig(const media::MediaSettings& settings);
    CoreRig();
    ~CoreRig();

    PlayerCore& core() { return *core_; }
    PlaybackEngine& engine() { return core_->engine(); }
    PositionDisplay& position() { return core_->position(); }
    Playlist& playlist() { return core_->playlist(); }
    media::MIDIPlayer& device() { return *device_; }
    const TransportState& state() { return core_->engine().state(); }
    PlayerView view() const { return core_->view(); }

    // Appends entries as a list that was just loaded (nothing changed, nothing open yet).
    void fill(const QStringList& paths);
    // Moves the device on until the play that runs has ended, then lets its report arrive.
    void playToEnd();
    // Lets queued reports and timers that are due arrive.
    static void settle();

    Options options;
    PlayModes modes;

private:
    std::unique_ptr<media::MIDIPlayer> device_;
    std::unique_ptr<PlayerCore> core_;
};

}  // namespace vorlo::test
