#include "PlayStringParser.h"

#include "MidiGenTypes.h"

#include <limits>

const char PlayStringParser::NoteTable[] =
    "00C01C+01C#02D01D-03D+03D#04E03E-05F06F+06F#07G06G-08G+08G#09A08A-10A+10A#11B10B-";

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isBlank(QChar c) { return c.unicode() <= 0x20; }

QStringView trimBlanks(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

std::optional<int32_t> PlayStringParser::ToInteger(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < n && (text[i] == u'$' || text[i] == u'X' || text[i] == u'x')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'X' || text[i + 1] == u'x')) {
        hex = true;
        i += 2;
    }
    if (i == n)
        return std::nullopt;
    const uint64_t limit = hex ? 0xFFFFFFFFu : (negative ? 2147483648u : 2147483647u);
    uint64_t value = 0;
    for (; i < n; ++i) {
        const int d = hex ? hexDigit(text[i]) : (isDigit(text[i]) ? text[i].unicode() - u'0' : -1);
        if (d < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + uint64_t(d);
        if (value > limit)
            return std::nullopt;
    }
    // Hexadecimal numbers fill the 32 bits, so $FFFFFFFF is -1.
    int64_t signedValue = hex ? int64_t(int32_t(uint32_t(value))) : int64_t(value);
    if (negative)
        signedValue = -signedValue;
    return int32_t(uint32_t(uint64_t(signedValue)));
}

std::optional<int> PlayStringParser::NoteSemitone(QStringView name)
{
    if (name.isEmpty() || name.size() > 2)
        return std::nullopt;
    const QString wanted = name.toString().toUpper();
    // Entries are two digits followed by a letter and an optional accidental;
    // the first entry with the name wins.
    const QLatin1StringView table(NoteTable);
    qsizetype i = 0;
    while (i + 2 < table.size()) {
        const int semitone = (table[i].unicode() - '0') * 10 + (table[i + 1].unicode() - '0');
        qsizetype end = i + 3;
        if (end < table.size() && !isDigit(table[end]))
            ++end;
        if (table.sliced(i + 2, end - i - 2) == wanted)
            return semitone;
        i = end;
    }
    return std::nullopt;
}

bool PlayStringParser::Parse(QStringView input, TTimedEventList &events) const
{
    QString text = trimBlanks(input).toString().toUpper();
    text.remove(u' ');
    if (text.isEmpty())
        return false;

    const int playChannel = m_settings.PlayChannel;
    int64_t currentTime = 0;
    int64_t currentDelay = 0;
    std::optional<int64_t> currentLength;
    int currentOctave = m_settings.Octave;
    int eventChannel = (m_settings.Instrument >= mgFirstPercussion || playChannel == mgPercussionChannel)
        ? mgPercussionChannel : playChannel;
    int eventInstrument = m_settings.Instrument;
    bool simultaneous = true;

    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype comma = text.indexOf(u',', pos);
        const qsizetype segEnd = comma < 0 ? text.size() : comma;
        const QStringView rawSegment = QStringView(text).sliced(pos, segEnd - pos);
        pos = comma < 0 ? text.size() : comma + 1;
        if (rawSegment.isEmpty())
            continue;

        QString segment = trimBlanks(rawSegment).toString();
        if (segment.isEmpty())
            break;

        // Normalise to delay;what;length.
        if (!isDigit(segment.front()) && segment.front() != u';')
            segment.prepend(u';');
        if (segment.front() == u';')
            segment.prepend(QString::number(currentDelay));
        if (segment.count(u';') <= 1)
            segment.append(u';');
        if (segment.back() == u';') {
            if (!currentLength)
                currentLength = m_settings.Duration;
            segment.append(QString::number(*currentLength));
        }

        const qsizetype firstSemi = segment.indexOf(u';');
        const int64_t delay = ToInteger(QStringView(segment).first(firstSemi)).value_or(-1);
        if (delay >= 0)
            currentDelay = delay;
        if (delay != 0)
            simultaneous = false;
        const QStringView rest = QStringView(segment).sliced(firstSemi + 1);

        const qsizetype secondSemi = rest.indexOf(u';');
        if (secondSemi <= 0)
            break; // no what: a segment holding only a number ends the text
        const QStringView what = rest.first(secondSemi);

        int instrument = -1;
        int note = -1;
        if (what.size() >= 2 && what.front() == u'I')
            instrument = ToInteger(what.sliced(1)).value_or(-1);
        if (instrument < 0 && what.size() >= 2 && what.front() == u'N') {
            const int n = ToInteger(what.sliced(1)).value_or(-1);
            if (n >= 0 && n <= 127)
                note = n;
        }
        if (instrument < 0 && note < 0) {
            QString name = what.toString();
            if (name.size() < 2 || !isDigit(name.back()))
                name += QString::number(currentOctave);
            const qsizetype nameLength = isDigit(name[1]) ? 1 : 2;
            const auto octave = ToInteger(QStringView(name).sliced(nameLength));
            const auto semitone = NoteSemitone(QStringView(name).first(nameLength));
            if (octave && *octave >= 0 && *octave <= 10 && semitone) {
                currentOctave = *octave;
                note = *octave * 12 + *semitone;
            }
        }

        const int64_t length = ToInteger(rest.sliced(secondSemi + 1)).value_or(-1);
        if (length > 0) {
            if (currentLength && *currentLength != length)
                simultaneous = false;
            currentLength = length;
        } else if (length == 0 && !currentLength) {
            currentLength = m_settings.Duration;
        }

        const bool gaveInstrument = instrument >= 0 && instrument < mgInstrumentCount;
        const bool gaveNote = instrument < 0 && note >= 0 && note <= 127;
        if (length < 0 || delay < 0 || !(gaveInstrument || gaveNote))
            continue;
        // Times are 32-bit: a segment that would start or end beyond that
        // range adds nothing rather than wrapping to an earlier time.
        const int64_t time = currentTime + delay;
        const int64_t endTime = gaveNote ? time + *currentLength : time;
        if (endTime > std::numeric_limits<int32_t>::max())
            continue;
        currentTime = time;

        if (gaveInstrument) {
            if (instrument >= mgFirstPercussion)
                eventInstrument = instrument;
            if (playChannel != mgPercussionChannel) {
                eventChannel = instrument >= mgFirstPercussion ? mgPercussionChannel : playChannel;
                events.push_back({int32_t(time), TEventKind::ProgramChange, instrument, uint8_t(eventChannel)});
            }
        } else {
            const int value = (eventChannel == mgPercussionChannel && playChannel != mgPercussionChannel)
                ? eventInstrument : note;
            events.push_back({int32_t(time), TEventKind::NoteOn, value, uint8_t(eventChannel)});
            events.push_back({int32_t(endTime), TEventKind::NoteOff, value, uint8_t(eventChannel)});
        }
    }

    sortTimedEvents(events);
    return simultaneous;
}
