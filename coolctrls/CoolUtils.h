#pragma once

// CoolUtils: the routines shared by the skinned controls - option rules,
// colour names, string, rectangle and folder helpers, and (in the second
// half) the painting routines: wallpaper, ancestor background, shadowed
// text, borders and gradients. All of them are stateless and, except the
// string and folder helpers, belong to the GUI thread. The painting routines
// draw on a platform::TCanvas (wrap a QPainter with TCanvas(&painter)).
//
// Related pieces in their own files: TWallpaperGroup (a control's wallpaper
// properties, resolution and background painting), TCoolImages / TImages /
// TImageItem / TCoolChangeLink (the image store), TPicture and TJPEGImage
// (pictures and their stored form), TGlyph / TGlyphList / TGlyphCache (the
// glyph holder).

#include "CoolTypes.h"
#include "TShadowStyle.h"
#include "platform/canvas/Colors.h"
#include "platform/canvas/GdiTypes.h"

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>

class QObject;
class QWidget;
class QImage;
class QStyle;

namespace platform {
class TBitmap;
class TCanvas;
class TPen;
} // namespace platform

namespace coolctrls {

// --- Colours --------------------------------------------------------------

// Colour names and their conversion both ways: one implementation, the
// platform canvas's, offered here under the names the controls use.
// ColorToString: a colour name, else "$" and 8 hexadecimal digits.
// StringToColor: a name (any case) or a number; EConvertError otherwise.
using platform::basicColorNames;
using platform::colorNames;
using platform::ColorToString;
using platform::StringToColor;

// 0x00FFFFFF minus the colour's RGB value (system colours resolved).
platform::TColor InvertColor(platform::TColor color);

// --- Strings and rectangles ---------------------------------------------

QString ReverseString(const QString &text);
// 1-based position of the reversed needle in the reversed text (so counted
// from the end of the text); 0 when absent or when the needle is empty.
int LastPos(const QString &needle, const QString &text);
// The path up to and including its last '/', after dropping one trailing
// '/'; the whole path when it has no '/'. "/data/sub/" -> "/data/".
QString ExtractParentFolder(const QString &path);
// Adds each delta to its side of r.
void AdjustRectSides(QRect &r, int dLeft, int dTop, int dRight, int dBottom);

// --- Folders --------------------------------------------------------------

// The attribute bits (fa*) this system gives a directory entry: faDirectory
// for a directory, faArchive for a regular file, faSysFile for anything else
// (devices, sockets, pipes), faHidden for a name starting with '.', and
// faReadOnly when the entry cannot be written by this process.
uint32_t FileAttributes(const QString &path);

// Entry names of `folder` matching the wildcard `mask` (case-insensitive;
// "*.*" matches every name) whose attribute bits all lie within
// `attributes`: directories first, then files, each block in ascending
// case-insensitive order. "." and ".." are never listed. A folder that
// cannot be read gives an empty list.
QStringList GetFolderList(const QString &folder, const QString &mask, uint32_t attributes);

// --- Resources --------------------------------------------------------------

// The bytes of a resource of this library ("BITMAP_TT", "BITMAP_NTT",
// "BITMAP_PRN"); empty when there is none of that name.
QByteArray ResourceData(const QString &name);
// Loads a resource bitmap; throws platform::Exception for an unknown name.
void LoadResourceBitmap(const QString &name, platform::TBitmap &bitmap);

// --- Controls ---------------------------------------------------------------

// The control `levels` parents up; level 0 is the control itself. Stops at a
// control without parent. nullptr for nullptr.
QWidget *GetParentAtLevel(QWidget *control, int levels);
// Whether the control's class name contains "Cool" (case-sensitive).
bool IsCoolControl(const QObject *control);
// The classic platform's look of standard parts (sunken field frames, drop
// buttons, scroll bars): Qt's built-in "Windows" style, one for the process,
// owned by the application. nullptr when Qt lacks it.
QStyle *ClassicStyle();
// Whether a font of that name is drawn from outlines (the TrueType bit of its
// text metrics).
bool IsTrueTypeFont(const QString &fontName);

// A container that can paint its own background alone (what a classic
// erase-background request paints: wallpaper or colour, not bevels or
// caption). PaintParentBackground uses it when the ancestor implements it;
// otherwise it renders the ancestor's whole paint without children.
// The canvas is in the container's client coordinates.
class IEraseBackground
{
public:
    virtual void EraseBackground(platform::TCanvas &canvas) = 0;

protected:
    ~IEraseBackground() = default;
};

// Dynamic property that marks a non-windowed (graphic) control: a control
// its parent paints, such as a label. PaintParentBackground draws the
// parent's graphic children under a transparent control; QLabel and its
// subclasses count as graphic too.
inline constexpr const char *GraphicControlProperty = "graphicControl";
bool IsGraphicControl(const QWidget *control);

// Lays the premultiplied (ARGB32_Premultiplied) picture's rectangle source
// over the opaque (RGB32) frame with its top-left corner at `at`, as
// QPainter's source-over does, pixel for pixel (the same rounding of the
// product with 255 - alpha), without a painter: for a small strip redrawn
// many times a second, a painter's set-up costs more than the blend. The
// rectangles must lie inside the pictures.
void BlendPremultipliedOver(QImage &frame, QPoint at, const QImage &picture, const QRect &source);

// --- Wallpaper ----------------------------------------------------------------

// Draws bitmap over rect (logical coordinates of canvas) with the raster
// operation: stretched as one stretch copy, else tiled from rect's top-left
// with source origin (0, 0), the last row and column cut by rect.
void DrawWallpaper(platform::TCanvas &canvas, const QImage &bitmap, const QRect &rect,
                   platform::TRop rop, bool stretched);
void DrawWallpaper(platform::TCanvas &canvas, const platform::TBitmap &bitmap, const QRect &rect,
                   platform::TRop rop, bool stretched);
// The bitmap laid out over layoutRect, visible only inside clipRect (how
// one list item gets its part of a wallpaper laid over the whole list).
void DrawWallpaperClipped(platform::TCanvas &canvas, const platform::TBitmap &bitmap,
                          const QRect &layoutRect, platform::TRop rop, bool stretched,
                          const QRect &clipRect);

// --- Ancestor background -------------------------------------------------------

// Paints into canvas, at its logical (0, 0), what lies under `control` in its
// parent: the parent's background (IEraseBackground, or its own paint) and
// the parent's graphic children other than `control`, offset by control's
// position in the parent. Without a parent, or with useParent false, the
// control's own background and graphic children are painted at (0, 0).
// Callers pass GetParentAtLevel(self, TransparencyLevel). The ancestor is
// rendered off-screen, so this may be called from any paint handler; a
// nested call for a control already being painted this way paints nothing
// for it (no recursion).
void PaintParentBackground(QWidget *control, platform::TCanvas &canvas, bool useParent);
// The same, limited to rect (logical coordinates).
void PaintParentBackgroundClipped(QWidget *control, platform::TCanvas &canvas, const QRect &rect,
                                  bool useParent);
// The same, limited to rect1 combined with rect2 by mode (callers pass
// RGN_DIFF: rect1 without rect2).
void PaintParentBackgroundRegion(QWidget *control, platform::TCanvas &canvas, const QRect &rect1,
                                 bool useParent, platform::TRegionCombine mode, const QRect &rect2);

// --- Text and borders -----------------------------------------------------------

// Draws text into rect with DrawText format: first the shadow copy in
// shadowColor, then (background mode transparent) the text in textColor,
// the two displaced by shadowSize as pos says. rect is the text's rectangle
// and is changed in place (moved for spLeftTop, spLeftBottom, spRightTop;
// with DT_CALCRECT also measured), so a measured text includes the offset.
void DrawShadowText(platform::TCanvas &canvas, QRect &rect, TShadowPosition pos, int shadowSize,
                    platform::TColor shadowColor, platform::TColor textColor, unsigned format,
                    const QString &text);

// How a disabled caption looks: engraved (DrawShadowText to the right and
// down by 1, button highlight under button shadow), or the system's
// disabled-state text drawn over a copy in the text colour (the group box).
enum class TDisabledCaption { Engraved, SystemDisabled };

// The caption of every skinned control, in one place: text into rect with
// the DrawText format, plain in textColor with shadow.SimpleView, else with
// its shadow (DrawShadowText), and when disabled in the disabled look. rect
// changes as DrawShadowText changes it (with DT_CALCRECT it is measured, the
// shadow offset included). The SystemDisabled look draws its second copy
// at rect's top-left within disabledExtent.
void DrawCaption(platform::TCanvas &canvas, QRect &rect, unsigned format, const QString &text,
                 const TShadowStyle &shadow, platform::TColor textColor, bool enabled,
                 TDisabledCaption disabledLook = TDisabledCaption::Engraved, const QRect &disabledExtent = {});

// The DrawText flag of a horizontal alignment (DT_LEFT, DT_RIGHT, DT_CENTER).
unsigned AlignmentFormat(TAlignment alignment);

// The reading-direction flags of a caption's format: for right-to-left
// reading DT_RTLREADING, and with mirrorAlignment a left or right
// alignment turned into the other one (a centred caption stays).
unsigned BiDiFormat(unsigned format, bool rightToLeft, bool mirrorAlignment);

// Where a glyph glyphWidth pixels wide goes before a caption textWidth
// pixels wide that is drawn into r with the alignment: its top-left corner,
// at r's top. r moves right to make room: by the glyph and 2 pixels when
// left-justified, by half that when centred; a right-justified text stays
// and the glyph goes before it.
QPoint PlaceGlyphBeforeText(QRect &r, TAlignment alignment, int glyphWidth, int textWidth);

// Border lines over the control's whole area (canvas in the control's
// coordinates): with a BordersTrColor other than clNone first a 2-pixel
// frame on all four sides, then a line in `pen` for each chosen edge, in the
// order top, left, right, bottom. Nothing at all when edges is empty.
// Qt paints only inside paint events, so a null canvas schedules a repaint
// of the control instead (its paint handler draws the borders).
void DrawEdgeBorders(platform::TCanvas *canvas, QWidget *control, TEdgeBorders edges,
                     platform::TColor bordersTrColor, const platform::TPen &pen);
// The label's variant: only the chosen lines in `pen` over its client area.
void DrawLabelEdgeBorders(platform::TCanvas &canvas, QWidget *label, TEdgeBorders edges,
                          const platform::TPen &pen);
// The flat frame over the control's whole area: two frames in clBtnFace,
// then (highlighted) a sunken 1-pixel edge, then a clWindow frame inside;
// list boxes and memos keep their scroll bars' corner strips. A null canvas
// schedules a repaint as above.
void DrawFlatBorder(platform::TCanvas *canvas, QWidget *control, bool highlighted);

// Banded fill from c1 to c2 across rect in n + 1 bands (nothing for n < 0);
// the last band lies beyond rect's far edge, in c2.
void FillGradient(platform::TCanvas &canvas, const QRect &rect, platform::TColor c1, bool horizontal,
                  int n, platform::TColor c2);

// Round-to-nearest a * b / c (halves away from zero); -1 when c is 0.
int MulDiv(int a, int b, int c);

} // namespace coolctrls
