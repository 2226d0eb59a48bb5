#include "route_files/ground_files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "alignment/route.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "route_files/field_text.h"
#include "route_files/route_file.h"

namespace hcurve {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kStepCode[] = "陡坎";
constexpr char kCentreCode[] = "中桩";
// Two terrain points closer than this stand at one place.
constexpr double kSamePlace_m = 1e-3;
// Heights that differ by less than this are one.
constexpr double kSameHeight_m = 1e-3;

std::string metres(double v) {
    return format(v, Pattern::Fixed3);
}

// The lines of a text one by one (LF, CR LF or a lone CR), a byte-order mark skipped, each split
// into its trimmed fields (a field in double quotes may hold commas and doubled quotes).
class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {
        if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            text_.remove_prefix(kByteOrderMark.size());
    }

    // The next line, or false at the end. tooLong: the line passes kMaxRouteLineBytes.
    bool next(std::vector<std::string>& fields, bool& tooLong) {
        if (at_ >= text_.size())
            return false;
        ++line_;
        std::size_t end = text_.find_first_of("\r\n", at_);
        if (end == std::string_view::npos)
            end = text_.size();
        const std::string_view whole = text_.substr(at_, end - at_);
        at_ = end;
        if (at_ < text_.size())
            at_ += text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n' ? 2 : 1;
        tooLong = whole.size() > kMaxRouteLineBytes;
        fields.clear();
        if (tooLong)
            return true;
        split(whole, fields);
        return true;
    }

    int line() const { return line_; }

  private:
    static void split(std::string_view s, std::vector<std::string>& fields) {
        std::string current;
        bool inQuotes = false;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const char c = s[i];
            if (inQuotes) {
                if (c == '"' && i + 1 < s.size() && s[i + 1] == '"') {
                    current += '"';
                    ++i;
                } else if (c == '"') {
                    inQuotes = false;
                } else {
                    current += c;
                }
            } else if (c == '"' && trimmedField(current).empty()) {
                current.clear();
                inQuotes = true;
            } else if (c == ',') {
                fields.emplace_back(trimmedField(current));
                current.clear();
            } else {
                current += c;
            }
        }
        fields.emplace_back(trimmedField(current));
        // A line of blanks and commas only is empty.
        if (std::all_of(fields.begin(), fields.end(),
                        [](const std::string& f) { return f.empty(); }))
            fields.clear();
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 0;
};

bool isBeginLine(const std::vector<std::string>& fields) {
    return !fields.empty() && upperLatin(fields[0]) == "BEGIN";
}

bool isNumber(const std::string& text) {
    return readNumber(text).has_value();
}

// The first line of a text that is not empty.
std::vector<std::string> firstLine(std::string_view text) {
    Lines lines(text);
    std::vector<std::string> fields;
    bool tooLong = false;
    while (lines.next(fields, tooLong))
        if (tooLong || !fields.empty())
            return fields;
    return {};
}

std::optional<std::size_t> columnOf(const std::vector<std::string>& header, std::string_view t) {
    for (std::size_t i = 0; i < header.size(); ++i)
        if (upperLatin(header[i]) == upperLatin(t))
            return i;
    return std::nullopt;
}

const std::string& fieldOf(const std::vector<std::string>& fields, std::optional<std::size_t> c) {
    static const std::string kEmpty;
    return c && *c < fields.size() ? fields[*c] : kEmpty;
}

bool isTerrainHeader(const std::vector<std::string>& h) {
    return columnOf(h, "点名") && columnOf(h, "X") && columnOf(h, "Y") && columnOf(h, "H");
}

bool isDatHeader(const std::vector<std::string>& h) {
    return isTerrainHeader(h) && columnOf(h, "编码");
}

bool isSectionCsvHeader(const std::vector<std::string>& h) {
    return (columnOf(h, "桩号") || columnOf(h, "里程")) && columnOf(h, "偏距") &&
           columnOf(h, "高程");
}

bool isDatLine(const std::vector<std::string>& f) {
    return f.size() == 5 && isNumber(f[2]) && isNumber(f[3]) && isNumber(f[4]);
}

// A section's points read so far, checked and placed when it ends.
struct OpenSection {
    GroundSectionRow row;
    std::optional<std::size_t> centre;  // the point marked 中桩
    bool open = false;
};

class SectionReader {
  public:
    SectionReader(std::size_t file, GroundDesign& ground, std::vector<Failure>& faults)
        : file_(file), ground_(ground), faults_(faults) {}

    void fault(int line, std::string message) {
        faults_.push_back({std::move(message), line, file_});
    }
    bool full() const { return faults_.size() >= kMostRouteFaults; }

    void begin(int line, const std::string& chainageText, bool broken, std::string number) {
        end();
        current_ = {};
        current_.open = true;
        current_.row.line = line;
        current_.row.number = shownText(number);
        current_.row.at.text = shownText(chainageText);
        current_.row.at.broken = broken;
        if (chainageText.empty()) {
            fault(line, "BEGIN 行缺少里程（如 BEGIN,K12+340:7）。");
            current_.open = false;
            return;
        }
        const std::optional<double> at = readChainage(chainageText);
        if (!at) {
            fault(line, "里程必须是米数或 K 桩号（如 12340 或 K12+340），" +
                            quotedField(chainageText) + " 不对。");
            current_.open = false;
            return;
        }
        current_.row.at.value_m = *at;
    }

    // Whether a section is open for points (a BEGIN line without a chainage opens none: its
    // points are passed over).
    bool open() const { return current_.open; }

    void point(int line, const std::string& offsetText, const std::string& heightText,
               const std::string& code) {
        const std::optional<double> offset = readNumber(offsetText);
        const std::optional<double> H = readNumber(heightText);
        if (!offset || std::fabs(*offset) > kPlausibleOffsetLimit_m) {
            fault(line,
                  "偏距必须是数值（绝对值不超过 1000 米），" + quotedField(offsetText) + " 不对。");
            return;
        }
        if (!H || std::fabs(*H) > kMaxCoordinate_m) {
            fault(line, "高程必须是数值，" + quotedField(heightText) + " 不对。");
            return;
        }
        GroundPoint p{*offset, *H, line, code == kStepCode};
        std::vector<GroundPoint>& points = current_.row.points;
        if (!points.empty()) {
            const GroundPoint& before = points.back();
            if (p.offset_m < before.offset_m) {
                fault(line, "偏距 " + metres(p.offset_m) + " 小于前一点（第 " +
                                std::to_string(before.line) + " 行）的 " + metres(before.offset_m) +
                                "：横断面的点要从左到右排列。");
                return;
            }
            if (p.offset_m == before.offset_m && !p.step) {
                if (std::fabs(p.H_m - before.H_m) >= kSameHeight_m)
                    fault(line, "偏距 " + metres(p.offset_m) + " 与前一点（第 " +
                                    std::to_string(before.line) + " 行）相同而高程不同（" +
                                    metres(before.H_m) + " 与 " + metres(p.H_m) +
                                    "）：陡坎要在第三列标“陡坎”。");
                return;  // the same point twice is taken once
            }
        } else if (p.step) {
            fault(line, "横断面的第一点不能标“陡坎”：陡坎点与前一点同偏距。");
            return;
        }
        if (p.step && p.offset_m != points.back().offset_m) {
            fault(line, "标了“陡坎”的点要与前一点（第 " + std::to_string(points.back().line) +
                            " 行）同偏距，这里是 " + metres(p.offset_m) + " 与 " +
                            metres(points.back().offset_m) + "。");
            return;
        }
        if (code == kCentreCode) {
            if (current_.centre)
                fault(line, "一个横断面只能有一个中桩点，第 " +
                                std::to_string(points[*current_.centre].line) + " 行已有一个。");
            else
                current_.centre = points.size();
        }
        points.push_back(p);
    }

    // The open section checked and kept.
    void end() {
        if (!current_.open)
            return;
        current_.open = false;
        GroundSectionRow& row = current_.row;
        if (row.points.size() < 2) {
            fault(row.line, "横断面 " + row.at.text + " 只有 " + std::to_string(row.points.size()) +
                                " 个点，至少要两个。");
            return;
        }
        const bool hasZero = std::any_of(row.points.begin(), row.points.end(),
                                         [](const GroundPoint& p) { return p.offset_m == 0; });
        const bool allRight = row.points.front().offset_m >= 0;
        if (current_.centre) {
            const double centre_m = row.points[*current_.centre].offset_m;
            if (allRight && centre_m != 0) {
                for (GroundPoint& p : row.points)
                    p.offset_m -= centre_m;
                row.measuredFromLeft = true;
                ++placedFromLeft_;
                if (firstFromLeft_ == 0)
                    firstFromLeft_ = row.line;
            } else if (centre_m != 0) {
                fault(row.points[*current_.centre].line,
                      "中桩点的偏距应为 0（偏距从中桩量起），这里是 " + metres(centre_m) + "。");
                return;
            }
        } else if (allRight && !hasZero) {
            fault(row.line,
                  "横断面 " + row.at.text +
                      " 没有中桩点（偏距 0），偏距都不小于零：若偏距从最左点量起，要把中桩"
                      "点标为“中桩”（第三列）；若只测了右侧，要加上偏距 0 的中桩点。");
            return;
        }
        ground_.sections.push_back(std::move(row));
    }

    int placedFromLeft() const { return placedFromLeft_; }
    int firstFromLeft() const { return firstFromLeft_; }

  private:
    std::size_t file_;
    GroundDesign& ground_;
    std::vector<Failure>& faults_;
    OpenSection current_;
    int placedFromLeft_ = 0;
    int firstFromLeft_ = 0;
};

// The chainage and number of a BEGIN line: "K12+340:7", "12340", "K12+340:".
void splitBegin(const std::vector<std::string>& fields, std::string& chainage,
                std::string& number) {
    std::string rest = fields.size() > 1 ? fields[1] : std::string();
    // Some write the number as a field of its own: BEGIN,K12+340,7.
    const std::size_t colon = rest.find(':');
    if (colon != std::string::npos) {
        number = std::string(trimmedField(std::string_view(rest).substr(colon + 1)));
        rest = std::string(trimmedField(std::string_view(rest).substr(0, colon)));
    } else if (fields.size() > 2) {
        number = fields[2];
    }
    chainage = rest;
}

void warnFromLeft(const SectionReader& reader, std::size_t file, std::vector<Failure>& warnings) {
    if (reader.placedFromLeft() == 0)
        return;
    warnings.push_back({std::to_string(reader.placedFromLeft()) +
                            " 个横断面没有偏距 0 的点、偏距从最左点量起：已按标为“中桩”的点把"
                            "偏距改为从中桩量起。",
                        reader.firstFromLeft(), file});
}

bool tooMany(std::size_t points, int line, std::size_t file, std::vector<Failure>& faults) {
    if (points <= kMostRouteRows)
        return false;
    faults.push_back(
        {"地面文件的点太多：最多 " + std::to_string(kMostRouteRows) + " 个点。", line, file});
    return true;
}

void readBeginSections(std::string_view text, std::size_t file, GroundDesign& ground,
                       std::vector<Failure>& faults, std::vector<Failure>& warnings) {
    SectionReader reader(file, ground, faults);
    Lines lines(text);
    std::vector<std::string> fields;
    bool tooLong = false;
    bool started = false;
    std::size_t points = 0;
    while (lines.next(fields, tooLong) && !reader.full()) {
        const int line = lines.line();
        if (tooLong) {
            faults.push_back(
                {"这一行太长（超过 " + std::to_string(kMaxRouteLineBytes / 1024) + " KiB）。", line,
                 file});
            return;
        }
        if (fields.empty())
            continue;
        if (isBeginLine(fields)) {
            std::string chainage, number;
            splitBegin(fields, chainage, number);
            // A plain number is the continuous chainage (里程), a K-text the stake's 桩号.
            const bool broken = !chainage.empty() && (chainage[0] == 'K' || chainage[0] == 'k');
            reader.begin(line, chainage, broken, number);
            started = true;
            continue;
        }
        if (!started) {
            faults.push_back({"地面横断面文件要以 BEGIN 行开始。", line, file});
            return;
        }
        if (!reader.open())
            continue;
        if (tooMany(++points, line, file, faults))
            return;
        if (fields.size() < 2) {
            reader.fault(line, "横断面的点要有 偏距,高程 两个数，这里只有一个。");
            continue;
        }
        reader.point(line, fields[0], fields[1], fields.size() > 2 ? fields[2] : std::string());
    }
    reader.end();
    warnFromLeft(reader, file, warnings);
}

void readCsvSections(std::string_view text, std::size_t file, GroundDesign& ground,
                     std::vector<Failure>& faults, std::vector<Failure>& warnings) {
    SectionReader reader(file, ground, faults);
    Lines lines(text);
    std::vector<std::string> fields, header;
    bool tooLong = false;
    std::optional<std::size_t> at, offset, height, code;
    bool broken = true;
    std::string currentAt;
    std::size_t points = 0;
    while (lines.next(fields, tooLong) && !reader.full()) {
        const int line = lines.line();
        if (tooLong) {
            faults.push_back(
                {"这一行太长（超过 " + std::to_string(kMaxRouteLineBytes / 1024) + " KiB）。", line,
                 file});
            return;
        }
        if (fields.empty())
            continue;
        if (header.empty()) {
            header = fields;
            const std::optional<std::size_t> stake = columnOf(header, "桩号");
            const std::optional<std::size_t> mileage = columnOf(header, "里程");
            if (stake && mileage) {
                faults.push_back({"地面横断面表不能同时有 桩号 和 里程 列。", line, file});
                return;
            }
            broken = stake.has_value();
            at = stake ? stake : mileage;
            offset = columnOf(header, "偏距");
            height = columnOf(header, "高程");
            code = columnOf(header, "编码");
            continue;
        }
        if (tooMany(++points, line, file, faults))
            return;
        const std::string& chainage = fieldOf(fields, at);
        if (chainage.empty()) {
            reader.end();
            currentAt.clear();
            reader.fault(line, std::string(broken ? "桩号" : "里程") + "不能为空。");
            continue;
        }
        if (chainage != currentAt) {
            currentAt = chainage;
            reader.begin(line, chainage, broken, std::string());
        }
        if (!reader.open())
            continue;
        reader.point(line, fieldOf(fields, offset), fieldOf(fields, height), fieldOf(fields, code));
    }
    reader.end();
    warnFromLeft(reader, file, warnings);
}

void readTerrain(std::string_view text, std::size_t file, GroundDesign& ground,
                 std::vector<Failure>& faults, std::vector<Failure>& warnings) {
    const auto fault = [&](int line, std::string message) {
        faults.push_back({std::move(message), line, file});
    };
    Lines lines(text);
    std::vector<std::string> fields;
    bool tooLong = false;
    bool headerRead = false;
    std::optional<std::size_t> name, x, y, h;
    std::vector<SurveyedPoint>& points = ground.terrain;
    while (lines.next(fields, tooLong) && faults.size() < kMostRouteFaults) {
        const int line = lines.line();
        if (tooLong) {
            fault(line,
                  "这一行太长（超过 " + std::to_string(kMaxRouteLineBytes / 1024) + " KiB）。");
            return;
        }
        if (fields.empty())
            continue;
        if (!headerRead) {
            headerRead = true;
            if (isTerrainHeader(fields)) {
                name = columnOf(fields, "点名");
                x = columnOf(fields, "X");
                y = columnOf(fields, "Y");
                h = columnOf(fields, "H");
                continue;
            }
            // The .dat layout without a header: 点名,编码,Y,X,H.
            name = 0;
            y = 2;
            x = 3;
            h = 4;
        }
        if (tooMany(points.size() + 1, line, file, faults))
            return;
        SurveyedPoint p;
        p.line = line;
        p.name = shownText(fieldOf(fields, name));
        const auto coordinate = [&](std::optional<std::size_t> c, const char* title, double& v) {
            const std::string& t = fieldOf(fields, c);
            const std::optional<double> read = readNumber(t);
            if (!read || std::fabs(*read) > kMaxCoordinate_m) {
                fault(line, std::string(title) + " 必须是数值，" + quotedField(t) + " 不对。");
                return false;
            }
            v = *read;
            return true;
        };
        if (fieldOf(fields, h).empty()) {
            fault(line, "点 " + p.name + " 没有高程 H：地面模型的点都要有高程。");
            continue;
        }
        if (coordinate(x, "X", p.x_m) && coordinate(y, "Y", p.y_m) && coordinate(h, "H", p.H_m))
            points.push_back(std::move(p));
    }
    if (!faults.empty())
        return;
    if (points.size() < 3) {
        fault(points.empty() ? std::max(lines.line(), 1) : points.back().line,
              "地面点至少要有三个，现在只有 " + std::to_string(points.size()) + " 个。");
        return;
    }
    // Points at one place: with one height they are one point (taken once), with two a fault.
    std::vector<std::uint32_t> order(points.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto cell = [](double v) { return std::llround(v / kSamePlace_m); };
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const long long ax = cell(points[a].x_m), bx = cell(points[b].x_m);
        if (ax != bx)
            return ax < bx;
        const long long ay = cell(points[a].y_m), by = cell(points[b].y_m);
        return ay != by ? ay < by : a < b;
    });
    std::vector<char> dropped(points.size(), 0);
    std::size_t repeated = 0;
    int firstRepeated = 0;
    for (std::size_t k = 1; k < order.size() && faults.size() < kMostRouteFaults; ++k) {
        const SurveyedPoint& a = points[order[k - 1]];
        const SurveyedPoint& b = points[order[k]];
        if (cell(a.x_m) != cell(b.x_m) || cell(a.y_m) != cell(b.y_m))
            continue;
        if (std::fabs(a.H_m - b.H_m) >= kSameHeight_m) {
            fault(b.line, "点 " + b.name + " 与第 " + std::to_string(a.line) + " 行的点 " + a.name +
                              " 位置相同而高程不同（" + metres(a.H_m) + " 与 " + metres(b.H_m) +
                              "）。");
            continue;
        }
        dropped[order[k]] = 1;
        if (repeated++ == 0 || b.line < firstRepeated)
            firstRepeated = b.line;
    }
    if (!faults.empty())
        return;
    if (repeated > 0) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < points.size(); ++i)
            if (!dropped[i])
                points[kept++] = std::move(points[i]);
        points.resize(kept);
        warnings.push_back(
            {std::to_string(repeated) + " 个地面点与别的点位置、高程都相同：只取一次。",
             firstRepeated, file});
    }
}

}  // namespace

std::optional<GroundFileKind> groundFileKind(std::string_view utf8Text) {
    const std::vector<std::string> first = firstLine(utf8Text);
    if (isBeginLine(first))
        return GroundFileKind::Sections;
    if (isSectionCsvHeader(first))
        return GroundFileKind::SectionCsv;
    if (isDatHeader(first))
        return GroundFileKind::TerrainDat;
    if (isTerrainHeader(first))
        return GroundFileKind::Terrain;
    if (isDatLine(first))
        return GroundFileKind::TerrainDat;
    return std::nullopt;
}

void readGroundFile(GroundFileKind kind, std::string_view utf8Text, std::size_t file,
                    GroundDesign& ground, std::vector<Failure>& faults,
                    std::vector<Failure>& warnings) {
    const bool ofSections = kind == GroundFileKind::Sections || kind == GroundFileKind::SectionCsv;
    if (ofSections ? ground.sectionFile != 0 : ground.terrainFile != 0) {
        faults.push_back({ofSections ? "地面横断面文件只能有一个，这里又有一个。"
                                     : "地面点文件只能有一个，这里又有一个。",
                          1, file});
        return;
    }
    if (ofSections)
        ground.sectionFile = file;
    else
        ground.terrainFile = file;
    switch (kind) {
        case GroundFileKind::Sections:
            readBeginSections(utf8Text, file, ground, faults, warnings);
            break;
        case GroundFileKind::SectionCsv:
            readCsvSections(utf8Text, file, ground, faults, warnings);
            break;
        case GroundFileKind::Terrain:
        case GroundFileKind::TerrainDat:
            readTerrain(utf8Text, file, ground, faults, warnings);
            break;
    }
}

}  // namespace hcurve
