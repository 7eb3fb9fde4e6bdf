#pragma once

#include <QAccessibleWidget>

namespace coolctrls {

// A panel or group box to assistive technology: a grouping of the controls
// on it, named by its caption (a name the program sets wins).
class TCoolGroupingAccessible : public QAccessibleWidget
{
public:
    explicit TCoolGroupingAccessible(QWidget *container);

    QString text(QAccessible::Text t) const override;
};

} // namespace coolctrls
