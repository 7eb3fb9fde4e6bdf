#pragma once

// Colour values of the skinned controls: 32 bits, 0x00BBGGRR for an RGB
// colour, 0x80000000 + index for a system colour, clNone for "no colour" and
// clDefault for "the control's default". System colours come from one fixed
// classic light scheme (see ColorScheme.h), so they become RGB only when drawn.
//
// TColor is a type of its own, not an integer: a QColor (0xAARRGGBB) and a
// colour value (0x00BBGGRR, or a system colour index) never turn into each
// other unnoticed. Every conversion is spelled out: TColor(value) and
// value() for the 32 bits, toQColor() and TColor::fromQColor() for Qt's
// colours, ColorToString() and StringToColor() for the names. The type is
// registered with Qt's meta-type system, so it serves as a Q_PROPERTY type;
// QVariant converts it to and from QString (the colour's name, "clBtnFace" or
// "$00FF8000") and QColor (its RGB value; from a QColor an RGB colour).

#include <QColor>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <compare>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

class TColor
{
public:
    // clBlack.
    constexpr TColor() noexcept = default;
    constexpr explicit TColor(std::uint32_t value) noexcept : m_value(value) {}

    // The 32 bits as stored and streamed.
    constexpr std::uint32_t value() const noexcept { return m_value; }
    // 0x80000000 + index: a colour of the scheme, looked up when drawn.
    constexpr bool isSystem() const noexcept { return (m_value & 0xFF000000u) == 0x80000000u; }
    constexpr int systemIndex() const noexcept { return int(m_value & 0xFF); }

    // The colour as drawn (system colours looked up); clNone gives a fully
    // transparent colour, clDefault an invalid one (Qt's "no colour set").
    QColor toQColor() const;
    // The RGB colour of a QColor (alpha ignored); an invalid QColor gives
    // clDefault.
    static TColor fromQColor(const QColor &color);

    friend constexpr bool operator==(TColor, TColor) noexcept = default;
    friend constexpr auto operator<=>(TColor, TColor) noexcept = default;

private:
    std::uint32_t m_value = 0;
};

// ---- System colour indexes --------------------------------------------------
enum : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
    COLOR_ENDCOLORS = COLOR_MENUBAR,
};

constexpr std::uint32_t clSystemColor = 0x80000000u;

// ---- Colour constants -------------------------------------------------------
constexpr TColor clBlack{0x000000};
constexpr TColor clMaroon{0x000080};
constexpr TColor clGreen{0x008000};
constexpr TColor clOlive{0x008080};
constexpr TColor clNavy{0x800000};
constexpr TColor clPurple{0x800080};
constexpr TColor clTeal{0x808000};
constexpr TColor clGray{0x808080};
constexpr TColor clSilver{0xC0C0C0};
constexpr TColor clRed{0x0000FF};
constexpr TColor clLime{0x00FF00};
constexpr TColor clYellow{0x00FFFF};
constexpr TColor clBlue{0xFF0000};
constexpr TColor clFuchsia{0xFF00FF};
constexpr TColor clAqua{0xFFFF00};
constexpr TColor clWhite{0xFFFFFF};
constexpr TColor clLtGray{0xC0C0C0};
constexpr TColor clDkGray{0x808080};

constexpr TColor clScrollBar{clSystemColor | COLOR_SCROLLBAR};
constexpr TColor clBackground{clSystemColor | COLOR_BACKGROUND};
constexpr TColor clActiveCaption{clSystemColor | COLOR_ACTIVECAPTION};
constexpr TColor clInactiveCaption{clSystemColor | COLOR_INACTIVECAPTION};
constexpr TColor clMenu{clSystemColor | COLOR_MENU};
constexpr TColor clWindow{clSystemColor | COLOR_WINDOW};
constexpr TColor clWindowFrame{clSystemColor | COLOR_WINDOWFRAME};
constexpr TColor clMenuText{clSystemColor | COLOR_MENUTEXT};
constexpr TColor clWindowText{clSystemColor | COLOR_WINDOWTEXT};
constexpr TColor clCaptionText{clSystemColor | COLOR_CAPTIONTEXT};
constexpr TColor clActiveBorder{clSystemColor | COLOR_ACTIVEBORDER};
constexpr TColor clInactiveBorder{clSystemColor | COLOR_INACTIVEBORDER};
constexpr TColor clAppWorkSpace{clSystemColor | COLOR_APPWORKSPACE};
constexpr TColor clHighlight{clSystemColor | COLOR_HIGHLIGHT};
constexpr TColor clHighlightText{clSystemColor | COLOR_HIGHLIGHTTEXT};
constexpr TColor clBtnFace{clSystemColor | COLOR_BTNFACE};
constexpr TColor clBtnShadow{clSystemColor | COLOR_BTNSHADOW};
constexpr TColor clGrayText{clSystemColor | COLOR_GRAYTEXT};
constexpr TColor clBtnText{clSystemColor | COLOR_BTNTEXT};
constexpr TColor clInactiveCaptionText{clSystemColor | COLOR_INACTIVECAPTIONTEXT};
constexpr TColor clBtnHighlight{clSystemColor | COLOR_BTNHIGHLIGHT};
constexpr TColor cl3DDkShadow{clSystemColor | COLOR_3DDKSHADOW};
constexpr TColor cl3DLight{clSystemColor | COLOR_3DLIGHT};
constexpr TColor clInfoText{clSystemColor | COLOR_INFOTEXT};
constexpr TColor clInfoBk{clSystemColor | COLOR_INFOBK};
constexpr TColor clHotLight{clSystemColor | COLOR_HOTLIGHT};
constexpr TColor clGradientActiveCaption{clSystemColor | COLOR_GRADIENTACTIVECAPTION};
constexpr TColor clGradientInactiveCaption{clSystemColor | COLOR_GRADIENTINACTIVECAPTION};
constexpr TColor clMenuHighlight{clSystemColor | COLOR_MENUHILIGHT};
constexpr TColor clMenuBar{clSystemColor | COLOR_MENUBAR};

constexpr TColor clNone{0x1FFFFFFF};
constexpr TColor clDefault{0x20000000};

// ---- Channels ---------------------------------------------------------------
constexpr TColor RGB(int r, int g, int b)
{
    return TColor(std::uint32_t(r & 0xFF) | (std::uint32_t(g & 0xFF) << 8) | (std::uint32_t(b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return int(c.value() & 0xFF); }
constexpr int GetGValue(TColor c) { return int((c.value() >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return int((c.value() >> 16) & 0xFF); }
constexpr bool isSystemColor(TColor c) { return c.isSystem(); }

// RGB value of system colour index (0 for an unknown index), from the fixed
// classic scheme.
TColor GetSysColor(int index);
// RGB value of a colour: system colours are looked up, everything else keeps
// its value (clNone and clDefault included, as in the classic conversion).
TColor ColorToRGB(TColor color);
// TColor::toQColor().
inline QColor ColorToQColor(TColor color) { return color.toQColor(); }
// What a pen or brush of the colour paints: its RGB value's low 24 bits,
// opaque (clNone and clDefault paint as the bits they carry).
QColor DrawnQColor(TColor color);
// The colour value of a QColor (alpha ignored); invalid: clDefault.
inline TColor QColorToColor(const QColor &color) { return TColor::fromQColor(color); }

// ---- Names --------------------------------------------------------------------
// The 42 standard colour names with their values: the 16 basic colours, then
// the system colours, then clNone, in the order colour lists show them.
const std::vector<std::pair<TColor, QString>> &colorNames();
// The 16 basic colour names only.
QStringList basicColorNames();
// "clRed" for clRed, else "$" and 8 hexadecimal digits (e.g. "$00123456").
QString ColorToString(TColor color);
// A colour name ("clRed", case-insensitive) or a number ("$FF", "255", "-1").
// Throws EConvertError for anything else.
TColor StringToColor(const QString &text);
std::optional<TColor> IdentToColor(const QString &name);
// Writes ColorToString(color) (test failure messages, logs).
std::ostream &operator<<(std::ostream &out, TColor color);
std::optional<QString> ColorToIdent(TColor color);

} // namespace platform

Q_DECLARE_METATYPE(platform::TColor)

template<>
struct std::hash<platform::TColor>
{
    std::size_t operator()(platform::TColor c) const noexcept { return std::hash<std::uint32_t>()(c.value()); }
};
