// Pictures decoded ahead on a worker thread: the same pixels and the same
// errors, at the same places, as decoding when the picture is rendered.
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TImageItem.h"
#include "coolctrls/TImages.h"
#include "coolctrls/TJPEGImage.h"
#include "coolctrls/TPicture.h"
#include "coolctrls/TStoredPictures.h"
#include "platform/Exception.h"
#include "platform/testing/ErrorCapture.h"
#include "platform/testing/TestPictures.h"
#include "utils/TestWidgets.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace coolctrls;

namespace {

const QString WallpaperForm = QStringLiteral(TONVIK_SOURCE_DIR "/resources/wallpaper.pic");

QByteArray wallpaperJpeg()
{
    return testing_cool::readSourceFile(QStringLiteral("resources/wallpaper.jpg"));
}

// The message a decoding throws, or empty.
QString renderError(const TPicture &picture)
{
    try {
        picture.render();
    } catch (const platform::Exception &e) {
        return e.message();
    }
    return {};
}

// A stored form of the given JPEG bytes, written to a file in dir.
QString writeStoredForm(const QTemporaryDir &dir, const QString &name, const QByteArray &jpeg)
{
    TPicture picture;
    picture.loadJpeg(jpeg);
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(picture.saveToStoredForm());
    return file.fileName();
}

} // namespace

TEST(PictureRendering, AheadGivesThePixelsOfOneDecodingSharedByCopies)
{
    const QByteArray jpeg = wallpaperJpeg();
    ASSERT_FALSE(jpeg.isEmpty());
    const QImage expected = TJPEGImage::decode(jpeg);

    TPicture picture;
    picture.loadJpeg(jpeg);
    const long before = TJPEGImage::decodeCount();
    picture.renderAhead();
    picture.renderAhead();   // started already: no second decoding
    TPicture copy;
    copy.assign(picture);    // takes the decoding along with the content
    EXPECT_EQ(copy.render(), expected);
    EXPECT_EQ(picture.render(), expected);
    EXPECT_EQ(TJPEGImage::decodeCount(), before + 1);

    // Taken once: the next render decodes anew, as it always did.
    EXPECT_EQ(picture.render(), expected);
    EXPECT_EQ(TJPEGImage::decodeCount(), before + 2);

    // A bitmap decodes ahead through Qt's reader the same way.
    TPicture bitmap;
    bitmap.loadFromStoredForm(QByteArray("\x07TBitmap", 8) + [] {
        QByteArray bmp = platform::testpictures::runLengthBmp(3, 1);
        QByteArray count(4, '\0');
        qToLittleEndian<quint32>(quint32(bmp.size()), count.data());
        return count + bmp;
    }());
    const QImage direct = bitmap.render();
    ASSERT_FALSE(direct.isNull());
    bitmap.renderAhead();
    EXPECT_EQ(bitmap.render(), direct);

    TPicture empty;
    empty.renderAhead();
    EXPECT_TRUE(empty.render().isNull());
}

TEST(PictureRendering, ErrorsAndNewContentAreThoseOfTheCurrentGraphic)
{
    const QByteArray jpeg = wallpaperJpeg();
    const QByteArray truncated = jpeg.left(jpeg.size() / 3);
    TPicture direct;
    direct.loadJpeg(truncated);
    const QString expected = renderError(direct);
    ASSERT_TRUE(expected.startsWith(QLatin1String("JPEG error")));

    // The error of a decoding ahead comes out of render(), every time.
    TPicture picture;
    picture.loadJpeg(truncated);
    picture.renderAhead();
    EXPECT_EQ(renderError(picture), expected);
    EXPECT_EQ(renderError(picture), expected);

    // A new content drops the decoding of the old one.
    picture.renderAhead();
    picture.loadJpeg(jpeg);
    EXPECT_EQ(picture.render(), TJPEGImage::decode(jpeg));
    picture.renderAhead();
    picture.loadJpeg(truncated);
    EXPECT_EQ(renderError(picture), expected);
    picture.renderAhead();
    picture.clear();
    EXPECT_TRUE(picture.render().isNull());
}

TEST(StoredPictures, LoadTheStoreAsReadingThemThenDidAndReportInTheSamePlaces)
{
    platform::testsupport::ErrorCapture errors;
    QTemporaryDir dir;
    const QByteArray jpeg = wallpaperJpeg();
    const QString truncated = writeStoredForm(dir, QStringLiteral("truncated.pic"), jpeg.left(jpeg.size() / 3));
    ASSERT_FALSE(truncated.isEmpty());

    // Read and decoding ahead; the store gets the pixels of one decoding.
    const QImage expected = TJPEGImage::decode(jpeg);
    TCoolImages store;
    const long before = TJPEGImage::decodeCount();
    TStoredPictures pictures({WallpaperForm, truncated});
    EXPECT_EQ(pictures.names(), QStringList({WallpaperForm, truncated}));
    pictures.loadInto(store);
    ASSERT_EQ(store.ImageCount(), 2);
    EXPECT_EQ(store.Images()->Items(0)->Bitmap(), expected);
    EXPECT_EQ(TJPEGImage::decodeCount(), before + 1);   // the truncated one never completes

    // An undecodable picture is reported when the store takes it, and its
    // item falls back to no wallpaper, as before.
    const TImageItem *bad = store.Images()->Items(1);
    EXPECT_TRUE(bad->BitmapObject()->Empty());
    EXPECT_TRUE(bad->renderError().startsWith(QLatin1String("JPEG error")));
    ASSERT_EQ(errors.messages().size(), 1);
    EXPECT_EQ(errors.messages().front(), bad->renderError());

    // A stored form that cannot be read shows when the store is loaded, not
    // when it is read; the store keeps what it had.
    const QString missing = dir.filePath(QStringLiteral("missing.pic"));
    TStoredPictures unreadable({WallpaperForm, missing});
    try {
        unreadable.loadInto(store);
        ADD_FAILURE() << "no error for a missing stored form";
    } catch (const platform::Exception &e) {
        EXPECT_EQ(e.message(), "Picture " + missing + " not found");
    }
    EXPECT_EQ(store.ImageCount(), 2);
}
