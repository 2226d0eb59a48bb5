// The report's printer in Qt: the system's default printer, or a PDF file when there is none.
#pragma once

#include <memory>

#include "report/printer_port.h"

namespace hcurve {

/// A printer for one report.
std::unique_ptr<PrinterPort> makeQtPrinter();

}  // namespace hcurve
