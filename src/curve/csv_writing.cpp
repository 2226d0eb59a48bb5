#include "curve/csv_writing.h"

#include "curve/format.h"

namespace hcurve {

std::string csvStart(const CsvDialect& dialect) {
    return dialect.byteOrderMark ? "\xEF\xBB\xBF" : "";
}

std::string csvLine(const std::vector<std::string>& fields, const CsvDialect& dialect) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line += ',';
        line += csvField(fields[i]);
    }
    line += dialect.lineEnd;
    return line;
}

std::string csvText(const std::vector<std::vector<std::string>>& rows, const CsvDialect& dialect) {
    std::string text = csvStart(dialect);
    for (const std::vector<std::string>& row : rows)
        text += csvLine(row, dialect);
    return text;
}

}  // namespace hcurve
