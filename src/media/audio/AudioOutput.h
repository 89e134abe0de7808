#pragma once
// Where the rendered audio goes. Every kind pulls its audio from one callback:
// a FluidSynth audio driver (a sound server or card), a silent real-time clock when no driver
// opens, or an offline sink that renders as fast as the CPU allows.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorlo::audio {

// Fills `frames` samples of each channel. Called on the output's own thread.
using RenderCallback = std::function<void(float* left, float* right, std::size_t frames)>;

struct AudioOutputOptions {
    std::vector<std::string> driverOrder{"pipewire", "pulseaudio", "alsa", "jack", "sdl2"};
    // The device the drivers open (FluidSynth's "audio.<driver>.device"); empty: each driver's default.
    std::string device;
    int sampleRate = 44100;
    int periodFrames = 512;  // about 12 ms at 44.1 kHz
    int periods = 4;
};

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // The driver in use, "silent clock" or "offline".
    virtual std::string name() const = 0;
    // True when nothing is heard (the silent clock).
    virtual bool isSilent() const = 0;
};

struct OpenedOutput {
    std::unique_ptr<AudioOutput> output;
    // Set when no driver opened and the silent clock runs instead: for the user, once.
    std::string notice;
};

// Tries the drivers in order; when none opens, a silent real-time clock keeps pulling audio so
// that positions and end reports run as if it were heard.
OpenedOutput openAudioOutput(RenderCallback callback, const AudioOutputOptions& options);

// The drivers of `candidates` (the default order when empty) that open on this machine now, in that order: each is
// opened for a moment with silence and closed again. `inUse` is taken as it is without opening it (the player's own
// output holds it, and a sound card may take one client only). Thread: any; takes about as long as opening each.
std::vector<std::string> openableAudioDrivers(const std::vector<std::string>& candidates = {},
                                              const std::string& inUse = {});
// The devices a driver offers to choose from, as its device setting takes them (ALSA's playback devices, the
// choices FluidSynth lists for the others); empty where the driver offers no choice.
std::vector<std::string> audioDevicesOf(const std::string& driver);

// Pulls audio only when asked: for rendering to a file and for tests.
class OfflineSink final : public AudioOutput {
public:
    explicit OfflineSink(RenderCallback callback) : callback_(std::move(callback)) {}
    std::string name() const override { return "offline"; }
    bool isSilent() const override { return false; }
    void pull(float* left, float* right, std::size_t frames) { callback_(left, right, frames); }

private:
    RenderCallback callback_;
};

}  // namespace vorlo::audio
