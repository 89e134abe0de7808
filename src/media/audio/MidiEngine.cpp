#include "media/audio/MidiEngine.h"

#include <algorithm>
#include <utility>

#include "midi/SmfReader.h"

namespace vorlo::audio {

std::unique_ptr<MidiEngine> MidiEngine::create(const EngineOptions& options, std::string& error) {
    std::unique_ptr<MidiEngine> engine(new MidiEngine());
    SynthSettings synthSettings = options.synth;
    synthSettings.sampleRate = options.output.sampleRate;
    engine->synth_ = SoundFontSynth::create(synthSettings, error);
    if (!engine->synth_) return nullptr;
    engine->preparer_ = std::thread([self = engine.get()] { self->prepareSongs(); });
    MidiEngine* self = engine.get();
    RenderCallback pull = [self](float* left, float* right, std::size_t frames) { self->pull(left, right, frames); };
    if (options.offline) {
        auto sink = std::make_unique<OfflineSink>(std::move(pull));
        engine->offline_ = sink.get();
        engine->output_ = std::move(sink);
    } else {
        OpenedOutput opened = openAudioOutput(std::move(pull), options.output);
        engine->output_ = std::move(opened.output);
        engine->notice_ = std::move(opened.notice);
    }
    return engine;
}

MidiEngine::~MidiEngine() {
    // The output's thread must stop pulling before the sequencer and the synthesizer go, and so must the
    // preparation thread (it stops between two presets).
    output_.reset();
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    jobArrived_.notify_all();
    if (preparer_.joinable()) preparer_.join();
}

// Runs on the output's thread, or on the caller's for an offline engine.
void MidiEngine::pull(float* left, float* right, std::size_t frames) {
    std::uint64_t ended = 0;
    std::function<void(std::uint64_t)> callback;
    {
        std::unique_lock lock(mutex_);
        if (sequencer_ && preparedSerial_ != songSerial_) {
            if (offline_ == nullptr) {
                // The song waits for its instruments: silence, the position held.
                std::fill(left, left + frames, 0.0f);
                std::fill(right, right + frames, 0.0f);
                return;
            }
            prepared_.wait(lock, [this] { return !sequencer_ || preparedSerial_ == songSerial_; });
        }
        renderLocked(left, right, frames);
        if (endedPlayId_ != 0) {
            ended = std::exchange(endedPlayId_, 0);
            callback = endCallback_;
        }
    }
    // Outside the lock: the callback may well ask for the position or start the next play.
    if (ended != 0 && callback) callback(ended);
}

// The preparation thread: loads the instruments of the latest song opened; a song opened meanwhile cuts the work
// for the one before short.
void MidiEngine::prepareSongs() {
    std::uint64_t taken = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        jobArrived_.wait(lock, [&] { return quit_ || jobSerial_ != taken; });
        if (quit_) return;
        taken = jobSerial_;
        const std::vector<PresetRef> presets = std::move(job_);
        lock.unlock();
        const bool done = synth_->keepLoaded(presets, [&] { return quit_ || jobSerial_ != taken; });
        lock.lock();
        if (done && taken == songSerial_) {
            preparedSerial_ = taken;
            prepared_.notify_all();
        }
    }
}

bool MidiEngine::open(const std::string& path, std::string& error) {
    midi::ReadResult result = midi::readMidiFile(path);
    if (auto* failure = std::get_if<midi::ReadError>(&result)) {
        error = failure->text;
        close();
        return false;
    }
    const midi::MidiFile& file = std::get<midi::MidiFile>(result);
    // Built outside the lock: sorting a long song's events must not stall the audio thread.
    auto sequencer = std::make_unique<midi::Sequencer>(*synth_, file);
    sequencer->setEndHandler([this] { endedPlayId_ = playId_; });
    std::vector<PresetRef> presets = presetsOfSong(file);
    std::unique_ptr<midi::Sequencer> previous;
    {
        std::lock_guard lock(mutex_);
        if (sequencer_) synth_->allSoundsOff();
        previous = std::exchange(sequencer_, std::move(sequencer));
        endedPlayId_ = 0;
        job_ = std::move(presets);
        jobSerial_ = ++songSerial_;
    }
    jobArrived_.notify_all();
    return true;
}

void MidiEngine::close() {
    std::unique_ptr<midi::Sequencer> previous;
    {
        std::lock_guard lock(mutex_);
        if (sequencer_) synth_->allSoundsOff();
        previous = std::move(sequencer_);
        endedPlayId_ = 0;
    }
    // An offline pull waiting for the instruments of the closed song goes on without them.
    prepared_.notify_all();
}

bool MidiEngine::isPrepared() const {
    std::lock_guard lock(mutex_);
    return !sequencer_ || preparedSerial_ == songSerial_;
}

bool MidiEngine::isOpen() const {
    std::lock_guard lock(mutex_);
    return sequencer_ != nullptr;
}

std::int64_t MidiEngine::lengthMs() const {
    std::lock_guard lock(mutex_);
    return sequencer_ ? sequencer_->lengthMs() : 0;
}

std::int64_t MidiEngine::positionMs() const {
    std::lock_guard lock(mutex_);
    return sequencer_ ? sequencer_->positionMs() : 0;
}

bool MidiEngine::isPlaying() const {
    std::lock_guard lock(mutex_);
    return sequencer_ && sequencer_->isPlaying();
}

std::uint64_t MidiEngine::play(std::int64_t fromMs, std::int64_t toMs) {
    std::lock_guard lock(mutex_);
    if (!sequencer_) return 0;
    sequencer_->play(fromMs, toMs);
    endedPlayId_ = 0;
    return ++playId_;
}

std::uint64_t MidiEngine::resume() {
    std::lock_guard lock(mutex_);
    if (!sequencer_) return 0;
    sequencer_->resume();
    endedPlayId_ = 0;
    return ++playId_;
}

void MidiEngine::stop() {
    std::lock_guard lock(mutex_);
    if (sequencer_)
        sequencer_->stop();
    else
        synth_->allSoundsOff();
    endedPlayId_ = 0;
}

void MidiEngine::seek(std::int64_t ms) {
    std::lock_guard lock(mutex_);
    if (sequencer_) sequencer_->seek(ms);
}

void MidiEngine::setEndCallback(std::function<void(std::uint64_t)> callback) {
    std::lock_guard lock(mutex_);
    endCallback_ = std::move(callback);
}

double MidiEngine::gain() const {
    std::lock_guard lock(mutex_);
    return synth_->gain();
}

void MidiEngine::setGain(double gain) {
    std::lock_guard lock(mutex_);
    synth_->setGain(gain);
}

void MidiEngine::sendShortMessage(std::uint32_t message) {
    std::lock_guard lock(mutex_);
    synth_->shortMessage(message);
}

void MidiEngine::sendSysEx(std::span<const std::uint8_t> message) {
    std::lock_guard lock(mutex_);
    synth_->systemExclusive(message);
}

void MidiEngine::renderOffline(float* left, float* right, std::size_t frames) {
    if (offline_ != nullptr) offline_->pull(left, right, frames);
}

void MidiEngine::renderLocked(float* left, float* right, std::size_t frames) {
    if (sequencer_)
        sequencer_->render(left, right, frames);
    else
        synth_->render(left, right, frames);
}

std::string MidiEngine::outputName() const { return output_ ? output_->name() : std::string(); }

std::string MidiEngine::takeOutputNotice() { return std::exchange(notice_, {}); }

ChannelState MidiEngine::channelState(int channel) const {
    std::lock_guard lock(mutex_);
    return synth_->channelState(channel);
}

int MidiEngine::activeVoices() const {
    std::lock_guard lock(mutex_);
    return synth_->activeVoices();
}

std::vector<PresetRef> MidiEngine::keptPresets() const { return synth_->keptPresets(); }

}  // namespace vorlo::audio
