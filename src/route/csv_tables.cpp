#include "route/csv_tables.h"

namespace hcurve {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool allBlank(const std::vector<std::string>& fields) {
    for (const std::string& f : fields)
        if (!f.empty())
            return false;
    return true;
}

// The lines of the text; a byte-order mark at the start is skipped.
std::vector<std::string_view> linesOf(std::string_view text) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

std::vector<std::string> csvFields(std::string_view line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back(trimmed(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.emplace_back(trimmed(field));
    return fields;
}

std::vector<CsvTable> splitTables(std::string_view utf8Text,
                                  const ContinuesOverEmptyLine& continues) {
    std::vector<CsvTable> tables;
    bool afterEmptyLine = true;
    int lineNumber = 0;
    for (std::string_view line : linesOf(utf8Text)) {
        ++lineNumber;
        std::vector<std::string> fields = csvFields(line);
        if (allBlank(fields)) {
            afterEmptyLine = true;
            continue;
        }
        if (afterEmptyLine && (tables.empty() || !continues(tables.back(), fields))) {
            tables.push_back({lineNumber, std::move(fields), {}});
        } else {
            tables.back().rows.push_back({lineNumber, std::move(fields)});
        }
        afterEmptyLine = false;
    }
    return tables;
}

int lineCount(std::string_view utf8Text) {
    return static_cast<int>(linesOf(utf8Text).size());
}

}  // namespace hcurve
