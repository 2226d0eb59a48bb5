#include "route_cli/route_command.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <initializer_list>
#include <iostream>
#include <iterator>
#include <new>
#include <optional>
#include <sstream>
#include <string_view>
#include <tuple>

#include "alignment/earthwork.h"
#include "alignment/ground_sections.h"
#include "alignment/route.h"
#include "cad/route_dxf.h"
#include "cad/section_sheet_dxf.h"
#include "cad/section_sheets.h"
#include "curve/csv_writing.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "export/point_files.h"
#include "platform/file_writing.h"
#include "platform/standard_streams.h"
#include "platform/system_reason.h"
#include "route_files/earthwork_output.h"
#include "route_files/ground_columns.h"
#include "route_files/ground_output.h"
#include "route_files/landxml_loading.h"
#include "route_files/landxml_writing.h"
#include "route_files/route_file.h"
#include "route_files/route_tables.h"
#include "route_files/section_output.h"
#include "route_files/vertical_table.h"
#include "stakes/field_tools.h"
#include "terrain/centre_ground.h"
#include "terrain/ground_at_stakes.h"

namespace hcurve {

namespace {

constexpr char kUsage[] =
    "用法：hcurve route 文件… --elements\n"
    "      hcurve route 文件… --segments\n"
    "      hcurve route 文件… --vertical\n"
    "      hcurve route 文件… --stakes --interval 桩距 [--from 里程] [--to 里程] "
    "[--left d1,d2,...] [--right d1,d2,...] [--skew 角度] [--rows 前排,后排] "
    "[--edges] [--out 文件.csv|文件.dat|文件.gsi]\n"
    "      hcurve route 文件… --dxf 文件.dxf [--interval 桩距 及 --stakes 的其他选项]\n"
    "      hcurve route 文件… --locate X Y [H]\n"
    "      hcurve route 文件… --sections --interval 桩距 [--from 里程] [--to 里程] "
    "[--earthwork 填|挖|填,挖]\n"
    "      hcurve route 文件… --slope-stake X Y H\n"
    "      hcurve route 文件… --slope-stakes 文件.csv\n"
    "      hcurve route 文件… 地面文件 --ground --interval 桩距 [--from 里程] [--to 里程] "
    "[--skew 角度] [--reach 米]\n"
    "      hcurve route 文件… 地面文件 --earthwork [--prismoidal] [--interval 桩距 [--reach 米]] "
    "[--from 里程] [--to 里程]\n"
    "      hcurve route 文件… 地面文件 --section-sheets 文件.pdf|文件.dxf [--sheet-scale 200] "
    "[--interval 桩距 [--reach 米]] [--from 里程] [--to 里程]\n"
    "      hcurve route 文件… --landxml 文件.xml|-\n"
    "      hcurve route 文件.xml [横断面文件.csv…] [--alignment 名称] …\n"
    "      hcurve route 文件.xml --alignments\n";

// The file name that stands for the standard output.
constexpr char kStandardOutput[] = "-";

const char* const kModes[] = {"--elements",  "--segments",      "--vertical",     "--stakes",
                              "--dxf",       "--locate",        "--landxml",      "--alignments",
                              "--sections",  "--slope-stake",   "--slope-stakes", "--ground",
                              "--earthwork", "--section-sheets"};

// The earthwork table's mode, which --sections also takes as its option (the slopes it shows).
constexpr char kEarthwork[] = "--earthwork";

// The stake table's flag that adds the formation edges.
constexpr char kEdges[] = "--edges";

bool isMode(const std::string& argument) {
    return std::find(std::begin(kModes), std::end(kModes), argument) != std::end(kModes);
}

// The files a run writes, from its mode and values: --dxf's and --landxml's file (not the standard
// output), and --out's.
std::vector<std::string> outputTargets(const std::vector<std::string>& rest) {
    std::vector<std::string> targets;
    const std::string& mode = rest[1];
    if ((mode == "--dxf" || mode == "--landxml" || mode == "--section-sheets") && rest.size() > 2 &&
        rest[2] != kStandardOutput)
        targets.push_back(rest[2]);
    if (mode == "--stakes" || mode == "--dxf") {
        for (std::size_t i = mode == "--dxf" ? 3 : 2; i + 1 < rest.size(); i += 2) {
            if (rest[i] == "--out")
                targets.push_back(rest[i + 1]);
        }
    }
    return targets;
}

// Written once the standard output has failed.
struct OutputFailed {};

// One message line on the error stream: whatever of it came from a file or an argument shows its
// control characters escaped.
void say(std::ostream& err, const std::string& message) {
    err << shownText(message) << "\n";
}

// A failure as every front end words it, after the program's name.
void sayFailure(std::ostream& err, const Failure& failure) {
    say(err, "hcurve: " + failure.message);
}

// Every failure of a result, and its warnings, as they are worded.
template <class T>
void sayAll(std::ostream& err, const Result<T>& result) {
    for (const Failure& w : result.warnings())
        say(err, w.message);
    if (!result)
        for (const Failure& f : result.failures())
            say(err, f.message);
}

// The route of the files, or the failures that say why there is none.
// kept holds it when support has no loader of its own.
const Result<LoadedRoute>& loadRoute(const std::vector<std::string>& paths,
                                     const std::string* alignment, const RouteRunSupport& support,
                                     std::optional<Result<LoadedRoute>>& kept, std::ostream& err) {
    const Result<LoadedRoute>& loading = support.load
                                             ? support.load(paths, alignment)
                                             : kept.emplace(loadRouteFiles(paths, alignment));
    sayAll(err, loading);
    return loading;
}

// The name of the alignment written for a route: the LandXML alignment's, else the file's name
// without its folder and extension.
std::string alignmentName(const LoadedRoute& loading, const std::string& path) {
    if (!loading.name.empty())
        return loading.name;
    std::string name = path.substr(
        path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

// Now, as the LandXML root states when its document was written (UTC).
LandXmlStamp stampNow() {
    const std::time_t now = std::time(nullptr);
    // One thread: the shared result is copied at once.
    const std::tm t = *std::gmtime(&now);
    char date[16], time[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &t);
    std::strftime(time, sizeof time, "%H:%M:%S", &t);
    return {date, time};
}

// The output of a table: all of it, then flushed; a write that fails ends the command.
void put(std::ostream& out, const std::string& text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush())
        throw OutputFailed{};
}

std::string outputFailure(std::ostream& out) {
    if (auto* buffer = dynamic_cast<platform::OutputDescriptorBuffer*>(out.rdbuf()))
        return platform::systemReason(buffer->error());
    return "写入出错";
}

// The stake options from args[first] on into request; --out (only where out is given) into
// *outPath and *format. False, with the message said, at a fault.
bool readStakeOptions(const Route& route, const std::vector<std::string>& args, std::size_t first,
                      StakeRequest& request, bool& haveInterval,
                      std::optional<std::string>* outPath, ExportFormat* format,
                      std::ostream& err) {
    for (std::size_t i = first; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            say(err, "hcurve: " + option + " 后面缺少值。");
            err << kUsage;
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--interval") {
            const Result<double> v = stakeInterval(value);
            if (!v) {
                sayFailure(err, v.failure());
                return false;
            }
            request.interval_m = *v;
            haveInterval = true;
        } else if (option == "--from" || option == "--to") {
            const Result<double> v = stretchEnd(route, value, option == "--from");
            if (!v) {
                sayFailure(err, v.failure());
                return false;
            }
            (option == "--from" ? request.from_m : request.to_m) = *v;
        } else if (option == "--left" || option == "--right") {
            const Result<std::vector<double>> d = distanceList(value);
            if (!d) {
                say(err, "hcurve: " + option + " " + d.failure().message);
                return false;
            }
            (option == "--left" ? request.left_m : request.right_m) = *d;
        } else if (option == "--rows") {
            const Result<std::vector<double>> d = distanceList(value);
            if (!d || d->size() != 2) {
                say(err, "hcurve: --rows 要给出前排和后排到横轴的距离（如 1.5,2），“" + value +
                             "”不对。");
                return false;
            }
            request.doubleRow = true;
            request.front_m = (*d)[0];
            request.back_m = (*d)[1];
        } else if (option == "--skew") {
            const Result<double> v = skewDegrees(value);
            if (!v) {
                sayFailure(err, v.failure());
                return false;
            }
            request.skew_deg = *v;
        } else if (option == "--out" && outPath) {
            const std::optional<ExportFormat> f = exportFormatOf(value);
            if (!f) {
                err << "hcurve: --out 的文件名要以 .csv、.dat 或 .gsi 结尾。\n";
                return false;
            }
            *outPath = value;
            *format = *f;
        } else {
            say(err, "hcurve: 不认识的选项 " + option + "。");
            err << kUsage;
            return false;
        }
    }
    return true;
}

// The table of a request (its side points' heights from the cross-section where there is one),
// with its warning said; nothing, with the fault said, when it cannot be met.
std::optional<StakeTable> stakeTableSaid(const Route& route, const CrossSection* section,
                                         const StakeRequest& request, std::ostream& err) {
    Result<StakeTable> table = stakeTable(route, request, section);
    for (const Failure& w : table.warnings())
        sayFailure(err, w);
    if (!table) {
        sayFailure(err, table.failure());
        return std::nullopt;
    }
    return std::move(*table);
}

// Why a mode of the cross-section cannot be used on a route without a template.
constexpr char kNoTemplate[] = "需要横断面：文件里没有模板表（表头 侧,部件,宽度,横坡）。";

// The ground of the route's files, its terrain model built; nothing, with the faults said with
// their files, where the model cannot be built.
std::optional<RouteGround> routeGroundSaid(const LoadedRoute& loading, std::ostream& err) {
    Result<RouteGround> ground = routeGround(loading.ground, loading.groundSections);
    if (!ground) {
        for (const Failure& f : ground.failures())
            say(err, (f.file < loading.files.size() ? loading.files[f.file] : std::string()) +
                         ": " + faultText(f));
        return std::nullopt;
    }
    return std::move(*ground);
}

// The stake table as CSV, with the edges' columns after each row's own where asked, and with the
// ground's columns (地面高程, 填挖高) after all of them where ground_m is given.
std::string stakeTableText(const StakeTable& table, const StakeRequest& request,
                           const CrossSection* edges, const Route& route,
                           const std::vector<std::optional<double>>* ground_m) {
    if (!ground_m)
        return edges ? stakeTableWithEdgesCsv(table, request, *edges, route)
                     : stakeTableCsv(table, request);
    const std::vector<EdgeColumn> columns = edges ? edgeColumns(*edges) : std::vector<EdgeColumn>{};
    std::vector<std::string> fields = stakeTableHeader(table, request);
    if (edges)
        for (std::string& name : edgeHeader(columns))
            fields.push_back(std::move(name));
    for (std::string& name : groundColumnHeader())
        fields.push_back(std::move(name));
    std::string text = csvStart(kScriptCsv) + csvLine(fields, kScriptCsv);
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        fields = stakeTableFields(table, i);
        if (edges)
            for (std::string& field :
                 edgeFields(*edges, route, columns, table.rows[i].continuous_m))
                fields.push_back(std::move(field));
        for (std::string& field : groundColumnFields(table.rows[i].H_m, (*ground_m)[i]))
            fields.push_back(std::move(field));
        text += csvLine(fields, kScriptCsv);
    }
    return text;
}

int stakes(const LoadedRoute& loading, const CrossSection* section, std::vector<std::string> args,
           std::ostream& out, std::ostream& err) {
    const Route& route = loading.route;
    StakeRequest request;
    std::optional<std::string> outPath;
    ExportFormat format = ExportFormat::Csv;
    bool haveInterval = false;
    // --edges stands anywhere among the options, once.
    const auto edgesFlag = std::find(args.begin() + 2, args.end(), kEdges);
    const bool edges = edgesFlag != args.end();
    if (edges) {
        args.erase(edgesFlag);
        if (std::find(args.begin() + 2, args.end(), kEdges) != args.end()) {
            err << "hcurve: --edges 只能给出一次。\n";
            return 1;
        }
        if (!section) {
            err << "hcurve: --edges " << kNoTemplate << "\n";
            return 1;
        }
    }
    if (!readStakeOptions(route, args, 2, request, haveInterval, &outPath, &format, err))
        return 1;
    if (!haveInterval) {
        err << "hcurve: --stakes 需要 --interval 桩距。\n" << kUsage;
        return 1;
    }
    const std::optional<StakeTable> table = stakeTableSaid(route, section, request, err);
    if (!table)
        return 1;
    if (outPath) {
        const Result<std::string> file =
            exportFile(edges ? exportPointsWithEdges(*table, request, *section, route,
                                                     format == ExportFormat::Gsi)
                             : routeExportPoints(*table, request),
                       format, table->withHeights);
        if (!file) {
            sayFailure(err, file.failure());
            return 1;
        }
        if (const Result<void> written = writeFileReplacing(*outPath, *file); !written) {
            sayFailure(err, written.failure());
            return 1;
        }
        return 0;
    }
    // With a ground file, the ground at each centre stake and the fill or cut there.
    std::optional<std::vector<std::optional<double>>> ground_m;
    if (!loading.groundSections.empty() || !loading.ground.terrain.empty()) {
        const std::optional<RouteGround> ground = routeGroundSaid(loading, err);
        if (!ground)
            return 1;
        ground_m = centreGroundAtStakes_m(*ground, *table);
        if (const std::size_t without = stakesWithoutGround(*ground_m); without > 0)
            say(err, "hcurve: 注意：" + std::to_string(without) +
                         " 个桩没有地面高程（桩上没有地面横断面，或在地面模型之外），地面高程和"
                         "填挖高空着。");
    }
    put(out, stakeTableText(*table, request, edges ? section : nullptr, route,
                            ground_m ? &*ground_m : nullptr));
    return 0;
}

// --sections --interval D [--from M] [--to M] [--earthwork 填|挖|左,右]: the break points of the
// design section of every stake.
int sectionsCommand(const Route& route, const CrossSection* section, std::vector<std::string> args,
                    std::ostream& out, std::ostream& err) {
    if (!section) {
        err << "hcurve: --sections " << kNoTemplate << "\n";
        return 1;
    }
    SectionSlopes slopes = defaultSectionSlopes(*section);
    std::vector<std::string> kept(args.begin(), args.begin() + 2);
    for (std::size_t i = 2; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (option != "--earthwork" && option != "--interval" && option != "--from" &&
            option != "--to") {
            say(err, "hcurve: --sections 只用 --interval、--from、--to 和 --earthwork，不用 " +
                         option + "。");
            return 1;
        }
        if (i + 1 >= args.size()) {
            say(err, "hcurve: " + option + " 后面缺少值。");
            return 1;
        }
        if (option != "--earthwork") {
            kept.insert(kept.end(), {option, args[i + 1]});
            continue;
        }
        const std::string& value = args[i + 1];
        const auto kind = [](const std::string& t) -> std::optional<SectionEarthwork> {
            if (t == "填")
                return SectionEarthwork::Fill;
            if (t == "挖")
                return SectionEarthwork::Cut;
            return std::nullopt;
        };
        const std::size_t comma = value.find(',');
        const std::optional<SectionEarthwork> left = kind(value.substr(0, comma));
        const std::optional<SectionEarthwork> right =
            comma == std::string::npos ? left : kind(value.substr(comma + 1));
        if (!left || !right) {
            say(err, "hcurve: --earthwork 要给出 填 或 挖（两侧不同时写 左侧,右侧，如 填,挖），“" +
                         value + "”不对。");
            return 1;
        }
        slopes = {*left, *right};
    }
    StakeRequest request;
    bool haveInterval = false;
    if (!readStakeOptions(route, kept, 2, request, haveInterval, nullptr, nullptr, err))
        return 1;
    if (!haveInterval) {
        err << "hcurve: --sections 需要 --interval 桩距。\n";
        return 1;
    }
    const std::optional<StakeTable> table = stakeTableSaid(route, section, request, err);
    if (!table)
        return 1;
    put(out, sectionTableCsv(*table, *section, route, slopes));
    return 0;
}

// The ground sections of a stake request from the route's ground files: the surveyed sections in
// the stretch, and with terrain points the sections cut from their model (built here; its faults
// said with the file). Nothing, with the fault said, where the files give no ground or the model
// cannot be built.
std::optional<GroundAtStakes> groundSaid(const LoadedRoute& loading, const StakeTable& table,
                                         const StakeRequest& request, double reach_m,
                                         const char* mode, std::ostream& err) {
    const GroundDesign& ground = loading.ground;
    if (loading.groundSections.empty() && ground.terrain.empty()) {
        say(err, std::string("hcurve: ") + mode +
                     " 需要地面文件：BEGIN 行开头的横断面文件、表头 桩号,偏距,高程 的横断面表，"
                     "或表头 点名,X,Y,H 的地面点文件。");
        return std::nullopt;
    }
    std::shared_ptr<const TerrainModel> model;
    if (!ground.terrain.empty()) {
        Result<std::shared_ptr<const TerrainModel>> building =
            buildTerrainModel(ground.terrain, ground.terrainFile);
        if (!building) {
            for (const Failure& f : building.failures())
                say(err, (f.file < loading.files.size() ? loading.files[f.file] : std::string()) +
                             ": " + faultText(f));
            return std::nullopt;
        }
        model = std::move(*building);
    }
    GroundAtStakes atStakes = groundAtStakes(loading.groundSections, model.get(), loading.route,
                                             table, request.skew_deg, reach_m);
    for (const std::string& w : atStakes.warnings)
        say(err, "hcurve: 注意：" + w);
    return atStakes;
}

// The options of --ground, --earthwork and --section-sheets after their words: the stake options
// they allow, handed on as they are after the first file's place and the mode; --reach, the width
// of the section cut on each side; and for the sheets --sheet-scale, the denominator of their
// scale.
struct SectionOptions {
    std::vector<std::string> stakeOptions;
    std::optional<double> reach_m;
    std::optional<int> sheetScale;
};

// What a mode takes after its words: the options from args[first], the stake options it allows,
// whether it takes --sheet-scale, and `refusal`, the message before the name of an option it does
// not take.
struct SectionOptionRules {
    std::size_t first;
    std::initializer_list<std::string_view> allowed;
    bool sheetScale;
    std::string refusal;
};

// Nothing, with the message said, for an option neither allowed nor --reach (nor --sheet-scale
// where the mode takes it) or one without its value, or a width or a scale out of its bounds.
std::optional<SectionOptions> sectionOptions(const std::vector<std::string>& args,
                                             const SectionOptionRules& rules, std::ostream& err) {
    SectionOptions options{{args.begin(), args.begin() + 2}, std::nullopt, std::nullopt};
    for (std::size_t i = rules.first; i < args.size(); i += 2) {
        const std::string& option = args[i];
        const bool stakeOption =
            std::find(rules.allowed.begin(), rules.allowed.end(), option) != rules.allowed.end();
        const bool scaleOption = rules.sheetScale && option == "--sheet-scale";
        if (!stakeOption && !scaleOption && option != "--reach") {
            say(err, rules.refusal + option + "。");
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            say(err, "hcurve: " + option + " 后面缺少值。");
            return std::nullopt;
        }
        const std::string& value = args[i + 1];
        if (stakeOption) {
            options.stakeOptions.insert(options.stakeOptions.end(), {option, value});
        } else if (scaleOption) {
            const std::optional<int> n = sheetScale(value);
            if (!n) {
                say(err, "hcurve: --sheet-scale 要给出比例尺的分母（" +
                             std::to_string(kLeastSheetScale) + " 到 " +
                             std::to_string(kMostSheetScale) + " 的整数，如 200 或 1:200），“" +
                             value + "”不对。");
                return std::nullopt;
            }
            options.sheetScale = *n;
        } else {
            const std::optional<double> reach = readNumber(value);
            if (!reach || *reach <= 0 || *reach > kPlausibleOffsetLimit_m) {
                say(err, "hcurve: --reach 要给出横断面每侧的宽度（大于 0、不超过 1000 米），“" +
                             value + "”不对。");
                return std::nullopt;
            }
            options.reach_m = *reach;
        }
    }
    return options;
}

// --ground --interval D [--from M] [--to M] [--skew A] [--reach M]: the ground sections at the
// stakes, one row each.
int groundCommand(const LoadedRoute& loading, const std::vector<std::string>& args,
                  std::ostream& out, std::ostream& err) {
    const std::optional<SectionOptions> options =
        sectionOptions(args,
                       {2,
                        {"--interval", "--from", "--to", "--skew"},
                        false,
                        "hcurve: --ground 只用 --interval、--from、--to、--skew 和 --reach，不用 "},
                       err);
    if (!options)
        return 1;
    const std::vector<std::string>& kept = options->stakeOptions;
    const double reach_m = options->reach_m.value_or(kDefaultGroundReach_m);
    StakeRequest request;
    bool haveInterval = false;
    if (!readStakeOptions(loading.route, kept, 2, request, haveInterval, nullptr, nullptr, err))
        return 1;
    if (!haveInterval) {
        err << "hcurve: --ground 需要 --interval 桩距。\n";
        return 1;
    }
    const std::optional<StakeTable> table = stakeTableSaid(loading.route, nullptr, request, err);
    if (!table)
        return 1;
    const std::optional<GroundAtStakes> ground =
        groundSaid(loading, *table, request, reach_m, "--ground", err);
    if (!ground)
        return 1;
    put(out, groundTableCsv(ground->sections));
    return 0;
}

// --dxf FILE.dxf [stake options]: the plan for CAD; with --interval also the stakes and their
// side points.
int dxfCommand(const Route& route, const CrossSection* section,
               const std::vector<std::string>& args, const RouteRunSupport& support,
               std::ostream& err) {
    if (args.size() < 3 || !isDxfPath(args[2])) {
        err << "hcurve: --dxf 后面要有以 .dxf 结尾的文件名。\n" << kUsage;
        return 1;
    }
    StakeRequest request;
    bool haveInterval = false;
    if (!readStakeOptions(route, args, 3, request, haveInterval, nullptr, nullptr, err))
        return 1;
    if (!haveInterval && (!request.left_m.empty() || !request.right_m.empty() || request.from_m ||
                          request.to_m || request.doubleRow || request.skew_deg != 0)) {
        err << "hcurve: 要画出中桩和边桩，需要 --interval 桩距。\n" << kUsage;
        return 1;
    }
    std::optional<StakeTable> table;
    if (haveInterval) {
        table = stakeTableSaid(route, section, request, err);
        if (!table)
            return 1;
    }
    const PlanDrawing drawing = routeDrawing(route, table ? &*table : nullptr, request);
    if (const Result<void> written = support.drawPlan
                                         ? support.drawPlan(args[2], drawing)
                                         : writeFileReplacing(args[2], planDxf(drawing));
        !written) {
        sayFailure(err, written.failure());
        return 1;
    }
    return 0;
}

// A surveyed point's X, Y and H from the arguments from first on; nothing, with the message
// said, where one is no number or beyond the coordinates' bound.
std::optional<SurveyedPoint> pointArguments(const std::vector<std::string>& args, std::size_t first,
                                            std::ostream& err) {
    SurveyedPoint p;
    double* values[] = {&p.x_m, &p.y_m, &p.H_m};
    const char* names[] = {"X", "Y", "H"};
    for (std::size_t k = 0; k < 3; ++k) {
        const std::optional<double> v = readNumber(args[first + k]);
        if (!v || std::fabs(*v) > kMaxCoordinate_m) {
            say(err, std::string("hcurve: ") + names[k] + " 必须是数值（绝对值不超过 " +
                         generalText(kMaxCoordinate_m) + "），“" + args[first + k] + "” 不对。");
            return std::nullopt;
        }
        *values[k] = *v;
    }
    return p;
}

// What a slope stake needs of the route besides the point: a template and a grade line.
bool slopeStakesPossible(const Route& route, const CrossSection* section,
                         const std::string& withoutProfile, const std::string& mode,
                         std::ostream& err) {
    if (!section) {
        err << "hcurve: " << mode << " " << kNoTemplate << "\n";
        return false;
    }
    if (!route.gradeLine) {
        if (!withoutProfile.empty())
            say(err, "hcurve: " + withoutProfile + "，放不出边坡。");
        else
            err << "hcurve: 文件里没有纵断面表，放不出边坡：边坡放样要比较设计高程和实测高程。\n";
        return false;
    }
    return true;
}

// --slope-stake X Y H: one ground point's slope stake.
int slopeStakeCommand(const Route& route, const CrossSection* section,
                      const std::string& withoutProfile, const std::vector<std::string>& args,
                      std::ostream& out, std::ostream& err) {
    if (args.size() != 5) {
        err << "hcurve: --slope-stake 后面要有三个数值：X（北）、Y（东）和实测高程 H。\n";
        return 1;
    }
    const std::optional<SurveyedPoint> point = pointArguments(args, 2, err);
    if (!point || !slopeStakesPossible(route, section, withoutProfile, "--slope-stake", err))
        return 1;
    const std::optional<RouteFoot> foot = locate(route, point->x_m, point->y_m);
    if (!foot) {
        err << "hcurve: 这个点在路线上找不到垂足。\n";
        return 1;
    }
    const Result<SlopeStake> stake =
        slopeStake(*section, route, foot->continuous_m, foot->offset_m, point->H_m);
    if (!stake) {
        say(err,
            "hcurve: " + stakeText(route, foot->continuous_m) + "：" + stake.failure().message);
        return 1;
    }
    put(out,
        csvText({slopeStakeHeader(), slopeStakeFields(route, *point, *foot, *stake)}, kScriptCsv));
    if (foot->ambiguous)
        err << "hcurve: 注意：路线上有几处离该点几乎一样近，这个桩号不是唯一的答案。\n";
    if (foot->far())
        say(err,
            "hcurve: 注意：该点离路线超过 " + generalText(foot->plausibleOffset_m) +
                " 米（附近曲线的半径 R 与 1000 米中较小者），不像是这条路线上的点，请核对座标。");
    return 0;
}

// --slope-stakes FILE: the slope stake of every point of a file 点名,X,Y,H. A point without one
// (no foot, no slope of its kind on its side) is told on the error stream and left out.
int slopeStakesCommand(const Route& route, const CrossSection* section,
                       const std::string& withoutProfile, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err) {
    if (args.size() != 3) {
        err << "hcurve: --slope-stakes 后面要有一个点的文件（表头 点名,X,Y,H）。\n";
        return 1;
    }
    if (!slopeStakesPossible(route, section, withoutProfile, "--slope-stakes", err))
        return 1;
    const Result<std::string> text = readRouteText(args[2]);
    if (!text) {
        say(err, text.failure().message);
        return 1;
    }
    const Result<std::vector<SurveyedPoint>> points = readSurveyedPoints(*text);
    if (!points) {
        for (const Failure& f : points.failures())
            say(err, args[2] + ": " + faultText(f));
        return 1;
    }
    TableRows rows{slopeStakeHeader()};
    rows.reserve(points->size() + 1);
    for (const SurveyedPoint& p : *points) {
        const std::string who = "点 " + p.name + "（第 " + std::to_string(p.line) + " 行）";
        const std::optional<RouteFoot> foot = locate(route, p.x_m, p.y_m);
        if (!foot) {
            say(err, "hcurve: " + who + "在路线上找不到垂足。");
            continue;
        }
        const Result<SlopeStake> stake =
            slopeStake(*section, route, foot->continuous_m, foot->offset_m, p.H_m);
        if (!stake) {
            say(err, "hcurve: " + who + "，" + stakeText(route, foot->continuous_m) + "：" +
                         stake.failure().message);
            continue;
        }
        rows.push_back(slopeStakeFields(route, p, *foot, *stake));
        if (foot->far())
            say(err, "hcurve: 注意：" + who + "离路线超过 " + generalText(foot->plausibleOffset_m) +
                         " 米，不像是这条路线上的点，请核对座标。");
    }
    put(out, csvText(rows, kScriptCsv));
    return 0;
}

// The ground sections of the earthwork modes (--earthwork, --section-sheets) from their stake
// options (kept: the first file's place, the mode, then --interval, --from and --to): without
// --interval every surveyed section in the stretch; with it the sections at the stakes as --ground
// has them. Nothing, with the fault said, where there are none or the route cannot give them.
std::optional<std::vector<GroundSection>> earthworkSections(const LoadedRoute& loading,
                                                            const CrossSection* section,
                                                            const std::vector<std::string>& kept,
                                                            std::optional<double> reach_m,
                                                            const char* mode, std::ostream& err) {
    const Route& route = loading.route;
    if (!section) {
        err << "hcurve: " << mode << " " << kNoTemplate << "\n";
        return std::nullopt;
    }
    if (!route.gradeLine) {
        if (!loading.withoutProfile.empty())
            say(err, "hcurve: " + loading.withoutProfile + "，算不出土石方。");
        else
            err << "hcurve: 文件里没有纵断面表，算不出土石方：要比较设计高程和地面高程。\n";
        return std::nullopt;
    }
    StakeRequest request;
    bool haveInterval = false;
    if (!readStakeOptions(route, kept, 2, request, haveInterval, nullptr, nullptr, err))
        return std::nullopt;
    std::vector<GroundSection> sections;
    if (haveInterval) {
        const std::optional<StakeTable> table = stakeTableSaid(route, section, request, err);
        if (!table)
            return std::nullopt;
        std::optional<GroundAtStakes> ground = groundSaid(
            loading, *table, request, reach_m.value_or(kDefaultGroundReach_m), mode, err);
        if (!ground)
            return std::nullopt;
        sections = std::move(ground->sections);
    } else {
        if (reach_m) {
            err << "hcurve: --reach 用于在桩上切出横断面，需要 --interval 桩距。\n";
            return std::nullopt;
        }
        if (loading.groundSections.empty()) {
            if (!loading.ground.terrain.empty())
                err << "hcurve: 从地面点切出横断面要在桩上切，需要 --interval 桩距。\n";
            else
                err << "hcurve: " << mode
                    << " 需要地面文件：BEGIN 行开头的横断面文件，或表头 "
                       "桩号,偏距,高程 的横断面表。\n";
            return std::nullopt;
        }
        for (const GroundSection& g : loading.groundSections)
            if ((!request.from_m || g.continuous_m >= *request.from_m) &&
                (!request.to_m || g.continuous_m <= *request.to_m))
                sections.push_back(g);
    }
    if (sections.empty()) {
        err << "hcurve: 所给的范围内没有地面横断面。\n";
        return std::nullopt;
    }
    return sections;
}

// The faults of sections without areas: each with its ground file's line, or alone for a section
// cut from the terrain.
void saySectionFaults(const LoadedRoute& loading, const std::vector<Failure>& faults,
                      std::ostream& err) {
    for (const Failure& f : faults) {
        if (f.line == 0 || f.file >= loading.files.size())
            say(err, "hcurve: " + f.message);
        else
            say(err, loading.files[f.file] + ": " + faultText(f));
    }
}

// --earthwork [--prismoidal] [--interval D [--reach M]] [--from M] [--to M]: the
// areas of the ground sections and the volumes between them. Without --interval every surveyed
// section (in the stretch of --from and --to); with it the sections at the stakes as --ground
// has them (named by the stake they lie at; with terrain points cut from their model at each
// stake without a surveyed one).
int earthworkCommand(const LoadedRoute& loading, const CrossSection* section,
                     std::vector<std::string> args, std::ostream& out, std::ostream& err) {
    const Route& route = loading.route;
    const auto prismoidal = std::find(args.begin() + 2, args.end(), "--prismoidal");
    const VolumeMethod method =
        prismoidal != args.end() ? VolumeMethod::Prismoidal : VolumeMethod::AverageEndArea;
    if (prismoidal != args.end()) {
        args.erase(prismoidal);
        if (std::find(args.begin() + 2, args.end(), "--prismoidal") != args.end()) {
            err << "hcurve: --prismoidal 只能给出一次。\n";
            return 1;
        }
    }
    // Not --skew: areas are measured on sections square to the centre line.
    const std::optional<SectionOptions> options = sectionOptions(
        args,
        {2,
         {"--interval", "--from", "--to"},
         false,
         "hcurve: --earthwork 只用 --prismoidal、--interval、--from、--to 和 --reach，不用 "},
        err);
    if (!options)
        return 1;
    const std::optional<std::vector<GroundSection>> sections = earthworkSections(
        loading, section, options->stakeOptions, options->reach_m, kEarthwork, err);
    if (!sections)
        return 1;
    const Result<std::string> table = earthworkTableCsv(route, *section, *sections, method);
    if (!table) {
        saySectionFaults(loading, table.failures(), err);
        return 1;
    }
    put(out, *table);
    return 0;
}

// True when a path ends in the extension (".pdf"), in any case.
bool hasExtension(const std::string& path, const std::string& extension) {
    if (path.size() <= extension.size())
        return false;
    return std::equal(
        extension.begin(), extension.end(), path.end() - extension.size(),
        [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// --section-sheets FILE.pdf|FILE.dxf [--sheet-scale N] [--interval D [--reach M]] [--from M]
// [--to M]: the cross-section sheets of the sections --earthwork lists, at 1:N (1:200 unless
// given). The DXF is written here; the PDF by the saver handed in (the program's Qt part), and
// refused where there is none.
int sectionSheetsCommand(const LoadedRoute& loading, const CrossSection* section,
                         const std::string& routeName, const std::vector<std::string>& args,
                         const SectionSheetSaver& pdfSaver, std::ostream& err) {
    constexpr char kMode[] = "--section-sheets";
    if (args.size() < 3 || args[2].compare(0, 2, "--") == 0 ||
        !(hasExtension(args[2], ".pdf") || hasExtension(args[2], ".dxf"))) {
        err << "hcurve: --section-sheets 后面要有以 .pdf 或 .dxf 结尾的文件名。\n" << kUsage;
        return 1;
    }
    const std::string& path = args[2];
    const bool pdf = hasExtension(path, ".pdf");
    // The options after the file name.
    const std::optional<SectionOptions> options = sectionOptions(
        args,
        {3,
         {"--interval", "--from", "--to"},
         true,
         "hcurve: --section-sheets 只用 --sheet-scale、--interval、--from、--to 和 --reach，不用 "},
        err);
    if (!options)
        return 1;
    // Refused before anything is computed: a PDF where the program cannot draw one.
    if (pdf && !pdfSaver) {
        err << "hcurve: 这个版本的 hcurve 不含绘图部分，写不出 PDF 横断面图；"
               "请改用 .dxf 文件。\n";
        return 1;
    }
    const std::optional<std::vector<GroundSection>> sections =
        earthworkSections(loading, section, options->stakeOptions, options->reach_m, kMode, err);
    if (!sections)
        return 1;
    const Result<std::vector<SheetSection>> drawn =
        sheetSections(loading.route, *section, *sections);
    if (!drawn) {
        saySectionFaults(loading, drawn.failures(), err);
        return 1;
    }
    const Result<SectionSheets> sheets =
        layOutSectionSheets(*drawn, routeName, options->sheetScale.value_or(kDefaultSheetScale));
    if (!sheets) {
        sayFailure(err, sheets.failure());
        return 1;
    }
    const Result<void> written =
        pdf ? pdfSaver(*sheets, path) : writeFileReplacing(path, sectionSheetsDxf(*sheets));
    if (!written) {
        sayFailure(err, written.failure());
        return 1;
    }
    return 0;
}

int locateCommand(const Route& route, const CrossSection* section,
                  const std::string& withoutProfile, const std::vector<std::string>& args,
                  std::ostream& out, std::ostream& err) {
    const bool withH = args.size() == 5;
    std::optional<double> x = args.size() == 4 || withH ? readNumber(args[2]) : std::nullopt;
    std::optional<double> y = args.size() == 4 || withH ? readNumber(args[3]) : std::nullopt;
    if (!x || !y) {
        err << "hcurve: --locate 后面要有两个数值：X（北）和 Y（东），可再加实测高程 H。\n";
        return 1;
    }
    for (auto [v, name, text] : {std::tuple{*x, "X", &args[2]}, std::tuple{*y, "Y", &args[3]}}) {
        if (std::fabs(v) > kMaxCoordinate_m) {
            say(err, std::string("hcurve: ") + name + " 超出范围（绝对值不能超过 " +
                         generalText(kMaxCoordinate_m) + "）：“" + *text + "” 不对。");
            return 1;
        }
    }
    std::optional<double> H;
    if (withH) {
        H = readNumber(args[4]);
        if (!H || std::fabs(*H) > kMaxCoordinate_m) {
            say(err, "hcurve: 实测高程“" + args[4] + "”不是数值。");
            return 1;
        }
        if (!route.gradeLine) {
            if (!withoutProfile.empty())
                say(err, "hcurve: " + withoutProfile + "，无法与实测高程比较。");
            else
                err << "hcurve: 文件里没有纵断面表，无法与实测高程比较。\n";
            return 1;
        }
    }
    std::optional<RouteFoot> foot = locate(route, *x, *y);
    if (!foot) {
        err << "hcurve: 这个点在路线上找不到垂足。\n";
        return 1;
    }
    if (route.gradeLine && !locatedHeights(route, *foot, H).centre_m)
        say(err,
            "hcurve: 垂足 " + stakeText(route, foot->continuous_m) + " 在纵断面以外，没有高程。");
    put(out, section ? locateOnSectionCsv(route, *section, *foot, H) : locateCsv(route, *foot, H));
    if (foot->ambiguous)
        err << "hcurve: 注意：路线上有几处离该点几乎一样近，这个桩号不是唯一的答案。\n";
    if (foot->far()) {
        say(err,
            "hcurve: 注意：该点离路线超过 " + generalText(foot->plausibleOffset_m) +
                " 米（附近曲线的半径 R 与 1000 米中较小者），不像是这条路线上的点，请核对座标。");
    }
    return 0;
}

int route(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
          const RouteRunSupport& support) {
    // The files, then the mode and its values.
    std::size_t m = 0;
    while (m < args.size() && args[m].compare(0, 2, "--") != 0)
        ++m;
    if (m == 0 || m == args.size()) {
        err << kUsage;
        return 1;
    }
    const std::vector<std::string> paths(args.begin(), args.begin() + m);
    // What the modes read: the first file's place, the mode, its values; --alignment NAME taken
    // out wherever it stands.
    std::vector<std::string> rest{args[0]};
    std::optional<std::string> alignment;
    for (std::size_t i = m; i < args.size(); ++i) {
        if (args[i] == "--alignment") {
            if (i + 1 >= args.size()) {
                err << "hcurve: --alignment 后面缺少线路的名称。\n" << kUsage;
                return 1;
            }
            alignment = args[++i];
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.size() < 2) {
        err << kUsage;
        return 1;
    }
    const std::string& mode = rest[1];
    if (!isMode(mode)) {
        err << "hcurve: 要给出 --elements、--segments、--vertical、--stakes、--dxf、--locate、"
               "--landxml、--alignments、--sections、--slope-stake 或 --slope-stakes。\n"
            << kUsage;
        return 1;
    }
    // One mode a run: a second one is named, not taken for a value or an unknown option.
    for (std::size_t i = 2; i < rest.size(); ++i) {
        if (!isMode(rest[i]) || (mode == "--sections" && rest[i] == kEarthwork))
            continue;
        if (rest[i] == mode)
            say(err, "hcurve: " + mode + " 只能给出一次。");
        else
            say(err, "hcurve: " + mode + " 与 " + rest[i] + " 不能同时使用。");
        return 1;
    }
    // An output never takes the place of an input: refused before anything is read or computed.
    for (const std::string& target : outputTargets(rest)) {
        if (const Result<void> refusal = inputAsTarget(target, paths); !refusal) {
            sayFailure(err, refusal.failure());
            return 1;
        }
    }
    if (mode == "--alignments") {
        if (rest.size() != 2 || paths.size() != 1 || alignment) {
            err << "hcurve: --alignments 只列一个 LandXML 文件的线路，后面不跟别的。\n";
            return 1;
        }
        const Result<std::vector<LandXmlAlignment>> listing = listLandXmlAlignments(paths[0]);
        sayAll(err, listing);
        if (!listing)
            return 1;
        put(out, alignmentListCsv(*listing));
        return 0;
    }
    std::optional<Result<LoadedRoute>> kept;
    const Result<LoadedRoute>& loaded =
        loadRoute(paths, alignment ? &*alignment : nullptr, support, kept, err);
    if (!loaded)
        return 1;
    const LoadedRoute& loading = *loaded;
    const Route& route = loading.route;
    if (alignment && loading.name.empty()) {
        err << "hcurve: --alignment 只用于 LandXML 文件。\n";
        return 1;
    }
    if (mode == "--landxml") {
        if (rest.size() != 3) {
            err << "hcurve: --landxml 后面要有一个文件名。\n" << kUsage;
            return 1;
        }
        const std::string text = landXmlText(route, alignmentName(loading, paths[0]), stampNow());
        if (rest[2] == kStandardOutput) {
            put(out, text);
            return 0;
        }
        if (const Result<void> written = writeFileReplacing(rest[2], text); !written) {
            sayFailure(err, written.failure());
            return 1;
        }
        return 0;
    }
    if (mode == "--elements" || mode == "--segments" || mode == "--vertical") {
        if (rest.size() != 2) {
            err << kUsage;
            return 1;
        }
        if (mode == "--elements" && route.points.empty()) {
            err << "hcurve: 这条路线由线元表给出，没有交点，也就没有曲线要素表；线元的表用 "
                   "--segments 列出。\n";
            return 1;
        }
        if (mode == "--segments") {
            put(out, segmentTableCsv(route));
            return 0;
        }
        if (mode == "--vertical" && !route.gradeLine) {
            if (!loading.withoutProfile.empty())
                say(err, "hcurve: " + loading.withoutProfile + "，列不出竖曲线表。");
            else
                err << "hcurve: 文件里没有纵断面表（表头 变坡点桩号,高程,竖曲线半径）。\n";
            return 1;
        }
        put(out, mode == "--elements" ? elementTableCsv(route) : verticalTableCsv(route));
        return 0;
    }
    const CrossSection* section = loading.crossSection ? &*loading.crossSection : nullptr;
    if (mode == "--stakes")
        return stakes(loading, section, rest, out, err);
    if (mode == "--sections")
        return sectionsCommand(route, section, rest, out, err);
    if (mode == "--slope-stake")
        return slopeStakeCommand(route, section, loading.withoutProfile, rest, out, err);
    if (mode == "--slope-stakes")
        return slopeStakesCommand(route, section, loading.withoutProfile, rest, out, err);
    if (mode == kEarthwork)
        return earthworkCommand(loading, section, rest, out, err);
    if (mode == "--section-sheets")
        return sectionSheetsCommand(loading, section, alignmentName(loading, paths[0]), rest,
                                    support.saveSectionSheets, err);
    if (mode == "--dxf")
        return dxfCommand(route, section, rest, support, err);
    if (mode == "--ground")
        return groundCommand(loading, rest, out, err);
    return locateCommand(route, section, loading.withoutProfile, rest, out, err);
}

}  // namespace

int runRouteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const SectionSheetSaver& pdfSaver) {
    RouteRunSupport support;
    support.saveSectionSheets = pdfSaver;
    return runRouteCommand(args, out, err, support);
}

int runRouteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const RouteRunSupport& support) {
    try {
        return route(args, out, err, support);
    } catch (const OutputFailed&) {
        say(err, "hcurve: 无法写入标准输出：" + outputFailure(out) + "。");
        return kRouteOutputUnwritable;
    } catch (const std::bad_alloc&) {
        say(err, "hcurve: 内部错误：内存不足。");
    } catch (const std::exception& error) {
        say(err, std::string("hcurve: 内部错误：") + error.what() + "。");
    }
    return kRouteInternalError;
}

int runStandardRouteCommand(const std::vector<std::string>& args,
                            const SectionSheetSaver& pdfSaver) {
    const int closed = platform::guardStandardDescriptors();
    platform::OutputDescriptorBuffer output(1);
    if (closed & 2)
        output.fail(EBADF);
    std::ostream out(&output);
    return runRouteCommand(args, out, std::cerr, pdfSaver);
}

}  // namespace hcurve
