#pragma once

#include "CoolControlProperties.h"
#include "CoolControlSupport.h"
#include "TCoolCaptionBar.h"
#include "TCoolItemDelegate.h"
#include "TCoolItemsControl.h"

#include "platform/Events.h"

#include <QListWidget>
#include <QStringList>

namespace coolctrls {

// A list whose items are always painted by the shared item painter (glyph,
// shadowed caption, bevel, selection colour, font or wallpaper), with an
// optional caption bar of its own colours or wallpaper in a frame it
// reserves. It fills itself with colours, fonts, printers, check items or
// the entries of a folder (ExtendedStyle); in check mode every item has a
// check box, toggled by a click in its check area or by Space. The
// wallpaper stays fixed while the list scrolls; the horizontal scroll range
// follows the widest item; with HotTray the selection follows the mouse.
//
// Columns > 0 lays the items out top to bottom in columns of a fixed width
// (the list's width divided by Columns) and scrolls sideways by columns;
// MultiSelect with ExtendedSelect selects ranges with Shift and single
// items with Ctrl, MultiSelect alone toggles an item per click; Sorted keeps
// the items in alphabetical order without regard to case; IntegralHeight keeps the height to
// whole items; TabWidth sets the tab stops of the items' texts.
class TCoolListBox : public QListWidget,
                     public TCoolItemsControl,
                     public platform::TControlEvents,
                     public platform::TControl
{
    Q_OBJECT
    TONVIK_COOL_ITEMS_PROPERTIES
    TONVIK_COOL_CONTROL_PROPERTIES
    TONVIK_COOL_CTL3D_PROPERTIES
    TONVIK_COOL_TAB_STOP_PROPERTY
    Q_PROPERTY(int Columns READ Columns WRITE setColumns)
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE setMultiSelect)
    Q_PROPERTY(bool ExtendedSelect READ ExtendedSelect WRITE setExtendedSelect)
    Q_PROPERTY(bool IntegralHeight READ IntegralHeight WRITE setIntegralHeight)
    Q_PROPERTY(int TabWidth READ TabWidth WRITE setTabWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(platform::TColor CaptionColor READ CaptionColor WRITE setCaptionColor)
    Q_PROPERTY(platform::TColor CaptionTextColor READ CaptionTextColor WRITE setCaptionTextColor)
    Q_PROPERTY(int idCaptionWallpaper READ idCaptionWallpaper WRITE setIdCaptionWallpaper)
    Q_PROPERTY(bool HotTray READ HotTray WRITE setHotTray)
    TONVIK_COOL_FONT_PROPERTIES

public:
    explicit TCoolListBox(QWidget *parent = nullptr);
    ~TCoolListBox() override;

    // The shared items: not QListWidget's items of a drag's data.
    using TCoolItemsControl::items;

    // Setting the colour turns ParentColor off.
    void setColor(platform::TColor value);

    // 0 (the default): one column, scrolled up and down.
    int Columns() const { return m_columns; }
    void setColumns(int value);
    bool MultiSelect() const { return m_multiSelect; }
    void setMultiSelect(bool value);
    // True by default; acts only with MultiSelect.
    bool ExtendedSelect() const { return m_extendedSelect; }
    void setExtendedSelect(bool value);
    bool IntegralHeight() const { return m_integralHeight; }
    void setIntegralHeight(bool value);
    // In dialog units (a quarter of the average character width); 0: a
    // stop every 8 average characters.
    int TabWidth() const { return m_items.TabWidth(); }
    void setTabWidth(int value) { m_items.setTabWidth(value); }
    // Whether the item is selected (for MultiSelect lists).
    bool Selected(int index) const;
    void setSelected(int index, bool value);
    int SelCount() const { return int(selectedItems().size()); }

    QStringList Items() const;
    void setItems(const QStringList &items);
    int ItemIndex() const override { return currentRow(); }
    // Values outside the items select nothing.
    void setItemIndex(int value) override;
    // A new option set re-creates the window (the caption bar follows
    // ocNoCaption, ocSmallCaption).
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int value);
    bool HotTray() const { return m_hotTray; }
    void setHotTray(bool value)
    {
        m_hotTray = value;
        viewport()->setMouseTracking(value);
    }

    // The caption bar (shown without ocNoCaption).
    TCoolCaptionBar &CaptionBar() { return *m_captionBar; }
    QString Caption() const { return m_captionBar->Caption(); }
    void setCaption(const QString &value) { m_captionBar->setCaption(value); }
    platform::TColor CaptionColor() const { return m_captionBar->CaptionColor(); }
    void setCaptionColor(platform::TColor value) { m_captionBar->setCaptionColor(value); }
    platform::TColor CaptionTextColor() const { return m_captionBar->CaptionTextColor(); }
    void setCaptionTextColor(platform::TColor value) { m_captionBar->setCaptionTextColor(value); }
    int idCaptionWallpaper() const { return m_captionBar->idCaptionWallpaper(); }
    void setIdCaptionWallpaper(int value) { m_captionBar->setIdCaptionWallpaper(value); }
    platform::TBitmap *CaptionWallpaper() { return m_captionBar->CaptionWallpaper(); }
    void setCaptionWallpaper(const platform::TBitmap *value) { m_captionBar->setCaptionWallpaper(value); }

    // Writing a new value also repaints the item's check area.
    void setChecked(int index, bool value);
    // The check area of an item: its first ItemHeight + 2 pixels from the
    // left (from the right with right-to-left reading), in viewport
    // coordinates.
    QRect CheckArea(int index) const;
    // Whole-list repaints caused by a change of the top item; for tests.
    int FixedBackgroundRepaints() const { return m_fixedRepaints; }
    // What re-creating the window does: the check states survive, the items
    // and their data are put back.
    void RecreateWnd();

    platform::TNotifyEvent OnMouseEnter;
    platform::TNotifyEvent OnMouseLeave;
    TItemPainter::TDrawItemEvent &OnDrawItem() { return m_delegate->OnDrawItem; }
    // Kept for programs written for the combo box's events: every item is
    // ItemHeight high, so the list never asks for a height.
    std::function<void(int index, int &height)> OnMeasureItem;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // The frame's look and width follow Ctl3D.
    void Ctl3DChanged() override { applyFrame(); }
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void ApplyParentColor(platform::TColor color) override { TCoolItemsControl::setColor(color); }

private:
    void AddItem(const QString &text) override { addItem(text); }
    int ExtentLimit() const override { return width(); }
    void repaintItems();
    void toggle(int index);
    void applyFrame();
    void paintBackground(platform::TCanvas &canvas, const QRect &rect);
    void applySelectionMode();
    void applyColumns();
    void applyIntegralHeight();
    // With a caption bar the scroll bars lie below it, inside the frame.
    void placeScrollBars();
    // The height of the whole items that fit in height h.
    int integralHeightFor(int h) const;

    TCoolItemDelegate *m_delegate;
    TCoolCaptionBar *m_captionBar;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_hotTray = false;
    int m_fixedRepaints = 0;
    int m_columns = 0;
    bool m_multiSelect = false;
    bool m_extendedSelect = true;
    bool m_integralHeight = false;
    bool m_placingScrollBars = false;
    // ItemIndex being written from code: not the user's selection.
    bool m_selectingFromCode = false;
    // The top row at the last whole-list repaint (each control its own).
    int m_lastTopIndex = 0;
};

} // namespace coolctrls
