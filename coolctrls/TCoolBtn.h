#pragma once

#include "CoolControlSupport.h"

#include "platform/Events.h"

#include <QPushButton>

namespace coolctrls {

// A push button. Clicking, keyboard activation and focus are the platform
// button's; a click raises OnClick with the button as sender.
class TCoolBtn : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(int TransparencyLevel READ TransparencyLevel WRITE setTransparencyLevel)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(int FontHeight READ FontHeight WRITE setFontHeight)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE setFontUnderline)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(int Tag READ Tag WRITE setTag)
    TONVIK_COOL_FONT_ACCESSORS

public:
    explicit TCoolBtn(QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString &value) { setText(value); }
    int idWallpaper() const { return m_idWallpaper; }
    void setIdWallpaper(int value);
    int TransparencyLevel() const { return m_transparencyLevel; }
    void setTransparencyLevel(int value);

    platform::TNotifyEvent OnClick;

private:
    int m_idWallpaper = -1;
    int m_transparencyLevel = 0;
};

} // namespace coolctrls
