#include "console/console_printer.h"

#include <cmath>
#include <ostream>

#include "layout/display_cells.h"
#include "report/print_layout.h"

namespace hcurve {
void ConsolePrinter::setPosition(int, int) {}
void ConsolePrinter::setFontFace(const std::string&) {}
void ConsolePrinter::setFontSize(int) {}

void ConsolePrinter::printLine(const std::vector<PrintItem>& items) {
    constexpr double kCellsPerColumn = 1;
    auto cells = [](const std::string& text) { return double(displayCells(text)); };
    for (const PlacedLine& line : layoutLine(items, 0, kCellsPerColumn, cells)) {
        std::string text;
        int used = 0;
        for (const PlacedText& piece : line) {
            const int x = static_cast<int>(std::lround(piece.x));
            if (x > used)
                text.append(static_cast<std::size_t>(x - used), ' ');
            text += piece.text;
            used = x + displayCells(piece.text);
        }
        out_ << "print\t" << text << '\n';
        if (!out_)
            throw OutputFailed{};
    }
}

Result<std::string> ConsolePrinter::endDocument() {
    return std::string();
}

}  // namespace hcurve
