#include "CoolUtils.h"

#include "platform/Exception.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace coolctrls {

// --- Options --------------------------------------------------------------

namespace {

constexpr std::array<const char *, CoolOptionCount> kOptionNames = {
    "ocPaintWallpaper", "ocStretchWallpaper", "ocPaintSelWallpaper",
    "ocPaintCaptionWallpaper", "ocInvertWallpaperAsSelect", "ocPaintGradiently",
    "ocBevelOnlyIfSel", "ocUseImageList", "ocUseGlyphAssign", "oc3dMDIForm",
    "ocWallpaperForMDIChildren", "ocGradientForMDIChildren", "ocNoCaption",
    "ocSmallCaption", "ocNoMDIChildrensCaptions", "ocDragUsingClientArea",
    "ocNoDragUsingCaption", "ocRoundedForm", "ocFlatBorder",
    "ocPaintFormSemiTransparently", "ocPaintTransparently",
};

} // namespace

TCoolOptions ExcludeConflictingOptions(TCoolOptions current, TCoolOptions requested)
{
    if (requested.contains(ocPaintTransparently) && current.contains(ocPaintWallpaper))
        requested.exclude(ocPaintWallpaper);
    else if (requested.contains(ocPaintWallpaper) && current.contains(ocPaintTransparently))
        requested.exclude(ocPaintTransparently);
    return requested;
}

QString CoolOptionName(TCoolOption option)
{
    const auto i = size_t(option);
    return i < kOptionNames.size() ? QString::fromLatin1(kOptionNames[i]) : QString();
}

QString CoolOptionsToString(TCoolOptions options)
{
    QStringList names;
    for (int i = 0; i < CoolOptionCount; ++i)
        if (options.contains(TCoolOption(i)))
            names << CoolOptionName(TCoolOption(i));
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
    for (const QString &part : inner.split(QLatin1Char(','))) {
        const QString name = part.trimmed();
        const auto it = std::find_if(kOptionNames.begin(), kOptionNames.end(),
                                     [&](const char *n) { return name == QLatin1String(n); });
        if (it == kOptionNames.end())
            throw platform::EConvertError(QStringLiteral("'%1' is not a valid option name").arg(name));
        result.include(TCoolOption(it - kOptionNames.begin()));
    }
    return result;
}

// --- Colour names ---------------------------------------------------------

namespace {

struct ColorName
{
    uint32_t value;
    const char *name;
};

constexpr uint32_t sys(uint32_t index) { return 0x80000000u | index; }

constexpr std::array<ColorName, 42> kColorNames = {{
    {0x000000, "clBlack"},   {0x000080, "clMaroon"}, {0x008000, "clGreen"},
    {0x008080, "clOlive"},   {0x800000, "clNavy"},   {0x800080, "clPurple"},
    {0x808000, "clTeal"},    {0x808080, "clGray"},   {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"},     {0x00FF00, "clLime"},   {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},    {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"},
    {sys(0), "clScrollBar"},        {sys(1), "clBackground"},
    {sys(2), "clActiveCaption"},    {sys(3), "clInactiveCaption"},
    {sys(4), "clMenu"},             {sys(5), "clWindow"},
    {sys(6), "clWindowFrame"},      {sys(7), "clMenuText"},
    {sys(8), "clWindowText"},       {sys(9), "clCaptionText"},
    {sys(10), "clActiveBorder"},    {sys(11), "clInactiveBorder"},
    {sys(12), "clAppWorkSpace"},    {sys(13), "clHighlight"},
    {sys(14), "clHighlightText"},   {sys(15), "clBtnFace"},
    {sys(16), "clBtnShadow"},       {sys(17), "clGrayText"},
    {sys(18), "clBtnText"},         {sys(19), "clInactiveCaptionText"},
    {sys(20), "clBtnHighlight"},    {sys(21), "cl3DDkShadow"},
    {sys(22), "cl3DLight"},         {sys(23), "clInfoText"},
    {sys(24), "clInfoBk"},          {0x1FFFFFFF, "clNone"},
}};

QStringList namesOf(size_t count)
{
    QStringList names;
    for (size_t i = 0; i < count; ++i)
        names << QString::fromLatin1(kColorNames[i].name);
    return names;
}

} // namespace

const QStringList &BasicColorNames()
{
    static const QStringList names = namesOf(16);
    return names;
}

const QStringList &AllColorNames()
{
    static const QStringList names = namesOf(kColorNames.size());
    return names;
}

QString ColorToString(uint32_t color)
{
    for (const ColorName &c : kColorNames)
        if (c.value == color)
            return QString::fromLatin1(c.name);
    return QLatin1Char('$') + QStringLiteral("%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

bool TryStringToColor(const QString &text, uint32_t &color)
{
    const QString t = text.trimmed();
    for (const ColorName &c : kColorNames) {
        if (t.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) {
            color = c.value;
            return true;
        }
    }
    bool ok = false;
    qint64 value = 0;
    if (t.startsWith(QLatin1Char('$')))
        value = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toLongLong(&ok, 16);
    else
        value = t.toLongLong(&ok, 10);
    // Colour values are 32 bits; negative decimals are their two's complement.
    if (!ok || value < -0x80000000LL || value > 0xFFFFFFFFLL)
        return false;
    color = uint32_t(value);
    return true;
}

uint32_t StringToColor(const QString &text)
{
    uint32_t color = 0;
    if (!TryStringToColor(text, color))
        throw platform::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return color;
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

} // namespace coolctrls
