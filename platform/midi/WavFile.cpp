#include "WavFile.h"

#include "platform/Exception.h"

#include <QFile>

#include <cstring>

namespace platform::midi {

namespace {

void putU32(QByteArray &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char(v >> (8 * i)));
}

void putU16(QByteArray &out, uint16_t v)
{
    out.append(char(v));
    out.append(char(v >> 8));
}

uint32_t getU32(const char *p)
{
    const auto *u = reinterpret_cast<const uint8_t *>(p);
    return uint32_t(u[0]) | uint32_t(u[1]) << 8 | uint32_t(u[2]) << 16 | uint32_t(u[3]) << 24;
}

uint16_t getU16(const char *p)
{
    const auto *u = reinterpret_cast<const uint8_t *>(p);
    return uint16_t(u[0] | u[1] << 8);
}

} // namespace

void writeWav(const QString &path, const PcmAudio &audio)
{
    if (audio.channels <= 0 || audio.sampleRate <= 0)
        throw Exception(QStringLiteral("Cannot write %1: bad audio format").arg(path));
    const uint64_t dataBytes = uint64_t(audio.samples.size()) * 2;
    if (dataBytes > 0xFFFFFFFFull - 36)
        throw Exception(QStringLiteral("Cannot write %1: audio too long for a WAVE file").arg(path));
    QByteArray header;
    header.append("RIFF");
    putU32(header, uint32_t(36 + dataBytes));
    header.append("WAVEfmt ");
    putU32(header, 16);
    putU16(header, 1); // PCM
    putU16(header, uint16_t(audio.channels));
    putU32(header, uint32_t(audio.sampleRate));
    putU32(header, uint32_t(audio.sampleRate * audio.channels * 2));
    putU16(header, uint16_t(audio.channels * 2));
    putU16(header, 16);
    header.append("data");
    putU32(header, uint32_t(dataBytes));

    QByteArray data(qsizetype(dataBytes), Qt::Uninitialized);
    char *p = data.data();
    for (int16_t s : audio.samples) {
        *p++ = char(uint16_t(s));
        *p++ = char(uint16_t(s) >> 8);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(header) != header.size()
        || file.write(data) != data.size() || !file.flush())
        throw Exception(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

PcmAudio readWav(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    const auto bad = [&path](const char *why) { return Exception(QStringLiteral("Cannot read %1: %2").arg(path, QLatin1String(why))); };
    if (bytes.size() < 12 || std::memcmp(bytes.constData(), "RIFF", 4) != 0 || std::memcmp(bytes.constData() + 8, "WAVE", 4) != 0)
        throw bad("not a WAVE file");
    PcmAudio audio;
    bool haveFormat = false;
    qsizetype offset = 12;
    while (offset + 8 <= bytes.size()) {
        const char *chunk = bytes.constData() + offset;
        const uint32_t size = getU32(chunk + 4);
        const qsizetype body = offset + 8;
        if (uint64_t(size) > uint64_t(bytes.size() - body))
            throw bad("truncated chunk");
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || getU16(chunk + 8) != 1 || getU16(chunk + 22) != 16)
                throw bad("not 16-bit PCM");
            audio.channels = getU16(chunk + 10);
            audio.sampleRate = int(getU32(chunk + 12));
            if (audio.channels == 0 || audio.sampleRate == 0)
                throw bad("bad format");
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                throw bad("data before format");
            audio.samples.resize(size / 2);
            const auto *u = reinterpret_cast<const uint8_t *>(chunk + 8);
            for (size_t i = 0; i < audio.samples.size(); ++i)
                audio.samples[i] = int16_t(uint16_t(u[2 * i] | u[2 * i + 1] << 8));
            return audio;
        }
        offset = body + qsizetype(size) + (size & 1);
    }
    throw bad("no audio data");
}

} // namespace platform::midi
