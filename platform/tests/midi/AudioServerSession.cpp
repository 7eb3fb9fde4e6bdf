#include "AudioServerSession.h"

#include "MidiTestSupport.h"

#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiDeviceList.h"
#include "platform/midi/PulseAudioOutput.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace miditest {

namespace {

QString serverDir()
{
    return qEnvironmentVariable("TONVIK_AUDIO_SERVER_DIR");
}

bool runScript(const QString &verb, QString *error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(TONVIK_SOURCE_DIR "/scripts/audio-servers"), {verb, serverDir()});
    // The event loop goes on meanwhile: the program must stay responsive
    // while its audio server comes and goes.
    if (!pumpUntil([&] { return process.state() == QProcess::NotRunning; }, 30000)) {
        process.kill();
        process.waitForFinished();
        *error = QStringLiteral("audio-servers %1 did not finish").arg(verb);
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = QStringLiteral("audio-servers %1: %2").arg(verb, QString::fromLocal8Bit(process.readAll()));
        return false;
    }
    return true;
}

} // namespace

bool AudioServerSession::present()
{
    return !serverDir().isEmpty() && QFileInfo::exists(serverDir() + QStringLiteral("/env"));
}

bool AudioServerSession::required()
{
    return !qEnvironmentVariableIsEmpty("TONVIK_REQUIRE_AUDIO_SERVER");
}

QString AudioServerSession::kind()
{
    QFile file(serverDir() + QStringLiteral("/kind"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

bool AudioServerSession::kill(QString *error)
{
    return runScript(QStringLiteral("kill"), error);
}

bool AudioServerSession::restart(QString *error)
{
    return runScript(QStringLiteral("restart"), error);
}

std::shared_ptr<platform::midi::FluidSynthDevice> AudioServerSession::programOutput(QString *error)
{
    using namespace platform::midi;
    // The test suite plays on the capture device; the program, started
    // with no settings, on what the MIDI mapper finds.
    const QByteArray previous = qgetenv("TONVIK_MIDI_OUT");
    qputenv("TONVIK_MIDI_OUT", "auto");
    MidiDeviceList::instance().install(nullptr);
    MMRESULT result = MMSYSERR_NOERROR;
    const std::shared_ptr<MidiDevice> device = MidiDeviceList::instance().open(MIDI_MAPPER, &result);
    if (previous.isNull())
        qunsetenv("TONVIK_MIDI_OUT");
    else
        qputenv("TONVIK_MIDI_OUT", previous);
    auto synth = std::dynamic_pointer_cast<FluidSynthDevice>(device);
    if (!synth) {
        *error = device ? QStringLiteral("the MIDI mapper chose %1").arg(device->name())
                        : QStringLiteral("no MIDI output (%1)").arg(result);
        return nullptr;
    }
    PulseAudioOutput *output = synth->serverOutput();
    if (!output) {
        *error = QStringLiteral("the synthesizer does not play through the audio server");
        return nullptr;
    }
    // What happens while the server sets the new stream up (PipeWire may
    // report an underrun then) is silence, before anything plays.
    if (!pumpUntil([&] { return output->renderedFrames() > 44100 / 2; })) {
        *error = QStringLiteral("the audio server does not take the stream's audio");
        return nullptr;
    }
    return synth;
}

MonitorRecording::~MonitorRecording()
{
    if (m_process) {
        m_process->kill();
        m_process->waitForFinished();
    }
}

bool MonitorRecording::start(QString *error)
{
    const QString path = m_dir.filePath(QStringLiteral("monitor.raw"));
    m_process = std::make_unique<QProcess>();
    m_process->setStandardOutputFile(path);
    m_process->setStandardErrorFile(m_dir.filePath(QStringLiteral("parec.log")));
    m_process->start(QStringLiteral("parec"), {QStringLiteral("--device=out.monitor"), QStringLiteral("--raw"),
                                               QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                                               QStringLiteral("--channels=2"), QStringLiteral("--latency-msec=100")});
    // The null sink runs all the time, so silence comes as soon as the
    // recording runs.
    const bool running = pumpUntil([&] { return QFileInfo(path).size() >= 4096 || m_process->state() == QProcess::NotRunning; },
                                   10000);
    if (!running || m_process->state() == QProcess::NotRunning) {
        QFile log(m_dir.filePath(QStringLiteral("parec.log")));
        log.open(QIODevice::ReadOnly);
        *error = QStringLiteral("parec recorded nothing: %1").arg(QString::fromLocal8Bit(log.readAll()));
        return false;
    }
    return true;
}

std::vector<int16_t> MonitorRecording::stop()
{
    if (!m_process)
        return {};
    // parec drops what it has not written when it ends: half a second
    // more, so the last sound asked for is in the file.
    const QString path = m_dir.filePath(QStringLiteral("monitor.raw"));
    const qint64 wanted = QFileInfo(path).size() + 44100 * 4 / 2;
    pumpUntil([&] { return QFileInfo(path).size() >= wanted || m_process->state() == QProcess::NotRunning; }, 10000);
    m_process->terminate();
    pumpUntil([&] { return m_process->state() == QProcess::NotRunning; }, 5000);
    m_process.reset();
    QFile file(m_dir.filePath(QStringLiteral("monitor.raw")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray raw = file.readAll();
    std::vector<int16_t> samples(size_t(raw.size()) / 4 * 2);
    std::memcpy(samples.data(), raw.constData(), samples.size() * sizeof(int16_t));
    return samples;
}

} // namespace miditest
