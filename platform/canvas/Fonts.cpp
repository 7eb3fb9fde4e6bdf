#include "platform/canvas/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>

#include <cmath>
#include <mutex>

namespace platform {

void installFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
        const QStringList mono = {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
        const QStringList serif = {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")};
        for (const char *face : {"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2",
                                 "Arial", "Tahoma", "Segoe UI", "System", "Small Fonts"})
            QFont::insertSubstitutions(QString::fromLatin1(face), sans);
        QFont::insertSubstitutions(QStringLiteral("Verdana"),
                                   {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
        for (const char *face : {"Courier New", "Courier", "Fixedsys", "Terminal", "Lucida Console"})
            QFont::insertSubstitutions(QString::fromLatin1(face), mono);
        for (const char *face : {"Times New Roman", "Times", "MS Serif"})
            QFont::insertSubstitutions(QString::fromLatin1(face), serif);
    });
}

QFont makeFont(const QString &name, int height, TFontStyles style)
{
    installFontSubstitutions();
    QFont font(name.isEmpty() ? QString::fromLatin1(DefaultFontName) : name);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    if (height == 0)
        height = DefaultFontHeight;
    if (height < 0) {
        font.setPixelSize(-height);
    } else {
        // A positive height is the whole cell (ascent + descent): scale the
        // character height so that the cell comes out at that height.
        QFont probe = font;
        probe.setPixelSize(100);
        const qreal cell = QFontMetricsF(probe).height();
        font.setPixelSize(std::max(1, int(std::lround(height * 100.0 / (cell > 0 ? cell : 100.0)))));
    }
    font.setBold(style.testFlag(fsBold));
    font.setItalic(style.testFlag(fsItalic));
    font.setUnderline(style.testFlag(fsUnderline));
    font.setStrikeOut(style.testFlag(fsStrikeOut));
    return font;
}

QFont captionFont(bool smallCaption)
{
    return makeFont(QStringLiteral("Tahoma"), DefaultFontHeight, smallCaption ? TFontStyles() : TFontStyles(fsBold));
}

QStringList screenFonts()
{
    return QFontDatabase::families();
}

bool isScalableFont(const QString &name)
{
    const QFontInfo info(makeFont(name, DefaultFontHeight));
    const QString family = info.family();
    return !family.isEmpty() && QFontDatabase::isSmoothlyScalable(family, info.styleName());
}

} // namespace platform
