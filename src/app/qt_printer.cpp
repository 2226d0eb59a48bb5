#include "app/qt_printer.h"

namespace hcurve {
namespace {

class UnavailablePrinter : public PrinterPort {
public:
    void setPosition(int, int) override {}
    void setFontFace(const std::string&) override {}
    void setFontSize(int) override {}
    void printLine(const std::vector<PrintItem>&) override {}
    std::optional<std::string> endDocument() override { return "打印功能尚未提供。"; }
};

}  // namespace

std::unique_ptr<PrinterPort> makeQtPrinter() { return std::make_unique<UnavailablePrinter>(); }

}  // namespace hcurve
