#include "TCoolListBox.h"

#include "CoolUtils.h"
#include "platform/Application.h"
#include "platform/canvas/TCanvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace coolctrls {

using namespace platform;

TCoolListBox::TCoolListBox(QWidget *parent)
    : QListWidget(parent)
    , TCoolItemsControl(this, model(), TCoolItems::Kind::ListBox)
{
    if (QStyle *classic = ClassicStyle())
        setStyle(classic);
    resize(121, 97);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The items' background is painted with them, the rest of the list by
    // paintEvent: nothing is erased beforehand.
    viewport()->setAutoFillBackground(false);
    m_items.setOptions(TCoolOptions{ocBevelOnlyIfSel, ocNoCaption});
    m_items.setItemHeight(13);

    m_delegate = new TCoolItemDelegate(m_items, this);
    m_delegate->Area = [this] { return TItemArea{viewport()->rect(), viewport()->pos()}; };
    setItemDelegate(m_delegate);

    m_captionBar = new TCoolCaptionBar(this, m_items.Wallpaper());
    m_captionBar->OnRefresh = [this] { update(); };

    connect(&m_items, &TCoolItems::Changed, this, &TCoolListBox::repaintItems);
    connect(&m_items, &TCoolItems::OptionsChanged, this, &TCoolListBox::RecreateWnd);
    connect(this, &QListWidget::currentRowChanged, this, [this] { m_items.SelectionChanged(); });
    applyFrame();
}

TCoolListBox::~TCoolListBox() = default;

void TCoolListBox::repaintItems()
{
    update();
    viewport()->update();
}

QStringList TCoolListBox::Items() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << item(i)->text();
    return items;
}

void TCoolListBox::setItems(const QStringList &items)
{
    m_items.SetItems(items);
}

void TCoolListBox::setItemIndex(int value)
{
    if (value >= 0 && value < count())
        setCurrentRow(value);
    else {
        setCurrentRow(-1);
        clearSelection();
    }
}

void TCoolListBox::RecreateWnd()
{
    m_items.Recreate();
    applyFrame();
}

void TCoolListBox::applyFrame()
{
    // The caption bar brings its own frame; otherwise the classic sunken
    // one, or none for bsNone.
    m_captionBar->setOptions(m_items.Options());
    if (m_captionBar->Visible())
        setFrameStyle(QFrame::NoFrame);
    else if (m_borderStyle == bsNone)
        setFrameStyle(QFrame::NoFrame);
    else
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setViewportMargins(m_captionBar->FrameMargins());
    update();
}

void TCoolListBox::setBorderStyle(int value)
{
    const auto style = value == bsNone ? bsNone : bsSingle;
    if (m_borderStyle == style)
        return;
    m_borderStyle = style;
    applyFrame();
}

void TCoolListBox::setChecked(int index, bool value)
{
    if (m_items.Checked(index) == value)
        return;
    m_items.setChecked(index, value);
    viewport()->update(CheckArea(index));
}

QRect TCoolListBox::CheckArea(int index) const
{
    QRect r = visualRect(model()->index(index, 0));
    const int width = m_items.ItemHeight() + 2;
    if (layoutDirection() == Qt::RightToLeft)
        r.setLeft(r.right() + 1 - width);
    else
        r.setWidth(width);
    return r;
}

void TCoolListBox::toggle(int index)
{
    if (index < 0 || index >= count())
        return;
    setChecked(index, !m_items.Checked(index));
}

void TCoolListBox::paintBackground(TCanvas &canvas, const QRect &rect)
{
    const TCoolOptions options = m_items.Options();
    if (options.testFlag(ocPaintTransparently)) {
        const QPoint org = canvas.OffsetWindowOrg(viewport()->x(), viewport()->y());
        PaintParentBackgroundClipped(GetParentAtLevel(this, TransparencyLevel()), canvas,
                                     rect.translated(viewport()->pos()), true);
        canvas.SetWindowOrg(org);
        return;
    }
    const TBitmap *wallpaper = m_items.ResolveWallpaper();
    if (options.testFlag(ocPaintWallpaper) && wallpaper)
        DrawWallpaper(canvas, *wallpaper, viewport()->rect(), SRCCOPY, options.testFlag(ocStretchWallpaper));
    else
        canvas.FillRect(rect, m_items.Color());
}

void TCoolListBox::paintEvent(QPaintEvent *event)
{
    {
        // Below and between the items: the list's own background, so an
        // empty list shows its wallpaper too.
        QPainter painter(viewport());
        TCanvas canvas(&painter);
        paintBackground(canvas, event->rect());
        if (count() == 0 && hasFocus())
            canvas.DrawFocusRect(QRect(0, 0, viewport()->width(), m_items.ItemHeight()));
    }
    QListWidget::paintEvent(event);
}

bool TCoolListBox::event(QEvent *event)
{
    const bool result = QListWidget::event(event);
    if (event->type() == QEvent::Paint) {
        // The frame area: caption bar, flat border, edge borders.
        QPainter painter(this);
        TCanvas canvas(&painter);
        m_captionBar->Paint(canvas);
        m_items.PaintBorders(canvas);
    }
    return result;
}

void TCoolListBox::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    if (!m_items.CheckMode())
        return;
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    if (index.isValid() && CheckArea(index.row()).contains(pos))
        guarded([&] { toggle(index.row()); });
}

void TCoolListBox::mouseMoveEvent(QMouseEvent *event)
{
    QListWidget::mouseMoveEvent(event);
    if (!m_hotTray)
        return;
    // Below the last item no item is selected.
    const QModelIndex index = indexAt(event->position().toPoint());
    setItemIndex(index.isValid() ? index.row() : count());
}

void TCoolListBox::keyPressEvent(QKeyEvent *event)
{
    QListWidget::keyPressEvent(event);
    guarded([&] {
        if (m_items.CheckMode() && event->key() == Qt::Key_Space && ItemIndex() != -1)
            toggle(ItemIndex());
        const auto result = m_items.DialogKey(event->key(), event->modifiers());
        if (result != TCoolItems::TDialogResult::None) {
            repaintItems();
            if (result == TCoolItems::TDialogResult::Font && OnClick)
                OnClick(this);
        }
    });
}

void TCoolListBox::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    update();
    if (count() == 0)
        viewport()->update(QRect(0, 0, viewport()->width(), m_items.ItemHeight()));
}

void TCoolListBox::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    update();
    if (count() == 0)
        viewport()->update(QRect(0, 0, viewport()->width(), m_items.ItemHeight()));
}

void TCoolListBox::enterEvent(QEnterEvent *event)
{
    QListWidget::enterEvent(event);
    m_items.MouseEntered(OnMouseEnter);
}

void TCoolListBox::leaveEvent(QEvent *event)
{
    QListWidget::leaveEvent(event);
    m_items.MouseLeft(OnMouseLeave);
}

void TCoolListBox::scrollContentsBy(int dx, int dy)
{
    QListWidget::scrollContentsBy(dx, dy);
    // Scrolling moves the pixels; a wallpaper laid over the whole list must
    // stay where it is, so the whole list is painted again.
    const int top = indexAt(QPoint(0, 0)).row();
    if (top != m_lastTopIndex && m_items.FixedBackground()) {
        viewport()->update();
        ++m_fixedRepaints;
        m_lastTopIndex = top;
    }
}

void TCoolListBox::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    // A stretched wallpaper follows the list's size.
    if (m_items.FixedBackground())
        viewport()->update();
}

} // namespace coolctrls
