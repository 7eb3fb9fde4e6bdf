#include "TCoolComboBox.h"

#include <QAbstractItemView>
#include <QStyledItemDelegate>

namespace coolctrls {

namespace {

// Rows of the fixed item height.
class ItemHeightDelegate : public QStyledItemDelegate
{
public:
    ItemHeightDelegate(TCoolComboBox *box) : QStyledItemDelegate(box), m_box(box) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(qMax(m_box->ItemHeight(), 1));
        return s;
    }

private:
    TCoolComboBox *m_box;
};

} // namespace

TCoolComboBox::TCoolComboBox(QWidget *parent)
    : QComboBox(parent)
{
    resize(145, 21);
    setItemDelegate(new ItemHeightDelegate(this));
    // activated is raised by the user's pick only, never by setCurrentIndex.
    connect(this, &QComboBox::activated, this, [this] {
        if (OnChange)
            OnChange(this);
    });
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
}

void TCoolComboBox::setItemHeight(int value)
{
    m_itemHeight = qMax(1, value);
}

QColor TCoolComboBox::SelFontColor() const
{
    return palette().color(QPalette::HighlightedText);
}

void TCoolComboBox::setSelFontColor(const QColor &value)
{
    m_selFontColor = value;
    coolctrls::detail::setFontColor(this, value, QPalette::HighlightedText);
}

void TCoolComboBox::showPopup()
{
    if (m_listBoxWidth > width())
        view()->setMinimumWidth(m_listBoxWidth);
    QComboBox::showPopup();
}

} // namespace coolctrls
