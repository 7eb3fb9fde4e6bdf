#pragma once

// The real audio server a test or benchmark plays through, started for it
// by scripts/audio-servers (which sets TONVIK_AUDIO_SERVER_DIR), and a
// recording of what the server plays (its null sink's monitor, by parec).

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::midi {
class FluidSynthDevice;
class MidiDevice;
} // namespace platform::midi

namespace miditest {

class AudioServerSession
{
public:
    // Whether a server was started for this process; a test skips without
    // one, unless TONVIK_REQUIRE_AUDIO_SERVER is set (the CI stage), when
    // it fails.
    static bool present();
    static bool required();
    // "pulseaudio" or "pipewire".
    static QString kind();

    // Kill the server's processes / start them again (the same kind, the
    // same socket), pumping the GUI event loop meanwhile. False with the
    // script's output on failure.
    static bool kill(QString *error);
    static bool restart(QString *error);

    // The program's own output as the MIDI mapper chooses it from the
    // environment (as the program starts with no settings), acquired and
    // playing for half a second; null with the reason when it does not
    // play through the server.
    static std::shared_ptr<platform::midi::FluidSynthDevice> programOutput(QString *error);
};

// Records the server's null sink ("out.monitor") as 44,100 Hz 16-bit
// stereo from start() to stop().
class MonitorRecording
{
public:
    ~MonitorRecording();
    // Waits until audio arrives from the server.
    bool start(QString *error);
    std::vector<int16_t> stop();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
};

} // namespace miditest
