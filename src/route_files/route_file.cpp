#include "route_files/route_file.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>

#include "curve/number.h"
#include "curve/shown_text.h"
#include "geometry/design_check.h"
#include "route_files/csv_tables.h"
#include "route_files/field_text.h"
#include "route_files/ground_files.h"
#include "route_files/section_tables.h"

namespace hcurve {
namespace {

constexpr double kMetresPerKilometre = 1000.0;

enum class Column { Name, X, Y, R, A1, A2, Ls1, Ls2, Chainage, BreakBefore, BreakAfter };
constexpr std::size_t kColumns = static_cast<std::size_t>(Column::BreakAfter) + 1;

// The columns' titles, in the order of Column; a header may write their letters in either case.
constexpr const char* kColumnTitles[] = {"点号", "X",   "Y",    "R",          "A1",        "A2",
                                         "Ls1",  "Ls2", "桩号", "断链前桩号", "断链后桩号"};
static_assert(std::size(kColumnTitles) == static_cast<std::size_t>(Column::BreakAfter) + 1);

const char* columnTitle(Column c) {
    return kColumnTitles[static_cast<std::size_t>(c)];
}

std::optional<Column> columnNamed(std::string_view header) {
    const std::string key = upperLatin(header);
    for (std::size_t i = 0; i < std::size(kColumnTitles); ++i)
        if (upperLatin(kColumnTitles[i]) == key)
            return static_cast<Column>(i);
    return std::nullopt;
}

// A header's column map as a table by column, read once per row and column.
class ColumnPlaces {
  public:
    explicit ColumnPlaces(const std::map<Column, std::size_t>& columns) {
        std::fill(places_, places_ + kColumns, kNone);
        for (const auto& [column, place] : columns)
            places_[static_cast<std::size_t>(column)] = place;
    }
    bool has(Column c) const { return places_[static_cast<std::size_t>(c)] != kNone; }
    // The column's place, or kNone.
    std::size_t of(Column c) const { return places_[static_cast<std::size_t>(c)]; }
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  private:
    std::size_t places_[kColumns];
};

// Reads the fields of one table row by the column map of its header, collecting faults.
class RowReader {
  public:
    RowReader(int line, const std::vector<std::string>& fields, const ColumnPlaces& columns,
              std::vector<Failure>& faults)
        : line_(line), fields_(fields), columns_(columns), faults_(faults) {}

    bool has(Column c) const { return columns_.has(c); }

    std::string_view text(Column c) const {
        const std::size_t place = columns_.of(c);
        if (place == ColumnPlaces::kNone || place >= fields_.size())
            return {};
        return fields_[place];
    }

    // A length or coordinate; an empty field reads as emptyValue when one is given. Nothing, and
    // the fault said, when the field is no number.
    std::optional<double> number(Column c, std::optional<double> emptyValue = std::nullopt) {
        const std::string_view t = text(c);
        if (t.empty() && emptyValue)
            return *emptyValue;
        std::optional<double> v = readNumber(t);
        if (!v || std::fabs(*v) > kMaxDesignLength_m) {
            fault(std::string(columnTitle(c)) + " 必须是数值，" + quotedField(t) +
                  " 不是有效的数值。");
            return std::nullopt;
        }
        return *v;
    }

    double chainage(Column c) {
        const std::string_view t = text(c);
        std::optional<double> v = readChainage(t);
        if (!v) {
            fault(std::string(columnTitle(c)) + " 必须是米数或 K 桩号（如 12000 或 K12+000），" +
                  quotedField(t) + " 不对。");
            return 0;
        }
        return *v;
    }

    void fault(std::string message) { faults_.push_back({std::move(message), line_}); }

  private:
    int line_;
    const std::vector<std::string>& fields_;
    const ColumnPlaces& columns_;
    std::vector<Failure>& faults_;
};

// The column map of a header row; faults for a repeated column.
std::map<Column, std::size_t> headerColumns(int line, const std::vector<std::string>& fields,
                                            std::vector<Failure>& faults) {
    std::map<Column, std::size_t> columns;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::optional<Column> c = columnNamed(fields[i]);
        if (!c)
            continue;
        if (!columns.emplace(*c, i).second)
            faults.push_back({"表头的 " + std::string(columnTitle(*c)) + " 列出现了两次。", line});
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

enum class TableKind { Points, Breaks, Grade, CrossFall, ElementStart, Elements, Section, Unknown };

TableKind kindOf(const std::vector<std::string>& header) {
    std::vector<Failure> ignored;
    const std::map<Column, std::size_t> columns = headerColumns(0, header, ignored);
    if (columns.count(Column::Name))
        return TableKind::Points;
    if (columns.count(Column::BreakBefore) || columns.count(Column::BreakAfter))
        return TableKind::Breaks;
    if (isGradeHeader(header))
        return TableKind::Grade;
    if (isCrossFallHeader(header))
        return TableKind::CrossFall;
    if (isElementStartHeader(header))
        return TableKind::ElementStart;
    if (isElementTableHeader(header))
        return TableKind::Elements;
    if (sectionTableKind(header))
        return TableKind::Section;
    return TableKind::Unknown;
}

// Whether a header's title names a column of any table of the file; a cross-section table's only
// in the header of one, so that another table keeps reading as it did. (A header's titles are
// known once each: a second is a fault, so its table is told after as many looks at the header
// as the cross-section has titles.)
bool isKnownTitle(std::string_view title, const std::vector<std::string>& header) {
    return columnNamed(title) || isGradeTitle(title) || isCrossFallTitle(title) ||
           isElementTitle(title) || (isSectionTitle(title) && kindOf(header) == TableKind::Section);
}

// The break table may hold empty lines: a line after one that opens no table of its own is one
// more chain break.
bool continuesOverEmptyLine(const CsvTable& current, const std::vector<std::string>& line) {
    return kindOf(current.header) == TableKind::Breaks && kindOf(line) == TableKind::Unknown;
}

}  // namespace

std::optional<double> readChainage(std::string_view text) {
    text = trimmedField(text);
    if (text.empty())
        return std::nullopt;
    if (text.front() != 'K' && text.front() != 'k') {
        std::optional<double> v = readNumber(text);
        if (!v || std::fabs(*v) > kMaxDesignLength_m)
            return std::nullopt;
        return v;
    }
    text.remove_prefix(1);
    // The kilometres (a sign of their own allowed), then "+" or "-" and the metres.
    std::size_t kmEnd = text.find_first_not_of(' ');
    if (kmEnd != std::string_view::npos && text[kmEnd] == '-')
        ++kmEnd;
    const std::size_t joint = text.find_first_of("+-", kmEnd);
    if (joint == std::string_view::npos)
        return std::nullopt;
    std::optional<double> km = readNumber(text.substr(0, joint));
    std::string_view metresText = trimmedField(text.substr(joint + 1));
    // The metre part is digits and a point only: no sign, no exponent.
    if (metresText.empty() || metresText.find_first_not_of("0123456789.") != std::string_view::npos)
        return std::nullopt;
    std::optional<double> m = readNumber(metresText);
    if (!km || !m || *km != std::trunc(*km) || *m >= kMetresPerKilometre ||
        std::fabs(*km) > kMaxDesignLength_m / kMetresPerKilometre)
        return std::nullopt;
    // Read as the chainage texts are written: "+" adds the metres to the kilometres ("K-1+998.500"
    // is -1.5 m, kilometres rounded down); "-" counts them back from kilometres at or before zero,
    // as a stake before the start is written ("K0-153.100" is -153.1 m, "K-1-846.900" -1846.9 m).
    // A "-" after kilometres past zero ("K1-200") says nothing clear and is not taken.
    if (text[joint] == '-') {
        if (*km > 0)
            return std::nullopt;
        return *km * kMetresPerKilometre - *m;
    }
    return *km * kMetresPerKilometre + *m;
}

namespace {

// Every file split into its tables, within one budget of rows for them all; nothing, with the
// fault, where a file is no CSV the reader takes or the first holds no table.
std::optional<std::vector<std::vector<CsvTable>>> splitRouteFiles(
    const std::vector<std::string_view>& utf8Texts, std::vector<Failure>& faults) {
    std::vector<std::vector<CsvTable>> files;
    std::size_t rowsLeft = kMostRouteRows;
    for (std::size_t f = 0; f < utf8Texts.size(); ++f) {
        // A ground file is read on its own (readRouteFiles); it holds no table.
        if (f > 0 && groundFileKind(utf8Texts[f])) {
            files.emplace_back();
            continue;
        }
        Result<CsvSplit> split = splitTables(utf8Texts[f], continuesOverEmptyLine, isKnownTitle,
                                             {kMaxRouteLineBytes, rowsLeft});
        if (!split) {
            Failure fault = split.failure();
            fault.file = f;
            faults.push_back(std::move(fault));
            return std::nullopt;
        }
        for (const CsvTable& table : split->tables)
            rowsLeft -= table.rows.size();
        if (f == 0 && split->tables.empty()) {
            faults.push_back({"文件是空的：没有交点表。", std::max(split->lines, 1)});
            return std::nullopt;
        }
        files.push_back(std::move(split->tables));
    }
    if (files.empty()) {
        faults.push_back({"文件是空的：没有交点表。", 1});
        return std::nullopt;
    }
    return files;
}

// A table of the files and the file it stands in.
struct PlacedTable {
    const CsvTable* table = nullptr;
    std::size_t file = 0;
};

// Where the tables that are read once the route's own table is known stand: the chain breaks,
// and for a route of elements its start and its elements.
struct RouteTables {
    bool ofElements = false;
    PlacedTable breaks, start, elements;
};

// Each table of the files known by its header, each kind once: the first file's first table is
// the route's own (a JD table, or the start or the element table of a route of elements). The
// grade line and the cross-fall are read into the design at once.
RouteTables placeTables(const std::vector<std::vector<CsvTable>>& files, RouteDesign& design,
                        std::vector<Failure>& faults) {
    RouteTables placed;
    const TableKind firstKind = kindOf(files[0][0].header);
    placed.ofElements = firstKind == TableKind::ElementStart || firstKind == TableKind::Elements;
    const bool ofElements = placed.ofElements;
    for (std::size_t f = 0; f < files.size(); ++f) {
        for (std::size_t t = f == 0 && !ofElements ? 1 : 0; t < files[f].size(); ++t) {
            const CsvTable& table = files[f][t];
            const auto twice = [&](const char* what) {
                faults.push_back(
                    {std::string(what) + "只能有一个，这里又有一个。", table.headerLine, f});
            };
            const auto mixed = [&](const char* what, const char* before) {
                faults.push_back({std::string("一条路线只能由交点表或线元表之一给出：这里是") +
                                      what + "，而前面已有" + before + "。",
                                  table.headerLine, f});
            };
            const auto place = [&](PlacedTable& slot, const char* what) {
                if (slot.table)
                    twice(what);
                else
                    slot = {&table, f};
            };
            switch (kindOf(table.header)) {
                case TableKind::Points:
                    if (ofElements)
                        mixed("交点表", "线元表");
                    else
                        twice("交点表");
                    break;
                case TableKind::ElementStart:
                    if (!ofElements)
                        mixed("线元表的起点表", "交点表");
                    else
                        place(placed.start, "起点表");
                    break;
                case TableKind::Elements:
                    if (!ofElements)
                        mixed("线元表", "交点表");
                    else
                        place(placed.elements, "线元表");
                    break;
                case TableKind::Breaks:
                    place(placed.breaks, "断链表");
                    break;
                case TableKind::Grade:
                    if (design.grade)
                        twice("纵断面表");
                    else
                        design.grade = readGradeTable(table, f, faults);
                    break;
                case TableKind::CrossFall:
                    if (design.crossFall)
                        twice("横坡表");
                    else
                        design.crossFall = readCrossFallTable(table, f, faults);
                    break;
                case TableKind::Section:
                    readSectionTable(*sectionTableKind(table.header), table, f, ofElements,
                                     design.section, faults);
                    break;
                case TableKind::Unknown:
                    faults.push_back(
                        {"这张表的表头不认识：断链表要有 断链前桩号 和 断链后桩号 "
                         "两列，纵断面表要有 "
                         "变坡点桩号（或 变坡点里程）和 高程 列，横坡表要有 "
                         "桩号、左横坡 和 右横坡 列；横断面的模板表要有 部件 列，"
                         "路拱表 路拱横坡 列，超高表 超高横坡 列，边坡表 坡率 列，"
                         "边沟表 边沟底宽 或 边沟深 列。",
                         table.headerLine, f});
                    break;
            }
        }
    }
    return placed;
}

// The chain breaks of their table, which stands after the route's own table (named by ofElements)
// in the file given; its faults name that file.
std::vector<ChainBreakRow> readChainBreaks(const CsvTable& breaks, std::size_t file,
                                           bool ofElements, std::vector<Failure>& faults) {
    std::vector<ChainBreakRow> rows;
    const std::size_t before = faults.size();
    std::map<Column, std::size_t> columns = headerColumns(breaks.headerLine, breaks.header, faults);
    if (!columns.count(Column::BreakBefore) || !columns.count(Column::BreakAfter)) {
        faults.push_back({std::string(ofElements ? "线元表" : "交点表") +
                              "后空行以下是断链表，它的表头必须有 断链前桩号 和 断链后桩号 两列。",
                          breaks.headerLine});
    } else {
        const ColumnPlaces places(columns);
        for (const CsvRow& r : breaks.rows) {
            if (faults.size() >= kMostRouteFaults)
                break;
            RowReader row(r.line, r.fields, places, faults);
            ChainBreakRow b;
            b.line = r.line;
            b.file = file;
            b.before_m = row.chainage(Column::BreakBefore);
            b.after_m = row.chainage(Column::BreakAfter);
            rows.push_back(b);
        }
    }
    for (std::size_t i = before; i < faults.size(); ++i)
        faults[i].file = file;
    return rows;
}

// The start and the elements of a route of elements into the design; a fault where one of the
// two tables is missing.
void readElementRoute(const RouteTables& placed, RouteDesign& design,
                      std::vector<Failure>& faults) {
    if (!placed.start.table)
        faults.push_back({"线元表缺少起点表（表头 起点桩号,X,Y,方位角，一行）。",
                          placed.elements.table->headerLine, placed.elements.file});
    else
        design.elementStart = readElementStart(*placed.start.table, placed.start.file, faults);
    if (!placed.elements.table)
        faults.push_back({"起点表之后缺少线元表（表头 长度,起点半径,终点半径,转向）。",
                          placed.start.table->headerLine, placed.start.file});
    else
        design.elements = readElementTable(*placed.elements.table, placed.elements.file, faults);
    if (design.elementStart)
        design.startChainage_m = design.elementStart->chainage_m;
}

// The points of the JD table (BP, the JDs, EP) and the chainage of BP into the design. False
// when its header lacks a column or the table has fewer than three points: nothing else of the
// files is read then.
bool readPointTable(const CsvTable& points, RouteDesign& design, std::vector<Failure>& faults) {
    const std::size_t faultsBefore = faults.size();
    std::map<Column, std::size_t> columns = headerColumns(points.headerLine, points.header, faults);
    for (Column c : {Column::Name, Column::X, Column::Y, Column::R, Column::Chainage}) {
        if (!columns.count(c))
            faults.push_back(
                {"表头缺少 " + std::string(columnTitle(c)) + " 列。", points.headerLine});
    }
    if (columns.count(Column::A1) && columns.count(Column::Ls1))
        faults.push_back({"表头不能同时有 A1 和 Ls1 列。", points.headerLine});
    if (columns.count(Column::A2) && columns.count(Column::Ls2))
        faults.push_back({"表头不能同时有 A2 和 Ls2 列。", points.headerLine});
    if (faults.size() != faultsBefore)
        return false;
    if (points.rows.size() < 3) {
        faults.push_back({"交点表至少要有三个点（BP、至少一个交点、EP），现在只有 " +
                              std::to_string(points.rows.size()) + " 个。",
                          points.rows.empty() ? points.headerLine : points.rows.back().line});
        return false;
    }
    design.points.reserve(points.rows.size());
    const ColumnPlaces places(columns);
    for (std::size_t i = 0; i < points.rows.size() && faults.size() < kMostRouteFaults; ++i) {
        RowReader row(points.rows[i].line, points.rows[i].fields, places, faults);
        const bool isJd = i != 0 && i + 1 != points.rows.size();
        design.points.push_back(readPointRow(row, points.rows[i].line, isJd));
        if (i == 0)
            design.startChainage_m = row.chainage(Column::Chainage);
    }
    return true;
}

}  // namespace

Result<RouteDesign> readRouteFile(std::string_view utf8Text) {
    return readRouteFiles({utf8Text});
}

Result<RouteDesign> readRouteFiles(const std::vector<std::string_view>& utf8Texts) {
    std::vector<Failure> faults;
    const std::optional<std::vector<std::vector<CsvTable>>> files =
        splitRouteFiles(utf8Texts, faults);
    if (!files)
        return Result<RouteDesign>::failed(std::move(faults));
    RouteDesign design;
    std::vector<Failure> warnings;
    for (std::size_t f = 1; f < utf8Texts.size() && faults.size() < kMostRouteFaults; ++f)
        if (const std::optional<GroundFileKind> kind = groundFileKind(utf8Texts[f]))
            readGroundFile(*kind, utf8Texts[f], f, design.ground, faults, warnings);
    const RouteTables placed = placeTables(*files, design, faults);
    checkSectionTables(design.section, faults);
    // With a template the carriageway's cross-fall is the crown's and the superelevation's: a
    // cross-fall table would give it a second time.
    if (design.crossFall && design.section.templateTable)
        faults.push_back({"有模板表时横坡由路拱和超高给出，不能再有横坡表。",
                          design.crossFall->headerLine, design.crossFall->file});
    if (placed.ofElements)
        readElementRoute(placed, design, faults);
    else if (!readPointTable((*files)[0][0], design, faults))
        return Result<RouteDesign>::failed(std::move(faults));
    if (placed.breaks.table)
        design.breaks =
            readChainBreaks(*placed.breaks.table, placed.breaks.file, placed.ofElements, faults);
    // The ground files' warnings, beside the design or its faults.
    Result<RouteDesign> read = faults.empty() ? Result<RouteDesign>(std::move(design))
                                              : Result<RouteDesign>::failed(std::move(faults));
    read.warnings() = std::move(warnings);
    return read;
}

Result<std::optional<SectionDesign>> readSectionFiles(
    const std::vector<std::string_view>& utf8Texts, std::size_t firstFile, bool ofElements) {
    std::vector<std::vector<CsvTable>> files;
    std::size_t rowsLeft = kMostRouteRows;
    for (std::size_t f = 0; f < utf8Texts.size(); ++f) {
        Result<CsvSplit> split = splitTables(utf8Texts[f], continuesOverEmptyLine, isKnownTitle,
                                             {kMaxRouteLineBytes, rowsLeft});
        if (!split) {
            Failure fault = split.failure();
            fault.file = firstFile + f;
            return fault;
        }
        for (const CsvTable& table : split->tables) {
            if (kindOf(table.header) != TableKind::Section)
                return std::optional<SectionDesign>();
            rowsLeft -= table.rows.size();
        }
        files.push_back(std::move(split->tables));
    }
    SectionDesign section;
    std::vector<Failure> faults;
    for (std::size_t f = 0; f < files.size(); ++f)
        for (const CsvTable& table : files[f])
            readSectionTable(*sectionTableKind(table.header), table, firstFile + f, ofElements,
                             section, faults);
    checkSectionTables(section, faults);
    if (!faults.empty())
        return Result<std::optional<SectionDesign>>::failed(std::move(faults));
    return std::optional<SectionDesign>(std::move(section));
}

bool opensWithRouteTable(std::string_view utf8Text) {
    const Result<CsvSplit> split = splitTables(utf8Text, continuesOverEmptyLine, isKnownTitle,
                                               {kMaxRouteLineBytes, kMostRouteRows});
    if (!split || split->tables.empty())
        return false;
    const TableKind kind = kindOf(split->tables.front().header);
    return kind == TableKind::Points || kind == TableKind::ElementStart ||
           kind == TableKind::Elements;
}

}  // namespace hcurve
