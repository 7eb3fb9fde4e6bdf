#pragma once

#include "CoolControlProperties.h"
#include "CoolControlSupport.h"
#include "CoolTypes.h"
#include "TWallpaperControl.h"

#include "platform/Events.h"
#include "platform/canvas/TPen.h"

#include <QImage>
#include <QStringList>
#include <QTextEdit>

namespace platform {
class TCanvas;
}

namespace coolctrls {

class TCoolCaptionBar;

// The skinned multi-line text box. Over the plain text box it adds: a
// wallpaper (or an ancestor's background) behind the text, tiled from the
// client origin; an optional caption bar of its own (TCoolCaptionBar) in a
// frame it reserves above the text; edge border lines and a flat border
// over its frame; and a text alignment.
//
// Frame layout, outside in: the caption bar's dialog frame and caption
// (without ocNoCaption), then the 2-pixel sunken client edge (BorderStyle
// bsSingle; with Ctl3D False a one-pixel window-frame line instead), then the
// text area (the viewport).
class TCoolMemo : public QTextEdit,
                  public TWallpaperControl,
                  public platform::TControlEvents,
                  public platform::TControl
{
    Q_OBJECT
    TONVIK_COOL_CONTROL_PROPERTIES
    TONVIK_COOL_CTL3D_PROPERTIES
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    TONVIK_COOL_TAB_STOP_PROPERTY
    Q_PROPERTY(QStringList Lines READ Lines WRITE setLines)
    Q_PROPERTY(coolctrls::TAlignment TextAlign READ TextAlign WRITE setTextAlign)
    Q_PROPERTY(coolctrls::TBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(coolctrls::TScrollStyle ScrollBars READ ScrollBars WRITE setScrollBars)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(platform::TColor CaptionColor READ CaptionColor WRITE setCaptionColor)
    Q_PROPERTY(platform::TColor CaptionTextColor READ CaptionTextColor WRITE setCaptionTextColor)
    Q_PROPERTY(int idCaptionWallpaper READ idCaptionWallpaper WRITE setIdCaptionWallpaper)
    Q_PROPERTY(int Options READ Options WRITE setOptions)
    Q_PROPERTY(int EdgeBorders READ EdgeBorders WRITE setEdgeBorders)
    Q_PROPERTY(platform::TColor BordersTrColor READ BordersTrColor WRITE setBordersTrColor)
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(int TransparencyLevel READ TransparencyLevel WRITE setTransparencyLevel)
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    TONVIK_COOL_FONT_PROPERTIES
    Q_PROPERTY(bool WantTabs READ WantTabs WRITE setWantTabs)
    Q_PROPERTY(coolctrls::TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE setMaxLength)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE setHideSelection)
    Q_PROPERTY(bool WantReturns READ WantReturns WRITE setWantReturns)

public:
    explicit TCoolMemo(QWidget *parent = nullptr);
    ~TCoolMemo() override;

    // The wallpaper (CoolImages, idWallpaper, Wallpaper, TransparencyLevel:
    // TWallpaperControl) lies under the text; each change repaints the whole
    // control (the store also gives the caption wallpaper).
    // The wallpaper as it resolves now: store item first, else own bitmap.
    bool HasWallpaper() const { return m_wallpaper.HasWallpaper(); }

    // False (the default): Tab and Shift+Tab move the focus on, as in a
    // multi-line edit that has no use for tab characters; true: Tab types
    // one.
    bool WantTabs() const { return !tabChangesFocus(); }
    void setWantTabs(bool value) { setTabChangesFocus(!value); }

    // True (the default): Enter types a line break. False: Enter clicks the
    // window's default button and Ctrl+Enter types the line break.
    bool WantReturns() const { return m_wantReturns; }
    void setWantReturns(bool value) { m_wantReturns = value; }
    // True (the default): lines break at the right edge of the text area;
    // false: they run on and scroll sideways.
    bool WordWrap() const { return lineWrapMode() != QTextEdit::NoWrap; }
    void setWordWrap(bool value);
    // The most characters the user can type or paste (a line break counts
    // as one); 0: no limit. Text set from code is not cut.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int value) { m_maxLength = qMax(0, value); }
    // True (the default): the selection shows only while the memo has the
    // focus; false: it stays visible in the highlight colours.
    bool HideSelection() const { return m_hideSelection; }
    void setHideSelection(bool value);

    QStringList Lines() const;
    void setLines(const QStringList &lines);
    TAlignment TextAlign() const { return m_textAlign; }
    // When changed: re-creates the control's look (the text survives).
    void setTextAlign(TAlignment value);
    // The toolkit's name of the same alignment: one value, two names.
    TAlignment Alignment() const { return m_textAlign; }
    void setAlignment(TAlignment value) { setTextAlign(value); }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(TBorderStyle value);
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void setScrollBars(TScrollStyle value);

    int Options() const { return m_options; }
    // Wallpaper and transparency exclude each other (the one just added
    // wins); a changed set re-creates the control's look, then tells it and
    // its children that the colours changed.
    void setOptions(int value);
    TCoolOptions CoolOptions() const { return TCoolOptions::fromInt(uint32_t(m_options)); }
    void setCoolOptions(TCoolOptions value) { setOptions(int(value.toInt())); }
    int EdgeBorders() const { return m_edgeBorders; }
    void setEdgeBorders(int value);
    // clNone (the default): no frame.
    platform::TColor BordersTrColor() const { return m_bordersTrColor; }
    void setBordersTrColor(platform::TColor value);
    // Pen of the border lines (black, 1 pixel, solid); its changes repaint.
    platform::TPen &BorderPen() { return m_borderPen; }
    void setBorderPen(const platform::TPen &pen) { m_borderPen.Assign(pen); }
    // The text area's background without a wallpaper (clWindow); setting
    // it turns ParentColor off.
    platform::TColor Color() const { return m_color; }
    void setColor(platform::TColor value);

    // The caption bar (shown without ocNoCaption).
    QString Caption() const;
    void setCaption(const QString &value);
    platform::TColor CaptionColor() const;
    void setCaptionColor(platform::TColor value);
    platform::TColor CaptionTextColor() const;
    void setCaptionTextColor(platform::TColor value);
    int idCaptionWallpaper() const;
    void setIdCaptionWallpaper(int value);
    platform::TBitmap *CaptionWallpaper();
    void setCaptionWallpaper(const platform::TBitmap *bitmap);
    void setCaptionWallpaper(const QImage &image);
    TCoolCaptionBar &CaptionBar() { return *m_captionBar; }

    // Re-applies everything that depends on Options, TextAlign, the border
    // style and Ctl3D: frame margins, caption, alignment, scroll bars.
    void RecreateWnd();
    int Recreations() const { return m_recreations; }

    // Wallpaper-active: ocPaintWallpaper and a wallpaper resolves;
    // background-active: that or ocPaintTransparently.
    bool WallpaperActive() const;
    bool BackgroundActive() const;
    // Whether the flat border is drawn highlighted now.
    bool FlatBorderHighlighted() const;

    // Visual (wrapped) lines: their count, the line of a character index,
    // the first visible line, and the classic character-from-position answer
    // for a point of the text area: line number in the high 16 bits,
    // character index in the low 16 bits.
    int LineCount() const;
    int LineFromChar(int charIndex) const;
    int FirstVisibleLine() const;
    int CharFromPos(const QPoint &pos) const;
    // With ocFlatBorder: Page Up is swallowed at the first line, Page Down
    // when the line number of the bottom edge's character-from-position
    // answer, taken whole as a character index, equals the line count.
    // Asked before the text box acts on the key.
    bool PageKeySwallowed(int key) const;

    int SelectionAnchor() const { return m_anchor; }

    // Raised by every change of the text, typed or set from code.
    platform::TNotifyEvent OnChange;
    platform::TNotifyEvent OnMouseEnter;
    platform::TNotifyEvent OnMouseLeave;

protected:
    // Refreshes the caption bar: repaints the frame it lies in. Every change
    // of the caption's text, colours or wallpaper and of the image store
    // comes through here; a subclass may paint more or less.
    virtual void UpdateCaptionBar();

    bool event(QEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void WallpaperLookChanged() override { repaintAll(); }
    void ApplyParentColor(platform::TColor color) override { setColor(color); }
    // The border's look and width follow Ctl3D.
    void Ctl3DChanged() override { RecreateWnd(); }

private:
    void applyAlignment();
    void applySelectionLook();
    // How many more characters MaxLength lets the user put in place of the
    // selection (INT_MAX without a limit).
    int room() const;
    // Types text (cut to the room left); false when nothing fitted.
    bool typeText(const QString &text);
    bool clickDefaultButton();
    void eraseBackground(platform::TCanvas &canvas);
    void paintFrame(platform::TCanvas &canvas);
    // Whether the text area lies over the frame (no border style).
    bool textAreaCoversFrame() const;
    // The width of the border inside the caption bar's frame: the sunken
    // edge (2), the flat line without Ctl3D (1), none with bsNone.
    int borderWidth() const;
    void repaintAll();
    void colorChanged();

    TCoolCaptionBar *m_captionBar;
    platform::TPen m_borderPen;

    TAlignment m_textAlign = taLeftJustify;
    TBorderStyle m_borderStyle = bsSingle;
    TScrollStyle m_scrollBars = ssNone;
    int m_options = ocNoCaption;
    int m_edgeBorders = 0;
    platform::TColor m_bordersTrColor = platform::clNone;
    platform::TColor m_color = platform::clWindow;
    int m_anchor = -1;
    int m_maxLength = 0;
    bool m_wantReturns = true;
    bool m_hideSelection = true;
    bool m_applyingSelectionLook = false;
    int m_recreations = 0;
};

} // namespace coolctrls
