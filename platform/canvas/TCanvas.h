#pragma once

// TCanvas: the drawing surface ("device context") of the skinned controls.
// It wraps a QPainter on any QPaintDevice (a widget inside its paintEvent, a
// QImage, a QPixmap, a TBitmap) or borrows a painter someone else began, and
// offers the classic drawing operations with their classic pixel results:
//  - rectangles are half-open: (left, top, right, bottom) covers the pixels
//    left..right-1 and top..bottom-1;
//  - MoveTo/LineTo draws up to but not including the end point;
//  - text output follows DrawText formats (Gdi types), in the text colour,
//    over the background colour when the background mode is OPAQUE;
//  - copies combine source, brush and destination by ternary raster
//    operations, bit by bit on the RGB channels.
//
// State. Font, Pen and Brush are read at each operation. Changing the font
// sets the text colour to the font colour; changing the brush sets the
// background colour to the brush colour and the background mode to OPAQUE
// for a solid brush, TRANSPARENT for a clear one. SetTextColor, SetBkColor
// and SetBkMode override that until the next font or brush change.
// The window origin maps logical (x, y) to device (x - orgX, y - orgY); clip
// regions are kept in device coordinates, as classically; IntersectClipRect
// and ExcludeClipRect take logical coordinates. SaveDC/RestoreDC save and
// restore all of it.

#include "platform/canvas/Colors.h"
#include "platform/canvas/GdiTypes.h"
#include "platform/canvas/TBrush.h"
#include "platform/canvas/TFont.h"
#include "platform/canvas/TPen.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class QFontMetrics;
class QPainter;
class QPaintDevice;

namespace platform {

class TBitmap;

// Classic rectangle helpers: QRect from (left, top, right, bottom) with
// exclusive right and bottom, and back.
inline QRect Rect(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}
inline int Right(const QRect &r) { return r.x() + r.width(); }
inline int Bottom(const QRect &r) { return r.y() + r.height(); }
// Moves the exclusive right / bottom edge.
inline void setRight(QRect &r, int right) { r.setWidth(right - r.x()); }
inline void setBottom(QRect &r, int bottom) { r.setHeight(bottom - r.y()); }
// Grows (positive) or shrinks (negative) a rectangle on every side.
inline void InflateRect(QRect &r, int dx, int dy) { r.adjust(-dx, -dy, dx, dy); }

// Font metrics in the classic terms.
struct TTextMetric
{
    int tmHeight = 0;         // ascent + descent: the line height of DrawText
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    unsigned char tmPitchAndFamily = 0;  // TMPF_TRUETYPE set for outline fonts
};
enum : unsigned char { TMPF_FIXED_PITCH = 0x01, TMPF_VECTOR = 0x02, TMPF_TRUETYPE = 0x04 };

class TCanvas
{
public:
    // A canvas not attached to anything; drawing does nothing until
    // attach() or setDevice().
    TCanvas();
    // Paints on device; the painter is begun at the first drawing operation
    // and ended by releaseHandle() or the destructor.
    explicit TCanvas(QPaintDevice *device);
    // Draws with a painter that is already active; its state is saved now
    // and restored on release. The painter must outlive the canvas' use.
    explicit TCanvas(QPainter *painter);
    ~TCanvas();
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;

    void setDevice(QPaintDevice *device);
    void attach(QPainter *painter);
    // Ends (or gives back) the painter; state, font, pen and brush are kept,
    // and the next drawing operation begins a new painter on the device.
    void releaseHandle();
    // Forgets device and painter.
    void detach();
    // Whether there is something to draw on.
    bool HandleAllocated() const;
    QPaintDevice *device() const { return m_device; }
    // The active painter with the canvas state applied (begun on demand);
    // nullptr when there is nothing to draw on. For drawing that this class
    // does not offer; set state back as found.
    QPainter *painter();
    // Size of the device in device pixels.
    QSize deviceSize() const;

    TFont Font;
    TPen Pen;
    TBrush Brush;
    TCopyMode CopyMode = SRCCOPY;

    // Called after every drawing operation (a bitmap hooks it to tell its
    // own listeners that its pixels changed).
    std::function<void(TCanvas *sender)> OnChange;
    // Raises OnChange; for code that draws through painter() directly.
    void Changed();

    // ---- colours and modes ------------------------------------------------
    TColor SetTextColor(TColor color);  // returns the previous one
    TColor GetTextColor();
    TColor SetBkColor(TColor color);
    TColor GetBkColor();
    TBkMode SetBkMode(TBkMode mode);
    TBkMode GetBkMode();
    TStretchMode SetStretchBltMode(TStretchMode mode);

    // ---- coordinates and clipping ----------------------------------------
    QPoint SetWindowOrg(int x, int y);  // returns the previous origin
    QPoint SetWindowOrg(const QPoint &p) { return SetWindowOrg(p.x(), p.y()); }
    QPoint OffsetWindowOrg(int dx, int dy);
    QPoint GetWindowOrg() const { return m_state.origin; }

    // Region in device coordinates; nullopt removes the clip.
    TRegionKind SelectClipRgn(const std::optional<QRegion> &region);
    TRegionKind ExtSelectClipRgn(const std::optional<QRegion> &region, TRegionCombine mode);
    TRegionKind IntersectClipRect(const QRect &logical);
    TRegionKind ExcludeClipRect(const QRect &logical);
    // The clip region in device coordinates, nullopt when none.
    std::optional<QRegion> GetClipRgn() const { return m_state.clip; }
    // Bounds of what can be drawn, in logical coordinates.
    QRect ClipRect() const;

    // Returns the new save depth (>= 1), or 0 on failure.
    int SaveDC();
    // level > 0: back to the state saved as that level; level < 0: that many
    // levels back. False (and nothing changed) for a level that was not saved.
    bool RestoreDC(int level = -1);

    // ---- lines and shapes -------------------------------------------------
    QPoint PenPos() const { return m_penPos; }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const std::vector<QPoint> &points);
    void Rectangle(const QRect &r);   // pen outline inside r, brush inside
    void Rectangle(int l, int t, int r, int b) { Rectangle(Rect(l, t, r, b)); }
    void Ellipse(const QRect &r);
    void Ellipse(int l, int t, int r, int b) { Ellipse(Rect(l, t, r, b)); }
    // Counter-clockwise arc of the ellipse in r from the ray towards start
    // to the ray towards end.
    void Arc(const QRect &r, const QPoint &start, const QPoint &end);
    TColor Pixel(int x, int y);  // only for image devices; clNone otherwise
    void SetPixel(int x, int y, TColor color);

    // ---- rectangles --------------------------------------------------------
    void FillRect(const QRect &r);                // with Brush
    void FillRect(const QRect &r, TColor color);  // solid colour (system colours too)
    void FrameRect(const QRect &r);               // 1-pixel frame in the brush colour
    void FrameRect(const QRect &r, TColor color);
    // Classic dotted focus rectangle: every second pixel of the 1-pixel
    // frame inverted; drawing it twice removes it.
    void DrawFocusRect(const QRect &r);
    // Classic two-pixel 3-D edges (BDR_/EDGE_ kinds, BF_ flags). With
    // BF_ADJUST r shrinks by the edge drawn on each side drawn.
    bool DrawEdge(QRect &r, unsigned edge, unsigned flags);
    bool DrawEdge(const QRect &r, unsigned edge, unsigned flags);
    // Nested 1-pixel 3-D frames: top and left in top, bottom and right in
    // bottom (which owns the top-right and bottom-left corners); r shrinks
    // by 1 per frame.
    void Frame3D(QRect &r, TColor top, TColor bottom, int width);
    // Check box frame control (DFC_BUTTON with DFCS_BUTTONCHECK ... flags).
    bool DrawFrameControl(const QRect &r, unsigned type, unsigned state);

    // ---- text --------------------------------------------------------------
    TTextMetric GetTextMetrics();
    int TextWidth(const QString &text);
    int TextHeight(const QString &text);
    QSize TextExtent(const QString &text);
    // Draws text with its top-left at (x, y) and moves PenPos past it.
    void TextOut(int x, int y, const QString &text);
    // TextOut clipped to r.
    void TextRect(const QRect &r, int x, int y, const QString &text);
    // Text in r with DT_ format flags. Returns the text height (plus the
    // offset from r's top for vertically aligned single lines). With
    // DT_CALCRECT nothing is drawn and r's right and bottom are set to fit.
    int DrawText(const QString &text, QRect &r, unsigned format);
    int DrawText(const QString &text, const QRect &r, unsigned format);

    // The system's disabled text (DrawState with DSS_DISABLED): an embossed
    // copy, highlight one pixel right and down under shadow, from r's
    // top-left, prefix characters interpreted, clipped to r grown by one
    // pixel to the right and bottom. Colours and modes are left as found.
    void DrawDisabledText(const QString &text, const QRect &r);

    // ---- copies --------------------------------------------------------------
    // Bitmap at (x, y): through its transparent colour when it is
    // Transparent, else with CopyMode.
    void Draw(int x, int y, const TBitmap &bitmap);
    void StretchDraw(const QRect &dest, const TBitmap &bitmap);
    // Copies srcRect of source (which must paint on an image: a TBitmap's
    // canvas or a canvas on a QImage) to dest, stretched, with CopyMode.
    void CopyRect(const QRect &dest, TCanvas &source, const QRect &srcRect);

    // Ternary raster operation of source pixels (sx, sy, w, h), brush and
    // destination (x, y, w, h). A monochrome source takes the text colour for
    // black and the background colour for white. A monochrome destination
    // bitmap gets white where the source equals the source canvas'
    // background colour and black elsewhere.
    bool BitBlt(int x, int y, int w, int h, const TBitmap &source, int sx, int sy, TRop rop);
    bool BitBlt(int x, int y, int w, int h, const QImage &source, int sx, int sy, TRop rop);
    bool StretchBlt(int x, int y, int w, int h, const TBitmap &source, int sx, int sy, int sw, int sh,
                    TRop rop);
    bool StretchBlt(int x, int y, int w, int h, const QImage &source, int sx, int sy, int sw, int sh,
                    TRop rop);
    // Brush and destination only (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS,
    // WHITENESS, ...).
    bool PatBlt(int x, int y, int w, int h, TRop rop);

    // ---- locking -------------------------------------------------------------
    // For a canvas shared with a painting timer: Lock while drawing off-screen.
    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }
    bool TryLock() { return m_lock.try_lock(); }

private:
    struct State
    {
        QPoint origin;
        std::optional<QRegion> clip;
        TColor textColor = clBlack;
        TColor bkColor = clWhite;
        TBkMode bkMode = OPAQUE;
        TStretchMode stretchMode = COLORONCOLOR;
        unsigned fontSeen = 0;
        unsigned brushSeen = 0;
    };
    struct Saved;

    void syncObjects();
    void applyState();
    QImage *imageDevice() const;
    const TBitmap *m_bitmapOwner = nullptr;  // set when this is a TBitmap's canvas
    bool blit(const QRect &dest, const QImage &src, const QRect &srcRect, TRop rop, bool srcMono,
              const TBitmap *srcBitmap);
    void fillDevice(const QRect &deviceRect, TColor color);
    void hLine(int x1, int x2, int y, TColor color);
    void vLine(int x, int y1, int y2, TColor color);
    void drawPenLine(QPoint a, QPoint b);
    struct TextLine;
    std::vector<TextLine> layoutText(const QString &text, int width, unsigned format);
    static int segmentWidth(const QFontMetrics &fm, const QString &line, unsigned format);
    void drawTextLine(const TextLine &line, int x, int y, unsigned format);

    friend class TBitmap;

    QPaintDevice *m_device = nullptr;
    QPainter *m_painter = nullptr;
    std::unique_ptr<QPainter> m_ownPainter;
    bool m_borrowed = false;
    QTransform m_baseTransform;           // painter transform when attached
    std::optional<QRegion> m_baseClip;    // painter clip when attached
    State m_state;
    std::vector<Saved> m_saved;
    QPoint m_penPos;
    std::recursive_mutex m_lock;
};

} // namespace platform
