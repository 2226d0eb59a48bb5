// The report's printer in Qt. The report is printed when its document ends: on the system's
// default printer, at once and without a dialog; when there is no printer or the job fails, it is
// written as a PDF file instead and the user is told where.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "curve/result.h"
#include "report/printer_port.h"

class QPrinter;

namespace hcurve {

/// Draws one document on a printer that is set up (a real printer or a PDF file): done, or why
/// it failed.
using PaintJob = std::function<Result<void>(QPrinter&)>;

/// Prints the document named name on the system's default printer, at once and without a dialog:
/// done, or why it could not (no printer, or the printer's failure).
Result<void> printOnDefaultPrinter(const QString& name, const PaintJob& paint);

/// A document kept as a new dated PDF file (name-YYYYMMDD-HHMMSS.pdf) in the first folder that
/// takes it of: the documents folder (made when missing, only inside the home folder), the home
/// folder, the system's temporary folder. Never replaces a file nor writes through a link.
struct DatedPdf {
    QString path;        // where it went, or the last place tried
    Result<void> saved;  // done, or why the last place failed
};
DatedPdf saveDatedPdf(const QString& name, const PaintJob& paint);

/// Writes the document as a PDF file at path, replacing a file there only with a complete
/// document: done, or why it failed.
Result<void> savePdf(const QString& path, const QString& name, const PaintJob& paint);

/// A failure's message as the window shows it.
QString failureText(const Failure& failure);

/// A printer for one report: the default printer, or, when the printer is missing or fails, a new
/// dated PDF file (平曲线报表-YYYYMMDD-HHMMSS.pdf) as saveDatedPdf keeps it. Needs a running
/// QGuiApplication.
std::unique_ptr<PrinterPort> makeQtPrinter();

/// A printer for one report that writes it as a PDF file at the given path (UTF-8), replacing a
/// file there only with a complete report. Its endDocument tells where the file went, or why it
/// could not be written.
std::unique_ptr<PrinterPort> makePdfPrinter(const std::string& path);

}  // namespace hcurve
