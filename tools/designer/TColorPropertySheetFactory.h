#pragma once

#include <QtDesigner/QExtensionFactory>

class QExtensionManager;

namespace designer {

// Gives controls with colour properties a TColorPropertySheet over the
// property sheet Designer would give them. Registered ahead of Designer's
// own factories, it asks the manager once more (with itself switched off)
// for the sheet it wraps.
class TColorPropertySheetFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    explicit TColorPropertySheetFactory(QExtensionManager *manager);

    // Registers a factory with the manager, once per manager.
    static void install(QExtensionManager *manager);

protected:
    QObject *createExtension(QObject *object, const QString &iid, QObject *parent) const override;

private:
    mutable bool m_asking = false; // looking up the sheet to wrap
};

} // namespace designer
