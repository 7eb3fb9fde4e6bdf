#pragma once

#include <QProxyStyle>

namespace app {

// The tab control's classic look: Qt's "Windows" style draws the two-pixel
// raised frame and the tabs; the page sits a further two pixels inside the
// frame at the sides, as the classic tab control places its pages (a
// 617 x 341 tab control has 609 x 313 pages).
class TClassicTabStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit TClassicTabStyle(QObject *parent = nullptr);

    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget = nullptr) const override;
};

} // namespace app
