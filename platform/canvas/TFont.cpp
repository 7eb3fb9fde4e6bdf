#include "platform/canvas/TFont.h"

#include <cmath>

namespace platform {

TFont::TFont()
    : m_name(QString::fromLatin1(DefaultFontName)), m_height(DefaultFontHeight), m_color(clWindowText)
{
}

void TFont::Assign(const TFont &source)
{
    if (&source == this)
        return;
    m_name = source.m_name;
    m_height = source.m_height;
    m_color = source.m_color;
    m_style = source.m_style;
    changed();
}

void TFont::Assign(const QFont &source)
{
    // A font drawn in the substitute of this font's face keeps the face's
    // name.
    if (source.family() != installedFamily(m_name))
        m_name = source.family();
    if (source.pixelSize() > 0)
        m_height = -source.pixelSize();
    else
        m_height = -int(std::lround(source.pointSizeF() * 96.0 / 72.0));
    TFontStyles style;
    if (source.bold())
        style |= fsBold;
    if (source.italic())
        style |= fsItalic;
    if (source.underline())
        style |= fsUnderline;
    if (source.strikeOut())
        style |= fsStrikeOut;
    m_style = style;
    changed();
}

void TFont::setName(const QString &value)
{
    if (value == m_name)
        return;
    m_name = value;
    changed();
}

void TFont::setHeight(int value)
{
    if (value == m_height)
        return;
    m_height = value;
    changed();
}

int TFont::Size() const
{
    return -int(std::lround(m_height * 72.0 / 96.0));
}

void TFont::setSize(int points)
{
    setHeight(-int(std::lround(points * 96.0 / 72.0)));
}

void TFont::setColor(TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    changed();
}

void TFont::setStyle(TFontStyles value)
{
    if (value == m_style)
        return;
    m_style = value;
    changed();
}

bool TFont::operator==(const TFont &other) const
{
    return m_name == other.m_name && m_height == other.m_height && m_color == other.m_color
        && m_style == other.m_style;
}

const QFont &TFont::toQFont() const
{
    if (!m_qfontValid) {
        m_qfont = makeFont(m_name, m_height, m_style);
        m_qfontValid = true;
    }
    return m_qfont;
}

void TFont::changed()
{
    ++m_changes;
    m_qfontValid = false;
    if (OnChange)
        OnChange(this);
}

} // namespace platform
