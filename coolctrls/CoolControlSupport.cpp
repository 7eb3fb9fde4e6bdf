#include "CoolControlSupport.h"

#include <QVariant>

namespace coolctrls::detail {

QString fontName(const QWidget *w, const QString &stored)
{
    const QString family = w->font().family();
    const auto drawnIn = [&family](const QString &face) {
        return !face.isEmpty() && platform::installedFamily(face) == family;
    };
    if (drawnIn(stored))
        return stored;
    // Plain widgets between (tab pages) publish no face: the nearest
    // ancestor that does answers for the font it hands down.
    for (const QWidget *parent = w->parentWidget(); parent; parent = parent->parentWidget()) {
        const QVariant face = parent->property("FontName");
        if (face.isValid())
            return drawnIn(face.toString()) ? face.toString() : family;
    }
    const QString classic = QString::fromLatin1(platform::DefaultFontName);
    return drawnIn(classic) ? classic : family;
}

} // namespace coolctrls::detail
