#pragma once

// Fonts by the classic description: face name, height in pixels (negative =
// character height, positive = cell height, 0 = default) and a style set.
// Faces the platform lacks ("MS Sans Serif", "Arial", "Courier New", "Times
// New Roman", "Tahoma" ...) are replaced by metric-compatible free fonts
// (Liberation Sans / Mono / Serif, DejaVu as fallback).

#include <QFlags>
#include <QFont>
#include <QString>
#include <QStringList>

namespace platform {

enum class TFontStyle : unsigned {
    fsBold = 0x1,
    fsItalic = 0x2,
    fsUnderline = 0x4,
    fsStrikeOut = 0x8,
};
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)
constexpr TFontStyle fsBold = TFontStyle::fsBold;
constexpr TFontStyle fsItalic = TFontStyle::fsItalic;
constexpr TFontStyle fsUnderline = TFontStyle::fsUnderline;
constexpr TFontStyle fsStrikeOut = TFontStyle::fsStrikeOut;

// The classic default font of forms and controls.
inline constexpr const char *DefaultFontName = "MS Sans Serif";
inline constexpr int DefaultFontHeight = -11;

// Registers the substitutions with QFont; idempotent. applyClassicLook()
// calls it; makeFont() calls it too, so fonts made here are always mapped.
void installFontSubstitutions();

// The family a face is drawn in: the face itself when it is installed, else
// its first installed substitute, else the face (Qt then falls back on its
// own). Looked up once per face.
QString installedFamily(const QString &name);

// The cell height (ascent + descent) of a font's family, regular weight, at
// 100 pixels; measured once per family.
qreal cellHeightAt100(const QFont &font);

// A QFont from a classic description. Text is drawn without antialiasing, as
// the classic desktop did, which also keeps pixel output exact. The font
// names the installed family (installedFamily()), so its family() is the
// substitute's for a face the machine lacks.
QFont makeFont(const QString &name, int height, TFontStyles style = {});

// The caption bar fonts of the scheme (bold for normal captions).
QFont captionFont(bool smallCaption);

// Face names the screen offers, in the font database's order.
QStringList screenFonts();

// Whether text in this face is drawn from scalable outlines (TrueType or
// OpenType); false for bitmap faces. Substituted faces answer for the face
// that is actually used.
bool isScalableFont(const QString &name);

} // namespace platform
