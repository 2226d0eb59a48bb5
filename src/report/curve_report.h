// 打印: the printed curve report.
#pragma once

#include "curve/curve_record.h"
#include "port/user_port.h"
#include "report/printer_port.h"

namespace hcurve {

/// Prints the report of the record's computed curve and of its last stake run through the
/// printer, up to but not including the end of the document. The record must hold a computed
/// curve. Before any stake run the report has no stake table.
void printCurveReport(const CurveRecord& record, PrinterPort& printer);

/// The command: refuses with a message while there is no computed curve; otherwise prints, ends
/// the document and shows the printer's message, if any. Changes neither the record nor the window.
void printReport(const CurveRecord& record, UserPort& port, PrinterPort& printer);

}  // namespace hcurve
