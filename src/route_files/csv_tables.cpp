#include "route_files/csv_tables.h"

#include <algorithm>

namespace hcurve {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Whether a record's reading stops at a character, inside or outside a quoted field.
bool stopsAt(char c, bool quoted) {
    return c == '"' || c == '\n' || c == '\r' || (c == ',' && !quoted);
}

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Titles are read with their Latin letters in either case.
bool sameTitle(std::string_view a, std::string_view b) {
    const auto up = [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return up(x) == up(y); });
}

bool allBlank(const std::vector<std::string>& fields) {
    for (const std::string& f : fields)
        if (!f.empty())
            return false;
    return true;
}

// The line ends in a text: LF, CR LF and a lone CR each count once.
int lineEnds(std::string_view text) {
    int n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++n;
    }
    return n;
}

// The records of the text, one per line. A quote left open at the end of its line, or a line
// longer than the bound, is a fault: reading then stops (what follows would be misread line by
// line).
class Records {
  public:
    Records(std::string_view text, std::size_t maxLineBytes, std::optional<Failure>& fault)
        : text_(text), maxLineBytes_(maxLineBytes), fault_(fault) {
        if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            text_.remove_prefix(kByteOrderMark.size());
    }

    // The next record's fields, trimmed; false at the end of the text or after a fault. A field
    // without quotes is taken from the text as it stands; one with a quoted part is gathered
    // character by character (its doubled quotes made one).
    bool next(std::vector<std::string>& fields) {
        if (fault_ || text_.empty())
            return false;
        ++line_;
        fields.clear();
        gathered_.clear();
        bool gathering = false;  // the field has a quoted part: its characters are in gathered_
        std::size_t fieldStart = 0;
        bool quoted = false;
        int quoteLine = 0;
        const auto fieldEndingAt = [&](std::size_t end) {
            return trimmed(gathering ? std::string_view(gathered_)
                                     : text_.substr(fieldStart, end - fieldStart));
        };
        for (std::size_t i = 0;; ++i) {
            // The plain characters up to the next that means something, at once.
            std::size_t plain = i;
            while (plain < text_.size() && !stopsAt(text_[plain], quoted))
                ++plain;
            if (plain > maxLineBytes_ + 1) {
                i = maxLineBytes_ + 1;  // too long, whatever follows
            } else if (plain > i) {
                if (gathering)
                    gathered_.append(text_.data() + i, plain - i);
                i = plain;
            }
            if (i > maxLineBytes_) {
                fault(line_, "这一行太长（超过 " + std::to_string(maxLineBytes_) +
                                 " 字节），不像是表格的一行。");
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
                              " 行：表格的字段里不能换行（也可能是少了一个引号）。");
                }
                return false;
            }
            if (lineEnd) {
                fields.emplace_back(fieldEndingAt(i));
                std::size_t after = i;
                if (!end)
                    after += c == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n' ? 2 : 1;
                text_.remove_prefix(after);
                return true;
            }
            // Inside quotes only a quote stops the plain run; outside, a quote or a comma.
            if (quoted) {
                if (i + 1 < text_.size() && text_[i + 1] == '"') {
                    gathered_ += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (c == '"') {
                if (!gathering) {
                    gathered_.assign(text_.data() + fieldStart, i - fieldStart);
                    gathering = true;
                }
                quoted = true;
                quoteLine = line_;
            } else {  // a comma
                fields.emplace_back(fieldEndingAt(i));
                gathered_.clear();
                gathering = false;
                fieldStart = i + 1;
            }
        }
    }

    int line() const { return line_; }

    void fault(int line, std::string message) { fault_ = Failure{std::move(message), line}; }

  private:
    std::string_view text_;
    std::size_t maxLineBytes_;
    std::optional<Failure>& fault_;
    int line_ = 0;
    std::string gathered_;  // the characters of a field with a quoted part
};

}  // namespace

std::optional<std::size_t> columnOf(const std::vector<std::string>& header,
                                    std::string_view title) {
    for (std::size_t i = 0; i < header.size(); ++i)
        if (header[i] == title)
            return i;
    return std::nullopt;
}

std::string field(const std::vector<std::string>& fields, std::optional<std::size_t> column) {
    return column && *column < fields.size() ? fields[*column] : std::string();
}

Result<CsvSplit> splitTables(std::string_view utf8Text, const ContinuesOverEmptyLine& continues,
                             const KnownTitle& known, const CsvLimits& limits) {
    CsvSplit split;
    std::optional<Failure> fault;
    std::vector<CsvTable>& tables = split.tables;
    std::vector<std::size_t> places;  // the kept columns of the current table
    std::size_t rowCount = 0;
    bool afterEmptyLine = true;
    Records records(utf8Text, limits.maxLineBytes, fault);
    for (std::vector<std::string> fields; records.next(fields);) {
        if (allBlank(fields)) {
            afterEmptyLine = true;
            continue;
        }
        // A table pasted in from a file of its own may bring that file's byte-order mark.
        if (afterEmptyLine && fields[0].compare(0, kByteOrderMark.size(), kByteOrderMark) == 0)
            fields[0] =
                std::string(trimmed(std::string_view(fields[0]).substr(kByteOrderMark.size())));
        if (afterEmptyLine && (tables.empty() || !continues(tables.back(), fields))) {
            CsvTable table;
            table.headerLine = records.line();
            places.clear();
            const std::vector<std::string> header = fields;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (!known(fields[i], header))
                    continue;
                // A column named twice would leave the reader to pick one of them.
                for (const std::string& before : table.header) {
                    if (sameTitle(before, fields[i])) {
                        records.fault(records.line(), "表头的 " + fields[i] + " 列出现了两次。");
                        break;
                    }
                }
                if (fault)
                    break;
                places.push_back(i);
                table.header.push_back(std::move(fields[i]));
            }
            if (fault)
                break;
            tables.push_back(std::move(table));
        } else {
            if (++rowCount > limits.mostRows) {
                records.fault(records.line(), "表格合计超过 " + std::to_string(limits.mostRows) +
                                                  " 行，不像是一条路线。");
                break;
            }
            CsvRow row{records.line(), {}};
            row.fields.reserve(places.size());
            for (std::size_t place : places)
                row.fields.push_back(place < fields.size() ? std::move(fields[place])
                                                           : std::string());
            tables.back().rows.push_back(std::move(row));
        }
        afterEmptyLine = false;
    }
    if (fault)
        return std::move(*fault);
    split.lines = records.line();
    return split;
}

}  // namespace hcurve
