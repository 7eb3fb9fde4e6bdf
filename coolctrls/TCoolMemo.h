#pragma once

#include "CoolControlSupport.h"
#include "TCoolWallpaper.h"

#include <QColor>
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

    TCoolImages *CoolImages() const { return m_wallpaper.CoolImages(); }
    void setCoolImages(TCoolImages *store) { m_wallpaper.setCoolImages(store); }
    int idWallpaper() const { return m_wallpaper.idWallpaper(); }
    void setIdWallpaper(int value) { m_wallpaper.setIdWallpaper(value); }
    bool Stretched() const { return m_wallpaper.Stretched(); }
    void setStretched(bool value) { m_wallpaper.setStretched(value); }
    QImage Wallpaper() const { return m_wallpaper.Wallpaper(); }
    void setWallpaper(const QImage &image) { m_wallpaper.setWallpaper(image); }

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
    int TransparencyLevel() const { return m_transparencyLevel; }
    void setTransparencyLevel(int value) { m_transparencyLevel = qBound(0, value, 255); }
    QColor Color() const;
    void setColor(const QColor &value);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyAlignment();
    bool wallpaperActive() const;

    TCoolWallpaper m_wallpaper{[this] { update(); viewport()->update(); }};

    TAlignment m_textAlign = taLeftJustify;
    QString m_caption;
    int m_options = ocNoCaption;
    int m_edgeBorders = 0;
    QColor m_bordersTrColor;
    int m_transparencyLevel = 0;
};

} // namespace coolctrls
