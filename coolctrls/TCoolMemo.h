#pragma once

#include "CoolControlSupport.h"
#include "TWallpaperGroup.h"

#include <QColor>
#include <QImage>
#include <QStringList>
#include <QTextEdit>

namespace coolctrls {

// A multi-line text box with aligned text and optional border lines on its
// sides (EdgeBorders, with a frame in BordersTrColor under them).
class TCoolMemo : public QTextEdit
{
    Q_OBJECT
    Q_PROPERTY(QStringList Lines READ Lines WRITE setLines)
    Q_PROPERTY(TAlignment TextAlign READ TextAlign WRITE setTextAlign)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int Options READ Options WRITE setOptions)
    Q_PROPERTY(int EdgeBorders READ EdgeBorders WRITE setEdgeBorders)
    Q_PROPERTY(QColor BordersTrColor READ BordersTrColor WRITE setBordersTrColor)
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(int TransparencyLevel READ TransparencyLevel WRITE setTransparencyLevel)
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
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    // Sides of EdgeBorders.
    enum TEdgeBorder { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };
    // Option bits of Options (bit n for option value n).
    enum TCoolOptionBit { ocPaintWallpaper = 1 << 0, ocNoCaption = 1 << 12, ocPaintTransparently = 1 << 20 };

    explicit TCoolMemo(QWidget *parent = nullptr);

    // The wallpaper lies under the text area too, so each change repaints
    // the control and its text area.
    TCoolImages *CoolImages() const { return m_wallpaper.CoolImages(); }
    void setCoolImages(TCoolImages *store);
    int idWallpaper() const { return m_wallpaper.idWallpaper(); }
    void setIdWallpaper(int value);
    bool Stretched() const { return m_wallpaper.Stretched(); }
    void setStretched(bool value);
    // The own wallpaper, created on first use; drawing on it repaints the
    // memo.
    platform::TBitmap *Wallpaper() { return m_wallpaper.Wallpaper(); }
    // The bitmap is copied (nullptr empties the own wallpaper); a picture is
    // taken as a bitmap (a null QImage empties it).
    void setWallpaper(const platform::TBitmap *bitmap) { m_wallpaper.setWallpaper(bitmap); }
    void setWallpaper(const QImage &image);

    QStringList Lines() const;
    void setLines(const QStringList &lines);
    TAlignment TextAlign() const { return m_textAlign; }
    void setTextAlign(TAlignment value);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &value) { m_caption = value; }
    int Options() const { return m_options; }
    // Wallpaper and transparency exclude each other: the one just added wins.
    void setOptions(int value);
    int EdgeBorders() const { return m_edgeBorders; }
    void setEdgeBorders(int value);
    // Invalid = no frame.
    QColor BordersTrColor() const { return m_bordersTrColor; }
    void setBordersTrColor(const QColor &value);
    int TransparencyLevel() const { return m_wallpaper.TransparencyLevel(); }
    void setTransparencyLevel(int value);
    QColor Color() const;
    void setColor(const QColor &value);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyAlignment();
    bool wallpaperActive() const;

    void repaintAll();

    // CoolImages, idWallpaper, Wallpaper, Stretched and TransparencyLevel.
    TWallpaperGroup m_wallpaper{this};

    TAlignment m_textAlign = taLeftJustify;
    QString m_caption;
    int m_options = ocNoCaption;
    int m_edgeBorders = 0;
    QColor m_bordersTrColor;
};

} // namespace coolctrls
