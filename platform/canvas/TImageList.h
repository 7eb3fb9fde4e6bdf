#pragma once

// TImageList: equal-sized images with masks, drawn normally, transparently,
// blended 50 % or as their mask. A mask is kept per image: the pixels that
// match the mask colour given when the image was added (clDefault: the
// colour of the image's bottom-left pixel) are transparent.
// A component: its owner frees it; controls that show its images listen to
// changed() and to destroyed() to repaint or drop their reference.

#include "platform/canvas/Colors.h"
#include "platform/canvas/GdiTypes.h"

#include <QImage>
#include <QObject>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

class TBitmap;
class TCanvas;

class TImageList : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE setWidth)
    Q_PROPERTY(int Height READ Height WRITE setHeight)
    Q_PROPERTY(platform::TColor BkColor READ BkColor WRITE setBkColor)
public:
    explicit TImageList(int width = 16, int height = 16, QObject *owner = nullptr);

    int Width() const { return m_width; }
    void setWidth(int value) { SetSize(value, m_height); }
    int Height() const { return m_height; }
    void setHeight(int value) { SetSize(m_width, value); }
    // Changing the size clears the list. Sizes below 1 are taken as 1.
    void SetSize(int width, int height);
    int Count() const { return int(m_images.size()); }
    void Clear();

    // Adds the images of a bitmap (one per Width() pixels across, from the
    // left; a narrower bitmap gives one image) with maskColor's pixels
    // transparent (clNone: nothing transparent). Returns the index of the
    // first image added, -1 when none.
    int AddMasked(const TBitmap &image, TColor maskColor);
    // Adds with a monochrome mask bitmap: white mask pixels are transparent.
    // mask nullptr: nothing transparent.
    int Add(const TBitmap &image, const TBitmap *mask);
    // Replaces image index; false for a bad index.
    bool ReplaceMasked(int index, const TBitmap &image, TColor maskColor);
    bool Delete(int index);

    // Draws image index at (x, y) in its natural size. style: ILD_NORMAL
    // fills the masked pixels with bkColor (CLR_NONE: left as they are,
    // CLR_DEFAULT: BkColor()), ILD_TRANSPARENT leaves them; ILD_BLEND50 mixes
    // the image pixels half and half with fgColor (CLR_NONE: with the
    // destination, CLR_DEFAULT: the highlight colour); ILD_MASK draws the
    // mask (black image, white background). False for a bad index.
    bool DrawEx(TCanvas &canvas, int index, int x, int y, std::uint32_t bkColor,
                std::uint32_t fgColor, unsigned style) const;
    // Transparent drawing; disabled images blended 50 % with the destination.
    bool Draw(TCanvas &canvas, int x, int y, int index, bool enabled = true) const;

    // Background colour for ILD_NORMAL with CLR_DEFAULT; clNone by default.
    TColor BkColor() const { return m_bkColor; }
    void setBkColor(TColor value);

    // Image index (with its mask as alpha: 0 = transparent), for tests and
    // for copying an image out.
    QImage image(int index) const;
    // The image as a bitmap without mask, on background (masked pixels).
    bool GetBitmap(int index, TBitmap &target, TColor background = clBtnFace) const;

Q_SIGNALS:
    // After images were added, replaced or deleted, or the size or
    // background colour changed.
    void changed();

private:
    QImage makeEntry(const QImage &src, int sx, const QImage *mask, std::optional<TColor> key) const;

    int m_width;
    int m_height;
    TColor m_bkColor = clNone;
    std::vector<QImage> m_images;  // ARGB32 (not premultiplied), alpha 0 or 255
};

} // namespace platform
