#include "media/audio/AlsaSequencerPort.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "media/audio/PortSequencer.h"

#ifdef VORLO_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace vorlo::audio {

#ifdef VORLO_HAVE_ALSA
namespace {

constexpr const char* kClientName = "MIDI Vorlo";
// The most a client may keep in the kernel's queue (the sequencer's own limit); a dense song fills a few hundred.
constexpr int kOutputPool = 2000;

class AlsaSequencerPort final : public MidiPort {
public:
    AlsaSequencerPort(snd_seq_t* seq, int ownPort, int queue, snd_seq_addr_t target, std::string name,
                      snd_midi_event_t* encoder)
        : seq_(seq), ownPort_(ownPort), queue_(queue), target_(target), name_(std::move(name)), encoder_(encoder) {}

    ~AlsaSequencerPort() override {
        snd_seq_stop_queue(seq_, queue_, nullptr);
        snd_seq_drain_output(seq_);
        snd_seq_free_queue(seq_, queue_);
        snd_midi_event_free(encoder_);
        snd_seq_close(seq_);
    }

    std::string name() const override { return name_; }

    Queued schedule(std::int64_t atUs, std::span<const std::uint8_t> message) override {
        if (gone_) return Queued::Gone;
        snd_seq_event_t event;
        if (!encode(message, event)) return Queued::Yes;  // nothing the sequencer carries: dropped
        snd_seq_real_time_t time{static_cast<unsigned>(atUs / 1'000'000),
                                 static_cast<unsigned>(atUs % 1'000'000) * 1000};
        snd_seq_ev_schedule_real(&event, queue_, 0, &time);
        const int result = snd_seq_event_output(seq_, &event);
        if (result >= 0) return Queued::Yes;
        if (result == -EAGAIN) return Queued::Full;
        failed(result);
        return gone_ ? Queued::Gone : Queued::Full;
    }

    bool flush() override {
        if (gone_) return false;
        const int result = snd_seq_drain_output(seq_);
        // A full kernel queue takes the rest at the next refill.
        if (result >= 0 || result == -EAGAIN) return true;
        failed(result);
        return !gone_;
    }

    void dropQueued() override {
        snd_seq_drop_output(seq_);
        snd_seq_remove_events_t* remove = nullptr;
        if (snd_seq_remove_events_malloc(&remove) < 0) return;
        snd_seq_remove_events_set_queue(remove, queue_);
        snd_seq_remove_events_set_condition(remove, SND_SEQ_REMOVE_OUTPUT);
        snd_seq_remove_events(seq_, remove);
        snd_seq_remove_events_free(remove);
    }

    bool sendNow(std::span<const std::uint8_t> message) override {
        if (gone_) return false;
        snd_seq_event_t event;
        if (!encode(message, event)) return true;
        snd_seq_ev_set_direct(&event);
        const int result = snd_seq_event_output_direct(seq_, &event);
        if (result >= 0 || result == -EAGAIN) return true;
        failed(result);
        return !gone_;
    }

    bool startClock() override {
        if (gone_) return false;
        snd_seq_start_queue(seq_, queue_, nullptr);
        return flush();
    }

    void stopClock() override {
        snd_seq_stop_queue(seq_, queue_, nullptr);
        snd_seq_drain_output(seq_);
    }

    std::int64_t clockUs() override {
        snd_seq_queue_status_t* status = nullptr;
        if (snd_seq_queue_status_malloc(&status) < 0) return 0;
        std::int64_t us = 0;
        if (snd_seq_get_queue_status(seq_, queue_, status) >= 0) {
            const snd_seq_real_time_t* time = snd_seq_queue_status_get_real_time(status);
            us = static_cast<std::int64_t>(time->tv_sec) * 1'000'000 + time->tv_nsec / 1000;
        }
        snd_seq_queue_status_free(status);
        return us;
    }

    bool gone(std::string& why) override {
        // The announcements of the system client tell of clients and ports that went away.
        snd_seq_event_t* event = nullptr;
        while (!gone_ && snd_seq_event_input(seq_, &event) >= 0 && event != nullptr) {
            switch (event->type) {
                case SND_SEQ_EVENT_CLIENT_EXIT:
                    if (event->data.addr.client == target_.client) markGone("its program ended");
                    break;
                case SND_SEQ_EVENT_PORT_EXIT:
                    if (event->data.addr.client == target_.client && event->data.addr.port == target_.port)
                        markGone("the port was closed or its device unplugged");
                    break;
                case SND_SEQ_EVENT_PORT_UNSUBSCRIBED:
                    if (event->data.connect.dest.client == target_.client &&
                        event->data.connect.dest.port == target_.port &&
                        event->data.connect.sender.client == snd_seq_client_id(seq_) &&
                        event->data.connect.sender.port == ownPort_)
                        markGone("the connection to it was taken away");
                    break;
                default: break;
            }
        }
        if (gone_) why = why_;
        return gone_;
    }

private:
    bool encode(std::span<const std::uint8_t> message, snd_seq_event_t& event) {
        snd_seq_ev_clear(&event);
        if (message.empty()) return false;
        if (message[0] == 0xF0) {
            snd_seq_ev_set_sysex(&event, static_cast<unsigned>(message.size()),
                                 const_cast<std::uint8_t*>(message.data()));
        } else {
            snd_midi_event_reset_encode(encoder_);
            snd_midi_event_encode(encoder_, message.data(), static_cast<long>(message.size()), &event);
            if (event.type == SND_SEQ_EVENT_NONE) return false;
        }
        snd_seq_ev_set_source(&event, static_cast<unsigned char>(ownPort_));
        snd_seq_ev_set_subs(&event);
        return true;
    }

    void failed(int result) {
        // The port or its client is no more.
        if (result == -ENOENT || result == -ENXIO || result == -ENODEV) markGone(snd_strerror(result));
    }

    void markGone(const std::string& reason) {
        gone_ = true;
        why_ = "The external MIDI synthesizer " + name_ + " is gone (" + reason + "). Playback stopped.";
    }

    snd_seq_t* seq_;
    int ownPort_;
    int queue_;
    snd_seq_addr_t target_;
    std::string name_;
    snd_midi_event_t* encoder_;
    bool gone_ = false;
    std::string why_;
};

}  // namespace
#endif

std::unique_ptr<MidiPort> openAlsaSequencerPort(const std::string& address, std::string& error) {
    int client = 0;
    int port = 0;
    if (!parsePortAddress(address, client, port)) {
        error = "\"" + address + "\" is no MIDI port: a port is named CLIENT:PORT, as `vorlo ports` lists them.";
        return nullptr;
    }
#ifdef VORLO_HAVE_ALSA
    struct stat device {};
    if (::stat("/dev/snd/seq", &device) != 0) {
        error = "The MIDI port " + address +
                " cannot be opened: this machine has no ALSA sequencer (/dev/snd/seq is missing).";
        return nullptr;
    }
    snd_seq_t* seq = nullptr;
    if (const int failed = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK); failed < 0) {
        error = std::string("The ALSA sequencer cannot be opened: ") + snd_strerror(failed) + ".";
        return nullptr;
    }
    const auto fail = [&](const std::string& why) -> std::unique_ptr<MidiPort> {
        error = why;
        snd_seq_close(seq);
        return nullptr;
    };
    snd_seq_set_client_name(seq, kClientName);
    snd_seq_set_client_pool_output(seq, kOutputPool);
    snd_seq_client_info_t* clientInfo = nullptr;
    snd_seq_port_info_t* portInfo = nullptr;
    snd_seq_client_info_malloc(&clientInfo);
    snd_seq_port_info_malloc(&portInfo);
    const bool exists = snd_seq_get_any_client_info(seq, client, clientInfo) >= 0 &&
                        snd_seq_get_any_port_info(seq, client, port, portInfo) >= 0;
    const std::string name = exists ? std::string(snd_seq_client_info_get_name(clientInfo)) + ", " +
                                          snd_seq_port_info_get_name(portInfo) + " (" + address + ")"
                                    : address;
    const unsigned capability = exists ? snd_seq_port_info_get_capability(portInfo) : 0;
    snd_seq_port_info_free(portInfo);
    snd_seq_client_info_free(clientInfo);
    if (!exists) return fail("The MIDI port " + address + " does not exist (`vorlo ports` lists the ports there are).");
    constexpr unsigned kTakesMidi = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
    if ((capability & kTakesMidi) != kTakesMidi) return fail("The MIDI port " + name + " takes no MIDI.");
    // Our port sends the song and hears the system's announcements of ports and clients that go away.
    const int ownPort = snd_seq_create_simple_port(
        seq, "MIDI out", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ | SND_SEQ_PORT_CAP_WRITE,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (ownPort < 0) return fail(std::string("The ALSA sequencer gives no port: ") + snd_strerror(ownPort) + ".");
    snd_seq_connect_from(seq, ownPort, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
    if (const int failed = snd_seq_connect_to(seq, ownPort, client, port); failed < 0)
        return fail("The MIDI port " + name + " cannot be connected to: " + snd_strerror(failed) + ".");
    const int queue = snd_seq_alloc_named_queue(seq, kClientName);
    if (queue < 0) return fail(std::string("The ALSA sequencer gives no queue: ") + snd_strerror(queue) + ".");
    snd_midi_event_t* encoder = nullptr;
    if (const int failed = snd_midi_event_new(16, &encoder); failed < 0)
        return fail(std::string("Out of memory: ") + snd_strerror(failed) + ".");
    snd_midi_event_no_status(encoder, 1);
    snd_seq_addr_t target{static_cast<unsigned char>(client), static_cast<unsigned char>(port)};
    return std::make_unique<AlsaSequencerPort>(seq, ownPort, queue, target, name, encoder);
#else
    error = "The MIDI port " + address + " cannot be opened: this program was built without ALSA.";
    return nullptr;
#endif
}

}  // namespace vorlo::audio
