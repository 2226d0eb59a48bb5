// The printer as the report sees it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "curve/result.h"

namespace hcurve {

/// One text item of a printed line. column >= 1: the item starts at that character column
/// (column n starts n - 1 average character widths from the left edge; when the line has already
/// passed it, the item goes to that column of the next line). column 0: the item follows the
/// previous one directly.
struct PrintItem {
    int column;
    std::string text;
};

class PrinterPort {
  public:
    virtual ~PrinterPort() = default;
    virtual void setPosition(int x_twips, int y_twips) = 0;
    virtual void setFontFace(const std::string& face) = 0;
    virtual void setFontSize(int points) = 0;
    /// Prints one line of items (an empty list prints an empty line) and moves to the next line.
    virtual void printLine(const std::vector<PrintItem>& items) = 0;
    /// Ends the document so that it is printed. Its value is what the user must be told about where
    /// the report went when that is not simply the printer (written to a file instead; empty when
    /// printed), its failure why it went nowhere.
    virtual Result<std::string> endDocument() = 0;
};

}  // namespace hcurve
