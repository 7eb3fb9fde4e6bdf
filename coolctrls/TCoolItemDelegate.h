#pragma once

#include "CoolTypes.h"
#include "TItemPainter.h"

#include <QAbstractItemDelegate>

#include <functional>

namespace coolctrls {

class TCoolItems;

// Hands every item a view paints to the item painter: the draw state comes
// from the view's state (selected, focused, disabled), the canvas is
// prepared as the classic owner-drawn list prepares it, and the focus
// rectangle follows. Rows are ItemHeight high (or what OnMeasureItem says)
// and as wide as the horizontal extent; the views hear when either changes.
class TCoolItemDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    TCoolItemDelegate(TCoolItems &items, QObject *parent);

    // The draw state of an item painted with these view options.
    static TOwnerDrawState DrawState(const QStyleOptionViewItem &option);

    // Wallpaper area and origin of the view being painted.
    std::function<TItemArea()> Area;
    // Replaces the item painter when set.
    TItemPainter::TDrawItemEvent OnDrawItem;
    // Row height of an item, preset to ItemHeight (combo box only).
    std::function<void(int index, int &height)> OnMeasureItem;
    // Whether the focus rectangle is drawn for focused items.
    bool FocusRect = true;
    // Width of every item in a list of several columns; 0: the horizontal
    // extent.
    int ColumnWidth = 0;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    TCoolItems &m_items;
};

} // namespace coolctrls
