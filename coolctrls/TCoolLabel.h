#pragma once

#include "CoolControlSupport.h"
#include "TWallpaperGroup.h"

#include "platform/Events.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace coolctrls {

// A text label that draws its caption with a drop shadow (an embossed grey
// look while disabled) over its container's background (Transparent) or its
// own colour, and sizes itself to its text while AutoSize is on. Mouse
// presses go to OnMouseDown / OnMouseUp with sender, button, shift state and
// position; a disabled label receives none.
class TCoolLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE setShowAccelChar)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QColor ShadowColor READ ShadowColor WRITE setShadowColor)
    Q_PROPERTY(int ShadowSize READ ShadowSize WRITE setShadowSize)
    Q_PROPERTY(TShadowPos ShadowPos READ ShadowPos WRITE setShadowPos)
    Q_PROPERTY(bool SimpleView READ SimpleView WRITE setSimpleView)
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(bool Stretched READ Stretched WRITE setStretched)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(int FontHeight READ FontHeight WRITE setFontHeight)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE setFontUnderline)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(int Tag READ Tag WRITE setTag)
    TONVIK_COOL_FONT_ACCESSORS

public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TShadowPos { spLeftTop, spLeftBottom, spRightBottom, spRightTop };
    Q_ENUM(TShadowPos)

    explicit TCoolLabel(QWidget *parent = nullptr);

    TCoolImages *CoolImages() const { return m_wallpaper.CoolImages(); }
    void setCoolImages(TCoolImages *store) { m_wallpaper.setCoolImages(store); }
    int idWallpaper() const { return m_wallpaper.idWallpaper(); }
    void setIdWallpaper(int value) { m_wallpaper.setIdWallpaper(value); }
    bool Stretched() const { return m_wallpaper.Stretched(); }
    void setStretched(bool value) { m_wallpaper.setStretched(value); }
    // The own wallpaper, created on first use; drawing on it repaints the
    // label.
    platform::TBitmap *Wallpaper() { return m_wallpaper.Wallpaper(); }
    // The bitmap is copied (nullptr empties the own wallpaper); a picture is
    // taken as a bitmap (a null QImage empties it).
    void setWallpaper(const platform::TBitmap *bitmap) { m_wallpaper.setWallpaper(bitmap); }
    void setWallpaper(const QImage &image);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &value);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool value);
    bool Transparent() const { return m_wallpaper.Transparent(); }
    void setTransparent(bool value);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool value);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool value);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment value);
    // Background colour used when not Transparent; invalid = the button face.
    QColor Color() const;
    void setColor(const QColor &value);
    QColor ShadowColor() const;
    void setShadowColor(const QColor &value);
    int ShadowSize() const { return m_shadowSize; }
    void setShadowSize(int value);
    TShadowPos ShadowPos() const { return m_shadowPos; }
    void setShadowPos(TShadowPos value);
    bool SimpleView() const { return m_simpleView; }
    void setSimpleView(bool value);

    platform::TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

    // The caption's extent as painted (text plus the shadow offset that
    // lies right of and below it).
    QSize textExtent() const;
    // Sizes the label to its text when AutoSize is on.
    void AdjustBounds();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // CoolImages, idWallpaper, Wallpaper, Stretched and Transparent.
    TWallpaperGroup m_wallpaper{this};
    int textFlags() const;
    QPoint shadowOffset() const;   // where the shadow copy lies from the rectangle
    QPoint textOffset() const;     // where the text lies from the rectangle
    void drawText(QPainter &painter, QRect rect) const;

    QString m_caption;
    bool m_autoSize = true;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    TAlignment m_alignment = taLeftJustify;
    QColor m_color;
    QColor m_shadowColor;
    int m_shadowSize = 1;
    TShadowPos m_shadowPos = spLeftTop;
    bool m_simpleView = false;
    bool m_pressed = false;
};

} // namespace coolctrls
