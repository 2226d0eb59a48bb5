#include "report/print_layout.h"

namespace hcurve {

std::vector<PlacedLine> layoutLine(const std::vector<PrintItem>& items, double startX,
                                   double columnWidth, const TextWidth& width) {
    std::vector<PlacedLine> lines(1);
    double x = startX;
    for (const PrintItem& item : items) {
        if (item.column >= 1) {
            double columnX = (item.column - 1) * columnWidth;
            if (x > columnX)
                lines.emplace_back();
            x = columnX;
        }
        lines.back().push_back({x, item.text});
        x += width(item.text);
    }
    return lines;
}

}  // namespace hcurve
