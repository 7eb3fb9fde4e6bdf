#pragma once

#include "platform/TControl.h"

#include <QFlags>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>

// The enumerations and sets of the skinned controls, the painting routines
// and the glyph holder, each declared once here and registered with Qt's
// meta-object system (property editors and QVariant see the names). A set
// is a QFlags of its enumeration, whose values are bits.

namespace coolctrls {
Q_NAMESPACE

// What each value does is up to the control that honours it. The values are
// bits (value n is bit n), as the option sets are stored and streamed.
enum TCoolOption : uint32_t {
    ocPaintWallpaper = 1u << 0,
    ocStretchWallpaper = 1u << 1,
    ocPaintSelWallpaper = 1u << 2,
    ocPaintCaptionWallpaper = 1u << 3,
    ocInvertWallpaperAsSelect = 1u << 4,
    ocPaintGradiently = 1u << 5,
    ocBevelOnlyIfSel = 1u << 6,
    ocUseImageList = 1u << 7,
    ocUseGlyphAssign = 1u << 8,
    oc3dMDIForm = 1u << 9,
    ocWallpaperForMDIChildren = 1u << 10,
    ocGradientForMDIChildren = 1u << 11,
    ocNoCaption = 1u << 12,
    ocSmallCaption = 1u << 13,
    ocNoMDIChildrensCaptions = 1u << 14,
    ocDragUsingClientArea = 1u << 15,
    ocNoDragUsingCaption = 1u << 16,
    ocRoundedForm = 1u << 17,
    ocFlatBorder = 1u << 18,
    ocPaintFormSemiTransparently = 1u << 19,
    ocPaintTransparently = 1u << 20,
};
Q_DECLARE_FLAGS(TCoolOptions, TCoolOption)
Q_FLAG_NS(TCoolOptions)
constexpr int CoolOptionCount = 21;
// The option of bit n (0 <= n < CoolOptionCount).
constexpr TCoolOption CoolOptionAt(int n) { return TCoolOption(1u << n); }

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
Q_ENUM_NS(TShadowPosition)

// Sides of a control with a border line.
enum TEdgeBorder : uint8_t { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };
Q_DECLARE_FLAGS(TEdgeBorders, TEdgeBorder)
Q_FLAG_NS(TEdgeBorders)

// Horizontal alignment of a caption.
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)
// Vertical placement of a label's text.
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
Q_ENUM_NS(TTextLayout)
// A windowed control's frame: none or the sunken single frame.
enum TBorderStyle : uint8_t { bsNone, bsSingle };
Q_ENUM_NS(TBorderStyle)
// The memo's scroll bars.
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
Q_ENUM_NS(TScrollStyle)

enum TGradientDirection : uint8_t { gdHorizontal, gdVertical };
Q_ENUM_NS(TGradientDirection)
enum TScrollDirection : uint8_t { sdBottomToTop, sdTopToBottom, sdLeftToRight, sdRightToLeft };
Q_ENUM_NS(TScrollDirection)
enum TCoolControlStyle : uint8_t {
    ctCoolControl,
    ctColorControl,
    ctFontControl,
    ctPrinterControl,
    ctCheckControl,
    ctFolderControl,
};
Q_ENUM_NS(TCoolControlStyle)
enum TBevelStyleEx : uint8_t { bsBevelBoth, bsBevelOnlyImage, bsBevelOnlyText };
Q_ENUM_NS(TBevelStyleEx)
// Edge kind of a bevel line.
enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TBevelCut)
// Where the glyph sits relative to the caption (TGlyph::CalcLayout).
enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
Q_ENUM_NS(TButtonLayout)

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
enum TOwnerDrawStateValue : uint32_t {
    odSelected = 1u << 0,
    odGrayed = 1u << 1,
    odDisabled = 1u << 2,
    odChecked = 1u << 3,
    odFocused = 1u << 4,
    odDefault = 1u << 5,
    odHotLight = 1u << 6,
    odInactive = 1u << 7,
    odNoAccel = 1u << 8,
    odNoFocusRect = 1u << 9,
    odReserved1 = 1u << 10,
    odReserved2 = 1u << 11,
    odComboBoxEdit = 1u << 12,
};
Q_DECLARE_FLAGS(TOwnerDrawState, TOwnerDrawStateValue)
Q_FLAG_NS(TOwnerDrawState)

// Where a drop-down list wider than its combo box is placed under it.
enum TPopupAlignment : uint8_t { paLeft, paRight, paCenter };
Q_ENUM_NS(TPopupAlignment)

// Reading order of a control's texts: the base control's (every right-to-
// left mode right-aligns and mirrors the items' glyph and caption).
using platform::TBiDiMode;
using platform::bdLeftToRight;
using platform::bdRightToLeft;
using platform::bdRightToLeftNoAlign;
using platform::bdRightToLeftReadingOnly;

// Entry kinds of a folder listing, each standing for attribute bits.
enum TFileTypeValue : uint32_t {
    ftReadOnly = 1u << 0,
    ftHidden = 1u << 1,
    ftSystem = 1u << 2,
    ftVolumeID = 1u << 3,
    ftDirectory = 1u << 4,
    ftArchive = 1u << 5,
    ftNormal = 1u << 6,
};
Q_DECLARE_FLAGS(TFileType, TFileTypeValue)
Q_FLAG_NS(TFileType)

// The button's painting extras.
enum TBtnPaintOption : uint32_t { bpoDrawFocus = 1u << 0, bpoDrawDefault = 1u << 1 };
Q_DECLARE_FLAGS(TBtnPaintOptions, TBtnPaintOption)
Q_FLAG_NS(TBtnPaintOptions)

// What a button's click sets as the result of the window (dialog) that
// holds it; any value but mrNone closes a modal dialog.
enum TModalResult : int {
    mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo, mrAll, mrNoToAll, mrYesToAll
};
Q_ENUM_NS(TModalResult)

} // namespace coolctrls

Q_DECLARE_OPERATORS_FOR_FLAGS(coolctrls::TCoolOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(coolctrls::TEdgeBorders)
Q_DECLARE_OPERATORS_FOR_FLAGS(coolctrls::TOwnerDrawState)
Q_DECLARE_OPERATORS_FOR_FLAGS(coolctrls::TFileType)
Q_DECLARE_OPERATORS_FOR_FLAGS(coolctrls::TBtnPaintOptions)
