#pragma once

#include "TCoolTextAccessible.h"

namespace coolctrls {

class TCoolScrollingText;

// A scrolling text to assistive technology: static text holding its whole
// text (all lines), wherever the text has moved to; a screen reader reads
// it on request, it sends no event per tick.
class TCoolScrollingTextAccessible : public TCoolTextAccessible
{
public:
    explicit TCoolScrollingTextAccessible(TCoolScrollingText *control);

    QString text(QAccessible::Text t) const override;

protected:
    QString plainText() const override;
    QPoint textOrigin() const override;

private:
    TCoolScrollingText *control() const;
};

} // namespace coolctrls
