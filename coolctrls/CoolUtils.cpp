#include "CoolUtils.h"

#include <QMetaEnum>

#include "platform/Exception.h"
#include "platform/canvas/TBitmap.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QDirIterator>
#include <QFileInfo>
#include <QMetaEnum>
#include <QPointer>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <array>

// Registered at first use, so the glyphs are found also where the library's
// own static initialisers have not run yet. Named after the library: the
// registration function is a global symbol of every program that links it.
static void initCoolResources()
{
    Q_INIT_RESOURCE(coolctrls);
}

namespace coolctrls {

QByteArray ResourceData(const QString &name)
{
    static const bool registered = (initCoolResources(), true);
    (void)registered;
    QFile file(QStringLiteral(":/coolctrls/") + name);
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void LoadResourceBitmap(const QString &name, platform::TBitmap &bitmap)
{
    const QByteArray data = ResourceData(name);
    if (data.isEmpty())
        throw platform::Exception(QStringLiteral("Resource %1 not found").arg(name));
    bitmap.LoadFromData(data);
}

// --- Options --------------------------------------------------------------

TCoolOptions ExcludeConflictingOptions(TCoolOptions current, TCoolOptions requested)
{
    if (requested.testFlag(ocPaintTransparently) && current.testFlag(ocPaintWallpaper))
        requested.setFlag(ocPaintWallpaper, false);
    else if (requested.testFlag(ocPaintWallpaper) && current.testFlag(ocPaintTransparently))
        requested.setFlag(ocPaintTransparently, false);
    return requested;
}

QString CoolOptionName(TCoolOption option)
{
    // The names are the enumeration's own, from its meta-object.
    return QString::fromLatin1(QMetaEnum::fromType<TCoolOptions>().valueToKey(int(option)));
}

QString CoolOptionsToString(TCoolOptions options)
{
    QStringList names;
    for (int i = 0; i < CoolOptionCount; ++i)
        if (options.testFlag(CoolOptionAt(i)))
            names << CoolOptionName(CoolOptionAt(i));
    return QLatin1Char('[') + names.join(QLatin1Char(',')) + QLatin1Char(']');
}

TCoolOptions StringToCoolOptions(const QString &text)
{
    const QString t = text.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        throw platform::EConvertError(QStringLiteral("'%1' is not a valid option set").arg(text));
    TCoolOptions result;
    const QString inner = t.mid(1, t.size() - 2).trimmed();
    if (inner.isEmpty())
        return result;
    const QMetaEnum names = QMetaEnum::fromType<TCoolOptions>();
    for (const QString &part : inner.split(QLatin1Char(','))) {
        const QByteArray name = part.trimmed().toLatin1();
        bool ok = false;
        const int value = names.keyToValue(name.constData(), &ok);
        if (!ok)
            throw platform::EConvertError(QStringLiteral("'%1' is not a valid option name").arg(part.trimmed()));
        result |= TCoolOption(value);
    }
    return result;
}

// --- Strings and rectangles ---------------------------------------------

QString ReverseString(const QString &text)
{
    QString out = text;
    std::reverse(out.begin(), out.end());
    return out;
}

int LastPos(const QString &needle, const QString &text)
{
    if (needle.isEmpty())
        return 0;
    return int(ReverseString(text).indexOf(ReverseString(needle))) + 1;
}

QString ExtractParentFolder(const QString &path)
{
    QString p = path;
    if (p.endsWith(QLatin1Char('/')))
        p.chop(1);
    const auto slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return path;
    return p.left(slash + 1);
}

void AdjustRectSides(QRect &r, int dLeft, int dTop, int dRight, int dBottom)
{
    r.setLeft(r.left() + dLeft);
    r.setTop(r.top() + dTop);
    r.setRight(r.right() + dRight);
    r.setBottom(r.bottom() + dBottom);
}

// --- Folders --------------------------------------------------------------

uint32_t FileAttributes(const QString &path)
{
    const QFileInfo info(path);
    uint32_t attrs = 0;
    if (info.isDir())
        attrs |= faDirectory;
    else if (info.isFile())
        attrs |= faArchive;
    else
        attrs |= faSysFile;
    if (info.fileName().startsWith(QLatin1Char('.')))
        attrs |= faHidden;
    if (!info.isWritable())
        attrs |= faReadOnly;
    return attrs;
}

QStringList GetFolderList(const QString &folder, const QString &mask, uint32_t attributes)
{
    QString dirPath = folder;
    if (!dirPath.endsWith(QLatin1Char('/')))
        dirPath += QLatin1Char('/');
    const QString pattern = (mask.isEmpty() || mask == QLatin1String("*.*")) ? QStringLiteral("*") : mask;
    const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern),
                                   QRegularExpression::CaseInsensitiveOption);
    if (!match.isValid())
        return {};

    QStringList dirs, files;
    QDirIterator it(dirPath, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (!match.match(name).hasMatch())
            continue;
        const uint32_t attrs = FileAttributes(dirPath + name);
        if ((attrs & ~attributes) != 0)
            continue;
        if (attrs & faDirectory)
            dirs << name;
        else if (attrs & faArchive)
            files << name;
    }
    // Case-insensitive order; names equal but for case are ordered
    // case-sensitively so that the result does not depend on the order the
    // file system lists them in.
    const auto less = [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    };
    std::sort(dirs.begin(), dirs.end(), less);
    std::sort(files.begin(), files.end(), less);
    return dirs + files;
}

QStyle *ClassicStyle()
{
    static QPointer<QStyle> style;
    if (!style && qApp) {
        style = QStyleFactory::create(QStringLiteral("Windows"));
        if (style)
            style->setParent(qApp);
    }
    return style;
}

} // namespace coolctrls
