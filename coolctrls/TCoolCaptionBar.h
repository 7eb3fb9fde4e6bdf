#pragma once

#include "CoolTypes.h"
#include "TWallpaperGroup.h"

#include "platform/canvas/Colors.h"

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>

class QWidget;

namespace platform {
class TBitmap;
class TCanvas;
} // namespace platform

namespace coolctrls {

// The caption bar of a windowed skinned control (memo, list box): a small
// window title of the control's own, drawn in a frame the control reserves
// around its content, since a Qt widget has no non-client area.
//
// Geometry (control coordinates, classic exclusive right and bottom):
//   frame       a fixed dialog frame of SM_CXDLGFRAME x SM_CYDLGFRAME on all
//               four sides, plus the caption height above the content;
//               FrameMargins() is the space to reserve (QAbstractScrollArea:
//               add it to the viewport margins).
//   caption     CaptionRect(): the control's rectangle shrunk by the dialog
//               frame, bottom := top + caption height - 1, the caption height
//               being SM_CYSMCAPTION with ocSmallCaption, else SM_CYCAPTION;
//               the row below it is the bar's 1-pixel border.
//   Without a caption (ocNoCaption) the bar reserves and paints nothing.
//
// Painting, Paint(): the frame (raised edge and a face-coloured ring), the
// bar's default look (clInactiveCaption), then over CaptionRect either the
// caption wallpaper stretched (ocPaintCaptionWallpaper; the default look
// stays when none resolves) or CaptionColor; then Caption in the caption
// font (the small one with ocSmallCaption), CaptionTextColor, transparent,
// single line, vertically centred, 2 pixels from the bar's left edge.
//
// Caption wallpaper: idCaptionWallpaper in the store of the control's
// TWallpaperGroup, else the own CaptionWallpaper bitmap (created on first
// access), resolved afresh on each paint.
//
// Mouse: the bar installs itself as an event filter on the control and takes
// the mouse events that land on the caption: a left press gives the control
// the focus and, unless ocNoDragUsingCaption, starts a drag that moves the
// control inside its parent until release; a left double click on the
// caption is swallowed. Events elsewhere pass on untouched.
//
// The control owns the bar (QObject child); changes of the bar's look call
// OnRefresh (default: repaint the control).
class TCoolCaptionBar : public QObject
{
    Q_OBJECT

public:
    // Classic hit-test answers.
    enum THitTest { htNowhere = 0, htClient = 1, htCaption = 2, htBorder = 18 };

    // wallpaper: the control's wallpaper group, whose store also gives the
    // caption wallpaper; it must outlive the bar.
    TCoolCaptionBar(QWidget *control, const TWallpaperGroup &wallpaper);
    ~TCoolCaptionBar() override;

    QWidget *control() const { return m_control; }

    // Takes ocNoCaption, ocSmallCaption, ocPaintCaptionWallpaper and
    // ocNoDragUsingCaption from the control's options; the others are
    // ignored. Answers whether FrameMargins() changed (the control then lays
    // out its content again). Repaints when anything changed.
    bool setOptions(TCoolOptions options);
    bool Visible() const { return m_visible; }
    bool SmallCaption() const { return m_small; }
    bool PaintCaptionWallpaper() const { return m_paintWallpaper; }
    bool DragUsingCaption() const { return m_drag; }

    QString Caption() const { return m_caption; }
    // Each setter: when the value differs, store and refresh; answers
    // whether it changed.
    bool setCaption(const QString &value);
    platform::TColor CaptionColor() const { return m_captionColor; }
    bool setCaptionColor(platform::TColor value);
    platform::TColor CaptionTextColor() const { return m_captionTextColor; }
    bool setCaptionTextColor(platform::TColor value);
    int idCaptionWallpaper() const { return m_source.Index(); }
    bool setIdCaptionWallpaper(int value);
    // The own caption wallpaper, created on first access; a change of its
    // content refreshes the bar.
    platform::TBitmap *CaptionWallpaper() { return m_source.Bitmap(); }
    // Copies the bitmap (nullptr empties it) and refreshes.
    void setCaptionWallpaper(const platform::TBitmap *bitmap);
    // The caption wallpaper to paint, or nullptr.
    const platform::TBitmap *ResolveCaptionWallpaper() const;

    // Caption bar height of the current options (0 without a caption).
    int CaptionHeight() const;
    // Space taken by frame and caption on each side of the control.
    QMargins FrameMargins() const;
    // The caption rectangle for a control of the given size; empty without
    // a caption.
    QRect CaptionRect(const QSize &controlSize) const;
    QRect CaptionRect() const;
    // Hit test at a point in control coordinates: htCaption on the caption
    // (htNowhere instead with ocNoDragUsingCaption), htBorder on the rest of
    // the frame, htClient elsewhere.
    THitTest HitTest(const QPoint &pos) const;

    // Paints frame and caption bar over the control's rectangle; nothing
    // without a caption. The canvas is in control coordinates.
    void Paint(platform::TCanvas &canvas) const;

    // Whether a caption drag is under way.
    bool Dragging() const { return m_dragging; }

    // The bar's look changed. Default: the control's update().
    std::function<void()> OnRefresh;
    // The own caption wallpaper bitmap changed (assigned or drawn on): the
    // control's wallpaper-changed handling, which repaints all of it.
    // Without one, the bar refreshes.
    std::function<void()> OnWallpaperChanged;
    // Repaints through OnRefresh (the classic frame recalculation).
    void Refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_control;
    const TWallpaperGroup &m_wallpaper;
    TWallpaperSource m_source;
    QString m_caption;
    platform::TColor m_captionColor = platform::clInactiveCaption;
    platform::TColor m_captionTextColor = platform::clInactiveCaptionText;
    bool m_visible = false;
    bool m_small = false;
    bool m_paintWallpaper = false;
    bool m_drag = true;
    bool m_dragging = false;
    QPoint m_pressGlobal;
    QPoint m_pressPos;
};

} // namespace coolctrls
