// Feeds arbitrary text through the play-string parser and the stream
// builder: whatever the text, parsing ends, events are in time order and the
// buffer stays within its limit.
#include "midigen/PlayStringParser.h"
#include "midigen/StreamBuilder.h"

#include <QString>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first byte picks the generator settings the text is read with.
    const int pick = data[0];
    TParserSettings parser{pick % 11, uint32_t(1 + pick * 7), (pick * 13) % 175, (pick >> 4) & 0x0F};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    TTimedEventList events;
    const bool simultaneous = PlayStringParser(parser).Parse(text, events);
    for (std::size_t i = 1; i < events.size(); ++i)
        if (events[i].Time < events[i - 1].Time)
            std::abort();

    TStreamSettings stream;
    stream.PlayChannel = parser.PlayChannel;
    stream.Instrument = parser.Instrument;
    stream.PitchBend = (pick % 241) - 120;
    stream.PBDelay = pick % 101;
    const std::vector<uint8_t> buffer = StreamBuilder(stream).Build(events, simultaneous);
    if (buffer.size() > StreamBuilder::MaxBufferSize || buffer.size() % StreamBuilder::EventSize != 0)
        std::abort();
    return 0;
}
