#include "platform/canvas/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>

#include <cmath>
#include <mutex>

namespace platform {

namespace {

// What the font database answers about families, asked once per family: the
// installed families, the family each asked-for face is drawn in, and the
// cell height of each family at 100 pixels (to convert cell heights).
// Fonts may be made on any thread, so the tables are locked.
struct FamilyTables
{
    std::mutex mutex;
    bool loaded = false;
    QHash<QString, QString> installed; // by the name folded to lower case, as Qt matches
    QHash<QString, QString> drawnIn;
    QHash<QString, qreal> cellAt100;

    void clear()
    {
        const std::lock_guard lock(mutex);
        loaded = false;
        installed.clear();
        drawnIn.clear();
        cellAt100.clear();
    }
};

FamilyTables &familyTables()
{
    static FamilyTables tables;
    return tables;
}

// The installed families by their names folded to lower case; empty while
// there is no font database (no application yet). Asked outside the tables'
// lock: the font database may announce changes while it loads.
QHash<QString, QString> installedFamilies()
{
    QHash<QString, QString> families;
    if (!QGuiApplication::instance())
        return families;
    static std::once_flag once;
    std::call_once(once, [] {
        // Fonts the application adds or removes change what is installed.
        QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, qGuiApp, [] { familyTables().clear(); });
    });
    for (const QString &family : QFontDatabase::families())
        families.insert(family.toLower(), family);
    return families;
}

} // namespace

QString installedFamily(const QString &name)
{
    if (name.isEmpty())
        return name;
    installFontSubstitutions();
    FamilyTables &tables = familyTables();
    std::unique_lock lock(tables.mutex);
    if (const auto found = tables.drawnIn.constFind(name); found != tables.drawnIn.cend())
        return *found;
    if (!tables.loaded) {
        lock.unlock();
        QHash<QString, QString> families = installedFamilies();
        if (families.isEmpty())
            return name;
        lock.lock();
        tables.installed = std::move(families);
        tables.loaded = true;
    }
    // Qt keeps substitutes in lower case; the database's own spelling is
    // what fonts name.
    QString family = name;
    if (!tables.installed.contains(name.toLower())) {
        for (const QString &substitute : QFont::substitutes(name)) {
            if (const auto found = tables.installed.constFind(substitute.toLower()); found != tables.installed.cend()) {
                family = *found;
                break;
            }
        }
    }
    tables.drawnIn.insert(name, family);
    return family;
}

void installFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
        const QStringList mono = {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
        const QStringList serif = {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")};
        for (const char *face : {"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2",
                                 "Arial", "Tahoma", "Segoe UI", "System", "Small Fonts"})
            QFont::insertSubstitutions(QString::fromLatin1(face), sans);
        QFont::insertSubstitutions(QStringLiteral("Verdana"),
                                   {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
        for (const char *face : {"Courier New", "Courier", "Fixedsys", "Terminal", "Lucida Console"})
            QFont::insertSubstitutions(QString::fromLatin1(face), mono);
        for (const char *face : {"Times New Roman", "Times", "MS Serif"})
            QFont::insertSubstitutions(QString::fromLatin1(face), serif);
    });
}

qreal cellHeightAt100(const QFont &font)
{
    FamilyTables &tables = familyTables();
    const QString family = font.family();
    {
        const std::lock_guard lock(tables.mutex);
        if (const auto found = tables.cellAt100.constFind(family); found != tables.cellAt100.cend())
            return *found;
    }
    // Measured outside the lock: loading the probe's font may take a while.
    QFont probe = font;
    probe.setPixelSize(100);
    const qreal cell = QFontMetricsF(probe).height();
    const std::lock_guard lock(tables.mutex);
    tables.cellAt100.insert(family, cell);
    return cell;
}

QFont makeFont(const QString &name, int height, TFontStyles style)
{
    // The font names the family it is drawn in: a face that is not
    // installed would make Qt look up fallback families through fontconfig
    // before it tries the substitutes.
    QFont font(installedFamily(name.isEmpty() ? QString::fromLatin1(DefaultFontName) : name));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    if (height == 0)
        height = DefaultFontHeight;
    if (height < 0) {
        font.setPixelSize(-height);
    } else {
        // A positive height is the whole cell (ascent + descent): scale the
        // character height so that the cell comes out at that height.
        const qreal cell = cellHeightAt100(font);
        font.setPixelSize(std::max(1, int(std::lround(height * 100.0 / (cell > 0 ? cell : 100.0)))));
    }
    font.setBold(style.testFlag(fsBold));
    font.setItalic(style.testFlag(fsItalic));
    font.setUnderline(style.testFlag(fsUnderline));
    font.setStrikeOut(style.testFlag(fsStrikeOut));
    return font;
}

QFont captionFont(bool smallCaption)
{
    return makeFont(QStringLiteral("Tahoma"), DefaultFontHeight, smallCaption ? TFontStyles() : TFontStyles(fsBold));
}

QStringList screenFonts()
{
    return QFontDatabase::families();
}

bool isScalableFont(const QString &name)
{
    const QFontInfo info(makeFont(name, DefaultFontHeight));
    const QString family = info.family();
    return !family.isEmpty() && QFontDatabase::isSmoothlyScalable(family, info.styleName());
}

} // namespace platform
