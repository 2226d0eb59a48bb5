#include "route/route_file.h"

#include <cmath>
#include <iterator>
#include <map>

#include "curve/number.h"
#include "geometry/design_check.h"

namespace hcurve {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr double kMetresPerKilometre = 1000.0;

enum class Column { Name, X, Y, R, A1, A2, Ls1, Ls2, Chainage, BreakBefore, BreakAfter };

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The fields of one CSV line, trimmed; a field in double quotes may hold commas and doubled quotes.
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

bool allBlank(const std::vector<std::string>& fields) {
    for (const std::string& f : fields)
        if (!f.empty())
            return false;
    return true;
}

std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return u;
}

// The columns' titles, in the order of Column; a header may write their letters in either case.
constexpr const char* kColumnTitles[] = {"点号", "X",   "Y",    "R",          "A1",        "A2",
                                         "Ls1",  "Ls2", "桩号", "断链前桩号", "断链后桩号"};
static_assert(std::size(kColumnTitles) == static_cast<std::size_t>(Column::BreakAfter) + 1);

const char* columnTitle(Column c) {
    return kColumnTitles[static_cast<std::size_t>(c)];
}

std::optional<Column> columnNamed(std::string_view header) {
    const std::string key = upper(header);
    for (std::size_t i = 0; i < std::size(kColumnTitles); ++i)
        if (upper(kColumnTitles[i]) == key)
            return static_cast<Column>(i);
    return std::nullopt;
}

std::string quoted(std::string_view text) {
    return "“" + std::string(text) + "”";
}

// The lines of the text with their numbers; a byte-order mark at the start is skipped.
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

// Reads the fields of one table row by the column map of its header, collecting faults.
class RowReader {
  public:
    RowReader(int line, const std::vector<std::string>& fields,
              const std::map<Column, std::size_t>& columns, std::vector<RouteFault>& faults)
        : line_(line), fields_(fields), columns_(columns), faults_(faults) {}

    bool has(Column c) const { return columns_.count(c) != 0; }

    std::string text(Column c) const {
        auto it = columns_.find(c);
        if (it == columns_.end() || it->second >= fields_.size())
            return "";
        return fields_[it->second];
    }

    // A length or coordinate; an empty field reads as emptyValue when one is given.
    double number(Column c, std::optional<double> emptyValue = std::nullopt) {
        const std::string t = text(c);
        if (t.empty() && emptyValue)
            return *emptyValue;
        std::optional<double> v = readNumber(t);
        if (!v || std::fabs(*v) > kMaxDesignLength_m) {
            fault(std::string(columnTitle(c)) + " 必须是数值，" + quoted(t) + " 不是有效的数值。");
            return 0;
        }
        return *v;
    }

    double chainage(Column c) {
        const std::string t = text(c);
        std::optional<double> v = readChainage(t);
        if (!v) {
            fault(std::string(columnTitle(c)) + " 必须是米数或 K 桩号（如 12000 或 K12+000），" +
                  quoted(t) + " 不对。");
            return 0;
        }
        return *v;
    }

    void fault(std::string message) { faults_.push_back({line_, std::move(message)}); }

  private:
    int line_;
    const std::vector<std::string>& fields_;
    const std::map<Column, std::size_t>& columns_;
    std::vector<RouteFault>& faults_;
};

// The column map of a header row; faults for a repeated column.
std::map<Column, std::size_t> headerColumns(int line, const std::vector<std::string>& fields,
                                            std::vector<RouteFault>& faults) {
    std::map<Column, std::size_t> columns;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::optional<Column> c = columnNamed(fields[i]);
        if (!c)
            continue;
        if (!columns.emplace(*c, i).second)
            faults.push_back({line, "表头的 " + std::string(columnTitle(*c)) + " 列出现了两次。"});
    }
    return columns;
}

void readSpiral(RowReader& row, Column a, Column ls, double R_m, double& A_m) {
    const Column used = row.has(a) ? a : ls;
    if (!row.has(used))
        return;
    const double v = row.number(used, 0.0);
    if (v < 0) {
        row.fault(std::string(columnTitle(used)) + " 不能为负数（不设缓和曲线填 0 或留空）。");
        return;
    }
    A_m = used == a ? v : std::sqrt(v * R_m);
}

RoutePointRow readPointRow(RowReader& row, int line, bool isJd) {
    RoutePointRow p;
    p.line = line;
    p.name = row.text(Column::Name);
    if (p.name.empty())
        row.fault("点号不能为空。");
    p.x_m = row.number(Column::X);
    p.y_m = row.number(Column::Y);
    if (!isJd)
        return p;
    p.R_m = row.number(Column::R);
    if (p.R_m <= 0) {
        row.fault("交点 " + p.name + " 的半径 R 必须大于零。");
        return p;
    }
    readSpiral(row, Column::A1, Column::Ls1, p.R_m, p.A1_m);
    readSpiral(row, Column::A2, Column::Ls2, p.R_m, p.A2_m);
    return p;
}

// Every table row that has any field, with its line number.
struct Row {
    int line;
    std::vector<std::string> fields;
};

// A table of the file: its header row and its rows.
struct Table {
    int headerLine = 0;  // 0: no such table
    std::vector<std::string> header;
    std::vector<Row> rows;
};

}  // namespace

std::string faultText(const RouteFault& fault) {
    return "第 " + std::to_string(fault.line) + " 行：" + fault.message;
}

std::optional<double> readChainage(std::string_view text) {
    text = trimmed(text);
    if (text.empty())
        return std::nullopt;
    if (text.front() != 'K' && text.front() != 'k') {
        std::optional<double> v = readNumber(text);
        if (!v || std::fabs(*v) > kMaxDesignLength_m)
            return std::nullopt;
        return v;
    }
    text.remove_prefix(1);
    const std::size_t plus = text.find('+');
    if (plus == std::string_view::npos)
        return std::nullopt;
    std::optional<double> km = readNumber(text.substr(0, plus));
    std::string_view metresText = trimmed(text.substr(plus + 1));
    // The metre part is digits and a point only: no sign, no exponent.
    if (metresText.empty() || metresText.find_first_not_of("0123456789.") != std::string_view::npos)
        return std::nullopt;
    std::optional<double> m = readNumber(metresText);
    if (!km || !m || *km != std::trunc(*km) || *m >= kMetresPerKilometre ||
        std::fabs(*km) > kMaxDesignLength_m / kMetresPerKilometre)
        return std::nullopt;
    // Read as the chainage texts are written: the kilometres rounded down and the metres added,
    // so "K-1+998.500" is -1.5 m.
    return *km * kMetresPerKilometre + *m;
}

RouteFileReading readRouteFile(std::string_view utf8Text) {
    RouteFileReading reading;
    std::vector<RouteFault>& faults = reading.faults;

    // The point table runs from its header to the first empty line; the break table follows
    // from the next line that is not empty, and may hold empty lines.
    Table points, breaks;
    Table* current = nullptr;  // the table whose rows come next
    int lineNumber = 0;
    for (std::string_view line : linesOf(utf8Text)) {
        ++lineNumber;
        std::vector<std::string> fields = csvFields(line);
        if (allBlank(fields)) {
            if (current == &points)
                current = nullptr;
        } else if (current) {
            current->rows.push_back({lineNumber, std::move(fields)});
        } else {
            current = points.headerLine == 0 ? &points : &breaks;
            current->headerLine = lineNumber;
            current->header = std::move(fields);
        }
    }

    if (points.headerLine == 0) {
        faults.push_back({std::max(lineNumber, 1), "文件是空的：没有交点表。"});
        return reading;
    }
    std::map<Column, std::size_t> columns = headerColumns(points.headerLine, points.header, faults);
    for (Column c : {Column::Name, Column::X, Column::Y, Column::R, Column::Chainage}) {
        if (!columns.count(c))
            faults.push_back(
                {points.headerLine, "表头缺少 " + std::string(columnTitle(c)) + " 列。"});
    }
    if (columns.count(Column::A1) && columns.count(Column::Ls1))
        faults.push_back({points.headerLine, "表头不能同时有 A1 和 Ls1 列。"});
    if (columns.count(Column::A2) && columns.count(Column::Ls2))
        faults.push_back({points.headerLine, "表头不能同时有 A2 和 Ls2 列。"});
    if (!faults.empty())
        return reading;
    if (points.rows.size() < 3) {
        faults.push_back({points.rows.empty() ? points.headerLine : points.rows.back().line,
                          "交点表至少要有三个点（BP、至少一个交点、EP），现在只有 " +
                              std::to_string(points.rows.size()) + " 个。"});
        return reading;
    }

    RouteDesign design;
    for (std::size_t i = 0; i < points.rows.size(); ++i) {
        RowReader row(points.rows[i].line, points.rows[i].fields, columns, faults);
        const bool isJd = i != 0 && i + 1 != points.rows.size();
        design.points.push_back(readPointRow(row, points.rows[i].line, isJd));
        if (i == 0)
            design.startChainage_m = row.chainage(Column::Chainage);
    }

    if (breaks.headerLine != 0) {
        std::map<Column, std::size_t> breakColumns =
            headerColumns(breaks.headerLine, breaks.header, faults);
        if (!breakColumns.count(Column::BreakBefore) || !breakColumns.count(Column::BreakAfter)) {
            faults.push_back({breaks.headerLine,
                              "交点表后空行以下是断链表，它的表头必须有 断链前桩号 和 断链后桩号 "
                              "两列。"});
        } else {
            for (const Row& r : breaks.rows) {
                RowReader row(r.line, r.fields, breakColumns, faults);
                ChainBreakRow b;
                b.line = r.line;
                b.before_m = row.chainage(Column::BreakBefore);
                b.after_m = row.chainage(Column::BreakAfter);
                design.breaks.push_back(b);
            }
        }
    }
    if (faults.empty())
        reading.design = std::move(design);
    return reading;
}

}  // namespace hcurve
