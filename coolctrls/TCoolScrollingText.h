#pragma once

#include "CoolControlProperties.h"
#include "CoolControlSupport.h"
#include "CoolTypes.h"
#include "TFocusAccelerator.h"
#include "TGlyph.h"
#include "TShadowedCaption.h"
#include "TThreadTimer.h"
#include "TBackgroundControl.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace coolctrls {

// A text that moves across its area one pixel per tick, in one of four
// directions, and starts over when it has left the area. The ticks come
// from a TThreadTimer (a thread of its own that hands each tick to the GUI
// thread). Each tick paints one frame off-screen - background (wallpaper,
// else Color, or with Transparent the parent's background captured once
// when the ticks start), glyph, shadowed text - and shows it in one copy.
// When Active goes false the text stops where it is and the last frame
// stays until the parent paints that area again; then the parent shows
// there, as under a hidden control, until the ticks start again. While hidden it does not tick; it catches up by the clock when it
// is shown again.
//
// What does not move between ticks is kept: the background (wallpaper,
// colour or captured parent), the text's measure and the shadowed text
// with its glyph, drawn once into a see-through picture. A tick copies the
// background, lays that picture over it at the new offset and repaints the
// control's rectangle only; each kept part is made again when what it was
// made from changes (compared at every use, so no setter can forget it).
//
// What every control inherits (Align, Anchors, Constraints, ParentColor,
// dragging) is platform::TControl's.
class TCoolScrollingText : public QWidget,
                           public TBackgroundControl,
                           public platform::TControlEvents,
                           public platform::TControl,
                           public TShadowedCaption
{
    Q_OBJECT
    TONVIK_COOL_GRAPHIC_CONTROL_PROPERTIES
    Q_PROPERTY(QStringList Strings READ Strings WRITE setStrings)
    Q_PROPERTY(bool Active READ Active WRITE setActive)
    Q_PROPERTY(uint Interval READ Interval WRITE setInterval)
    Q_PROPERTY(coolctrls::TScrollDirection ScrollDirection READ ScrollDirection WRITE setScrollDirection)
    Q_PROPERTY(coolctrls::TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(bool Stretched READ Stretched WRITE setStretched)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE setNumGlyphs)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE setShowAccelChar)
    TONVIK_SHADOWED_CAPTION_PROPERTIES
    Q_PROPERTY(QWidget *FocusControl READ FocusControl WRITE setFocusControl)
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    TONVIK_COOL_FONT_PROPERTIES

public:
    // Called each time the text has left the area; setting initialPosition
    // makes the next pass start at rest (0, 0) instead of the far edge.
    using TTextScrolledEvent = std::function<void(QObject *sender, bool &initialPosition)>;

    explicit TCoolScrollingText(QWidget *parent = nullptr);
    // Ends the timer thread first, so no tick reaches a control going away.
    ~TCoolScrollingText() override;

    // What a window does after creating the control from its description:
    // fits the size (AutoSize), puts the text at its entry position and
    // starts or stops the ticks as Active says.
    void Loaded();


    // The lines of the text, drawn joined by line breaks.
    QStringList Strings() const { return m_strings; }
    void setStrings(const QStringList &value);
    // The text list operations the program uses.
    void Clear() { setStrings({}); }
    void Add(const QString &line) { setStrings(m_strings + QStringList{line}); }

    bool Active() const { return m_active; }
    // On: the ticks start (and the parent's background is captured for
    // Transparent). Off: the text stops where it is.
    void setActive(bool value);
    // Milliseconds per one-pixel step; the timer takes the low 16 bits.
    uint Interval() const { return m_interval; }
    void setInterval(uint value);
    TScrollDirection ScrollDirection() const { return m_direction; }
    // A horizontal direction also resets Alignment to taLeftJustify.
    void setScrollDirection(TScrollDirection value);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment value);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool value);
    // Transparent (TBackgroundControl): the background is the parent's,
    // captured when the ticks start, instead of Color; a wallpaper still
    // wins.
    // The background without a wallpaper (and under a transparent text's
    // parent until it is captured).
    platform::TColor Color() const { return m_color; }
    void setColor(platform::TColor value);

    // The picture drawn before the text; NumGlyphs images side by side.
    platform::TBitmap *Glyph() { return &m_textGlyph.Glyph(); }
    void setGlyph(const platform::TBitmap *bitmap);
    void setGlyph(const QImage &image);
    int NumGlyphs() const { return m_textGlyph.NumGlyphs(); }
    // TGlyph::setNumGlyphsLimited: as a byte, 0 ignored, above 2 taken as 2.
    void setNumGlyphs(int value);

    // True: an "&" is an ordinary character and the accelerator (the letter
    // after the first single "&") focuses FocusControl. False: "&"
    // underlines the next letter and there is no accelerator.
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool value);
    QWidget *FocusControl() const { return m_accelerator.FocusControl(); }
    void setFocusControl(QWidget *control);
    // The accelerator letter (lower case) of the text, or a null QChar.
    QChar AccelChar() const { return TFocusAccelerator::AccelCharOf(m_joined); }
    // A key pressed with the accelerator modifier: focuses FocusControl when
    // it is the accelerator and the rules above allow; answers whether the
    // key was handled.
    bool DialogChar(QChar key);


    TTextScrolledEvent OnTextScrolled;

    // The text's top-left offset from the client origin.
    int ScrollX() const { return m_scrollX; }
    int ScrollY() const { return m_scrollY; }
    // The tick source; tests step it with trigger() after setManual(true).
    TThreadTimer &ScrollTimer() { return *m_scrollTimer; }
    // The parent's background under the control, captured when the ticks
    // start with Transparent set; null before.
    const QImage &BackgroundSnapshot() const { return m_backgroundSnapshot; }

    // One tick: a one-pixel step (or the wrap), then one new frame shown.
    void Tick();
    // The clock (milliseconds) by which a hidden ticker keeps its place:
    // once shown and then hidden (its page is not the current one, say) the
    // ticker's thread sleeps, and when it is shown again the text has moved
    // on by the ticks the time in between held. Tests put a stepped clock in.
    using TClock = std::function<qint64()>;
    void setClock(TClock clock);
    // The measured text (with the shadow offset and the glyph): what one
    // pass covers and what AutoSize takes.
    QSize TextExtent() const;
    // Puts the text at rest (true) or at its direction's entry position.
    void ResetPosition(bool initialPosition);
    // The frame as it is painted now (background, glyph, text).
    QImage RenderFrame();
    // Frames painted so far (one per tick plus repaints).
    int FramesPainted() const { return m_framesPainted; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void ApplyParentColor(platform::TColor color) override { setColor(color); }
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    // The shadow is part of the text's look and measure.
    void ShadowChanged() override { textChanged(); }
    void WallpaperLookChanged() override { changed(); }
    void TransparentChanged() override;

private:
    // The one-pixel step of a tick and the wrap with OnTextScrolled;
    // false when the handler destroyed the control.
    bool Step(const QSize &extent, bool *wrapped = nullptr);
    void suspend();
    void resume();
    // Takes the steps the clock says a suspended ticker has missed.
    void catchUp();
    void changed();
    void textChanged();
    void updateTimer();
    void adjustSize();
    void updateShortcut();
    void keepLastFrame(bool keep);
    void takeBackgroundSnapshot();
    const QString &joinedText() const { return m_joined; }
    unsigned textFormat() const;
    // Everything the drawn text and its measure depend on.
    struct TextLook
    {
        QString text;
        QFont font;
        platform::TColor fontColor;
        TShadowStyle shadow;
        bool enabled = true;
        int alignment = 0;
        bool showAccelChar = true;
        bool rightToLeft = false;
        qint64 glyphKey = 0;
        int numGlyphs = 1;
        bool operator==(const TextLook &) const = default;
    };
    // Everything the background depends on.
    struct BackgroundLook
    {
        const void *wallpaper = nullptr;
        qint64 wallpaperKey = 0;
        bool stretched = false;
        bool transparent = false;
        platform::TColor color;
        QSize size;
        qint64 snapshotKey = 0;
        bool operator==(const BackgroundLook &) const = default;
    };
    TextLook textLook() const;
    // TextExtent() for a look already taken (a tick takes it once).
    QSize textExtent(const TextLook &look) const;
    BackgroundLook backgroundLook() const;
    // The background is kept unless it is the parent's, drawn live because
    // no snapshot has been taken yet.
    bool liveBackground() const;
    void paintBackground(platform::TCanvas &canvas);
    // Glyph and text into the text rectangle r (left at ScrollX, top at
    // ScrollY, right and bottom at the client's).
    void paintText(platform::TCanvas &canvas, QRect r);
    // Makes the see-through text picture again when its look or, for a
    // right or centred text, the text rectangle's width has changed.
    void updateTextPicture(int textRectWidth, const TextLook &look);
    // The whole frame; returns where the text's pixels lie in it.
    QRect renderFrameInto(QImage &frame);
    // m_frame's text moved to the current offset over its kept background:
    // only the strip where the text was and where it is now is drawn again.
    // Returns that strip; the caller repaints it alone.
    QRect moveTextInFrame(const TextLook &look);

    TGlyph m_textGlyph;
    TThreadTimer *m_scrollTimer;
    QStringList m_strings;
    QString m_joined;  // the lines joined by line breaks
    TFocusAccelerator m_accelerator{this};
    bool m_active = false;
    // Stopped after ticking: the last frame stands until the parent paints
    // over it (m_lastFrameGone).
    bool m_keepingLastFrame = false;
    bool m_lastFrameGone = false;
    uint m_interval = 25;
    TScrollDirection m_direction = sdRightToLeft;
    TAlignment m_alignment = taLeftJustify;
    bool m_autoSize = false;
    bool m_showAccelChar = true;
    platform::TColor m_color = platform::clBtnFace;
    int m_scrollX = 0;
    int m_scrollY = 0;
    QImage m_backgroundSnapshot;
    bool m_snapshotPending = false;
    QImage m_frame;
    bool m_frameValid = false;
    QRect m_frameTextRect;  // where m_frame holds text pixels
    // Kept parts (see the class comment).
    mutable TextLook m_extentLook;
    mutable QSize m_extentControlSize;
    mutable QSize m_extent;
    mutable bool m_extentValid = false;
    QImage m_background;
    BackgroundLook m_backgroundLook;
    QImage m_textPicture;
    QPoint m_textPictureOrigin;  // where the text rectangle's corner lies in it
    QRect m_textPictureInk;      // the picture's pixels that are not see-through
    TextLook m_textPictureLook;
    int m_textPictureWidth = -1;
    int m_framesPainted = 0;
    TClock m_clock;
    // Hidden after being shown: the timer sleeps and m_hiddenSince is the
    // time from which the missed steps count.
    bool m_suspended = false;
    qint64 m_hiddenSince = 0;
};

} // namespace coolctrls
