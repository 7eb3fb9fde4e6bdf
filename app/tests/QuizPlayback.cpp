#include "QuizPlayback.h"

#include "MidiTestSupport.h"
#include "StartRecorder.h"

#include "app/uFunctions.h"
#include "app/uVariables.h"
#include "midigen/TMidiGen.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/PulseAudioOutput.h"

#include <random>

namespace miditest {

QuizPlayback playQuizQuestions(platform::midi::FluidSynthDevice &synth, StartRecorder &recorder,
                               const std::vector<int> &levels, uint32_t seed, int64_t releaseUs)
{
    using platform::midi::PulseAudioOutput;
    QuizPlayback result;
    // Each run has its own generator; only one may own the stream.
    TMidiGen::ResetStreamOwnerForTests();
    std::mt19937 random(seed);
    app::SetRandomSource([&random](int n) { return int(random() % uint32_t(n)); });
    PulseAudioOutput *output = synth.serverOutput();
    TMidiGen generator;
    generator.setSustain(true);
    generator.setDuration(150);
    for (int level : levels) {
        app::SelectLevel(level);
        app::NewQuestion();
        const QString text = app::BuildPlayText(app::Quiz.Notes[1], app::Quiz.Notes[2], app::Quiz.Melodic);
        PlayedStream question{generator.BufferForString(text), 0};
        const int64_t clickUs = PulseAudioOutput::steadyNowUs();
        if (!generator.PlayString(text)) {
            result.error = QStringLiteral("PlayString(\"%1\") failed").arg(text);
            break;
        }
        question.startFrame = synth.frameAt(recorder.lastStartUs());
        if (output) {
            int64_t heardUs = -1;
            if (!pumpUntil([&] { return (heardUs = output->playbackTimeUs(question.startFrame)) >= 0; })) {
                result.error = QStringLiteral("the first frame of a question never reached the server");
                break;
            }
            result.firstSoundMs.push_back(double(heardUs - clickUs) / 1000.0);
        }
        if (!pumpUntil([&] { return !generator.IsPlaying(); }, 20000)) {
            result.error = QStringLiteral("a question did not finish");
            break;
        }
        result.streams.push_back(std::move(question));
        const int64_t end = synth.nowUs();
        if (!pumpUntil([&] { return synth.nowUs() > end + releaseUs; }, 20000)) {
            result.error = QStringLiteral("the device clock stopped");
            break;
        }
    }
    app::SetRandomSource({});
    return result;
}

} // namespace miditest
