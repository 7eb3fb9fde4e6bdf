#include "TCoolItems.h"

#include "CoolUtils.h"
#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/Printers.h"
#include "platform/canvas/Fonts.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCollator>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontMetrics>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <numeric>

namespace coolctrls {

using namespace platform;

namespace {

// Holds each row's place in the sort order while a model that cannot move
// rows sorts itself.
constexpr int SortKeyRole = Qt::UserRole + 0x5e7;

TCoolItems::TPrinterProvider &printerProvider()
{
    static TCoolItems::TPrinterProvider provider;
    return provider;
}

TCoolItems::TColorDialog &colorDialog()
{
    static TCoolItems::TColorDialog dialog;
    return dialog;
}

TCoolItems::TFontDialog &fontDialog()
{
    static TCoolItems::TFontDialog dialog;
    return dialog;
}

} // namespace

TCoolItems::TCoolItems(QWidget *control, QAbstractItemModel *model, Kind kind, THost &host)
    : m_control(control)
    , m_model(model)
    , m_kind(kind)
    , m_host(host)
    , m_wallpaper(control)
    , m_checks(model)
{
    m_selFont.Assign(control->font());
    m_selFont.setColor(clHighlightText);
    m_glyph.UseTextMetrics = true;
    // Everything the items are painted with announces its changes.
    const auto changed = [this] { emit Changed(); };
    // SelFont set on its own is the control's choice: the parent's font is
    // no longer followed.
    m_selFont.OnChange = [this](TFont *) {
        if (!m_followingParentFont)
            setParentFont(false);
        emit Changed();
    };
    m_glyph.OnChange = [this](TGlyph *) { emit Changed(); };
    m_borderPen.OnChange = [this](TPen *) { emit Changed(); };
    m_selWallpaper.OnBitmapChanged = changed;
    m_wallpaper.OnImagesChanged = changed;
    m_wallpaper.OnWallpaperChanged = changed;
    m_wallpaper.OnStoreRemoved = changed;
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { rowsInserted(first, last); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, &TCoolItems::rowsRemoved);
    connect(model, &QAbstractItemModel::modelReset, this, &TCoolItems::rowsRemoved);
}

TCoolItems::~TCoolItems() = default;

void TCoolItems::setNumGlyphs(int value)
{
    // A new count reaches Changed through the glyph holder's OnChange.
    m_glyph.setNumGlyphsLimited(value);
}

void TCoolItems::setCoolImages(TCoolImages *store)
{
    // Moving the link invalidates the control; the items repaint with it.
    m_wallpaper.setCoolImages(store);
    emit Changed();
}

void TCoolItems::setIdWallpaper(int value)
{
    if (m_wallpaper.setIdWallpaper(value))
        emit Changed();
}

void TCoolItems::setIdSelWallpaper(int value)
{
    if (m_selWallpaper.setIndex(value))
        emit Changed();
}

void TCoolItems::setTransparencyLevel(int value)
{
    if (m_wallpaper.setTransparencyLevel(uint8_t(qBound(0, value, 255))))
        emit Changed();
}

bool TCoolItems::FixedBackground() const
{
    return (m_options.testFlag(ocPaintWallpaper) && ResolveWallpaper()) || m_options.testFlag(ocPaintTransparently);
}

void TCoolItems::setOptions(TCoolOptions value)
{
    value = ExcludeConflictingOptions(m_options, value);
    if (value == m_options)
        return;
    m_options = value;
    emit OptionsChanged();
    emit Changed();
}

void TCoolItems::setImages(TImageList *value)
{
    disconnect(m_imagesChanged);
    m_images = value;
    if (value)
        m_imagesChanged = connect(value, &TImageList::changed, this, &TCoolItems::Changed);
    emit Changed();
}

void TCoolItems::setShadowPos(TShadowPosition value)
{
    if (value <= spRightTop)
        changeShadow(m_shadow.setPos(value));
}

void TCoolItems::setItemHeight(int value)
{
    value = qMax(1, value);
    if (!StoreChanged(m_itemHeight, value))
        return;
    emit ItemHeightChanged();
    emit Changed();
}

int TCoolItems::TabStopPixels(int averageCharWidth) const
{
    const int stop = m_tabWidth > 0 ? m_tabWidth * averageCharWidth / 4 : 8 * averageCharWidth;
    return qMax(1, stop);
}

void TCoolItems::ControlFontChanged()
{
    // A font of the control's own turns ParentFont off and leaves SelFont
    // alone; the parent's font is followed by both.
    if (m_control->testAttribute(Qt::WA_SetFont))
        return;
    const QScopedValueRollback following(m_followingParentFont, true);
    m_selFont.Assign(m_control->font());
    // The face by the name the control publishes ("Courier New"), not the
    // family it is drawn in.
    if (const QVariant face = m_control->property("FontName"); face.isValid())
        m_selFont.setName(face.toString());
    m_selFont.setColor(clHighlightText);
}

bool TCoolItems::ParentFont() const
{
    return !m_control->testAttribute(Qt::WA_SetFont);
}

void TCoolItems::setParentFont(bool value)
{
    if (value == ParentFont())
        return;
    if (value) {
        // An empty font resolves nothing of its own: the parent's shows.
        m_control->setFont(QFont());
        m_control->setAttribute(Qt::WA_SetFont, false);
        ControlFontChanged();
    } else {
        QFont own = m_control->font();
        own.setResolveMask(QFont::AllPropertiesResolved);
        m_control->setFont(own);
    }
}

namespace {

// The order of the user's locale (the default QLocale), without regard to
// case.
QCollator sortCollator()
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

} // namespace

bool TCoolItems::SortsBefore(const QString &a, const QString &b)
{
    return sortCollator().compare(a, b) < 0;
}

void TCoolItems::setSorted(bool value)
{
    if (!StoreChanged(m_sorted, value))
        return;
    if (value)
        sortRows();
}

void TCoolItems::sortRows()
{
    if (!m_sorted || m_sorting || m_filling)
        return;
    const QScopedValueRollback guard(m_sorting, true);
    const int n = Count();
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    QStringList texts;
    for (int i = 0; i < n; ++i)
        texts << ItemText(i);
    const QCollator collator = sortCollator();
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return collator.compare(texts[a], texts[b]) < 0; });
    if (std::is_sorted(order.begin(), order.end()))
        return;
    // Moving rows raises no selection or current-item notifications: the
    // user chose nothing.
    const QSignalBlocker quiet(m_control);
    if (auto *standard = qobject_cast<QStandardItemModel *>(m_model)) {
        // It cannot move rows, but its sort keeps persistent indexes: sort
        // by each row's place in the order, given as a sort key.
        const int oldRole = standard->sortRole();
        for (int place = 0; place < n; ++place)
            standard->item(order[size_t(place)])->setData(place, SortKeyRole);
        standard->setSortRole(SortKeyRole);
        standard->sort(0, Qt::AscendingOrder);
        standard->setSortRole(oldRole);
        for (int row = 0; row < n; ++row)
            standard->item(row)->setData(QVariant(), SortKeyRole);
        return;
    }
    // Row by row: the item that belongs at each place is moved there.
    std::vector<int> rows(static_cast<size_t>(n));
    std::iota(rows.begin(), rows.end(), 0);
    for (int place = 0; place < n; ++place) {
        const auto from = std::find(rows.begin() + place, rows.end(), order[size_t(place)]);
        const int row = int(from - rows.begin());
        if (row == place)
            continue;
        if (!m_model->moveRow(QModelIndex(), row, QModelIndex(), place))
            return;
        std::rotate(rows.begin() + place, from, from + 1);
    }
}

// --- items ------------------------------------------------------------------

int TCoolItems::Count() const
{
    return m_model->rowCount();
}

QString TCoolItems::ItemText(int index) const
{
    return m_model->index(index, 0).data(Qt::DisplayRole).toString();
}

void TCoolItems::SetItems(const QStringList &items)
{
    m_model->removeRows(0, m_model->rowCount());
    for (const QString &text : items)
        AddItem(text);
}

// --- extended styles ----------------------------------------------------------

void TCoolItems::setExtendedStyle(TCoolControlStyle value)
{
    if (!StoreChanged(m_style, value))
        return;
    if (value == ctCheckControl)
        m_extendedCheck = false;
    else if (value != ctCoolControl)
        fill();
    emit Changed();
}

void TCoolItems::setExtendedCheck(bool value)
{
    if (m_style == ctCheckControl)
        value = false;
    assign(m_extendedCheck, value);
}

void TCoolItems::setTrueType(bool value)
{
    m_trueType = value;
    m_model->removeRows(0, m_model->rowCount());
    if (m_style == ctFontControl)
        fill();
    emit Changed();
}

void TCoolItems::setLightColorControl(bool value)
{
    if (!StoreChanged(m_lightColorControl, value))
        return;
    if (m_style == ctColorControl)
        fill();
    emit Changed();
}

void TCoolItems::setFolderName(const QString &value)
{
    if (m_folderName == value)
        return;
    m_folderName = NormalizeFolderName(value);
    if (m_style == ctFolderControl)
        fill();
}

void TCoolItems::setFileMask(const QString &value)
{
    if (!StoreChanged(m_fileMask, value))
        return;
    if (m_style == ctFolderControl)
        fill();
}

void TCoolItems::setFileType(TFileType value)
{
    if (!StoreChanged(m_fileType, value))
        return;
    if (m_style == ctFolderControl)
        fill();
}

void TCoolItems::Refill()
{
    if (m_style == ctFontControl || m_style == ctPrinterControl || m_style == ctFolderControl)
        fill();
}

void TCoolItems::fill()
{
    QStringList items;
    switch (m_style) {
    case ctColorControl: items = ColorList(m_lightColorControl); break;
    case ctFontControl: items = FontList(m_trueType); break;
    case ctPrinterControl: items = PrinterList(); break;
    case ctFolderControl:
        // Built completely before the items are replaced: a scan that fails
        // leaves an empty list, never a part of one.
        if (!m_folderName.isEmpty()) {
            try {
                items = GetFolderList(m_folderName, m_fileMask, FileTypeAttributes(m_fileType));
            } catch (...) {
                items.clear();
            }
        }
        break;
    case ctCoolControl:
    case ctCheckControl: return;
    }
    m_filling = true;
    SetItems(items);
    m_filling = false;
    sortRows();
}

QString TCoolItems::NormalizeFolderName(const QString &name)
{
    QString result = name;
    if (!result.isEmpty() && !result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    const int dots = result.indexOf(QLatin1String(".."));
    if (dots >= 0)
        result = ExtractParentFolder(result.left(dots));
    return result;
}

uint32_t TCoolItems::FileTypeAttributes(TFileType type)
{
    static constexpr std::pair<TFileTypeValue, uint32_t> bits[] = {
        {ftReadOnly, faReadOnly}, {ftHidden, faHidden},       {ftSystem, faSysFile}, {ftVolumeID, faVolumeID},
        {ftDirectory, faDirectory}, {ftArchive, faArchive}, {ftNormal, faAnyFile}};
    uint32_t result = 0;
    for (const auto &[type1, attributes] : bits)
        if (type.testFlag(type1))
            result |= attributes;
    return result;
}

QStringList TCoolItems::ColorList(bool light)
{
    if (light)
        return basicColorNames();
    QStringList names;
    for (const auto &entry : colorNames())
        names << entry.second;
    return names;
}

QStringList TCoolItems::FontList(bool trueType)
{
    QStringList fonts = screenFonts();
    if (trueType)
        fonts.erase(std::remove_if(fonts.begin(), fonts.end(), [](const QString &f) { return !IsTrueTypeFont(f); }),
                    fonts.end());
    return fonts;
}

QStringList TCoolItems::PrinterList()
{
    if (printerProvider())
        return printerProvider()();
    return platform::availablePrinterNames();
}

TCoolItems::TPrinterProvider TCoolItems::setPrinterProvider(TPrinterProvider provider)
{
    return std::exchange(printerProvider(), std::move(provider));
}

// --- colour mode ----------------------------------------------------------------

QString TCoolItems::NormalizedColorText(const QString &text)
{
    try {
        StringToColor(text);
        return text;
    } catch (const EConvertError &) {
        return QStringLiteral("cl") + text;
    }
}

std::optional<TColor> TCoolItems::ItemColor(const QString &text)
{
    try {
        return StringToColor(NormalizedColorText(text));
    } catch (const EConvertError &) {
        return std::nullopt;
    }
}

void TCoolItems::SelectColor(TColor color)
{
    if (m_style != ctColorControl)
        return;
    for (int i = 0; i < Count(); ++i) {
        if (ItemColor(ItemText(i)) == color) {
            m_host.setItemIndex(i);
            m_selectedColor = color;
            return;
        }
    }
    m_host.setItemIndex(-1);
    m_selectedColor = TColor(-1);
}

void TCoolItems::SelectionChanged()
{
    if (m_style != ctColorControl)
        return;
    const int index = m_host.ItemIndex();
    if (index < 0)
        return;
    if (auto color = ItemColor(ItemText(index)))
        m_selectedColor = *color;
}

// --- check mode ------------------------------------------------------------------

bool TCoolItems::Checked(int index) const
{
    const TCheckWrapper *record = m_checks.find(index);
    return record && record->State == 1;
}

void TCoolItems::setChecked(int index, bool value)
{
    if (Checked(index) == value)
        return;
    setCheckState(index, value ? 1 : 0);
}

int TCoolItems::CheckState(int index) const
{
    const TCheckWrapper *record = m_checks.find(index);
    return record ? record->State : 0;
}

void TCoolItems::setCheckState(int index, int state)
{
    TCheckWrapper *record = m_checks.obtain(index);
    if (!record)
        throw Exception(QStringLiteral("Unable to obtain data"));
    record->State = uint8_t(qBound(0, state, 2));
}

int32_t TCoolItems::ItemData(int index) const
{
    const QModelIndex mi = m_model->index(index, 0);
    if (!mi.isValid())
        throw Exception(QStringLiteral("Unable to obtain data"));
    if (!CheckMode())
        return mi.data(Qt::UserRole).toInt();
    const TCheckWrapper *record = m_checks.find(index);
    return record ? record->Data : 0;
}

void TCoolItems::setItemData(int index, int32_t value)
{
    const QModelIndex mi = m_model->index(index, 0);
    if (!mi.isValid())
        throw Exception(QStringLiteral("Unable to obtain data"));
    if (!CheckMode()) {
        m_model->setData(mi, value, Qt::UserRole);
        return;
    }
    TCheckWrapper *record = m_checks.obtain(index);
    record->Data = value;
    if (!m_savedStates.empty()) {
        record->State = m_savedStates.front();
        m_savedStates.pop_front();
    }
}

void TCoolItems::Recreate()
{
    const bool checkMode = CheckMode();
    if (checkMode && Count() > 0)
        for (int i = 0; i < Count(); ++i)
            m_savedStates.push_back(uint8_t(CheckState(i)));
    QStringList texts;
    std::vector<int32_t> data;
    for (int i = 0; i < Count(); ++i) {
        texts << ItemText(i);
        data.push_back(ItemData(i));
    }
    const int current = m_host.ItemIndex();
    m_model->removeRows(0, Count());
    m_checks.clear();
    for (int i = 0; i < texts.size(); ++i) {
        AddItem(texts[i]);
        setItemData(i, data[size_t(i)]);
    }
    if (checkMode)
        m_savedStates.clear();
    m_host.setItemIndex(current);
}

// --- dialog keys ---------------------------------------------------------------------

TCoolItems::TColorDialog TCoolItems::setColorDialog(TColorDialog dialog)
{
    return std::exchange(colorDialog(), std::move(dialog));
}

TCoolItems::TFontDialog TCoolItems::setFontDialog(TFontDialog dialog)
{
    return std::exchange(fontDialog(), std::move(dialog));
}

TCoolItems::TDialogResult TCoolItems::DialogKey(int key, Qt::KeyboardModifiers modifiers)
{
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || (modifiers & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return TDialogResult::None;
    if (m_style == ctColorControl) {
        std::optional<TColor> chosen;
        if (colorDialog()) {
            chosen = colorDialog()(m_control, m_selectedColor);
        } else {
            const QColor c = QColorDialog::getColor(ColorToQColor(m_selectedColor), m_control);
            if (c.isValid())
                chosen = QColorToColor(c);
        }
        if (!chosen)
            return TDialogResult::None;
        SelectColor(*chosen);
        if (m_host.ItemIndex() < 0) {
            AddItem(ColorToString(*chosen));
            SelectColor(*chosen);
        }
        return TDialogResult::Color;
    }
    if (m_style == ctFontControl) {
        const QFont initial = FontValue().toQFont();
        std::optional<QFont> chosen;
        if (fontDialog()) {
            chosen = fontDialog()(m_control, initial);
        } else {
            bool ok = false;
            const QFont f = QFontDialog::getFont(&ok, initial, m_control);
            if (ok)
                chosen = f;
        }
        if (!chosen)
            return TDialogResult::None;
        m_fontValue.Assign(*chosen);
        int found = -1;
        for (int i = 0; i < Count() && found < 0; ++i)
            if (ItemText(i) == m_fontValue.Name())
                found = i;
        m_host.setItemIndex(found);
        return TDialogResult::Font;
    }
    return TDialogResult::None;
}

// --- font value --------------------------------------------------------------------

TFont &TCoolItems::FontValue()
{
    const int index = m_host.ItemIndex();
    if (index >= 0 && index < Count()) {
        auto notify = std::exchange(m_fontValue.OnChange, nullptr);
        m_fontValue.setName(ItemText(index));
        m_fontValue.OnChange = std::move(notify);
    }
    return m_fontValue;
}

// --- flat border and edge borders ----------------------------------------------------------

void TCoolItems::MouseEntered(const std::function<void(QObject *)> &onMouseEnter)
{
    if (onMouseEnter)
        onMouseEnter(m_control);
}

void TCoolItems::MouseLeft(const std::function<void(QObject *)> &onMouseLeave)
{
    if (onMouseLeave)
        onMouseLeave(m_control);
}

void TCoolItems::PaintBorders(TCanvas &canvas, bool focused) const
{
    if (m_options.testFlag(ocFlatBorder))
        DrawFlatBorder(&canvas, m_control, focused);
    DrawEdgeBorders(&canvas, m_control, m_edgeBorders, m_bordersTrColor, m_borderPen);
}

// --- horizontal extent ----------------------------------------------------------------

int TCoolItems::MeasureItem(const QString &text) const
{
    const int selWidth = QFontMetrics(m_selFont.toQFont()).horizontalAdvance(text);
    const int width = QFontMetrics(m_control->font()).horizontalAdvance(text);
    return qMax(selWidth, width) + m_glyph.Glyph().Width();
}

void TCoolItems::rowsInserted(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        const QString text = ItemText(row);
        // A text that is no colour is reported once, here, and painted
        // without a swatch.
        if (m_style == ctColorControl && !m_filling) {
            try {
                StringToColor(text);
            } catch (const EConvertError &e) {
                showError(e.message());
            }
        }
        // Measured when the extent is next asked for, against the limit of
        // now.
        m_unmeasured.emplace_back(text, m_host.ExtentLimit());
    }
    emit ExtentChanged();
    sortRows();
}

void TCoolItems::rowsRemoved()
{
    // The longest text by its length (the first of equal ones) sets the
    // extent, whatever the limit; what was added before does not count.
    int longest = -1;
    for (int i = 0; i < Count(); ++i)
        if (longest < 0 || ItemText(i).size() > ItemText(longest).size())
            longest = i;
    m_remeasure = longest < 0 ? std::optional<QString>() : ItemText(longest);
    m_unmeasured.clear();
    emit ExtentChanged();
}

int TCoolItems::MaxItemWidth() const
{
    if (m_remeasure) {
        m_maxItemWidth = *m_remeasure ? MeasureItem(**m_remeasure) : 0;
        m_remeasure.reset();
    }
    for (const auto &[text, limit] : m_unmeasured) {
        const int width = MeasureItem(text);
        if (width > m_maxItemWidth && width > limit)
            m_maxItemWidth = width;
    }
    m_unmeasured.clear();
    return m_maxItemWidth;
}

} // namespace coolctrls
