#include "platform/canvas/Colors.h"

#include "platform/Exception.h"

#include <array>
#include <ostream>

namespace platform {

namespace {

// The classic light scheme, indexed by COLOR_*. 0x00BBGGRR.
constexpr std::array<TColor, COLOR_ENDCOLORS + 1> kScheme = {
    RGB(0xD4, 0xD0, 0xC8),  // COLOR_SCROLLBAR
    RGB(0x3A, 0x6E, 0xA5),  // COLOR_BACKGROUND
    RGB(0x0A, 0x24, 0x6A),  // COLOR_ACTIVECAPTION
    RGB(0x80, 0x80, 0x80),  // COLOR_INACTIVECAPTION
    RGB(0xD4, 0xD0, 0xC8),  // COLOR_MENU
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_WINDOW
    RGB(0x00, 0x00, 0x00),  // COLOR_WINDOWFRAME
    RGB(0x00, 0x00, 0x00),  // COLOR_MENUTEXT
    RGB(0x00, 0x00, 0x00),  // COLOR_WINDOWTEXT
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_CAPTIONTEXT
    RGB(0xD4, 0xD0, 0xC8),  // COLOR_ACTIVEBORDER
    RGB(0xD4, 0xD0, 0xC8),  // COLOR_INACTIVEBORDER
    RGB(0x80, 0x80, 0x80),  // COLOR_APPWORKSPACE
    RGB(0x0A, 0x24, 0x6A),  // COLOR_HIGHLIGHT
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_HIGHLIGHTTEXT
    RGB(0xD4, 0xD0, 0xC8),  // COLOR_BTNFACE
    RGB(0x80, 0x80, 0x80),  // COLOR_BTNSHADOW
    RGB(0x80, 0x80, 0x80),  // COLOR_GRAYTEXT
    RGB(0x00, 0x00, 0x00),  // COLOR_BTNTEXT
    RGB(0xD4, 0xD0, 0xC8),  // COLOR_INACTIVECAPTIONTEXT
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_BTNHIGHLIGHT
    RGB(0x40, 0x40, 0x40),  // COLOR_3DDKSHADOW
    RGB(0xD4, 0xD0, 0xC8),  // COLOR_3DLIGHT
    RGB(0x00, 0x00, 0x00),  // COLOR_INFOTEXT
    RGB(0xFF, 0xFF, 0xE1),  // COLOR_INFOBK
    RGB(0xB5, 0xB5, 0xB5),  // 25: unused slot
    RGB(0x00, 0x00, 0x80),  // COLOR_HOTLIGHT
    RGB(0xA6, 0xCA, 0xF0),  // COLOR_GRADIENTACTIVECAPTION
    RGB(0xC0, 0xC0, 0xC0),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0x0A, 0x24, 0x6A),  // COLOR_MENUHILIGHT
    RGB(0xD4, 0xD0, 0xC8),  // COLOR_MENUBAR
};

} // namespace

TColor GetSysColor(int index)
{
    if (index < 0 || index >= int(kScheme.size()))
        return clBlack;
    return kScheme[size_t(index)];
}

TColor ColorToRGB(TColor color)
{
    return color.isSystem() ? GetSysColor(color.systemIndex()) : color;
}

QColor TColor::toQColor() const
{
    if (*this == clNone)
        return QColor(0, 0, 0, 0);
    if (*this == clDefault)
        return QColor();
    const TColor rgb = ColorToRGB(*this);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QColor DrawnQColor(TColor color)
{
    const TColor rgb(ColorToRGB(color).value() & 0xFFFFFF);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor TColor::fromQColor(const QColor &color)
{
    if (!color.isValid())
        return clDefault;
    return RGB(color.red(), color.green(), color.blue());
}

const std::vector<std::pair<TColor, QString>> &colorNames()
{
    static const std::vector<std::pair<TColor, QString>> names = {
        {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
        {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
        {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
        {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
        {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
        {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
        {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
        {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
        {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"},
        {clInactiveBorder, "clInactiveBorder"}, {clAppWorkSpace, "clAppWorkSpace"},
        {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
        {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"},
        {clBtnText, "clBtnText"}, {clInactiveCaptionText, "clInactiveCaptionText"},
        {clBtnHighlight, "clBtnHighlight"}, {cl3DDkShadow, "cl3DDkShadow"},
        {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"}, {clInfoBk, "clInfoBk"},
        {clNone, "clNone"},
    };
    return names;
}

QStringList basicColorNames()
{
    QStringList result;
    for (int i = 0; i < 16; ++i)
        result << colorNames()[size_t(i)].second;
    return result;
}

std::optional<TColor> IdentToColor(const QString &name)
{
    for (const auto &[value, ident] : colorNames())
        if (ident.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    if (name.compare(QLatin1String("clDefault"), Qt::CaseInsensitive) == 0)
        return clDefault;
    return std::nullopt;
}

std::optional<QString> ColorToIdent(TColor color)
{
    for (const auto &[value, ident] : colorNames())
        if (value == color)
            return ident;
    if (color == clDefault)
        return QStringLiteral("clDefault");
    return std::nullopt;
}

QString ColorToString(TColor color)
{
    if (auto ident = ColorToIdent(color))
        return *ident;
    return QStringLiteral("$%1").arg(color.value(), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const QString &text)
{
    if (auto value = IdentToColor(text.trimmed()))
        return *value;
    const QString t = text.trimmed();
    bool ok = false;
    qint64 number = 0;
    if (t.startsWith(QLatin1Char('$')))
        number = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        number = t.mid(2).toLongLong(&ok, 16);
    else
        number = t.toLongLong(&ok, 10);
    if (!ok || number < INT32_MIN || number > UINT32_MAX)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return TColor(std::uint32_t(number));
}

std::ostream &operator<<(std::ostream &out, TColor color)
{
    return out << ColorToString(color).toStdString();
}

namespace {

// QVariant's conversions of TColor, registered once at load time, before
// any property is read or written: to and from its name (a text that names
// no colour does not convert), to and from QColor (see TColor).
const bool colorConversionsRegistered = [] {
    const QMetaType color = QMetaType::fromType<TColor>();
    const QMetaType string = QMetaType::fromType<QString>();
    const QMetaType qcolor = QMetaType::fromType<QColor>();
    QMetaType::registerConverterFunction(
        [](const void *from, void *to) {
            *static_cast<QString *>(to) = ColorToString(*static_cast<const TColor *>(from));
            return true;
        },
        color, string);
    QMetaType::registerConverterFunction(
        [](const void *from, void *to) {
            try {
                *static_cast<TColor *>(to) = StringToColor(*static_cast<const QString *>(from));
                return true;
            } catch (const EConvertError &) {
                return false;
            }
        },
        string, color);
    QMetaType::registerConverterFunction(
        [](const void *from, void *to) {
            *static_cast<QColor *>(to) = static_cast<const TColor *>(from)->toQColor();
            return true;
        },
        color, qcolor);
    QMetaType::registerConverterFunction(
        [](const void *from, void *to) {
            *static_cast<TColor *>(to) = TColor::fromQColor(*static_cast<const QColor *>(from));
            return true;
        },
        qcolor, color);
    return true;
}();

} // namespace

} // namespace platform
