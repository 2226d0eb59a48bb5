#include "app/console_printer.h"

#include <ostream>

namespace hcurve {

void ConsolePrinter::setPosition(int, int) {}
void ConsolePrinter::setFontFace(const std::string&) {}
void ConsolePrinter::setFontSize(int) {}
void ConsolePrinter::printLine(const std::vector<PrintItem>&) {}
std::optional<std::string> ConsolePrinter::endDocument() { return "打印功能尚未提供。"; }

}  // namespace hcurve
