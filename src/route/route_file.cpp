#include "route/route_file.h"

#include <cmath>
#include <iterator>
#include <map>

#include "curve/number.h"
#include "curve/shown_text.h"
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
    return "“" + shownText(text) + "”";
}

// The records of the text: one per line, a line ended by LF, CR LF or a lone CR (an old
// spreadsheet's CSV). A field in double quotes may hold commas and doubled quotes. A quote left
// open at the end of its line, or a line longer than the bound, is a fault of the file: the reader
// then says where and reads no table (what follows such a fault would be misread line by line).
class Records {
  public:
    // The line ends in a text: LF, CR LF and a lone CR each count once.
    static int lineEnds(std::string_view text) {
        int n = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n' ||
                (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
                ++n;
        }
        return n;
    }

    Records(std::string_view text, std::vector<RouteFault>& faults) : text_(text), faults_(faults) {
        if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            text_.remove_prefix(kByteOrderMark.size());
    }

    // The next record's fields, trimmed; false at the end of the text or after a fault.
    bool next(std::vector<std::string>& fields) {
        if (broken_ || text_.empty())
            return false;
        ++line_;
        fields.clear();
        std::string field;
        bool quoted = false;
        std::size_t i = 0;
        int quoteLine = 0;
        for (;; ++i) {
            if (i > kMaxRouteLineBytes) {
                fault(line_, "这一行太长（超过 " + std::to_string(kMaxRouteLineBytes) +
                                 " 字节），不像是交点表的一行。");
                return false;
            }
            const bool end = i == text_.size();
            const char c = end ? '\n' : text_[i];
            const bool lineEnd = c == '\n' || c == '\r';
            if (quoted && lineEnd) {
                const std::size_t close = text_.find('"', i);
                if (close == std::string_view::npos) {
                    fault(quoteLine, "引号没有配对：这一行的带引号字段直到文件末尾都没有结束。");
                } else {
                    fault(quoteLine,
                          "带引号的字段从这一行延续到第 " +
                              std::to_string(line_ + lineEnds(text_.substr(i, close - i))) +
                              " 行：交点表的字段里不能换行（也可能是少了一个引号）。");
                }
                return false;
            }
            if (lineEnd) {
                fields.emplace_back(trimmed(field));
                std::size_t after = i;
                if (!end)
                    after += c == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n' ? 2 : 1;
                text_.remove_prefix(after);
                return true;
            }
            if (quoted) {
                if (c == '"' && i + 1 < text_.size() && text_[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else if (c == '"') {
                    quoted = false;
                } else {
                    field += c;
                }
            } else if (c == '"') {
                quoted = true;
                quoteLine = line_;
            } else if (c == ',') {
                fields.emplace_back(trimmed(field));
                field.clear();
            } else {
                field += c;
            }
        }
    }

    int line() const { return line_; }

  private:
    void fault(int line, std::string message) {
        faults_.push_back({line, std::move(message)});
        broken_ = true;
    }

    std::string_view text_;
    std::vector<RouteFault>& faults_;
    int line_ = 0;
    bool broken_ = false;
};

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

    // A length or coordinate; an empty field reads as emptyValue when one is given. Nothing, and
    // the fault said, when the field is no number.
    std::optional<double> number(Column c, std::optional<double> emptyValue = std::nullopt) {
        const std::string t = text(c);
        if (t.empty() && emptyValue)
            return *emptyValue;
        std::optional<double> v = readNumber(t);
        if (!v || std::fabs(*v) > kMaxDesignLength_m) {
            fault(std::string(columnTitle(c)) + " 必须是数值，" + quoted(t) + " 不是有效的数值。");
            return std::nullopt;
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
    const double v = row.number(used, 0.0).value_or(0.0);
    if (v < 0) {
        row.fault(std::string(columnTitle(used)) + " 不能为负数（不设缓和曲线填 0 或留空）。");
        return;
    }
    A_m = used == a ? v : std::sqrt(v * R_m);
}

RoutePointRow readPointRow(RowReader& row, int line, bool isJd) {
    RoutePointRow p;
    p.line = line;
    // A name is kept as the file gives it only where it is printable: it goes into tables and
    // messages, and a control character must never reach a terminal or an instrument's file.
    p.name = shownText(row.text(Column::Name));
    if (p.name.empty())
        row.fault("点号不能为空。");
    p.x_m = row.number(Column::X).value_or(0.0);
    p.y_m = row.number(Column::Y).value_or(0.0);
    if (!isJd)
        return p;
    const std::optional<double> R = row.number(Column::R);
    if (!R)
        return p;
    p.R_m = *R;
    if (p.R_m <= 0) {
        row.fault("交点 " + p.name + " 的半径 R 必须大于零。");
        return p;
    }
    readSpiral(row, Column::A1, Column::Ls1, p.R_m, p.A1_m);
    readSpiral(row, Column::A2, Column::Ls2, p.R_m, p.A2_m);
    return p;
}

// Every table row that has any field, with its line number: only the fields of the columns
// the table's header names (a line of thousands of commas keeps no more than a short one).
struct Row {
    int line;
    std::vector<std::string> fields;
};

// A table of the file: its header row, the columns it names and its rows.
struct Table {
    int headerLine = 0;  // 0: no such table
    std::vector<std::string> header;
    std::map<Column, std::size_t> columns;  // each column's place in the header
    std::vector<RouteFault> headerFaults;
    std::map<Column, std::size_t> kept;  // each column's place in a row's fields
    std::vector<Row> rows;

    void setHeader(int line, std::vector<std::string> fields) {
        headerLine = line;
        header = std::move(fields);
        columns = headerColumns(line, header, headerFaults);
        std::size_t k = 0;
        for (const auto& [column, place] : columns)
            kept.emplace(column, k++);
    }

    void addRow(int line, const std::vector<std::string>& fields) {
        Row row{line, {}};
        row.fields.reserve(columns.size());
        for (const auto& [column, place] : columns)
            row.fields.push_back(place < fields.size() ? fields[place] : std::string());
        rows.push_back(std::move(row));
    }
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
    Records records(utf8Text, faults);
    std::size_t rowCount = 0;
    for (std::vector<std::string> fields; records.next(fields);) {
        const int lineNumber = records.line();
        if (allBlank(fields)) {
            if (current == &points)
                current = nullptr;
        } else if (current) {
            if (++rowCount > kMostRouteRows) {
                faults.push_back({lineNumber, "交点表与断链表合计超过 " +
                                                  std::to_string(kMostRouteRows) +
                                                  " 行，不像是一条路线。"});
                return reading;
            }
            current->addRow(lineNumber, fields);
        } else {
            current = points.headerLine == 0 ? &points : &breaks;
            current->setHeader(lineNumber, std::move(fields));
        }
    }
    if (!faults.empty())
        return reading;
    const int lineNumber = records.line();

    if (points.headerLine == 0) {
        faults.push_back({std::max(lineNumber, 1), "文件是空的：没有交点表。"});
        return reading;
    }
    faults = points.headerFaults;
    const std::map<Column, std::size_t>& columns = points.columns;
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
    for (std::size_t i = 0; i < points.rows.size() && faults.size() < kMostRouteFaults; ++i) {
        RowReader row(points.rows[i].line, points.rows[i].fields, points.kept, faults);
        const bool isJd = i != 0 && i + 1 != points.rows.size();
        design.points.push_back(readPointRow(row, points.rows[i].line, isJd));
        if (i == 0)
            design.startChainage_m = row.chainage(Column::Chainage);
    }

    if (breaks.headerLine != 0) {
        faults.insert(faults.end(), breaks.headerFaults.begin(), breaks.headerFaults.end());
        const std::map<Column, std::size_t>& breakColumns = breaks.columns;
        if (!breakColumns.count(Column::BreakBefore) || !breakColumns.count(Column::BreakAfter)) {
            faults.push_back({breaks.headerLine,
                              "交点表后空行以下是断链表，它的表头必须有 断链前桩号 和 断链后桩号 "
                              "两列。"});
        } else {
            for (const Row& r : breaks.rows) {
                if (faults.size() >= kMostRouteFaults)
                    break;
                RowReader row(r.line, r.fields, breaks.kept, faults);
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
