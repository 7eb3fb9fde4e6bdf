#pragma once

#include <QStringList>

namespace platform {

// The names of the printers the system offers (Qt Print Support's list).
// Qt Print Support lives in a library of its own, libtonvik-platform_print,
// which is loaded with the dynamic linker the first time printers are
// listed (see OwnLibrary.h), so programs that never list printers do not
// load and relocate it at their start. Where that library cannot be loaded
// the list is empty and the reason is logged once.
QStringList availablePrinterNames();

// The entry point of libtonvik-platform_print: fills names with the
// printers' names.
using PrinterNamesEntry = void (*)(QStringList &names);
inline constexpr char PrinterNamesEntryName[] = "tonvikPrinterNames";

} // namespace platform
