#include "TCoolBtn.h"

#include "platform/Application.h"

namespace coolctrls {

TCoolBtn::TCoolBtn(QWidget *parent)
    : QPushButton(parent)
{
    resize(75, 25);
    connect(this, &QPushButton::clicked, this, [this] {
        if (OnClick)
            OnClick(this);
    });
}

void TCoolBtn::setIdWallpaper(int value)
{
    if (m_idWallpaper == value)
        return;
    m_idWallpaper = value;
    update();
}

void TCoolBtn::setTransparencyLevel(int value)
{
    value = qBound(0, value, 255);
    if (m_transparencyLevel == value)
        return;
    m_transparencyLevel = value;
    update();
}

} // namespace coolctrls
