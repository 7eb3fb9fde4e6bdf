#include "TItemPainter.h"

#include "CoolUtils.h"
#include "TCoolImages.h"
#include "TCoolItems.h"
#include "TGlyph.h"
#include "TImageItem.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"
#include "platform/canvas/TImageList.h"

#include <QFileIconProvider>
#include <QFontMetrics>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QWidget>

namespace coolctrls {

using namespace platform;

namespace {

constexpr int ItemMargin = 4;
constexpr int ItemSpacing = 4;

unsigned biDiFlags(const QWidget *control)
{
    return control->layoutDirection() == Qt::RightToLeft ? unsigned(DT_RIGHT | DT_RTLREADING) : 0u;
}

// Step 7: the item's glyph by extended style; nullptr for none. `owned`
// keeps a bitmap made for this item; `fromControl` tells whether it is the
// control's Glyph (only that one is split into frames).
const TBitmap *itemGlyph(const TCoolItems &items, TCanvas &canvas, int index, const QString &text,
                         std::unique_ptr<TBitmap> &owned, bool &fromControl)
{
    fromControl = false;
    const int size = items.ItemHeight();
    switch (items.ExtendedStyle()) {
    case ctCoolControl: {
        if (items.Options().testFlag(ocUseImageList) && items.Images()) {
            if (index < 0 || index >= items.Images()->Count())
                return nullptr;
            owned = std::make_unique<TBitmap>();
            items.Images()->GetBitmap(index, *owned);
            return owned.get();
        }
        if (items.Options().testFlag(ocUseGlyphAssign) && items.Wallpaper().CoolImages()) {
            int glAssign = -1;
            if (items.OnGlyphDraw)
                items.OnGlyphDraw(index, glAssign);
            if (glAssign != -1) {
                const TImageItem *item = items.Wallpaper().CoolImages()->Images()->find(glAssign);
                return item && !item->BitmapObject()->Empty() ? item->BitmapObject() : nullptr;
            }
        }
        fromControl = true;
        return items.Glyph().Glyph().Empty() ? nullptr : &items.Glyph().Glyph();
    }
    case ctColorControl: {
        const auto color = TCoolItems::ItemColor(text);
        if (!color)
            return nullptr;
        owned = TItemPainter::ColorSwatch(*color, canvas.Brush.Color(), size);
        return owned.get();
    }
    case ctFontControl:
        if (items.FontAutoUpdate())
            canvas.Font.setName(text);
        return &TItemPainter::ResourceGlyph(IsTrueTypeFont(text) ? QStringLiteral("BITMAP_TT")
                                                                  : QStringLiteral("BITMAP_NTT"));
    case ctPrinterControl: return &TItemPainter::ResourceGlyph(QStringLiteral("BITMAP_PRN"));
    case ctCheckControl:
        owned = TItemPainter::CheckBoxBitmap(items.CheckState(index), items.FlatCheckBox(), size);
        return owned.get();
    case ctFolderControl:
        owned = TItemPainter::FileIconBitmap(items.FolderName() + text, size);
        return owned.get();
    }
    return nullptr;
}

} // namespace

void TItemPainter::PrepareCanvas(TCanvas &canvas, const TCoolItems &items, int index, const QRect &rect,
                                 TOwnerDrawState state)
{
    const QWidget *control = items.control();
    canvas.Font.Assign(control->font());
    canvas.Font.setColor(TColor::fromQColor(control->palette().color(QPalette::WindowText)));
    canvas.Brush.setColor(items.Color());
    if (state.testFlag(odSelected)) {
        canvas.Brush.setColor(clHighlight);
        canvas.Font.setColor(clHighlightText);
    }
    if (index < 0)
        canvas.FillRect(rect);
}

QString TItemPainter::ExpandTabs(const QString &text, const QFontMetrics &fm, int stop)
{
    if (!text.contains(QLatin1Char('\t')))
        return text;
    stop = qMax(1, stop);
    QString out;
    for (const QChar c : text) {
        if (c != QLatin1Char('\t')) {
            out += c;
            continue;
        }
        // Spaces up to the stop: the caption is drawn as one string, so
        // the stop is met to within a space's width.
        const int next = (fm.horizontalAdvance(out) / stop + 1) * stop;
        do
            out += QLatin1Char(' ');
        while (fm.horizontalAdvance(out) < next);
    }
    return out;
}

bool TItemPainter::PaintedSelected(TOwnerDrawState state, bool comboBox)
{
    const TOwnerDrawState sel{odSelected}, selFocused{odSelected, odFocused};
    if (state == sel || state == selFocused)
        return true;
    return comboBox && state == TOwnerDrawState{odSelected, odFocused, odComboBoxEdit};
}

bool TItemPainter::BevelDrawn(TOwnerDrawState state, TCoolOptions options)
{
    if (!options.testFlag(ocBevelOnlyIfSel))
        return true;
    return state == TOwnerDrawState{odSelected} || state == TOwnerDrawState{odSelected, odFocused};
}

void TItemPainter::Paint(TCanvas &canvas, const TCoolItems &items, int index, const QString &text,
                         const QRect &rect, TOwnerDrawState state, const TItemArea &area)
{
    QWidget *control = items.control();
    const TCoolOptions options = items.Options();
    const bool comboBox = items.isComboBox();
    const bool enabled = control->isEnabled();
    const unsigned biDi = biDiFlags(control);
    const bool stretched = options.testFlag(ocStretchWallpaper);

    // 3. What is given back at the end.
    const TColor textColor = canvas.GetTextColor();
    const TColor bkColor = canvas.GetBkColor();

    // 4. Background.
    if (PaintedSelected(state, comboBox)) {
        canvas.Font.Assign(items.SelFont());
        canvas.Brush.setColor(items.SelColor());
        const TBitmap *wallpaper = items.ResolveWallpaper();
        const TBitmap *selWallpaper = items.ResolveSelWallpaper();
        if (options.testFlag(ocInvertWallpaperAsSelect) && wallpaper)
            DrawWallpaperClipped(canvas, *wallpaper, area.wallpaperArea, NOTSRCCOPY, stretched, rect);
        else if (options.testFlag(ocPaintSelWallpaper) && selWallpaper)
            DrawWallpaperClipped(canvas, *selWallpaper, area.wallpaperArea, SRCCOPY, comboBox ? stretched : true,
                                 rect);
        else
            canvas.FillRect(rect);
    } else {
        const TBitmap *wallpaper = items.ResolveWallpaper();
        if (options.testFlag(ocPaintWallpaper) && wallpaper) {
            DrawWallpaperClipped(canvas, *wallpaper, area.wallpaperArea, SRCCOPY, stretched, rect);
        } else if (options.testFlag(ocPaintTransparently)) {
            // The background lies under the control: shift the canvas so
            // that the control's origin is its (0, 0).
            const QPoint org = canvas.OffsetWindowOrg(area.controlOffset.x(), area.controlOffset.y());
            PaintParentBackgroundClipped(GetParentAtLevel(control, items.Wallpaper().TransparencyLevel()), canvas,
                                         rect.translated(area.controlOffset), true);
            canvas.SetWindowOrg(org);
        } else {
            canvas.Brush.setColor(items.Color());
            canvas.FillRect(rect);
        }
    }

    // 5. A painter of its own for this item, caption measured as one line.
    TGlyph painter;
    painter.UseTextMetrics = true;
    QRect g = rect;

    // 6. The check box column.
    if (items.ExtendedCheck()) {
        const auto check = CheckBoxBitmap(items.CheckState(index), items.FlatCheckBox(), items.ItemHeight());
        painter.setGlyph(check.get());
        painter.setNumGlyphs(1);
        painter.DrawGlyphOnly(canvas, g, biDi, blGlyphLeft, ItemMargin, ItemSpacing, text, QPoint(), clNone, true,
                              enabled);
        const int cut = check->Width() + 4;
        g.adjust(cut, 0, -cut, 0);
        painter.setGlyph(nullptr);
    }

    // 7. The item's glyph.
    std::unique_ptr<TBitmap> owned;
    bool fromControl = false;
    if (const TBitmap *glyph = itemGlyph(items, canvas, index, text, owned, fromControl)) {
        painter.setGlyph(glyph);
        if (!fromControl)
            painter.setNumGlyphs(1);
    }

    // 8. Glyph and caption; the list box's tab stops (TabWidth) apply to
    // its captions.
    QRect textBounds;
    const QFontMetrics fm(canvas.Font.toQFont());
    const QString caption = comboBox ? text : ExpandTabs(text, fm, items.TabStopPixels(fm.averageCharWidth()));
    painter.DrawButton(canvas, g, textBounds, biDi, items.Shadow(), clNone, true, enabled, ItemSpacing, ItemMargin,
                       blGlyphLeft, caption, QPoint());

    // 9., 10. The bevel.
    if (!items.ExtendedCheck() || items.BevelStyle() == bsBevelBoth)
        g = rect;
    if (BevelDrawn(state, options))
        painter.DrawBevels(canvas, g, biDi, items.BevelStyle(), items.BevelOuter(), items.BevelInner(), blGlyphLeft,
                           ItemMargin, ItemSpacing, text, QPoint());

    // 11.
    canvas.SetTextColor(textColor);
    canvas.SetBkColor(bkColor);
}

std::unique_ptr<TBitmap> TItemPainter::ColorSwatch(TColor x, TColor b, int size)
{
    auto bitmap = std::make_unique<TBitmap>(size, size);
    TCanvas &c = bitmap->Canvas();
    TColor background = b;
    if (const uint32_t rgb = ColorToRGB(b).value(); rgb == ColorToRGB(x).value())
        background = TColor(rgb == 0 ? 1 : rgb - 1);
    c.FillRect(QRect(0, 0, size, size), background);
    c.Pen.setColor(clBlack);
    c.Brush.setColor(x);
    c.Rectangle(0, 2, size, size - 2);
    return bitmap;
}

std::unique_ptr<TBitmap> TItemPainter::CheckBoxBitmap(int state, bool flat, int size)
{
    auto bitmap = std::make_unique<TBitmap>(size, size);
    TCanvas &c = bitmap->Canvas();
    c.FillRect(QRect(0, 0, size, size), clOlive);
    unsigned look = DFCS_BUTTONCHECK;
    if (state == 1)
        look |= DFCS_CHECKED;
    else if (state == 2)
        look |= DFCS_CHECKED | DFCS_BUTTON3STATE;
    if (flat)
        look |= DFCS_FLAT;
    c.DrawFrameControl(Rect(1, 1, size - 1, size - 1), DFC_BUTTON, look);
    return bitmap;
}

std::unique_ptr<TBitmap> TItemPainter::FileIconBitmap(const QString &path, int size)
{
    auto bitmap = std::make_unique<TBitmap>(size, size);
    TCanvas &c = bitmap->Canvas();
    c.FillRect(QRect(0, 0, size, size), clOlive);
    bitmap->setTransparentColor(clOlive);
    if (path.contains(QLatin1String("..")))
        return bitmap;
    static QFileIconProvider provider;
    const QIcon icon = provider.icon(QFileInfo(path));
    const QPixmap pixmap = icon.pixmap(size, size);
    if (!pixmap.isNull()) {
        if (QPainter *p = c.painter()) {
            p->drawPixmap(QRect(0, 0, size, size), pixmap);
            c.Changed();
        }
    }
    bitmap->Dormant();
    return bitmap;
}

const TBitmap &TItemPainter::ResourceGlyph(const QString &name)
{
    static QHash<QString, std::shared_ptr<TBitmap>> cache;
    auto &entry = cache[name];
    if (!entry) {
        entry = std::make_shared<TBitmap>();
        try {
            LoadResourceBitmap(name, *entry);
        } catch (...) {
            entry->SetSize(0, 0);
        }
    }
    return *entry;
}

} // namespace coolctrls
