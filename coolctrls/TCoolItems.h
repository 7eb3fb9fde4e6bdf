#pragma once

#include "CoolTypes.h"
#include "TCheckRecords.h"
#include "TGlyph.h"
#include "TWallpaperGroup.h"
#include "platform/canvas/Colors.h"
#include "platform/canvas/TFont.h"
#include "platform/canvas/TImageList.h"
#include "platform/canvas/TPen.h"

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

class QAbstractItemModel;
class QObject;
class QWidget;



namespace platform {
class TCanvas;
}

namespace coolctrls {

// What the list box and the combo box have in common: the settings of the
// item painter (selection colour, font and wallpaper, glyph, bevels, caption
// shadow, image list and store), the extended styles that fill the items
// (colours, screen fonts, printers, check items, folder entries), the check
// records of check mode, the font value and the horizontal extent that
// follows the widest item. Each control keeps one as a member over its own
// item model, publishes the properties and does its own repainting.
class TCoolItems
{
public:
    enum class Kind { ListBox, ComboBox };

    TCoolItems(QWidget *control, QAbstractItemModel *model, Kind kind);
    ~TCoolItems();
    TCoolItems(const TCoolItems &) = delete;
    TCoolItems &operator=(const TCoolItems &) = delete;

    QWidget *control() const { return m_control; }
    QAbstractItemModel *model() const { return m_model; }
    Kind kind() const { return m_kind; }
    bool isComboBox() const { return m_kind == Kind::ComboBox; }

    // --- painter settings ---------------------------------------------------
    platform::TColor Color = platform::clWindow;
    platform::TColor SelColor = platform::clHighlight;
    platform::TFont SelFont;      // colour clHighlightText at creation
    TGlyph Glyph;
    TWallpaperGroup Wallpaper;    // store, idWallpaper, own Wallpaper, TransparencyLevel
    TWallpaperSource SelWallpaper;
    TCoolOptions Options;
    TBevelCut BevelInner = bvNone;
    TBevelCut BevelOuter = bvNone;
    TBevelStyleEx BevelStyle = bsBevelBoth;
    QPointer<platform::TImageList> Images;
    platform::TColor ShadowColor = platform::clBtnHighlight;
    int ShadowSize = 1;
    TShadowPosition ShadowPos = spLeftTop;
    bool SimpleView = false;
    TEdgeBorders EdgeBorders;
    platform::TPen BorderPen;
    platform::TColor BordersTrColor = platform::clNone;
    bool FlatCheckBox = false;
    bool FontAutoUpdate = false;
    int ItemHeight = 16;

    // Chooses a store image per item (ocUseGlyphAssign): index in, store
    // image index out (-1 keeps the control's Glyph).
    std::function<void(int index, int &glAssign)> OnGlyphDraw;

    // TGlyph::setNumGlyphsLimited; answers whether it changed.
    int NumGlyphs() const { return Glyph.NumGlyphs(); }
    bool setNumGlyphs(int value);

    // The resolved wallpapers (nullptr when none).
    const platform::TBitmap *ResolveWallpaper() const { return Wallpaper.ResolveWallpaper(); }
    const platform::TBitmap *ResolveSelWallpaper() const { return Wallpaper.Resolve(SelWallpaper); }
    // Whether a paint must cover the whole list (the wallpaper or the
    // see-through background stays fixed while the list scrolls).
    bool FixedBackground() const;

    // --- extended styles ---------------------------------------------------
    TCoolControlStyle ExtendedStyle() const { return m_style; }
    // Refills when changed (check items only force ExtendedCheck off).
    bool setExtendedStyle(TCoolControlStyle value);
    bool ExtendedCheck() const { return m_extendedCheck; }
    // Forced off with ctCheckControl; answers whether it changed.
    bool setExtendedCheck(bool value);
    bool TrueType() const { return m_trueType; }
    // Clears the items, then refills in font mode.
    void setTrueType(bool value);
    bool LightColorControl() const { return m_lightColorControl; }
    bool setLightColorControl(bool value);
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
    // The mouse entered / left the control: with ocFlatBorder (and no
    // skinned control holding the focus on entering) the flat border is
    // highlighted while the mouse is over it. Then OnMouseEnter / Leave.
    void MouseEntered(const std::function<void(QObject *)> &onMouseEnter);
    void MouseLeft(const std::function<void(QObject *)> &onMouseLeave);
    // Over the control's whole area: the flat border (highlighted while
    // focused or under the mouse), then the edge borders.
    void PaintBorders(platform::TCanvas &canvas) const;

    // --- horizontal extent --------------------------------------------------
    int MaxItemWidth() const { return m_maxItemWidth; }
    int HorizontalExtent() const { return m_horizontalExtent; }
    // Width an item needs: its text in SelFont or Font, whichever is wider,
    // plus the whole Glyph bitmap.
    int MeasureItem(const QString &text) const;
    // Width an added item must exceed (ListBoxWidth or Width).
    std::function<int()> ExtentLimit;
    // After the extent changed (the control updates its scroll range).
    std::function<void()> OnExtentChanged;

    // Current item of the control (list row or combo index).
    std::function<int()> CurrentIndex;
    std::function<void(int)> SetCurrentIndex;
    // Items of the control.
    int Count() const;
    QString ItemText(int index) const;
    void AddItem(const QString &text);
    // Appends an item with its text (the control's own add, so that the row
    // carries its text when its insertion is announced).
    std::function<void(const QString &)> InsertItem;
    void SetItems(const QStringList &items);

private:
    void rowsInserted(int first, int last);
    void rowsRemoved();
    void recomputeExtent();
    void fill();

    QWidget *m_control;
    QAbstractItemModel *m_model;
    Kind m_kind;
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
    int m_maxItemWidth = 0;
    int m_horizontalExtent = 0;
    bool m_filling = false;
    bool m_flatHot = false;
    QMetaObject::Connection m_inserted, m_removed, m_reset;
};

} // namespace coolctrls

// The published properties the list box and the combo box share: the
// Q_PROPERTY lines (TONVIK_COOL_ITEMS_PROPERTIES, which moc expands; the
// control itself supplies Items, ItemIndex, ItemHeight and BorderStyle) and
// the accessors forwarded to their TCoolItems member m_items
// (TONVIK_COOL_ITEMS_ACCESSORS); each class has a repaintItems() of its own.
#define TONVIK_COOL_ITEMS_ACCESSORS                                                                        \
public:                                                                                                    \
    coolctrls::TCoolItems &items() { return m_items; }                                                     \
    const coolctrls::TCoolItems &items() const { return m_items; }                                         \
    platform::TColor SelColor() const { return m_items.SelColor; }                                         \
    void setSelColor(platform::TColor v) { m_items.SelColor = v; }                                         \
    platform::TFont &SelFont() { return m_items.SelFont; }                                                 \
    QString SelFontName() const { return m_items.SelFont.Name(); }                                         \
    void setSelFontName(const QString &v) { m_items.SelFont.setName(v); }                                  \
    int SelFontHeight() const { return m_items.SelFont.Height(); }                                         \
    void setSelFontHeight(int v) { m_items.SelFont.setHeight(v); }                                         \
    platform::TColor SelFontColor() const { return m_items.SelFont.Color(); }                              \
    void setSelFontColor(platform::TColor v) { m_items.SelFont.setColor(v); }                              \
    platform::TBitmap &Glyph() { return m_items.Glyph.Glyph(); }                                           \
    void setGlyph(const platform::TBitmap *v) { m_items.Glyph.setGlyph(v); }                               \
    int NumGlyphs() const { return m_items.NumGlyphs(); }                                                  \
    void setNumGlyphs(int v) { if (m_items.setNumGlyphs(v)) repaintItems(); }                              \
    platform::TBitmap *Wallpaper() { return m_items.Wallpaper.Wallpaper(); }                               \
    void setWallpaper(const platform::TBitmap *v) { m_items.Wallpaper.setWallpaper(v); }                   \
    platform::TBitmap *SelWallpaper() { return m_items.SelWallpaper.Bitmap(); }                            \
    void setSelWallpaper(const platform::TBitmap *v) { m_items.SelWallpaper.setBitmap(v); }                \
    coolctrls::TCoolImages *CoolImages() const { return m_items.Wallpaper.CoolImages(); }                  \
    void setCoolImages(coolctrls::TCoolImages *v) { m_items.Wallpaper.setCoolImages(v); repaintItems(); }  \
    int idWallpaper() const { return m_items.Wallpaper.idWallpaper(); }                                    \
    void setIdWallpaper(int v) { if (m_items.Wallpaper.setIdWallpaper(v)) repaintItems(); }                \
    int idSelWallpaper() const { return m_items.SelWallpaper.Index(); }                                    \
    void setIdSelWallpaper(int v) { if (m_items.SelWallpaper.setIndex(v)) repaintItems(); }                \
    int TransparencyLevel() const { return m_items.Wallpaper.TransparencyLevel(); }                        \
    void setTransparencyLevel(int v)                                                                       \
    {                                                                                                      \
        if (m_items.Wallpaper.setTransparencyLevel(uint8_t(qBound(0, v, 255)))) repaintItems();            \
    }                                                                                                      \
    platform::TImageList *Images() const { return m_items.Images; }                                        \
    void setImages(platform::TImageList *v) { m_items.Images = v; repaintItems(); }                        \
    coolctrls::TCoolOptions Options() const { return m_items.Options; }                                    \
    uint OptionBits() const { return m_items.Options.toInt(); }                                             \
    void setOptionBits(uint v) { setOptions(coolctrls::TCoolOptions::fromInt(v)); }                       \
    int BevelInner() const { return m_items.BevelInner; }                                                  \
    void setBevelInner(int v) { setItemsValue(m_items.BevelInner, coolctrls::TBevelCut(v)); }              \
    int BevelOuter() const { return m_items.BevelOuter; }                                                  \
    void setBevelOuter(int v) { setItemsValue(m_items.BevelOuter, coolctrls::TBevelCut(v)); }              \
    int BevelStyle() const { return m_items.BevelStyle; }                                                  \
    void setBevelStyle(int v) { setItemsValue(m_items.BevelStyle, coolctrls::TBevelStyleEx(v)); }          \
    int ExtendedStyle() const { return m_items.ExtendedStyle(); }                                          \
    void setExtendedStyle(int v)                                                                           \
    {                                                                                                      \
        m_items.setExtendedStyle(coolctrls::TCoolControlStyle(v));                                         \
        repaintItems();                                                                                    \
    }                                                                                                      \
    bool ExtendedCheck() const { return m_items.ExtendedCheck(); }                                         \
    void setExtendedCheck(bool v) { if (m_items.setExtendedCheck(v)) repaintItems(); }                     \
    bool FlatCheckBox() const { return m_items.FlatCheckBox; }                                             \
    void setFlatCheckBox(bool v) { setItemsValue(m_items.FlatCheckBox, v); }                               \
    bool FontAutoUpdate() const { return m_items.FontAutoUpdate; }                                         \
    void setFontAutoUpdate(bool v) { setItemsValue(m_items.FontAutoUpdate, v); }                           \
    bool TrueType() const { return m_items.TrueType(); }                                                   \
    void setTrueType(bool v) { m_items.setTrueType(v); repaintItems(); }                                   \
    bool LightColorControl() const { return m_items.LightColorControl(); }                                 \
    void setLightColorControl(bool v) { if (m_items.setLightColorControl(v)) repaintItems(); }             \
    QString FolderName() const { return m_items.FolderName(); }                                            \
    void setFolderName(const QString &v) { m_items.setFolderName(v); }                                     \
    QString FileMask() const { return m_items.FileMask(); }                                                \
    void setFileMask(const QString &v) { m_items.setFileMask(v); }                                         \
    uint FileType() const { return m_items.FileType().toInt(); }                                            \
    void setFileType(uint v) { m_items.setFileType(coolctrls::TFileType::fromInt(v)); }                   \
    platform::TColor ShadowColor() const { return m_items.ShadowColor; }                                   \
    void setShadowColor(platform::TColor v) { m_items.ShadowColor = v; m_items.SimpleView = false; repaintItems(); } \
    int ShadowSize() const { return m_items.ShadowSize; }                                                  \
    void setShadowSize(int v)                                                                              \
    {                                                                                                      \
        m_items.ShadowSize = qBound(0, v, 255);                                                            \
        m_items.SimpleView = false;                                                                        \
        repaintItems();                                                                                    \
    }                                                                                                      \
    int ShadowPos() const { return m_items.ShadowPos; }                                                    \
    void setShadowPos(int v)                                                                               \
    {                                                                                                      \
        m_items.ShadowPos = coolctrls::TShadowPosition(qBound(0, v, 3));                                   \
        m_items.SimpleView = false;                                                                        \
        repaintItems();                                                                                    \
    }                                                                                                      \
    bool SimpleView() const { return m_items.SimpleView; }                                                 \
    void setSimpleView(bool v) { m_items.SimpleView = v; repaintItems(); }                                 \
    uint EdgeBordersBits() const { return m_items.EdgeBorders.toInt(); }                                    \
    coolctrls::TEdgeBorders EdgeBorders() const { return m_items.EdgeBorders; }                            \
    void setEdgeBorders(coolctrls::TEdgeBorders v) { setItemsValue(m_items.EdgeBorders, v); }              \
    void setEdgeBordersBits(uint v) { setEdgeBorders(coolctrls::TEdgeBorders::fromInt(v)); }              \
    platform::TPen &BorderPen() { return m_items.BorderPen; }                                              \
    platform::TColor BordersTrColor() const { return m_items.BordersTrColor; }                             \
    void setBordersTrColor(platform::TColor v) { setItemsValue(m_items.BordersTrColor, v); }               \
    platform::TColor Color() const { return m_items.Color; }                                               \
    void setColor(platform::TColor v) { setItemsValue(m_items.Color, v); }                                 \
    int ItemHeight() const { return m_items.ItemHeight; }                                                  \
    platform::TColor SelectedColor() const { return m_items.SelectedColor(); }                             \
    void SelectColor(platform::TColor v) { m_items.SelectColor(v); }                                       \
    platform::TFont &FontValue() { return m_items.FontValue(); }                                           \
    int MaxItemWidth() const { return m_items.MaxItemWidth(); }                                            \
    bool Checked(int index) const { return m_items.Checked(index); }                                       \
    int CheckState(int index) const { return m_items.CheckState(index); }                                  \
    int32_t ItemData(int index) const { return m_items.ItemData(index); }                                  \
    void setItemData(int index, int32_t v) { m_items.setItemData(index, v); }                              \
    std::function<void(int index, int &glAssign)> &OnGlyphDraw() { return m_items.OnGlyphDraw; }          \
                                                                                                           \
private:                                                                                                   \
    template<typename T, typename V>                                                                       \
    void setItemsValue(T &field, V value)                                                                  \
    {                                                                                                      \
        if (field == value)                                                                                \
            return;                                                                                        \
        field = value;                                                                                     \
        repaintItems();                                                                                    \
    }

#define TONVIK_COOL_ITEMS_PROPERTIES \
    Q_PROPERTY(QStringList Items READ Items WRITE setItems) \
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE setItemIndex) \
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE setItemHeight) \
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle) \
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor) \
    Q_PROPERTY(platform::TColor SelColor READ SelColor WRITE setSelColor) \
    Q_PROPERTY(QString SelFontName READ SelFontName WRITE setSelFontName) \
    Q_PROPERTY(int SelFontHeight READ SelFontHeight WRITE setSelFontHeight) \
    Q_PROPERTY(platform::TColor SelFontColor READ SelFontColor WRITE setSelFontColor) \
    Q_PROPERTY(uint Options READ OptionBits WRITE setOptionBits) \
    Q_PROPERTY(int BevelInner READ BevelInner WRITE setBevelInner) \
    Q_PROPERTY(int BevelOuter READ BevelOuter WRITE setBevelOuter) \
    Q_PROPERTY(int BevelStyle READ BevelStyle WRITE setBevelStyle) \
    Q_PROPERTY(int ExtendedStyle READ ExtendedStyle WRITE setExtendedStyle) \
    Q_PROPERTY(bool ExtendedCheck READ ExtendedCheck WRITE setExtendedCheck) \
    Q_PROPERTY(bool FlatCheckBox READ FlatCheckBox WRITE setFlatCheckBox) \
    Q_PROPERTY(bool FontAutoUpdate READ FontAutoUpdate WRITE setFontAutoUpdate) \
    Q_PROPERTY(bool TrueType READ TrueType WRITE setTrueType) \
    Q_PROPERTY(bool LightColorControl READ LightColorControl WRITE setLightColorControl) \
    Q_PROPERTY(QString FolderName READ FolderName WRITE setFolderName) \
    Q_PROPERTY(QString FileMask READ FileMask WRITE setFileMask) \
    Q_PROPERTY(uint FileType READ FileType WRITE setFileType) \
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE setNumGlyphs) \
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper) \
    Q_PROPERTY(int idSelWallpaper READ idSelWallpaper WRITE setIdSelWallpaper) \
    Q_PROPERTY(int TransparencyLevel READ TransparencyLevel WRITE setTransparencyLevel) \
    Q_PROPERTY(platform::TColor ShadowColor READ ShadowColor WRITE setShadowColor) \
    Q_PROPERTY(int ShadowSize READ ShadowSize WRITE setShadowSize) \
    Q_PROPERTY(int ShadowPos READ ShadowPos WRITE setShadowPos) \
    Q_PROPERTY(bool SimpleView READ SimpleView WRITE setSimpleView) \
    Q_PROPERTY(uint EdgeBorders READ EdgeBordersBits WRITE setEdgeBordersBits) \
    Q_PROPERTY(platform::TColor BordersTrColor READ BordersTrColor WRITE setBordersTrColor) \
    Q_PROPERTY(platform::TColor SelectedColor READ SelectedColor) \
    Q_PROPERTY(int MaxItemWidth READ MaxItemWidth)
