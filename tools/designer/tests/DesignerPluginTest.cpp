// The Designer plugin: every control is made through it as its real class,
// with its icon, group and a look of its own; the main window's stored
// description loads through QUiLoader with the plugin's controls; the
// generator's range message appears only in design mode; colour
// properties are names in Designer's property sheet and its forms.
#include "coolctrls/TCoolBtn.h"
#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TCoolLabel.h"
#include "coolctrls/TCoolMemo.h"
#include "coolctrls/TCoolPanel.h"
#include "midigen/TMidiGen.h"
#include "platform/canvas/Colors.h"
#include "platform/testing/ErrorDisplayCapture.h"
#include "raster32/TImage32.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QTemporaryDir>
#include <QUiLoader>
#include <QWidget>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace {

QList<QDesignerCustomWidgetInterface *> pluginWidgets()
{
    QPluginLoader loader(QStringLiteral(TONVIK_DESIGNER_PLUGIN));
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
    EXPECT_NE(collection, nullptr) << qPrintable(loader.errorString());
    return collection ? collection->customWidgets() : QList<QDesignerCustomWidgetInterface *>{};
}

QDesignerCustomWidgetInterface *pluginWidget(const QString &className)
{
    for (QDesignerCustomWidgetInterface *widget : pluginWidgets())
        if (widget->name() == className)
            return widget;
    return nullptr;
}

// The class names of the custom controls a form names, by object name.
std::map<QString, QString> customControls(const QString &formFile)
{
    QFile file(formFile);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QDomDocument form;
    EXPECT_TRUE(form.setContent(&file));
    std::set<QString> custom;
    const QDomNodeList declared = form.elementsByTagName(QStringLiteral("customwidget"));
    for (int i = 0; i < declared.count(); ++i)
        custom.insert(declared.at(i).firstChildElement(QStringLiteral("class")).text());
    std::map<QString, QString> controls;
    const QDomNodeList widgets = form.elementsByTagName(QStringLiteral("widget"));
    for (int i = 0; i < widgets.count(); ++i) {
        const QDomElement widget = widgets.at(i).toElement();
        if (custom.count(widget.attribute(QStringLiteral("class"))))
            controls[widget.attribute(QStringLiteral("name"))] = widget.attribute(QStringLiteral("class"));
    }
    return controls;
}

// Gives a control the text properties Designer would set from the plugin's
// description of a new control (a label without a caption paints nothing).
void applyNewControlTexts(QWidget *control, const QDomElement &widget)
{
    for (QDomElement p = widget.firstChildElement("property"); !p.isNull(); p = p.nextSiblingElement("property")) {
        if (!p.firstChildElement("string").isNull())
            control->setProperty(qPrintable(p.attribute("name")), p.firstChildElement("string").text());
        const QDomElement list = p.firstChildElement("stringlist");
        if (!list.isNull())
            control->setProperty(qPrintable(p.attribute("name")), QStringList{list.firstChildElement("string").text()});
    }
}

int distinctColours(const QImage &image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

TEST(DesignerPlugin, MakesEveryControlAsItsRealClassWithIconGroupAndLook)
{
    const QList<QDesignerCustomWidgetInterface *> widgets = pluginWidgets();
    const std::set<QString> expected = {
        "coolctrls::TCoolPanel", "coolctrls::TCoolGroupBox", "coolctrls::TCoolLabel",
        "coolctrls::TCoolBtn", "coolctrls::TCoolComboBox", "coolctrls::TCoolListBox",
        "coolctrls::TCoolMemo", "coolctrls::TCoolScrollingText", "raster32::TImage32",
        "designer::TMidiGenComponent"};
    std::set<QString> names;
    for (QDesignerCustomWidgetInterface *plugin : widgets) {
        const QString name = plugin->name();
        names.insert(name);
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(plugin->icon().isNull());
        EXPECT_TRUE(plugin->group().startsWith("Tonvik "));
        EXPECT_FALSE(plugin->includeFile().isEmpty());

        // The new control's stored properties are well-formed and name it.
        QDomDocument dom;
        ASSERT_TRUE(dom.setContent(plugin->domXml()));
        const QDomElement newControl = dom.documentElement().firstChildElement("widget");
        EXPECT_EQ(newControl.attribute("class"), name);

        QWidget parent;
        QWidget *control = plugin->createWidget(&parent);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(QString(control->metaObject()->className()), name);
        EXPECT_EQ(control->parentWidget(), &parent);
        // The generator's box is hidden outside the designer, an image view
        // without a bitmap is empty: their looks are checked below.
        if (name == "designer::TMidiGenComponent" || name == "raster32::TImage32")
            continue;
        applyNewControlTexts(control, newControl);
        control->resize(90, 40);
        EXPECT_GE(distinctColours(control->grab().toImage()), 2) << "the control paints itself";
    }
    EXPECT_EQ(names, expected);

    // Real classes, not look-alikes: the program's own casts see them.
    QWidget parent;
    EXPECT_NE(qobject_cast<coolctrls::TCoolBtn *>(pluginWidget("coolctrls::TCoolBtn")->createWidget(&parent)), nullptr);
    EXPECT_NE(qobject_cast<raster32::TImage32 *>(pluginWidget("raster32::TImage32")->createWidget(&parent)), nullptr);
    EXPECT_TRUE(pluginWidget("coolctrls::TCoolPanel")->isContainer());
    EXPECT_TRUE(pluginWidget("coolctrls::TCoolGroupBox")->isContainer());
    EXPECT_FALSE(pluginWidget("coolctrls::TCoolBtn")->isContainer());
}

TEST(DesignerPlugin, MainWindowDescriptionLoadsWithEveryControlAsItsRealClass)
{
    Q_INIT_RESOURCE(TfMain); // the pictures the description names, as Designer loads them from TfMain.qrc
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QFileInfo(QStringLiteral(TONVIK_DESIGNER_PLUGIN)).absolutePath());
    for (const char *name : {"coolctrls::TCoolBtn", "coolctrls::TCoolPanel", "raster32::TImage32"})
        EXPECT_TRUE(loader.availableWidgets().contains(name)) << qPrintable(name);

    QFile file(QStringLiteral(TONVIK_MAIN_FORM));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> form(loader.load(&file));
    ASSERT_NE(form, nullptr) << qPrintable(loader.errorString());

    const std::map<QString, QString> controls = customControls(QStringLiteral(TONVIK_MAIN_FORM));
    EXPECT_EQ(controls.size(), 39u);
    for (const auto &[name, className] : controls) {
        QWidget *control = form->findChild<QWidget *>(name);
        ASSERT_NE(control, nullptr) << qPrintable(name);
        EXPECT_EQ(QString(control->metaObject()->className()), className) << qPrintable(name);
    }

    // The stored property values reached the controls.
    auto *interval = form->findChild<coolctrls::TCoolLabel *>("CoolLabel4");
    ASSERT_NE(interval, nullptr);
    EXPECT_EQ(interval->Caption(), "O1 - Minor second");
    EXPECT_EQ(interval->Tag(), 1);
    EXPECT_TRUE(interval->Transparent());
    auto *level = form->findChild<coolctrls::TCoolComboBox *>("cbLevel");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->Items(), (QStringList{"Level 1 - Melodic  - 01, 02, 03, 04", "Level 2 - Harmonic - 01, 02, 03, 04"}));
    EXPECT_EQ(level->FontName(), "Courier New");
    auto *start = form->findChild<coolctrls::TCoolBtn *>("bStart");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->Caption(), "Start");
    EXPECT_EQ(start->geometry(), QRect(64, 197, 75, 25));
    EXPECT_FALSE(form->findChild<coolctrls::TCoolBtn *>("bRepeat")->isEnabled());
    auto *info = form->findChild<coolctrls::TCoolMemo *>("mInfo");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Lines().size(), 6);
    EXPECT_EQ(info->TransparencyLevel(), 100);
    auto *lamp = form->findChild<raster32::TImage32 *>("imgAnswer");
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->ScaleMode(), raster32::smStretch);
    EXPECT_FALSE(lamp->Designing()) << "QUiLoader makes run-time controls";

    // The image store the controls name is made from the picture list of
    // the form: the panels show the wallpaper, not a plain colour.
    form->show();
    auto *store = form->findChild<coolctrls::TCoolImages *>("CoolImages");
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->ImageCount(), 1);
    auto *panel = form->findChild<coolctrls::TCoolPanel *>("pMain");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->CoolImages(), store);
    EXPECT_GT(distinctColours(panel->grab().toImage()), 100);

    // Editing the form's picture list remakes the store.
    form->setProperty("CoolImages", QStringList{":/TfMain/wallpaper.pic", ":/TfMain/wallpaper.pic"});
    EXPECT_EQ(store->ImageCount(), 2);
}

TEST(DesignerPlugin, GeneratorRangeMessageOnlyInDesignMode)
{
    QDesignerCustomWidgetInterface *plugin = pluginWidget("designer::TMidiGenComponent");
    ASSERT_NE(plugin, nullptr);
    QWidget form;

    // As QUiLoader makes it, for a running program: clamped silently, hidden.
    {
        platform::testsupport::ErrorDisplayCapture display;
        QWidget *running = plugin->createWidget(&form);
        running->setProperty("Volume", 150);
        EXPECT_EQ(running->property("Volume").toInt(), 100);
        EXPECT_TRUE(display.shown().empty());
        EXPECT_TRUE(running->isHidden());
    }

    // In a form designer: Designer initialises the plugin first.
    plugin->initialize(nullptr);
    ASSERT_TRUE(plugin->isInitialized());
    platform::testsupport::ErrorDisplayCapture display;
    QWidget *designed = plugin->createWidget(&form);
    EXPECT_FALSE(designed->isHidden());
    EXPECT_GE(distinctColours(designed->grab().toImage()), 3) << "a face with the generator's icon";
    designed->setProperty("Volume", 150);
    designed->setProperty("Pan", -300);
    designed->setProperty("Instrument", 200);
    designed->setProperty("Octave", 5);
    using Shown = std::vector<std::pair<QString, QString>>;
    EXPECT_EQ(display.shown(), (Shown{{"Error", "Value must be between 0 and 100"},
                                      {"Error", "Value must be between -100 and 100"},
                                      {"Error", "Value must be between 0 and 174"}}));
    EXPECT_EQ(designed->property("Volume").toInt(), 100);
    EXPECT_EQ(designed->property("Pan").toInt(), -100);
    EXPECT_EQ(designed->property("Instrument").toInt(), 174);
    EXPECT_EQ(designed->property("Octave").toInt(), 5);

    // The image view runs its design-time paint stages in a form designer.
    QDesignerCustomWidgetInterface *imagePlugin = pluginWidget("raster32::TImage32");
    imagePlugin->initialize(nullptr);
    auto *image = qobject_cast<raster32::TImage32 *>(imagePlugin->createWidget(&form));
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->Designing());
    image->resize(40, 40);
    EXPECT_GE(distinctColours(image->grab().toImage()), 2) << "the design-time frame around the empty view";
}

QDesignerPropertySheetExtension *propertySheet(QDesignerFormEditorInterface *core, QObject *control)
{
    return qt_extension<QDesignerPropertySheetExtension *>(core->extensionManager(), control);
}

// Designer's own editor core, headless. Its default sheet hands a colour
// property over as a platform::TColor, a type its property editor cannot
// edit or store; once the plugin is initialized the sheet offers each colour
// as its name, and writing a name sets the control's real property.
TEST(DesignerPlugin, ColourPropertiesAreEditableNamesInDesignersPropertySheet)
{
    using namespace platform;
    QObject owner;
    QDesignerFormEditorInterface *core = QDesignerComponents::createFormEditor(&owner);
    ASSERT_NE(core, nullptr);
    QDesignerCustomWidgetInterface *buttonPlugin = pluginWidget(QStringLiteral("coolctrls::TCoolBtn"));
    ASSERT_NE(buttonPlugin, nullptr);

    std::unique_ptr<QWidget> before(buttonPlugin->createWidget(nullptr));
    QDesignerPropertySheetExtension *defaultSheet = propertySheet(core, before.get());
    ASSERT_NE(defaultSheet, nullptr);
    EXPECT_EQ(defaultSheet->property(defaultSheet->indexOf(QStringLiteral("Color"))).metaType(),
              QMetaType::fromType<TColor>());

    buttonPlugin->initialize(core);
    int colourProperties = 0;
    for (QDesignerCustomWidgetInterface *plugin : pluginWidgets()) {
        std::unique_ptr<QWidget> control(plugin->createWidget(nullptr));
        QDesignerPropertySheetExtension *sheet = propertySheet(core, control.get());
        ASSERT_NE(sheet, nullptr) << qPrintable(plugin->name());
        const QMetaObject *meta = control->metaObject();
        for (int i = 0; i < meta->propertyCount(); ++i) {
            if (meta->property(i).metaType() != QMetaType::fromType<TColor>())
                continue;
            ++colourProperties;
            const QString name = QString::fromLatin1(meta->property(i).name());
            const int index = sheet->indexOf(name);
            ASSERT_GE(index, 0) << qPrintable(plugin->name() + u'.' + name);
            // Read-only colours (a list's selected colour) stay hidden, as
            // Designer hides every read-only property.
            EXPECT_EQ(sheet->isVisible(index), meta->property(i).isWritable())
                << qPrintable(plugin->name() + u'.' + name);
            const QVariant shown = sheet->property(index);
            EXPECT_EQ(shown.metaType(), QMetaType::fromType<QString>()) << qPrintable(plugin->name() + u'.' + name);
            EXPECT_EQ(shown.toString(), ColorToString(control->property(meta->property(i).name()).value<TColor>()));
        }
    }
    EXPECT_GE(colourProperties, 10);

    std::unique_ptr<QWidget> control(buttonPlugin->createWidget(nullptr));
    auto *button = qobject_cast<coolctrls::TCoolBtn *>(control.get());
    ASSERT_NE(button, nullptr);
    QDesignerPropertySheetExtension *sheet = propertySheet(core, button);
    const int color = sheet->indexOf(QStringLiteral("Color"));
    sheet->setProperty(color, QStringLiteral("clRed"));
    EXPECT_EQ(button->Color(), clRed);
    EXPECT_EQ(sheet->property(color).toString(), QStringLiteral("clRed"));
    sheet->setProperty(color, QStringLiteral("$00123456"));
    EXPECT_EQ(button->Color(), TColor(0x123456));
    sheet->setProperty(color, QStringLiteral("clbtnface")); // names are case-insensitive
    EXPECT_EQ(button->Color(), clBtnFace);
    EXPECT_EQ(sheet->property(color).toString(), QStringLiteral("clBtnFace"));
    for (const QString &bad : {QStringLiteral("clNoSuchColour"), QStringLiteral("red"), QString()}) {
        sheet->setProperty(color, bad);
        EXPECT_EQ(button->Color(), clBtnFace) << qPrintable(bad);
    }

    // Every other property is Designer's own (a text as its translatable
    // string value).
    const int caption = sheet->indexOf(QStringLiteral("Caption"));
    ASSERT_GE(caption, 0);
    sheet->setProperty(caption, QStringLiteral("OK"));
    EXPECT_EQ(button->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(sheet->property(caption).metaType(),
              defaultSheet->property(defaultSheet->indexOf(QStringLiteral("Caption"))).metaType());
    EXPECT_GE(sheet->indexOf(QStringLiteral("geometry")), 0);
}

// A form stored with colour names opens in Designer with those colours (a
// name that is no colour leaves the control's default) and is saved back
// with the names.
TEST(DesignerPlugin, FormColoursOpenAndSaveAsNamesInDesigner)
{
    using namespace platform;
    QObject owner;
    QTemporaryDir plugins; // Designer finds its plugins in <library path>/designer
    ASSERT_TRUE(QDir(plugins.path()).mkdir(QStringLiteral("designer")));
    ASSERT_TRUE(QFile::link(QStringLiteral(TONVIK_DESIGNER_PLUGIN),
                            plugins.path() + QStringLiteral("/designer/libtonvik_designer.so")));
    QCoreApplication::addLibraryPath(plugins.path());
    QDesignerFormEditorInterface *core = QDesignerComponents::createFormEditor(&owner);
    new QDesignerIntegration(core, &owner);
    QDesignerComponents::initializePlugins(core);
    QCoreApplication::removeLibraryPath(plugins.path());

    std::unique_ptr<QDesignerFormWindowInterface> form(core->formWindowManager()->createFormWindow(nullptr));
    const auto button = [](const QString &name, const QString &colour) {
        return QStringLiteral("<widget class=\"coolctrls::TCoolBtn\" name=\"%1\"><property name=\"Color\" "
                              "stdset=\"0\"><string notr=\"true\">%2</string></property></widget>")
            .arg(name, colour);
    };
    form->setContents(QStringLiteral("<ui version=\"4.0\"><class>Form</class><widget class=\"QWidget\" "
                                     "name=\"Form\">%1%2%3</widget></ui>")
                          .arg(button(QStringLiteral("red"), QStringLiteral("clRed")),
                               button(QStringLiteral("rgb"), QStringLiteral("$00123456")),
                               button(QStringLiteral("bad"), QStringLiteral("clNoSuchColour"))));
    ASSERT_NE(form->mainContainer(), nullptr);
    const auto colour = [&](const char *name) {
        auto *control = form->mainContainer()->findChild<coolctrls::TCoolBtn *>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control ? control->Color() : clNone;
    };
    EXPECT_EQ(colour("red"), clRed);
    EXPECT_EQ(colour("rgb"), TColor(0x123456));
    EXPECT_EQ(colour("bad"), clBtnFace);

    const QString saved = form->contents();
    EXPECT_TRUE(saved.contains(QStringLiteral("<string>clRed</string>"))) << qPrintable(saved);
    EXPECT_TRUE(saved.contains(QStringLiteral("<string>$00123456</string>"))) << qPrintable(saved);
}

// Designer needs the generator's properties declared on its box; the box's
// list is a copy of the generator's and must stay one.
TEST(DesignerPlugin, TheGeneratorsBoxPublishesExactlyTheGeneratorsStoredProperties)
{
    QDesignerCustomWidgetInterface *plugin = pluginWidget("designer::TMidiGenComponent");
    ASSERT_NE(plugin, nullptr);
    QWidget form;
    QWidget *box = plugin->createWidget(&form);
    ASSERT_NE(box, nullptr);
    auto *gen = box->findChild<TMidiGen *>();
    ASSERT_NE(gen, nullptr);

    struct Described
    {
        QString name, type;
        bool readable, writable;
        bool operator==(const Described &) const = default;
    };
    auto own = [](const QMetaObject &meta, bool storedOnly) {
        std::vector<Described> list;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
            const QMetaProperty p = meta.property(i);
            // Read-only state (IsPlaying) is the running generator's, not
            // something a form stores.
            if (storedOnly && !p.isWritable())
                continue;
            list.push_back({p.name(), p.typeName(), p.isReadable(), p.isWritable()});
        }
        return list;
    };
    const std::vector<Described> generator = own(TMidiGen::staticMetaObject, true);
    const std::vector<Described> proxy = own(*box->metaObject(), false);
    ASSERT_EQ(generator.size(), 15u);
    ASSERT_EQ(proxy.size(), generator.size());
    for (size_t i = 0; i < generator.size(); ++i) {
        SCOPED_TRACE(generator[i].name.toStdString());
        EXPECT_EQ(proxy[i].name, generator[i].name);
        EXPECT_EQ(proxy[i].type, generator[i].type);
        EXPECT_EQ(proxy[i].readable, generator[i].readable);
        EXPECT_EQ(proxy[i].writable, generator[i].writable);
    }

    // Each property of the box reads and writes the generator's own.
    for (const Described &p : generator) {
        SCOPED_TRACE(p.name.toStdString());
        const QByteArray name = p.name.toLatin1();
        const QVariant before = gen->property(name);
        QVariant next;
        if (before.metaType() == QMetaType::fromType<bool>())
            next = !before.toBool();
        else if (before.metaType() == QMetaType::fromType<uint>())
            next = before.toUInt() == 0 ? 1u : before.toUInt() - 1;
        else
            next = before.toInt() == 0 ? 1 : before.toInt() - 1;
        ASSERT_TRUE(box->setProperty(name, next));
        EXPECT_EQ(gen->property(name), next);
        EXPECT_EQ(box->property(name), next);
    }
}
