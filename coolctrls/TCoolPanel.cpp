#include "TCoolPanel.h"

#include "CoolAccessibility.h"

#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QChildEvent>
#include <QEvent>
#include <QPainter>

#include <vector>

using namespace platform;

namespace coolctrls {

TCoolPanel::TCoolPanel(QWidget *parent)
    : QWidget(parent), TBackgroundControl(this), TControlEvents(this), TControl(this)
{
    setParentColor(false);
    // Every pixel is painted by the panel (its background step covers the
    // whole client area), so Qt must not fill or compose anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    const int frame = FrameWidth();
    setContentsMargins(frame, frame, frame, frame);
    resize(185, 41);
    // A new look of the own wallpaper is a colour change: transparent
    // children and those with ParentColor hear of it.
    m_wallpaper.OnWallpaperChanged = [this] {
        update();
        NotifyColorChanged(this);
    };
    RegisterCoolAccessibility();
}

void TCoolPanel::setCaption(const QString &value) { StoreAndUpdate(this, m_caption, value); }
void TCoolPanel::setColor(TColor value)
{
    if (!StoreChanged(m_color, value))
        return;
    update();
    ColorChanged();
}

void TCoolPanel::setBorderStyle(TBorderStyle value)
{
    if (StoreChanged(m_borderStyle, value))
        frameChanged();
}

void TCoolPanel::frameChanged()
{
    // Aligned children go inside the whole frame, as AutoSize fits the
    // unaligned ones inside it.
    const int frame = FrameWidth();
    setContentsMargins(frame, frame, frame, frame);
    AlignControls(this);
    update();
    fitToChildren();
}

void TCoolPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (OnResize)
        OnResize(this);
}
void TCoolPanel::setAlignment(TAlignment value) { StoreAndUpdate(this, m_alignment, value); }
void TCoolPanel::setBevelOuter(TBevelCut value)
{
    if (StoreChanged(m_bevelOuter, value))
        frameChanged();
}
void TCoolPanel::setBevelInner(TBevelCut value)
{
    if (StoreChanged(m_bevelInner, value))
        frameChanged();
}
void TCoolPanel::setBevelWidth(int value)
{
    if (StoreChanged(m_bevelWidth, qMax(1, value)))
        frameChanged();
}
void TCoolPanel::setBorderWidth(int value)
{
    if (StoreChanged(m_borderWidth, qMax(0, value)))
        frameChanged();
}

int TCoolPanel::FrameWidth() const
{
    auto bevel = [this](TBevelCut cut) { return cut == bvNone ? 0 : m_bevelWidth; };
    return (m_borderStyle == bsSingle ? 1 : 0) + bevel(m_bevelOuter) + m_borderWidth + bevel(m_bevelInner);
}

void TCoolPanel::setAutoSize(bool value)
{
    if (!StoreChanged(m_autoSize, value))
        return;
    fitToChildren();
}

void TCoolPanel::childEvent(QChildEvent *event)
{
    QWidget::childEvent(event);
    // A new child is placed after it is added: its move tells the panel. A
    // removed one may be half destroyed already; only the bounds change.
    if (event->added()) {
        if (event->child()->isWidgetType())
            event->child()->installEventFilter(this);
    } else if (event->removed()) {
        fitToChildren();
    }
}

bool TCoolPanel::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (watched->parent() == this)
            fitToChildren();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TCoolPanel::fitToChildren()
{
    if (!m_autoSize || m_fitting)
        return;
    QRect bounds;
    std::vector<QWidget *> fitted;
    for (QObject *object : children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || child->isHidden())
            continue;
        if (const TControl *c = ControlOf(child); c && c->Align() != alNone && c->Align() != alCustom)
            continue;
        bounds |= child->geometry();
        fitted.push_back(child);
    }
    if (fitted.empty())
        return;
    m_fitting = true;
    const int frame = FrameWidth();
    const QPoint shift = QPoint(frame, frame) - bounds.topLeft();
    if (!shift.isNull())
        for (QWidget *child : fitted)
            child->move(child->pos() + shift);
    resize(bounds.width() + 2 * frame, bounds.height() + 2 * frame);
    m_fitting = false;
}

void TCoolPanel::setWallpaper(const platform::TBitmap *bitmap)
{
    if (bitmap && bitmap == m_wallpaper.source().existingBitmap())
        return;
    // A wallpaper of its own turns transparency off, without a repaint of
    // its own: the copy below invalidates.
    m_wallpaper.setTransparent(false);
    m_wallpaper.setWallpaper(bitmap);
    update();
}

void TCoolPanel::EraseBackground(TCanvas &canvas)
{
    const QRect r = rect();
    if (!m_wallpaper.PaintBackground(canvas, r))
        canvas.FillRect(r, m_color);
}

void TCoolPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    QRect r = rect();
    EraseBackground(canvas);
    canvas.Brush.setStyle(TBrushStyle::bsClear);
    if (m_borderStyle == bsSingle) {
        canvas.FrameRect(r, clWindowFrame);
        r.adjust(1, 1, -1, -1);
    }

    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        if (cut == bvLowered)
            canvas.Frame3D(r, clBtnShadow, clBtnHighlight, m_bevelWidth);
        else
            canvas.Frame3D(r, clBtnHighlight, clBtnShadow, m_bevelWidth);
    };
    bevel(m_bevelOuter);
    if (m_borderWidth > 0)
        canvas.Frame3D(r, m_color, m_color, m_borderWidth);
    bevel(m_bevelInner);

    // The caption: H is the height of "W"; the block of its lines (one
    // unless it holds line breaks) is centred vertically, in the font
    // colour whether enabled or not. One line lies where the toolkit's
    // panel puts it: top at (top + bottom - H) / 2.
    canvas.Font.Assign(font());
    canvas.Font.setColor(ControlFontColor(this));
    const int h = canvas.TextHeight("W");
    const int lines = int(m_caption.count(QLatin1Char('\n'))) + 1;
    const int top = (r.top() + Bottom(r) - h * lines) / 2;
    QRect text = Rect(r.left(), top, Right(r), top + h * lines);
    // Right-to-left reading mirrors the horizontal alignment.
    const unsigned format = BiDiFormat(DT_EXPANDTABS | DT_VCENTER | AlignmentFormat(m_alignment),
                                       layoutDirection() == Qt::RightToLeft, true);
    canvas.SetBkMode(TRANSPARENT);
    canvas.DrawText(m_caption, text, format);
}

void TCoolPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The parent's look changed: a transparent panel shows it.
    if ((event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) && Transparent())
        update();
}

} // namespace coolctrls
