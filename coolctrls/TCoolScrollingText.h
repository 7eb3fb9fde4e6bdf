#pragma once

#include "CoolControlSupport.h"
#include "TWallpaperGroup.h"

#include "platform/TTimer.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

namespace coolctrls {

// A text that moves across its area one pixel per tick (every Interval ms
// while Active) and starts over when it has left the area.
class TCoolScrollingText : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QStringList Strings READ Strings WRITE setStrings)
    Q_PROPERTY(bool Active READ Active WRITE setActive)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)
    Q_PROPERTY(TScrollDirection ScrollDirection READ ScrollDirection WRITE setScrollDirection)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(int FontHeight READ FontHeight WRITE setFontHeight)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE setFontUnderline)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(int Tag READ Tag WRITE setTag)
    TONVIK_COOL_FONT_ACCESSORS

public:
    enum TScrollDirection { sdBottomToTop, sdTopToBottom, sdLeftToRight, sdRightToLeft };
    Q_ENUM(TScrollDirection)

    explicit TCoolScrollingText(QWidget *parent = nullptr);

    TCoolImages *CoolImages() const { return m_wallpaper.CoolImages(); }
    void setCoolImages(TCoolImages *store) { m_wallpaper.setCoolImages(store); }
    int idWallpaper() const { return m_wallpaper.idWallpaper(); }
    void setIdWallpaper(int value) { m_wallpaper.setIdWallpaper(value); }
    bool Stretched() const { return m_wallpaper.Stretched(); }
    void setStretched(bool value) { m_wallpaper.setStretched(value); }
    // The own wallpaper, created on first use; drawing on it repaints the
    // text.
    platform::TBitmap *Wallpaper() { return m_wallpaper.Wallpaper(); }
    // The bitmap is copied (nullptr empties the own wallpaper); a picture is
    // taken as a bitmap (a null QImage empties it).
    void setWallpaper(const platform::TBitmap *bitmap) { m_wallpaper.setWallpaper(bitmap); }
    void setWallpaper(const QImage &image);

    QStringList Strings() const { return m_strings; }
    void setStrings(const QStringList &value);
    // The text list operations the program uses.
    void Clear() { setStrings({}); }
    void Add(const QString &line) { setStrings(m_strings + QStringList{line}); }

    bool Active() const { return m_active; }
    void setActive(bool value);
    int Interval() const { return m_interval; }
    void setInterval(int value);
    TScrollDirection ScrollDirection() const { return m_direction; }
    void setScrollDirection(TScrollDirection value);
    bool Transparent() const { return m_wallpaper.Transparent(); }
    void setTransparent(bool value);
    QColor Color() const;
    void setColor(const QColor &value);

    int ScrollX() const { return m_scrollX; }
    int ScrollY() const { return m_scrollY; }
    // The tick source; tests step it with trigger() after setManual(true).
    platform::TTimer &ScrollTimer() { return m_timer; }

    // Moves the text one pixel; starts over once it has left the area.
    void Step();
    QSize textSize() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // CoolImages, idWallpaper, Wallpaper, Stretched and Transparent.
    TWallpaperGroup m_wallpaper{this};
    void resetPosition(bool initial);
    void updateTimer();

    QStringList m_strings;
    bool m_active = false;
    int m_interval = 25;
    TScrollDirection m_direction = sdRightToLeft;
    QColor m_color;
    int m_scrollX = 0;
    int m_scrollY = 0;
    platform::TTimer m_timer;
};

} // namespace coolctrls
