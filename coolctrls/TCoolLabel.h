#pragma once

#include "CoolControlProperties.h"
#include "CoolControlSupport.h"
#include "TFocusAccelerator.h"
#include "TGlyph.h"
#include "TShadowedCaption.h"
#include "TBackgroundControl.h"

#include "platform/Events.h"

#include "platform/canvas/TPen.h"

#include <QPointer>
#include <QWidget>

namespace coolctrls {

// A text label that draws its caption with a drop shadow (an embossed grey
// look while disabled), optional bevel edges, side border lines and a glyph
// before the text, over nothing (Transparent: its container's background
// shows), a wallpaper or its colour, and sizes itself to its text while
// AutoSize is on. Its mouse
// events (OnMouseDown, OnMouseMove, OnMouseUp, OnClick, OnDblClick) are the
// shared ones of platform::TControlEvents; a disabled label receives none.
//
// A label takes no keyboard focus unless the program gives it a focus
// policy. With the focus, Space (down, then up on release) and Enter act as
// the left mouse button does, the arrow keys move the focus to the nearest
// focusable label beside it, as in a group of buttons, and a dotted focus
// rectangle shows while the focus came from the keyboard.
//
// What every control inherits (Align, Anchors, Constraints, ParentColor,
// PopupMenu, dragging) is platform::TControl's: an opaque label with
// ParentColor paints its container's colour and follows it.
class TCoolLabel : public QWidget,
                   public TBackgroundControl,
                   public platform::TControlEvents,
                   public platform::TControl,
                   public TShadowedCaption
{
    Q_OBJECT
    TONVIK_COOL_GRAPHIC_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE setShowAccelChar)
    Q_PROPERTY(coolctrls::TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(coolctrls::TTextLayout Layout READ Layout WRITE setLayout)
    Q_PROPERTY(QWidget *FocusControl READ FocusControl WRITE setFocusControl)
    Q_PROPERTY(coolctrls::TBevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(coolctrls::TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(int BevelsOffset READ BevelsOffset WRITE setBevelsOffset)
    Q_PROPERTY(int EdgeBorders READ EdgeBordersBits WRITE setEdgeBordersBits)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE setNumGlyphs)
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    TONVIK_SHADOWED_CAPTION_PROPERTIES
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(bool Stretched READ Stretched WRITE setStretched)
    TONVIK_COOL_FONT_PROPERTIES
    Q_PROPERTY(bool AnnounceChanges READ AnnounceChanges WRITE setAnnounceChanges)

public:
    explicit TCoolLabel(QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &value);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool value);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool value);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool value);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment value);
    // Background colour used when not Transparent and without a wallpaper.
    platform::TColor Color() const { return m_color; }
    void setColor(platform::TColor value);

    TTextLayout Layout() const { return m_layout; }
    void setLayout(TTextLayout value);
    // The control the caption's accelerator (Alt and the letter after "&",
    // while ShowAccelChar) gives the focus to.
    QWidget *FocusControl() const { return m_accelerator.FocusControl(); }
    void setFocusControl(QWidget *control) { m_accelerator.setFocusControl(control); }
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
    int EdgeBordersBits() const { return int(m_edgeBorders.toInt()); }
    void setEdgeBordersBits(int bits) { setEdgeBorders(TEdgeBorders::fromInt(uint(bits) & 0xF)); }
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
    // The own wallpaper is copied and the label repainted at once.
    using TWallpaperControl::setWallpaper;
    void setWallpaper(const platform::TBitmap *bitmap) override;

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
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void ApplyParentColor(platform::TColor color) override { setColor(color); }
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    // A shadow setter repaints at once.
    void ShadowChanged() override { repaint(); }
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    TGlyph m_glyph;

    QString m_caption;
    bool m_autoSize = true;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    TAlignment m_alignment = taLeftJustify;
    platform::TColor m_color = platform::clBtnFace;
    bool m_keyDown = false;  // Space is held on the focused label
    bool m_focusFromKeyboard = false;
    bool m_announceChanges = true;
    TTextLayout m_layout = tlTop;
    TFocusAccelerator m_accelerator{this};
    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvNone;
    int m_bevelsOffset = 0;
    TEdgeBorders m_edgeBorders;
    platform::TPen m_borderPen;
};

} // namespace coolctrls
