// The report's printer on the console: each printed line as "print", TAB, the line. Columns are
// character cells: column n starts after n - 1 cells, and a wide (CJK) character takes two.
#pragma once

#include <iosfwd>

#include "report/printer_port.h"

namespace hcurve {

/// Thrown when the console's output cannot be written any more: the session stops there.
struct OutputFailed {};

class ConsolePrinter : public PrinterPort {
  public:
    explicit ConsolePrinter(std::ostream& out) : out_(out) {}
    /// Positions, faces and sizes have no meaning on the console; the columns are cells.
    void setPosition(int x_twips, int y_twips) override;
    void setFontFace(const std::string& face) override;
    void setFontSize(int points) override;
    void printLine(const std::vector<PrintItem>& items) override;
    /// The lines are already written; nothing to tell the user.
    Result<std::string> endDocument() override;

  private:
    std::ostream& out_;
};

}  // namespace hcurve
