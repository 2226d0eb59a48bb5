// The report's printer on the console: each printed line as "print", TAB, the line.
#pragma once

#include <iosfwd>

#include "report/printer_port.h"

namespace hcurve {

class ConsolePrinter : public PrinterPort {
public:
    explicit ConsolePrinter(std::ostream& out) : out_(out) {}
    void setPosition(int x_twips, int y_twips) override;
    void setFontFace(const std::string& face) override;
    void setFontSize(int points) override;
    void printLine(const std::vector<PrintItem>& items) override;
    std::optional<std::string> endDocument() override;

private:
    std::ostream& out_;
};

}  // namespace hcurve
