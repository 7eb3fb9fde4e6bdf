#pragma once

#include <QObject>
#include <QPointer>
#include <QtDesigner/QDesignerPropertySheetExtension>

namespace designer {

// The property sheet of a control with colour properties: Designer's own
// sheet, except that every platform::TColor property appears as a string
// holding the colour's name ("clBtnFace", "clRed" or "$00BBGGRR"), which
// Designer's property editor can edit and its forms store as <string>. A
// written name reaches the control's real property; a name that is no
// colour is refused and the property keeps its value.
class TColorPropertySheet : public QObject, public QDesignerPropertySheetExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerPropertySheetExtension)

public:
    TColorPropertySheet(QDesignerPropertySheetExtension *defaultSheet, QObject *defaultSheetObject,
                        QObject *control, QObject *parent);

    // True when the control publishes at least one colour property.
    static bool hasColorProperty(const QObject *control);

    int count() const override { return m_default ? m_sheet->count() : 0; }
    int indexOf(const QString &name) const override;
    QString propertyName(int index) const override;
    QString propertyGroup(int index) const override;
    void setPropertyGroup(int index, const QString &group) override;
    bool hasReset(int index) const override;
    bool reset(int index) override;
    bool isVisible(int index) const override;
    void setVisible(int index, bool visible) override;
    bool isAttribute(int index) const override;
    void setAttribute(int index, bool attribute) override;
    QVariant property(int index) const override;
    void setProperty(int index, const QVariant &value) override;
    bool isChanged(int index) const override;
    void setChanged(int index, bool changed) override;
    bool isEnabled(int index) const override;

private:
    bool isColor(int index) const;

    // Designer's sheet, owned by its factory; the QPointer notices when it
    // goes with the control.
    QDesignerPropertySheetExtension *m_sheet;
    QPointer<QObject> m_default;
    QPointer<QObject> m_control;
};

} // namespace designer
