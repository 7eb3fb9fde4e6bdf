#include "TColorPropertySheet.h"

#include "platform/Exception.h"
#include "platform/canvas/Colors.h"

#include <QMetaProperty>

namespace designer {

using platform::TColor;

TColorPropertySheet::TColorPropertySheet(QDesignerPropertySheetExtension *defaultSheet,
                                         QObject *defaultSheetObject, QObject *control, QObject *parent)
    : QObject(parent)
    , m_sheet(defaultSheet)
    , m_default(defaultSheetObject)
    , m_control(control)
{
}

bool TColorPropertySheet::hasColorProperty(const QObject *control)
{
    const QMetaObject *meta = control->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i)
        if (meta->property(i).metaType() == QMetaType::fromType<TColor>())
            return true;
    return false;
}

bool TColorPropertySheet::isColor(int index) const
{
    if (!m_default || !m_control)
        return false;
    const QMetaObject *meta = m_control->metaObject();
    const int property = meta->indexOfProperty(qPrintable(m_sheet->propertyName(index)));
    return property >= 0 && meta->property(property).metaType() == QMetaType::fromType<TColor>();
}

int TColorPropertySheet::indexOf(const QString &name) const
{
    return m_default ? m_sheet->indexOf(name) : -1;
}

QString TColorPropertySheet::propertyName(int index) const
{
    return m_default ? m_sheet->propertyName(index) : QString();
}

QString TColorPropertySheet::propertyGroup(int index) const
{
    return m_default ? m_sheet->propertyGroup(index) : QString();
}

void TColorPropertySheet::setPropertyGroup(int index, const QString &group)
{
    if (m_default)
        m_sheet->setPropertyGroup(index, group);
}

bool TColorPropertySheet::hasReset(int index) const
{
    return m_default && m_sheet->hasReset(index);
}

bool TColorPropertySheet::reset(int index)
{
    return m_default && m_sheet->reset(index);
}

bool TColorPropertySheet::isVisible(int index) const
{
    return m_default && m_sheet->isVisible(index);
}

void TColorPropertySheet::setVisible(int index, bool visible)
{
    if (m_default)
        m_sheet->setVisible(index, visible);
}

bool TColorPropertySheet::isAttribute(int index) const
{
    return m_default && m_sheet->isAttribute(index);
}

void TColorPropertySheet::setAttribute(int index, bool attribute)
{
    if (m_default)
        m_sheet->setAttribute(index, attribute);
}

QVariant TColorPropertySheet::property(int index) const
{
    if (!m_default)
        return {};
    if (isColor(index))
        return platform::ColorToString(m_control->property(qPrintable(propertyName(index))).value<TColor>());
    return m_sheet->property(index);
}

void TColorPropertySheet::setProperty(int index, const QVariant &value)
{
    if (!m_default)
        return;
    // A colour value, and the text value Designer makes when it opens a
    // form, go to Designer's sheet: it unwraps the text and writes it through
    // the colour type's own conversion, which refuses what is no colour.
    if (!isColor(index) || value.metaType() != QMetaType::fromType<QString>()) {
        m_sheet->setProperty(index, value);
        return;
    }
    TColor color;
    try {
        color = platform::StringToColor(value.toString());
    } catch (const platform::EConvertError &) {
        return; // not a colour: the property keeps its value
    }
    m_sheet->setProperty(index, QVariant::fromValue(color));
}

bool TColorPropertySheet::isChanged(int index) const
{
    return m_default && m_sheet->isChanged(index);
}

void TColorPropertySheet::setChanged(int index, bool changed)
{
    if (m_default)
        m_sheet->setChanged(index, changed);
}

bool TColorPropertySheet::isEnabled(int index) const
{
    return m_default && m_sheet->isEnabled(index);
}

} // namespace designer
