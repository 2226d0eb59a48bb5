// The tables of a CSV text: each starts with its header row and runs to the next empty line, so
// that one file may hold several tables, and further files further ones. Which table a header
// opens is the reader's to say; the splitter only hands each one on with its line numbers.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "curve/result.h"

namespace hcurve {

/// One row of a table with its line (1-based).
struct CsvRow {
    int line = 0;
    std::vector<std::string> fields;
};

/// A table: its header row and the rows below it. Only the columns whose title the reader knows
/// are kept, in the header's order, so that a row of thousands of commas keeps no more than a
/// short one; a row's fields stand in the places of the header's.
struct CsvTable {
    int headerLine = 0;
    std::vector<std::string> header;
    std::vector<CsvRow> rows;
};

/// The place of the header's column of that title; nothing when the header has none.
std::optional<std::size_t> columnOf(const std::vector<std::string>& header, std::string_view title);

/// A row's field in a column, empty where the column is missing or the row shorter.
std::string field(const std::vector<std::string>& fields, std::optional<std::size_t> column);

/// What a line after an empty line is: the header of a new table, or (when continues says so for
/// the table before the empty line) one more row of that table. The line is given whole.
using ContinuesOverEmptyLine =
    std::function<bool(const CsvTable& current, const std::vector<std::string>& line)>;

/// Whether a header's title names a column some table reads; header is the whole line it stands in
/// (the table it opens).
using KnownTitle =
    std::function<bool(std::string_view title, const std::vector<std::string>& header)>;

/// How much one text may hold.
struct CsvLimits {
    std::size_t maxLineBytes = 0;  ///< without the line end
    std::size_t mostRows = 0;      ///< table rows of the text, headers not counted
};

struct CsvSplit {
    std::vector<CsvTable> tables;
    int lines = 0;  ///< the lines read
};

/// The tables of the text, in file order; a byte-order mark at the start is skipped. A line ends
/// with LF, CR LF or a lone CR (an old spreadsheet's CSV). A field in double quotes may hold commas
/// and doubled quotes, but no line end. Fields are trimmed of blanks and tabs; lines of blanks and
/// commas only are empty lines. A fault of the text as CSV ends its reading, and is the one
/// failure, with its line: a quoted field over a line end or never closed, a line too long, too
/// many rows, a column named twice.
Result<CsvSplit> splitTables(std::string_view utf8Text, const ContinuesOverEmptyLine& continues,
                             const KnownTitle& known, const CsvLimits& limits);

}  // namespace hcurve
