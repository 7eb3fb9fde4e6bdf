#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <optional>

// Enumerations and sets shared by the skinned controls, the painting
// routines and the glyph holder.

namespace coolctrls {

// A set of enumeration values held as bits (bit n for value n), as the
// controls' option and border sets are stored and streamed.
template<typename E>
class TEnumSet
{
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> values)
    {
        for (E v : values)
            m_bits |= bit(v);
    }
    static constexpr TEnumSet fromBits(uint32_t bits)
    {
        TEnumSet s;
        s.m_bits = bits;
        return s;
    }

    constexpr uint32_t bits() const { return m_bits; }
    constexpr bool contains(E v) const { return (m_bits & bit(v)) != 0; }
    constexpr bool isEmpty() const { return m_bits == 0; }
    constexpr TEnumSet &include(E v)
    {
        m_bits |= bit(v);
        return *this;
    }
    constexpr TEnumSet &exclude(E v)
    {
        m_bits &= ~bit(v);
        return *this;
    }
    constexpr TEnumSet operator+(TEnumSet o) const { return fromBits(m_bits | o.m_bits); }
    constexpr TEnumSet operator-(TEnumSet o) const { return fromBits(m_bits & ~o.m_bits); }
    constexpr TEnumSet operator*(TEnumSet o) const { return fromBits(m_bits & o.m_bits); }
    constexpr bool operator==(const TEnumSet &) const = default;

private:
    static constexpr uint32_t bit(E v) { return uint32_t(1) << unsigned(v); }
    uint32_t m_bits = 0;
};

// What each value does is up to the control that honours it.
enum TCoolOption : uint8_t {
    ocPaintWallpaper,
    ocStretchWallpaper,
    ocPaintSelWallpaper,
    ocPaintCaptionWallpaper,
    ocInvertWallpaperAsSelect,
    ocPaintGradiently,
    ocBevelOnlyIfSel,
    ocUseImageList,
    ocUseGlyphAssign,
    oc3dMDIForm,
    ocWallpaperForMDIChildren,
    ocGradientForMDIChildren,
    ocNoCaption,
    ocSmallCaption,
    ocNoMDIChildrensCaptions,
    ocDragUsingClientArea,
    ocNoDragUsingCaption,
    ocRoundedForm,
    ocFlatBorder,
    ocPaintFormSemiTransparently,
    ocPaintTransparently,
};
constexpr int CoolOptionCount = 21;
using TCoolOptions = TEnumSet<TCoolOption>;

// The options setter rule of the memo, list box, combo box and button:
// ocPaintWallpaper and ocPaintTransparently exclude each other and the one
// just added wins. Both may stay when neither was set before.
TCoolOptions ExcludeConflictingOptions(TCoolOptions current, TCoolOptions requested);

// Options as written in a window description: "[ocPaintWallpaper,ocNoCaption]".
QString CoolOptionName(TCoolOption option);
QString CoolOptionsToString(TCoolOptions options);
// Throws platform::EConvertError on an unknown name or a missing bracket.
TCoolOptions StringToCoolOptions(const QString &text);

enum TShadowPosition : uint8_t { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

enum TEdgeBorder : uint8_t { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = TEnumSet<TEdgeBorder>;

enum TGradientDirection : uint8_t { gdHorizontal, gdVertical };
enum TScrollDirection : uint8_t { sdBottomToTop, sdTopToBottom, sdLeftToRight, sdRightToLeft };
enum TCoolControlStyle : uint8_t {
    ctCoolControl,
    ctColorControl,
    ctFontControl,
    ctPrinterControl,
    ctCheckControl,
    ctFolderControl,
};
enum TBevelStyleEx : uint8_t { bsBevelBoth, bsBevelOnlyImage, bsBevelOnlyText };
// Edge kind of a bevel line.
enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
// Where the glyph sits relative to the caption (TGlyph::CalcLayout).
enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// File attribute bits of the folder enumeration (GetFolderList).
enum : uint32_t {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faAnyFile = 0x3F,
};

// Draw state of an owner-drawn list item, derived from the view's state.
enum TOwnerDrawStateValue : uint8_t {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odReserved1,
    odReserved2,
    odComboBoxEdit,
};
using TOwnerDrawState = TEnumSet<TOwnerDrawStateValue>;

// Where a drop-down list wider than its combo box is placed under it.
enum TPopupAlignment : uint8_t { paLeft, paRight, paCenter };

// Entry kinds of a folder listing, each standing for attribute bits.
enum TFileTypeValue : uint8_t { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
using TFileType = TEnumSet<TFileTypeValue>;

} // namespace coolctrls
