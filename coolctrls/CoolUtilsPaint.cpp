// The painting half of CoolUtils: wallpaper, ancestor background, shadowed
// text, borders and gradients, on the platform canvas.

#include "CoolUtils.h"

#include "platform/canvas/SystemMetrics.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"
#include "platform/canvas/TPen.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

using namespace platform;

namespace coolctrls {

namespace {

// One premultiplied pixel over another: each channel of the destination
// scaled by 255 - alpha, divided by 255 with rounding as Qt's own
// source-over does, plus the source.
inline quint32 blendPixel(quint32 s, quint32 d)
{
    const quint32 inverse = 255 - (s >> 24);
    quint32 redBlue = (d & 0xff00ff) * inverse;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    quint32 alphaGreen = ((d >> 8) & 0xff00ff) * inverse;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return s + (alphaGreen | redBlue);
}

#ifdef __SSE2__
// The same for four pixels at once, on 16-bit lanes (the products fit:
// 255 * 255 + 254 + 128 < 65536), so the result is the scalar one exactly.
inline __m128i blendFour(__m128i s, __m128i d)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i round = _mm_set1_epi16(0x80);
    // 255 - alpha of each pixel in all four lanes of its half.
    __m128i inverse = _mm_sub_epi32(_mm_set1_epi32(255), _mm_srli_epi32(s, 24));
    inverse = _mm_or_si128(inverse, _mm_slli_epi32(inverse, 16));
    const __m128i inverseLow = _mm_unpacklo_epi32(inverse, inverse);
    const __m128i inverseHigh = _mm_unpackhi_epi32(inverse, inverse);
    auto scale = [&](__m128i channels, __m128i by) {
        const __m128i t = _mm_mullo_epi16(channels, by);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), round), 8);
    };
    const __m128i low = scale(_mm_unpacklo_epi8(d, zero), inverseLow);
    const __m128i high = scale(_mm_unpackhi_epi8(d, zero), inverseHigh);
    return _mm_add_epi32(s, _mm_packus_epi16(low, high));
}
#endif

} // namespace

void BlendPremultipliedOver(QImage &frame, QPoint at, const QImage &picture, const QRect &source)
{
    // Most of a text picture is see-through or opaque: groups of four such
    // pixels are skipped or copied without blending.
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const auto *src = reinterpret_cast<const quint32 *>(picture.constScanLine(source.top() + y)) + source.left();
        auto *dst = reinterpret_cast<quint32 *>(frame.scanLine(at.y() + y)) + at.x();
        int x = 0;
#ifdef __SSE2__
        const __m128i zero = _mm_setzero_si128();
        const __m128i opaque = _mm_set1_epi32(int(0xff000000u));
        for (; x + 4 <= width; x += 4) {
            const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + x));
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xffff)
                continue;
            auto *to = reinterpret_cast<__m128i *>(dst + x);
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, opaque), opaque)) == 0xffff)
                _mm_storeu_si128(to, s);
            else
                _mm_storeu_si128(to, blendFour(s, _mm_loadu_si128(to)));
        }
#endif
        for (; x < width; ++x) {
            const quint32 s = src[x];
            if (s >> 24 == 255)
                dst[x] = s;
            else if (s != 0)
                dst[x] = blendPixel(s, dst[x]);
        }
    }
}

// --- Colours and fonts ---------------------------------------------------------

TColor InvertColor(TColor color)
{
    return TColor(0x00FFFFFFu - (ColorToRGB(color).value() & 0x00FFFFFFu));
}

bool IsTrueTypeFont(const QString &fontName)
{
    QImage screen(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&screen);
    canvas.Font.setName(fontName);
    return (canvas.GetTextMetrics().tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long p = static_cast<long long>(a) * b;
    const long long q = c;
    long long r = p / q;
    const long long rem = p % q;
    // Round half away from zero.
    if (2 * std::llabs(rem) >= std::llabs(q))
        r += ((p < 0) != (q < 0)) ? -1 : 1;
    return static_cast<int>(r);
}

// --- Controls --------------------------------------------------------------------

QWidget *GetParentAtLevel(QWidget *control, int levels)
{
    for (int i = 0; control && i < levels; ++i) {
        QWidget *parent = control->parentWidget();
        if (!parent)
            break;
        control = parent;
    }
    return control;
}

bool IsCoolControl(const QObject *control)
{
    return control && QString::fromLatin1(control->metaObject()->className()).contains(QLatin1String("Cool"));
}

bool IsGraphicControl(const QWidget *control)
{
    if (!control)
        return false;
    if (control->property(GraphicControlProperty).toBool() || control->inherits("QLabel"))
        return true;
    // The windowless controls of this library.
    const QLatin1String name(control->metaObject()->className());
    return name.endsWith(QLatin1String("TCoolLabel")) || name.endsWith(QLatin1String("TCoolScrollingText"));
}

// --- Wallpaper ----------------------------------------------------------------------

void DrawWallpaper(TCanvas &canvas, const QImage &bitmap, const QRect &rect, TRop rop, bool stretched)
{
    const int bw = bitmap.width(), bh = bitmap.height();
    if (bw <= 0 || bh <= 0 || rect.isEmpty())
        return;
    if (stretched) {
        canvas.StretchBlt(rect.x(), rect.y(), rect.width(), rect.height(), bitmap, 0, 0, bw, bh, rop);
        return;
    }
    const int right = Right(rect), bottom = Bottom(rect);
    for (int y = rect.y(); y < bottom; y += bh) {
        for (int x = rect.x(); x < right; x += bw) {
            // Each tile copies from (0, 0); the last of a row and column is
            // cut by the rectangle.
            canvas.BitBlt(x, y, std::min(bw, right - x), std::min(bh, bottom - y), bitmap, 0, 0, rop);
        }
    }
}

void DrawWallpaper(TCanvas &canvas, const TBitmap &bitmap, const QRect &rect, TRop rop, bool stretched)
{
    if (!bitmap.Empty())
        DrawWallpaper(canvas, bitmap.image(), rect, rop, stretched);
}

void DrawWallpaperClipped(TCanvas &canvas, const TBitmap &bitmap, const QRect &layoutRect, TRop rop,
                          bool stretched, const QRect &clipRect)
{
    if (layoutRect == clipRect) {
        DrawWallpaper(canvas, bitmap, clipRect, rop, stretched);
        return;
    }
    const int level = canvas.SaveDC();
    try {
        // Intersected with the clip already in force, so drawing never
        // spills outside the area the caller may paint.
        canvas.IntersectClipRect(clipRect);
        DrawWallpaper(canvas, bitmap, layoutRect, rop, stretched);
    } catch (...) {
        canvas.RestoreDC(level);
        throw;
    }
    canvas.RestoreDC(level);
}

// --- Ancestor background -----------------------------------------------------------

namespace {

// Controls whose ancestor background is being rendered right now. A graphic
// child in this list is not rendered again, which stops the recursion of a
// transparent control asked to paint itself under itself.
thread_local std::vector<const QWidget *> t_rendering;

struct RenderingScope
{
    explicit RenderingScope(const QWidget *w) { t_rendering.push_back(w); }
    ~RenderingScope() { t_rendering.pop_back(); }
    RenderingScope(const RenderingScope &) = delete;
    RenderingScope &operator=(const RenderingScope &) = delete;
};

bool isRendering(const QWidget *w)
{
    return std::find(t_rendering.begin(), t_rendering.end(), w) != t_rendering.end();
}

// Renders `source`'s background and its graphic children (except `skip`,
// the control being painted) for the source-coordinate rectangle `area` into
// an image of area's size.
QImage renderBackground(QWidget *source, const QWidget *skip, const QRect &area)
{
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(ColorToQColor(clBtnFace));
    if (auto *eraser = dynamic_cast<IEraseBackground *>(source)) {
        TCanvas canvas(&image);
        canvas.SetWindowOrg(area.topLeft());
        eraser->EraseBackground(canvas);
        canvas.releaseHandle();
    } else if (source == skip) {
        // A control painting its own background cannot render itself from
        // inside its own paint; its palette colour stands in.
        image.fill(source->palette().color(source->backgroundRole()));
    } else {
        source->render(&image, QPoint(0, 0), QRegion(area), QWidget::DrawWindowBackground);
    }
    for (QObject *object : source->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child == skip || child->isWindow() || child->isHidden() || !IsGraphicControl(child)
            || isRendering(child) || !child->geometry().intersects(area))
            continue;
        child->render(&image, child->pos() - area.topLeft(), QRegion(),
                      QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    return image;
}

} // namespace

void PaintParentBackground(QWidget *control, TCanvas &canvas, bool useParent)
{
    if (!control || isRendering(control) || t_rendering.size() > 16)
        return;
    RenderingScope scope(control);

    QWidget *parent = control->parentWidget();
    QWidget *source = (parent && useParent) ? parent : control;
    // Q: the control's origin in the source's coordinates (0, 0 when the
    // control paints its own background).
    const QPoint q = source == control ? QPoint(0, 0) : control->pos();

    // Only what the canvas can show of the area under the control.
    QRect visible = QRect(QPoint(0, 0), control->size()).intersected(canvas.ClipRect());
    if (visible.isEmpty())
        return;
    const QImage background = renderBackground(source, control, visible.translated(q));
    canvas.BitBlt(visible.x(), visible.y(), visible.width(), visible.height(), background, 0, 0, SRCCOPY);
}

void PaintParentBackgroundClipped(QWidget *control, TCanvas &canvas, const QRect &rect, bool useParent)
{
    const int level = canvas.SaveDC();
    try {
        canvas.IntersectClipRect(rect);
        PaintParentBackground(control, canvas, useParent);
    } catch (...) {
        canvas.RestoreDC(level);
        throw;
    }
    canvas.RestoreDC(level);
}

void PaintParentBackgroundRegion(QWidget *control, TCanvas &canvas, const QRect &rect1, bool useParent,
                                 TRegionCombine mode, const QRect &rect2)
{
    // Regions are built in logical coordinates and moved to device
    // coordinates, where the canvas keeps its clip.
    QRegion r1(rect1), r2(rect2);
    QRegion combined;
    switch (mode) {
    case RGN_AND: combined = r1.intersected(r2); break;
    case RGN_OR: combined = r1.united(r2); break;
    case RGN_XOR: combined = r1.xored(r2); break;
    case RGN_DIFF: combined = r1.subtracted(r2); break;
    case RGN_COPY: combined = r1; break;
    }
    combined.translate(-canvas.GetWindowOrg());
    const int level = canvas.SaveDC();
    try {
        canvas.ExtSelectClipRgn(combined, RGN_AND);
        PaintParentBackground(control, canvas, useParent);
    } catch (...) {
        canvas.RestoreDC(level);
        throw;
    }
    canvas.RestoreDC(level);
}

// --- Text and borders ------------------------------------------------------------

void DrawShadowText(TCanvas &canvas, QRect &rect, TShadowPosition pos, int shadowSize, TColor shadowColor,
                    TColor textColor, unsigned format, const QString &text)
{
    QRect shadow = rect;
    switch (pos) {
    case spLeftTop:
        rect.translate(shadowSize, shadowSize);
        break;
    case spLeftBottom:
        rect.translate(shadowSize, 0);
        shadow.translate(0, shadowSize);
        break;
    case spRightBottom:
        shadow.translate(shadowSize, shadowSize);
        break;
    case spRightTop:
        rect.translate(0, shadowSize);
        shadow.translate(shadowSize, 0);
        break;
    }
    canvas.SetTextColor(shadowColor);
    // Measuring (DT_CALCRECT) answers the text's rectangle only: the
    // shadow's, the same text offset, is not measured a second time.
    if (!(format & DT_CALCRECT))
        canvas.DrawText(text, shadow, format);
    canvas.SetBkMode(TRANSPARENT);
    canvas.SetTextColor(textColor);
    canvas.DrawText(text, rect, format);
}

void DrawCaption(TCanvas &canvas, QRect &rect, unsigned format, const QString &text, const TShadowStyle &shadow,
                 TColor textColor, bool enabled, TDisabledCaption disabledLook, const QRect &disabledExtent)
{
    if (!enabled && disabledLook == TDisabledCaption::SystemDisabled) {
        canvas.SetTextColor(textColor);
        canvas.DrawText(text, rect, format);
        canvas.DrawDisabledText(text, Rect(rect.left(), rect.top(), Right(disabledExtent), Bottom(disabledExtent)));
    } else if (!enabled) {
        DrawShadowText(canvas, rect, spRightBottom, 1, clBtnHighlight, clBtnShadow, format, text);
    } else if (shadow.SimpleView) {
        canvas.SetTextColor(textColor);
        canvas.DrawText(text, rect, format);
    } else {
        DrawShadowText(canvas, rect, shadow.Pos, shadow.Size, shadow.Color, textColor, format, text);
    }
}

unsigned AlignmentFormat(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    case taLeftJustify: break;
    }
    return DT_LEFT;
}

unsigned BiDiFormat(unsigned format, bool rightToLeft, bool mirrorAlignment)
{
    if (!rightToLeft)
        return format;
    format |= DT_RTLREADING;
    if (mirrorAlignment && !(format & DT_CENTER))
        format ^= DT_RIGHT;
    return format;
}

QPoint PlaceGlyphBeforeText(QRect &r, TAlignment alignment, int glyphWidth, int textWidth)
{
    QPoint at(r.left(), r.top());
    switch (alignment) {
    case taLeftJustify:
        r.translate(glyphWidth + 2, 0);
        break;
    case taRightJustify:
        at.setX(Right(r) - textWidth - glyphWidth - 2);
        break;
    case taCenter:
        at.setX(r.left() + (Right(r) - r.left()) / 2 - (textWidth + glyphWidth + 2) / 2);
        r.translate((glyphWidth + 2) / 2, 0);
        break;
    }
    return at;
}

namespace {

enum Side { Top, Left, RightSide, BottomSide };

// The line of one side of r: on the second row or column from the edge, so
// a 2-pixel pen covers the outermost two.
void sideLine(TCanvas &canvas, const QRect &r, Side side)
{
    const int l = r.left(), t = r.top(), rr = Right(r), b = Bottom(r);
    switch (side) {
    case Top: canvas.MoveTo(l, t + 1); canvas.LineTo(rr, t + 1); break;
    case Left: canvas.MoveTo(l + 1, t); canvas.LineTo(l + 1, b); break;
    case RightSide: canvas.MoveTo(rr - 1, t); canvas.LineTo(rr - 1, b); break;
    case BottomSide: canvas.MoveTo(l, b - 1); canvas.LineTo(rr, b - 1); break;
    }
}

void edgeLines(TCanvas &canvas, const QRect &r, TEdgeBorders edges, const TPen &pen)
{
    const std::pair<TEdgeBorder, Side> order[] = {
        {ebTop, Top}, {ebLeft, Left}, {ebRight, RightSide}, {ebBottom, BottomSide}};
    for (const auto &[edge, side] : order) {
        if (!edges.testFlag(edge))
            continue;
        canvas.Pen.Assign(pen);
        sideLine(canvas, r, side);
    }
}

} // namespace

void DrawEdgeBorders(TCanvas *canvas, QWidget *control, TEdgeBorders edges, TColor bordersTrColor,
                     const TPen &pen)
{
    if (!edges || !control)
        return;
    if (!canvas) {
        control->update();
        return;
    }
    const QRect r(QPoint(0, 0), control->size());
    const int level = canvas->SaveDC();
    if (bordersTrColor != clNone) {
        canvas->Pen.setStyle(TPenStyle::psSolid);
        canvas->Pen.setMode(TPenMode::pmCopy);
        canvas->Pen.setColor(bordersTrColor);
        canvas->Pen.setWidth(2);
        for (Side side : {Top, Left, RightSide, BottomSide})
            sideLine(*canvas, r, side);
    }
    edgeLines(*canvas, r, edges, pen);
    canvas->RestoreDC(level);
}

void DrawLabelEdgeBorders(TCanvas &canvas, QWidget *label, TEdgeBorders edges, const TPen &pen)
{
    if (!edges || !label)
        return;
    edgeLines(canvas, label->rect(), edges, pen);
}

void DrawFlatBorder(TCanvas *canvas, QWidget *control, bool highlighted)
{
    if (!control)
        return;
    if (!canvas) {
        control->update();
        return;
    }
    const int level = canvas->SaveDC();
    QRect r(QPoint(0, 0), control->size());
    canvas->FrameRect(r, clBtnFace);
    InflateRect(r, -1, -1);
    canvas->FrameRect(r, clBtnFace);
    if (highlighted) {
        InflateRect(r, 1, 1);
        canvas->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
    const QString cls = QString::fromLatin1(control->metaObject()->className());
    const bool isGrid = cls.contains(QLatin1String("Grid"));
    auto *scrollArea = qobject_cast<QAbstractScrollArea *>(control);
    if (scrollArea && (isGrid || cls.contains(QLatin1String("ListBox")) || cls.contains(QLatin1String("Memo")))) {
        const bool vert = scrollArea->verticalScrollBar() && scrollArea->verticalScrollBar()->isVisible();
        const bool horz = scrollArea->horizontalScrollBar() && scrollArea->horizontalScrollBar()->isVisible();
        const int h = GetSystemMetrics(SM_CYHSCROLL);
        if (vert)
            canvas->FillRect(Rect(Right(r) - h, Bottom(r) - 2, Right(r), Bottom(r) - 1), clBtnFace);
        if (horz)
            canvas->FillRect(Rect(Right(r) - 2, Bottom(r) - h, Right(r) - 1, Bottom(r)), clBtnFace);
        if (!vert && !horz)
            InflateRect(r, -1, -1);
        else {
            if (vert)
                setRight(r, Right(r) - 1);
            if (horz)
                setBottom(r, Bottom(r) - 1);
        }
    } else {
        InflateRect(r, -1, -1);
    }
    if (!isGrid)
        canvas->FrameRect(r, clWindow);
    canvas->RestoreDC(level);
}

void FillGradient(TCanvas &canvas, const QRect &rect, TColor c1, bool horizontal, int n, TColor c2)
{
    if (n < 0)
        return;
    const TColor a = ColorToRGB(c1), b = ColorToRGB(c2);
    if (n == 0) {
        // One band of the start colour (a division by zero classically).
        canvas.FillRect(rect, TColor(a.value() & 0x00FFFFFFu));
        return;
    }
    const int extent = horizontal ? rect.width() : rect.height();
    const int start = horizontal ? rect.left() : rect.top();
    const int ra = GetRValue(a), ga = GetGValue(a), ba = GetBValue(a);
    const int dr = GetRValue(b) - ra, dg = GetGValue(b) - ga, db = GetBValue(b) - ba;
    for (int i = 0; i <= n; ++i) {
        const int from = start + MulDiv(i, extent, n);
        const int to = start + MulDiv(i + 1, extent, n);
        const TColor band = RGB(ra + MulDiv(i, dr, n), ga + MulDiv(i, dg, n), ba + MulDiv(i, db, n));
        const QRect r = horizontal ? Rect(from, rect.top(), to, Bottom(rect))
                                   : Rect(rect.left(), from, Right(rect), to);
        canvas.FillRect(r, band);
    }
}

} // namespace coolctrls
