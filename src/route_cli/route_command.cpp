#include "route_cli/route_command.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

#include "curve/dms.h"
#include "curve/format.h"
#include "curve/number.h"
#include "route/route.h"
#include "route/route_file.h"
#include "route/route_tables.h"
#include "route_cli/text_decoding.h"
#include "stakes/stake_export.h"

namespace hcurve {

namespace fs = std::filesystem;

RouteLoading loadRouteFile(const std::string& path) {
    RouteLoading loading;
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in) {
        loading.messages.push_back("hcurve: 无法打开文件“" + path + "”。");
        return loading;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        loading.messages.push_back("hcurve: 读文件“" + path + "”出错。");
        return loading;
    }
    std::optional<std::string> text = routeTextAsUtf8(bytes);
    if (!text) {
        loading.messages.push_back("hcurve: 文件“" + path +
                                   "”既不是 UTF-8 也不是 GBK 编码的文本。");
        return loading;
    }
    RouteFileReading reading = readRouteFile(*text);
    std::vector<RouteFault> faults = reading.faults;
    if (reading.design) {
        RouteBuilding building = buildRoute(*reading.design);
        faults = building.faults;
        loading.route = std::move(building.route);
    }
    for (const RouteFault& f : faults)
        loading.messages.push_back(path + ": " + faultText(f));
    return loading;
}

namespace {

constexpr char kUsage[] =
    "用法：hcurve route 文件 --elements\n"
    "      hcurve route 文件 --stakes --interval 桩距 [--from 里程] [--to 里程] "
    "[--left d1,d2,...] [--right d1,d2,...] [--skew 角度] [--out 文件.csv|文件.dat]\n"
    "      hcurve route 文件 --locate X Y\n";

// The route of a file, or the messages that say why there is none.
std::optional<Route> loadRoute(const std::string& path, std::ostream& err) {
    RouteLoading loading = loadRouteFile(path);
    for (const std::string& m : loading.messages)
        err << m << "\n";
    return std::move(loading.route);
}

}  // namespace

std::optional<double> stakeInterval(const std::string& text) {
    std::optional<double> v = readNumber(text);
    if (!v || *v <= 0)
        return std::nullopt;
    return v;
}

std::optional<double> skewDegrees(const std::string& text) {
    std::optional<double> v = readNumber(text);
    if (!v || !isValidDms(*v))
        return std::nullopt;
    // At a right angle the transverse axis runs along the centre line: a side point would stand
    // on the road ahead, not beside it.
    const double degrees = dmsToDegrees(*v);
    if (!(std::fabs(degrees) < 90))
        return std::nullopt;
    return degrees;
}

std::optional<std::vector<double>> distanceList(const std::string& text) {
    std::vector<double> out;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        std::optional<double> v = readNumber(part);
        if (!v)
            return std::nullopt;
        out.push_back(*v);
    }
    if (out.empty())
        return std::nullopt;
    return out;
}

std::optional<double> stretchEnd(const Route& route, const std::string& text, bool first,
                                 std::string& fault) {
    if (!text.empty() && (text[0] == 'K' || text[0] == 'k')) {
        std::optional<double> broken = readChainage(text);
        if (!broken) {
            fault = "桩号“" + text + "”不对（应如 K12+500 或 K12+500.000）。";
            return std::nullopt;
        }
        std::vector<double> at = continuousChainages(route, *broken);
        if (at.empty()) {
            fault = "路线上没有桩号 " + text + "（它不在 BP 至 EP 之间，或落在断链的空缺里）。";
            return std::nullopt;
        }
        return first ? at.front() : at.back();
    }
    std::optional<double> v = readNumber(text);
    if (!v)
        fault = "里程“" + text + "”不是数值。";
    return v;
}

std::vector<ExportPoint> routeExportPoints(const StakeTable& table, const StakeRequest& request) {
    std::vector<ExportPoint> points;
    const std::size_t nl = request.left_m.size(), n = table.sidesPerStake;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const StakeRow& r = table.rows[i];
        points.push_back({r.text, r.text, r.x_m, r.y_m, "中", "", ""});
        for (std::size_t j = 0; j < n; ++j) {
            const bool left = j < nl;
            const std::size_t number = left ? j + 1 : j - nl + 1;
            const double d = left ? request.left_m[j] : request.right_m[j - nl];
            points.push_back({r.text + (left ? "-L" : "-R") + std::to_string(number), r.text,
                              table.sideX_m[i * n + j], table.sideY_m[i * n + j],
                              left ? "左" : "右", "单排", generalText(d)});
        }
    }
    return points;
}

namespace {

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int stakes(const Route& route, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
    StakeRequest request;
    std::optional<std::string> outPath;
    bool haveInterval = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            err << "hcurve: " << option << " 后面缺少值。\n" << kUsage;
            return 1;
        }
        const std::string& value = args[++i];
        std::string fault;
        if (option == "--interval") {
            std::optional<double> v = stakeInterval(value);
            if (!v) {
                err << "hcurve: 桩距“" << value << "”必须是大于零的数值。\n";
                return 1;
            }
            request.interval_m = *v;
            haveInterval = true;
        } else if (option == "--from" || option == "--to") {
            std::optional<double> v = stretchEnd(route, value, option == "--from", fault);
            if (!v) {
                err << "hcurve: " << fault << "\n";
                return 1;
            }
            (option == "--from" ? request.from_m : request.to_m) = *v;
        } else if (option == "--left" || option == "--right") {
            std::optional<std::vector<double>> d = distanceList(value);
            if (!d) {
                err << "hcurve: " << option << " 要用逗号分开的距离（如 5,7.5），“" << value
                    << "”不对。\n";
                return 1;
            }
            (option == "--left" ? request.left_m : request.right_m) = *d;
        } else if (option == "--skew") {
            std::optional<double> v = skewDegrees(value);
            if (!v) {
                err << "hcurve: 斜交角“" << value << "”要按 度.分秒 输入，并小于 90 度。\n";
                return 1;
            }
            request.skew_deg = *v;
        } else if (option == "--out") {
            if (!endsWith(value, ".csv") && !endsWith(value, ".dat")) {
                err << "hcurve: --out 的文件名要以 .csv 或 .dat 结尾。\n";
                return 1;
            }
            outPath = value;
        } else {
            err << "hcurve: 不认识的选项 " << option << "。\n" << kUsage;
            return 1;
        }
    }
    if (!haveInterval) {
        err << "hcurve: --stakes 需要 --interval 桩距。\n" << kUsage;
        return 1;
    }
    StakeTable table = stakeTable(route, request);
    if (table.fault) {
        err << "hcurve: " << *table.fault << "\n";
        return 1;
    }
    if (outPath) {
        const std::vector<ExportPoint> points = routeExportPoints(table, request);
        const std::string bytes =
            endsWith(*outPath, ".csv") ? stakeTableCsv(points) : pointFileDat(points);
        if (std::optional<std::string> wrong = writeFileReplacing(*outPath, bytes)) {
            err << "hcurve: " << *wrong << "\n";
            return 1;
        }
        return 0;
    }
    out << stakeTableCsv(table, request);
    return 0;
}

}  // namespace

int runRouteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2) {
        err << kUsage;
        return 1;
    }
    const std::string& mode = args[1];
    if (mode != "--elements" && mode != "--stakes" && mode != "--locate") {
        err << "hcurve: 要给出 --elements、--stakes 或 --locate。\n" << kUsage;
        return 1;
    }
    std::optional<Route> route = loadRoute(args[0], err);
    if (!route)
        return 1;
    if (mode == "--elements") {
        if (args.size() != 2) {
            err << kUsage;
            return 1;
        }
        out << elementTableCsv(*route);
        return 0;
    }
    if (mode == "--stakes")
        return stakes(*route, args, out, err);

    std::optional<double> x = args.size() == 4 ? readNumber(args[2]) : std::nullopt;
    std::optional<double> y = args.size() == 4 ? readNumber(args[3]) : std::nullopt;
    if (!x || !y) {
        err << "hcurve: --locate 后面要有两个数值：X（北）和 Y（东）。\n";
        return 1;
    }
    std::optional<RouteFoot> foot = locate(*route, *x, *y);
    if (!foot) {
        err << "hcurve: 这个点在路线上找不到垂足。\n";
        return 1;
    }
    out << locateCsv(*route, *foot);
    return 0;
}

}  // namespace hcurve
