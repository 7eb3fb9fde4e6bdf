#pragma once

// Event types and font and colour helpers shared by the skinned controls.
// The font helpers back the controls' published font properties. Heights
// follow the logical-font convention: a negative height is the character
// height in pixels without internal leading (the font's pixel size), a
// positive one the whole cell height.

#include "platform/TControlEvents.h"
#include "platform/canvas/Colors.h"
#include "platform/canvas/Fonts.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>

#include <functional>

class QObject;

namespace coolctrls {

// Mouse-down and mouse-up events: sender, button, shift state, position in
// the sender's client coordinates.
using TMouseEvent = platform::TMouseEvent;

// The first step of a property setter: stores value in field when it
// differs and answers whether it did (the setter then repaints, announces
// the change ...), so an unchanged value does nothing.
template<typename T>
bool StoreChanged(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// A setter that invalidates the control on a new value.
template<typename T>
void StoreAndUpdate(QWidget *control, T &field, const T &value)
{
    if (StoreChanged(field, value))
        control->update();
}

// The colour a control's text is drawn in: its palette's text colour of the
// active group (a disabled control draws its own disabled look).
inline platform::TColor ControlFontColor(const QWidget *control)
{
    return platform::TColor::fromQColor(control->palette().color(QPalette::Active, QPalette::WindowText));
}

} // namespace coolctrls

namespace coolctrls::detail {

// Font style bits, as a set of bold, italic, underline, strike-out.
enum TFontStyleBits { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

inline void setFontHeight(QWidget *w, int height)
{
    QFont f = w->font();
    if (height < 0)
        f.setPixelSize(-height);
    else if (height > 0)
        f.setPixelSize(qMax(1, height * 4 / 5));  // cell height ~ 1.25 x character height
    w->setFont(f);
}

inline int fontHeight(const QWidget *w)
{
    int px = w->font().pixelSize();
    return px > 0 ? -px : -qRound(w->font().pointSizeF() * w->logicalDpiY() / 72.0);
}

// The control keeps the face it was asked for in stored and draws in the
// installed family (a face the machine lacks, "MS Sans Serif", in its free
// substitute), so Qt never looks up fallbacks of a missing family.
inline void setFontName(QWidget *w, QString &stored, const QString &name)
{
    stored = name;
    QFont f = w->font();
    f.setFamily(platform::installedFamily(name));
    w->setFont(f);
}

// The face a control publishes: the one it was asked for (stored) while its
// font is drawn in it; a font followed from the parent publishes the
// parent's face, the application's font the classic default face.
QString fontName(const QWidget *w, const QString &stored);

inline int fontStyle(const QWidget *w)
{
    const QFont &f = w->font();
    return (f.bold() ? fsBold : 0) | (f.italic() ? fsItalic : 0) | (f.underline() ? fsUnderline : 0)
         | (f.strikeOut() ? fsStrikeOut : 0);
}

inline void setFontStyle(QWidget *w, int style)
{
    QFont f = w->font();
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    w->setFont(f);
}

inline void setFontStyleBit(QWidget *w, int bit, bool on)
{
    setFontStyle(w, on ? (fontStyle(w) | bit) : (fontStyle(w) & ~bit));
}

// The font colour is the palette's text colours; an invalid colour goes
// back to the parent's.
inline void setFontColor(QWidget *w, const QColor &color, QPalette::ColorRole role = QPalette::WindowText)
{
    QPalette p = w->palette();
    if (color.isValid()) {
        p.setColor(role, color);
        if (role == QPalette::WindowText) {
            p.setColor(QPalette::Text, color);
            p.setColor(QPalette::ButtonText, color);
        }
    } else {
        p = w->parentWidget() ? w->parentWidget()->palette() : QPalette();
    }
    w->setPalette(p);
}

} // namespace coolctrls::detail

// Accessors of the published font properties and Tag of a control; the
// class declares the matching Q_PROPERTY lines (FontName, FontHeight,
// FontBold, FontItalic, FontUnderline, FontColor, Tag) itself.
#define TONVIK_COOL_FONT_ACCESSORS                                                              \
public:                                                                                         \
    QString FontName() const { return coolctrls::detail::fontName(this, m_fontName); }          \
    void setFontName(const QString &v) { coolctrls::detail::setFontName(this, m_fontName, v); } \
    int FontHeight() const { return coolctrls::detail::fontHeight(this); }                      \
    void setFontHeight(int v) { coolctrls::detail::setFontHeight(this, v); }                    \
    bool FontBold() const { return font().bold(); }                                             \
    void setFontBold(bool v) { coolctrls::detail::setFontStyleBit(this, coolctrls::detail::fsBold, v); } \
    bool FontItalic() const { return font().italic(); }                                         \
    void setFontItalic(bool v) { coolctrls::detail::setFontStyleBit(this, coolctrls::detail::fsItalic, v); } \
    bool FontUnderline() const { return font().underline(); }                                   \
    void setFontUnderline(bool v) { coolctrls::detail::setFontStyleBit(this, coolctrls::detail::fsUnderline, v); } \
    /* Set of fsBold, fsItalic, fsUnderline, fsStrikeOut bits. */                               \
    int FontStyle() const { return coolctrls::detail::fontStyle(this); }                        \
    void setFontStyle(int v) { coolctrls::detail::setFontStyle(this, v); }                      \
    /* The text colour as drawn; clDefault goes back to the parent's. */                        \
    platform::TColor FontColor() const { return coolctrls::ControlFontColor(this); }            \
    void setFontColor(platform::TColor v) { coolctrls::detail::setFontColor(this, v.toQColor()); } \
    int Tag() const { return m_tag; }                                                           \
    void setTag(int v) { m_tag = v; }                                                           \
                                                                                                \
private:                                                                                        \
    QString m_fontName;                                                                         \
    int m_tag = 0;

// The published font properties and Tag of every skinned control, with their
// accessors: one line in the class body, after Q_OBJECT (moc expands it).
#define TONVIK_COOL_FONT_PROPERTIES \
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName) \
    Q_PROPERTY(int FontHeight READ FontHeight WRITE setFontHeight) \
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold) \
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic) \
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE setFontUnderline) \
    Q_PROPERTY(platform::TColor FontColor READ FontColor WRITE setFontColor) \
    Q_PROPERTY(int Tag READ Tag WRITE setTag) \
    TONVIK_COOL_FONT_ACCESSORS
