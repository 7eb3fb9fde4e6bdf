#pragma once

// Encoded pictures made in memory for the tests of the picture readers.

#include <QByteArray>
#include <QtEndian>

namespace platform::testpictures {

// A run-length (RLE8) BMP of one run of three pixels and an end-of-bitmap
// mark, whatever size its header claims: a few dozen bytes for any size.
inline QByteArray runLengthBmp(qint32 width, qint32 height)
{
    const QByteArray palette("\x00\x00\x00\x00\xff\xff\xff\x00", 8);
    const QByteArray runs("\x03\x01\x00\x00\x00\x01", 6);
    QByteArray info(40, '\0');
    char *p = info.data();
    qToLittleEndian<quint32>(40, p);
    qToLittleEndian<qint32>(width, p + 4);
    qToLittleEndian<qint32>(height, p + 8);
    qToLittleEndian<quint16>(1, p + 12);   // planes
    qToLittleEndian<quint16>(8, p + 14);   // bits per pixel
    qToLittleEndian<quint32>(1, p + 16);   // BI_RLE8
    qToLittleEndian<quint32>(quint32(runs.size()), p + 20);
    qToLittleEndian<quint32>(2, p + 32);   // colours used
    QByteArray file(14, '\0');
    const quint32 offset = 14 + 40 + quint32(palette.size());
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(offset + quint32(runs.size()), file.data() + 2);
    qToLittleEndian<quint32>(offset, file.data() + 10);
    return file + info + palette + runs;
}

} // namespace platform::testpictures
