#include "AlsaSeqDevice.h"

#include <alsa/asoundlib.h>
#include <unistd.h>

namespace platform::midi {

namespace {

void silentAlsaError(const char *, int, const char *, int, const char *, ...) {}

// Opens a sequencer client, or nullptr where there is none (no
// /dev/snd/seq in containers and on machines without sound).
snd_seq_t *openSequencer()
{
    if (access("/dev/snd/seq", R_OK | W_OK) != 0)
        return nullptr;
    if (qEnvironmentVariableIsEmpty("TONVIK_MIDI_DEBUG"))
        snd_lib_error_set_handler(silentAlsaError);
    snd_seq_t *seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0)
        return nullptr;
    snd_seq_set_client_name(seq, "Tonvik");
    return seq;
}

} // namespace

std::vector<AlsaSeqDevice::Port> AlsaSeqDevice::ports()
{
    std::vector<Port> result;
    snd_seq_t *seq = openSequencer();
    if (!seq)
        return result;
    const int self = snd_seq_client_id(seq);
    snd_seq_client_info_t *client = nullptr;
    snd_seq_port_info_t *port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == self || id == SND_SEQ_CLIENT_SYSTEM)
            continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            const unsigned caps = snd_seq_port_info_get_capability(port);
            const unsigned wanted = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
            if ((caps & wanted) != wanted || (caps & SND_SEQ_PORT_CAP_NO_EXPORT))
                continue;
            // "Midi Through" only passes messages on; nobody hears it.
            const QString clientName = QString::fromUtf8(snd_seq_client_info_get_name(client));
            if (clientName.startsWith(QLatin1String("Midi Through")))
                continue;
            result.push_back({id, snd_seq_port_info_get_port(port),
                              clientName + QStringLiteral(": ") + QString::fromUtf8(snd_seq_port_info_get_name(port))});
        }
    }
    snd_seq_close(seq);
    return result;
}

AlsaSeqDevice::AlsaSeqDevice(Port port) : m_port(std::move(port)) {}

AlsaSeqDevice::~AlsaSeqDevice()
{
    if (m_seq) {
        snd_seq_drop_output(m_seq);
        snd_seq_close(m_seq);
    }
}

QString AlsaSeqDevice::lastError() const
{
    std::lock_guard lock(m_mutex);
    return m_error;
}

bool AlsaSeqDevice::acquire()
{
    std::lock_guard lock(m_mutex);
    if (m_tried)
        return m_seq != nullptr;
    m_tried = true;
    snd_seq_t *seq = openSequencer();
    if (!seq) {
        m_error = QStringLiteral("No ALSA sequencer");
        return false;
    }
    const int ownPort = snd_seq_create_simple_port(seq, "Tonvik output", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                                   SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    const int queue = ownPort < 0 ? -1 : snd_seq_alloc_named_queue(seq, "Tonvik");
    if (ownPort < 0 || queue < 0 || snd_seq_connect_to(seq, ownPort, m_port.client, m_port.port) < 0) {
        m_error = QStringLiteral("ALSA port %1 could not be connected").arg(m_port.name);
        snd_seq_close(seq);
        return false;
    }
    snd_seq_start_queue(seq, queue, nullptr);
    snd_seq_drain_output(seq);
    m_seq = seq;
    m_ownPort = ownPort;
    m_queue = queue;
    return true;
}

int64_t AlsaSeqDevice::nowUs()
{
    if (!m_seq)
        return 0;
    snd_seq_queue_status_t *status = nullptr;
    snd_seq_queue_status_alloca(&status);
    if (snd_seq_get_queue_status(m_seq, m_queue, status) < 0)
        return 0;
    const snd_seq_real_time_t *time = snd_seq_queue_status_get_real_time(status);
    return int64_t(time->tv_sec) * 1000000 + time->tv_nsec / 1000;
}

void AlsaSeqDevice::output(int source, const int64_t *atUs, uint32_t message)
{
    if (!m_seq)
        return;
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    const int channel = int(message & 0x0F);
    const int data1 = int(message >> 8 & 0x7F);
    const int data2 = int(message >> 16 & 0x7F);
    switch (message & 0xF0) {
    case 0x80:
        snd_seq_ev_set_noteoff(&event, channel, data1, data2);
        break;
    case 0x90:
        snd_seq_ev_set_noteon(&event, channel, data1, data2);
        break;
    case 0xA0:
        snd_seq_ev_set_keypress(&event, channel, data1, data2);
        break;
    case 0xB0:
        snd_seq_ev_set_controller(&event, channel, data1, data2);
        break;
    case 0xC0:
        snd_seq_ev_set_pgmchange(&event, channel, data1);
        break;
    case 0xD0:
        snd_seq_ev_set_chanpress(&event, channel, data1);
        break;
    case 0xE0:
        snd_seq_ev_set_pitchbend(&event, channel, (data1 | data2 << 7) - 8192);
        break;
    default:
        return;
    }
    snd_seq_ev_set_source(&event, m_ownPort);
    snd_seq_ev_set_subs(&event);
    event.tag = (unsigned char)(source & 0xFF);
    if (atUs) {
        snd_seq_real_time_t time;
        const int64_t us = std::max<int64_t>(*atUs, 0);
        time.tv_sec = unsigned(us / 1000000);
        time.tv_nsec = unsigned(us % 1000000 * 1000);
        snd_seq_ev_schedule_real(&event, m_queue, 0, &time);
    } else {
        snd_seq_ev_set_direct(&event);
    }
    snd_seq_event_output(m_seq, &event);
    snd_seq_drain_output(m_seq);
}

void AlsaSeqDevice::send(uint32_t message)
{
    output(0, nullptr, message);
}

void AlsaSeqDevice::sendAt(int source, int64_t atUs, uint32_t message)
{
    output(source, &atUs, message);
}

void AlsaSeqDevice::cancel(int source)
{
    if (!m_seq)
        return;
    snd_seq_remove_events_t *remove = nullptr;
    snd_seq_remove_events_alloca(&remove);
    snd_seq_remove_events_set_condition(remove, SND_SEQ_REMOVE_OUTPUT | SND_SEQ_REMOVE_TAG_MATCH);
    snd_seq_remove_events_set_tag(remove, source & 0xFF);
    snd_seq_remove_events(m_seq, remove);
}

int AlsaSeqDevice::openSource()
{
    // Tags are 8 bits; 0 is left for messages sent at once.
    m_lastTag = m_lastTag % 255 + 1;
    return m_lastTag;
}

} // namespace platform::midi
