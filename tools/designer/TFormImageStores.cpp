#include "TFormImageStores.h"

#include "coolctrls/CoolImagesLink.h"
#include "coolctrls/TCoolImages.h"
#include "platform/ErrorReport.h"

#include <QCoreApplication>
#include <QDynamicPropertyChangeEvent>
#include <QWidget>

#include <exception>

namespace designer {

namespace {

const char StoreRef[] = "CoolImagesRef";

// A form lists a store's pictures in a string-list property named after it.
bool listsPictures(const QWidget *widget, const QByteArray &storeName)
{
    return widget->property(storeName.constData()).metaType().id() == QMetaType::QStringList;
}

} // namespace

TFormImageStores::TFormImageStores(QObject *owner)
    : QObject(owner)
{
}

void TFormImageStores::watch(QWidget *control)
{
    static TFormImageStores *const stores = new TFormImageStores(QCoreApplication::instance());
    control->installEventFilter(stores);
}

bool TFormImageStores::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    switch (event->type()) {
    case QEvent::DynamicPropertyChange: {
        const QByteArray name = static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName();
        if (name == StoreRef)
            resolve(widget);
        else if (widget->findChild<coolctrls::TCoolImages *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly))
            reload(widget, name); // a form's picture list was edited
        break;
    }
    case QEvent::ParentChange:
    case QEvent::Polish:
    case QEvent::Show:
        resolve(widget);
        break;
    default:
        break;
    }
    return false;
}

void TFormImageStores::resolve(QWidget *control)
{
    const QByteArray name = control->property(StoreRef).toString().toLatin1();
    if (name.isEmpty())
        return;
    for (QWidget *form = control->parentWidget(); form; form = form->parentWidget()) {
        if (!listsPictures(form, name))
            continue;
        auto *store = form->findChild<coolctrls::TCoolImages *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        if (!store) {
            store = new coolctrls::TCoolImages(form);
            store->setObjectName(QString::fromLatin1(name));
            form->installEventFilter(this);
        }
        // Designer registers a form's resources only after making its
        // controls: pictures not found yet are tried again when a control
        // is polished or shown, quietly.
        if (store->ImageCount() == 0) {
            try {
                coolctrls::LoadCoolImages(*store, form->property(name.constData()).toStringList());
            } catch (const std::exception &) {
            }
        }
        coolctrls::LinkCoolImages(control, store);
        return;
    }
}

void TFormImageStores::reload(QWidget *form, const QByteArray &storeName)
{
    auto *store = form->findChild<coolctrls::TCoolImages *>(QString::fromLatin1(storeName), Qt::FindDirectChildrenOnly);
    if (!store || !listsPictures(form, storeName))
        return;
    // The list was edited: a picture that cannot be read is reported
    // (Designer shows the error box) and the store keeps what it had.
    platform::guarded([&] { coolctrls::LoadCoolImages(*store, form->property(storeName.constData()).toStringList()); });
}

} // namespace designer
