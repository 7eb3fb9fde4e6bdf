#include "TColorPropertySheetFactory.h"

#include "TColorPropertySheet.h"

#include <QtDesigner/QExtensionManager>

#include <utility>

namespace designer {

TColorPropertySheetFactory::TColorPropertySheetFactory(QExtensionManager *manager)
    : QExtensionFactory(manager)
{
}

void TColorPropertySheetFactory::install(QExtensionManager *manager)
{
    if (!manager || manager->findChild<TColorPropertySheetFactory *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    manager->registerExtensions(new TColorPropertySheetFactory(manager),
                                Q_TYPEID(QDesignerPropertySheetExtension));
}

QObject *TColorPropertySheetFactory::createExtension(QObject *object, const QString &iid, QObject *parent) const
{
    if (m_asking || iid != Q_TYPEID(QDesignerPropertySheetExtension)
        || !TColorPropertySheet::hasColorProperty(object))
        return nullptr;
    m_asking = true;
    QObject *defaultObject = extensionManager()->extension(object, iid);
    m_asking = false;
    auto *defaultSheet = qobject_cast<QDesignerPropertySheetExtension *>(defaultObject);
    if (!defaultSheet)
        return nullptr;
    return new TColorPropertySheet(defaultSheet, defaultObject, object, parent);
}

} // namespace designer
