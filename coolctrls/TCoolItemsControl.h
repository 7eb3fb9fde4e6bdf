#pragma once

#include "TCoolItems.h"

#include <QAbstractItemModel>
#include <QWidget>

namespace coolctrls {

// The published properties the list box and the combo box share, written
// once: a control derives from it (after its Qt base), which gives it its
// TCoolItems over the control's own model, declares the Q_PROPERTY lines
// with TONVIK_COOL_ITEMS_PROPERTIES and implements the four THost calls.
// Every accessor forwards to the TCoolItems; the control repaints on its
// signals (connectItems()).
class TCoolItemsControl : public TCoolItems::THost
{
public:
    TCoolItems &items() { return m_items; }
    const TCoolItems &items() const { return m_items; }

    platform::TColor Color() const { return m_items.Color(); }
    void setColor(platform::TColor v) { m_items.setColor(v); }
    platform::TColor SelColor() const { return m_items.SelColor(); }
    void setSelColor(platform::TColor v) { m_items.setSelColor(v); }
    platform::TFont &SelFont() { return m_items.SelFont(); }
    QString SelFontName() const { return m_items.SelFont().Name(); }
    void setSelFontName(const QString &v) { m_items.SelFont().setName(v); }
    int SelFontHeight() const { return m_items.SelFont().Height(); }
    void setSelFontHeight(int v) { m_items.SelFont().setHeight(v); }
    platform::TColor SelFontColor() const { return m_items.SelFont().Color(); }
    void setSelFontColor(platform::TColor v) { m_items.SelFont().setColor(v); }
    int ItemHeight() const { return m_items.ItemHeight(); }
    void setItemHeight(int v) { m_items.setItemHeight(v); }
    bool ParentFont() const { return m_items.ParentFont(); }
    void setParentFont(bool v) { m_items.setParentFont(v); }
    bool Sorted() const { return m_items.Sorted(); }
    void setSorted(bool v) { m_items.setSorted(v); }

    platform::TBitmap &Glyph() { return m_items.Glyph().Glyph(); }
    void setGlyph(const platform::TBitmap *v) { m_items.Glyph().setGlyph(v); }
    // Taken as a byte, 0 ignored, above 2 stored as 2.
    int NumGlyphs() const { return m_items.Glyph().NumGlyphs(); }
    void setNumGlyphs(int v) { m_items.setNumGlyphs(v); }

    // Wallpapers (created on first use) and the store they come from.
    platform::TBitmap *Wallpaper() { return m_items.Wallpaper().Wallpaper(); }
    void setWallpaper(const platform::TBitmap *v) { m_items.Wallpaper().setWallpaper(v); }
    platform::TBitmap *SelWallpaper() { return m_items.SelWallpaper().Bitmap(); }
    void setSelWallpaper(const platform::TBitmap *v) { m_items.SelWallpaper().setBitmap(v); }
    TCoolImages *CoolImages() const { return m_items.Wallpaper().CoolImages(); }
    void setCoolImages(TCoolImages *v) { m_items.setCoolImages(v); }
    int idWallpaper() const { return m_items.Wallpaper().idWallpaper(); }
    void setIdWallpaper(int v) { m_items.setIdWallpaper(v); }
    int idSelWallpaper() const { return m_items.SelWallpaper().Index(); }
    void setIdSelWallpaper(int v) { m_items.setIdSelWallpaper(v); }
    int TransparencyLevel() const { return m_items.Wallpaper().TransparencyLevel(); }
    // 0..255 (clamped).
    void setTransparencyLevel(int v) { m_items.setTransparencyLevel(v); }
    platform::TImageList *Images() const { return m_items.Images(); }
    void setImages(platform::TImageList *v) { m_items.setImages(v); }

    TCoolOptions Options() const { return m_items.Options(); }
    // ocPaintWallpaper and ocPaintTransparently exclude each other, the one
    // just added wins.
    void setOptions(TCoolOptions v) { m_items.setOptions(v); }
    uint OptionBits() const { return m_items.Options().toInt(); }
    void setOptionBits(uint v) { setOptions(TCoolOptions::fromInt(v)); }
    TBevelCut BevelInner() const { return m_items.BevelInner(); }
    void setBevelInner(TBevelCut v) { m_items.setBevelInner(v); }
    TBevelCut BevelOuter() const { return m_items.BevelOuter(); }
    void setBevelOuter(TBevelCut v) { m_items.setBevelOuter(v); }
    TBevelStyleEx BevelStyle() const { return m_items.BevelStyle(); }
    void setBevelStyle(TBevelStyleEx v) { m_items.setBevelStyle(v); }

    TCoolControlStyle ExtendedStyle() const { return m_items.ExtendedStyle(); }
    void setExtendedStyle(TCoolControlStyle v) { m_items.setExtendedStyle(v); }
    bool ExtendedCheck() const { return m_items.ExtendedCheck(); }
    void setExtendedCheck(bool v) { m_items.setExtendedCheck(v); }
    bool FlatCheckBox() const { return m_items.FlatCheckBox(); }
    void setFlatCheckBox(bool v) { m_items.setFlatCheckBox(v); }
    bool FontAutoUpdate() const { return m_items.FontAutoUpdate(); }
    void setFontAutoUpdate(bool v) { m_items.setFontAutoUpdate(v); }
    bool TrueType() const { return m_items.TrueType(); }
    void setTrueType(bool v) { m_items.setTrueType(v); }
    bool LightColorControl() const { return m_items.LightColorControl(); }
    void setLightColorControl(bool v) { m_items.setLightColorControl(v); }
    QString FolderName() const { return m_items.FolderName(); }
    void setFolderName(const QString &v) { m_items.setFolderName(v); }
    QString FileMask() const { return m_items.FileMask(); }
    void setFileMask(const QString &v) { m_items.setFileMask(v); }
    TFileType FileType() const { return m_items.FileType(); }
    void setFileType(TFileType v) { m_items.setFileType(v); }

    platform::TColor ShadowColor() const { return m_items.Shadow().Color; }
    void setShadowColor(platform::TColor v) { m_items.setShadowColor(v); }
    int ShadowSize() const { return m_items.Shadow().Size; }
    void setShadowSize(int v) { m_items.setShadowSize(v); }
    TShadowPosition ShadowPos() const { return m_items.Shadow().Pos; }
    void setShadowPos(TShadowPosition v) { m_items.setShadowPos(v); }
    bool SimpleView() const { return m_items.Shadow().SimpleView; }
    void setSimpleView(bool v) { m_items.setSimpleView(v); }

    TEdgeBorders EdgeBorders() const { return m_items.EdgeBorders(); }
    void setEdgeBorders(TEdgeBorders v) { m_items.setEdgeBorders(v); }
    platform::TPen &BorderPen() { return m_items.BorderPen(); }
    platform::TColor BordersTrColor() const { return m_items.BordersTrColor(); }
    void setBordersTrColor(platform::TColor v) { m_items.setBordersTrColor(v); }

    platform::TColor SelectedColor() const { return m_items.SelectedColor(); }
    void SelectColor(platform::TColor v) { m_items.SelectColor(v); }
    platform::TFont &FontValue() { return m_items.FontValue(); }
    int MaxItemWidth() const { return m_items.MaxItemWidth(); }
    // The horizontal scroll range the widest item asks for.
    int HorizontalExtent() const { return m_items.HorizontalExtent(); }
    bool Checked(int index) const { return m_items.Checked(index); }
    int CheckState(int index) const { return m_items.CheckState(index); }
    int32_t ItemData(int index) const { return m_items.ItemData(index); }
    void setItemData(int index, int32_t v) { m_items.setItemData(index, v); }
    std::function<void(int index, int &glAssign)> &OnGlyphDraw() { return m_items.OnGlyphDraw; }

protected:
    TCoolItemsControl(QWidget *control, QAbstractItemModel *model, TCoolItems::Kind kind)
        : m_items(control, model, kind, *this)
    {
    }
    ~TCoolItemsControl() = default;

    TCoolItems m_items;
};

} // namespace coolctrls

// The Q_PROPERTY lines of the shared properties, for the class body of a
// control that derives from TCoolItemsControl (moc expands the macro). The
// control itself supplies Items, ItemIndex and BorderStyle.
#define TONVIK_COOL_ITEMS_PROPERTIES \
    Q_PROPERTY(QStringList Items READ Items WRITE setItems) \
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE setItemIndex) \
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE setItemHeight) \
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE setParentFont) \
    Q_PROPERTY(bool Sorted READ Sorted WRITE setSorted) \
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle) \
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor) \
    Q_PROPERTY(platform::TColor SelColor READ SelColor WRITE setSelColor) \
    Q_PROPERTY(QString SelFontName READ SelFontName WRITE setSelFontName) \
    Q_PROPERTY(int SelFontHeight READ SelFontHeight WRITE setSelFontHeight) \
    Q_PROPERTY(platform::TColor SelFontColor READ SelFontColor WRITE setSelFontColor) \
    Q_PROPERTY(coolctrls::TCoolOptions Options READ Options WRITE setOptions) \
    Q_PROPERTY(coolctrls::TBevelCut BevelInner READ BevelInner WRITE setBevelInner) \
    Q_PROPERTY(coolctrls::TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter) \
    Q_PROPERTY(coolctrls::TBevelStyleEx BevelStyle READ BevelStyle WRITE setBevelStyle) \
    Q_PROPERTY(coolctrls::TCoolControlStyle ExtendedStyle READ ExtendedStyle WRITE setExtendedStyle) \
    Q_PROPERTY(bool ExtendedCheck READ ExtendedCheck WRITE setExtendedCheck) \
    Q_PROPERTY(bool FlatCheckBox READ FlatCheckBox WRITE setFlatCheckBox) \
    Q_PROPERTY(bool FontAutoUpdate READ FontAutoUpdate WRITE setFontAutoUpdate) \
    Q_PROPERTY(bool TrueType READ TrueType WRITE setTrueType) \
    Q_PROPERTY(bool LightColorControl READ LightColorControl WRITE setLightColorControl) \
    Q_PROPERTY(QString FolderName READ FolderName WRITE setFolderName) \
    Q_PROPERTY(QString FileMask READ FileMask WRITE setFileMask) \
    Q_PROPERTY(coolctrls::TFileType FileType READ FileType WRITE setFileType) \
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE setNumGlyphs) \
    Q_PROPERTY(coolctrls::TCoolImages *CoolImages READ CoolImages WRITE setCoolImages) \
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper) \
    Q_PROPERTY(int idSelWallpaper READ idSelWallpaper WRITE setIdSelWallpaper) \
    Q_PROPERTY(int TransparencyLevel READ TransparencyLevel WRITE setTransparencyLevel) \
    Q_PROPERTY(platform::TColor ShadowColor READ ShadowColor WRITE setShadowColor) \
    Q_PROPERTY(int ShadowSize READ ShadowSize WRITE setShadowSize) \
    Q_PROPERTY(coolctrls::TShadowPosition ShadowPos READ ShadowPos WRITE setShadowPos) \
    Q_PROPERTY(bool SimpleView READ SimpleView WRITE setSimpleView) \
    Q_PROPERTY(coolctrls::TEdgeBorders EdgeBorders READ EdgeBorders WRITE setEdgeBorders) \
    Q_PROPERTY(platform::TColor BordersTrColor READ BordersTrColor WRITE setBordersTrColor) \
    Q_PROPERTY(platform::TColor SelectedColor READ SelectedColor) \
    Q_PROPERTY(int MaxItemWidth READ MaxItemWidth)
