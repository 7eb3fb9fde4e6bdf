#include "TCoolComboBox.h"

#include "CoolUtils.h"
#include "platform/Application.h"
#include "platform/canvas/TCanvas.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace coolctrls {

using namespace platform;

TCoolComboBox::TCoolComboBox(QWidget *parent)
    : QComboBox(parent)
    , TCoolItemsControl(this, model(), TCoolItems::Kind::ComboBox)
    , TControlEvents(this)
    , TControl(this)
{
    // The control has a colour of its own (clWindow), not its parent's.
    setParentColor(false);
    // The closed field and its drop button as the classic platform draws
    // them.
    if (QStyle *classic = ClassicStyle())
        setStyle(classic);
    resize(145, 21);
    m_listBoxWidth = width();
    setMaxVisibleItems(8);
    m_items.setOptions(TCoolOptions{ocBevelOnlyIfSel});
    // A plain list view for the drop-down list: the toolkit's own combo
    // list keeps its contents as wide as the list, so it could never
    // scroll sideways to an item wider than itself.
    setView(new QListView(this));
    m_delegate = new TCoolItemDelegate(m_items, this);
    m_delegate->Area = [this] {
        return TItemArea{m_listRect.isNull() ? rect() : m_listRect, QPoint()};
    };
    setItemDelegate(m_delegate);

    connect(&m_items, &TCoolItems::Changed, this, &TCoolComboBox::repaintItems);

    // activated is raised by the user's pick only, never by setCurrentIndex.
    // OnClick is the user's pick, raised before OnChange; a press and
    // release alone (opening the list) is none.
    setClickFromMouse(false);
    connect(this, &QComboBox::activated, this, [this] {
        m_items.SelectionChanged();
        RaiseClick();
        if (OnChange)
            OnChange(this);
    });
}

TCoolComboBox::~TCoolComboBox() = default;

void TCoolComboBox::setColor(TColor value)
{
    TCoolItemsControl::setColor(value);
    ColorChanged();
}

void TCoolComboBox::repaintItems()
{
    update();
    if (m_listPrepared)
        view()->viewport()->update();
}

QStringList TCoolComboBox::Items() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}

void TCoolComboBox::setItems(const QStringList &items)
{
    const QSignalBlocker block(this);
    clear();
    addItems(items);
    setCurrentIndex(-1);
}

void TCoolComboBox::setItemIndex(int value)
{
    const QSignalBlocker block(this);
    setCurrentIndex(value >= 0 && value < count() ? value : -1);
    update();
}

void TCoolComboBox::setBorderStyle(int value)
{
    const auto style = value == bsNone ? bsNone : bsSingle;
    if (m_borderStyle == style)
        return;
    m_borderStyle = style;
    update();
}

int TCoolComboBox::PopupLeft(int left, int right, int width, TPopupAlignment alignment)
{
    switch (alignment) {
    case paRight: return right - width;
    case paCenter: return left + (right - left) / 2 - width / 2;
    case paLeft: break;
    }
    return left;
}

void TCoolComboBox::showPopup()
{
    if (OnDropDown)
        OnDropDown(this);
    if (!m_listPrepared) {
        // The drop-down list exists from its first opening on.
        m_listPrepared = true;
        view()->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        // By pixels: scrolled by items, a one-column list has no sideways
        // range at all.
        view()->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        view()->installEventFilter(this);
        connect(view()->verticalScrollBar(), &QScrollBar::valueChanged, this, &TCoolComboBox::topIndexChanged);
    }
    QComboBox::showPopup();
    QWidget *list = view()->window();
    if (list == window())
        return;
    guarded([&] {
        QRect r = list->geometry();
        // The list gets what lies below the control: it starts under the
        // control's bottom row, not on it.
        const int below = mapToGlobal(QPoint(0, height())).y();
        if (r.top() < below && r.bottom() >= below)
            r.moveTop(below);
        const int w = m_listBoxWidth;
        if (w > 0 && r.width() != w)
            r = QRect(PopupLeft(r.left(), r.left() + r.width(), w, m_alignment), r.top(), w, r.height());
        if (r != list->geometry())
            list->setGeometry(r);
        updateListRect();
        if (m_borderStyle == bsNone)
            update();
    });
    // The field keeps its focused look while the list is down.
    update();
}

void TCoolComboBox::hidePopup()
{
    QComboBox::hidePopup();
    update();
}

void TCoolComboBox::updateListRect()
{
    // The scroll range as the list lays its items out now.
    view()->doItemsLayout();
    m_listRect = view()->viewport()->rect();
    const QScrollBar *bar = view()->horizontalScrollBar();
    if (bar->maximum() > bar->minimum()) {
        // The wallpaper is laid over the whole scroll range, so the part
        // scrolled into view continues it.
        m_listRect.setLeft(bar->minimum());
        m_listRect.setWidth(bar->maximum() - bar->minimum() + bar->pageStep());
    }
}

bool TCoolComboBox::ListOpen() const
{
    return m_listPrepared && view()->window() != window() && view()->window()->isVisible();
}

bool TCoolComboBox::Focused() const
{
    return hasFocus() || ListOpen();
}

void TCoolComboBox::topIndexChanged(int top)
{
    // The list scrolls by moving its pixels; a wallpaper laid over the whole
    // list must stay where it is, so the whole list is painted again.
    if (top != m_lastTopIndex && m_items.FixedBackground()) {
        view()->viewport()->update();
        ++m_fixedRepaints;
        m_lastTopIndex = top;
    }
}

TOwnerDrawState TCoolComboBox::FieldState() const
{
    TOwnerDrawState state{odComboBoxEdit};
    if (!isEnabled())
        state.setFlag(odDisabled);
    else if (Focused())
        state.setFlag(odSelected).setFlag(odFocused);
    return state;
}

QStyleOptionComboBox TCoolComboBox::faceOption() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    if (flatLine()) {
        option.frame = false;
        option.rect.adjust(1, 1, -1, -1);
    }
    return option;
}

void TCoolComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    const QStyleOptionComboBox option = faceOption();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);

    QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    TCanvas canvas(&painter);
    if (flatLine()) {
        canvas.FrameRect(rect(), clWindowFrame);
        // The field keeps a pixel's gap to the line, as it does inside the
        // sunken frame.
        const bool rtl = option.direction == Qt::RightToLeft;
        field.adjust(rtl ? 0 : 1, 1, rtl ? -1 : 0, -1);
    }
    const TOwnerDrawState state = FieldState();
    const int index = currentIndex();
    TItemPainter::PrepareCanvas(canvas, m_items, index, field, state);
    if (index >= 0) {
        if (m_delegate->OnDrawItem) {
            m_delegate->OnDrawItem(canvas, index, field, state);
        } else {
            if (m_listRect.isNull())
                m_listRect = rect();
            TItemPainter::Paint(canvas, m_items, index, itemText(index), field, state, TItemArea{m_listRect, QPoint()});
        }
    }
    if (state.testFlag(odFocused))
        canvas.DrawFocusRect(field);

    if (m_items.Options().testFlag(ocFlatBorder))
        DrawFlatBorder(&canvas, this, Focused());
    if (m_borderStyle == bsNone) {
        // The 2-pixel ring between the client rectangle and its inside,
        // then the edge borders: both only without the sunken frame.
        const QRect client = rect();
        QWidget *ancestor = GetParentAtLevel(this, TransparencyLevel());
        const int w = client.width(), h = client.height();
        for (const QRect &strip : {QRect(0, 0, w, 2), QRect(0, h - 2, w, 2), QRect(0, 2, 2, h - 4), QRect(w - 2, 2, 2, h - 4)})
            PaintParentBackgroundClipped(ancestor, canvas, strip, true);
        DrawEdgeBorders(&canvas, this, m_items.EdgeBorders(), m_items.BordersTrColor(), m_items.BorderPen());
    }
}

void TCoolComboBox::toggleCurrent()
{
    const int index = currentIndex();
    if (index < 0)
        return;
    m_items.setChecked(index, !m_items.Checked(index));
    // Only the check area: in the field, and in the open list.
    update(QRect(2, 2, m_items.ItemHeight(), height() - 2));
    if (m_listPrepared && view()->isVisible()) {
        QRect r = view()->visualRect(model()->index(index, 0));
        r.setWidth(m_items.ItemHeight() + 2);
        view()->viewport()->update(r);
    }
}

void TCoolComboBox::keyPressEvent(QKeyEvent *event)
{
    // Ctrl+Tab goes to the tab control around (its next page), not to the
    // type-ahead search, which would take the tab character.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) && (event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    // Space toggles the current item in check mode instead of opening the
    // list.
    if (m_items.CheckMode() && event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        guarded([this] { toggleCurrent(); });
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
    guarded([&] {
        const auto result = m_items.DialogKey(event->key(), event->modifiers());
        if (result != TCoolItems::TDialogResult::None)
            update();
        // A confirmed font dialog is a change; a colour picked in the
        // colour dialog only selects its entry, as writing it from code does.
        if (result == TCoolItems::TDialogResult::Font && OnChange)
            OnChange(this);
    });
}

bool TCoolComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress && m_items.CheckMode()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space) {
            const QModelIndex current = view()->currentIndex();
            if (current.isValid()) {
                guarded([&] {
                    m_items.setChecked(current.row(), !m_items.Checked(current.row()));
                    QRect r = view()->visualRect(current);
                    r.setWidth(m_items.ItemHeight() + 2);
                    view()->viewport()->update(r);
                });
            }
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TCoolComboBox::enterEvent(QEnterEvent *event)
{
    QComboBox::enterEvent(event);
    m_items.MouseEntered(OnMouseEnter);
}

void TCoolComboBox::leaveEvent(QEvent *event)
{
    QComboBox::leaveEvent(event);
    m_items.MouseLeft(OnMouseLeave);
}

void TCoolComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    update();
}

void TCoolComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    update();
}

void TCoolComboBox::moveEvent(QMoveEvent *event)
{
    QComboBox::moveEvent(event);
    update();
}

void TCoolComboBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::PaletteChange) {
        if (m_items.Options().testFlag(ocPaintTransparently))
            update();
    }
    if (event->type() == QEvent::EnabledChange)
        update();
    if (event->type() == QEvent::FontChange)
        m_items.ControlFontChanged();
}

} // namespace coolctrls
