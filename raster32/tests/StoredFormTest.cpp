#include "TestImages.h"
#include "raster32/Errors.h"
#include "raster32/TBitmap32.h"
#include "tools/lampgen/LampPattern.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

using namespace raster32;
using raster32::testing::SequentialStream;
using raster32::testing::fillPattern;

namespace {

QByteArray header(qint32 w, qint32 h)
{
    QByteArray b(8, 0);
    qToLittleEndian(w, b.data());
    qToLittleEndian(h, b.data() + 4);
    return b;
}

// An 11 × 13 stored form whose first pixel is white and whose second
// pixel's bytes are 01 02 03 04.
QByteArray sampleForm()
{
    QByteArray data = header(11, 13);
    for (int i = 0; i < 11 * 13; ++i)
        data.append(QByteArray::fromHex(i == 0 ? "FFFFFFFF" : (i == 1 ? "01020304" : "10203040")));
    return data;
}

void expectReadError(TBitmap32 &b, QIODevice &stream)
{
    try {
        b.ReadStored(stream);
        FAIL() << "accepted";
    } catch (const EStreamError &e) {
        EXPECT_EQ(e.message(), "Stream read error");
    }
}

} // namespace

TEST(StoredForm, ReadsWidthHeightAndPixelsInMemoryOrder)
{
    const QByteArray data = sampleForm();
    ASSERT_EQ(data.size(), 580);
    ASSERT_EQ(data.left(8).toHex(), "0b0000000d000000");
    TBitmap32 b;
    int changes = 0;
    b.OnChange = [&](QObject *) { ++changes; };
    b.LoadStoredData(data);
    EXPECT_EQ(b.Width(), 11);
    EXPECT_EQ(b.Height(), 13);
    EXPECT_EQ(b.Pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(b.Pixel(1, 0), 0x04030201u) << "bytes are blue, green, red, alpha";
    EXPECT_GE(changes, 1);
    EXPECT_EQ(b.StoredData(), data) << "writing gives the same bytes back";
}

TEST(StoredForm, EmptyBitmapsStoreOnlyTheirSize)
{
    TBitmap32 b;
    b.SetDimensions(0, 7);
    EXPECT_EQ(b.StoredData(), header(0, 7));
    TBitmap32 c;
    fillPattern(c, 2, 2);
    c.LoadStoredData(header(0, 7));
    EXPECT_EQ(c.Width(), 0);
    EXPECT_EQ(c.Height(), 7);
    EXPECT_TRUE(c.IsEmpty());
}

TEST(StoredForm, AStreamCutShortAtAnyOffsetFailsAndLeavesTheBitmapAsItWas)
{
    const QByteArray data = sampleForm();
    TBitmap32 b;
    fillPattern(b, 3, 2, 7);
    TBitmap32 before;
    before.CopyFrom(&b);
    for (int cut = 0; cut < data.size(); ++cut) {
        SCOPED_TRACE(cut);
        int changes = 0;
        b.OnChange = [&](QObject *) { ++changes; };
        QBuffer random;
        random.setData(data.left(cut));
        random.open(QIODevice::ReadOnly);
        expectReadError(b, random);
        SequentialStream sequential(data.left(cut));
        expectReadError(b, sequential);
        EXPECT_TRUE(b.SameImage(&before));
        EXPECT_EQ(changes, 2) << "the change is announced also after a failed read";
    }
}

TEST(StoredForm, HostileSizesAreRefusedWithoutAllocating)
{
    TBitmap32 b;
    fillPattern(b, 2, 2);
    TBitmap32 before;
    before.CopyFrom(&b);
    const QByteArray pixels(64, '\x7f');
    const std::pair<qint32, qint32> sizes[] = {
        {0x7FFFFFFF, 0x7FFFFFFF}, {0x7A000000, 0x79004200}, {65536, 65536}, {5, 4}, {1 << 30, 4}};
    for (auto [w, h] : sizes) {
        SCOPED_TRACE(QString("%1 x %2").arg(w).arg(h).toStdString());
        QBuffer random;
        random.setData(header(w, h) + pixels);
        random.open(QIODevice::ReadOnly);
        expectReadError(b, random);
        SequentialStream sequential(header(w, h) + pixels);
        expectReadError(b, sequential);
        EXPECT_TRUE(b.SameImage(&before));
    }
    // Exactly the bytes the header asks for are accepted, also sequentially.
    SequentialStream exact(header(4, 4) + pixels);
    b.ReadStored(exact);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Pixel(3, 3), 0x7F7F7F7Fu);
}

TEST(StoredForm, ANegativeDimensionCountsAsZero)
{
    // As SetDimensions takes it: the bitmap becomes empty with the other
    // dimension kept, no pixels are read, and the change is announced.
    const std::pair<qint32, qint32> sizes[] = {{-5, 10}, {10, -1}, {INT32_MIN, 1}, {-1, -1}, {-5, 1 << 30}};
    for (auto [w, h] : sizes) {
        SCOPED_TRACE(QString("%1 x %2").arg(w).arg(h).toStdString());
        TBitmap32 b;
        fillPattern(b, 2, 2);
        int changes = 0, resizes = 0;
        b.OnChange = [&](QObject *) { ++changes; };
        b.OnResize = [&](QObject *) { ++resizes; };
        QBuffer stream;
        stream.setData(header(w, h) + QByteArray(16, '\x7f'));
        stream.open(QIODevice::ReadOnly);
        b.ReadStored(stream);
        EXPECT_EQ(b.Width(), std::max(w, 0));
        EXPECT_EQ(b.Height(), std::max(h, 0));
        EXPECT_TRUE(b.IsEmpty());
        EXPECT_EQ(b.Pixels(), nullptr);
        EXPECT_EQ(stream.pos(), 8) << "no pixel bytes belong to an empty bitmap";
        EXPECT_EQ(resizes, 1);
        EXPECT_GE(changes, 1);
        SequentialStream sequential(header(w, h));
        b.ReadStored(sequential);
        EXPECT_TRUE(b.IsEmpty());
    }
}

TEST(StoredForm, AFailedWriteIsReported)
{
    TBitmap32 b;
    fillPattern(b, 2, 2);
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    try {
        b.WriteStored(readOnly);
        FAIL();
    } catch (const EStreamError &e) {
        EXPECT_EQ(e.message(), "Stream write error");
    }
}

TEST(StoredForm, TheLampFilesHoldTheLampPatternInTheirColours)
{
    const std::pair<const char *, TColor32> lamps[] = {
        {"lamp-off.bmp32", 0xFF0080FFu}, {"lamp-green.bmp32", 0xFF00FF00u}, {"lamp-red.bmp32", 0xFFFF0000u}};
    for (auto [name, fill] : lamps) {
        SCOPED_TRACE(name);
        QFile file(QStringLiteral(TONVIK_LAMP_DIR "/") + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.size(), 580);
        TBitmap32 b;
        b.ReadStored(file);
        ASSERT_EQ(b.Width(), 11);
        ASSERT_EQ(b.Height(), 13);
        int fills = 0;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 11; ++x) {
                const char kind = lampgen::LampRows[size_t(y)][x];
                const TColor32 want = kind == 'W' ? 0xFFFFFFFFu : (kind == 'K' ? 0xFF000000u : fill);
                EXPECT_EQ(b.Pixel(x, y), want) << x << "," << y;
                fills += kind == 'F';
            }
        EXPECT_EQ(fills, 75);
        EXPECT_EQ(b.Pixel(5, 0), 0xFF000000u);
        EXPECT_EQ(b.Pixel(5, 6), fill);
    }
}
