#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

namespace designer {

// The Qt Designer plugin of the Tonvik libraries: the skinned controls of
// coolctrls, the image view of raster32 and the MIDI generator, each in
// Designer's widget box with its icon, drawn by its own painting code and
// with its published properties in the property editor. QUiLoader uses
// the same plugin to make the controls of a form at run time.
class TonvikDesignerPlugin : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TonvikDesignerPlugin(QObject *parent = nullptr);

    QList<QDesignerCustomWidgetInterface *> customWidgets() const override { return m_widgets; }

private:
    QList<QDesignerCustomWidgetInterface *> m_widgets; // children
};

} // namespace designer
