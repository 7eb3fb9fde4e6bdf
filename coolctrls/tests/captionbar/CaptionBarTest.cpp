#include "coolctrls/TCoolCaptionBar.h"
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TImageItem.h"
#include "coolctrls/TImages.h"
#include "coolctrls/TPicture.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QApplication>
#include <QBuffer>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

using namespace coolctrls;
using namespace platform;

namespace {

// A control with a caption bar over a white body; counts the mouse events
// that reach it.
class CaptionedWidget : public QWidget
{
public:
    explicit CaptionedWidget(QWidget *parent = nullptr)
        : QWidget(parent), bar(new TCoolCaptionBar(this, wallpaper))
    {
        resize(120, 60);
    }
    TWallpaperGroup wallpaper{this};
    TCoolCaptionBar *bar;
    int presses = 0, doubleClicks = 0;

    QImage image()
    {
        QImage img(size(), QImage::Format_RGB32);
        img.fill(Qt::black);
        render(&img);
        return img;
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        TCanvas canvas(this);
        canvas.FillRect(rect(), clWhite);
        bar->Paint(canvas);
    }
    void mousePressEvent(QMouseEvent *) override { ++presses; }
    void mouseDoubleClickEvent(QMouseEvent *) override { ++doubleClicks; }
};

void sendMouse(QWidget *w, QEvent::Type type, QPoint pos, QPoint global, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(pos), QPointF(pos), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

QImage solid(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// Leftmost column in rect holding the colour, -1 when none.
int leftmost(const QImage &img, const QRect &r, QColor c)
{
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (img.pixelColor(x, y) == c)
                return x;
    return -1;
}

} // namespace

TEST(CaptionBar, ReservesDialogFrameAndCaptionHeightOnlyWithACaption)
{
    CaptionedWidget w;
    EXPECT_FALSE(w.bar->Visible()) << "no caption until the options allow one";
    EXPECT_EQ(w.bar->FrameMargins(), QMargins());
    EXPECT_TRUE(w.bar->CaptionRect().isEmpty());
    EXPECT_EQ(w.bar->HitTest(QPoint(10, 10)), TCoolCaptionBar::htClient);

    EXPECT_TRUE(w.bar->setOptions({ocPaintWallpaper}));
    EXPECT_EQ(w.bar->FrameMargins(), QMargins(3, 3 + 19, 3, 3));
    EXPECT_EQ(w.bar->CaptionRect(), Rect(3, 3, 117, 21)) << "18 rows, then the bar's border row";
    EXPECT_FALSE(w.bar->setOptions({ocPaintWallpaper, ocNoDragUsingCaption})) << "same geometry";

    EXPECT_TRUE(w.bar->setOptions({ocSmallCaption}));
    EXPECT_EQ(w.bar->CaptionHeight(), 15);
    EXPECT_EQ(w.bar->CaptionRect(), Rect(3, 3, 117, 17));

    EXPECT_TRUE(w.bar->setOptions({ocNoCaption, ocSmallCaption}));
    EXPECT_EQ(w.bar->FrameMargins(), QMargins());
}

TEST(CaptionBar, CaptionColourAndTextTwoPixelsFromTheLeft)
{
    CaptionedWidget w;
    w.bar->setOptions({});
    w.bar->setCaptionColor(clRed);
    w.bar->setCaptionTextColor(clWhite);
    w.bar->setCaption("Information");
    const QImage img = w.image();
    const QRect b = w.bar->CaptionRect();
    EXPECT_EQ(img.pixelColor(b.left(), b.top()), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(b.right(), b.bottom()), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(b.left(), b.bottom() + 1), ColorToQColor(clBtnFace)) << "border row";
    EXPECT_EQ(img.pixelColor(10, 40), QColor(Qt::white)) << "content untouched";
    const int textLeft = leftmost(img, b, Qt::white);
    ASSERT_GE(textLeft, 0) << "caption text drawn";
    EXPECT_GE(textLeft, b.left() + 2);
    EXPECT_LE(textLeft, b.left() + 4) << "the text starts 2 pixels in (plus the glyph's bearing)";
    // The dialog frame: a raised edge outside.
    EXPECT_EQ(img.pixelColor(0, 30), ColorToQColor(clBtnFace)) << "outer light line";
    EXPECT_EQ(img.pixelColor(119, 30), ColorToQColor(cl3DDkShadow));
}

TEST(CaptionBar, CaptionWallpaperStretchedStoreItemFirstDefaultLookWithoutOne)
{
    CaptionedWidget w;
    w.bar->setOptions({ocPaintCaptionWallpaper});
    const QRect b = w.bar->CaptionRect();
    EXPECT_EQ(w.image().pixelColor(b.center()), ColorToQColor(clInactiveCaption)) << "none resolves";

    QImage halves = solid(2, 1, Qt::blue);
    halves.setPixelColor(0, 0, Qt::green);
    w.bar->CaptionWallpaper()->Assign(halves);
    QImage img = w.image();
    EXPECT_EQ(img.pixelColor(b.left() + 1, b.bottom()), QColor(Qt::green)) << "stretched over the bar";
    EXPECT_EQ(img.pixelColor(b.right() - 1, b.top()), QColor(Qt::blue));

    TCoolImages store;
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    solid(4, 4, Qt::magenta).save(&buffer, "BMP");
    QByteArray stored;
    stored.append(char(7)).append("TBitmap");
    const quint32 n = bmp.size();
    stored.append(reinterpret_cast<const char *>(&n), 4).append(bmp);
    TPicture picture;
    picture.loadFromStoredForm(stored);
    store.Images()->Add()->setPicture(&picture);
    w.wallpaper.setCoolImages(&store);
    w.bar->setIdCaptionWallpaper(0);
    img = w.image();
    EXPECT_EQ(img.pixelColor(b.left() + 1, b.bottom()), QColor(Qt::magenta)) << "the store item wins";
    w.bar->setIdCaptionWallpaper(1);
    EXPECT_EQ(w.image().pixelColor(b.left() + 1, b.bottom()), QColor(Qt::green)) << "past the end: own bitmap";
}

TEST(CaptionBar, DraggingTheCaptionMovesTheControlInsideItsParentUnlessForbidden)
{
    QWidget parent;
    parent.resize(400, 300);
    CaptionedWidget w(&parent);
    w.move(20, 30);
    w.bar->setOptions({});
    const QPoint onCaption(40, 10);
    sendMouse(&w, QEvent::MouseButtonPress, onCaption, QPoint(500, 500), Qt::LeftButton);
    EXPECT_TRUE(w.bar->Dragging());
    sendMouse(&w, QEvent::MouseMove, onCaption, QPoint(510, 505), Qt::LeftButton);
    sendMouse(&w, QEvent::MouseMove, onCaption, QPoint(530, 490), Qt::LeftButton);
    sendMouse(&w, QEvent::MouseButtonRelease, onCaption, QPoint(530, 490), Qt::NoButton);
    EXPECT_EQ(w.pos(), QPoint(50, 20));
    EXPECT_FALSE(w.bar->Dragging());
    EXPECT_EQ(w.presses, 0) << "the caption's press is the bar's";

    sendMouse(&w, QEvent::MouseMove, onCaption, QPoint(600, 600), Qt::NoButton);
    EXPECT_EQ(w.pos(), QPoint(50, 20)) << "no drag after release";

    w.bar->setOptions({ocNoDragUsingCaption});
    EXPECT_EQ(w.bar->HitTest(onCaption), TCoolCaptionBar::htNowhere);
    sendMouse(&w, QEvent::MouseButtonPress, onCaption, QPoint(500, 500), Qt::LeftButton);
    sendMouse(&w, QEvent::MouseMove, onCaption, QPoint(540, 540), Qt::LeftButton);
    sendMouse(&w, QEvent::MouseButtonRelease, onCaption, QPoint(540, 540), Qt::NoButton);
    EXPECT_EQ(w.pos(), QPoint(50, 20));

    sendMouse(&w, QEvent::MouseButtonPress, QPoint(40, 40), QPoint(500, 500), Qt::LeftButton);
    EXPECT_EQ(w.presses, 1) << "presses below the caption reach the control";
    EXPECT_EQ(w.bar->HitTest(QPoint(1, 40)), TCoolCaptionBar::htBorder);
    EXPECT_EQ(w.bar->HitTest(QPoint(40, 40)), TCoolCaptionBar::htClient);
}

TEST(CaptionBar, DoubleClickOnTheCaptionIsSwallowedElsewhereNot)
{
    CaptionedWidget w;
    w.bar->setOptions({});
    sendMouse(&w, QEvent::MouseButtonDblClick, QPoint(40, 10), QPoint(40, 10), Qt::LeftButton);
    EXPECT_EQ(w.doubleClicks, 0);
    sendMouse(&w, QEvent::MouseButtonDblClick, QPoint(40, 40), QPoint(40, 40), Qt::LeftButton);
    EXPECT_EQ(w.doubleClicks, 1);

    w.bar->setOptions({ocNoCaption});
    sendMouse(&w, QEvent::MouseButtonDblClick, QPoint(40, 10), QPoint(40, 10), Qt::LeftButton);
    sendMouse(&w, QEvent::MouseButtonPress, QPoint(40, 10), QPoint(40, 10), Qt::LeftButton);
    EXPECT_EQ(w.doubleClicks, 2) << "without a caption every event passes";
    EXPECT_EQ(w.presses, 1);
}
