#include "platform/canvas/ColorScheme.h"

#include "platform/canvas/Colors.h"
#include "platform/canvas/Fonts.h"

#include <QApplication>
#include <QStyleFactory>

namespace platform {

QPalette classicPalette()
{
    QPalette p;
    auto set = [&p](QPalette::ColorRole role, TColor color) { p.setColor(role, ColorToQColor(color)); };
    set(QPalette::Window, clBtnFace);
    set(QPalette::WindowText, clWindowText);
    set(QPalette::Base, clWindow);
    set(QPalette::AlternateBase, clBtnFace);
    set(QPalette::ToolTipBase, clInfoBk);
    set(QPalette::ToolTipText, clInfoText);
    set(QPalette::PlaceholderText, clGrayText);
    set(QPalette::Text, clWindowText);
    set(QPalette::Button, clBtnFace);
    set(QPalette::ButtonText, clBtnText);
    set(QPalette::BrightText, clWhite);
    set(QPalette::Light, clBtnHighlight);
    set(QPalette::Midlight, cl3DLight);
    set(QPalette::Mid, clBtnShadow);
    set(QPalette::Dark, clBtnShadow);
    set(QPalette::Shadow, cl3DDkShadow);
    set(QPalette::Highlight, clHighlight);
    set(QPalette::HighlightedText, clHighlightText);
    set(QPalette::Link, clBlue);
    set(QPalette::LinkVisited, clPurple);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, ColorToQColor(clGrayText));
    // Inactive windows keep the same selection colours, as the classic desktop.
    p.setColor(QPalette::Inactive, QPalette::Highlight, ColorToQColor(clHighlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, ColorToQColor(clHighlightText));
    return p;
}

void applyClassicLook()
{
    installFontSubstitutions();
    if (QStyle *style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    QApplication::setPalette(classicPalette());
    QApplication::setFont(makeFont(QString::fromLatin1(DefaultFontName), DefaultFontHeight));
}

} // namespace platform
