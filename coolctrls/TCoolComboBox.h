#pragma once

#include "CoolControlProperties.h"
#include "CoolControlSupport.h"
#include "TCoolItemDelegate.h"
#include "TCoolItemsControl.h"

#include "platform/Events.h"

#include <QComboBox>
#include <QPointer>
#include <QStringList>

class QStyle;
class QStyleOptionComboBox;

namespace coolctrls {

// A drop-down list selector whose items are painted by the shared item
// painter (glyph, shadowed caption, bevel, selection colour, font or
// wallpaper), in a field and drop button of the classic look. ItemIndex
// reads and writes the selected entry; writing it from code raises nothing,
// and OnChange is raised only when the user picks an entry. The drop-down
// list can be wider than the control (ListBoxWidth), placed left, right or
// centred under it (Alignment); its wallpaper stays fixed while it scrolls,
// and it scrolls sideways when an item is wider than the list. The control
// can fill itself with colours, fonts, printers, check items or the entries
// of a folder (ExtendedStyle).
class TCoolComboBox : public QComboBox,
                      public TCoolItemsControl,
                      public platform::TControlEvents,
                      public platform::TControl
{
    Q_OBJECT
    TONVIK_COOL_ITEMS_PROPERTIES
    TONVIK_COOL_CONTROL_PROPERTIES
    TONVIK_COOL_CTL3D_PROPERTIES
    TONVIK_COOL_TAB_STOP_PROPERTY
    Q_PROPERTY(int ListBoxWidth READ ListBoxWidth WRITE setListBoxWidth)
    Q_PROPERTY(int Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE setDropDownCount)
    TONVIK_COOL_FONT_PROPERTIES

public:
    // bsNone gives a 2-pixel see-through ring instead of the sunken frame.
    explicit TCoolComboBox(QWidget *parent = nullptr);
    ~TCoolComboBox() override;

    // The item's own data (check mode: its check record's), not Qt's
    // per-role item data.
    using TCoolItemsControl::setItemData;

    // Setting the colour turns ParentColor off.
    void setColor(platform::TColor value);

    QStringList Items() const;
    void setItems(const QStringList &items);
    int ItemIndex() const override { return currentIndex(); }
    // Values outside the entries select nothing (-1). Raises no OnChange.
    void setItemIndex(int value) override;
    int ListBoxWidth() const { return m_listBoxWidth; }
    // 0 stores the current Width.
    void setListBoxWidth(int value) { m_listBoxWidth = value == 0 ? width() : value; }
    int Alignment() const { return m_alignment; }
    void setAlignment(int value) { m_alignment = TPopupAlignment(qBound(0, value, 2)); }
    int DropDownCount() const { return maxVisibleItems(); }
    void setDropDownCount(int value) { setMaxVisibleItems(qMax(1, value)); }
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int value);
    void setChecked(int index, bool value) { m_items.setChecked(index, value); }

    // Left edge of a drop-down list W wide placed under a list that the
    // platform put at [left, right): paLeft keeps left, paRight ends at
    // right, paCenter centres it (halvings truncate toward zero).
    static int PopupLeft(int left, int right, int width, TPopupAlignment alignment);
    // The wallpaper area of the drop-down list (its client rectangle, in its
    // own coordinates; with a horizontal scroll bar, as wide as the whole
    // scroll range); empty until the list first opens.
    QRect ListRect() const { return m_listRect; }
    // Whole-list repaints caused by a change of the top item (the fixed
    // wallpaper); for tests.
    int FixedBackgroundRepaints() const { return m_fixedRepaints; }
    // What re-creating the control's window does to the items and their
    // check states.
    void RecreateWnd() { m_items.Recreate(); }

    platform::TNotifyEvent OnChange;
    platform::TNotifyEvent OnDropDown;
    platform::TNotifyEvent OnMouseEnter;
    platform::TNotifyEvent OnMouseLeave;
    TItemPainter::TDrawItemEvent &OnDrawItem() { return m_delegate->OnDrawItem; }
    std::function<void(int index, int &height)> &OnMeasureItem() { return m_delegate->OnMeasureItem; }

    void showPopup() override;
    void hidePopup() override;

    // The draw state of the closed field: odComboBoxEdit, with odSelected
    // and odFocused while the control has the focus, odDisabled while it
    // is disabled.
    TOwnerDrawState FieldState() const;
    // Whether the control counts as focused: it has the focus, or its
    // drop-down list (which took the focus from it) is open.
    bool Focused() const;
    bool ListOpen() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void ApplyParentColor(platform::TColor color) override { TCoolItemsControl::setColor(color); }
    // The frame's look follows Ctl3D.
    void Ctl3DChanged() override { update(); }

private:
    void AddItem(const QString &text) override { addItem(text); }
    int ExtentLimit() const override { return m_listBoxWidth; }
    void repaintItems();
    void toggleCurrent();
    void topIndexChanged(int top);
    void updateListRect();
    // The look of the field and its drop button: with Ctl3D the classic
    // sunken frame; without it the face one pixel inside a one-pixel line.
    QStyleOptionComboBox faceOption() const;
    bool flatLine() const { return m_borderStyle == bsSingle && !Ctl3D(); }

    TCoolItemDelegate *m_delegate;
    int m_listBoxWidth = 0;
    TPopupAlignment m_alignment = paLeft;
    TBorderStyle m_borderStyle = bsSingle;
    QRect m_listRect;
    bool m_listPrepared = false;
    int m_fixedRepaints = 0;
    // The top row at the last whole-list repaint (each control its own).
    int m_lastTopIndex = 0;
};

} // namespace coolctrls
