#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <functional>

class QWidget;

namespace designer {

// What Qt Designer shows of one control and how it is made.
struct TWidgetDescription
{
    QString className;      // as written in .ui files, e.g. "coolctrls::TCoolBtn"
    QString group;          // the widget box group
    QString includeFile;    // the header uic includes
    QString toolTip;
    QString whatsThis;
    bool container = false; // other controls can be dropped on it
    QString domXml;         // the properties of a newly placed control
    QIcon icon;
    // Makes the control; designing is true inside a form designer.
    std::function<QWidget *(QWidget *parent, bool designing)> create;
};

// One control in Qt Designer's widget box, for Designer and for QUiLoader.
// Designer calls initialize() before it creates controls; QUiLoader never
// does, so controls made after initialize() are in design mode.
class TWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    TWidgetPlugin(TWidgetDescription description, QObject *owner);

    QString name() const override { return m_description.className; }
    QString group() const override { return m_description.group; }
    QString toolTip() const override { return m_description.toolTip; }
    QString whatsThis() const override { return m_description.whatsThis; }
    QString includeFile() const override { return m_description.includeFile; }
    QIcon icon() const override { return m_description.icon; }
    bool isContainer() const override { return m_description.container; }
    QString domXml() const override { return m_description.domXml; }
    QWidget *createWidget(QWidget *parent) override;
    bool isInitialized() const override { return m_initialized; }
    void initialize(QDesignerFormEditorInterface *core) override;

private:
    TWidgetDescription m_description;
    bool m_initialized = false;
};

} // namespace designer
