// The tables of a CSV text: each starts with its header row and runs to the next empty line, so
// that one file may hold several tables, and further files further ones. Which table a header
// opens is the reader's to say; the splitter only hands each one on with its line numbers.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hcurve {

/// The fields of one CSV line, each trimmed of blanks, tabs and a CR; a field in double quotes may
/// hold commas and doubled quotes.
std::vector<std::string> csvFields(std::string_view line);

/// One row of a table with its line (1-based).
struct CsvRow {
    int line = 0;
    std::vector<std::string> fields;
};

/// A table: its header row and the rows below it.
struct CsvTable {
    int headerLine = 0;
    std::vector<std::string> header;
    std::vector<CsvRow> rows;
};

/// What a line after an empty line is: the header of a new table, or (when continues says so for
/// the table before the empty line) one more row of that table.
using ContinuesOverEmptyLine =
    std::function<bool(const CsvTable& current, const std::vector<std::string>& line)>;

/// The tables of the text, in file order; a byte-order mark at the start is skipped. Lines of
/// blanks and commas only are empty lines.
std::vector<CsvTable> splitTables(std::string_view utf8Text,
                                  const ContinuesOverEmptyLine& continues);

/// The number of lines of the text (0 for an empty one), for a fault about the whole file.
int lineCount(std::string_view utf8Text);

}  // namespace hcurve
