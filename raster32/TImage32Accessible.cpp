#include "TImage32Accessible.h"

#include "TCustomImage32.h"

#include <QAccessible>

namespace raster32 {

namespace {

QAccessibleInterface *imageViewFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(TCustomImage32::staticMetaObject.className()))
        return new TImage32Accessible(qobject_cast<TCustomImage32 *>(object));
    return nullptr;
}

} // namespace

TImage32Accessible::TImage32Accessible(TCustomImage32 *view)
    : QAccessibleWidget(view, QAccessible::Graphic)
{
}

void TImage32Accessible::RegisterFactory()
{
    static const bool registered = [] {
        QAccessible::installFactory(imageViewFactory);
        return true;
    }();
    Q_UNUSED(registered);
}

void *TImage32Accessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ImageInterface)
        return static_cast<QAccessibleImageInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TImage32Accessible::imageDescription() const
{
    const QString description = text(QAccessible::Description);
    return description.isEmpty() ? text(QAccessible::Name) : description;
}

QRect TImage32Accessible::shownRect() const
{
    auto *view = static_cast<TCustomImage32 *>(widget());
    const TRect box = view->BitmapBox();
    return QRect(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top).intersected(view->rect());
}

QSize TImage32Accessible::imageSize() const
{
    return shownRect().size();
}

QPoint TImage32Accessible::imagePosition() const
{
    return widget()->mapToGlobal(shownRect().topLeft());
}

} // namespace raster32
