#include "platform/canvas/TCanvas.h"

#include "platform/canvas/Regions.h"
#include "platform/canvas/TBitmap.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace platform {

struct TCanvas::Saved
{
    State state;
    std::unique_ptr<TFont> font = std::make_unique<TFont>();
    std::unique_ptr<TPen> pen = std::make_unique<TPen>();
    std::unique_ptr<TBrush> brush = std::make_unique<TBrush>();
};

namespace {

// 0x00BBGGRR -> 0xFFRRGGBB as QImage stores it.
inline QRgb toQRgb(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// The ternary raster operation code (the truth table byte) applied bitwise to
// three 24-bit words. Minterm i has P = bit 2, S = bit 1, D = bit 0 of i.
inline quint32 rop3(unsigned code, quint32 p, quint32 s, quint32 d)
{
    quint32 r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!((code >> i) & 1))
            continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r & 0x00FFFFFF;
}

inline bool ropUsesSource(unsigned code) { return ((code >> 2) & 0x33) != (code & 0x33); }
inline bool ropUsesDest(unsigned code) { return ((code >> 1) & 0x55) != (code & 0x55); }

// Pen dash patterns of 1-pixel pens: on/off run lengths.
const std::vector<int> &dashPattern(TPenStyle style)
{
    static const std::vector<int> solid;
    static const std::vector<int> dash = {18, 6};
    static const std::vector<int> dot = {3, 3};
    static const std::vector<int> dashDot = {9, 6, 3, 6};
    static const std::vector<int> dashDotDot = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case TPenStyle::psDash: return dash;
    case TPenStyle::psDot: return dot;
    case TPenStyle::psDashDot: return dashDot;
    case TPenStyle::psDashDotDot: return dashDotDot;
    default: return solid;
    }
}

QPainter::CompositionMode penComposition(TPenMode mode)
{
    switch (mode) {
    case TPenMode::pmXor: return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case TPenMode::pmNot: return QPainter::RasterOp_NotDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

} // namespace

// ---- life cycle ---------------------------------------------------------------

TCanvas::TCanvas()
{
    m_state.textColor = Font.Color();
    m_state.bkColor = Brush.Color();
}

TCanvas::TCanvas(QPaintDevice *device) : TCanvas()
{
    m_device = device;
}

TCanvas::TCanvas(QPainter *painter) : TCanvas()
{
    attach(painter);
}

TCanvas::~TCanvas()
{
    releaseHandle();
}

void TCanvas::setDevice(QPaintDevice *device)
{
    releaseHandle();
    m_device = device;
}

void TCanvas::attach(QPainter *painter)
{
    releaseHandle();
    if (!painter || !painter->isActive())
        return;
    m_painter = painter;
    m_borrowed = true;
    m_device = painter->device();
    painter->save();
    m_baseTransform = painter->worldTransform();
    m_baseClip.reset();
    if (painter->hasClipping())
        m_baseClip = painter->clipRegion();
    applyState();
}

void TCanvas::releaseHandle()
{
    if (!m_painter)
        return;
    if (m_borrowed) {
        m_painter->restore();
        m_device = nullptr;
    } else {
        m_ownPainter->end();
        m_ownPainter.reset();
    }
    m_painter = nullptr;
    m_borrowed = false;
}

void TCanvas::detach()
{
    releaseHandle();
    m_device = nullptr;
}

bool TCanvas::HandleAllocated() const
{
    return m_painter != nullptr || (m_device && m_device->width() > 0 && m_device->height() > 0);
}

QSize TCanvas::deviceSize() const
{
    return m_device ? QSize(m_device->width(), m_device->height()) : QSize();
}

QPainter *TCanvas::painter()
{
    if (m_painter)
        return m_painter;
    if (!m_device || m_device->width() <= 0 || m_device->height() <= 0)
        return nullptr;
    auto p = std::make_unique<QPainter>();
    if (!p->begin(m_device))
        return nullptr;
    m_ownPainter = std::move(p);
    m_painter = m_ownPainter.get();
    m_baseTransform = QTransform();
    m_baseClip.reset();
    applyState();
    return m_painter;
}

void TCanvas::applyState()
{
    if (!m_painter)
        return;
    m_painter->setWorldTransform(m_baseTransform);
    std::optional<QRegion> clip = m_state.clip;
    if (m_baseClip)
        clip = clip ? clip->intersected(*m_baseClip) : *m_baseClip;
    if (clip)
        m_painter->setClipRegion(*clip);
    else
        m_painter->setClipping(false);
    m_painter->setWorldTransform(QTransform::fromTranslate(-m_state.origin.x(), -m_state.origin.y())
                                 * m_baseTransform);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->setRenderHint(QPainter::Antialiasing, false);
}

void TCanvas::syncObjects()
{
    if (Font.changeCount() != m_state.fontSeen) {
        m_state.fontSeen = Font.changeCount();
        m_state.textColor = Font.Color();
    }
    if (Brush.changeCount() != m_state.brushSeen) {
        m_state.brushSeen = Brush.changeCount();
        m_state.bkColor = Brush.Color();
        m_state.bkMode = Brush.Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE;
    }
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

QImage *TCanvas::imageDevice() const
{
    if (m_device && m_device->devType() == QInternal::Image)
        return static_cast<QImage *>(m_device);
    return nullptr;
}

// ---- colours and modes ----------------------------------------------------------

TColor TCanvas::SetTextColor(TColor color)
{
    syncObjects();
    return std::exchange(m_state.textColor, color);
}

TColor TCanvas::GetTextColor()
{
    syncObjects();
    return m_state.textColor;
}

TColor TCanvas::SetBkColor(TColor color)
{
    syncObjects();
    return std::exchange(m_state.bkColor, color);
}

TColor TCanvas::GetBkColor()
{
    syncObjects();
    return m_state.bkColor;
}

TBkMode TCanvas::SetBkMode(TBkMode mode)
{
    syncObjects();
    if (mode != TRANSPARENT && mode != OPAQUE)
        return m_state.bkMode;
    return std::exchange(m_state.bkMode, mode);
}

TBkMode TCanvas::GetBkMode()
{
    syncObjects();
    return m_state.bkMode;
}

TStretchMode TCanvas::SetStretchBltMode(TStretchMode mode)
{
    return std::exchange(m_state.stretchMode, mode == HALFTONE ? HALFTONE : COLORONCOLOR);
}

// ---- coordinates and clipping -----------------------------------------------------

QPoint TCanvas::SetWindowOrg(int x, int y)
{
    const QPoint old = m_state.origin;
    m_state.origin = QPoint(x, y);
    applyState();
    return old;
}

QPoint TCanvas::OffsetWindowOrg(int dx, int dy)
{
    return SetWindowOrg(m_state.origin.x() + dx, m_state.origin.y() + dy);
}

TRegionKind TCanvas::SelectClipRgn(const std::optional<QRegion> &region)
{
    m_state.clip = region;
    applyState();
    return region ? regionKind(*region) : SIMPLEREGION;
}

TRegionKind TCanvas::ExtSelectClipRgn(const std::optional<QRegion> &region, TRegionCombine mode)
{
    if (mode == RGN_COPY)
        return SelectClipRgn(region);
    if (!region)
        return RGN_ERROR;
    const QRegion current = m_state.clip ? *m_state.clip : QRegion(QRect(QPoint(0, 0), deviceSize()));
    QRegion result;
    const TRegionKind kind = CombineRgn(result, current, *region, mode);
    if (kind == RGN_ERROR)
        return kind;
    m_state.clip = result;
    applyState();
    return kind;
}

TRegionKind TCanvas::IntersectClipRect(const QRect &logical)
{
    const QRect device = logical.translated(-m_state.origin);
    return ExtSelectClipRgn(CreateRectRgnIndirect(device), RGN_AND);
}

TRegionKind TCanvas::ExcludeClipRect(const QRect &logical)
{
    const QRect device = logical.translated(-m_state.origin);
    return ExtSelectClipRgn(CreateRectRgnIndirect(device), RGN_DIFF);
}

QRect TCanvas::ClipRect() const
{
    QRect r = m_state.clip ? m_state.clip->boundingRect() : QRect(QPoint(0, 0), deviceSize());
    return r.translated(m_state.origin);
}

int TCanvas::SaveDC()
{
    syncObjects();
    Saved saved;
    saved.state = m_state;
    saved.font->Assign(Font);
    saved.pen->Assign(Pen);
    saved.brush->Assign(Brush);
    m_saved.push_back(std::move(saved));
    return int(m_saved.size());
}

bool TCanvas::RestoreDC(int level)
{
    const int depth = int(m_saved.size());
    const int target = level < 0 ? depth + level + 1 : level;  // 1-based level to restore
    if (target < 1 || target > depth)
        return false;
    Saved saved = std::move(m_saved[size_t(target - 1)]);
    m_saved.resize(size_t(target - 1));
    Font.Assign(*saved.font);
    Pen.Assign(*saved.pen);
    Brush.Assign(*saved.brush);
    m_state = saved.state;
    m_state.fontSeen = Font.changeCount();
    m_state.brushSeen = Brush.changeCount();
    applyState();
    return true;
}

// ---- lines and shapes ------------------------------------------------------------

void TCanvas::hLine(int x1, int x2, int y, TColor color)
{
    if (x2 <= x1)
        return;
    if (QPainter *p = painter())
        p->fillRect(QRect(x1, y, x2 - x1, 1), DrawnQColor(color));
}

void TCanvas::vLine(int x, int y1, int y2, TColor color)
{
    if (y2 <= y1)
        return;
    if (QPainter *p = painter())
        p->fillRect(QRect(x, y1, 1, y2 - y1), DrawnQColor(color));
}

void TCanvas::drawPenLine(QPoint a, QPoint b)
{
    if (Pen.Style() == TPenStyle::psClear || Pen.Mode() == TPenMode::pmNop)
        return;
    QPainter *p = painter();
    if (!p)
        return;
    QColor color = DrawnQColor(Pen.Color());
    if (Pen.Mode() == TPenMode::pmBlack)
        color = Qt::black;
    else if (Pen.Mode() == TPenMode::pmWhite)
        color = Qt::white;
    else if (Pen.Mode() == TPenMode::pmNot)
        color = Qt::white;  // with NotDestination the colour does not matter
    p->setCompositionMode(penComposition(Pen.Mode()));
    const int w = Pen.Width();
    if (w > 1) {
        // Geometric pen: a band w pixels wide centred on the line.
        const int h = w / 2;
        if (a.y() == b.y()) {
            const int x1 = std::min(a.x(), b.x()), x2 = std::max(a.x(), b.x());
            p->fillRect(QRect(x1 - h, a.y() - h, x2 - x1 + w, w), color);
        } else if (a.x() == b.x()) {
            const int y1 = std::min(a.y(), b.y()), y2 = std::max(a.y(), b.y());
            p->fillRect(QRect(a.x() - h, y1 - h, w, y2 - y1 + w), color);
        } else {
            p->setPen(QPen(color, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p->drawLine(a, b);
        }
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    const std::vector<int> &pattern = dashPattern(Pen.Style());
    if (pattern.empty() && (a.y() == b.y() || a.x() == b.x())) {
        // Straight solid line: one rectangle from the start pixel up to, not
        // including, the end pixel.
        auto span = [](int from, int to) {
            return to >= from ? std::pair(from, to) : std::pair(to + 1, from + 1);
        };
        if (a.y() == b.y()) {
            const auto [x1, x2] = span(a.x(), b.x());
            if (x2 > x1)
                p->fillRect(QRect(x1, a.y(), x2 - x1, 1), color);
        } else {
            const auto [y1, y2] = span(a.y(), b.y());
            if (y2 > y1)
                p->fillRect(QRect(a.x(), y1, 1, y2 - y1), color);
        }
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    // Bresenham without the end pixel; dashes by pixel count.
    int x = a.x(), y = a.y();
    const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
    int err = dx + dy;
    size_t run = 0;
    int inRun = 0;
    for (;;) {
        if (x == b.x() && y == b.y())
            break;
        const bool on = pattern.empty() || run % 2 == 0;
        if (on)
            p->fillRect(QRect(x, y, 1, 1), color);
        if (!pattern.empty() && ++inRun >= pattern[run % pattern.size()]) {
            inRun = 0;
            run = (run + 1) % pattern.size();
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::MoveTo(int x, int y)
{
    m_penPos = QPoint(x, y);
}

void TCanvas::LineTo(int x, int y)
{
    drawPenLine(m_penPos, QPoint(x, y));
    m_penPos = QPoint(x, y);
    Changed();
}

void TCanvas::Polyline(const std::vector<QPoint> &points)
{
    for (size_t i = 1; i < points.size(); ++i)
        drawPenLine(points[i - 1], points[i]);
    Changed();
}

void TCanvas::Rectangle(const QRect &r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    syncObjects();
    const bool fill = Brush.Style() != TBrushStyle::bsClear;
    if (Pen.Style() == TPenStyle::psClear) {
        // Without a pen the filled area is one pixel smaller, as classically.
        if (fill)
            fillDevice(Rect(r.left(), r.top(), Right(r) - 1, Bottom(r) - 1), Brush.Color());
        Changed();
        return;
    }
    const int w = std::min({Pen.Width(), r.width(), r.height()});
    if (fill)
        fillDevice(r.adjusted(w, w, -w, -w), Brush.Color());
    if (QPainter *p = painter()) {
        const QColor c = DrawnQColor(Pen.Color());
        if (dashPattern(Pen.Style()).empty() || w > 1) {
            p->fillRect(QRect(r.left(), r.top(), r.width(), w), c);
            p->fillRect(QRect(r.left(), Bottom(r) - w, r.width(), w), c);
            p->fillRect(QRect(r.left(), r.top(), w, r.height()), c);
            p->fillRect(QRect(Right(r) - w, r.top(), w, r.height()), c);
        } else {
            const int l = r.left(), t = r.top(), rr = Right(r) - 1, b = Bottom(r) - 1;
            drawPenLine({l, t}, {rr, t});
            drawPenLine({rr, t}, {rr, b});
            drawPenLine({rr, b}, {l, b});
            drawPenLine({l, b}, {l, t});
        }
    }
    Changed();
}

void TCanvas::Ellipse(const QRect &r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    QPainter *p = painter();
    if (!p)
        return;
    p->setPen(Pen.Style() == TPenStyle::psClear ? QPen(Qt::NoPen)
                                                : QPen(DrawnQColor(Pen.Color()), Pen.Width() > 1 ? Pen.Width() : 0));
    p->setBrush(Brush.Style() == TBrushStyle::bsClear ? QBrush(Qt::NoBrush) : QBrush(DrawnQColor(Brush.Color())));
    p->drawEllipse(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
    p->setPen(Qt::NoPen);
    p->setBrush(Qt::NoBrush);
    Changed();
}

void TCanvas::Arc(const QRect &r, const QPoint &start, const QPoint &end)
{
    if (r.width() <= 0 || r.height() <= 0 || Pen.Style() == TPenStyle::psClear)
        return;
    QPainter *p = painter();
    if (!p)
        return;
    // Through pixel centres, so the arc covers the same pixels as Ellipse.
    const QRectF box(r.left() + 0.5, r.top() + 0.5, r.width() - 1, r.height() - 1);
    const QPointF c = box.center();
    auto angle = [&c](const QPoint &pt) {
        return std::atan2(-(pt.y() + 0.5 - c.y()), pt.x() + 0.5 - c.x()) * 180.0 / M_PI;
    };
    const double a0 = angle(start);
    double span = angle(end) - a0;
    while (span <= 0)
        span += 360.0;
    p->setPen(QPen(DrawnQColor(Pen.Color()), Pen.Width() > 1 ? Pen.Width() : 0));
    p->setBrush(Qt::NoBrush);
    p->drawArc(box, int(std::lround(a0 * 16)), int(std::lround(span * 16)));
    p->setPen(Qt::NoPen);
    Changed();
}

TColor TCanvas::Pixel(int x, int y)
{
    const QImage *img = imageDevice();
    const QPoint d = QPoint(x, y) - m_state.origin;
    if (!img || !img->rect().contains(d))
        return clNone;
    return QColorToColor(QColor::fromRgb(img->pixel(d)));
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    if (QPainter *p = painter()) {
        p->fillRect(QRect(x, y, 1, 1), DrawnQColor(color));
        Changed();
    }
}

// ---- rectangles --------------------------------------------------------------------

void TCanvas::fillDevice(const QRect &r, TColor color)
{
    if (r.width() <= 0 || r.height() <= 0 || color == clNone)
        return;
    if (QPainter *p = painter())
        p->fillRect(r, DrawnQColor(color));
}

void TCanvas::FillRect(const QRect &r)
{
    if (Brush.Style() == TBrushStyle::bsClear)
        return;
    fillDevice(r, Brush.Color());
    Changed();
}

void TCanvas::FillRect(const QRect &r, TColor color)
{
    fillDevice(r, color);
    Changed();
}

void TCanvas::FrameRect(const QRect &r)
{
    FrameRect(r, Brush.Color());
}

void TCanvas::FrameRect(const QRect &r, TColor color)
{
    if (r.width() <= 0 || r.height() <= 0 || color == clNone)
        return;
    hLine(r.left(), Right(r), r.top(), color);
    hLine(r.left(), Right(r), Bottom(r) - 1, color);
    vLine(r.left(), r.top(), Bottom(r), color);
    vLine(Right(r) - 1, r.top(), Bottom(r), color);
    Changed();
}

void TCanvas::DrawFocusRect(const QRect &r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    QPainter *p = painter();
    if (!p)
        return;
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor white(Qt::white);
    // Dots on a checkerboard anchored at the device origin, so that drawing
    // the same rectangle twice always removes it.
    auto dot = [&](int x, int y) {
        const int dx = x - m_state.origin.x(), dy = y - m_state.origin.y();
        if (((dx + dy) & 1) == 0)
            p->fillRect(QRect(x, y, 1, 1), white);
    };
    const int l = r.left(), t = r.top(), rr = Right(r) - 1, b = Bottom(r) - 1;
    for (int x = l; x <= rr; ++x) {
        dot(x, t);
        if (b > t)
            dot(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        dot(l, y);
        if (rr > l)
            dot(rr, y);
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Changed();
}

bool TCanvas::DrawEdge(const QRect &r, unsigned edge, unsigned flags)
{
    QRect copy = r;
    return DrawEdge(copy, edge, flags & ~unsigned(BF_ADJUST));
}

bool TCanvas::DrawEdge(QRect &rc, unsigned edge, unsigned flags)
{
    const unsigned outer = edge & BDR_OUTER;
    const unsigned inner = edge & BDR_INNER;
    const bool soft = flags & BF_SOFT;
    TColor outerTL = clNone, outerBR = clNone, innerTL = clNone, innerBR = clNone;
    if (flags & BF_MONO) {
        if (outer)
            outerTL = outerBR = clWindowFrame;
        if (inner)
            innerTL = innerBR = clWindow;
    } else if (flags & BF_FLAT) {
        if (outer)
            outerTL = outerBR = clBtnShadow;
        if (inner)
            innerTL = innerBR = clBtnFace;
    } else {
        if (outer & BDR_RAISEDOUTER) {
            outerTL = soft ? clBtnHighlight : cl3DLight;
            outerBR = cl3DDkShadow;
        } else if (outer & BDR_SUNKENOUTER) {
            outerTL = soft ? cl3DDkShadow : clBtnShadow;
            outerBR = clBtnHighlight;
        }
        if (inner & BDR_RAISEDINNER) {
            innerTL = soft ? cl3DLight : clBtnHighlight;
            innerBR = clBtnShadow;
        } else if (inner & BDR_SUNKENINNER) {
            innerTL = soft ? clBtnShadow : cl3DDkShadow;
            innerBR = cl3DLight;
        }
    }
    QRect r = rc;
    auto ring = [&](TColor tl, TColor br) {
        if (r.width() <= 0 || r.height() <= 0)
            return;
        const int l = r.left(), t = r.top(), rr = Right(r), b = Bottom(r);
        if (flags & BF_TOP)
            hLine(l, rr, t, tl);
        if (flags & BF_LEFT)
            vLine(l, t, b, tl);
        if (flags & BF_BOTTOM)
            hLine(l, rr, b - 1, br);
        if (flags & BF_RIGHT)
            vLine(rr - 1, t, b, br);
        r.adjust(flags & BF_LEFT ? 1 : 0, flags & BF_TOP ? 1 : 0, flags & BF_RIGHT ? -1 : 0,
                 flags & BF_BOTTOM ? -1 : 0);
    };
    if (outer)
        ring(outerTL, outerBR);
    if (inner)
        ring(innerTL, innerBR);
    if (flags & BF_MIDDLE)
        fillDevice(r, (flags & BF_MONO) ? clWindow : clBtnFace);
    if (flags & BF_ADJUST)
        rc = r;
    Changed();
    return true;
}

void TCanvas::Frame3D(QRect &r, TColor top, TColor bottom, int width)
{
    for (int i = 0; i < width; ++i) {
        if (r.width() > 0 && r.height() > 0) {
            const int l = r.left(), t = r.top(), rr = Right(r), b = Bottom(r);
            hLine(l, rr - 1, t, top);
            vLine(l, t, b, top);
            vLine(rr - 1, t, b, bottom);
            hLine(l, rr, b - 1, bottom);
        }
        r.adjust(1, 1, -1, -1);
    }
    Changed();
}

bool TCanvas::DrawFrameControl(const QRect &r, unsigned type, unsigned state)
{
    if (type != DFC_BUTTON || (state & 0xFF & ~unsigned(DFCS_BUTTON3STATE)) != DFCS_BUTTONCHECK)
        return false;
    const int s = std::min(r.width(), r.height());
    if (s <= 0)
        return false;
    QRect box(r.left() + (r.width() - s) / 2, r.top() + (r.height() - s) / 2, s, s);
    const bool threeState = state & DFCS_BUTTON3STATE;
    if (state & (DFCS_FLAT | DFCS_MONO)) {
        FrameRect(box, (state & DFCS_MONO) ? clWindowFrame : clBtnShadow);
        InflateRect(box, -1, -1);
    } else {
        DrawEdge(box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    const bool faceInside = (state & (DFCS_INACTIVE | DFCS_PUSHED)) || (threeState && (state & DFCS_CHECKED));
    fillDevice(box, faceInside ? clBtnFace : clWindow);
    if (state & DFCS_CHECKED) {
        // The classic 7 x 7 check mark, centred.
        static const char *mark[7] = {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."};
        const TColor color = (threeState || (state & DFCS_INACTIVE)) ? clBtnShadow : clWindowText;
        const int x0 = box.left() + (box.width() - 7) / 2, y0 = box.top() + (box.height() - 7) / 2;
        if (QPainter *p = painter()) {
            p->save();
            p->setClipRect(box, Qt::IntersectClip);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 7; ++x)
                    if (mark[y][x] == '#')
                        p->fillRect(QRect(x0 + x, y0 + y, 1, 1), DrawnQColor(color));
            p->restore();
        }
    }
    Changed();
    return true;
}

// ---- copies ---------------------------------------------------------------------------

bool TCanvas::blit(const QRect &dest, const QImage &src, const QRect &srcRect, TRop rop, bool srcMono,
                   const TBitmap *srcBitmap)
{
    if (dest.width() <= 0 || dest.height() <= 0)
        return false;
    QPainter *p = painter();
    if (!p)
        return false;
    syncObjects();
    const unsigned code = (rop >> 16) & 0xFF;
    const bool useS = ropUsesSource(code);
    const bool useD = ropUsesDest(code);
    const quint32 pat = toQRgb(Brush.Color()) & 0x00FFFFFF;

    const bool monoDest = m_bitmapOwner && m_bitmapOwner->Monochrome();
    if (rop == SRCCOPY && !srcMono && !monoDest && !src.isNull() && !src.hasAlphaChannel()
        && src.rect().contains(srcRect)) {
        // Plain copy: straight from the source, no intermediate image.
        p->setCompositionMode(QPainter::CompositionMode_Source);
        if (srcRect.size() == dest.size()) {
            p->drawImage(dest.topLeft(), src, srcRect);
        } else {
            p->setRenderHint(QPainter::SmoothPixmapTransform, m_state.stretchMode == HALFTONE);
            p->drawImage(QRectF(dest), src, QRectF(srcRect));
            p->setRenderHint(QPainter::SmoothPixmapTransform, false);
        }
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        Changed();
        return true;
    }

    QImage s;
    if (useS) {
        if (src.isNull() || srcRect.width() <= 0 || srcRect.height() <= 0)
            return false;
        s = src.copy(srcRect).convertToFormat(QImage::Format_RGB32);
        if (s.size() != dest.size())
            s = s.scaled(dest.size(), Qt::IgnoreAspectRatio,
                         m_state.stretchMode == HALFTONE ? Qt::SmoothTransformation : Qt::FastTransformation);
        if (srcMono) {
            // Monochrome into colour: black takes the text colour, white the
            // background colour of this canvas.
            const QRgb fg = toQRgb(m_state.textColor), bg = toQRgb(m_state.bkColor);
            for (int y = 0; y < s.height(); ++y) {
                auto *line = reinterpret_cast<QRgb *>(s.scanLine(y));
                for (int x = 0; x < s.width(); ++x)
                    line[x] = (line[x] & 0xFFFFFF) == 0xFFFFFF ? bg : fg;
            }
        } else if (monoDest) {
            // Colour into monochrome: the source's background colour is white.
            TColor key = clWhite;
            if (srcBitmap && srcBitmap->m_canvas)
                key = srcBitmap->m_canvas->GetBkColor();
            const QRgb k = toQRgb(key) & 0xFFFFFF;
            for (int y = 0; y < s.height(); ++y) {
                auto *line = reinterpret_cast<QRgb *>(s.scanLine(y));
                for (int x = 0; x < s.width(); ++x)
                    line[x] = (line[x] & 0xFFFFFF) == k ? 0xFFFFFFFF : 0xFF000000;
            }
        }
    }

    const QRect target = dest;
    if (rop == SRCCOPY) {
        p->setCompositionMode(QPainter::CompositionMode_Source);
        p->drawImage(target.topLeft(), s);
    } else if (!useS) {
        // Brush and destination only: a solid fill in the matching mode.
        const quint32 a = rop3(code, pat, 0, 0xFFFFFF), b = rop3(code, pat, 0, 0);
        if (!useD) {
            p->setCompositionMode(QPainter::CompositionMode_Source);
            p->fillRect(target, QColor::fromRgb(0xFF000000 | a));
        } else {
            p->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            p->fillRect(target, QColor::fromRgb(0xFF000000 | (a ^ b)));
            p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p->fillRect(target, QColor::fromRgb(0xFF000000 | b));
        }
    } else {
        // Any ternary operation as D := (D & (A ^ B)) ^ B, where A and B are
        // the results for a destination of all ones and all zeros.
        QImage m(s.size(), QImage::Format_RGB32), bImg(s.size(), QImage::Format_RGB32);
        bool needAnd = false, needXor = false;
        for (int y = 0; y < s.height(); ++y) {
            const auto *sl = reinterpret_cast<const QRgb *>(s.constScanLine(y));
            auto *ml = reinterpret_cast<QRgb *>(m.scanLine(y));
            auto *bl = reinterpret_cast<QRgb *>(bImg.scanLine(y));
            for (int x = 0; x < s.width(); ++x) {
                const quint32 sv = sl[x] & 0xFFFFFF;
                const quint32 a = rop3(code, pat, sv, 0xFFFFFF), b = rop3(code, pat, sv, 0);
                ml[x] = 0xFF000000 | (a ^ b);
                bl[x] = 0xFF000000 | b;
                needAnd |= (a ^ b) != 0xFFFFFF;
                needXor |= b != 0;
            }
        }
        if (!useD) {
            p->setCompositionMode(QPainter::CompositionMode_Source);
            p->drawImage(target.topLeft(), bImg);
        } else {
            if (needAnd) {
                p->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
                p->drawImage(target.topLeft(), m);
            }
            if (needXor) {
                p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                p->drawImage(target.topLeft(), bImg);
            }
        }
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Changed();
    return true;
}

bool TCanvas::BitBlt(int x, int y, int w, int h, const TBitmap &source, int sx, int sy, TRop rop)
{
    return StretchBlt(x, y, w, h, source, sx, sy, w, h, rop);
}

bool TCanvas::BitBlt(int x, int y, int w, int h, const QImage &source, int sx, int sy, TRop rop)
{
    return StretchBlt(x, y, w, h, source, sx, sy, w, h, rop);
}

bool TCanvas::StretchBlt(int x, int y, int w, int h, const TBitmap &source, int sx, int sy, int sw, int sh,
                         TRop rop)
{
    if (&source == m_bitmapOwner) {
        const QImage copy = source.image().copy();
        return blit(QRect(x, y, w, h), copy, QRect(sx, sy, sw, sh), rop, source.Monochrome(), &source);
    }
    return blit(QRect(x, y, w, h), source.image(), QRect(sx, sy, sw, sh), rop, source.Monochrome(), &source);
}

bool TCanvas::StretchBlt(int x, int y, int w, int h, const QImage &source, int sx, int sy, int sw, int sh,
                         TRop rop)
{
    return blit(QRect(x, y, w, h), source, QRect(sx, sy, sw, sh), rop, source.depth() == 1, nullptr);
}

bool TCanvas::PatBlt(int x, int y, int w, int h, TRop rop)
{
    const unsigned code = (rop >> 16) & 0xFF;
    if (ropUsesSource(code))
        return false;
    return blit(QRect(x, y, w, h), QImage(), QRect(), rop, false, nullptr);
}

void TCanvas::Draw(int x, int y, const TBitmap &bitmap)
{
    if (bitmap.Empty())
        return;
    StretchDraw(QRect(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

void TCanvas::StretchDraw(const QRect &dest, const TBitmap &bitmap)
{
    if (bitmap.Empty() || dest.width() <= 0 || dest.height() <= 0)
        return;
    if (!bitmap.Transparent()) {
        StretchBlt(dest.x(), dest.y(), dest.width(), dest.height(), bitmap, 0, 0, bitmap.Width(),
                   bitmap.Height(), CopyMode);
        return;
    }
    QPainter *p = painter();
    if (!p)
        return;
    // Transparent: pixels of the transparent colour are left out.
    QImage img = bitmap.image().convertToFormat(QImage::Format_ARGB32);
    if (bitmap.Monochrome()) {
        syncObjects();
        const QRgb fg = toQRgb(m_state.textColor), bg = toQRgb(m_state.bkColor);
        for (int yy = 0; yy < img.height(); ++yy) {
            auto *line = reinterpret_cast<QRgb *>(img.scanLine(yy));
            for (int xx = 0; xx < img.width(); ++xx)
                line[xx] = (line[xx] & 0xFFFFFF) == 0xFFFFFF ? bg : fg;
        }
    }
    const QRgb key = toQRgb(bitmap.TransparentColor()) & 0xFFFFFF;
    const QImage &orig = bitmap.image();
    for (int yy = 0; yy < img.height(); ++yy) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(yy));
        const auto *o = reinterpret_cast<const QRgb *>(orig.constScanLine(yy));
        for (int xx = 0; xx < img.width(); ++xx)
            if ((o[xx] & 0xFFFFFF) == key)
                line[xx] = 0;
    }
    if (img.size() != dest.size())
        img = img.scaled(dest.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    p->drawImage(dest.topLeft(), img);
    Changed();
}

void TCanvas::CopyRect(const QRect &dest, TCanvas &source, const QRect &srcRect)
{
    QImage *img = source.imageDevice();
    if (!img)
        return;
    const QRect deviceSrc = srcRect.translated(-source.m_state.origin);
    const bool mono = source.m_bitmapOwner && source.m_bitmapOwner->Monochrome();
    if (&source == this) {
        const QImage copy = img->copy();
        blit(dest, copy, deviceSrc, CopyMode, mono, m_bitmapOwner);
    } else {
        blit(dest, *img, deviceSrc, CopyMode, mono, source.m_bitmapOwner);
    }
}

} // namespace platform
