// midigen: builds, inspects, renders, exports and plays the MIDI stream of a
// play request of the MIDI generator.
//
//   midigen dump   [options] PLAYSTRING          stream events, one per line
//   midigen render [options] PLAYSTRING -o F.wav offline through the synthesizer
//   midigen export [options] PLAYSTRING -o F.mid Standard MIDI File
//   midigen play   [options] PLAYSTRING          on the MIDI mapper
//
// PLAYSTRING may also come from a file (--file F) or standard input ("-").
// After "--" every argument is positional, so a PLAYSTRING may begin
// with "-".
//
// With --note NAME and no PLAYSTRING the request plays one note (Note at
// Octave), as the generator's Play does.
#include "SmfWriter.h"
#include "WavRender.h"

#include "midigen/TMidiGen.h"
#include "platform/MessageLoop.h"
#include "platform/midi/CaptureDevice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

const char UsageText[] =
    "Usage: midigen MODE [options] [--] PLAYSTRING\n"
    "Modes:\n"
    "  dump     print the stream buffer: DELTA STATUS DATA1 DATA2 [cb] per event\n"
    "  render   render offline to a WAV file (44,100 Hz, 16-bit stereo); needs -o\n"
    "  export   write a Standard MIDI File (format 0); needs -o\n"
    "  play     play on the MIDI mapper until the stream closes; on the capture\n"
    "           output (TONVIK_MIDI_OUT=capture) the stream runs on the capture\n"
    "           clock at once and what the device received is printed:\n"
    "           TIME_MS STATUS DATA1 DATA2 [direct] per message\n"
    "Options (generator properties, set before the request):\n"
    "  --instrument N   0..174 or a name such as mgViolin\n"
    "  --channel N      1..16\n"
    "  --octave N       0..10          --duration N   ticks of 10 ms\n"
    "  --volume N       0..100         --pan N        -100..100\n"
    "  --reverb N       0..100         --chorus N     0..100\n"
    "  --modulation N   0..100         --sustain\n"
    "  --pitchbend N    -120..120      --pbdelay N    0..100\n"
    "  --pbduration N   0..100         --loops N      0 = until stopped\n"
    "  --note NAME      mgC..mgB or C, C#, D- ...: without PLAYSTRING, play that\n"
    "                   note at --octave\n"
    "  -o, --output F   output file of render and export\n"
    "  -f, --file F     read the PLAYSTRING from file F; PLAYSTRING \"-\" reads it\n"
    "                   from standard input\n"
    "  --               the arguments that follow are not options: a PLAYSTRING\n"
    "                   that begins with \"-\" goes after it\n"
    "Out-of-range values are clamped to the nearest bound.\n";

int usageError(const QString &message)
{
    std::fprintf(stderr, "midigen: %s\n\n%s", qPrintable(message), UsageText);
    return 2;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "midigen: %s\n", qPrintable(message));
    return 1;
}

std::optional<int> toInt(const QString &text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional(v) : std::nullopt;
}

std::optional<uint32_t> toUInt(const QString &text)
{
    bool ok = false;
    const uint v = text.toUInt(&ok);
    return ok ? std::optional(uint32_t(v)) : std::nullopt;
}

std::optional<TMGNote> toNote(const QString &text)
{
    if (auto named = TMGNoteFromName(text))
        return named;
    if (auto semitone = PlayStringParser::NoteSemitone(text))
        return TMGNote(*semitone);
    if (auto n = toInt(text); n && *n >= 0 && *n < mgNoteCount)
        return TMGNote(*n);
    return std::nullopt;
}

std::optional<TMGInstrument> toInstrument(const QString &text)
{
    if (auto named = TMGInstrumentFromName(text))
        return named;
    if (auto n = toInt(text))
        return TMGInstrument(*n); // the generator clamps it
    return std::nullopt;
}

struct Request
{
    QString mode;
    QString playString;
    bool singleNote = false;
    QString output;
};

// Sets the generator from the options; an error text for a bad value.
QString applyOptions(const QCommandLineParser &args, TMidiGen &gen)
{
    struct IntOption
    {
        const char *name;
        std::function<void(int)> set;
    };
    const IntOption ints[] = {
        {"octave", [&](int v) { gen.setOctave(v); }},
        {"volume", [&](int v) { gen.setVolume(v); }},
        {"pan", [&](int v) { gen.setPan(v); }},
        {"reverb", [&](int v) { gen.setReverb(v); }},
        {"chorus", [&](int v) { gen.setChorus(v); }},
        {"modulation", [&](int v) { gen.setModulation(v); }},
        {"pitchbend", [&](int v) { gen.setPitchBend(v); }},
        {"pbdelay", [&](int v) { gen.setPBDelay(v); }},
        {"pbduration", [&](int v) { gen.setPBDuration(v); }},
    };
    for (const IntOption &o : ints) {
        if (!args.isSet(o.name))
            continue;
        const auto v = toInt(args.value(o.name));
        if (!v)
            return QStringLiteral("--%1 needs an integer, not \"%2\"").arg(o.name, args.value(o.name));
        o.set(*v);
    }
    for (const char *name : {"duration", "loops"}) {
        if (!args.isSet(name))
            continue;
        const auto v = toUInt(args.value(name));
        if (!v)
            return QStringLiteral("--%1 needs a number 0 or more, not \"%2\"").arg(name, args.value(name));
        if (QLatin1StringView(name) == "duration")
            gen.setDuration(*v);
        else
            gen.setLoops(*v);
    }
    if (args.isSet("channel")) {
        const auto v = toInt(args.value("channel"));
        if (!v || *v < 1 || *v > 16)
            return QStringLiteral("--channel needs a channel 1..16, not \"%1\"").arg(args.value("channel"));
        gen.setChannel(TMGChannel(*v - 1));
    }
    if (args.isSet("instrument")) {
        const auto v = toInstrument(args.value("instrument"));
        if (!v)
            return QStringLiteral("--instrument needs 0..174 or a name, not \"%1\"").arg(args.value("instrument"));
        gen.setInstrument(*v);
    }
    if (args.isSet("note")) {
        const auto v = toNote(args.value("note"));
        if (!v)
            return QStringLiteral("--note needs a note name, not \"%1\"").arg(args.value("note"));
        gen.setNote(*v);
    }
    gen.setSustain(args.isSet("sustain"));
    return {};
}

std::vector<uint8_t> bufferFor(const TMidiGen &gen, const Request &request)
{
    return request.singleNote ? gen.BufferForNote(int(gen.Note()) + gen.Octave() * 12)
                              : gen.BufferForString(request.playString);
}

int dump(const std::vector<uint8_t> &buffer)
{
    for (const TStreamEvent &e : StreamBuilder::Decode(buffer))
        std::printf("%u %u %u %u%s\n", e.Delta, e.Status(), e.Data1(), e.Data2(), e.Callback() ? " cb" : "");
    return 0;
}

// Every step of the write is checked: a full disk shows only at flush() or
// close(), and the export must not report success then.
int writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size()
        && file.flush();
    if (!ok)
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    file.close();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return 0;
}

// The play-string of --file PATH, "-" meaning standard input: a command-line
// argument is limited to 128 KiB, a file is not.
std::optional<QString> readPlayString(const QString &path, QString *error)
{
    QFile file;
    const bool ok = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!ok) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return QString::fromUtf8(data).trimmed();
}

// The capture device's clock moves only when someone steps it: walk it from
// event to event, handing the notifications to the generator in between as
// the message loop does while a real device plays, until the stream closes.
void runOnCaptureClock(TMidiGen &gen, platform::midi::CaptureDevice &capture)
{
    while (gen.IsPlaying()) {
        const int64_t next = capture.nextEventUs();
        if (next >= 0) {
            capture.advanceUs(std::max<int64_t>(0, next - capture.clockUs()));
            platform::processMessages();
        } else {
            // Nothing left to play: only the close notification is due.
            platform::waitForMessages(200);
        }
    }
}

void printCaptured(const platform::midi::CaptureDevice &capture)
{
    for (const platform::midi::CapturedMessage &m : capture.messages())
        std::printf("%.3f %u %u %u%s\n", m.timeMs(), m.status, m.data1, m.data2, m.fromStream ? "" : " direct");
}

int play(TMidiGen &gen, const Request &request)
{
    platform::midi::CaptureDevice *capture = platform::midi::CaptureDevice::active();
    if (capture && gen.Loops() == 0)
        return fail(QStringLiteral("--loops 0 plays until stopped, which never happens on the capture output"));
    if (!gen.MidiAvailable())
        return fail(QStringLiteral("no MIDI output device is available"));
    if (capture)
        capture->clear();
    const bool started = request.singleNote ? gen.Play() : gen.PlayString(request.playString);
    if (!started)
        return fail(QStringLiteral("the MIDI stream could not be started"));
    if (capture) {
        runOnCaptureClock(gen, *capture);
        printCaptured(*capture);
        return 0;
    }
    while (gen.IsPlaying())
        platform::waitForMessages(200);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("midigen"));

    QCommandLineParser args;
    args.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const char *name : {"instrument", "channel", "octave", "duration", "volume", "pan", "reverb", "chorus",
                             "modulation", "pitchbend", "pbdelay", "pbduration", "loops", "note"})
        args.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("N")));
    args.addOption(QCommandLineOption(QStringLiteral("sustain")));
    args.addOption(QCommandLineOption(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                      QStringLiteral("FILE")));
    args.addOption(QCommandLineOption(QStringList{QStringLiteral("f"), QStringLiteral("file")}, QString(),
                                      QStringLiteral("FILE")));
    args.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    if (!args.parse(QCoreApplication::arguments()))
        return usageError(args.errorText());
    if (args.isSet("help")) {
        std::fputs(UsageText, stdout);
        return 0;
    }

    const QStringList positional = args.positionalArguments();
    if (positional.isEmpty())
        return usageError(QStringLiteral("no mode given"));
    Request request;
    request.mode = positional.front();
    if (!QStringList{"dump", "render", "export", "play"}.contains(request.mode))
        return usageError(QStringLiteral("unknown mode \"%1\"").arg(request.mode));
    if (positional.size() > 2)
        return usageError(QStringLiteral("one PLAYSTRING only (quote it when it holds spaces)"));
    const bool fromFile = args.isSet("file") || (positional.size() == 2 && positional[1] == QLatin1String("-"));
    if (fromFile) {
        if (args.isSet("file") && positional.size() == 2)
            return usageError(QStringLiteral("a PLAYSTRING or --file, not both"));
        QString error;
        const auto text = readPlayString(args.isSet("file") ? args.value("file") : QStringLiteral("-"), &error);
        if (!text)
            return fail(error);
        request.playString = *text;
    } else if (positional.size() == 2)
        request.playString = positional[1];
    else if (args.isSet("note"))
        request.singleNote = true;
    else
        return usageError(QStringLiteral("no PLAYSTRING given"));
    request.output = args.value("output");
    if ((request.mode == "render" || request.mode == "export") && request.output.isEmpty())
        return usageError(QStringLiteral("%1 needs -o FILE").arg(request.mode));

    TMidiGen gen;
    if (const QString error = applyOptions(args, gen); !error.isEmpty())
        return usageError(error);

    const std::vector<uint8_t> buffer = bufferFor(gen, request);
    if (buffer.empty())
        return fail(QStringLiteral("the play-string yields no notes"));
    if (request.mode == "play")
        return play(gen, request);
    if (request.mode == "dump")
        return dump(buffer);
    if (request.mode == "export")
        return writeFile(request.output, SmfWriter::Write(StreamBuilder::Decode(buffer)));
    QString error;
    if (!renderWav(buffer, request.output, &error))
        return fail(error);
    return 0;
}
