// Time and memory of the profile functions on the largest files they
// accept, shaped to hurt: millions of empty lines, or one line of the whole
// size. The counters give the peak resident memory an operation adds, in MB,
// next to the file's size: it should stay a small multiple of the file
// (held once to read, twice to rewrite), whatever the shape.
#include "platform/profile/ProfileFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <fstream>
#include <functional>
#include <string>

using namespace platform::profile;

namespace {

// A field of /proc/self/status in kB (VmRSS, VmHWM).
long statusKb(const std::string &field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    return 0;
}

// Peak memory one call of op adds, in MB: the peak mark is reset first.
double peakAddedMb(const std::function<void()> &op)
{
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = statusKb("VmRSS");
    op();
    return (statusKb("VmHWM") - before) / 1024.0;
}

// Large blocks always come from their own mapping and go back on free, so
// the resident size follows what is allocated (glibc otherwise keeps freed
// blocks of this size in its heap after the first one).
const int fixedMmapThreshold = mallopt(M_MMAP_THRESHOLD, 256 * 1024);

QByteArray worstCase(int shape)
{
    const qsizetype size = MaxProfileFileSize - 64;
    QByteArray data = shape == 0 ? QByteArray(size, '\n') : "junk=" + QByteArray(size, 'x') + "\n";
    return data + "[S]\nk=1\n";
}

void run(benchmark::State &state, bool write)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("s.ini");
    const QByteArray data = worstCase(int(state.range(0)));
    {
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }
    int value = 0;
    auto op = [&] {
        if (write)
            benchmark::DoNotOptimize(WritePrivateProfileString("S", "k", QString::number(++value), file));
        else
            benchmark::DoNotOptimize(GetPrivateProfileString("S", "k", "d", file));
    };
    for (auto _ : state)
        op();
    state.counters["file_mb"] = data.size() / 1048576.0;
    state.counters["peak_added_mb"] = peakAddedMb(op);
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}

void BM_ReadLargestFile(benchmark::State &state) { run(state, false); }
void BM_WriteLargestFile(benchmark::State &state) { run(state, true); }

} // namespace

// Argument 0: empty lines; 1: one long line.
BENCHMARK(BM_ReadLargestFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLargestFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
