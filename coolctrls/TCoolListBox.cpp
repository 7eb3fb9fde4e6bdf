#include "TCoolListBox.h"

#include "CoolUtils.h"
#include "platform/Application.h"
#include "platform/canvas/TCanvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>

namespace coolctrls {

using namespace platform;

TCoolListBox::TCoolListBox(QWidget *parent)
    : QListWidget(parent)
    , TCoolItemsControl(this, model(), TCoolItems::Kind::ListBox)
    , TControlEvents(this)
    , TControl(this)
{
    // The list has a colour of its own (clWindow), not its parent's.
    setParentColor(false);
    // OnClick is the user's selection (a click on an item, a key that moves
    // the selection), not any press and release.
    setClickFromMouse(false);
    WatchMouseOf(viewport());
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
    // The caption wallpaper is one of the list's own bitmaps: its change
    // repaints the whole list and tells it the colours changed.
    m_captionBar->OnWallpaperChanged = [this] {
        repaintItems();
        QEvent colours(QEvent::PaletteChange);
        QCoreApplication::sendEvent(this, &colours);
    };

    connect(&m_items, &TCoolItems::Changed, this, &TCoolListBox::repaintItems);
    connect(&m_items, &TCoolItems::OptionsChanged, this, &TCoolListBox::RecreateWnd);
    // SelectedColor follows the user's selection, not ItemIndex written
    // from code.
    connect(this, &QListWidget::currentRowChanged, this, [this] {
        if (!m_selectingFromCode)
            m_items.SelectionChanged();
    });
    connect(&m_items, &TCoolItems::ItemHeightChanged, this, [this] {
        applyColumns();
        applyIntegralHeight();
    });
    // The scroll bars' containers are placed by the scroll area at every
    // layout; with a caption bar they are moved inside the frame again.
    horizontalScrollBar()->parentWidget()->installEventFilter(this);
    verticalScrollBar()->parentWidget()->installEventFilter(this);
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
    const QScopedValueRollback fromCode(m_selectingFromCode, true);
    if (value >= 0 && value < count())
        setCurrentRow(value);
    else {
        setCurrentRow(-1);
        clearSelection();
    }
}

void TCoolListBox::setColor(TColor value)
{
    TCoolItemsControl::setColor(value);
    ColorChanged();
}

void TCoolListBox::setColumns(int value)
{
    value = qMax(0, value);
    if (!StoreChanged(m_columns, value))
        return;
    applyColumns();
}

void TCoolListBox::applyColumns()
{
    // Several columns: the items flow down and on into the next column,
    // each column a fixed part of the list's width; the list scrolls
    // sideways by whole columns.
    if (m_columns > 0) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFlow(QListView::TopToBottom);
        setWrapping(true);
        const int columnWidth = qMax(1, viewport()->width() / m_columns);
        m_delegate->ColumnWidth = columnWidth;
        setGridSize(QSize(columnWidth, m_items.ItemHeight()));
        horizontalScrollBar()->setSingleStep(columnWidth);
        setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    } else {
        setFlow(QListView::TopToBottom);
        setWrapping(false);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_delegate->ColumnWidth = 0;
        setGridSize(QSize());
        setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    }
    doItemsLayout();
    repaintItems();
}

void TCoolListBox::applySelectionMode()
{
    setSelectionMode(!m_multiSelect      ? QAbstractItemView::SingleSelection
                     : m_extendedSelect ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::MultiSelection);
}

void TCoolListBox::setMultiSelect(bool value)
{
    if (!StoreChanged(m_multiSelect, value))
        return;
    applySelectionMode();
}

void TCoolListBox::setExtendedSelect(bool value)
{
    if (!StoreChanged(m_extendedSelect, value))
        return;
    applySelectionMode();
}

bool TCoolListBox::Selected(int index) const
{
    const QListWidgetItem *it = item(index);
    return it && it->isSelected();
}

void TCoolListBox::setSelected(int index, bool value)
{
    if (QListWidgetItem *it = item(index))
        it->setSelected(value);
}

int TCoolListBox::integralHeightFor(int h) const
{
    // Only the items' part of the height is cut to whole items; the frame
    // and the caption bar keep theirs.
    const int frame = h - viewport()->height();
    const int items = h - frame;
    const int rows = qMax(1, items / m_items.ItemHeight());
    return frame + rows * m_items.ItemHeight();
}

void TCoolListBox::setIntegralHeight(bool value)
{
    if (!StoreChanged(m_integralHeight, value))
        return;
    applyIntegralHeight();
}

void TCoolListBox::applyIntegralHeight()
{
    if (!m_integralHeight)
        return;
    const int h = integralHeightFor(height());
    if (h != height())
        resize(width(), h);
}

void TCoolListBox::RecreateWnd()
{
    m_items.Recreate();
    applyFrame();
}

void TCoolListBox::applyFrame()
{
    // The caption bar brings its own frame; otherwise the classic sunken
    // one, the one-pixel line without Ctl3D (drawn with the frame area), or
    // none for bsNone.
    m_captionBar->setOptions(m_items.Options());
    if (m_captionBar->Visible() || m_borderStyle == bsNone)
        setFrameStyle(QFrame::NoFrame);
    else if (Ctl3D())
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    else
        setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setViewportMargins(m_captionBar->FrameMargins());
    placeScrollBars();
    update();
}

void TCoolListBox::placeScrollBars()
{
    if (m_placingScrollBars || !m_captionBar->Visible())
        return;
    const QScopedValueRollback guard(m_placingScrollBars, true);
    // The scroll area puts its bars at its own edges, over the caption bar
    // and the frame: they go to the edges of the list's part instead.
    const QMargins frame = m_captionBar->FrameMargins();
    const QRect inside = rect().marginsRemoved(frame);
    QWidget *vertical = verticalScrollBar()->parentWidget();
    QWidget *horizontal = horizontalScrollBar()->parentWidget();
    const bool hasVertical = vertical->isVisibleTo(this);
    const bool hasHorizontal = horizontal->isVisibleTo(this);
    const int vw = hasVertical ? vertical->width() : 0;
    const int hh = hasHorizontal ? horizontal->height() : 0;
    if (hasVertical)
        vertical->setGeometry(inside.right() + 1 - vw, inside.top(), vw, inside.height() - hh);
    if (hasHorizontal)
        horizontal->setGeometry(inside.left(), inside.bottom() + 1 - hh, inside.width() - vw, hh);
}

bool TCoolListBox::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)
        && (watched == verticalScrollBar()->parentWidget() || watched == horizontalScrollBar()->parentWidget()))
        placeScrollBars();
    return QListWidget::eventFilter(watched, event);
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
    if (viewport()->pos() == QPoint(0, 0)) {
        // Without a border the items reach the control's edges, over where
        // the edge borders and their frame lie: they are drawn on the
        // items too, in the control's coordinates.
        QPainter painter(viewport());
        TCanvas canvas(&painter);
        m_items.PaintBorders(canvas, hasFocus());
    }
}

bool TCoolListBox::event(QEvent *event)
{
    const bool result = QListWidget::event(event);
    if (event->type() == QEvent::Paint) {
        // The frame area: caption bar or the flat line, flat border, edge
        // borders.
        QPainter painter(this);
        TCanvas canvas(&painter);
        m_captionBar->Paint(canvas);
        if (frameShape() == QFrame::Box)
            canvas.FrameRect(rect(), clWindowFrame);
        m_items.PaintBorders(canvas, hasFocus());
    }
    return result;
}

void TCoolListBox::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    if (event->button() == Qt::LeftButton && index.isValid())
        RaiseClick();
    if (!m_items.CheckMode())
        return;
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
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before)
        RaiseClick();
    guarded([&] {
        if (m_items.CheckMode() && event->key() == Qt::Key_Space && ItemIndex() != -1)
            toggle(ItemIndex());
        const auto result = m_items.DialogKey(event->key(), event->modifiers());
        if (result != TCoolItems::TDialogResult::None) {
            repaintItems();
            if (result == TCoolItems::TDialogResult::Font)
                RaiseClick();
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

void TCoolListBox::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_items.ControlFontChanged();
}

void TCoolListBox::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    placeScrollBars();
    if (m_columns > 0)
        applyColumns();
    applyIntegralHeight();
    // A stretched wallpaper follows the list's size.
    if (m_items.FixedBackground())
        viewport()->update();
}

} // namespace coolctrls
