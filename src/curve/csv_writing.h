// The one CSV writer, in its two dialects: the spreadsheet's (a UTF-8 byte-order mark, so that a
// Chinese spreadsheet reads the text as UTF-8, and CR LF), which the one-curve export and the curve
// files use, and the scripts' (no mark, LF), which the tables of `hcurve route` use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hcurve {

struct CsvDialect {
    bool byteOrderMark;
    std::string_view lineEnd;
};

/// The spreadsheet's dialect: a byte-order mark at the start, lines ended by CR LF.
inline constexpr CsvDialect kSpreadsheetCsv{true, "\r\n"};
/// The scripts' dialect: no mark, lines ended by LF.
inline constexpr CsvDialect kScriptCsv{false, "\n"};

/// What a file of the dialect starts with: the byte-order mark, or nothing.
std::string csvStart(const CsvDialect& dialect);

/// One line: the fields (each as csvField writes it) separated by commas, and the line end.
std::string csvLine(const std::vector<std::string>& fields, const CsvDialect& dialect);

/// A whole table, its start and then every row as a line.
std::string csvText(const std::vector<std::vector<std::string>>& rows, const CsvDialect& dialect);

}  // namespace hcurve
