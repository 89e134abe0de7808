#include "media/audio/AudioOutput.h"

#include <fluidsynth.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "media/audio/FluidLog.h"

#ifdef VORLO_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace vorlo::audio {
namespace {

class DriverOutput final : public AudioOutput {
public:
    DriverOutput(RenderCallback callback, std::string driver)
        : callback_(std::move(callback)), driver_(std::move(driver)) {}
    ~DriverOutput() override {
        // Deleting the driver joins its thread, so no callback runs after this.
        if (driver_handle_ != nullptr) delete_fluid_audio_driver(driver_handle_);
        if (settings_ != nullptr) delete_fluid_settings(settings_);
    }
    DriverOutput(const DriverOutput&) = delete;
    DriverOutput& operator=(const DriverOutput&) = delete;

    bool open(const AudioOutputOptions& options) {
        settings_ = new_fluid_settings();
        if (fluid_settings_setstr(settings_, "audio.driver", driver_.c_str()) != FLUID_OK)
            return false;  // not built in
        fluid_settings_setnum(settings_, "synth.sample-rate", options.sampleRate);
        fluid_settings_setint(settings_, "audio.period-size", options.periodFrames);
        fluid_settings_setint(settings_, "audio.periods", options.periods);
        fluid_settings_setstr(settings_, "audio.jack.id", "MIDI Vorlo");
        fluid_settings_setstr(settings_, "audio.pulseaudio.media-role", "music");
        driver_handle_ = new_fluid_audio_driver2(settings_, &DriverOutput::pull, this);
        return driver_handle_ != nullptr;
    }
    std::string name() const override { return driver_; }
    bool isSilent() const override { return false; }

private:
    static int pull(void* data, int len, int, float**, int nout, float* out[]) {
        auto* self = static_cast<DriverOutput*>(data);
        if (nout < 2 || len <= 0) return FLUID_OK;
        self->callback_(out[0], out[1], static_cast<std::size_t>(len));
        return FLUID_OK;
    }

    RenderCallback callback_;
    std::string driver_;
    fluid_settings_t* settings_ = nullptr;
    fluid_audio_driver_t* driver_handle_ = nullptr;
};

// Pulls audio in real time and throws it away: with no sound device the player still moves on
// through its songs at the right pace.
class SilentClockOutput final : public AudioOutput {
public:
    SilentClockOutput(RenderCallback callback, const AudioOutputOptions& options)
        : callback_(std::move(callback)),
          periodFrames_(static_cast<std::size_t>(options.periodFrames > 0 ? options.periodFrames : 512)),
          period_(std::chrono::microseconds(static_cast<long long>(periodFrames_) * 1000000 / options.sampleRate)),
          thread_([this] { run(); }) {}
    ~SilentClockOutput() override {
        running_ = false;
        thread_.join();
    }
    SilentClockOutput(const SilentClockOutput&) = delete;
    SilentClockOutput& operator=(const SilentClockOutput&) = delete;

    std::string name() const override { return "silent clock"; }
    bool isSilent() const override { return true; }

private:
    void run() {
        std::vector<float> left(periodFrames_), right(periodFrames_);
        auto next = std::chrono::steady_clock::now();
        while (running_) {
            callback_(left.data(), right.data(), periodFrames_);
            next += period_;
            const auto now = std::chrono::steady_clock::now();
            // After a long stall (a suspended machine) the clock goes on from now instead of racing.
            if (now - next > std::chrono::milliseconds(500)) next = now;
            std::this_thread::sleep_until(next);
        }
    }

    RenderCallback callback_;
    std::size_t periodFrames_;
    std::chrono::steady_clock::duration period_;
    std::atomic<bool> running_{true};
    std::thread thread_;
};

#ifdef VORLO_HAVE_ALSA
// ALSA writes its own complaints to stderr when a machine has no sound card; whether a driver
// opened is all we need, and the user gets one notice instead.
extern "C" void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
#endif

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

OpenedOutput openAudioOutput(RenderCallback callback, const AudioOutputOptions& options) {
    quietFluidLog();
    // A JACK client must not start a JACK server of its own when none runs.
    ::setenv("JACK_NO_START_SERVER", "1", 0);
#ifdef VORLO_HAVE_ALSA
    snd_lib_error_set_handler(ignoreAlsaError);
#endif
    for (const std::string& driver : options.driverOrder) {
        auto output = std::make_unique<DriverOutput>(callback, driver);
        if (output->open(options)) return {std::move(output), {}};
        takeFluidError();
    }
    // Asked for no driver at all, the silent clock is what the caller wanted: nothing to tell the user.
    std::string notice;
    if (!options.driverOrder.empty())
        notice = "No audio output could be opened (tried " + joined(options.driverOrder) + "). Songs play on silently.";
    return {std::make_unique<SilentClockOutput>(std::move(callback), options), std::move(notice)};
}

}  // namespace vorlo::audio
