#include "alsa/AlsaSeqPorts.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <memory>
#include <mutex>

namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

struct SeqCloser {
    void operator()(snd_seq_t* seq) const noexcept { snd_seq_close(seq); }
};

bool AcceptsOurMidi(snd_seq_port_info_t* info) {
    const unsigned caps = snd_seq_port_info_get_capability(info);
    const unsigned wanted = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
    return (caps & wanted) == wanted && (caps & SND_SEQ_PORT_CAP_NO_EXPORT) == 0;
}

} // namespace

std::string AlsaSeqPort::DisplayName() const {
    return portName + " (" + std::to_string(client) + ":" + std::to_string(port) + ")";
}

void AlsaSeqPorts::QuietAlsaErrors() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(&IgnoreAlsaError); });
}

std::vector<AlsaSeqPort> AlsaSeqPorts::List(const char* sequencerName) {
    QuietAlsaErrors();
    std::vector<AlsaSeqPort> ports;
    snd_seq_t* raw = nullptr;
    if (snd_seq_open(&raw, sequencerName, SND_SEQ_OPEN_OUTPUT, 0) < 0)
        return ports;
    std::unique_ptr<snd_seq_t, SeqCloser> seq(raw);
    const int self = snd_seq_client_id(seq.get());

    snd_seq_client_info_t* client;
    snd_seq_port_info_t* port;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq.get(), client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        // The system client's timer and announce ports are not instruments.
        if (id == self || id == SND_SEQ_CLIENT_SYSTEM)
            continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq.get(), port) >= 0) {
            if (!AcceptsOurMidi(port))
                continue;
            ports.push_back({id, snd_seq_port_info_get_port(port),
                             snd_seq_client_info_get_name(client),
                             snd_seq_port_info_get_name(port)});
        }
    }
    std::sort(ports.begin(), ports.end(), [](const AlsaSeqPort& a, const AlsaSeqPort& b) {
        return a.client != b.client ? a.client < b.client : a.port < b.port;
    });
    return ports;
}
