#include "TCoolItemDelegate.h"

#include "TCoolItems.h"
#include "platform/canvas/TCanvas.h"

#include <QAbstractItemModel>
#include <QPainter>
#include <QStyle>
#include <QWidget>

namespace coolctrls {

TCoolItemDelegate::TCoolItemDelegate(TCoolItems &items, QObject *parent)
    : QAbstractItemDelegate(parent)
    , m_items(items)
{
    // Rows of another height or width: the views lay their rows out anew.
    const auto sizeChanged = [this] { emit sizeHintChanged(m_items.model()->index(0, 0)); };
    connect(&items, &TCoolItems::ItemHeightChanged, this, sizeChanged);
    connect(&items, &TCoolItems::ExtentChanged, this, sizeChanged);
}

TOwnerDrawState TCoolItemDelegate::DrawState(const QStyleOptionViewItem &option)
{
    TOwnerDrawState state;
    if (option.state & QStyle::State_Selected)
        state.setFlag(odSelected);
    if (option.state & QStyle::State_HasFocus)
        state.setFlag(odFocused);
    if (!(option.state & QStyle::State_Enabled))
        state.setFlag(odDisabled);
    return state;
}

void TCoolItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const TOwnerDrawState state = DrawState(option);
    const int row = index.row();
    platform::TCanvas canvas(painter);
    TItemPainter::PrepareCanvas(canvas, m_items, row, option.rect, state);
    if (row < 0)
        return;
    if (OnDrawItem)
        OnDrawItem(canvas, row, option.rect, state);
    else
        TItemPainter::Paint(canvas, m_items, row, index.data(Qt::DisplayRole).toString(), option.rect, state,
                            Area ? Area() : TItemArea{option.rect, QPoint()});
    if (FocusRect && state.testFlag(odFocused))
        canvas.DrawFocusRect(option.rect);
}

QSize TCoolItemDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    int height = m_items.ItemHeight();
    if (OnMeasureItem)
        OnMeasureItem(index.row(), height);
    return QSize(ColumnWidth > 0 ? ColumnWidth : m_items.HorizontalExtent(), qMax(1, height));
}

} // namespace coolctrls
