// Throughput of turning the quiz's play-strings into stream buffers.
#include "midigen/PlayStringParser.h"
#include "midigen/StreamBuilder.h"

#include <QString>
#include <benchmark/benchmark.h>

namespace {

void parseAndBuild(benchmark::State &state, const QString &text)
{
    TStreamSettings stream;
    stream.Sustain = true;
    const TParserSettings parser{4, 150, 0, 0};
    std::size_t bytes = 0;
    for (auto _ : state) {
        TTimedEventList events;
        const bool simultaneous = PlayStringParser(parser).Parse(text, events);
        const auto buffer = StreamBuilder(stream).Build(events, simultaneous);
        bytes += buffer.size();
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(int64_t(bytes));
}

void BM_MelodicQuiz(benchmark::State &state) { parseAndBuild(state, QStringLiteral("N60,150;N64,150;N60,150")); }
void BM_HarmonicQuiz(benchmark::State &state) { parseAndBuild(state, QStringLiteral("N60,0;N64,150")); }

// A long string that fills the buffer to its limit.
void BM_FullBuffer(benchmark::State &state)
{
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("C#%1;10,").arg(i % 10);
    parseAndBuild(state, text);
}

void BM_BuildOnlyMelodic(benchmark::State &state)
{
    TTimedEventList events;
    PlayStringParser({4, 150, 0, 0}).Parse(u"N60,150;N64,150;N60,150", events);
    const StreamBuilder builder({});
    for (auto _ : state)
        benchmark::DoNotOptimize(builder.Build(events, false));
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(BM_MelodicQuiz);
BENCHMARK(BM_HarmonicQuiz);
BENCHMARK(BM_BuildOnlyMelodic);
BENCHMARK(BM_FullBuffer);
BENCHMARK_MAIN();
