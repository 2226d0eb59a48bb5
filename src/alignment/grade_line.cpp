#include "alignment/grade_line.h"

#include <algorithm>
#include <cmath>

#include "alignment/route.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "geometry/design_check.h"

namespace hcurve {
namespace {

// Two chainages nearer than this are one place; curves may touch.
constexpr double kTouch_m = 1e-6;

std::string metres(double v) {
    return format(v, Pattern::Fixed3);
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

namespace {

// Where a table chainage lies on the route; inGap tells a K-text that falls into the gap of a
// short chain.
// inGap: set when the failure is that of a chainage in the gap of a short chain.
Result<double> placeOnRoute(const Route& route, const TableChainage& at, bool allowTwice,
                            bool& inGap) {
    inGap = false;
    if (!at.broken)
        return at.value_m;
    const std::vector<double> places = continuousChainages(route, at.value_m);
    const std::string text = chainageText(at.value_m, kPlainForm);
    if (places.size() > 1 && !allowTwice) {
        return Failure{"桩号 " + text + " 在路线上出现两次（断链），这里要写它的里程（" +
                       format(places.front(), Pattern::Fixed3) + " 或 " +
                       format(places.back(), Pattern::Fixed3) + "）。"};
    }
    if (!places.empty())
        return places.front();
    // Before BP no break applies yet; beyond EP all of them do.
    const double endBroken = brokenChainage(route, route.end_m);
    if (at.value_m < brokenChainage(route, route.start_m))
        return at.value_m;
    if (at.value_m > endBroken)
        return at.value_m - (endBroken - route.end_m);
    inGap = true;
    return Failure{"路线上没有桩号 " + text + "：它落在断链的空缺里。"};
}

// Neighbouring vertical curves that overlap by less than this are rounding; they are made to
// meet.
constexpr double kRoundingOverlap_m = 0.01;
// The grade line's ends this near the route's ends reach them.
constexpr double kReachSlack_m = 1e-3;
// A circle's stated length may differ from the one its radius and grades give by this much.
constexpr double kStatedLengthSlack_m = 1e-3;

std::string millimetres(double m) {
    return format(m * 1000, Pattern::Fixed3);
}

// A vertical curve made shorter by h on one side (before its point, or after it): a parabola
// stays symmetric (its radius follows), a circle keeps its centre's side and shrinks its radius,
// an unsymmetric parabola loses h on that side alone.
void shorten(GradePoint& q, bool before, double h) {
    switch (q.kind) {
        case VerticalCurveKind::Parabola:
            q.T_m -= h;
            q.L_m = 2 * q.T_m;
            q.R_m = q.L_m / std::fabs(q.omega);
            q.E_m = q.T_m * q.T_m / (2 * q.R_m);
            q.Tin_m = q.Tout_m = q.T_m;
            break;
        case VerticalCurveKind::UnsymmetricParabola:
            (before ? q.Tin_m : q.Tout_m) -= h;
            q.L_m = q.Tin_m + q.Tout_m;
            q.T_m = q.L_m / 2;
            q.E_m = q.Tin_m * q.Tout_m * std::fabs(q.omega) / (2 * q.L_m);
            break;
        case VerticalCurveKind::Circle: {
            const double side = before ? q.Tin_m : q.Tout_m;
            const double f = (side - h) / side;
            q.R_m *= f;
            q.Tin_m *= f;
            q.Tout_m *= f;
            q.L_m = q.Tin_m + q.Tout_m;
            q.T_m = q.L_m / 2;
            break;
        }
    }
}

}  // namespace

Result<double> placedChainage(const Route& route, const TableChainage& at, bool allowTwice) {
    bool inGap = false;
    return placeOnRoute(route, at, allowTwice, inGap);
}

namespace {

// Where the faults and warnings of a grade table go, each naming the table's file.
struct GradeNotes {
    const GradeTable& table;
    std::vector<Failure>& faults;
    std::vector<Failure>& warnings;

    void fault(int line, std::string message) {
        faults.push_back({std::move(message), line, table.file});
    }
    void warn(int line, std::string message, std::string kind, std::string detail,
              std::string done) {
        warnings.push_back({std::move(message), line, table.file, std::move(kind),
                            std::move(detail), std::move(done)});
    }
};

// The continuous chainage of each row, placed on the route through its chain breaks (or read as
// continuous where the exporter wrote internal stations); nothing, with the fault, where a row
// cannot be placed.
std::optional<std::vector<double>> placeGradeRows(const Route& route, GradeNotes& notes) {
    const GradeTable& table = notes.table;
    const std::vector<GradeRow>& rows = table.rows;
    std::vector<double> at(rows.size());
    std::optional<std::size_t> unplaced;
    std::string wrong;
    bool inGap = false;
    for (std::size_t k = 0; k < rows.size() && !unplaced; ++k) {
        const Result<double> a = placeOnRoute(route, rows[k].at, false, inGap);
        if (a) {
            at[k] = *a;
        } else {
            unplaced = k;
            wrong = a.failure().message;
        }
    }
    if (unplaced && inGap && table.internalStationsInGap) {
        // An exporter that writes internal stations: read so, every station lies on the route.
        const bool fits = std::all_of(rows.begin(), rows.end(), [&](const GradeRow& r) {
            return r.at.value_m >= route.start_m - kReachSlack_m &&
                   r.at.value_m <= route.end_m + kReachSlack_m;
        });
        if (fits) {
            const GradeRow& r = rows[*unplaced];
            notes.warn(r.line,
                       "变坡点桩号 " + r.at.text +
                           " 按断链换算落在断链的空缺里；纵断面的桩号都按连续里程" +
                           "（staInternal）读了。",
                       "", "", "");
            for (std::size_t k = 0; k < rows.size(); ++k)
                at[k] = rows[k].at.value_m;
            unplaced.reset();
        }
    }
    if (unplaced) {
        notes.fault(rows[*unplaced].line, wrong);
        return std::nullopt;
    }
    // A file's rounding: the ends a millimetre short of the route's ends reach them.
    if (at.front() > route.start_m && at.front() - route.start_m <= kReachSlack_m)
        at.front() = route.start_m;
    if (at.back() < route.end_m && route.end_m - at.back() <= kReachSlack_m)
        at.back() = route.end_m;
    return at;
}

// The grade points of the rows at their chainages, in order, the curves' lengths as the rows give
// them; nothing, with the fault, at a row beyond the bound, out of order, or an end with a curve.
std::optional<GradeLine> gradePoints(const std::vector<double>& at, GradeNotes& notes) {
    const std::vector<GradeRow>& rows = notes.table.rows;
    GradeLine line;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const GradeRow& r = rows[k];
        if (std::fabs(at[k]) > kMaxDesignLength_m) {
            notes.fault(r.line, "变坡点桩号 " + r.at.text + " 按断链换算是里程 " + metres(at[k]) +
                                    "，超出了 ±1000000000 米。");
            return std::nullopt;
        }
        if (!line.points.empty() && at[k] <= line.points.back().at_m + kTouch_m) {
            notes.fault(r.line,
                        "变坡点桩号 " + r.at.text + " 不在上一行之后：纵断面表要按里程顺序排列。");
            return std::nullopt;
        }
        if ((k == 0 || k + 1 == rows.size()) &&
            (r.R_m != 0 || r.L_m != 0 || r.Lin_m != 0 || r.Lout_m != 0)) {
            notes.fault(r.line, "纵断面的起点和终点不设竖曲线：这一行的竖曲线半径要留空或填 0。");
            return std::nullopt;
        }
        GradePoint p;
        p.line = r.line;
        p.at_m = at[k];
        p.H_m = r.H_m;
        p.R_m = r.R_m;
        p.kind = r.kind;
        // Kept here until the grades are known.
        p.L_m = r.L_m;
        p.Tin_m = r.Lin_m;
        p.Tout_m = r.Lout_m;
        line.points.push_back(p);
    }
    return line;
}

// The grades between the points and each vertical curve's elements from them; warnings where a
// circle's stated sign or length disagrees with the grades.
void shapeVerticalCurves(GradeLine& line, GradeNotes& notes) {
    const std::vector<GradeRow>& rows = notes.table.rows;
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
                const GradeRow& r = rows[k];
                const std::string name = pointName(k, n);
                if (r.negativeRadius && q.omega > 0)
                    notes.warn(
                        q.line,
                        name + " 的 CircCurve 半径写成负数（凸形竖曲线），而前后的坡度给出凹形" +
                            "竖曲线；按坡度计算。",
                        "CircCurve 的半径符号与坡度不符", name, "按坡度计算");
                // Its length along the chainage, along the arc, or R |ω| as for a parabola:
                // exporters differ.
                if (r.statedLength_m && q.omega != 0) {
                    const double L = *r.statedLength_m;
                    const double off =
                        std::min({std::fabs(L - q.L_m), std::fabs(L - q.R_m * std::fabs(a2 - a1)),
                                  std::fabs(L - q.R_m * std::fabs(q.omega))});
                    const std::string apart = metres(std::fabs(L - q.L_m));
                    if (off > kStatedLengthSlack_m)
                        notes.warn(q.line,
                                   name + " 的 CircCurve length " + metres(L) +
                                       " 与半径和前后坡度给出的竖曲线长 " + metres(q.L_m) +
                                       " 相差 " + apart + " 米；按半径计算。",
                                   "CircCurve 的 length 与半径和坡度不符",
                                   name + "，相差 " + apart + " 米", "按半径计算");
                }
                break;
            }
        }
    }
}

// Faults where a vertical curve reaches beyond the grade line's ends or into its neighbour; an
// overlap of an exporter's rounding is made to meet, with a warning.
void fitVerticalCurves(GradeLine& line, GradeNotes& notes) {
    std::vector<GradePoint>& p = line.points;
    const std::size_t n = p.size();
    for (std::size_t k = 1; k + 1 < n; ++k) {
        GradePoint &q = p[k], &prev = p[k - 1];
        const double room = q.at_m - prev.at_m;
        const double overlap = q.Tin_m + prev.Tout_m - room;
        if (overlap <= kTouch_m)
            continue;
        const std::string name = pointName(k, n);
        if (k == 1) {
            notes.fault(q.line, name + " 的竖曲线起点超出了纵断面的起点：T = " + metres(q.Tin_m) +
                                    " 米，而起点至 " + name + " 只有 " + metres(room) + " 米。");
        } else if (overlap < kRoundingOverlap_m && overlap / 2 < prev.Tout_m &&
                   overlap / 2 < q.Tin_m) {
            // An exporter's rounding: the two curves are made to meet.
            shorten(prev, false, overlap / 2);
            shorten(q, true, overlap / 2);
            const std::string both = pointName(k - 1, n) + " 与 " + name;
            notes.warn(q.line,
                       both + " 的竖曲线重叠 " + millimetres(overlap) +
                           " 毫米，按相接计算：两条竖曲线在相接的一侧各缩短 " +
                           millimetres(overlap / 2) + " 毫米。",
                       "相邻竖曲线重叠不到 10 毫米",
                       both + "，重叠 " + millimetres(overlap) + " 毫米",
                       "按相接计算，各缩短重叠的一半");
        } else {
            notes.fault(q.line, pointName(k - 1, n) + " 与 " + name + " 的竖曲线重叠 " +
                                    metres(overlap) + " 米（T = " + metres(prev.Tout_m) + "，T = " +
                                    metres(q.Tin_m) + "，变坡点间距 " + metres(room) + "）。");
        }
    }
    const GradePoint &last = p[n - 2], &end = p[n - 1];
    if (n > 2 && last.Tout_m > end.at_m - last.at_m + kTouch_m) {
        notes.fault(end.line, pointName(n - 2, n) + " 的竖曲线终点超出了纵断面的终点：T = " +
                                  metres(last.Tout_m) + " 米，而 " + pointName(n - 2, n) +
                                  " 至终点只有 " + metres(end.at_m - last.at_m) + " 米。");
    }
}

}  // namespace

std::optional<GradeLine> buildGradeLine(const GradeTable& table, const Route& route,
                                        std::vector<Failure>& faults,
                                        std::vector<Failure>& warnings) {
    const std::size_t before = faults.size();
    GradeNotes notes{table, faults, warnings};
    const std::vector<GradeRow>& rows = table.rows;
    if (rows.size() < 2) {
        notes.fault(rows.empty() ? table.headerLine : rows.back().line,
                    "纵断面表至少要有两行（起点和终点），现在只有 " + std::to_string(rows.size()) +
                        " 行。");
        return std::nullopt;
    }
    const std::optional<std::vector<double>> at = placeGradeRows(route, notes);
    if (!at)
        return std::nullopt;
    std::optional<GradeLine> line = gradePoints(*at, notes);
    if (!line)
        return std::nullopt;
    shapeVerticalCurves(*line, notes);
    fitVerticalCurves(*line, notes);
    if (faults.size() != before)
        return std::nullopt;
    std::vector<GradePoint>& p = line->points;
    for (std::size_t k = 1; k + 1 < p.size(); ++k)
        if (p[k].kind == VerticalCurveKind::Circle && p[k].T_m > 0)
            p[k].E_m = std::fabs(p[k].H_m - *designElevation_m(*line, p[k].at_m));
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
