#pragma once

#include "CoolTypes.h"
#include "platform/canvas/Colors.h"

#include <QPoint>
#include <QRect>
#include <QString>

class QFontMetrics;

#include <functional>
#include <memory>

namespace platform {
class TBitmap;
class TCanvas;
} // namespace platform

namespace coolctrls {

class TCoolItems;

// Where an item is painted: the canvas draws in the coordinates of the
// widget that shows the items (a list's viewport, a combo box's field);
// wallpaperArea is the rectangle the wallpaper is laid over in those
// coordinates, and controlOffset the canvas origin's position in the control
// itself (for the see-through background, which lies under the control).
struct TItemArea
{
    QRect wallpaperArea;
    QPoint controlOffset;
};

// The one item painter of the list box and the combo box. An item is
// painted as the classic owner-drawn item: background (colour, wallpaper,
// selection wallpaper or the see-through background), then glyph and
// shadowed caption laid out as on a button face with margin 4 and spacing 4
// (check box, image list entry, store image, colour swatch, font or printer
// mark, file icon), then the bevel. Where the two controls differ (which
// draw states count as selected, how the selection wallpaper is laid out)
// TCoolItems::kind() decides.
class TItemPainter
{
public:
    // Replaces the painter for an item when set (OnDrawItem).
    using TDrawItemEvent =
        std::function<void(platform::TCanvas &canvas, int index, const QRect &rect, TOwnerDrawState state)>;

    // What the view does before it calls the painter: canvas font := the
    // control's font, brush := its colour, or clHighlight with the font
    // colour clHighlightText when the state holds odSelected. A negative
    // index is only filled.
    static void PrepareCanvas(platform::TCanvas &canvas, const TCoolItems &items, int index, const QRect &rect,
                              TOwnerDrawState state);

    // Paints item `index` (its text `text`) in rect with the draw state.
    static void Paint(platform::TCanvas &canvas, const TCoolItems &items, int index, const QString &text,
                      const QRect &rect, TOwnerDrawState state, const TItemArea &area);

    // Whether the state is painted as selected: exactly {odSelected} or
    // {odSelected, odFocused}; the combo box adds its focused edit field
    // {odSelected, odFocused, odComboBoxEdit}. Anything else (disabled,
    // grayed ...) is painted unselected.
    static bool PaintedSelected(TOwnerDrawState state, bool comboBox);
    // The caption with each tab replaced by the spaces that reach the next
    // tab stop (every stop pixels) in font metrics fm.
    static QString ExpandTabs(const QString &text, const QFontMetrics &fm, int stop);
    // Whether the bevel is drawn: always, unless ocBevelOnlyIfSel asks for
    // the states {odSelected} and {odSelected, odFocused} only.
    static bool BevelDrawn(TOwnerDrawState state, TCoolOptions options);

    // --- glyph bitmaps, size x size pixels ---
    // Colour x on background b: filled with b (one below b when both show as
    // the same colour, so the swatch never turns into the transparent
    // colour), a black-outlined rectangle of x from (0, 2) to (size, size-2).
    static std::unique_ptr<platform::TBitmap> ColorSwatch(platform::TColor x, platform::TColor b, int size);
    // The check box of state 0, 1, 2 (unchecked, checked, grayed) on olive.
    static std::unique_ptr<platform::TBitmap> CheckBoxBitmap(int state, bool flat, int size);
    // The small file icon of path on olive (olive transparent); nothing
    // (all olive) when the path contains "..".
    static std::unique_ptr<platform::TBitmap> FileIconBitmap(const QString &path, int size);
    // "BITMAP_TT", "BITMAP_NTT", "BITMAP_PRN", loaded once.
    static const platform::TBitmap &ResourceGlyph(const QString &name);
};

} // namespace coolctrls
