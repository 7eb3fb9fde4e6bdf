#pragma once

#include "CoolControlSupport.h"
#include "CoolTypes.h"
#include "TCheckRecords.h"
#include "TGlyph.h"
#include "TShadowStyle.h"
#include "TWallpaperGroup.h"
#include "platform/canvas/Colors.h"
#include "platform/canvas/TFont.h"
#include "platform/canvas/TImageList.h"
#include "platform/canvas/TPen.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QAbstractItemModel;
class QWidget;

namespace platform {
class TCanvas;
}

namespace coolctrls {

// What the list box and the combo box have in common: the settings of the
// item painter (colours, selection font and wallpaper, glyph, bevels,
// caption shadow, image list and store, borders), the extended styles that
// fill the items (colours, screen fonts, printers, check items, folder
// entries), the check records of check mode, the font value and the
// horizontal extent that follows the widest item.
//
// Each control keeps one over its own item model and connects to its
// signals: every setter compares, stores and then announces the change
// (Changed: the items look different, repaint them; OptionsChanged,
// ItemHeightChanged, ExtentChanged for what needs more). The control
// publishes the properties through TCoolItemsControl.
class TCoolItems : public QObject
{
    Q_OBJECT

public:
    enum class Kind { ListBox, ComboBox };

    // What the items ask of the control that shows them.
    class THost
    {
    public:
        // The current item, -1 for none.
        virtual int ItemIndex() const = 0;
        // Selects an item; values outside the items select none.
        virtual void setItemIndex(int value) = 0;
        // Appends an item with its text (the control's own add, so that the
        // row carries its text when its insertion is announced).
        virtual void AddItem(const QString &text) = 0;
        // The width an added item must exceed to widen the horizontal extent
        // (ListBoxWidth or Width).
        virtual int ExtentLimit() const = 0;

    protected:
        ~THost() = default;
    };

    TCoolItems(QWidget *control, QAbstractItemModel *model, Kind kind, THost &host);
    ~TCoolItems() override;

    QWidget *control() const { return m_control; }
    QAbstractItemModel *model() const { return m_model; }
    bool isComboBox() const { return m_kind == Kind::ComboBox; }

    // --- painter settings ---------------------------------------------------
    platform::TColor Color() const { return m_color; }
    void setColor(platform::TColor value) { assign(m_color, value); }
    platform::TColor SelColor() const { return m_selColor; }
    void setSelColor(platform::TColor value) { assign(m_selColor, value); }
    // Font of selected items (colour clHighlightText at creation); a change
    // of it repaints.
    platform::TFont &SelFont() { return m_selFont; }
    const platform::TFont &SelFont() const { return m_selFont; }
    // The control's glyph (Glyph, NumGlyphs); a change of it repaints.
    TGlyph &Glyph() { return m_glyph; }
    const TGlyph &Glyph() const { return m_glyph; }
    // TGlyph::setNumGlyphsLimited.
    void setNumGlyphs(int value);
    // The store, idWallpaper, the own Wallpaper and TransparencyLevel; a
    // change of any of them repaints.
    TWallpaperGroup &Wallpaper() { return m_wallpaper; }
    const TWallpaperGroup &Wallpaper() const { return m_wallpaper; }
    TWallpaperSource &SelWallpaper() { return m_selWallpaper; }
    const TWallpaperSource &SelWallpaper() const { return m_selWallpaper; }
    void setCoolImages(TCoolImages *store);
    void setIdWallpaper(int value);
    void setIdSelWallpaper(int value);
    void setTransparencyLevel(int value);
    // The resolved wallpapers (nullptr when none).
    const platform::TBitmap *ResolveWallpaper() const { return m_wallpaper.ResolveWallpaper(); }
    const platform::TBitmap *ResolveSelWallpaper() const { return m_wallpaper.Resolve(m_selWallpaper); }
    // Whether a paint must cover the whole list (the wallpaper or the
    // see-through background stays fixed while the list scrolls).
    bool FixedBackground() const;

    TCoolOptions Options() const { return m_options; }
    // ocPaintWallpaper and ocPaintTransparently exclude each other (the one
    // just added wins); a changed set raises OptionsChanged and Changed.
    void setOptions(TCoolOptions value);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(TBevelCut value) { assign(m_bevelInner, value); }
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TBevelCut value) { assign(m_bevelOuter, value); }
    TBevelStyleEx BevelStyle() const { return m_bevelStyle; }
    void setBevelStyle(TBevelStyleEx value) { assign(m_bevelStyle, value); }
    // The per-item images of ocUseImageList; its changes repaint, its
    // destruction drops it.
    platform::TImageList *Images() const { return m_images.data(); }
    void setImages(platform::TImageList *value);
    // The caption shadow; a colour, size or position also clears SimpleView.
    const TShadowStyle &Shadow() const { return m_shadow; }
    void setShadowColor(platform::TColor value) { changeShadow(m_shadow.setColor(value)); }
    void setShadowSize(int value) { changeShadow(m_shadow.setSize(value)); }
    void setShadowPos(TShadowPosition value);
    void setSimpleView(bool value) { changeShadow(m_shadow.setSimpleView(value)); }
    TEdgeBorders EdgeBorders() const { return m_edgeBorders; }
    void setEdgeBorders(TEdgeBorders value) { assign(m_edgeBorders, value); }
    // The pen of the edge lines; assigning into it repaints.
    platform::TPen &BorderPen() { return m_borderPen; }
    const platform::TPen &BorderPen() const { return m_borderPen; }
    platform::TColor BordersTrColor() const { return m_bordersTrColor; }
    void setBordersTrColor(platform::TColor value) { assign(m_bordersTrColor, value); }
    bool FlatCheckBox() const { return m_flatCheckBox; }
    void setFlatCheckBox(bool value) { assign(m_flatCheckBox, value); }
    bool FontAutoUpdate() const { return m_fontAutoUpdate; }
    void setFontAutoUpdate(bool value) { assign(m_fontAutoUpdate, value); }
    int ItemHeight() const { return m_itemHeight; }
    // At least 1; a change raises ItemHeightChanged and Changed.
    void setItemHeight(int value);
    // Tab stops of the item texts in dialog units (4 to an average
    // character); 0: every 8 average characters. Negative values are 0.
    int TabWidth() const { return m_tabWidth; }
    void setTabWidth(int value) { assign(m_tabWidth, qMax(0, value)); }
    // The distance between tab stops in pixels for a font of that average
    // character width.
    int TabStopPixels(int averageCharWidth) const;
    // The control's font changed: while it comes from the parent
    // (ParentFont), SelFont becomes a copy of it in clHighlightText.
    void ControlFontChanged();
    // Whether the control's font is its parent's (a font of its own, or a
    // change of SelFont, turns it off). Setting it takes the parent's font
    // again; clearing it keeps the current font as the control's own.
    bool ParentFont() const;
    void setParentFont(bool value);

    // Keeps the items in the toolkit's sort order: alphabetical without
    // regard to case, compared as the user's locale orders words; equal
    // texts stay in the order they came. Items added later go to their
    // place; the current item, the selection and the check records move
    // with their items.
    bool Sorted() const { return m_sorted; }
    void setSorted(bool value);
    // Whether a comes before b in that order.
    static bool SortsBefore(const QString &a, const QString &b);

    // Chooses a store image per item (ocUseGlyphAssign): index in, store
    // image index out (-1 keeps the control's Glyph).
    std::function<void(int index, int &glAssign)> OnGlyphDraw;

    // --- extended styles ---------------------------------------------------
    TCoolControlStyle ExtendedStyle() const { return m_style; }
    // Refills when changed (check items only force ExtendedCheck off).
    void setExtendedStyle(TCoolControlStyle value);
    bool ExtendedCheck() const { return m_extendedCheck; }
    // Forced off with ctCheckControl.
    void setExtendedCheck(bool value);
    bool TrueType() const { return m_trueType; }
    // Clears the items, then refills in font mode.
    void setTrueType(bool value);
    bool LightColorControl() const { return m_lightColorControl; }
    void setLightColorControl(bool value);
    QString FolderName() const { return m_folderName; }
    // Normalised: ends in "/", a ".." takes the folder one level up.
    void setFolderName(const QString &value);
    QString FileMask() const { return m_fileMask; }
    void setFileMask(const QString &value);
    TFileType FileType() const { return m_fileType; }
    void setFileType(TFileType value);
    // Fills the items the extended style lists (fonts, printers, folder: also
    // after the form has loaded).
    void Refill();
    // Whether the items have check boxes (ctCheckControl or ExtendedCheck).
    bool CheckMode() const { return m_style == ctCheckControl || m_extendedCheck; }

    // "/data/sub/.." -> "/data/"; "" stays "".
    static QString NormalizeFolderName(const QString &name);
    // Attribute bits of a file type set.
    static uint32_t FileTypeAttributes(TFileType type);
    // The names a colour list shows: the 16 basic colours, or all 42.
    static QStringList ColorList(bool light);
    // The screen's font names; with trueType only the outline fonts.
    static QStringList FontList(bool trueType);
    // The system's printers, from the printer provider.
    static QStringList PrinterList();
    // Replaces where printer names come from (tests); an empty provider
    // restores the print system's (Qt Print Support) list.
    using TPrinterProvider = std::function<QStringList()>;
    static TPrinterProvider setPrinterProvider(TPrinterProvider provider);

    // --- colour mode --------------------------------------------------------
    // The item's text when it is a colour, else "cl" + text.
    static QString NormalizedColorText(const QString &text);
    // The colour of an item's text, nullopt when even the normalised text is
    // no colour. Never reports.
    static std::optional<platform::TColor> ItemColor(const QString &text);
    platform::TColor SelectedColor() const { return m_selectedColor; }
    // Selects the first item of that colour (colour mode only); -1 / no item
    // while none matches.
    void SelectColor(platform::TColor color);
    // The selection changed: SelectedColor follows the selected colour item.
    void SelectionChanged();

    // --- check mode ---------------------------------------------------------
    // False / 0 for an item without a check record.
    bool Checked(int index) const;
    void setChecked(int index, bool value);
    int CheckState(int index) const;
    void setCheckState(int index, int state);
    // The item's own data: the model's slot outside check mode, the record's
    // Data in it (writing takes the next saved check state).
    int32_t ItemData(int index) const;
    void setItemData(int index, int32_t value);
    const TCheckRecords &checkRecords() const { return m_checks; }
    const std::deque<uint8_t> &SavedStates() const { return m_savedStates; }
    // What re-creating the control's window does: the check states are saved,
    // the items and their data taken out and put back.
    void Recreate();

    // --- dialog keys -----------------------------------------------------------
    // The colour and font dialogs Ctrl+Enter opens (Qt's own by default;
    // tests put their own in). nullopt when the user cancels.
    using TColorDialog = std::function<std::optional<platform::TColor>(QWidget *parent, platform::TColor initial)>;
    using TFontDialog = std::function<std::optional<QFont>(QWidget *parent, const QFont &initial)>;
    static TColorDialog setColorDialog(TColorDialog dialog);
    static TFontDialog setFontDialog(TFontDialog dialog);
    enum class TDialogResult { None, Color, Font };
    // Enter with exactly Ctrl in colour or font mode: runs the dialog and
    // takes its answer (the colour selected, added as an item when no item
    // has it; the font's name selected). Answers what was confirmed.
    TDialogResult DialogKey(int key, Qt::KeyboardModifiers modifiers);

    // --- font value ---------------------------------------------------------
    // FontValue with its name set to the selected item's text.
    platform::TFont &FontValue();

    // --- flat border and edge borders -------------------------------------------
    // The mouse entered / left the control: OnMouseEnter / OnMouseLeave.
    // The flat border does not follow the mouse: painted, it shows the
    // focus.
    void MouseEntered(const std::function<void(QObject *)> &onMouseEnter);
    void MouseLeft(const std::function<void(QObject *)> &onMouseLeave);
    // Over the control's whole area: the flat border (highlighted exactly
    // when focused is true), then the edge borders.
    void PaintBorders(platform::TCanvas &canvas, bool focused) const;

    // --- horizontal extent --------------------------------------------------
    // The widest item measured and the scroll range it asks for. Items are
    // measured when these are first asked for after a change (a view asks
    // as it lays the items out), not as they are added: each added item
    // that is wider than every earlier one and than the extent limit at the
    // time it was added widens the extent; a removal measures the longest
    // item again.
    int MaxItemWidth() const;
    int HorizontalExtent() const { return MaxItemWidth(); }
    // Width an item needs: its text in SelFont or Font, whichever is wider,
    // plus the whole Glyph bitmap.
    int MeasureItem(const QString &text) const;

    // Items of the control.
    int Count() const;
    QString ItemText(int index) const;
    void AddItem(const QString &text) { m_host.AddItem(text); }
    void SetItems(const QStringList &items);

signals:
    // The items look different: the control repaints them.
    void Changed();
    // The option set changed (the list box re-creates its window).
    void OptionsChanged();
    // The rows have another height.
    void ItemHeightChanged();
    // Items were added or removed: the horizontal extent may be another.
    void ExtentChanged();

private:
    template<typename T>
    void assign(T &field, const T &value)
    {
        if (StoreChanged(field, value))
            emit Changed();
    }
    void changeShadow(bool changed)
    {
        if (changed)
            emit Changed();
    }
    void rowsInserted(int first, int last);
    void rowsRemoved();
    // Puts the items in sort order, moving rows so that persistent indexes
    // (current item, selection, check records) follow them.
    void sortRows();
    void fill();

    QWidget *m_control;
    QAbstractItemModel *m_model;
    Kind m_kind;
    THost &m_host;

    platform::TColor m_color = platform::clWindow;
    platform::TColor m_selColor = platform::clHighlight;
    platform::TFont m_selFont;
    TGlyph m_glyph;
    TWallpaperGroup m_wallpaper;
    TWallpaperSource m_selWallpaper;
    TCoolOptions m_options;
    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvNone;
    TBevelStyleEx m_bevelStyle = bsBevelBoth;
    QPointer<platform::TImageList> m_images;
    QMetaObject::Connection m_imagesChanged;
    TShadowStyle m_shadow;
    TEdgeBorders m_edgeBorders;
    platform::TPen m_borderPen;
    platform::TColor m_bordersTrColor = platform::clNone;
    bool m_flatCheckBox = false;
    bool m_fontAutoUpdate = false;
    int m_itemHeight = 16;
    int m_tabWidth = 0;

    TCheckRecords m_checks;
    std::deque<uint8_t> m_savedStates;
    platform::TFont m_fontValue;
    TCoolControlStyle m_style = ctCoolControl;
    bool m_extendedCheck = false;
    bool m_trueType = false;
    bool m_lightColorControl = true;
    QString m_folderName;
    QString m_fileMask = QStringLiteral("*.*");
    TFileType m_fileType{ftDirectory, ftArchive};
    platform::TColor m_selectedColor;
    bool m_filling = false;
    bool m_sorted = false;
    bool m_sorting = false;
    // SelFont is being made a copy of the parent's font.
    bool m_followingParentFont = false;

    // The horizontal extent, measured on demand: after a removal the text
    // that sets it anew (none: no items), then the texts added since, each
    // with the extent limit of its time.
    mutable int m_maxItemWidth = 0;
    mutable std::optional<std::optional<QString>> m_remeasure;
    mutable std::vector<std::pair<QString, int>> m_unmeasured;
};

} // namespace coolctrls
