#include "TonvikDesignerPlugin.h"

#include "DesignerIcons.h"
#include "TFormImageStores.h"
#include "TMidiGenComponent.h"
#include "TWidgetPlugin.h"

#include "coolctrls/TCoolBtn.h"
#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolLabel.h"
#include "coolctrls/TCoolListBox.h"
#include "coolctrls/TCoolMemo.h"
#include "coolctrls/TCoolPanel.h"
#include "coolctrls/TCoolScrollingText.h"
#include "raster32/TImage32.h"

namespace designer {

namespace {

const QString CoolGroup = QStringLiteral("Tonvik Cool Controls");

// The stored properties of a newly placed control: its name (Designer
// numbers further ones), size and the given property elements.
QString domXml(const QString &className, const QString &name, QSize size, const QString &properties = {})
{
    return QStringLiteral(
               "<ui language=\"c++\">\n"
               " <widget class=\"%1\" name=\"%2\">\n"
               "  <property name=\"geometry\"><rect><x>0</x><y>0</y>"
               "<width>%3</width><height>%4</height></rect></property>\n"
               "%5"
               " </widget>\n"
               "</ui>\n")
        .arg(className, name)
        .arg(size.width())
        .arg(size.height())
        .arg(properties);
}

QString stringProperty(const QString &name, const QString &value)
{
    return QStringLiteral("  <property name=\"%1\"><string>%2</string></property>\n").arg(name, value);
}

template<typename Control>
TWidgetDescription cool(const QString &kind, QSize size, const QString &toolTip, const QString &whatsThis,
                        QIcon icon, const QString &properties = {}, bool container = false)
{
    const QString className = QStringLiteral("coolctrls::T") + kind;
    return {className,
            CoolGroup,
            QStringLiteral("coolctrls/T%1.h").arg(kind),
            toolTip,
            whatsThis,
            container,
            domXml(className, kind, size, properties),
            std::move(icon),
            [](QWidget *parent, bool) -> QWidget * {
                auto *control = new Control(parent);
                TFormImageStores::watch(control); // the wallpaper of the form's image store
                return control;
            }};
}

} // namespace

TonvikDesignerPlugin::TonvikDesignerPlugin(QObject *parent)
    : QObject(parent)
{
    using namespace coolctrls;
    const QList<TWidgetDescription> descriptions = {
        cool<TCoolPanel>(QStringLiteral("CoolPanel"), {185, 41}, QStringLiteral("Skinned panel"),
                         QStringLiteral("A panel with bevels, a caption and a wallpaper, colour or "
                                        "transparent background; holds other controls."),
                         PanelIcon(), stringProperty(QStringLiteral("Caption"), QStringLiteral("CoolPanel")), true),
        cool<TCoolGroupBox>(QStringLiteral("CoolGroupBox"), {185, 105}, QStringLiteral("Skinned group box"),
                            QStringLiteral("A group box with a shadowed caption over a wallpaper, colour or "
                                           "transparent background; holds other controls."),
                            GroupBoxIcon(), stringProperty(QStringLiteral("Caption"), QStringLiteral("CoolGroupBox")),
                            true),
        cool<TCoolLabel>(QStringLiteral("CoolLabel"), {65, 14}, QStringLiteral("Skinned label"),
                         QStringLiteral("A caption with a drop shadow, bevels, side lines and a glyph."), LabelIcon(),
                         stringProperty(QStringLiteral("Caption"), QStringLiteral("CoolLabel"))),
        cool<TCoolBtn>(QStringLiteral("CoolBtn"), {75, 25}, QStringLiteral("Skinned push button"),
                       QStringLiteral("A push button with a gradient, wallpaper or round face, a glyph and a "
                                      "shadowed caption."),
                       ButtonIcon(), stringProperty(QStringLiteral("Caption"), QStringLiteral("CoolBtn"))),
        cool<TCoolComboBox>(QStringLiteral("CoolComboBox"), {145, 21}, QStringLiteral("Skinned combo box"),
                            QStringLiteral("A drop-down list of texts, colours, fonts, printers or files, drawn "
                                           "over wallpapers."),
                            ComboBoxIcon()),
        cool<TCoolListBox>(QStringLiteral("CoolListBox"), {121, 97}, QStringLiteral("Skinned list box"),
                           QStringLiteral("A list of texts, colours, fonts, printers or files with a caption "
                                          "bar, drawn over wallpapers."),
                           ListBoxIcon()),
        cool<TCoolMemo>(QStringLiteral("CoolMemo"), {185, 89}, QStringLiteral("Skinned memo"),
                        QStringLiteral("A multi-line text box with a caption bar, borders and a wallpaper."),
                        MemoIcon()),
        cool<TCoolScrollingText>(QStringLiteral("CoolScrollingText"), {185, 22},
                                 QStringLiteral("Scrolling text"),
                                 QStringLiteral("A ticker that scrolls its lines over a wallpaper."),
                                 ScrollingTextIcon(),
                                 QStringLiteral("  <property name=\"Strings\"><stringlist><string>"
                                                "CoolScrollingText</string></stringlist></property>\n")),
        {QStringLiteral("raster32::TImage32"),
         QStringLiteral("Tonvik Raster32"),
         QStringLiteral("raster32/TImage32.h"),
         QStringLiteral("32-bit image view"),
         QStringLiteral("Shows a 32-bit ARGB bitmap, aligned, scaled or stretched."),
         false,
         domXml(QStringLiteral("raster32::TImage32"), QStringLiteral("Image32"), {105, 105}),
         Image32Icon(),
         [](QWidget *parent, bool designing) -> QWidget * {
             auto *image = new raster32::TImage32(parent);
             image->setDesigning(designing);
             return image;
         }},
        {QStringLiteral("designer::TMidiGenComponent"),
         QStringLiteral("Tonvik MIDI"),
         QStringLiteral("TMidiGenComponent.h"),
         QStringLiteral("MIDI generator"),
         QStringLiteral("The MIDI generator TMidiGen: set its sound properties here; a program creates the "
                        "generator in code (midigen/TMidiGen.h). Hidden outside the designer."),
         false,
         domXml(QStringLiteral("designer::TMidiGenComponent"), QStringLiteral("MidiGen"), {28, 28}),
         MidiGenIcon(),
         [](QWidget *parent, bool designing) -> QWidget * { return new TMidiGenComponent(parent, designing); }},
    };
    for (const TWidgetDescription &description : descriptions)
        m_widgets.append(new TWidgetPlugin(description, this));
}

} // namespace designer
