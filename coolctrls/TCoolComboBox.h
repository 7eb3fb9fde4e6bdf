#pragma once

#include "CoolControlSupport.h"
#include "TCoolItemDelegate.h"
#include "TCoolItems.h"

#include "platform/Events.h"

#include <QComboBox>
#include <QPointer>
#include <QStringList>

class QStyle;

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
class TCoolComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE setItemIndex)
    Q_PROPERTY(int ListBoxWidth READ ListBoxWidth WRITE setListBoxWidth)
    Q_PROPERTY(int Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE setDropDownCount)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE setItemHeight)
    Q_PROPERTY(uint Color READ Color WRITE setColor)
    Q_PROPERTY(uint SelColor READ SelColor WRITE setSelColor)
    Q_PROPERTY(QString SelFontName READ SelFontName WRITE setSelFontName)
    Q_PROPERTY(int SelFontHeight READ SelFontHeight WRITE setSelFontHeight)
    Q_PROPERTY(QColor SelFontColor READ SelFontColor WRITE setSelFontColor)
    Q_PROPERTY(uint Options READ OptionBits WRITE setOptionBits)
    Q_PROPERTY(int BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(int BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(int BevelStyle READ BevelStyle WRITE setBevelStyle)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(int ExtendedStyle READ ExtendedStyle WRITE setExtendedStyle)
    Q_PROPERTY(bool ExtendedCheck READ ExtendedCheck WRITE setExtendedCheck)
    Q_PROPERTY(bool FlatCheckBox READ FlatCheckBox WRITE setFlatCheckBox)
    Q_PROPERTY(bool FontAutoUpdate READ FontAutoUpdate WRITE setFontAutoUpdate)
    Q_PROPERTY(bool TrueType READ TrueType WRITE setTrueType)
    Q_PROPERTY(bool LightColorControl READ LightColorControl WRITE setLightColorControl)
    Q_PROPERTY(QString FolderName READ FolderName WRITE setFolderName)
    Q_PROPERTY(QString FileMask READ FileMask WRITE setFileMask)
    Q_PROPERTY(uint FileType READ FileType WRITE setFileType)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE setNumGlyphs)
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(int idSelWallpaper READ idSelWallpaper WRITE setIdSelWallpaper)
    Q_PROPERTY(int TransparencyLevel READ TransparencyLevel WRITE setTransparencyLevel)
    Q_PROPERTY(uint ShadowColor READ ShadowColor WRITE setShadowColor)
    Q_PROPERTY(int ShadowSize READ ShadowSize WRITE setShadowSize)
    Q_PROPERTY(int ShadowPos READ ShadowPos WRITE setShadowPos)
    Q_PROPERTY(bool SimpleView READ SimpleView WRITE setSimpleView)
    Q_PROPERTY(uint EdgeBorders READ EdgeBordersBits WRITE setEdgeBordersBits)
    Q_PROPERTY(uint BordersTrColor READ BordersTrColor WRITE setBordersTrColor)
    Q_PROPERTY(uint SelectedColor READ SelectedColor)
    Q_PROPERTY(int MaxItemWidth READ MaxItemWidth)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(int FontHeight READ FontHeight WRITE setFontHeight)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE setFontUnderline)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(int Tag READ Tag WRITE setTag)
    TONVIK_COOL_FONT_ACCESSORS
    TONVIK_COOL_ITEMS_ACCESSORS

public:
    // bsNone gives a 2-pixel see-through ring instead of the sunken frame.
    explicit TCoolComboBox(QWidget *parent = nullptr);
    ~TCoolComboBox() override;

    QStringList Items() const;
    void setItems(const QStringList &items);
    int ItemIndex() const { return currentIndex(); }
    // Values outside the entries select nothing (-1). Raises no OnChange.
    void setItemIndex(int value);
    int ListBoxWidth() const { return m_listBoxWidth; }
    // 0 stores the current Width.
    void setListBoxWidth(int value) { m_listBoxWidth = value == 0 ? width() : value; }
    int Alignment() const { return m_alignment; }
    void setAlignment(int value) { m_alignment = TPopupAlignment(qBound(0, value, 2)); }
    int DropDownCount() const { return maxVisibleItems(); }
    void setDropDownCount(int value) { setMaxVisibleItems(qMax(1, value)); }
    void setItemHeight(int value);
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int value);
    void setOptions(TCoolOptions value);
    void setChecked(int index, bool value) { m_items.setChecked(index, value); }

    // Left edge of a drop-down list W wide placed under a list that the
    // platform put at [left, right): paLeft keeps left, paRight ends at
    // right, paCenter centres it (halvings truncate toward zero).
    static int PopupLeft(int left, int right, int width, TPopupAlignment alignment);
    // The wallpaper area of the drop-down list (its client rectangle, in its
    // own coordinates); empty until the list first opens.
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

private:
    void repaintItems();
    void toggleCurrent();
    void topIndexChanged(int top);

    TCoolItems m_items;
    TCoolItemDelegate *m_delegate;
    int m_listBoxWidth = 0;
    TPopupAlignment m_alignment = paLeft;
    TBorderStyle m_borderStyle = bsSingle;
    QRect m_listRect;
    bool m_listPrepared = false;
    int m_fixedRepaints = 0;
    // Shared by all combo boxes, as the classic unit kept it.
    int m_lastTopIndex = 0;
};

} // namespace coolctrls
