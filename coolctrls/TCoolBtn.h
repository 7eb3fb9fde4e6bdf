#pragma once

#include "CoolControlProperties.h"
#include "CoolControlSupport.h"
#include "CoolTypes.h"
#include "CoolUtils.h"
#include "TGlyph.h"
#include "TShadowedCaption.h"
#include "TWallpaperControl.h"

#include "platform/Events.h"
#include "platform/TTimer.h"
#include "platform/canvas/TCanvas.h"
#include "platform/canvas/TImageList.h"

#include <QImage>
#include <QPointer>
#include <QPushButton>

#include <functional>

class QAction;
class QShortcut;

namespace coolctrls {


class TCoolBtn;
// Called after each painting with the button, a canvas still attached to
// what was painted, and the client rectangle.
using TDrawButtonEvent = std::function<void(TCoolBtn *sender, platform::TCanvas &canvas, const QRect &r)>;

// A push button that paints its own face: background (colour, wallpaper,
// gradient or an ancestor's background), a raised or (pressed) sunken edge,
// a one-pixel frame while it is the window's default button, glyph and
// caption with a text shadow (engraved while disabled) and a dotted focus
// mark. ocRoundedForm gives an elliptic face over the parent's background,
// ocFlatBorder an edge that appears only under the mouse. With Images and
// Animated the glyph is taken frame by frame from the image list.
//
// Clicking, keyboard activation (Space; Enter on the focused or default
// button) and focus are Qt's QPushButton; a click raises OnClick with the
// button as sender. As on the classic desktop the focused button is the
// window's active default button; IsFocused says which button that is.
// Cancel and ModalResult are the toolkit's: Escape clicks the Cancel button
// of its window, and a click sets the window's modal result (closing a
// modal dialog) before OnClick. Anchors, Constraints, the hints and
// TabOrder are platform::TControl's.
class TCoolBtn : public QPushButton,
                 public TWallpaperControl,
                 public TShadowedCaption,
                 public IEraseBackground,
                 public platform::TControlEvents,
                 public platform::TControl
{
    Q_OBJECT
    Q_PROPERTY(platform::TAnchors Anchors READ Anchors WRITE setAnchors)
    Q_PROPERTY(platform::TSizeConstraints *Constraints READ Constraints CONSTANT)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE setParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE setTabOrder)
    TONVIK_COOL_BIDI_PROPERTIES
    TONVIK_COOL_TAB_STOP_PROPERTY
    Q_PROPERTY(bool Cancel READ Cancel WRITE setCancel)
    Q_PROPERTY(coolctrls::TModalResult ModalResult READ ModalResult WRITE setModalResult)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Default READ isDefault WRITE setDefault)
    Q_PROPERTY(bool Animated READ Animated WRITE setAnimated)
    Q_PROPERTY(uint BtnPaintOptions READ btnPaintOptionBits WRITE setBtnPaintOptionBits)
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    Q_PROPERTY(platform::TColor ColorStart READ ColorStart WRITE setColorStart)
    Q_PROPERTY(platform::TColor ColorEnd READ ColorEnd WRITE setColorEnd)
    Q_PROPERTY(int GradientDirection READ gradientDirectionValue WRITE setGradientDirectionValue)
    Q_PROPERTY(coolctrls::TCoolImages *CoolImages READ CoolImages WRITE setCoolImages)
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(platform::TImageList *Images READ Images WRITE setImages)
    Q_PROPERTY(quint32 Interval READ Interval WRITE setInterval)
    Q_PROPERTY(uint Options READ optionBits WRITE setOptionBits)
    Q_PROPERTY(int Layout READ layoutValue WRITE setLayoutValue)
    Q_PROPERTY(int Margin READ Margin WRITE setMargin)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE setNumGlyphs)
    TONVIK_SHADOWED_CAPTION_PROPERTIES
    Q_PROPERTY(int Spacing READ Spacing WRITE setSpacing)
    Q_PROPERTY(int TransparencyLevel READ TransparencyLevel WRITE setTransparencyLevel)
    Q_PROPERTY(bool IsFocused READ IsFocused)
    Q_PROPERTY(bool MouseInControl READ MouseInControl)
    Q_PROPERTY(int FrameIndex READ FrameIndex)
    TONVIK_COOL_FONT_PROPERTIES

public:
    explicit TCoolBtn(QWidget *parent = nullptr);
    ~TCoolBtn() override;

    // ---- published properties ---------------------------------------------
    QString Caption() const { return text(); }
    void setCaption(const QString &value) { setText(value); }

    bool Animated() const { return m_animated; }
    // Starts or stops FrameTimer; repaints.
    void setAnimated(bool value);
    TBtnPaintOptions BtnPaintOptions() const { return m_btnPaintOptions; }
    // Takes effect at the next paint.
    void setBtnPaintOptions(TBtnPaintOptions value) { m_btnPaintOptions = value; }

    // Solid face colour (a colour value; system colours allowed).
    platform::TColor Color() const { return m_color; }
    void setColor(platform::TColor value);
    // Gradient colours and direction; repaint only while ocPaintGradiently.
    platform::TColor ColorStart() const { return m_colorStart; }
    void setColorStart(platform::TColor value);
    platform::TColor ColorEnd() const { return m_colorEnd; }
    void setColorEnd(platform::TColor value);
    TGradientDirection GradientDirection() const { return m_gradientDirection; }
    void setGradientDirection(TGradientDirection value);

    // CoolImages, idWallpaper, Wallpaper and TransparencyLevel:
    // TWallpaperControl.

    // The picture beside the caption (held by ButtonGlyph); a change of its
    // pixels repaints.
    platform::TBitmap &Glyph() { return m_buttonGlyph.Glyph(); }
    // Copies the bitmap (nullptr empties the glyph); repaints.
    void setGlyph(const platform::TBitmap *bitmap);

    // Source of the animation frames; its changes repaint the button, its
    // destruction drops the reference.
    platform::TImageList *Images() const { return m_images.data(); }
    void setImages(platform::TImageList *images);
    // Milliseconds between animation frames.
    quint32 Interval() const { return m_interval; }
    void setInterval(quint32 value);

    TCoolOptions Options() const { return m_options; }
    // Honoured: ocPaintWallpaper, ocStretchWallpaper, ocPaintGradiently,
    // ocRoundedForm, ocFlatBorder, ocPaintTransparently. A change lays the
    // button out afresh (there is no native window to re-create), repaints
    // and tells it and its children that its colours changed.
    void setOptions(TCoolOptions value);

    // Escape in the button's window clicks it (while it is visible and
    // enabled).
    bool Cancel() const { return m_cancel; }
    void setCancel(bool value);
    // Set as the window's result by a click, before OnClick (whose handler
    // may set the dialog's result back to 0 to keep it open); a modal
    // dialog closes with it. A window that is no dialog gets it as its
    // "ModalResult" property.
    TModalResult ModalResult() const { return m_modalResult; }
    void setModalResult(TModalResult value) { m_modalResult = value; }
    // What a click does: the modal result, then OnClick.
    void Click();

    TButtonLayout Layout() const { return m_layout; }
    void setLayout(TButtonLayout value);
    // Pixels between edge and glyph, -1 centres; values below -1 are ignored.
    int Margin() const { return m_margin; }
    void setMargin(int value);
    // Sub-images across Glyph; 0 and negative values are ignored, values
    // above 2 are stored as 2.
    int NumGlyphs() const { return m_buttonGlyph.NumGlyphs(); }
    void setNumGlyphs(int value);
    // Pixels between glyph and caption, -1 automatic.
    int Spacing() const { return m_spacing; }
    void setSpacing(int value);

    // Links the button to an action: caption, enabled state and clicks
    // follow it (QAbstractButton has no action link of its own). An action
    // that carries an image list in its dynamic property "Images" (a
    // platform::TImageList *) and an index into it in "ImageIndex" gives the
    // button its glyph while Glyph is empty.
    QAction *Action() const { return m_action.data(); }
    void setAction(QAction *action);
    static constexpr const char *ActionImagesProperty = "Images";
    static constexpr const char *ActionImageIndexProperty = "ImageIndex";

    // ---- state ----------------------------------------------------------------
    // Whether the window treats this button as its active default button:
    // the focused (auto-default) button, or the Default button while no
    // other auto-default button has the focus.
    bool IsFocused() const;
    // Between mouse enter and mouse leave.
    bool MouseInControl() const { return m_mouseInControl; }
    // The animation frame shown next (image index in Images).
    int FrameIndex() const { return m_frameIndex; }
    // The animation clock: enabled exactly while Animated, interval
    // Interval. Tests step it with trigger().
    platform::TTimer *FrameTimer() const { return m_frameTimer; }
    // The canvas the face is painted on; attached only while painting.
    platform::TCanvas &FaceCanvas() { return m_faceCanvas; }
    // The glyph holder of Glyph.
    TGlyph &ButtonGlyph() { return m_buttonGlyph; }
    // The last off-screen animation frame (face with the glyph of the frame
    // shown), as copied to the window; null before the first tick.
    const QImage &AnimationFrame() const { return m_animationFrame; }

    // Paints the face as the window shows it in the given state (pressed,
    // focus) into canvas, in the button's client coordinates, then calls
    // OnDrawButton with that canvas.
    void PaintItem(platform::TCanvas &canvas, bool pressed, bool focus);

    // The erase step: the ancestor's background (ocPaintTransparently), the
    // wallpaper (ocPaintWallpaper), the gradient (ocPaintGradiently), else
    // the face colour. A wallpaper option without a wallpaper paints
    // nothing: what lies under the button (its parent) shows.
    void EraseBackground(platform::TCanvas &canvas) override;

    // ---- events -----------------------------------------------------------------
    platform::TNotifyEvent OnMouseEnter;
    platform::TNotifyEvent OnMouseLeave;
    TDrawButtonEvent OnDrawButton;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    // The caption's shadow (ShadowColor, ShadowSize, ShadowPos, SimpleView).
    void ShadowChanged() override { update(); }

private:
    uint btnPaintOptionBits() const { return m_btnPaintOptions.toInt(); }
    void setBtnPaintOptionBits(uint bits) { setBtnPaintOptions(TBtnPaintOptions::fromInt(bits)); }
    uint optionBits() const { return m_options.toInt(); }
    void setOptionBits(uint bits) { setOptions(TCoolOptions::fromInt(bits)); }
    int gradientDirectionValue() const { return m_gradientDirection; }
    void setGradientDirectionValue(int v) { setGradientDirection(v == gdVertical ? gdVertical : gdHorizontal); }
    int layoutValue() const { return m_layout; }
    void setLayoutValue(int v);

    void paintRectangularFace(platform::TCanvas &canvas, bool pressed, bool focus);
    void paintEllipticFace(platform::TCanvas &canvas, bool pressed, bool focus);
    // Glyph and caption; answers the caption rectangle.
    QRect paintGlyphAndCaption(platform::TCanvas &canvas, bool pressed);
    // Whether the edge (or the elliptic ring) is drawn.
    bool edgeVisible(bool pressed) const;
    bool animating() const { return m_animated && m_images; }
    // A holder with image FrameIndex of Images.
    void loadFrameGlyph(TGlyph &glyph) const;
    unsigned biDiFlags() const;
    void prepareFont(platform::TCanvas &canvas) const;
    void frameTimerTick();
    void actionChanged();
    void focusChanged();
    void gradientChanged();
    void colorsChanged();

    TGlyph m_buttonGlyph;
    platform::TCanvas m_faceCanvas;
    platform::TTimer *m_frameTimer;
    QPointer<platform::TImageList> m_images;
    QMetaObject::Connection m_imagesChanged;
    QMetaObject::Connection m_imagesDestroyed;
    QMetaObject::Connection m_focusChanged;
    QPointer<QAction> m_action;
    QImage m_animationFrame;
    bool m_showAnimationFrame = false;

    bool m_animated = false;
    TBtnPaintOptions m_btnPaintOptions{bpoDrawFocus, bpoDrawDefault};
    platform::TColor m_color = platform::clBtnFace;
    platform::TColor m_colorStart = platform::clBtnFace;
    platform::TColor m_colorEnd = platform::clBtnShadow;
    TGradientDirection m_gradientDirection = gdHorizontal;
    quint32 m_interval = 1000;
    TCoolOptions m_options;
    TButtonLayout m_layout = blGlyphLeft;
    int m_margin = -1;
    int m_spacing = 4;
    bool m_mouseInControl = false;
    bool m_paintedIsFocused = false;
    bool m_cancel = false;
    QShortcut *m_cancelShortcut = nullptr; // child, while Cancel
    TModalResult m_modalResult = mrNone;
    int m_frameIndex = 0;
};

} // namespace coolctrls
