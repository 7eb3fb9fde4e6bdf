#pragma once

#include "CoolControlSupport.h"
#include "TGlyph.h"
#include "TWallpaperGroup.h"

#include "platform/Events.h"

#include "platform/canvas/TPen.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>

namespace coolctrls {

// A text label that draws its caption with a drop shadow (an embossed grey
// look while disabled), optional bevel edges, side border lines and a glyph
// before the text, over nothing (Transparent: its container's background
// shows), a wallpaper or its colour, and sizes itself to its text while
// AutoSize is on. Mouse
// presses go to OnMouseDown / OnMouseUp with sender, button, shift state and
// position; a disabled label receives none.
//
// A label takes no keyboard focus unless the program gives it a focus
// policy. With the focus, Space (down, then up on release) and Enter act as
// the left mouse button does, the arrow keys move the focus to the nearest
// focusable label beside it, as in a group of buttons, and a dotted focus
// rectangle shows while the focus came from the keyboard.
class TCoolLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE setShowAccelChar)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(TTextLayout Layout READ Layout WRITE setLayout)
    Q_PROPERTY(QWidget *FocusControl READ FocusControl WRITE setFocusControl)
    Q_PROPERTY(TBevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(int BevelsOffset READ BevelsOffset WRITE setBevelsOffset)
    Q_PROPERTY(int EdgeBorders READ EdgeBordersBits WRITE setEdgeBordersBits)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE setNumGlyphs)
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
    Q_PROPERTY(bool AnnounceChanges READ AnnounceChanges WRITE setAnnounceChanges)
    TONVIK_COOL_FONT_ACCESSORS

public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TShadowPos { spLeftTop, spLeftBottom, spRightBottom, spRightTop };
    Q_ENUM(TShadowPos)
    enum TTextLayout { tlTop, tlCenter, tlBottom };
    Q_ENUM(TTextLayout)
    enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
    Q_ENUM(TBevelCut)

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

    TTextLayout Layout() const { return m_layout; }
    void setLayout(TTextLayout value);
    // The control an accelerator of the caption gives the focus to.
    QWidget *FocusControl() const { return m_focusControl.data(); }
    void setFocusControl(QWidget *control) { m_focusControl = control; }
    TBevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TBevelCut value);
    // Inset of the text from the client edge; a value other than 0 turns
    // AutoSize off.
    int BevelsOffset() const { return m_bevelsOffset; }
    void setBevelsOffset(int value);
    TEdgeBorders EdgeBorders() const { return m_edgeBorders; }
    void setEdgeBorders(TEdgeBorders value);
    int EdgeBordersBits() const { return int(m_edgeBorders.bits()); }
    void setEdgeBordersBits(int bits) { setEdgeBorders(TEdgeBorders::fromBits(uint32_t(bits) & 0xF)); }
    // The pen of the side lines; assigning into it repaints.
    platform::TPen &BorderPen() { return m_borderPen; }
    void setBorderPen(const platform::TPen &pen) { m_borderPen.Assign(pen); }
    // The image before the text, held by the label's glyph holder.
    platform::TBitmap &Glyph() { return m_glyph.Glyph(); }
    void setGlyph(const platform::TBitmap *bitmap);
    int NumGlyphs() const { return m_glyph.NumGlyphs(); }
    // Taken as a byte and limited to 2 (normal and disabled).
    void setNumGlyphs(int value);
    TGlyph &glyphHolder() { return m_glyph; }

    platform::TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

    // Whether a click means something: a handler is set.
    bool ReactsToClick() const { return OnMouseDown || OnMouseUp || OnClick; }
    // What a left-button click on the label does, from the keyboard or an
    // assistive technology: mouse-down, mouse-up and click, each handler
    // with the label's centre. Nothing while the label is disabled.
    void Click();
    // A caption change is told to assistive technology (a screen reader
    // following the window hears it). Off for a text that changes too
    // often to be heard, a clock say; it stays readable on request.
    bool AnnounceChanges() const { return m_announceChanges; }
    void setAnnounceChanges(bool value) { m_announceChanges = value; }

    // The caption's extent as painted (text plus the shadow offset that
    // lies right of and below it).
    QSize textExtent() const;
    // Sizes the label to its text (and glyph) when AutoSize is on.
    void AdjustBounds();
    // The text output of painting and measuring: the caption in r with the
    // DT_ format (with DT_CALCRECT r is measured, shadow offset included).
    void DrawLabelText(platform::TCanvas &canvas, QRect &r, unsigned format) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Declared first: the glyph holder is destroyed last.
    TGlyph m_glyph;
    // CoolImages, idWallpaper, Wallpaper, Stretched and Transparent.
    TWallpaperGroup m_wallpaper{this};
    unsigned alignmentFormat() const;

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
    bool m_keyDown = false;  // Space is held on the focused label
    bool m_focusFromKeyboard = false;
    bool m_announceChanges = true;
    TTextLayout m_layout = tlTop;
    QPointer<QWidget> m_focusControl;
    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvNone;
    int m_bevelsOffset = 0;
    TEdgeBorders m_edgeBorders;
    platform::TPen m_borderPen;
};

} // namespace coolctrls
