#include "sending/AlsaMidiKeys.h"

#include <QCoreApplication>

#include <alsa/asoundlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <vector>

namespace lumbrel {

namespace {

// The texts are marked where they stand (QT_TRANSLATE_NOOP) for lupdate.
QString Tr(const char* text) {
    return QCoreApplication::translate("lumbrel::AlsaMidiKeys", text);
}

snd_seq_t* Seq(void* p) {
    return static_cast<snd_seq_t*>(p);
}

// ALSA prints its own complaints (no sequencer in a container) on standard error; the
// status line says it instead. The handler stays, as the sound device's does.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

struct PortAddress {
    QString name;
    int client = 0;
    int port = 0;
};

std::vector<PortAddress> ReadablePorts(snd_seq_t* seq) {
    std::vector<PortAddress> ports;
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    const int self = snd_seq_client_id(seq);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == self || id == SND_SEQ_CLIENT_SYSTEM)
            continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            const unsigned caps = snd_seq_port_info_get_capability(port);
            const unsigned wanted = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
            if ((caps & wanted) != wanted || (caps & SND_SEQ_PORT_CAP_NO_EXPORT) != 0)
                continue;
            ports.push_back({QString::fromUtf8(snd_seq_client_info_get_name(client)) + QStringLiteral(": ") +
                                 QString::fromUtf8(snd_seq_port_info_get_name(port)),
                             id, snd_seq_port_info_get_port(port)});
        }
    }
    return ports;
}

snd_seq_t* OpenSequencer() {
    snd_lib_error_set_handler(Quiet);
    snd_seq_t* seq = nullptr;
    const int error = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK);
    if (error < 0)
        return nullptr;
    snd_seq_set_client_name(seq, "Lumbrel");
    return seq;
}

void SendBytes(snd_seq_t* seq, int port, const std::vector<std::uint8_t>& bytes) {
    snd_midi_event_t* encoder = nullptr;
    if (snd_midi_event_new(64, &encoder) < 0)
        return;
    for (const std::uint8_t byte : bytes) {
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        if (snd_midi_event_encode_byte(encoder, byte, &event) == 1) {
            snd_seq_ev_set_source(&event, port);
            snd_seq_ev_set_subs(&event);
            snd_seq_ev_set_direct(&event);
            snd_seq_event_output_direct(seq, &event);
        }
    }
    snd_midi_event_free(encoder);
}

}  // namespace

QStringList AlsaMidiKeys::Ports() {
    QStringList names;
    if (snd_seq_t* seq = OpenSequencer()) {
        for (const auto& port : ReadablePorts(seq))
            names << port.name;
        snd_seq_close(seq);
    }
    return names;
}

AlsaMidiKeys::AlsaMidiKeys(QString portName) : portName_(std::move(portName)) {}

AlsaMidiKeys::~AlsaMidiKeys() {
    Stop();
}

bool AlsaMidiKeys::Start(KeyEventQueue& queue) {
    Stop();
    snd_seq_t* seq = OpenSequencer();
    if (seq == nullptr) {
        problem_ =
            Tr(QT_TRANSLATE_NOOP("lumbrel::AlsaMidiKeys", "MIDI key: the ALSA sequencer is not available."));
        return false;
    }
    const auto ports = ReadablePorts(seq);
    const PortAddress* chosen = nullptr;
    for (const auto& port : ports) {
        if (portName_.isEmpty() || port.name == portName_) {
            chosen = &port;
            break;
        }
    }
    if (chosen == nullptr) {
        problem_ = portName_.isEmpty()
                       ? Tr(QT_TRANSLATE_NOOP("lumbrel::AlsaMidiKeys",
                                              "MIDI key: no MIDI key adapter is plugged in."))
                       : Tr(QT_TRANSLATE_NOOP("lumbrel::AlsaMidiKeys", "MIDI key: %1 is not plugged in."))
                             .arg(portName_);
        snd_seq_close(seq);
        return false;
    }
    port_ = snd_seq_create_simple_port(seq, "Key",
                                       SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE |
                                           SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                       SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (port_ < 0 || snd_seq_connect_from(seq, port_, chosen->client, chosen->port) < 0) {
        problem_ = Tr(QT_TRANSLATE_NOOP("lumbrel::AlsaMidiKeys", "MIDI key: %1 cannot be connected."))
                       .arg(chosen->name);
        snd_seq_close(seq);
        return false;
    }
    // Commands are a courtesy to adapters that take them; a port that only sends is fine.
    if (snd_seq_connect_to(seq, port_, chosen->client, chosen->port) >= 0)
        SendBytes(seq, port_, MidiKeyParser::PassthroughCommands());
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    seq_ = seq;
    connected_ = chosen->name;
    problem_.clear();
    parser_ = MidiKeyParser();
    thread_ = std::thread([this, &queue] { Run(queue); });
    return true;
}

void AlsaMidiKeys::Run(KeyEventQueue& queue) {
    snd_seq_t* seq = Seq(seq_);
    snd_midi_event_t* decoder = nullptr;
    if (snd_midi_event_new(256, &decoder) < 0)
        return;
    snd_midi_event_no_status(decoder, 1);  // every message whole: the parser follows status itself
    const int count = snd_seq_poll_descriptors_count(seq, POLLIN);
    std::vector<pollfd> fds(static_cast<std::size_t>(count) + 1);
    snd_seq_poll_descriptors(seq, fds.data(), static_cast<unsigned>(count), POLLIN);
    fds[static_cast<std::size_t>(count)] = {wake_, POLLIN, 0};
    std::int64_t lastUs = 0;
    std::uint8_t bytes[256];
    for (;;) {
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            break;
        if ((fds.back().revents & POLLIN) != 0)
            break;
        snd_seq_event_t* event = nullptr;
        while (snd_seq_event_input(seq, &event) >= 0 && event != nullptr) {
            const std::int64_t nowUs = SteadyMicroseconds();
            const long n = snd_midi_event_decode(decoder, bytes, sizeof bytes, event);
            if (n <= 0)
                continue;
            parser_.Feed(bytes, static_cast<std::size_t>(n), [&](const MidiKeyParser::Key& key) {
                std::int64_t at = nowUs;
                if (key.intervalMs && lastUs != 0)
                    at = std::min(nowUs, lastUs + std::int64_t{*key.intervalMs} * 1000);
                lastUs = at;
                (void)queue.Push({key.contact, key.down, at});
            });
        }
    }
    snd_midi_event_free(decoder);
}

void AlsaMidiKeys::Stop() {
    if (seq_ == nullptr)
        return;
    const std::uint64_t one = 1;
    (void)!::write(wake_, &one, sizeof one);
    if (thread_.joinable())
        thread_.join();
    SendBytes(Seq(seq_), port_, MidiKeyParser::KeyboardModeCommand());
    snd_seq_close(Seq(seq_));
    ::close(wake_);
    seq_ = nullptr;
    wake_ = -1;
    port_ = -1;
}

QString AlsaMidiKeys::Status() const {
    if (!problem_.isEmpty())
        return problem_;
    return Tr(QT_TRANSLATE_NOOP("lumbrel::AlsaMidiKeys", "MIDI key: %1.")).arg(connected_);
}

}  // namespace lumbrel
