#pragma once

#include "CoolTypes.h"
#include "TShadowStyle.h"
#include "platform/canvas/Colors.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

namespace platform {
class TBitmap;
class TCanvas;
} // namespace platform

namespace coolctrls {

class TGlyphList;

// The glyph holder of labels, list boxes, combo boxes, buttons and the
// scrolling text: the small picture beside a caption. It keeps the bitmap it
// is given, splits it into NumGlyphs equal-width sub-images (normal,
// disabled, ...), lays out glyph and caption in a rectangle and draws them.
//
// The ready-to-draw normal and disabled images are built on first draw and
// kept in a TGlyphList shared by every holder with glyphs of that size
// (TGlyphCache); any change of the glyph releases them. Without a disabled
// sub-image the disabled image is generated: the glyph's black pixels
// embossed, highlight one pixel right and down under shadow.
class TGlyph
{
public:
    TGlyph();
    // Releases its images; the last holder to go frees an empty cache.
    ~TGlyph();
    TGlyph(const TGlyph &) = delete;
    TGlyph &operator=(const TGlyph &) = delete;

    // The glyph bitmap (owned). Drawing on it or assigning into it counts as
    // a change of the glyph.
    platform::TBitmap &Glyph() { return *m_original; }
    const platform::TBitmap &Glyph() const { return *m_original; }
    // Copies the bitmap (nullptr empties the glyph). A bitmap of height > 0
    // also gives TransparentColor, and when its width is a whole multiple of
    // its height, NumGlyphs := width / height if below 5, else 1.
    void setGlyph(const platform::TBitmap *value);

    int NumGlyphs() const { return m_numGlyphs; }
    // 0 and the current value are ignored.
    void setNumGlyphs(int value);
    // The rule of every control's NumGlyphs property: the value is taken as
    // a byte, 0 is ignored and more than 2 (normal and disabled image) is
    // stored as 2. Answers whether the count changed.
    bool setNumGlyphsLimited(int value);

    platform::TColor TransparentColor = platform::clOlive;
    // Measure captions with the font's text width and height instead of a
    // DrawText measurement.
    bool UseTextMetrics = false;

    // After the glyph or its sub-image count changed.
    std::function<void(TGlyph *sender)> OnChange;

    // Width of one sub-image and the height; (0, 0) without a glyph.
    QSize glyphSize() const;

    // Index in the shared list of the ready image for that state, built on
    // first use; -1 without a glyph.
    int CachedImageIndex(bool enabled);
    // The shared list holding this holder's images, nullptr while none built.
    TGlyphList *glyphList() const { return m_glyphList; }

    // Draws the ready image at p. transparent: through its mask, blended
    // 50 % with the background when colour is not clNone; else over colour.
    void DrawGlyph(platform::TCanvas &canvas, const QPoint &p, platform::TColor colour, bool transparent,
                   bool enabled);

    // Where glyph and caption go in client. layout: glyph left, right, top,
    // bottom of the caption (DT_RIGHT in biDiFlags swaps left and right);
    // margin and spacing in pixels, -1 = automatic. Outputs the glyph's
    // top-left and the caption's bounds, both moved by client's top-left
    // and offset.
    void CalcLayout(platform::TCanvas &canvas, const QRect &client, unsigned biDiFlags, TButtonLayout layout,
                    int margin, int spacing, const QString &caption, const QPoint &offset, QPoint &glyphPos,
                    QRect &textBounds) const;
    // The arithmetic of CalcLayout for a caption of the given measured
    // bounds (origin 0, 0).
    void CalcLayoutFor(const QRect &client, unsigned biDiFlags, TButtonLayout layout, int margin, int spacing,
                       const QRect &captionBounds, const QPoint &offset, QPoint &glyphPos,
                       QRect &textBounds) const;

    // The caption centred in textBounds (DrawCaption of CoolUtils): plain,
    // shadowed, or engraved when disabled.
    void DrawCaption(platform::TCanvas &canvas, const QString &caption, const QRect &textBounds,
                     unsigned format, const TShadowStyle &shadow, bool enabled) const;

    void DrawGlyphOnly(platform::TCanvas &canvas, const QRect &client, unsigned biDiFlags, TButtonLayout layout,
                       int margin, int spacing, const QString &caption, const QPoint &offset,
                       platform::TColor colour, bool transparent, bool enabled);

    // Edge lines around the whole client, the glyph or the caption.
    void DrawBevels(platform::TCanvas &canvas, const QRect &client, unsigned biDiFlags, TBevelStyleEx style,
                    TBevelCut outer, TBevelCut inner, TButtonLayout layout, int margin, int spacing,
                    const QString &caption, const QPoint &offset) const;

    // Glyph and caption clipped to client; answers the caption bounds.
    void DrawButton(platform::TCanvas &canvas, const QRect &client, QRect &textBounds, unsigned biDiFlags,
                    const TShadowStyle &shadow, platform::TColor colour, bool transparent, bool enabled, int spacing,
                    int margin, TButtonLayout layout, const QString &caption, const QPoint &offset);
    // The same with the shadow group given value by value.
    void DrawButton(platform::TCanvas &canvas, const QRect &client, QRect &textBounds, unsigned biDiFlags,
                    int shadowSize, platform::TColor shadowColor, TShadowPosition shadowPos, bool simpleView,
                    platform::TColor colour, bool transparent, bool enabled, int spacing, int margin,
                    TButtonLayout layout, const QString &caption, const QPoint &offset)
    {
        DrawButton(canvas, client, textBounds, biDiFlags, TShadowStyle{shadowColor, shadowSize, shadowPos, simpleView},
                   colour, transparent, enabled, spacing, margin, layout, caption, offset);
    }

private:
    void glyphChanged();
    void releaseImages();
    int buildImage(bool enabled);

    std::unique_ptr<platform::TBitmap> m_original;
    TGlyphList *m_glyphList = nullptr;
    int m_indexDisabled = -1;
    int m_indexEnabled = -1;
    int m_numGlyphs = 1;
};

} // namespace coolctrls
