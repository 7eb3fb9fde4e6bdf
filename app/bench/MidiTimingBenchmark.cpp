// Timing of the real-time path through the FluidSynth device with
// FluidSynth's "file" audio driver (no sound card needed), idle and while
// other threads load every core (then the driver falls behind and renders
// in bursts). The goal is an error within one synthesizer block (64 frames,
// 1.45 ms at 44.1 kHz).
// - BM_StreamOnsetError: notes after silence on a 10 ms grid; onsets found
//   by a threshold, compared with the grid relative to the first note.
// - BM_QuizOnsetError: the quiz's own questions (drawn by its question
//   generator, played by the MIDI generator as the program plays them);
//   each onset is placed against an offline render of the same stream by
//   cross-correlation, relative to the stream's start on the device clock.

#include "AudioServerSession.h"
#include "MidiTestSupport.h"
#include "QuizPlayback.h"
#include "StartRecorder.h"

#include "app/uFunctions.h"
#include "app/uVariables.h"
#include "midigen/TMidiGen.h"
#include "platform/Application.h"
#include "platform/NotifyWindow.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiDeviceList.h"
#include "platform/midi/MidiOut.h"
#include "platform/midi/OfflineRender.h"
#include "platform/midi/PulseAudioOutput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#ifdef TONVIK_HAVE_SDL2
#include <SDL2/SDL.h>
#endif

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <map>
#include <random>
#include <thread>
#include <vector>

using namespace platform::midi;
using miditest::CpuLoad;
using miditest::StartRecorder;
using miditest::percentile;

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

// The built-in synthesizer writing raw 16-bit stereo to rawPath in real time:
// through FluidSynth's "file" driver, or with TONVIK_AUDIO_DRIVER=sdl2
// through its SDL2 driver on SDL's "disk" output, a driver that asks the
// synthesizer for each period as a sound card driver does.
std::shared_ptr<FluidSynthDevice> fileDevice(const QString &rawPath, const QString &periodSize)
{
    FluidSynthDevice::Options options = FluidSynthDevice::Options::fromEnvironment();
    if (options.audioDriver == "sdl2") {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", rawPath.toLocal8Bit());
        options.settings.clear();
#ifdef TONVIK_HAVE_SDL2
        // FluidSynth leaves starting SDL's audio to the program.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_InitSubSystem(SDL_INIT_AUDIO);
#endif
    } else {
        options.audioDriver = "file";
        options.settings = {{"audio.file.name", rawPath}, {"audio.file.type", "raw"}, {"audio.file.format", "s16"}};
    }
    if (!periodSize.isEmpty())
        options.settings.emplace_back("audio.period-size", periodSize);
    return std::make_shared<FluidSynthDevice>(options);
}

bool readRaw(const QString &rawPath, std::vector<int16_t> &samples)
{
    QFile file(rawPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray raw = file.readAll();
    samples.resize(size_t(raw.size()) / 2);
    std::memcpy(samples.data(), raw.constData(), samples.size() * 2);
    return true;
}

void reportErrors(benchmark::State &state, const std::vector<double> &errorsMs)
{
    state.counters["p50_ms"] = percentile(errorsMs, 0.5);
    state.counters["p99_ms"] = percentile(errorsMs, 0.99);
    state.counters["max_ms"] = *std::max_element(errorsMs.begin(), errorsMs.end());
    state.counters["block_ms"] = 64.0 * 1000.0 / kSampleRate;
}

void BM_StreamOnsetError(benchmark::State &state)
{
    const int notes = int(state.range(0));
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString rawPath = dir.filePath("stream.raw");
        auto device = fileDevice(rawPath, "441");
        if (!device->acquire()) {
            state.SkipWithError(qPrintable(device->lastError()));
            return;
        }
        MidiDeviceList::instance().install(device);
        CpuLoad load(state.range(1) != 0);

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

        std::vector<int16_t> samples;
        if (!readRaw(rawPath, samples)) {
            state.SkipWithError("no audio file");
            return;
        }
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
        reportErrors(state, errorsMs);
        state.counters["notes"] = double(notes);
    }
}

// Quiz questions as the program asks them (level 1 melodic, level 2
// harmonic: its question generator, play text, and the MIDI generator with
// Duration 150 and Sustain on) until `notes` notes have sounded; each onset
// of a question (two notes together count as one onset) is placed against
// the offline render of the question's buffer.
void BM_QuizOnsetError(benchmark::State &state)
{
    const bool melodic = state.range(0) == 1;
    const int notes = int(state.range(1));
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString rawPath = dir.filePath("quiz.raw");
        auto synth = fileDevice(rawPath, {});
        auto device = std::make_shared<StartRecorder>(synth);
        if (!device->acquire()) {
            state.SkipWithError(qPrintable(device->lastError()));
            return;
        }
        MidiDeviceList::instance().install(device);
        miditest::QuizPlayback quiz;
        {
            CpuLoad load(true);
            const std::vector<int> levels(size_t((notes + (melodic ? 2 : 1)) / (melodic ? 3 : 2)), melodic ? 0 : 1);
            quiz = miditest::playQuizQuestions(*synth, *device, levels, melodic ? 11 : 12, 300000);
        }
        if (!quiz.error.isEmpty()) {
            state.SkipWithError(qPrintable(quiz.error));
            return;
        }
        const std::vector<miditest::PlayedStream> &played = quiz.streams;
        MidiDeviceList::instance().install(nullptr);
        // The frames the synthesizer rendered, to compare with what the
        // driver wrote: a driver that writes other frames (silence while it
        // starts) would shift the file against the device clock.
        const int64_t rendered = synth->frameAt(synth->nowUs());
        device.reset();
        synth.reset(); // stops the driver, the file is complete

        std::vector<int16_t> samples;
        if (!readRaw(rawPath, samples)) {
            state.SkipWithError("no audio file");
            return;
        }
        std::vector<double> errorsMs;
        double weakest = 1;
        for (const miditest::PlayedStream &question : played) {
            const std::vector<TimedMessage> messages =
                streamBufferMessages(question.buffer.data(), question.buffer.size(), 50);
            const PcmAudio offline = renderMessages(messages);
            int64_t lastOnset = -1;
            for (const TimedMessage &m : messages) {
                if ((m.message & 0xF0) != 0x90 || (m.message >> 16 & 0x7F) == 0 || m.timeUs == lastOnset)
                    continue;
                lastOnset = m.timeUs;
                const int64_t frame = m.timeUs * kSampleRate / 1000000;
                // Up to 20 ms either way.
                const miditest::OnsetMatch match =
                    miditest::matchOnset(offline.samples, frame, samples, question.startFrame + frame, 882);
                errorsMs.push_back(std::abs(match.lagFrames) * 1000.0 / kSampleRate);
                weakest = std::min(weakest, match.correlation);
            }
        }
        reportErrors(state, errorsMs);
        state.counters["notes"] = double(played.size() * (melodic ? 3 : 2));
        state.counters["onsets"] = double(errorsMs.size());
        state.counters["min_corr"] = weakest;
        state.counters["file_minus_clock_frames"] = double(int64_t(samples.size() / 2) - rendered);
    }
}

// The quiz's questions, melodic and harmonic in turn, through the program's
// own output on a real audio server (run under scripts/audio-servers run
// KIND), recorded from the server's sink for the whole run and placed
// against offline renders on the device clock tied once to the recording:
// dropouts (in the recording, and underruns the server reported), onset
// errors, and the first sound's delay after each request by the server's
// latency report.
void BM_ServerQuiz(benchmark::State &state)
{
    const int questions = int(state.range(0));
    const bool loaded = state.range(1) != 0;
    for (auto _ : state) {
        if (!miditest::AudioServerSession::present()) {
            state.SkipWithError("no audio server: run under scripts/audio-servers run KIND -- ...");
            return;
        }
        QString error;
        auto synth = miditest::AudioServerSession::programOutput(&error);
        if (!synth) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        auto device = std::make_shared<StartRecorder>(synth);
        MidiDeviceList::instance().install(device);
        PulseAudioOutput *output = synth->serverOutput();
        miditest::MonitorRecording recording;
        if (!recording.start(&error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        std::vector<int> levels;
        for (int i = 0; i < questions; ++i)
            levels.push_back(i % 2);
        miditest::QuizPlayback quiz;
        {
            CpuLoad load(loaded);
            quiz = miditest::playQuizQuestions(*synth, *device, levels, loaded ? 31 : 32);
        }
        const std::vector<int16_t> samples = recording.stop();
        const auto underruns = output->underruns();
        const int64_t latencyUs = output->latencyUs();
        const QString scheduling = output->scheduling();
        MidiDeviceList::instance().install(nullptr);
        device.reset();
        synth.reset();
        if (!quiz.error.isEmpty()) {
            state.SkipWithError(qPrintable(quiz.error));
            return;
        }
        const miditest::PlaybackReport report = miditest::analyzePlayback(samples, quiz.streams);
        if (!report.found) {
            state.SkipWithError("nothing was heard");
            return;
        }
        std::vector<double> errorsMs;
        for (int e : report.errors)
            errorsMs.push_back(std::abs(e) * 1000.0 / kSampleRate);
        reportErrors(state, errorsMs);
        state.counters["questions"] = double(quiz.streams.size());
        state.counters["onsets"] = double(report.onsets);
        state.counters["min_corr"] = report.weakestMatch;
        state.counters["dropouts"] = double(report.dropouts.size());
        state.counters["underruns"] = double(underruns.size());
        state.counters["first_p50_ms"] = percentile(quiz.firstSoundMs, 0.5);
        state.counters["first_max_ms"] = *std::max_element(quiz.firstSoundMs.begin(), quiz.firstSoundMs.end());
        state.counters["latency_ms"] = double(latencyUs) / 1000.0;
        state.SetLabel(qPrintable(miditest::AudioServerSession::kind() + QStringLiteral(", ") + scheduling));
        for (const miditest::Dropout &d : report.dropouts)
            std::fprintf(stderr, "dropout: %.1f ms at %.3f s of the recording\n", d.frames * 1000.0 / kSampleRate,
                         double(d.frame) / kSampleRate);
        for (const auto &u : underruns)
            std::fprintf(stderr,
                         "underrun: frame %lld, %.1f ms, the output's thread waited up to %.1f ms for its turn, "
                         "a render took up to %.1f ms\n",
                         static_cast<long long>(u.frame), double(u.durationUs) / 1000.0, double(u.threadGapUs) / 1000.0,
                         double(u.renderUs) / 1000.0);
        for (size_t i = 0; i < quiz.firstSoundMs.size(); ++i)
            if (quiz.firstSoundMs[i] > 50.0)
                std::fprintf(stderr, "first sound: question %zu after %.1f ms\n", i + 1, quiz.firstSoundMs[i]);
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

// Forgets the SoundFont's pages in the page cache, so that reading a
// preset's samples goes to the disk as it does the first time after boot.
void evictFromPageCache(const QString &path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY);
    if (fd < 0)
        return;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// Instruments not yet played by the synthesizer, asked for by streams while
// a render thread plays 2 ms turns as the audio server's output does (its
// own thread, caller-rendered device): the longest single render from the
// request until the stream's first note has sounded, and how long the
// request itself took. Each case selects instruments no channel has used
// before, with the SoundFont out of the page cache. Run it with the
// SoundFont to measure, e.g. TONVIK_SOUNDFONT=/usr/share/sounds/sf2/FluidR3_GM.sf2.
void BM_ColdProgramChange(benchmark::State &state)
{
    for (auto _ : state) {
        FluidSynthDevice::Options options = FluidSynthDevice::Options::fromEnvironment();
        options.callerRenders = true;
        auto device = std::make_shared<FluidSynthDevice>(options);
        if (!device->acquire()) {
            state.SkipWithError(qPrintable(device->lastError()));
            return;
        }
        MidiDeviceList::instance().install(device);
        std::atomic<bool> quit{false};
        std::atomic<int64_t> longestRenderUs{0};
        std::thread renderer([&] {
            auto next = std::chrono::steady_clock::now();
            while (!quit.load()) {
                next += std::chrono::milliseconds(2);
                std::this_thread::sleep_until(next);
                QElapsedTimer timer;
                timer.start();
                device->render(88);
                const int64_t us = timer.nsecsElapsed() / 1000;
                int64_t longest = longestRenderUs.load();
                while (us > longest && !longestRenderUs.compare_exchange_weak(longest, us)) {
                }
            }
        });
        // Programs far apart in the General MIDI list (strings, brass,
        // reed, pipe, synth lead, ethnic), then channel 10's drum kit.
        const int programs[] = {40, 56, 65, 73, 81, 105, -1};
        std::vector<double> renderMs;
        std::vector<double> requestMs;
        for (int program : programs) {
            evictFromPageCache(options.soundFont);
            const uint8_t channel = program < 0 ? 9 : 0;
            std::vector<uint8_t> bytes;
            if (program >= 0)
                addEvent(bytes, 0, MEVT_SHORTMSG << 24 | shortMsg(0xC0, uint8_t(program)));
            addEvent(bytes, 0, MEVT_SHORTMSG << 24 | shortMsg(0x90 | channel, program < 0 ? 38 : 60, 100));
            addEvent(bytes, 50, MEVT_SHORTMSG << 24 | shortMsg(0x90 | channel, program < 0 ? 38 : 60, 0));
            MIDIHDR header{};
            header.lpData = bytes.data();
            header.dwBufferLength = header.dwBytesRecorded = uint32_t(bytes.size());
            platform::NotifyWindow window([](const platform::TMessage &) {});
            HMIDISTRM stream = nullptr;
            if (midiStreamOpen(&stream, MIDI_MAPPER, window.handle(), 0) != MMSYSERR_NOERROR) {
                state.SkipWithError("the stream did not open");
                break;
            }
            midiStreamSetTimeDivision(stream, 50);
            midiOutPrepareHeader(stream, &header);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            longestRenderUs = 0;
            QElapsedTimer request;
            request.start();
            midiStreamOut(stream, &header);
            midiStreamRestart(stream);
            requestMs.push_back(double(request.nsecsElapsed()) / 1e6);
            std::this_thread::sleep_for(std::chrono::milliseconds(1200));
            renderMs.push_back(double(longestRenderUs.load()) / 1000.0);
            midiOutReset(stream);
            midiOutUnprepareHeader(stream, &header);
            midiStreamClose(stream);
            QCoreApplication::processEvents();
            std::fprintf(stderr, "%s %d: longest render %.2f ms, request %.2f ms\n", program < 0 ? "drum kit" : "program",
                         program < 0 ? 0 : program, renderMs.back(), requestMs.back());
        }
        quit = true;
        renderer.join();
        MidiDeviceList::instance().install(nullptr);
        if (renderMs.empty())
            return;
        state.counters["render_max_ms"] = *std::max_element(renderMs.begin(), renderMs.end());
        state.counters["render_p50_ms"] = percentile(renderMs, 0.5);
        state.counters["request_max_ms"] = *std::max_element(requestMs.begin(), requestMs.end());
        state.counters["request_p50_ms"] = percentile(requestMs, 0.5);
    }
}

} // namespace

BENCHMARK(BM_OfflineRenderQuestion)->Unit(benchmark::kMillisecond)->UseRealTime();
// Arguments: notes, load (0 idle, 1 every core busy).
BENCHMARK(BM_StreamOnsetError)->Args({60, 0})->Args({60, 1})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
// Arguments: melodic (1) or harmonic (0), notes; always under load.
BENCHMARK(BM_QuizOnsetError)->Args({1, 201})->Args({0, 200})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
// Arguments: questions (alternately melodic and harmonic), load. Needs a
// server: scripts/audio-servers run pulseaudio -- midi_timing_benchmark
// --benchmark_filter=BM_ServerQuiz (about 3.5 minutes a case).
BENCHMARK(BM_ServerQuiz)->Args({60, 0})->Args({60, 1})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
// Instruments first selected while the synthesizer plays (about 10 s).
BENCHMARK(BM_ColdProgramChange)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
