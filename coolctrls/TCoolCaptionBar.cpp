#include "TCoolCaptionBar.h"
#include "CoolControlSupport.h"

#include "CoolUtils.h"

#include "platform/canvas/Fonts.h"
#include "platform/canvas/SystemMetrics.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QMouseEvent>
#include <QWidget>

using namespace platform;

namespace coolctrls {

TCoolCaptionBar::TCoolCaptionBar(QWidget *control, const TWallpaperGroup &wallpaper)
    : QObject(control), m_control(control), m_wallpaper(wallpaper)
{
    OnRefresh = [this] { m_control->update(); };
    m_source.OnBitmapChanged = [this] {
        if (OnWallpaperChanged)
            OnWallpaperChanged();
        else
            Refresh();
    };
    m_control->installEventFilter(this);
}

TCoolCaptionBar::~TCoolCaptionBar() = default;

void TCoolCaptionBar::Refresh()
{
    if (OnRefresh)
        OnRefresh();
}

bool TCoolCaptionBar::setOptions(TCoolOptions options)
{
    const QMargins before = FrameMargins();
    const bool visible = !options.testFlag(ocNoCaption);
    const bool small = options.testFlag(ocSmallCaption);
    const bool paintWallpaper = options.testFlag(ocPaintCaptionWallpaper);
    const bool drag = !options.testFlag(ocNoDragUsingCaption);
    const bool changed = visible != m_visible || small != m_small || paintWallpaper != m_paintWallpaper
                      || drag != m_drag;
    m_visible = visible;
    m_small = small;
    m_paintWallpaper = paintWallpaper;
    m_drag = drag;
    if (!m_visible || !m_drag)
        m_dragging = false;
    if (changed)
        Refresh();
    return FrameMargins() != before;
}

bool TCoolCaptionBar::setCaption(const QString &value)
{
    if (!StoreChanged(m_caption, value))
        return false;
    Refresh();
    return true;
}

bool TCoolCaptionBar::setCaptionColor(TColor value)
{
    if (!StoreChanged(m_captionColor, value))
        return false;
    Refresh();
    return true;
}

bool TCoolCaptionBar::setCaptionTextColor(TColor value)
{
    if (!StoreChanged(m_captionTextColor, value))
        return false;
    Refresh();
    return true;
}

bool TCoolCaptionBar::setIdCaptionWallpaper(int value)
{
    if (!m_source.setIndex(value))
        return false;
    Refresh();
    return true;
}

void TCoolCaptionBar::setCaptionWallpaper(const TBitmap *bitmap)
{
    m_source.setBitmap(bitmap);
    Refresh();
}

const TBitmap *TCoolCaptionBar::ResolveCaptionWallpaper() const
{
    return m_wallpaper.Resolve(m_source);
}

int TCoolCaptionBar::CaptionHeight() const
{
    if (!m_visible)
        return 0;
    return GetSystemMetrics(m_small ? SM_CYSMCAPTION : SM_CYCAPTION);
}

QMargins TCoolCaptionBar::FrameMargins() const
{
    if (!m_visible)
        return {};
    const int fx = GetSystemMetrics(SM_CXDLGFRAME), fy = GetSystemMetrics(SM_CYDLGFRAME);
    return {fx, fy + CaptionHeight(), fx, fy};
}

QRect TCoolCaptionBar::CaptionRect(const QSize &controlSize) const
{
    if (!m_visible)
        return {};
    const int fx = GetSystemMetrics(SM_CXDLGFRAME), fy = GetSystemMetrics(SM_CYDLGFRAME);
    return Rect(fx, fy, controlSize.width() - fx, fy + CaptionHeight() - 1);
}

QRect TCoolCaptionBar::CaptionRect() const
{
    return CaptionRect(m_control->size());
}

TCoolCaptionBar::THitTest TCoolCaptionBar::HitTest(const QPoint &pos) const
{
    if (!m_visible)
        return htClient;
    if (CaptionRect().contains(pos))
        return m_drag ? htCaption : htNowhere;
    const QRect content = QRect(QPoint(0, 0), m_control->size()).marginsRemoved(FrameMargins());
    return content.contains(pos) ? htClient : htBorder;
}

void TCoolCaptionBar::Paint(TCanvas &canvas) const
{
    if (!m_visible)
        return;
    const int level = canvas.SaveDC();
    // The fixed dialog frame around the whole control.
    QRect frame(QPoint(0, 0), m_control->size());
    canvas.DrawEdge(frame, EDGE_RAISED, BF_RECT | BF_ADJUST);
    canvas.FrameRect(frame, clBtnFace);
    // The strip from the caption down to the content: the bar in its
    // default look, its 1-pixel border row in the face colour.
    const QRect b = CaptionRect();
    const int contentTop = FrameMargins().top();
    canvas.FillRect(Rect(b.left(), Bottom(b), Right(b), contentTop), clBtnFace);
    canvas.FillRect(b, clInactiveCaption);

    if (m_paintWallpaper) {
        if (const TBitmap *wallpaper = ResolveCaptionWallpaper())
            DrawWallpaper(canvas, *wallpaper, b, SRCCOPY, true);
    } else {
        canvas.FillRect(b, m_captionColor);
    }

    canvas.Font.Assign(captionFont(m_small));
    QRect text = b.translated(2, 0);
    canvas.SetTextColor(m_captionTextColor);
    canvas.SetBkMode(TRANSPARENT);
    canvas.DrawText(m_caption, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    canvas.RestoreDC(level);
}

bool TCoolCaptionBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_control || !m_visible)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        const THitTest hit = HitTest(e->position().toPoint());
        if (hit != htCaption && hit != htNowhere)
            return false;
        if (e->button() == Qt::LeftButton) {
            m_control->setFocus(Qt::MouseFocusReason);
            if (hit == htCaption) {
                m_dragging = true;
                m_pressGlobal = e->globalPosition().toPoint();
                m_pressPos = m_control->pos();
            }
        }
        return true;
    }
    case QEvent::MouseMove: {
        if (!m_dragging)
            return false;
        auto *e = static_cast<QMouseEvent *>(event);
        if (!(e->buttons() & Qt::LeftButton)) {
            m_dragging = false;
            return false;
        }
        // Positions in the parent's coordinates: the control moves inside
        // its parent, by the distance the mouse has gone since the press.
        m_control->move(m_pressPos + (e->globalPosition().toPoint() - m_pressGlobal));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (m_dragging && e->button() == Qt::LeftButton) {
            m_dragging = false;
            return true;
        }
        const THitTest hit = HitTest(e->position().toPoint());
        return hit == htCaption || hit == htNowhere;
    }
    case QEvent::MouseButtonDblClick: {
        auto *e = static_cast<QMouseEvent *>(event);
        const THitTest hit = HitTest(e->position().toPoint());
        // A double click on the caption would maximise a window: swallowed.
        return e->button() == Qt::LeftButton && (hit == htCaption || hit == htNowhere);
    }
    default:
        return false;
    }
}

} // namespace coolctrls
