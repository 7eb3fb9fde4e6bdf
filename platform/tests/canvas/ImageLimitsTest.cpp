#include "platform/Exception.h"
#include "platform/canvas/ImageLimits.h"
#include "platform/testing/TestPictures.h"

#include <gtest/gtest.h>

using namespace platform;
using platform::testpictures::runLengthBmp;

namespace {

QString messageOf(const QByteArray &data)
{
    try {
        decodeImage(data, "BMP");
    } catch (const Exception &e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(ImageLimits, EncodedPicturesClaimAtMostAScreenPlus256PixelsPerByte)
{
    EXPECT_EQ(maxPixelsFor(0), qint64(2560) * 1600);
    EXPECT_EQ(maxPixelsFor(1000) - maxPixelsFor(0), 256000);

    // 3 x 37,890 from 68 bytes is within a screen's worth: decoded.
    const QByteArray tall = runLengthBmp(3, 37890);
    ASSERT_LT(tall.size(), 100);
    const QImage image = decodeImage(tall, "BMP");
    EXPECT_EQ(image.size(), QSize(3, 37890));

    // All these forms are 68 bytes, which allow 512 x 8034 pixels exactly:
    // that is decoded, one more row is refused before decoding, naming the
    // claim and the byte count, and so is a huge claim.
    ASSERT_EQ(maxPixelsFor(tall.size()), qint64(512) * 8034);
    EXPECT_EQ(decodeImage(runLengthBmp(512, 8034), "BMP").size(), QSize(512, 8034));
    EXPECT_EQ(messageOf(runLengthBmp(512, 8035)),
              QStringLiteral("Bitmap image size 512 x 8035 too large for 68 bytes of data"));
    EXPECT_TRUE(messageOf(runLengthBmp(16000, 16000)).contains("too large"));

    // Not a picture, an empty claim, or a format that does not match.
    EXPECT_EQ(messageOf("not a picture"), QStringLiteral("Bitmap image is not valid"));
    EXPECT_EQ(messageOf(runLengthBmp(0, 5)), QStringLiteral("Bitmap image is not valid"));
    EXPECT_EQ(messageOf(QByteArray()), QStringLiteral("Bitmap image is not valid"));
}
