#pragma once

#include "MidiDevice.h"

#include <QString>

#include <mutex>
#include <vector>

typedef struct _snd_seq snd_seq_t;

namespace platform::midi {

// An output port of the ALSA sequencer (a hardware MIDI port or a software
// synthesizer such as a running FluidSynth or TiMidity). Messages are queued
// on an ALSA sequencer queue with real-time stamps, so the kernel plays them
// on time.
class AlsaSeqDevice : public MidiDevice
{
public:
    struct Port
    {
        int client = 0;
        int port = 0;
        QString name; // "client name: port name"
    };

    // The ports that accept output from other clients; empty, silently,
    // where there is no ALSA sequencer.
    static std::vector<Port> ports();

    explicit AlsaSeqDevice(Port port);
    ~AlsaSeqDevice() override;

    QString name() const override { return m_port.name; }
    bool acquire() override;
    QString lastError() const override;

    int64_t nowUs() override;
    void send(uint32_t message) override;
    void sendAt(int source, int64_t atUs, uint32_t message) override;
    void cancel(int source) override;
    int openSource() override;
    int64_t lookaheadUs() const override { return 100000; }
    int64_t startLatencyUs() const override { return 20000; }

private:
    void output(int source, const int64_t *atUs, uint32_t message);

    Port m_port;
    mutable std::mutex m_mutex;
    bool m_tried = false;
    QString m_error;
    snd_seq_t *m_seq = nullptr;
    int m_ownPort = -1;
    int m_queue = -1;
    int m_lastTag = 0;
};

} // namespace platform::midi
