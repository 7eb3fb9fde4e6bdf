#include "coolctrls/TJPEGImage.h"
#include "coolctrls/TPicture.h"
#include "platform/testing/TestPictures.h"
#include "utils/TestWidgets.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace coolctrls;

TEST(PictureStoredForm, WallpaperResourceIsABaselineRgbJpegInTheStoredForm)
{
    const QByteArray pic = testing_cool::readSourceFile(QStringLiteral("resources/wallpaper.pic"));
    const QByteArray jpg = testing_cool::readSourceFile(QStringLiteral("resources/wallpaper.jpg"));
    ASSERT_FALSE(jpg.isEmpty());
    ASSERT_EQ(pic.size(), 1 + 10 + 4 + jpg.size());
    EXPECT_EQ(quint8(pic[0]), 10);
    EXPECT_EQ(pic.mid(1, 10), QByteArray("TJPEGImage"));
    EXPECT_EQ(qFromLittleEndian<quint32>(pic.constData() + 11), quint32(jpg.size()));

    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](QObject *) { ++changes; };
    picture.loadFromStoredForm(pic);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.graphicClassName(), QStringLiteral("TJPEGImage"));
    EXPECT_EQ(picture.graphicData(), jpg);
    EXPECT_EQ(picture.saveToStoredForm(), pic);

    EXPECT_EQ(TJPEGImage::imageSize(jpg), QSize(800, 376));
    // Baseline (SOF0, no progressive SOF2) with three components.
    const qsizetype sof0 = jpg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof0, 0);
    EXPECT_EQ(jpg.indexOf(QByteArray("\xFF\xC2", 2)), -1);
    EXPECT_EQ(quint8(jpg[sof0 + 9]), 3);
    const QImage image = picture.render();
    EXPECT_EQ(image.size(), QSize(800, 376));
    // A light texture: the mean brightness is high.
    long sum = 0;
    for (int y = 0; y < image.height(); y += 8)
        for (int x = 0; x < image.width(); x += 8)
            sum += qGray(image.pixel(x, y));
    EXPECT_GT(sum / ((image.height() / 8) * (image.width() / 8)), 160);
}

TEST(PictureStoredForm, MalformedFormsThrowAndLeaveThePictureUnchanged)
{
    TPicture picture;
    picture.loadJpeg(QByteArray("abc"));
    const QByteArray before = picture.saveToStoredForm();
    int changes = 0;
    picture.OnChange = [&](QObject *) { ++changes; };

    QByteArray longCount = before;
    qToLittleEndian<quint32>(1000, longCount.data() + 11);
    const QByteArray bad[] = {
        QByteArray(),                          // nothing
        QByteArray("\x0aTJPEG", 6),            // class name cut
        QByteArray("\x0aTJPEGImage\x01\x00", 13), // count cut
        longCount,                             // count past the end
        QByteArray("\x07TWhatIs\x00\x00\x00\x00", 12), // unknown graphic
    };
    for (const QByteArray &form : bad)
        EXPECT_THROW(picture.loadFromStoredForm(form), platform::Exception) << form.toHex().constData();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(picture.saveToStoredForm(), before);

    // The empty picture is one 0 byte both ways.
    picture.loadFromStoredForm(QByteArray(1, '\0'));
    EXPECT_TRUE(picture.isEmpty());
    EXPECT_EQ(picture.saveToStoredForm(), QByteArray(1, '\0'));
    EXPECT_TRUE(picture.render().isNull());
}

TEST(JpegDecoder, GreyscaleDecodesToRgbAndEmptyDataIsAnError)
{
    // A grey JPEG made with Qt's writer decodes to RGB32 with equal channels.
    QImage grey(16, 8, QImage::Format_Grayscale8);
    grey.fill(200);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!grey.save(&buffer, "JPEG"))
            GTEST_SKIP() << "no JPEG writer plugin";
    }
    const QImage decoded = TJPEGImage::decode(bytes);
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    const QRgb p = decoded.pixel(3, 3);
    EXPECT_EQ(qRed(p), qGreen(p));
    EXPECT_NEAR(qRed(p), 200, 2);
    EXPECT_THROW(TJPEGImage::decode(QByteArray()), EJPEGError);
}

TEST(PictureFiles, JpegBitmapAndStoredFormFilesLoadByTheirSuffix)
{
    TPicture picture;
    picture.loadFromFile(QStringLiteral(TONVIK_SOURCE_DIR "/resources/wallpaper.pic"));
    EXPECT_EQ(picture.graphicClassName(), QStringLiteral("TJPEGImage"));
    const QByteArray fromPic = picture.graphicData();
    picture.loadFromFile(QStringLiteral(TONVIK_SOURCE_DIR "/resources/wallpaper.jpg"));
    EXPECT_EQ(picture.graphicData(), fromPic);
    picture.loadFromFile(QStringLiteral(TONVIK_SOURCE_DIR "/resources/glyphs/BITMAP_TT.bmp"));
    EXPECT_EQ(picture.graphicClassName(), QStringLiteral("TBitmap"));
    EXPECT_EQ(picture.render().size(), QSize(16, 16));
    // The bitmap kind survives the stored form.
    TPicture copy;
    copy.loadFromStoredForm(picture.saveToStoredForm());
    EXPECT_EQ(copy.render(), picture.render());
    EXPECT_THROW(picture.loadFromFile(QStringLiteral("/nonexistent/x.jpg")), platform::Exception);
}

TEST(JpegDecoder, ASmallFileCannotClaimMoreThanAScreensWorthOfPixels)
{
    QImage flat(16, 16, QImage::Format_RGB32);
    flat.fill(qRgb(10, 20, 30));
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!flat.save(&buffer, "JPEG"))
            GTEST_SKIP() << "no JPEG writer plugin";
    }
    // The frame header (SOF0: FF C0, length, precision, height, width)
    // rewritten to claim other sizes.
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    const auto claim = [&](int width, int height) {
        QByteArray patched = bytes;
        qToBigEndian<quint16>(quint16(height), patched.data() + sof + 5);
        qToBigEndian<quint16>(quint16(width), patched.data() + sof + 7);
        return patched;
    };
    const qint64 allowed = TJPEGImage::maxPixelsFor(bytes.size());
    EXPECT_GE(allowed, qint64(2560) * 1600);
    // 16000 x 16000 from a few hundred bytes: refused before any allocation.
    try {
        TJPEGImage::decode(claim(16000, 16000));
        ADD_FAILURE() << "a 16000 x 16000 claim was decoded";
    } catch (const EJPEGError &e) {
        EXPECT_TRUE(e.message().contains("too large")) << e.message().toStdString();
    }
    // A screen's worth passes this limit whatever the file size (the data
    // then runs out, which the decoder reports as corrupt data).
    try {
        TJPEGImage::decode(claim(1000, 1000));
    } catch (const EJPEGError &e) {
        EXPECT_FALSE(e.message().contains("too large")) << e.message().toStdString();
    }
    EXPECT_EQ(TJPEGImage::decode(bytes).size(), QSize(16, 16));
}

TEST(PictureFiles, AStoredBitmapCannotClaimMorePixelsThanItsSizeAllows)
{
    // The class name, the byte count and a run-length BMP of 68 bytes.
    const auto stored = [](qint32 width, qint32 height) {
        const QByteArray bmp = platform::testpictures::runLengthBmp(width, height);
        QByteArray count(4, '\0');
        qToLittleEndian<quint32>(quint32(bmp.size()), count.data());
        return QByteArray("\x07TBitmap") + count + bmp;
    };
    TPicture picture;
    picture.loadFromStoredForm(stored(3, 37890));
    EXPECT_EQ(picture.render().size(), QSize(3, 37890));
    // Reading the form keeps the bytes; rendering refuses the claim.
    picture.loadFromStoredForm(stored(16000, 16000));
    EXPECT_EQ(picture.graphicClassName(), QStringLiteral("TBitmap"));
    try {
        picture.render();
        ADD_FAILURE() << "a 16000 x 16000 claim was rendered";
    } catch (const platform::Exception &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Bitmap image size 16000 x 16000 too large for 68 bytes of data"));
    }
}
