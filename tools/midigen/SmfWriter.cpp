#include "SmfWriter.h"

namespace {

void put32(QByteArray &out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char(v >> shift));
}

void putVarLen(QByteArray &out, uint32_t v)
{
    // Seven bits per byte, most significant first, continuation bit set on
    // all but the last.
    char bytes[5];
    int n = 0;
    do {
        bytes[n++] = char(v & 0x7F);
        v >>= 7;
    } while (v);
    while (n > 1)
        out.append(char(bytes[--n] | 0x80));
    out.append(bytes[0]);
}

// Data bytes that follow a status byte of a channel message.
int dataBytes(uint8_t status)
{
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

} // namespace

QByteArray SmfWriter::Write(const std::vector<TStreamEvent> &events)
{
    QByteArray track;
    // Tempo meta event at the start.
    putVarLen(track, 0);
    track.append("\xFF\x51\x03", 3);
    track.append(char(MicrosecondsPerQuarterNote >> 16));
    track.append(char(MicrosecondsPerQuarterNote >> 8));
    track.append(char(MicrosecondsPerQuarterNote));

    uint32_t pendingDelta = 0;
    for (const TStreamEvent &e : events) {
        pendingDelta += e.Delta;
        const uint8_t status = e.Status();
        if (status < 0x80 || status >= 0xF0)
            continue; // only channel messages; their time still counts
        putVarLen(track, pendingDelta);
        pendingDelta = 0;
        track.append(char(status));
        track.append(char(e.Data1() & 0x7F));
        if (dataBytes(status) == 2)
            track.append(char(e.Data2() & 0x7F));
    }
    putVarLen(track, pendingDelta);
    track.append("\xFF\x2F\x00", 3);

    QByteArray file("MThd", 4);
    put32(file, 6);
    file.append("\x00\x00\x00\x01", 4); // format 0, one track
    file.append(char(TicksPerQuarterNote >> 8));
    file.append(char(TicksPerQuarterNote & 0xFF));
    file.append("MTrk", 4);
    put32(file, uint32_t(track.size()));
    file.append(track);
    return file;
}
