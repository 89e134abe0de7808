#include "media/audio/AudioOutput.h"

#include <fluidsynth.h>

#include <algorithm>
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
        if (!options.device.empty()) {
            const std::string deviceSetting = "audio." + driver_ + ".device";
            if (fluid_settings_get_type(settings_, deviceSetting.c_str()) != FLUID_STR_TYPE) return false;
            fluid_settings_setstr(settings_, deviceSetting.c_str(), options.device.c_str());
        }
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

void quietAudioLibraries() {
    quietFluidLog();
    // A JACK client must not start a JACK server of its own when none runs.
    ::setenv("JACK_NO_START_SERVER", "1", 0);
#ifdef VORLO_HAVE_ALSA
    snd_lib_error_set_handler(ignoreAlsaError);
#endif
}

void collectOption(void* data, const char*, const char* option) {
    static_cast<std::vector<std::string>*>(data)->emplace_back(option);
}

}  // namespace

std::vector<std::string> openableAudioDrivers(const std::vector<std::string>& candidates, const std::string& inUse) {
    quietAudioLibraries();
    const std::vector<std::string> tried = candidates.empty() ? AudioOutputOptions{}.driverOrder : candidates;
    std::vector<std::string> openable;
    for (const std::string& driver : tried) {
        if (driver == inUse) {
            openable.push_back(driver);
            continue;
        }
        DriverOutput probe(
            [](float* left, float* right, std::size_t frames) {
                std::fill(left, left + frames, 0.0f);
                std::fill(right, right + frames, 0.0f);
            },
            driver);
        if (probe.open(AudioOutputOptions{}))
            openable.push_back(driver);
        else
            takeFluidError();
    }
    return openable;
}

std::vector<std::string> audioDevicesOf(const std::string& driver) {
    std::vector<std::string> devices;
#ifdef VORLO_HAVE_ALSA
    if (driver == "alsa") {
        quietAudioLibraries();
        void** hints = nullptr;
        if (snd_device_name_hint(-1, "pcm", &hints) != 0) return devices;
        for (void** hint = hints; *hint != nullptr; ++hint) {
            char* name = snd_device_name_get_hint(*hint, "NAME");
            char* direction = snd_device_name_get_hint(*hint, "IOID");
            // No direction means both ways.
            if (name != nullptr && (direction == nullptr || std::string(direction) == "Output") &&
                std::string(name) != "null")
                devices.emplace_back(name);
            std::free(name);
            std::free(direction);
        }
        snd_device_name_free_hint(hints);
        return devices;
    }
#endif
    fluid_settings_t* settings = new_fluid_settings();
    const std::string deviceSetting = "audio." + driver + ".device";
    if (fluid_settings_get_type(settings, deviceSetting.c_str()) == FLUID_STR_TYPE)
        fluid_settings_foreach_option(settings, deviceSetting.c_str(), &devices, collectOption);
    delete_fluid_settings(settings);
    return devices;
}

OpenedOutput openAudioOutput(RenderCallback callback, const AudioOutputOptions& options) {
    quietAudioLibraries();
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
