#include "TWidgetPlugin.h"

#include "TColorPropertySheetFactory.h"

#include "platform/Application.h"

#include <QtDesigner/QDesignerFormEditorInterface>

#include <QWidget>

namespace designer {

TWidgetPlugin::TWidgetPlugin(TWidgetDescription description, QObject *owner)
    : QObject(owner)
    , m_description(std::move(description))
{
}

QWidget *TWidgetPlugin::createWidget(QWidget *parent)
{
    return m_description.create(parent, m_initialized);
}

void TWidgetPlugin::initialize(QDesignerFormEditorInterface *core)
{
    // Colour properties as names the property editor can edit (once per
    // editor core, whichever control's plugin comes first).
    if (core)
        TColorPropertySheetFactory::install(core->extensionManager());
    if (m_initialized)
        return;
    m_initialized = true;
    // Designer's application object is not ours: messages of the
    // components (the generator's range message) go to the standard error
    // box instead of standard error.
    static const bool errorBox = (platform::installErrorBox(), true);
    (void)errorBox;
}

} // namespace designer
