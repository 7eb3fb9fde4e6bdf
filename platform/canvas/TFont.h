#pragma once

#include "platform/canvas/Colors.h"
#include "platform/canvas/Fonts.h"

#include <QFont>
#include <QString>

#include <functional>

namespace platform {

// The font sub-object of canvases and controls: name, height in pixels
// (negative = character height), style set and colour. Owners assign into it
// (Assign) and hear about changes through OnChange.
class TFont
{
public:
    TFont();
    TFont(const TFont &) = delete;
    TFont &operator=(const TFont &) = delete;

    void Assign(const TFont &source);
    // Takes family, pixel or point size, bold, italic, underline and strike-out.
    void Assign(const QFont &source);

    QString Name() const { return m_name; }
    void setName(const QString &value);
    int Height() const { return m_height; }
    void setHeight(int value);
    // Point size at 96 dpi; Height = -Size * 96 / 72 rounded.
    int Size() const;
    void setSize(int points);
    TColor Color() const { return m_color; }
    void setColor(TColor value);
    TFontStyles Style() const { return m_style; }
    void setStyle(TFontStyles value);

    bool operator==(const TFont &other) const;

    // The Qt font this describes (cached).
    const QFont &toQFont() const;

    // Called after every change.
    std::function<void(TFont *sender)> OnChange;

    // Counts changes; a canvas uses it to notice that the font was changed.
    unsigned changeCount() const { return m_changes; }

private:
    void changed();

    QString m_name;
    int m_height;
    TColor m_color;
    TFontStyles m_style;
    unsigned m_changes = 0;
    mutable QFont m_qfont;
    mutable bool m_qfontValid = false;
};

} // namespace platform
