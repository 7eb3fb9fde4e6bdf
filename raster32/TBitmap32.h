#pragma once

#include "Raster32Types.h"
#include "TCustomMap.h"

#include "platform/canvas/TCanvas.h"

#include <QImage>
#include <QRgb>

#include <functional>
#include <memory>

class QClipboard;
class QIcon;
class QIODevice;
class QPaintDevice;
class QPainter;
class QPicture;
class QPixmap;

namespace raster32 {

// An in-memory raster of 32-bit ARGB pixels. Owns its pixel memory, which a
// QImage (Format_ARGB32) wraps for Qt painting and for copying to windows.
// Every change is announced through OnChange; size changes also through
// OnResize and OnHandleChanged.
class TBitmap32 : public TCustomMap
{
    Q_OBJECT
    Q_PROPERTY(raster32::TDrawMode DrawMode READ DrawMode WRITE setDrawMode)
    Q_PROPERTY(raster32::TCombineMode CombineMode READ CombineMode WRITE setCombineMode)
    Q_PROPERTY(unsigned MasterAlpha READ MasterAlpha WRITE setMasterAlpha)
    Q_PROPERTY(unsigned OuterColor READ OuterColor WRITE setOuterColor)
    Q_PROPERTY(raster32::TStretchFilter StretchFilter READ StretchFilter WRITE setStretchFilter)
    Q_PROPERTY(QByteArray Data READ StoredData WRITE LoadStoredData)
public:
    explicit TBitmap32(QObject *parent = nullptr);
    ~TBitmap32() override;

    // --- pixels -------------------------------------------------------
    // Width × Height pixels, rows top to bottom without gaps; null when empty.
    TColor32 *Pixels() const { return m_pixels.get(); }
    TColor32 *RowAddress(int y) const { return m_pixels.get() + qsizetype(y) * m_width; }
    TColor32 *PixelAddress(int x, int y) const { return RowAddress(y) + x; }
    // Unchecked access, like the addresses above.
    TColor32 Pixel(int x, int y) const { return *PixelAddress(x, y); }
    void SetPixel(int x, int y, TColor32 c) { *PixelAddress(x, y) = c; }
    // Checked read: OuterColor for a position outside the bitmap.
    TColor32 PixelS(int x, int y) const;

    // The Qt image over the pixel memory (null when empty). It shares the
    // memory: do not keep copies of it across a size change.
    QImage *DibHandle() { return m_image.isNull() ? nullptr : &m_image; }
    QPaintDevice *DeviceContext();
    // A QImage over the pixels with alpha ignored (Format_RGB32), for
    // showing on opaque surfaces. Valid until the next size change.
    QImage OpaqueImage() const;

    // The drawing surface over the pixel memory, created on first use and
    // kept across size changes (drawing on an empty bitmap does nothing).
    // Every drawing operation through it announces the change (OnChange)
    // at once, so a view of the bitmap repaints without waiting for the
    // canvas to be released. Code that draws through its painter() calls
    // its Changed().
    platform::TCanvas &Canvas();
    // Ends the canvas' painter; what was drawn stays and the canvas can be
    // drawn on again.
    void ReleaseCanvas();
    bool HasCanvas() const { return m_canvas != nullptr; }
    // The font of the canvas.
    platform::TFont &Font() { return Canvas().Font; }

    TRect ClipBox() const { return m_clipBox; }
    // Limited to the bitmap.
    void setClipBox(const TRect &box);
    TRect BoundsBox() const { return {0, 0, m_width, m_height}; }

    // --- properties ---------------------------------------------------
    TDrawMode DrawMode() const { return m_drawMode; }
    void setDrawMode(TDrawMode value);
    TCombineMode CombineMode() const { return m_combineMode; }
    void setCombineMode(TCombineMode value);
    unsigned MasterAlpha() const { return m_masterAlpha; }
    void setMasterAlpha(unsigned value);
    TColor32 OuterColor() const { return m_outerColor; }
    void setOuterColor(TColor32 value) { m_outerColor = value; }
    TStretchFilter StretchFilter() const { return m_stretchFilter; }
    void setStretchFilter(TStretchFilter value);

    platform::TNotifyEvent OnHandleChanged;
    TPixelCombineEvent OnPixelCombine;

    // --- operations ---------------------------------------------------
    bool IsEmpty() const override;
    void FillAll(TColor32 color);
    // Sets the alpha of every pixel, keeping red, green and blue.
    void SetAllAlpha(int alpha = 255);
    // Rows y1..y2-1, columns x1..x2-1; the caller keeps them inside.
    void FillBox(int x1, int y1, int x2, int y2, TColor32 color);
    // As FillBox, limited to ClipBox.
    void FillBoxClipped(int x1, int y1, int x2, int y2, TColor32 color);

    // Makes this bitmap a copy of the source. A TBitmap32 copies its pixels
    // and its DrawMode, MasterAlpha, OuterColor and StretchFilter (not
    // CombineMode, the events or ClipBox). Null makes the bitmap empty.
    void CopyFrom(const TBitmap32 *source);
    void CopyFrom(std::nullptr_t) { CopyFrom(static_cast<const TBitmap32 *>(nullptr)); }
    // A platform bitmap: its pixels, alpha from the image when it has an
    // alpha channel, otherwise opaque.
    void CopyFrom(const QImage &image);
    // A platform bitmap marked transparent: additionally every pixel whose
    // red, green and blue equal transparentColor gets alpha 0.
    void CopyFrom(const QImage &image, QRgb transparentColor);
    // A pixmap honours its mask or alpha channel.
    void CopyFrom(const QPixmap &pixmap);
    // Icons and pictures are drawn over white and over red; pixels that
    // come out the same both times are opaque, the others transparent.
    void CopyFrom(const QIcon &icon, QSize size = QSize());
    void CopyFrom(const QPicture &picture);
    // Any other graphic: drawn at its size by draw, then made opaque.
    void CopyFrom(QSize size, const std::function<void(QPainter &)> &draw);
    // The clipboard's image, or an empty bitmap when it holds none.
    void CopyFrom(const QClipboard *clipboard);
    // Dispatches on the object's class: null, TBitmap32, QClipboard; any
    // other class fails with "Cannot assign a %s to a %s".
    void CopyFrom(const QObject *source);

    // The target becomes a 32-bit image of the same size and pixels.
    void CopyToPlatformBitmap(QImage &target) const;
    void CopyToPlatformBitmap(QPixmap &target) const;

    // Draws the whole bitmap scaled into dstRect of dst with this bitmap's
    // StretchFilter, DrawMode and OnPixelCombine, limited to dst's ClipBox,
    // then announces dst's change. Nothing happens when either is empty.
    void DrawOnto(TBitmap32 &dst, const TRect &dstRect) const;
    // Copies the pixels unscaled, alpha ignored, with the top-left corner at
    // (x, y).
    void CopyToDevice(QPainter &painter, int x, int y) const;
    void CopyToDevice(QPaintDevice *device, int x, int y) const;

    bool SameImage(const TBitmap32 *other) const;

    // Stored form: width and height (signed 32-bit little-endian), then
    // the pixels as in memory. ReadStored takes a negative width or height
    // as 0 (an empty bitmap of the other size, no pixels read); it refuses
    // sizes the stream cannot hold ("Stream read error") and then leaves the
    // bitmap as it was.
    void ReadStored(QIODevice &stream);
    void WriteStored(QIODevice &stream) const;
    QByteArray StoredData() const;
    void LoadStoredData(const QByteArray &data);
    // Whether a stored description writes "Data" for this bitmap, given the
    // ancestor's value under form inheritance (null when there is none).
    bool StoresData(const QObject *ancestor = nullptr) const;

protected:
    void ChangeDimensions(int newWidth, int newHeight) override;
    virtual void NotifyHandleChanged();

private:
    void releaseHandles();
    void endCanvasPainter();
    void copyImageRows(const QImage &argb);
    void fillTransparentTwice(QSize size, const std::function<void(QPainter &)> &draw);

    std::unique_ptr<TColor32[]> m_pixels;
    QImage m_image;
    std::unique_ptr<platform::TCanvas> m_canvas;
    TRect m_clipBox;
    TDrawMode m_drawMode = dmOpaque;
    TCombineMode m_combineMode = cmBlend;
    unsigned m_masterAlpha = 255;
    TColor32 m_outerColor = 0;
    TStretchFilter m_stretchFilter = sfNearest;
};

} // namespace raster32
