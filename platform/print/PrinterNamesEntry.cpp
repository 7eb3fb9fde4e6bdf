// The entry point of the print library (see platform/Printers.h): the
// printers Qt Print Support knows.
#include "platform/Printers.h"

#include <QPrinterInfo>

extern "C" Q_DECL_EXPORT void tonvikPrinterNames(QStringList &names)
{
    names = QPrinterInfo::availablePrinterNames();
}
