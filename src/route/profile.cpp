#include "route/profile.h"

#include <algorithm>
#include <cmath>

#include "curve/chainage.h"
#include "curve/format.h"
#include "curve/number.h"
#include "geometry/design_check.h"
#include "route/csv_tables.h"
#include "route/route.h"
#include "route/route_file.h"

namespace hcurve {
namespace {

constexpr char kAtColumn[] = "变坡点桩号";
constexpr char kAtContinuousColumn[] = "变坡点里程";
constexpr char kHColumn[] = "高程";
constexpr char kRColumn[] = "竖曲线半径";
// Two chainages nearer than this are one place; curves may touch.
constexpr double kTouch_m = 1e-6;

std::string metres(double v) {
    return format(v, Pattern::Fixed3);
}

std::string quoted(const std::string& text) {
    return "“" + text + "”";
}

// The grade point whose name the table and the messages show: 起点, 变坡点1..n, 终点.
std::string pointName(std::size_t k, std::size_t count) {
    if (k == 0)
        return "起点";
    if (k + 1 == count)
        return "终点";
    return "变坡点" + std::to_string(k);
}

// The index of the grade that holds a chainage (between point k and k + 1).
std::size_t gradeHolding(const GradeLine& line, double s_m) {
    const auto& p = line.points;
    auto it = std::upper_bound(p.begin(), p.end(), s_m,
                               [](double s, const GradePoint& q) { return s < q.at_m; });
    const std::size_t k = it == p.begin() ? 0 : static_cast<std::size_t>(it - p.begin()) - 1;
    return std::min(k, p.size() - 2);
}

bool inside(const GradeLine& line, double s_m) {
    return s_m >= line.start_m() - kTouch_m && s_m <= line.end_m() + kTouch_m;
}

// The vertical curve (its point's index) that holds a chainage on grade k, if one does.
std::optional<std::size_t> curveHolding(const GradeLine& line, std::size_t k, double s_m) {
    for (std::size_t j : {k, k + 1}) {
        const GradePoint& p = line.points[j];
        if (p.L_m > 0 && s_m > p.curveStart_m() && s_m < p.curveEnd_m())
            return j;
    }
    return std::nullopt;
}

// The centre of a circular vertical curve: a radius from its first tangent point, square to the
// grade, above a sag (side 1) and below a crest (side -1).
struct CircleCentre {
    double s_m, H_m, side;
};

CircleCentre circleCentre(const GradePoint& c) {
    const double a1 = std::atan(c.gradeIn);
    const double side = c.omega > 0 ? 1 : -1;
    const double s = c.curveStart_m(), H = c.H_m - c.Tin_m * c.gradeIn;
    return {s - side * c.R_m * std::sin(a1), H + side * c.R_m * std::cos(a1), side};
}

}  // namespace

bool isGradeTitle(std::string_view title) {
    for (const char* t : {kAtColumn, kAtContinuousColumn, kHColumn, kRColumn})
        if (title == t)
            return true;
    return false;
}

bool isGradeHeader(const std::vector<std::string>& header) {
    return columnOf(header, kAtColumn) || columnOf(header, kAtContinuousColumn);
}

GradeTable readGradeTable(const CsvTable& table, std::size_t file,
                          std::vector<RouteFault>& faults) {
    GradeTable grade;
    grade.file = file;
    grade.headerLine = table.headerLine;
    const auto fault = [&](int line, std::string message) {
        faults.push_back({line, std::move(message), file});
    };
    const std::optional<std::size_t> broken = columnOf(table.header, kAtColumn);
    const std::optional<std::size_t> continuous = columnOf(table.header, kAtContinuousColumn);
    const std::optional<std::size_t> H = columnOf(table.header, kHColumn);
    const std::optional<std::size_t> R = columnOf(table.header, kRColumn);
    if (broken && continuous) {
        fault(table.headerLine, "纵断面表不能同时有 变坡点桩号 和 变坡点里程 列。");
        return grade;
    }
    if (!H) {
        fault(table.headerLine, "纵断面表的表头缺少 高程 列。");
        return grade;
    }
    const char* atTitle = broken ? kAtColumn : kAtContinuousColumn;
    for (const CsvRow& row : table.rows) {
        GradeRow g;
        g.line = row.line;
        g.at.text = field(row.fields, broken ? broken : continuous);
        const std::optional<double> at = readChainage(g.at.text);
        if (!at) {
            fault(row.line, std::string(atTitle) + " 必须是米数或 K 桩号（如 12000 或 K12+000），" +
                                quoted(g.at.text) + " 不对。");
        } else {
            g.at.value_m = *at;
            g.at.broken = broken && (g.at.text[0] == 'K' || g.at.text[0] == 'k');
        }
        const std::string h = field(row.fields, H);
        const std::optional<double> hv = readNumber(h);
        if (!hv || std::fabs(*hv) > kMaxDesignLength_m)
            fault(row.line, "高程 必须是数值，" + quoted(h) + " 不是有效的数值。");
        else
            g.H_m = *hv;
        const std::string r = field(row.fields, R);
        if (!r.empty()) {
            const std::optional<double> rv = readNumber(r);
            if (!rv || std::fabs(*rv) > kMaxDesignLength_m)
                fault(row.line, "竖曲线半径 必须是数值，" + quoted(r) + " 不是有效的数值。");
            else if (*rv < 0)
                fault(row.line, "竖曲线半径不能为负数（不设竖曲线填 0 或留空）。");
            else
                g.R_m = *rv;
        }
        grade.rows.push_back(g);
    }
    return grade;
}

std::optional<double> placedChainage(const Route& route, const TableChainage& at, bool allowTwice,
                                     std::string& fault) {
    if (!at.broken)
        return at.value_m;
    const std::vector<double> places = continuousChainages(route, at.value_m);
    const std::string text = chainageText(at.value_m, kPlainForm);
    if (places.size() > 1 && !allowTwice) {
        fault = "桩号 " + text + " 在路线上出现两次（断链），这里要写它的里程（" +
                format(places.front(), Pattern::Fixed3) + " 或 " +
                format(places.back(), Pattern::Fixed3) + "）。";
        return std::nullopt;
    }
    if (!places.empty())
        return places.front();
    // Before BP no break applies yet; beyond EP all of them do.
    const double endBroken = brokenChainage(route, route.end_m);
    if (at.value_m < brokenChainage(route, route.start_m))
        return at.value_m;
    if (at.value_m > endBroken)
        return at.value_m - (endBroken - route.end_m);
    fault = "路线上没有桩号 " + text + "：它落在断链的空缺里。";
    return std::nullopt;
}

std::optional<GradeLine> buildGradeLine(const GradeTable& table, const Route& route,
                                        std::vector<RouteFault>& faults) {
    const std::size_t before = faults.size();
    const auto fault = [&](int line, std::string message) {
        faults.push_back({line, std::move(message), table.file});
    };
    const std::vector<GradeRow>& rows = table.rows;
    if (rows.size() < 2) {
        fault(rows.empty() ? table.headerLine : rows.back().line,
              "纵断面表至少要有两行（起点和终点），现在只有 " + std::to_string(rows.size()) +
                  " 行。");
        return std::nullopt;
    }
    GradeLine line;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const GradeRow& r = rows[k];
        std::string wrong;
        const std::optional<double> at = placedChainage(route, r.at, false, wrong);
        if (!at) {
            fault(r.line, wrong);
            return std::nullopt;
        }
        if (!line.points.empty() && *at <= line.points.back().at_m + kTouch_m) {
            fault(r.line,
                  "变坡点桩号 " + r.at.text + " 不在上一行之后：纵断面表要按里程顺序排列。");
            return std::nullopt;
        }
        if ((k == 0 || k + 1 == rows.size()) &&
            (r.R_m != 0 || r.L_m != 0 || r.Lin_m != 0 || r.Lout_m != 0)) {
            fault(r.line, "纵断面的起点和终点不设竖曲线：这一行的竖曲线半径要留空或填 0。");
            return std::nullopt;
        }
        GradePoint p;
        p.line = r.line;
        p.at_m = *at;
        p.H_m = r.H_m;
        p.R_m = r.R_m;
        p.kind = r.kind;
        // Kept here until the grades are known.
        p.L_m = r.L_m;
        p.Tin_m = r.Lin_m;
        p.Tout_m = r.Lout_m;
        line.points.push_back(p);
    }
    std::vector<GradePoint>& p = line.points;
    const std::size_t n = p.size();
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const double grade = (p[k + 1].H_m - p[k].H_m) / (p[k + 1].at_m - p[k].at_m);
        p[k].gradeOut = grade;
        p[k + 1].gradeIn = grade;
    }
    for (std::size_t k = 1; k + 1 < n; ++k) {
        GradePoint& q = p[k];
        q.omega = q.gradeOut - q.gradeIn;
        switch (q.kind) {
            case VerticalCurveKind::Parabola:
                // Given by its length, its radius follows from the grades.
                if (q.L_m > 0)
                    q.R_m = q.omega != 0 ? q.L_m / std::fabs(q.omega) : 0;
                q.L_m = q.R_m * std::fabs(q.omega);
                q.T_m = q.L_m / 2;
                q.E_m = q.R_m > 0 ? q.T_m * q.T_m / (2 * q.R_m) : 0;
                q.Tin_m = q.Tout_m = q.T_m;
                break;
            case VerticalCurveKind::UnsymmetricParabola:
                if (q.omega == 0 || q.Tin_m <= 0 || q.Tout_m <= 0) {
                    q.Tin_m = q.Tout_m = 0;
                    break;
                }
                q.L_m = q.Tin_m + q.Tout_m;
                q.T_m = q.L_m / 2;
                q.E_m = q.Tin_m * q.Tout_m * std::fabs(q.omega) / (2 * q.L_m);
                break;
            case VerticalCurveKind::Circle: {
                // Tangent to both grades: the tangent length along them, R tan(turn / 2).
                const double a1 = std::atan(q.gradeIn), a2 = std::atan(q.gradeOut);
                const double t = q.R_m * std::tan(std::fabs(a2 - a1) / 2);
                q.Tin_m = t * std::cos(a1);
                q.Tout_m = t * std::cos(a2);
                q.L_m = q.Tin_m + q.Tout_m;
                q.T_m = q.L_m / 2;
                break;
            }
        }
    }
    for (std::size_t k = 1; k + 1 < n; ++k) {
        const GradePoint &q = p[k], &prev = p[k - 1];
        const double room = q.at_m - prev.at_m;
        if (q.Tin_m + prev.Tout_m > room + kTouch_m) {
            const std::string name = pointName(k, n);
            if (k == 1) {
                fault(q.line, name + " 的竖曲线起点超出了纵断面的起点：T = " + metres(q.Tin_m) +
                                  " 米，而起点至 " + name + " 只有 " + metres(room) + " 米。");
            } else {
                fault(q.line, pointName(k - 1, n) + " 与 " + name + " 的竖曲线重叠 " +
                                  metres(q.Tin_m + prev.Tout_m - room) +
                                  " 米（T = " + metres(prev.Tout_m) + "，T = " + metres(q.Tin_m) +
                                  "，变坡点间距 " + metres(room) + "）。");
            }
        }
    }
    const GradePoint &last = p[n - 2], &end = p[n - 1];
    if (n > 2 && last.Tout_m > end.at_m - last.at_m + kTouch_m) {
        fault(end.line, pointName(n - 2, n) + " 的竖曲线终点超出了纵断面的终点：T = " +
                            metres(last.Tout_m) + " 米，而 " + pointName(n - 2, n) +
                            " 至终点只有 " + metres(end.at_m - last.at_m) + " 米。");
    }
    if (faults.size() == before)
        for (std::size_t k = 1; k + 1 < n; ++k)
            if (p[k].kind == VerticalCurveKind::Circle && p[k].T_m > 0)
                p[k].E_m = std::fabs(p[k].H_m - *designElevation_m(line, p[k].at_m));
    if (faults.size() != before)
        return std::nullopt;
    return line;
}

std::optional<double> designElevation_m(const GradeLine& line, double continuous_m) {
    if (!inside(line, continuous_m))
        return std::nullopt;
    const std::size_t k = gradeHolding(line, continuous_m);
    const GradePoint& a = line.points[k];
    // Within grade k the tangent of the nearer curve end is this grade's line.
    double H = a.H_m + a.gradeOut * (continuous_m - a.at_m);
    if (const std::optional<std::size_t> j = curveHolding(line, k, continuous_m)) {
        const GradePoint& c = line.points[*j];
        switch (c.kind) {
            case VerticalCurveKind::Parabola: {
                const double x =
                    std::min(continuous_m - c.curveStart_m(), c.curveEnd_m() - continuous_m);
                const double y = x * x / (2 * c.R_m);
                H += c.omega > 0 ? y : -y;
                break;
            }
            case VerticalCurveKind::UnsymmetricParabola: {
                const double u = continuous_m < c.at_m ? (continuous_m - c.curveStart_m()) / c.Tin_m
                                                       : (c.curveEnd_m() - continuous_m) / c.Tout_m;
                H += (c.omega > 0 ? c.E_m : -c.E_m) * u * u;
                break;
            }
            case VerticalCurveKind::Circle: {
                const CircleCentre o = circleCentre(c);
                const double d = continuous_m - o.s_m;
                H = o.H_m - o.side * std::sqrt(c.R_m * c.R_m - d * d);
                break;
            }
        }
    }
    return H;
}

std::optional<double> designSlope(const GradeLine& line, double continuous_m) {
    if (!inside(line, continuous_m))
        return std::nullopt;
    const std::size_t k = gradeHolding(line, continuous_m);
    if (const std::optional<std::size_t> j = curveHolding(line, k, continuous_m)) {
        const GradePoint& c = line.points[*j];
        switch (c.kind) {
            case VerticalCurveKind::Parabola: {
                const double x = continuous_m - c.curveStart_m();
                return c.gradeIn + (c.omega > 0 ? x : -x) / c.R_m;
            }
            case VerticalCurveKind::UnsymmetricParabola: {
                const double e = c.omega > 0 ? c.E_m : -c.E_m;
                if (continuous_m < c.at_m)
                    return c.gradeIn +
                           2 * e * (continuous_m - c.curveStart_m()) / (c.Tin_m * c.Tin_m);
                return c.gradeOut - 2 * e * (c.curveEnd_m() - continuous_m) / (c.Tout_m * c.Tout_m);
            }
            case VerticalCurveKind::Circle: {
                const CircleCentre o = circleCentre(c);
                const double d = continuous_m - o.s_m;
                return o.side * d / std::sqrt(c.R_m * c.R_m - d * d);
            }
        }
    }
    return line.points[k].gradeOut;
}

}  // namespace hcurve
