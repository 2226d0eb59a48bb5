// The report's printer in Qt. The report is printed when its document ends: on the system's
// default printer, at once and without a dialog; when there is no printer or the job fails, it is
// written as a PDF file instead and the user is told where.
#pragma once

#include <memory>
#include <string>

#include "report/printer_port.h"

namespace hcurve {

/// A printer for one report: the default printer, or, when the printer is missing or fails, a new
/// dated PDF file (平曲线报表-YYYYMMDD-HHMMSS.pdf) in the first folder that takes it of: the
/// documents folder (made when missing, only inside the home folder), the home folder, the
/// system's temporary folder. Needs a running QGuiApplication.
std::unique_ptr<PrinterPort> makeQtPrinter();

/// A printer for one report that writes it as a PDF file at the given path (UTF-8), replacing a
/// file there only with a complete report. Its endDocument tells where the file went, or why it
/// could not be written.
std::unique_ptr<PrinterPort> makePdfPrinter(const std::string& path);

}  // namespace hcurve
