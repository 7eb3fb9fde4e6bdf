// Timing of the real-time path: a stream of notes on a 10 ms grid played
// through the FluidSynth device with FluidSynth's "file" audio driver (no
// sound card needed). The note onsets found in the written audio are
// compared with the grid; the goal is an error within one synthesizer block
// (64 frames, 1.45 ms at 44.1 kHz).

#include "platform/Application.h"
#include "platform/NotifyWindow.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiDeviceList.h"
#include "platform/midi/MidiOut.h"
#include "platform/midi/OfflineRender.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <random>
#include <vector>

using namespace platform::midi;

namespace {

constexpr int kSampleRate = 44100;

void addEvent(std::vector<uint8_t> &bytes, uint32_t delta, uint32_t word)
{
    for (uint32_t value : {delta, 0u, word})
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(value >> (8 * i)));
}

uint32_t shortMsg(uint8_t status, uint8_t data1, uint8_t data2 = 0)
{
    return uint32_t(status) | uint32_t(data1) << 8 | uint32_t(data2) << 16;
}

// Frames where the sound starts after at least gapFrames of near silence.
std::vector<int64_t> onsets(const std::vector<int16_t> &stereo, int threshold, int64_t gapFrames)
{
    std::vector<int64_t> result;
    int64_t quiet = gapFrames;
    const int64_t frames = int64_t(stereo.size() / 2);
    for (int64_t f = 0; f < frames; ++f) {
        const int level = std::max(std::abs(int(stereo[size_t(f) * 2])), std::abs(int(stereo[size_t(f) * 2 + 1])));
        if (level > threshold) {
            if (quiet >= gapFrames)
                result.push_back(f);
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return result;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(std::ceil(p * double(values.size()))) - (p > 0 ? 1 : 0));
    return values[index];
}

void BM_StreamOnsetError(benchmark::State &state)
{
    const int notes = int(state.range(0));
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString rawPath = dir.filePath("stream.raw");
        FluidSynthDevice::Options options = FluidSynthDevice::Options::fromEnvironment();
        options.audioDriver = "file";
        options.settings = {{"audio.file.name", rawPath},
                            {"audio.file.type", "raw"},
                            {"audio.file.format", "s16"},
                            {"audio.period-size", "441"}};
        auto device = std::make_shared<FluidSynthDevice>(options);
        if (!device->acquire()) {
            state.SkipWithError(qPrintable(device->lastError()));
            return;
        }
        MidiDeviceList::instance().install(device);

        // Onsets on the 10 ms grid, 15..30 ticks apart; "all sound off" 5
        // ticks before each note so every onset follows silence.
        std::mt19937 random(42);
        std::vector<uint32_t> grid;
        std::vector<uint8_t> bytes;
        uint32_t tick = 0, last = 0;
        for (int i = 0; i < notes; ++i) {
            tick += 15 + random() % 16;
            grid.push_back(tick);
            addEvent(bytes, tick - 5 - last, shortMsg(0xB0, 120));
            addEvent(bytes, 5, shortMsg(0x90, 60, 127));
            addEvent(bytes, 3, shortMsg(0x80, 60));
            last = tick + 3;
        }
        addEvent(bytes, 30, shortMsg(0xB0, 120));

        bool done = false;
        platform::NotifyWindow window([&done](const platform::TMessage &m) { done = done || m.msg == MM_MOM_DONE; });
        HMIDISTRM stream = nullptr;
        if (midiStreamOpen(&stream, MIDI_MAPPER, window.handle(), 0) != MMSYSERR_NOERROR) {
            state.SkipWithError("stream open failed");
            return;
        }
        midiStreamSetTimeDivision(stream, 50);
        MIDIHDR header;
        header.lpData = bytes.data();
        header.dwBufferLength = header.dwBytesRecorded = uint32_t(bytes.size());
        midiOutPrepareHeader(stream, &header);
        midiStreamOut(stream, &header);
        midiStreamRestart(stream);
        QElapsedTimer clock;
        clock.start();
        while (!done && clock.elapsed() < 120000)
            platform::waitForMessages(50);
        midiOutUnprepareHeader(stream, &header);
        midiStreamClose(stream);
        platform::processMessages();
        MidiDeviceList::instance().install(nullptr);
        device.reset(); // stops the driver, the file is complete

        QFile file(rawPath);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("no audio file");
            return;
        }
        const QByteArray raw = file.readAll();
        std::vector<int16_t> samples(size_t(raw.size()) / 2);
        std::memcpy(samples.data(), raw.constData(), samples.size() * 2);
        const std::vector<int64_t> found = onsets(samples, 400, 441);
        if (found.size() != grid.size()) {
            state.SkipWithError(qPrintable(QString("found %1 onsets for %2 notes").arg(found.size()).arg(grid.size())));
            return;
        }
        // Errors against the grid, relative to the first note (the attack of
        // the sound and the start latency are the same for every note).
        std::vector<double> errorsMs;
        for (size_t i = 0; i < grid.size(); ++i) {
            const double expected = double(grid[i] - grid[0]) * 10.0;
            const double actual = double(found[i] - found[0]) * 1000.0 / kSampleRate;
            errorsMs.push_back(std::abs(actual - expected));
        }
        state.counters["p50_ms"] = percentile(errorsMs, 0.5);
        state.counters["p99_ms"] = percentile(errorsMs, 0.99);
        state.counters["max_ms"] = *std::max_element(errorsMs.begin(), errorsMs.end());
        state.counters["block_ms"] = 64.0 * 1000.0 / kSampleRate;
        state.counters["notes"] = double(notes);
    }
}

// Offline rendering of a melodic quiz question (three notes of 1.5 s with
// the damper pedal down): how much faster than real time it runs.
void BM_OfflineRenderQuestion(benchmark::State &state)
{
    std::vector<TimedMessage> messages = {{0, shortMsg(0xB0, 64, 127)}, {0, shortMsg(0xC0, 0)}};
    const uint8_t notes[] = {60, 64, 60};
    for (int i = 0; i < 3; ++i) {
        messages.push_back({i * 1500000, shortMsg(0x90, notes[i], 127)});
        messages.push_back({(i + 1) * 1500000, shortMsg(0x90, notes[i], 0)});
    }
    double audioSeconds = 0;
    for (auto _ : state) {
        const PcmAudio audio = renderMessages(messages);
        audioSeconds = audio.seconds();
        benchmark::DoNotOptimize(audio.samples.data());
    }
    state.counters["audio_s"] = audioSeconds;
    state.counters["x_realtime"] = benchmark::Counter(audioSeconds * double(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_OfflineRenderQuestion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StreamOnsetError)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
