#pragma once

#include "CoolControlSupport.h"

#include "platform/Events.h"

#include <QComboBox>
#include <QStringList>

namespace coolctrls {

// A drop-down list selector. ItemIndex reads and writes the selected entry;
// writing it from code raises nothing, and OnChange is raised only when the
// user picks an entry. The drop-down list can be wider than the control
// (ListBoxWidth).
class TCoolComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE setItemIndex)
    Q_PROPERTY(int ListBoxWidth READ ListBoxWidth WRITE setListBoxWidth)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE setDropDownCount)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE setItemHeight)
    Q_PROPERTY(QString FileMask READ FileMask WRITE setFileMask)
    Q_PROPERTY(QColor SelFontColor READ SelFontColor WRITE setSelFontColor)
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(int FontHeight READ FontHeight WRITE setFontHeight)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE setFontUnderline)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(int Tag READ Tag WRITE setTag)
    TONVIK_COOL_FONT_ACCESSORS

public:
    explicit TCoolComboBox(QWidget *parent = nullptr);

    QStringList Items() const;
    void setItems(const QStringList &items);
    int ItemIndex() const { return currentIndex(); }
    // Values outside the entries select nothing (-1).
    void setItemIndex(int value);
    int ListBoxWidth() const { return m_listBoxWidth; }
    void setListBoxWidth(int value) { m_listBoxWidth = value; }
    int DropDownCount() const { return maxVisibleItems(); }
    void setDropDownCount(int value) { setMaxVisibleItems(qMax(1, value)); }
    int ItemHeight() const { return m_itemHeight; }
    void setItemHeight(int value);
    QString FileMask() const { return m_fileMask; }
    void setFileMask(const QString &value) { m_fileMask = value; }
    QColor SelFontColor() const;
    void setSelFontColor(const QColor &value);
    int idWallpaper() const { return m_idWallpaper; }
    void setIdWallpaper(int value) { m_idWallpaper = value; update(); }

    platform::TNotifyEvent OnChange;

    void showPopup() override;

private:
    int m_listBoxWidth = 0;
    int m_itemHeight = 16;
    QString m_fileMask = "*.*";
    QColor m_selFontColor;
    int m_idWallpaper = -1;
};

} // namespace coolctrls
