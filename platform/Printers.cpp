#include "Printers.h"

#include "OwnLibrary.h"

#include <QDebug>

namespace platform {

namespace {

PrinterNamesEntry loadPrintLibrary()
{
    const QString fileName = QStringLiteral(TONVIK_PRINT_LIBRARY);
    QString reasons;
    auto entry = reinterpret_cast<PrinterNamesEntry>(loadOwnLibrary(fileName, PrinterNamesEntryName, &reasons));
    if (!entry)
        qWarning().noquote() << QStringLiteral("No printers listed: the library %1 cannot be loaded: %2")
                                    .arg(fileName, reasons);
    return entry;
}

} // namespace

QStringList availablePrinterNames()
{
    static const PrinterNamesEntry entry = loadPrintLibrary();
    QStringList names;
    if (entry)
        entry(names);
    return names;
}

} // namespace platform
