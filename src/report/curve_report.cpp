#include "report/curve_report.h"

#include "port/messages.h"

namespace hcurve {

void printCurveReport(const CurveRecord&, PrinterPort&) {}

void command4(const CurveRecord& record, UserPort& port, PrinterPort& printer) {
    if (!record.curve) {
        port.showMessage(kNoComputedCurve);
        return;
    }
    printCurveReport(record, printer);
    if (auto message = printer.endDocument()) port.showMessage(*message);
}

}  // namespace hcurve
