#include "TGlyph.h"

#include "CoolUtils.h"
#include "TGlyphCache.h"
#include "TGlyphList.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

using namespace platform;

namespace coolctrls {

TGlyph::TGlyph()
    : m_original(std::make_unique<TBitmap>())
{
    m_original->OnChange = [this](TBitmap *) { glyphChanged(); };
}

TGlyph::~TGlyph()
{
    m_original->OnChange = nullptr;
    releaseImages();
    TGlyphCache::releaseIfEmpty();
}

QSize TGlyph::glyphSize() const
{
    if (m_original->Empty())
        return {0, 0};
    return {m_original->Width() / m_numGlyphs, m_original->Height()};
}

void TGlyph::releaseImages()
{
    if (m_glyphList) {
        if (m_indexDisabled != -1)
            m_glyphList->Delete(m_indexDisabled);
        if (m_indexEnabled != -1)
            m_glyphList->Delete(m_indexEnabled);
        if (TGlyphCache *cache = TGlyphCache::existing())
            cache->ReturnList(m_glyphList);
    }
    m_indexDisabled = -1;
    m_indexEnabled = -1;
    m_glyphList = nullptr;
}

void TGlyph::glyphChanged()
{
    TransparentColor = m_original->TransparentColor();
    releaseImages();
    if (OnChange)
        OnChange(this);
}

void TGlyph::setGlyph(const TBitmap *value)
{
    releaseImages();
    m_original->Assign(value);
    if (value && value->Height() > 0) {
        TransparentColor = value->TransparentColor();
        if (value->Width() % value->Height() == 0) {
            const int n = value->Width() / value->Height();
            setNumGlyphs(n < 5 ? n : 1);
        }
    }
}

void TGlyph::setNumGlyphs(int value)
{
    if (value <= 0 || value == m_numGlyphs)
        return;
    releaseImages();
    m_numGlyphs = value;
    glyphChanged();
}

bool TGlyph::setNumGlyphsLimited(int value)
{
    const int n = qMin(int(static_cast<uint8_t>(value)), 2);
    if (n == 0 || n == m_numGlyphs)
        return false;
    setNumGlyphs(n);
    return true;
}

int TGlyph::CachedImageIndex(bool enabled)
{
    int &index = enabled ? m_indexEnabled : m_indexDisabled;
    if (index == -1)
        index = buildImage(enabled);
    return index;
}

int TGlyph::buildImage(bool enabled)
{
    if (m_original->Width() == 0 || m_original->Height() == 0)
        return -1;
    const int w = m_original->Width() / m_numGlyphs;
    const int h = m_original->Height();
    if (w <= 0)
        return -1;
    if (!m_glyphList)
        m_glyphList = TGlyphCache::instance().GetList(w, h);

    TBitmap tmp(w, h);
    TCanvas &tc = tmp.Canvas();
    tc.Brush.setColor(clBtnFace);
    const int s = (!enabled && m_numGlyphs >= 2) ? 1 : 0;
    int result = -1;

    if (enabled) {
        tc.BitBlt(0, 0, w, h, *m_original, w * s, 0, SRCCOPY);
        tmp.Dormant();
        const TColor mask = m_original->TransparentMode() == TTransparentMode::tmFixed ? TransparentColor : clDefault;
        result = m_glyphList->AddMasked(tmp, mask);
    } else if (m_numGlyphs < 2) {
        // The generated disabled look: the first sub-image's black pixels as
        // a mask, painted in highlight one pixel right and down, then in
        // shadow in place.
        TBitmap mono;
        if (m_original->Monochrome()) {
            // A one-bit glyph is drawn black on white: taken into colour
            // with a white font (its black pixels) over a black brush, its
            // shape is what the white brush marks below.
            mono.SetSize(w, h);
            TCanvas &mc = mono.Canvas();
            mc.Brush.setColor(clBlack);
            mc.Font.setColor(clWhite);
            mc.SetTextColor(clWhite);
            mc.SetBkColor(clBlack);
            mc.BitBlt(0, 0, w, h, *m_original, 0, 0, SRCCOPY);
            mc.Brush.setColor(clWhite);
        } else {
            mono.Assign(*m_original);
            mono.setWidth(w);
            mono.Canvas().Brush.setColor(clBlack);
        }
        mono.setMonochrome(true);
        tc.FillRect(QRect(0, 0, w, h), clBtnFace);
        tc.Brush.setColor(clBtnHighlight);
        tc.SetTextColor(clBlack);
        tc.SetBkColor(clWhite);
        tc.BitBlt(1, 1, w, h, mono, 0, 0, ROP_DSPDxax);
        tc.Brush.setColor(clBtnShadow);
        tc.SetTextColor(clBlack);
        tc.SetBkColor(clWhite);
        tc.BitBlt(0, 0, w, h, mono, 0, 0, ROP_DSPDxax);
        tmp.Dormant();
        result = m_glyphList->AddMasked(tmp, clDefault);
    } else {
        // The bitmap's own disabled sub-image, recoloured to the scheme:
        // white to highlight, grey to shadow, the transparent colour to face.
        tc.BitBlt(0, 0, w, h, *m_original, w * s, 0, SRCCOPY);
        const std::pair<TColor, TColor> recolour[] = {
            {clWhite, clBtnHighlight}, {clGray, clBtnShadow}, {TransparentColor, clBtnFace}};
        for (const auto &[key, target] : recolour) {
            TBitmap mono;
            mono.Assign(tmp);
            mono.Canvas().Brush.setColor(key);
            mono.setMonochrome(true);
            tc.Brush.setColor(target);
            tc.SetTextColor(clBlack);
            tc.SetBkColor(clWhite);
            tc.BitBlt(0, 0, w, h, mono, 0, 0, ROP_DSPDxax);
        }
        tmp.Dormant();
        result = m_glyphList->AddMasked(tmp, clDefault);
    }
    m_original->Dormant();
    return result;
}

void TGlyph::DrawGlyph(TCanvas &canvas, const QPoint &p, TColor colour, bool transparent, bool enabled)
{
    if (m_original->Width() == 0 || m_original->Height() == 0)
        return;
    const int index = CachedImageIndex(enabled);
    if (index < 0 || !m_glyphList)
        return;
    if (transparent) {
        const unsigned style = ILD_TRANSPARENT | (colour != clNone ? ILD_BLEND50 : 0u);
        m_glyphList->DrawEx(canvas, index, p.x(), p.y(), CLR_NONE, CLR_NONE, style);
    } else {
        m_glyphList->DrawEx(canvas, index, p.x(), p.y(), ColorToRGB(colour).value(), CLR_NONE, ILD_NORMAL);
    }
}

void TGlyph::CalcLayout(TCanvas &canvas, const QRect &client, unsigned biDiFlags, TButtonLayout layout,
                        int margin, int spacing, const QString &caption, const QPoint &offset, QPoint &glyphPos,
                        QRect &textBounds) const
{
    QRect bounds(0, 0, 0, 0);
    if (!caption.isEmpty()) {
        if (UseTextMetrics) {
            bounds = QRect(0, 0, canvas.TextWidth(caption), canvas.TextHeight(caption));
        } else {
            bounds = Rect(0, 0, client.width(), 0);
            canvas.DrawText(caption, bounds, DT_CALCRECT | biDiFlags);
        }
    }
    CalcLayoutFor(client, biDiFlags, layout, margin, spacing, bounds, offset, glyphPos, textBounds);
}

void TGlyph::CalcLayoutFor(const QRect &client, unsigned biDiFlags, TButtonLayout layout, int margin, int spacing,
                           const QRect &captionBounds, const QPoint &offset, QPoint &glyphPos,
                           QRect &textBounds) const
{
    if (biDiFlags & DT_RIGHT) {
        if (layout == blGlyphLeft)
            layout = blGlyphRight;
        else if (layout == blGlyphRight)
            layout = blGlyphLeft;
    }
    const QPoint k(client.width(), client.height());
    const QSize gs = glyphSize();
    const QPoint g(gs.width(), gs.height());
    textBounds = captionBounds;
    const QPoint t(textBounds.width(), textBounds.height());

    QPoint glyph, text;
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    if (horizontal) {
        glyph.setY((k.y() - g.y() + 1) / 2);
        text.setY((k.y() - t.y() + 1) / 2);
    } else {
        glyph.setX((k.x() - g.x() + 1) / 2);
        text.setX((k.x() - t.x() + 1) / 2);
    }
    if (t.x() == 0 || g.x() == 0)
        spacing = 0;

    const int kk = horizontal ? k.x() : k.y();
    const int gg = horizontal ? g.x() : g.y();
    const int tt = horizontal ? t.x() : t.y();
    if (margin == -1) {
        if (spacing == -1) {
            margin = (kk - (gg + tt)) / 3;
            spacing = margin;
        } else {
            margin = (kk - (gg + spacing + tt) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = ((kk - (margin + gg)) - tt) / 2;
    }

    switch (layout) {
    case blGlyphLeft:
        glyph.setX(margin);
        text.setX(margin + g.x() + spacing);
        break;
    case blGlyphRight:
        glyph.setX(k.x() - margin - g.x());
        text.setX(glyph.x() - spacing - t.x());
        break;
    case blGlyphTop:
        glyph.setY(margin);
        text.setY(margin + g.y() + spacing);
        break;
    case blGlyphBottom:
        glyph.setY(k.y() - margin - g.y());
        text.setY(glyph.y() - spacing - t.y());
        break;
    }
    glyphPos = glyph + client.topLeft() + offset;
    textBounds.translate(text + client.topLeft() + offset);
}

void TGlyph::DrawCaption(TCanvas &canvas, const QString &caption, const QRect &textBounds, unsigned format,
                         const TShadowStyle &shadow, bool enabled) const
{
    canvas.Brush.setStyle(TBrushStyle::bsClear);
    QRect r = textBounds;
    coolctrls::DrawCaption(canvas, r, format | DT_CENTER | DT_VCENTER, caption, shadow, canvas.Font.Color(), enabled);
}

void TGlyph::DrawGlyphOnly(TCanvas &canvas, const QRect &client, unsigned biDiFlags, TButtonLayout layout,
                           int margin, int spacing, const QString &caption, const QPoint &offset, TColor colour,
                           bool transparent, bool enabled)
{
    QPoint glyphPos;
    QRect textBounds;
    CalcLayout(canvas, client, biDiFlags, layout, margin, spacing, caption, offset, glyphPos, textBounds);
    DrawGlyph(canvas, glyphPos, colour, transparent, enabled);
}

void TGlyph::DrawBevels(TCanvas &canvas, const QRect &client, unsigned biDiFlags, TBevelStyleEx style,
                        TBevelCut outer, TBevelCut inner, TButtonLayout layout, int margin, int spacing,
                        const QString &caption, const QPoint &offset) const
{
    if (outer == bvNone && inner == bvNone)
        return;
    QRect r = client;
    if (style != bsBevelBoth) {
        QPoint glyphPos;
        QRect textBounds;
        CalcLayout(canvas, client, biDiFlags, layout, margin, spacing, caption, offset, glyphPos, textBounds);
        r = style == bsBevelOnlyImage ? QRect(glyphPos, glyphSize()) : textBounds;
        InflateRect(r, margin / 2, spacing / 2);
    }
    unsigned edge = 0;
    if (inner == bvLowered)
        edge |= BDR_SUNKENINNER;
    else if (inner == bvRaised)
        edge |= BDR_RAISEDINNER;
    if (outer == bvLowered)
        edge |= BDR_SUNKENOUTER;
    else if (outer == bvRaised)
        edge |= BDR_RAISEDOUTER;
    if (edge)
        canvas.DrawEdge(r, edge, BF_RECT);
}

void TGlyph::DrawButton(TCanvas &canvas, const QRect &client, QRect &textBounds, unsigned biDiFlags,
                        const TShadowStyle &shadow, TColor colour, bool transparent, bool enabled, int spacing,
                        int margin, TButtonLayout layout, const QString &caption, const QPoint &offset)
{
    const int level = canvas.SaveDC();
    try {
        canvas.IntersectClipRect(client);
        QPoint glyphPos;
        CalcLayout(canvas, client, biDiFlags, layout, margin, spacing, caption, offset, glyphPos, textBounds);
        DrawGlyph(canvas, glyphPos, colour, transparent, enabled);
        DrawCaption(canvas, caption, textBounds, biDiFlags, shadow, enabled);
    } catch (...) {
        canvas.RestoreDC(level);
        throw;
    }
    canvas.RestoreDC(level);
}

} // namespace coolctrls
