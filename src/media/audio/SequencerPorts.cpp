#include "media/audio/SequencerPorts.h"

#include <sys/stat.h>

#ifdef VORLO_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace vorlo::audio {

std::vector<SequencerPort> sequencerOutputPorts(std::string& error) {
    std::vector<SequencerPort> ports;
#ifdef VORLO_HAVE_ALSA
    struct stat device {};
    if (::stat("/dev/snd/seq", &device) != 0) {
        error = "This machine has no ALSA sequencer (/dev/snd/seq is missing; the kernel module snd-seq loads it).";
        return ports;
    }
    snd_seq_t* seq = nullptr;
    if (const int failed = snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, 0); failed < 0) {
        error = std::string("The ALSA sequencer cannot be opened: ") + snd_strerror(failed) + ".";
        return ports;
    }
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_malloc(&client);
    snd_seq_port_info_malloc(&port);
    const int self = snd_seq_client_id(seq);
    constexpr unsigned kTakesMidi = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == SND_SEQ_CLIENT_SYSTEM || id == self) continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            if ((snd_seq_port_info_get_capability(port) & kTakesMidi) != kTakesMidi) continue;
            ports.push_back({id, snd_seq_port_info_get_port(port), snd_seq_client_info_get_name(client),
                             snd_seq_port_info_get_name(port)});
        }
    }
    snd_seq_port_info_free(port);
    snd_seq_client_info_free(client);
    snd_seq_close(seq);
#else
    error = "This program was built without ALSA: it cannot reach the ALSA sequencer.";
#endif
    return ports;
}

}  // namespace vorlo::audio
