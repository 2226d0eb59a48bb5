#include "route_files/section_tables.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>
#include <utility>

#include "curve/number.h"
#include "curve/shown_text.h"
#include "geometry/design_check.h"
#include "route_files/csv_tables.h"
#include "route_files/field_text.h"
#include "route_files/route_file.h"

namespace hcurve {
namespace {

constexpr char kSide[] = "侧";
constexpr char kComponent[] = "部件";
constexpr char kWidth[] = "宽度";
constexpr char kCrossFall[] = "横坡";
constexpr char kFrom[] = "起点桩号";
constexpr char kTo[] = "终点桩号";
constexpr char kCrown[] = "路拱横坡";
constexpr char kAxis[] = "旋转轴";
constexpr char kJd[] = "交点";
constexpr char kSuperelevation[] = "超高横坡";
constexpr char kWidening[] = "加宽";
constexpr char kRunOff[] = "超高渐变长度";
constexpr char kTransition[] = "加宽过渡";
constexpr char kKind[] = "类型";
constexpr char kRatio[] = "坡率";
constexpr char kHeight[] = "高度";
constexpr char kBerm[] = "平台宽";
constexpr char kDitchWidth[] = "边沟底宽";
constexpr char kDitchDepth[] = "边沟深";
constexpr char kInnerRatio[] = "内坡率";
constexpr char kOuterRatio[] = "外坡率";

constexpr const char* kTitles[] = {
    kSide,  kComponent, kWidth,          kCrossFall,  kFrom,       kTo,         kCrown,
    kAxis,  kJd,        kSuperelevation, kWidening,   kRunOff,     kTransition, kKind,
    kRatio, kHeight,    kBerm,           kDitchWidth, kDitchDepth, kInnerRatio, kOuterRatio};

// The carriageway: the component widening adds to, which each side of a template must have.
constexpr char kCarriageway[] = "行车道";
// 横坡 of a component that follows the carriageway's cross-fall.
constexpr char kFollowsCrown[] = "路拱";

// Beyond these a value is no road's but a mistyped number.
constexpr double kSteepestCrossFall_pct = 20;
constexpr double kSteepestSuperelevation_pct = 10;
constexpr double kWidestWidening_m = 5;
constexpr double kSteepestSlopeRatio = 20;

const char* tableName(SectionTableKind kind) {
    switch (kind) {
        case SectionTableKind::Template:
            return "模板表";
        case SectionTableKind::Crown:
            return "路拱表";
        case SectionTableKind::Superelevation:
            return "超高表";
        case SectionTableKind::Slopes:
            return "边坡表";
        case SectionTableKind::Ditch:
            return "边沟表";
    }
    return "";
}

const char* sideName(SectionSide side) {
    return side == SectionSide::Left ? "左" : "右";
}

// The faults of one table, each with its line and the table's file.
class TableReader {
  public:
    TableReader(SectionTableKind kind, const CsvTable& table, std::size_t file,
                std::vector<Failure>& faults)
        : kind_(kind), table_(table), file_(file), faults_(faults) {}

    void fault(int line, std::string message) {
        faults_.push_back({std::move(message), line, file_});
    }

    // Reading stops once the route's files have as many faults as are told.
    bool full() const { return faults_.size() >= kMostRouteFaults; }

    // The columns of the titles, or nothing with a fault for each required one missing and for a
    // table without rows.
    std::optional<std::vector<std::optional<std::size_t>>> columns(
        const std::vector<const char*>& required, const std::vector<const char*>& optional) {
        std::vector<std::optional<std::size_t>> found;
        bool complete = true;
        for (const char* title : required) {
            found.push_back(columnOf(table_.header, title));
            if (!found.back()) {
                fault(table_.headerLine,
                      std::string(tableName(kind_)) + "的表头缺少 " + title + " 列。");
                complete = false;
            }
        }
        for (const char* title : optional)
            found.push_back(columnOf(table_.header, title));
        if (complete && table_.rows.empty()) {
            fault(table_.headerLine, std::string(tableName(kind_)) + "没有数据行。");
            complete = false;
        }
        if (!complete)
            return std::nullopt;
        return found;
    }

  private:
    SectionTableKind kind_;
    const CsvTable& table_;
    std::size_t file_;
    std::vector<Failure>& faults_;
};

// One row's fields, read with the faults of its line.
class FieldReader {
  public:
    FieldReader(TableReader& table, const CsvRow& row) : table_(table), row_(row) {}

    std::string text(std::optional<std::size_t> column) const { return field(row_.fields, column); }

    void fault(std::string message) { table_.fault(row_.line, std::move(message)); }

    std::optional<SectionSide> side(std::optional<std::size_t> column) {
        const std::string t = text(column);
        if (t == "左")
            return SectionSide::Left;
        if (t == "右")
            return SectionSide::Right;
        fault(std::string(kSide) + " 必须是 左 或 右，" + quotedField(t) + " 不对。");
        return std::nullopt;
    }

    // A number that meets the rule, or nothing with the fault "title 必须是 what，“t” 不对。";
    // an empty field reads as empty where that is given.
    std::optional<double> number(std::optional<std::size_t> column, const char* title,
                                 const char* what, const std::function<bool(double)>& rule,
                                 std::optional<double> empty = std::nullopt) {
        const std::string t = text(column);
        if (t.empty() && empty)
            return empty;
        const std::optional<double> v = readNumber(t);
        if (!v || std::fabs(*v) > kMaxDesignLength_m || !rule(*v)) {
            fault(std::string(title) + " 必须是" + what + "，" + quotedField(t) + " 不对。");
            return std::nullopt;
        }
        return v;
    }

    std::optional<TableChainage> chainage(std::optional<std::size_t> column, const char* title) {
        TableChainage c;
        c.text = text(column);
        const std::optional<double> v = readChainage(c.text);
        if (!v) {
            fault(std::string(title) + " 必须是米数或 K 桩号（如 12000 或 K12+000），" +
                  quotedField(c.text) + " 不对。");
            return std::nullopt;
        }
        c.value_m = *v;
        c.broken = c.text[0] == 'K' || c.text[0] == 'k';
        return c;
    }

  private:
    TableReader& table_;
    const CsvRow& row_;
};

bool positive(double v) {
    return v > 0;
}
bool notNegative(double v) {
    return v >= 0;
}

// The rows of one template share their 起点桩号; every side of it needs a 行车道.
void checkTemplates(const std::vector<TemplateRow>& rows, TableReader& reader) {
    const auto sameTemplate = [](const TemplateRow& a, const TemplateRow& b) {
        return a.from.has_value() == b.from.has_value() &&
               (!a.from ||
                (a.from->value_m == b.from->value_m && a.from->broken == b.from->broken));
    };
    std::size_t first = 0;
    while (first < rows.size()) {
        std::size_t end = first + 1;
        while (end < rows.size() && sameTemplate(rows[first], rows[end]))
            ++end;
        const std::string named =
            rows[first].from ? "起点桩号 " + shownText(rows[first].from->text) + " 的模板" : "模板";
        const auto earlier =
            std::find_if(rows.begin(), rows.begin() + static_cast<long>(first),
                         [&](const TemplateRow& r) { return sameTemplate(r, rows[first]); });
        if (earlier != rows.begin() + static_cast<long>(first)) {
            reader.fault(rows[first].line, named + "已在第 " + std::to_string(earlier->line) +
                                               " 行开始：一个模板的行要连在一起。");
            first = end;
            continue;
        }
        for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
            std::map<std::string, int> seen;
            for (std::size_t i = first; i < end; ++i) {
                if (rows[i].side != side)
                    continue;
                const auto [place, isNew] = seen.emplace(rows[i].component, rows[i].line);
                if (!isNew)
                    reader.fault(rows[i].line, std::string(sideName(side)) + "侧已有 " +
                                                   shownText(rows[i].component) + "（第 " +
                                                   std::to_string(place->second) +
                                                   " 行）：同一侧的部件不能重名。");
            }
            if (!seen.count(kCarriageway))
                reader.fault(rows[first].line,
                             named + "的" + sideName(side) + "侧没有 " + kCarriageway + "。");
        }
        first = end;
    }
}

void readTemplate(TableReader& reader, const CsvTable& table, std::vector<TemplateRow>& rows) {
    const auto columns = reader.columns({kSide, kComponent, kWidth, kCrossFall}, {kFrom});
    if (!columns)
        return;
    const auto [side, component, width, crossFall, from] =
        std::tuple{(*columns)[0], (*columns)[1], (*columns)[2], (*columns)[3], (*columns)[4]};
    bool complete = true;
    for (const CsvRow& r : table.rows) {
        if (reader.full())
            break;
        FieldReader row(reader, r);
        TemplateRow t;
        t.line = r.line;
        const std::optional<SectionSide> s = row.side(side);
        t.component = shownText(row.text(component));
        if (t.component.empty())
            row.fault(std::string(kComponent) + " 不能为空。");
        const std::optional<double> w = row.number(width, kWidth, "大于零的米数", positive);
        const std::string fall = row.text(crossFall);
        std::optional<double> f = 0.0;
        if (fall == kFollowsCrown)
            t.followsCarriageway = true;
        else
            f = row.number(crossFall, kCrossFall, "不超过 ±20 的百分数（如 -2）或 路拱",
                           [](double v) { return std::fabs(v) <= kSteepestCrossFall_pct; });
        if (from && !row.text(from).empty())
            t.from = row.chainage(from, kFrom);
        if (!s || t.component.empty() || !w || !f || (from && !row.text(from).empty() && !t.from)) {
            complete = false;
            continue;
        }
        t.side = *s;
        t.width_m = *w;
        t.crossFall_pct = *f;
        rows.push_back(std::move(t));
    }
    if (complete && !reader.full())
        checkTemplates(rows, reader);
}

void readCrown(TableReader& reader, const CsvTable& table, std::optional<CrownRow>& crown) {
    const auto columns = reader.columns({kCrown}, {kAxis});
    if (!columns)
        return;
    if (table.rows.size() != 1) {
        reader.fault(table.rows[1].line, "路拱表只能有一行（路拱横坡和旋转轴），现在有 " +
                                             std::to_string(table.rows.size()) + " 行。");
        return;
    }
    FieldReader row(reader, table.rows[0]);
    CrownRow c;
    c.line = table.rows[0].line;
    const std::optional<double> slope =
        row.number((*columns)[0], kCrown, "大于 0、不超过 20 的百分数（如 2）",
                   [](double v) { return v > 0 && v <= kSteepestCrossFall_pct; });
    const std::string axis = row.text((*columns)[1]);
    bool axisKnown = true;
    if (axis == "内边线")
        c.axis = RotationAxis::InnerEdge;
    else if (!axis.empty() && axis != "中线") {
        row.fault(std::string(kAxis) + " 必须是 中线 或 内边线，" + quotedField(axis) + " 不对。");
        axisKnown = false;
    }
    if (slope && axisKnown) {
        c.crown_pct = *slope;
        crown = c;
    }
}

void readSuperelevations(TableReader& reader, const CsvTable& table, bool ofElements,
                         std::vector<SuperelevationRow>& rows) {
    const std::vector<const char*> required =
        ofElements ? std::vector<const char*>{kFrom, kTo, kSuperelevation}
                   : std::vector<const char*>{kJd, kSuperelevation};
    const auto columns = reader.columns(required, {kWidening, kRunOff, kTransition});
    if (!columns) {
        if (ofElements && columnOf(table.header, kJd))
            reader.fault(table.headerLine,
                         "这条路线由线元表给出，没有交点：超高表按全超高段的 起点桩号 和 "
                         "终点桩号 给出各曲线。");
        return;
    }
    const std::size_t first = ofElements ? 3 : 2;
    const auto widening = (*columns)[first], runOff = (*columns)[first + 1],
               transition = (*columns)[first + 2];
    std::map<std::string, int> jds;
    for (const CsvRow& r : table.rows) {
        if (reader.full())
            break;
        FieldReader row(reader, r);
        SuperelevationRow s;
        s.line = r.line;
        bool good = true;
        if (ofElements) {
            s.from = row.chainage((*columns)[0], kFrom);
            s.to = row.chainage((*columns)[1], kTo);
            good = s.from && s.to;
        } else {
            s.jd = shownText(row.text((*columns)[0]));
            if (s.jd.empty()) {
                row.fault(std::string(kJd) + " 不能为空。");
                good = false;
            } else if (const auto [place, isNew] = jds.emplace(s.jd, r.line); !isNew) {
                row.fault("交点 " + s.jd + " 的超高已在第 " + std::to_string(place->second) +
                          " 行给出。");
                good = false;
            }
        }
        const std::optional<double> e = row.number(
            (*columns)[ofElements ? 2 : 1], kSuperelevation, " 0 到 10 之间的百分数（如 6）",
            [](double v) { return v >= 0 && v <= kSteepestSuperelevation_pct; });
        const std::optional<double> b = row.number(
            widening, kWidening, " 0 到 5 之间的米数（如 0.8；不加宽填 0 或留空）",
            [](double v) { return v >= 0 && v <= kWidestWidening_m; }, 0.0);
        if (runOff && !row.text(runOff).empty()) {
            s.runOffLength_m = row.number(runOff, kRunOff, "大于零的米数", positive);
            good = good && s.runOffLength_m;
        }
        const std::string t = row.text(transition);
        if (t == "高次") {
            s.transition = WideningTransition::HighOrder;
        } else if (!t.empty() && t != "线性") {
            row.fault(std::string(kTransition) + " 必须是 线性 或 高次，" + quotedField(t) +
                      " 不对。");
            good = false;
        }
        if (good && e && b) {
            s.superelevation_pct = *e;
            s.widening_m = *b;
            rows.push_back(std::move(s));
        }
    }
}

void readSlopes(TableReader& reader, const CsvTable& table, std::vector<SlopeRow>& rows) {
    const auto columns = reader.columns({kSide, kKind, kRatio}, {kHeight, kBerm});
    if (!columns)
        return;
    const auto [side, kind, ratio, height, berm] =
        std::tuple{(*columns)[0], (*columns)[1], (*columns)[2], (*columns)[3], (*columns)[4]};
    // The last step read of each side and kind: its place in rows, and whether it was unbounded.
    std::map<std::pair<SectionSide, SlopeKind>, std::size_t> last;
    bool complete = true;
    for (const CsvRow& r : table.rows) {
        if (reader.full())
            break;
        FieldReader row(reader, r);
        SlopeRow s;
        s.line = r.line;
        const std::optional<SectionSide> sd = row.side(side);
        const std::string k = row.text(kind);
        std::optional<SlopeKind> kd;
        if (k == "填")
            kd = SlopeKind::Fill;
        else if (k == "挖")
            kd = SlopeKind::Cut;
        else
            row.fault(std::string(kKind) + " 必须是 填 或 挖，" + quotedField(k) + " 不对。");
        std::optional<double> m;
        if (row.text(ratio).empty())
            row.fault("坡率 不能为空：每一级边坡都要有坡率（1:m 的 m，如 1.5）。");
        else
            m = row.number(ratio, kRatio, "大于 0、不超过 20 的数值（1:m 的 m，如 1.5）",
                           [](double v) { return v > 0 && v <= kSteepestSlopeRatio; });
        if (!row.text(height).empty()) {
            s.height_m = row.number(height, kHeight, "大于零的米数（最后一级留空）", positive);
            if (!s.height_m) {
                complete = false;
                continue;
            }
        }
        const std::optional<double> w =
            row.number(berm, kBerm, "不小于零的米数（没有平台留空）", notNegative, 0.0);
        if (!sd || !kd || !m || !w) {
            complete = false;
            continue;
        }
        s.side = *sd;
        s.kind = *kd;
        s.ratio = *m;
        s.berm_m = *w;
        const auto key = std::pair{s.side, s.kind};
        if (const auto before = last.find(key);
            before != last.end() && !rows[before->second].height_m) {
            row.fault(std::string(sideName(s.side)) + "侧" +
                      (s.kind == SlopeKind::Fill ? "填" : "挖") + "方边坡的第 " +
                      std::to_string(rows[before->second].line) +
                      " 行高度为空，已是最后一级：其后不能再有一级。");
            complete = false;
        }
        last[key] = rows.size();
        rows.push_back(s);
    }
    if (!complete || reader.full())
        return;
    // The last step of each side and kind is unbounded: no height, no berm.
    for (const auto& [key, place] : last) {
        const SlopeRow& s = rows[place];
        const std::string named = std::string(sideName(key.first)) + "侧" +
                                  (key.second == SlopeKind::Fill ? "填" : "挖") + "方边坡";
        if (s.height_m)
            reader.fault(s.line, named + "的最后一级不限高度：它的 高度 要留空。");
        if (s.berm_m > 0)
            reader.fault(s.line, named + "的最后一级不能有平台（平台宽 留空）。");
    }
}

void readDitches(TableReader& reader, const CsvTable& table, std::vector<DitchRow>& rows) {
    const auto columns =
        reader.columns({kSide, kDitchWidth, kDitchDepth, kInnerRatio, kOuterRatio}, {});
    if (!columns)
        return;
    std::map<SectionSide, int> sides;
    for (const CsvRow& r : table.rows) {
        if (reader.full())
            break;
        FieldReader row(reader, r);
        DitchRow d;
        d.line = r.line;
        const std::optional<SectionSide> s = row.side((*columns)[0]);
        const std::optional<double> values[] = {
            row.number((*columns)[1], kDitchWidth, "不小于零的米数", notNegative),
            row.number((*columns)[2], kDitchDepth, "大于零的米数", positive),
            row.number((*columns)[3], kInnerRatio, "不小于零的数值（1:m 的 m，如 1）", notNegative),
            row.number((*columns)[4], kOuterRatio, "不小于零的数值（1:m 的 m，如 1）",
                       notNegative)};
        if (!s || !values[0] || !values[1] || !values[2] || !values[3])
            continue;
        if (const auto [place, isNew] = sides.emplace(*s, r.line); !isNew) {
            row.fault(std::string(sideName(*s)) + "侧的边沟已在第 " +
                      std::to_string(place->second) + " 行给出。");
            continue;
        }
        d.side = *s;
        d.bottomWidth_m = *values[0];
        d.depth_m = *values[1];
        d.innerRatio = *values[2];
        d.outerRatio = *values[3];
        rows.push_back(d);
    }
}

}  // namespace

std::optional<SectionTableKind> sectionTableKind(const std::vector<std::string>& header) {
    if (columnOf(header, kComponent))
        return SectionTableKind::Template;
    if (columnOf(header, kCrown))
        return SectionTableKind::Crown;
    if (columnOf(header, kSuperelevation))
        return SectionTableKind::Superelevation;
    if (columnOf(header, kRatio))
        return SectionTableKind::Slopes;
    if (columnOf(header, kDitchWidth) || columnOf(header, kDitchDepth))
        return SectionTableKind::Ditch;
    return std::nullopt;
}

bool isSectionTitle(std::string_view title) {
    for (const char* t : kTitles)
        if (title == t)
            return true;
    return false;
}

void readSectionTable(SectionTableKind kind, const CsvTable& table, std::size_t file,
                      bool ofElements, SectionDesign& section, std::vector<Failure>& faults) {
    std::optional<SectionDesign::Table>* slots[] = {&section.templateTable, &section.crownTable,
                                                    &section.superelevationTable,
                                                    &section.slopeTable, &section.ditchTable};
    std::optional<SectionDesign::Table>& slot = *slots[static_cast<std::size_t>(kind)];
    if (slot) {
        faults.push_back(
            {std::string(tableName(kind)) + "只能有一个，这里又有一个。", table.headerLine, file});
        return;
    }
    slot = SectionDesign::Table{file, table.headerLine};
    TableReader reader(kind, table, file, faults);
    switch (kind) {
        case SectionTableKind::Template:
            readTemplate(reader, table, section.components);
            break;
        case SectionTableKind::Crown:
            readCrown(reader, table, section.crown);
            break;
        case SectionTableKind::Superelevation:
            readSuperelevations(reader, table, ofElements, section.superelevations);
            break;
        case SectionTableKind::Slopes:
            readSlopes(reader, table, section.slopes);
            break;
        case SectionTableKind::Ditch:
            readDitches(reader, table, section.ditches);
            break;
    }
}

void checkSectionTables(const SectionDesign& section, std::vector<Failure>& faults) {
    if (section.templateTable)
        return;
    const std::pair<const std::optional<SectionDesign::Table>*, SectionTableKind> tables[] = {
        {&section.crownTable, SectionTableKind::Crown},
        {&section.superelevationTable, SectionTableKind::Superelevation},
        {&section.slopeTable, SectionTableKind::Slopes},
        {&section.ditchTable, SectionTableKind::Ditch}};
    for (const auto& [table, kind] : tables) {
        if (*table) {
            faults.push_back({std::string("有") + tableName(kind) +
                                  "而没有模板表（表头 侧,部件,宽度,横坡）：横断面从模板算起。",
                              (*table)->headerLine, (*table)->file});
            return;
        }
    }
}

}  // namespace hcurve
