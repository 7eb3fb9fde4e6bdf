// The image view to assistive technology: an image named by the program.
#include "raster32/TBitmap32.h"
#include "raster32/TImage32.h"

#include <QAccessible>
#include <gtest/gtest.h>

using namespace raster32;

TEST(Image32Accessible, AnImageNamedByTheProgramWithTheSizeItIsShownAt)
{
    QWidget parent;
    TImage32 view(&parent);
    view.setGeometry(140, 9, 26, 26);
    view.setScaleMode(smStretch);
    view.Bitmap()->SetDimensions(11, 13);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Graphic);
    EXPECT_EQ(iface->text(QAccessible::Name), "");
    view.setAccessibleName("right");
    view.setAccessibleDescription("Answer lamp");
    EXPECT_EQ(iface->text(QAccessible::Name), "right");

    auto *image = static_cast<QAccessibleImageInterface *>(iface->interface_cast(QAccessible::ImageInterface));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->imageDescription(), "Answer lamp");
    EXPECT_EQ(image->imageSize(), QSize(26, 26)) << "stretched over the whole view";
    EXPECT_EQ(image->imagePosition(), view.mapToGlobal(QPoint(0, 0)));

    view.setScaleMode(smNormal);
    view.setBitmapAlign(baCenter);
    EXPECT_EQ(image->imageSize(), QSize(11, 13));
    EXPECT_EQ(image->imagePosition(), view.mapToGlobal(QPoint(7, 6)));
    view.Bitmap()->SetDimensions(0, 0);
    EXPECT_EQ(image->imageSize(), QSize(0, 0)) << "nothing shown";
}
