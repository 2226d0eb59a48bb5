#include "alignment/cross_section.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "alignment/route.h"
#include "curve/format.h"

namespace hcurve {
namespace {

constexpr double kPercent = 100;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// A spiral shorter than this is none; a stretch's end this near an element's joint is at it.
constexpr double kNoLength_m = 1e-9;
constexpr double kJointTolerance_m = 1e-3;
// The widened component.
constexpr const char* kLaneName = "行车道";

int sideIndex(SectionSide side) {
    return side == SectionSide::Left ? 0 : 1;
}

std::string number(double v) {
    return generalText(v);
}

std::string metres(double v) {
    return format(v, Pattern::Fixed3);
}

struct Notes {
    std::vector<Failure>& faults;
    std::vector<Failure>& warnings;
    void fault(const std::optional<SectionDesign::Table>& table, int line, std::string message) {
        faults.push_back({std::move(message), line, table ? table->file : 0});
    }
    void warn(const std::optional<SectionDesign::Table>& table, int line, std::string message) {
        warnings.push_back({std::move(message), line, table ? table->file : 0});
    }
};

bool sameFrom(const std::optional<TableChainage>& a, const std::optional<TableChainage>& b) {
    if (!a || !b)
        return !a && !b;
    return a->value_m == b->value_m && a->broken == b->broken;
}

void buildTemplates(const SectionDesign& d, const Route& route, CrossSection& section,
                    Notes& notes) {
    const auto& table = d.templateTable;
    std::size_t k = 0;
    while (k < d.components.size()) {
        const TemplateRow& first = d.components[k];
        SectionTemplate t;
        t.line = first.line;
        t.from_m = -kInfinity;
        bool placed = true;
        if (first.from) {
            const Result<double> at = placedChainage(route, *first.from, false);
            if (!at) {
                notes.fault(table, first.line, at.failure().message);
                placed = false;
            } else {
                t.from_m = *at;
            }
        } else if (!section.templates.empty() || k != 0) {
            notes.fault(table, first.line, "只有第一个模板可以不给起点桩号。");
            placed = false;
        }
        bool carriageway = false;
        for (; k < d.components.size() && sameFrom(d.components[k].from, first.from); ++k) {
            const TemplateRow& r = d.components[k];
            if (!(r.width_m > 0))
                notes.fault(
                    table, r.line,
                    r.component + "的宽度 " + number(r.width_m) + " 不大于 0：宽度要大于 0。");
            if (!r.followsCarriageway && !(std::fabs(r.crossFall_pct) <= kMostSectionCrossFall_pct))
                notes.fault(table, r.line,
                            r.component + "的横坡 " + number(r.crossFall_pct) + "% 超出 ±20%。");
            carriageway = carriageway || r.followsCarriageway;
            for (const SectionComponent& c : r.side == SectionSide::Left ? t.left : t.right)
                if (c.name == r.component)
                    notes.fault(table, r.line,
                                std::string(sideText(r.side)) + "侧已有部件 " + r.component +
                                    "（第 " + std::to_string(c.line) + " 行）。");
            SectionComponent c{r.component, r.width_m, r.followsCarriageway, r.crossFall_pct,
                               r.line};
            (r.side == SectionSide::Left ? t.left : t.right).push_back(std::move(c));
        }
        if (!carriageway)
            notes.fault(table, first.line,
                        "模板没有行车道：至少一个部件的横坡要为“路拱”（随行车道的横坡）。");
        if (placed && !section.templates.empty() && !(t.from_m > section.templates.back().from_m))
            notes.fault(table, first.line,
                        "起点桩号 " + (first.from ? first.from->text : std::string()) +
                            " 不在上一个模板的起点之后：模板要按里程顺序排列。");
        section.templates.push_back(std::move(t));
    }
}

// The run-off of one curve end (curvePoint_m its ZH or HZ): over its spiral, or over the given
// length 2/3 outside the curve and 1/3 in it. Sets start and end (the full superelevation's side);
// false without either.
bool runOff(double curvePoint_m, double spiral_m, std::optional<double> length_m, bool entry,
            double& start_m, double& end_m) {
    if (spiral_m > kNoLength_m) {
        start_m = curvePoint_m;
        end_m = entry ? curvePoint_m + spiral_m : curvePoint_m - spiral_m;
        return true;
    }
    if (!length_m)
        return false;
    const double outside = *length_m * 2 / 3, inside = *length_m / 3;
    start_m = entry ? curvePoint_m - outside : curvePoint_m + outside;
    end_m = entry ? curvePoint_m + inside : curvePoint_m - inside;
    return true;
}

// A curve as it is placed, with where the curve itself (not its run-off) starts and ends.
struct PlacedCurve {
    SuperelevatedCurve curve;
    double curveStart_m, curveEnd_m;
};

std::optional<PlacedCurve> placeJdCurve(const SuperelevationRow& r, const Route& route,
                                        Notes& notes,
                                        const std::optional<SectionDesign::Table>& table) {
    const auto it = std::find_if(route.curves.begin(), route.curves.end(),
                                 [&](const RouteCurve& c) { return c.name == r.jd; });
    if (it == route.curves.end()) {
        notes.fault(table, r.line, "路线没有交点 " + r.jd + "：不能给它超高或加宽。");
        return std::nullopt;
    }
    const CurveElements& e = it->curve;
    PlacedCurve p;
    p.curve.name = r.jd;
    p.curve.inner = it->deflection_deg > 0 ? SectionSide::Right : SectionSide::Left;
    p.curveStart_m = e.zh;
    p.curveEnd_m = e.hz;
    // Without spirals hy is zh and yh is hz.
    const double ls1 = e.hy - e.zh, ls2 = e.hz - e.yh;
    double entryEnd = 0, exitStart = 0;
    const bool in = runOff(e.zh, ls1, r.runOffLength_m, true, p.curve.entryStart_m, entryEnd);
    const bool out = runOff(e.hz, ls2, r.runOffLength_m, false, p.curve.exitEnd_m, exitStart);
    if (!in || !out) {
        notes.fault(table, r.line,
                    r.jd +
                        (ls1 <= kNoLength_m && ls2 <= kNoLength_m ? " 没有缓和曲线"
                         : !in                                    ? " 没有第一缓和曲线"
                                                                  : " 没有第二缓和曲线") +
                        "：要给超高渐变长度。");
        return std::nullopt;
    }
    p.curve.fullStart_m = entryEnd;
    p.curve.fullEnd_m = exitStart;
    if (r.runOffLength_m && ls1 > kNoLength_m && ls2 > kNoLength_m)
        notes.warn(table, r.line,
                   r.jd + " 有缓和曲线：超高和加宽在缓和曲线上渐变，不用超高渐变长度 " +
                       number(*r.runOffLength_m) + " m。");
    return p;
}

std::optional<PlacedCurve> placeStretch(const SuperelevationRow& r, const Route& route,
                                        Notes& notes,
                                        const std::optional<SectionDesign::Table>& table) {
    if (!r.from || !r.to) {
        notes.fault(table, r.line, "超高表的这一行要给交点，或者起点桩号和终点桩号。");
        return std::nullopt;
    }
    const Result<double> from = placedChainage(route, *r.from, false);
    const Result<double> to = placedChainage(route, *r.to, false);
    if (!from || !to) {
        notes.fault(table, r.line, (!from ? from : to).failure().message);
        return std::nullopt;
    }
    PlacedCurve p;
    p.curve.name = r.from->text + " 至 " + r.to->text;
    if (!(*to > *from)) {
        notes.fault(table, r.line,
                    "终点桩号 " + r.to->text + " 不在起点桩号 " + r.from->text + " 之后。");
        return std::nullopt;
    }
    const Alignment& a = route.alignment;
    const double mid = (*from + *to) / 2;
    const double k = a.elements[a.elementAt(mid)].curvatureAt_per_m(mid);
    if (k == 0) {
        notes.fault(table, r.line, p.curve.name + " 是直线：路线在这里没有曲线，不能超高或加宽。");
        return std::nullopt;
    }
    p.curve.inner = k > 0 ? SectionSide::Right : SectionSide::Left;
    p.curveStart_m = *from;
    p.curveEnd_m = *to;
    p.curve.fullStart_m = *from;
    p.curve.fullEnd_m = *to;
    if (r.runOffLength_m) {
        p.curve.entryStart_m = *from - *r.runOffLength_m;
        p.curve.exitEnd_m = *to + *r.runOffLength_m;
        return p;
    }
    // The spiral that ends at the stretch's start and the one that starts at its end.
    const Element& before = a.elements[a.elementAt(*from - kJointTolerance_m)];
    const Element& after = a.elements[a.elementAt(*to + kJointTolerance_m)];
    const bool in = before.kind() == ElementKind::Spiral &&
                    std::fabs(before.end_m() - *from) <= kJointTolerance_m;
    const bool out = after.kind() == ElementKind::Spiral &&
                     std::fabs(after.start_m() - *to) <= kJointTolerance_m;
    if (!in || !out) {
        notes.fault(
            table, r.line,
            (!in ? "起点桩号 " + r.from->text + " 之前" : "终点桩号 " + r.to->text + " 之后") +
                "没有缓和曲线：要给超高渐变长度。");
        return std::nullopt;
    }
    p.curve.entryStart_m = before.start_m();
    p.curve.exitEnd_m = after.end_m();
    p.curveStart_m = before.start_m();
    p.curveEnd_m = after.end_m();
    return p;
}

// The side's slope rule: a fixed cross-fall, or the carriageway's where the side falls more steeply
// than the crown and more steeply than the component.
double componentFall_pct(const SectionComponent& c, double carriageway_pct, double crown_pct) {
    if (c.followsCarriageway)
        return carriageway_pct;
    if (carriageway_pct < -crown_pct && carriageway_pct < c.crossFall_pct)
        return carriageway_pct;
    return c.crossFall_pct;
}

// The elevation (relative to the centre line's, lift not included) of the outer edge of the
// outermost carriageway component of a side, without widening.
double carriagewayEdge_m(const std::vector<SectionComponent>& side, double carriageway_pct,
                         double crown_pct) {
    std::size_t last = 0;
    for (std::size_t k = 0; k < side.size(); ++k)
        if (side[k].followsCarriageway)
            last = k + 1;
    double z = 0;
    for (std::size_t k = 0; k < last; ++k)
        z += side[k].width_m * componentFall_pct(side[k], carriageway_pct, crown_pct) / kPercent;
    return z;
}

// The fraction of the run-off (0 at the crown's end, 1 at the full superelevation) of a curve at a
// chainage; nothing outside its run-offs and full superelevation.
std::optional<double> runOffFraction(const SuperelevatedCurve& c, double s) {
    if (s < c.entryStart_m || s > c.exitEnd_m)
        return std::nullopt;
    const double in = c.fullStart_m > c.entryStart_m
                          ? (s - c.entryStart_m) / (c.fullStart_m - c.entryStart_m)
                          : 1.0;
    const double out =
        c.exitEnd_m > c.fullEnd_m ? (c.exitEnd_m - s) / (c.exitEnd_m - c.fullEnd_m) : 1.0;
    return std::clamp(std::min(in, out), 0.0, 1.0);
}

struct Falls {
    double left_pct, right_pct, lift_m;
};

// The carriageway of one curve at a run-off fraction k.
Falls curveFalls(const CrossSection& section, const SuperelevatedCurve& c, double k, double s) {
    const double iG = section.crown_pct, ih = c.superelevation_pct;
    double outer = -iG, inner = -iG, lift = 0;
    if (ih > 0) {
        if (ih <= iG) {
            outer = -iG + (iG + ih) * k;
        } else if (section.axis == RotationAxis::CentreLine) {
            outer = -iG + (iG + ih) * k;
            inner = outer >= iG ? -outer : -iG;
        } else {
            const double k0 = iG / ih;
            if (k <= k0) {
                outer = 2 * k * ih - iG;
            } else {
                outer = k * ih;
                inner = -outer;
                const SectionTemplate& t = templateAt(section, s);
                const auto& side = c.inner == SectionSide::Left ? t.left : t.right;
                lift = carriagewayEdge_m(side, -iG, iG) - carriagewayEdge_m(side, inner, iG);
            }
        }
    }
    if (c.inner == SectionSide::Left)
        return {inner, outer, lift};
    return {outer, inner, lift};
}

double wideningOf(const SuperelevatedCurve& c, double k) {
    if (c.transition == WideningTransition::Linear)
        return c.widening_m * k;
    return c.widening_m * (4 * k * k * k - 3 * k * k * k * k);
}

// The index of the last curve whose run-off starts at or before s, or curves.size().
std::size_t lastCurveStartingBy(const CrossSection& section, double s) {
    const auto& v = section.curves;
    const auto it =
        std::upper_bound(v.begin(), v.end(), s,
                         [](double x, const SuperelevatedCurve& c) { return x < c.entryStart_m; });
    return it == v.begin() ? v.size() : static_cast<std::size_t>(it - v.begin()) - 1;
}

}  // namespace

Result<CrossSection> buildCrossSection(const SectionDesign& d, const Route& route) {
    std::vector<Failure> faults, warnings;
    Notes notes{faults, warnings};
    // Every fault found, with the warnings before them.
    const auto refused = [&] {
        Result<CrossSection> refusal = Result<CrossSection>::failed(std::move(faults));
        refusal.warnings() = std::move(warnings);
        return refusal;
    };
    CrossSection section;
    if (d.crown) {
        section.crown_pct = d.crown->crown_pct;
        section.axis = d.crown->axis;
        if (!(section.crown_pct > 0 && section.crown_pct <= kMostSectionCrossFall_pct))
            notes.fault(d.crownTable, d.crown->line,
                        "路拱横坡 " + number(section.crown_pct) + "% 要大于 0、不超过 20%。");
    }
    buildTemplates(d, route, section, notes);
    if (section.templates.empty()) {
        notes.fault(d.templateTable, d.templateTable ? d.templateTable->headerLine : 0,
                    "横断面模板没有部件。");
        return refused();
    }

    // The curves.
    std::vector<PlacedCurve> placed;
    for (const SuperelevationRow& r : d.superelevations) {
        const auto& table = d.superelevationTable;
        bool good = true;
        if (!(r.superelevation_pct >= 0 && r.superelevation_pct <= kMostSuperelevation_pct)) {
            notes.fault(table, r.line,
                        "超高横坡 " + number(r.superelevation_pct) + "% 超出 0 至 10%。");
            good = false;
        }
        if (!(r.widening_m >= 0 && r.widening_m <= kMostWidening_m)) {
            notes.fault(table, r.line, "加宽 " + number(r.widening_m) + " m 超出 0 至 5 m。");
            good = false;
        }
        if (r.runOffLength_m &&
            !(*r.runOffLength_m > 0 && *r.runOffLength_m <= kMostSectionLength_m)) {
            notes.fault(
                table, r.line,
                "超高渐变长度 " + number(*r.runOffLength_m) + " m 要大于 0、不超过 1000 m。");
            good = false;
        }
        if (!good)
            continue;
        std::optional<PlacedCurve> p = !r.jd.empty() ? placeJdCurve(r, route, notes, table)
                                                     : placeStretch(r, route, notes, table);
        if (!p)
            continue;
        p->curve.line = r.line;
        p->curve.superelevation_pct = r.superelevation_pct;
        p->curve.widening_m = r.widening_m;
        p->curve.transition = r.transition;
        for (const PlacedCurve& q : placed)
            if (q.curve.name == p->curve.name && !r.jd.empty())
                notes.fault(table, r.line,
                            r.jd + " 的超高已在第 " + std::to_string(q.curve.line) + " 行给出。");
        placed.push_back(std::move(*p));
    }
    std::stable_sort(placed.begin(), placed.end(), [](const PlacedCurve& a, const PlacedCurve& b) {
        return a.curve.entryStart_m < b.curve.entryStart_m;
    });
    for (std::size_t k = 0; k < placed.size(); ++k) {
        const PlacedCurve& p = placed[k];
        const SuperelevatedCurve& c = p.curve;
        const auto& table = d.superelevationTable;
        if (k > 0 && p.curveStart_m < placed[k - 1].curveEnd_m - kJointTolerance_m)
            notes.fault(table, c.line,
                        c.name + " 与 " + placed[k - 1].curve.name + " 的超高段重叠。");
        if (c.superelevation_pct > 0 && c.superelevation_pct < section.crown_pct)
            notes.warn(table, c.line,
                       c.name + " 的超高横坡 " + number(c.superelevation_pct) + "% 小于路拱横坡 " +
                           number(section.crown_pct) + "%：外侧横坡由 -" +
                           number(section.crown_pct) + "% 线性变到 " +
                           number(c.superelevation_pct) + "%，内侧保持路拱。");
        if (c.fullStart_m > c.fullEnd_m + kNoLength_m)
            notes.warn(table, c.line,
                       c.name + " 的圆曲线短于两端超高渐变在曲线内的长度：达不到全超高，横坡在 " +
                           stakeText(route, c.fullEnd_m) + " 至 " +
                           stakeText(route, c.fullStart_m) + " 之间最大。");
        // A fixed cross-fall flatter than the crown on the inner side: it takes the carriageway's
        // once the inner side falls more steeply than the crown, and its edge steps there.
        if (c.superelevation_pct > section.crown_pct) {
            std::vector<std::string> told;
            for (const SectionTemplate& t : section.templates) {
                for (const SectionComponent& x : c.inner == SectionSide::Left ? t.left : t.right) {
                    if (x.followsCarriageway || !(x.crossFall_pct > -section.crown_pct) ||
                        std::find(told.begin(), told.end(), x.name) != told.end())
                        continue;
                    told.push_back(x.name);
                    notes.warn(table, c.line,
                               c.name + " 内侧（" + sideText(c.inner) + "侧）的" + x.name +
                                   "横坡 " + number(x.crossFall_pct) +
                                   "% 比路拱缓：内侧横坡陡于路拱 " + number(section.crown_pct) +
                                   "% 处起随行车道的横坡，其外的边缘高程在那里跳变。");
                }
            }
        }
        if (c.widening_m > 0) {
            for (const SectionTemplate& t : section.templates) {
                const auto& side = c.inner == SectionSide::Left ? t.left : t.right;
                const bool lane =
                    std::any_of(side.begin(), side.end(),
                                [](const SectionComponent& x) { return x.name == kLaneName; });
                if (!lane)
                    notes.fault(table, c.line,
                                c.name + " 的加宽要加在" + sideText(c.inner) + "侧的行车道上：第 " +
                                    std::to_string(t.line) +
                                    " 行起的模板那一侧没有名为“行车道”的部件。");
            }
        }
    }
    if (!faults.empty())
        return refused();
    for (PlacedCurve& p : placed) {
        p.curve.holdsFrom_m = p.curve.entryStart_m;
        p.curve.holdsTo_m = p.curve.exitEnd_m;
        section.curves.push_back(p.curve);
    }

    // Neighbours whose run-offs overlap: one linear transition between their full superelevations.
    for (std::size_t k = 0; k + 1 < section.curves.size(); ++k) {
        const SuperelevatedCurve &a = section.curves[k], &b = section.curves[k + 1];
        if (!(a.exitEnd_m > b.entryStart_m + kNoLength_m))
            continue;
        double from = a.fullEnd_m;
        if (!section.transitions.empty() && section.transitions.back().first + 1 == k)
            from = std::max(from, section.transitions.back().to_m);
        from = std::max(from, a.entryStart_m);
        const double to = std::max(b.fullStart_m, from);
        section.transitions.push_back({from, to, k});
        section.curves[k].holdsTo_m = from;
        section.curves[k + 1].holdsFrom_m = to;
        const std::string done = "：横坡在 " + stakeText(route, from) + " 至 " +
                                 stakeText(route, to) + " 之间由 " + a.name + " 的超高线性过渡到 " +
                                 b.name + " 的超高。";
        const double gap = placed[k + 1].curveStart_m - placed[k].curveEnd_m;
        const double needed =
            (a.exitEnd_m - placed[k].curveEnd_m) + (placed[k + 1].curveStart_m - b.entryStart_m);
        if (a.inner != b.inner)
            notes.warn(d.superelevationTable, b.line,
                       a.name + " 与 " + b.name + " 是反向曲线，其间直线 " + metres(gap) +
                           " m 短于两段超高渐变所需的 " + metres(needed) + " m" + done);
        else
            notes.warn(d.superelevationTable, b.line,
                       a.name + " 与 " + b.name + " 的超高渐变段重叠" + done);
    }

    // The slopes: the steps of each side and kind, outwards.
    for (int side = 0; side < 2; ++side)
        for (int kind = 0; kind < 2; ++kind) {
            std::vector<SlopeStep>& steps = kind == 0 ? section.fill[side] : section.cut[side];
            const SlopeRow* last = nullptr;
            bool ended = false;
            for (const SlopeRow& r : d.slopes) {
                if (sideIndex(r.side) != side || (r.kind == SlopeKind::Fill) != (kind == 0))
                    continue;
                const auto& table = d.slopeTable;
                const std::string what = std::string(sideText(r.side)) + "侧" +
                                         (r.kind == SlopeKind::Fill ? "填方" : "挖方") + "边坡";
                if (ended)
                    notes.fault(table, r.line, what + "在最后一级（高度留空的一级）之后还有一级。");
                if (!(r.ratio > 0 && r.ratio <= kMostSlopeRatio))
                    notes.fault(table, r.line,
                                "坡率 1:" + number(r.ratio) + " 要大于 0、不超过 20。");
                if (r.height_m && !(*r.height_m > 0 && *r.height_m <= kMostSectionLength_m))
                    notes.fault(table, r.line,
                                "高度 " + number(*r.height_m) + " m 要大于 0、不超过 1000 m。");
                if (!(r.berm_m >= 0 && r.berm_m <= kMostSectionLength_m))
                    notes.fault(table, r.line,
                                "平台宽 " + number(r.berm_m) + " m 要在 0 至 1000 m 之间。");
                if (!r.height_m && r.berm_m > 0)
                    notes.fault(table, r.line,
                                what + "的最后一级（高度留空）不能有平台：平台在一级边坡之后。");
                ended = ended || !r.height_m;
                last = &r;
                steps.push_back({r.ratio, r.height_m, r.berm_m});
            }
            if (last && !ended)
                notes.fault(d.slopeTable, last->line,
                            std::string(sideText(last->side)) + "侧" +
                                (kind == 0 ? "填方" : "挖方") +
                                "边坡缺最后一级：最后一级的高度留空（一直到地面）。");
        }
    for (const DitchRow& r : d.ditches) {
        const auto& table = d.ditchTable;
        if (!(r.bottomWidth_m >= 0 && r.bottomWidth_m <= kMostSectionLength_m))
            notes.fault(table, r.line,
                        "边沟底宽 " + number(r.bottomWidth_m) + " m 要在 0 至 1000 m 之间。");
        if (!(r.depth_m > 0 && r.depth_m <= kMostSectionLength_m))
            notes.fault(table, r.line,
                        "边沟深 " + number(r.depth_m) + " m 要大于 0、不超过 1000 m。");
        if (!(r.innerRatio >= 0 && r.innerRatio <= kMostSlopeRatio) ||
            !(r.outerRatio >= 0 && r.outerRatio <= kMostSlopeRatio))
            notes.fault(table, r.line, "边沟的坡率要在 0 至 20 之间。");
        std::optional<DitchRow>& ditch = section.ditch[sideIndex(r.side)];
        if (ditch)
            notes.fault(table, r.line,
                        std::string(sideText(r.side)) + "侧的边沟已在第 " +
                            std::to_string(ditch->line) + " 行给出。");
        ditch = r;
    }
    Result<CrossSection> built = faults.empty() ? Result<CrossSection>(std::move(section))
                                                : Result<CrossSection>::failed(std::move(faults));
    built.warnings() = std::move(warnings);
    return built;
}

const SectionTemplate& templateAt(const CrossSection& section, double continuous_m) {
    const auto& v = section.templates;
    auto it = std::upper_bound(v.begin() + 1, v.end(), continuous_m,
                               [](double s, const SectionTemplate& t) { return s < t.from_m; });
    return *(it - 1);
}

CarriagewayState carriagewayAt(const CrossSection& section, double continuous_m) {
    const double s = continuous_m;
    CarriagewayState state;
    state.left_pct = state.right_pct = -section.crown_pct;
    const std::size_t n = section.curves.size();
    const std::size_t last = lastCurveStartingBy(section, s);
    if (last == n)
        return state;
    // Widening: the larger of the curves that reach here (only neighbours overlap).
    for (std::size_t k = last + 1; k-- > 0 && k + 2 > last;) {
        const SuperelevatedCurve& c = section.curves[k];
        if (const std::optional<double> f = runOffFraction(c, s)) {
            double& w = c.inner == SectionSide::Left ? state.leftWidening_m : state.rightWidening_m;
            w = std::max(w, wideningOf(c, *f));
        }
    }
    // The cross-falls: a transition between neighbours, or the one curve that holds here.
    // The transitions follow each other along the route: the last that starts here or before.
    const auto& ts = section.transitions;
    const auto next =
        std::upper_bound(ts.begin(), ts.end(), s,
                         [](double x, const CrossSection::Transition& t) { return x < t.from_m; });
    if (next != ts.begin()) {
        const CrossSection::Transition& t = *(next - 1);
        if (s <= t.to_m) {
            const SuperelevatedCurve &a = section.curves[t.first], &b = section.curves[t.first + 1];
            const Falls fa =
                curveFalls(section, a, runOffFraction(a, t.from_m).value_or(0), t.from_m);
            const Falls fb = curveFalls(section, b, runOffFraction(b, t.to_m).value_or(0), t.to_m);
            const double u = t.to_m > t.from_m ? (s - t.from_m) / (t.to_m - t.from_m) : 1.0;
            state.left_pct = fa.left_pct + u * (fb.left_pct - fa.left_pct);
            state.right_pct = fa.right_pct + u * (fb.right_pct - fa.right_pct);
            state.lift_m = fa.lift_m + u * (fb.lift_m - fa.lift_m);
            return state;
        }
    }
    // The latest curve that reaches here (beyond a transition the later curve holds).
    for (std::size_t k = last + 1; k-- > 0 && k + 2 > last;) {
        const SuperelevatedCurve& c = section.curves[k];
        if (s < c.holdsFrom_m || s > c.holdsTo_m)
            continue;
        if (const std::optional<double> f = runOffFraction(c, s)) {
            const Falls falls = curveFalls(section, c, *f, s);
            state.left_pct = falls.left_pct;
            state.right_pct = falls.right_pct;
            state.lift_m = falls.lift_m;
            return state;
        }
    }
    return state;
}

namespace {

std::optional<double> centreH(const Route& route, double s) {
    if (!route.gradeLine)
        return std::nullopt;
    return designElevation_m(*route.gradeLine, s);
}

// The components of one side as placed at a chainage: each with its inner and outer offset
// (distances from the centre line) and elevations (relative, lift included), and its cross-fall.
struct PlacedComponent {
    const SectionComponent* component;
    double inner_m, outer_m;
    double innerZ_m, outerZ_m;
    double fall_pct;
};

std::vector<PlacedComponent> placedSide(const CrossSection& section, const SectionTemplate& t,
                                        const CarriagewayState& state, SectionSide side) {
    const auto& comps = side == SectionSide::Left ? t.left : t.right;
    const double carriage = side == SectionSide::Left ? state.left_pct : state.right_pct;
    double widening = side == SectionSide::Left ? state.leftWidening_m : state.rightWidening_m;
    std::vector<PlacedComponent> out;
    out.reserve(comps.size());
    double d = 0, z = state.lift_m;
    for (const SectionComponent& c : comps) {
        double w = c.width_m;
        if (widening > 0 && c.name == kLaneName) {
            w += widening;
            widening = 0;
        }
        const double fall = componentFall_pct(c, carriage, section.crown_pct);
        const double z1 = z + w * fall / kPercent;
        out.push_back({&c, d, d + w, z, z1, fall});
        d += w;
        z = z1;
    }
    return out;
}

// One stretch of a side slope outwards from the formation edge: distances from the centre line
// and relative elevations; the last step runs on without end.
struct SlopePiece {
    double d0, z0, d1, z1;
    std::string name;  // of the surface (填方边坡第1级, 平台, 边沟, 挖方边坡第2级)
    std::string endName;  // of its outer point
    bool unbounded = false;
};

std::vector<SlopePiece> slopePieces(const CrossSection& section, SectionSide side,
                                    SectionEarthwork earthwork, double edge_m, double edgeZ_m,
                                    double lastStepHeight_m) {
    const int i = sideIndex(side);
    const bool fill = earthwork == SectionEarthwork::Fill;
    const std::vector<SlopeStep>& steps = fill ? section.fill[i] : section.cut[i];
    const std::string prefix = std::string(sideText(side)) + (fill ? "填方" : "挖方");
    std::vector<SlopePiece> out;
    double d = edge_m, z = edgeZ_m;
    if (!fill && section.ditch[i]) {
        const DitchRow& g = *section.ditch[i];
        const std::string ditch = std::string(sideText(side)) + "边沟";
        const double bottom = z - g.depth_m;
        const double a = d + g.innerRatio * g.depth_m, b = a + g.bottomWidth_m,
                     c = b + g.outerRatio * g.depth_m;
        out.push_back({d, z, a, bottom, "边沟", ditch + "底内缘"});
        if (g.bottomWidth_m > 0)
            out.push_back({a, bottom, b, bottom, "边沟", ditch + "底外缘"});
        out.push_back({b, bottom, c, z, "边沟", ditch + "外缘"});
        d = c;
    }
    const double sign = fill ? -1 : 1;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const SlopeStep& step = steps[k];
        const std::string n = std::to_string(k + 1);
        const double h = step.height_m ? *step.height_m : lastStepHeight_m;
        const double d1 = d + step.ratio * h, z1 = z + sign * h;
        SlopePiece p{d,
                     z,
                     d1,
                     z1,
                     (fill ? "填方边坡第" : "挖方边坡第") + n + "级",
                     prefix + "第" + n + "级" + (fill ? "坡脚" : "坡顶"),
                     !step.height_m};
        out.push_back(std::move(p));
        d = d1;
        z = z1;
        if (step.berm_m > 0) {
            out.push_back({d, z, d + step.berm_m, z, "平台", prefix + "第" + n + "级平台外缘"});
            d += step.berm_m;
        }
    }
    return out;
}

SectionEarthwork fromSign(bool fill) {
    return fill ? SectionEarthwork::Fill : SectionEarthwork::Cut;
}

}  // namespace

std::vector<EdgeColumn> edgeColumns(const CrossSection& section) {
    std::vector<EdgeColumn> columns;
    for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
        std::vector<std::string> names;
        for (const SectionTemplate& t : section.templates) {
            auto place = names.begin();
            for (const SectionComponent& c : side == SectionSide::Left ? t.left : t.right) {
                const auto found = std::find(names.begin(), names.end(), c.name);
                place = found != names.end() ? found + 1 : names.insert(place, c.name) + 1;
            }
        }
        for (std::string& name : names)
            columns.push_back({side, std::move(name)});
    }
    return columns;
}

std::vector<FormationEdge> formationEdges(const CrossSection& section, const Route& route,
                                          double continuous_m) {
    const CarriagewayState state = carriagewayAt(section, continuous_m);
    const SectionTemplate& t = templateAt(section, continuous_m);
    const std::optional<double> h = centreH(route, continuous_m);
    std::vector<FormationEdge> edges;
    edges.reserve(t.left.size() + t.right.size());
    for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
        const double sign = side == SectionSide::Left ? -1 : 1;
        for (const PlacedComponent& p : placedSide(section, t, state, side)) {
            FormationEdge e;
            e.side = side;
            e.component = p.component->name;
            e.offset_m = sign * p.outer_m;
            e.crossFall_pct = p.fall_pct;
            e.elevation_m = p.outerZ_m;
            if (h)
                e.H_m = *h + p.outerZ_m;
            edges.push_back(std::move(e));
        }
    }
    return edges;
}

std::vector<SectionPoint> designSection(const CrossSection& section, const Route& route,
                                        double continuous_m, const SectionRequest& request) {
    const CarriagewayState state = carriagewayAt(section, continuous_m);
    const SectionTemplate& t = templateAt(section, continuous_m);
    const std::optional<double> h = centreH(route, continuous_m);
    auto point = [&](std::string name, double offset_m, double z_m) {
        SectionPoint p{std::move(name), offset_m, z_m, std::nullopt};
        if (h)
            p.H_m = *h + z_m;
        return p;
    };
    std::vector<SectionPoint> sides[2];
    for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
        const int i = sideIndex(side);
        const double sign = side == SectionSide::Left ? -1 : 1;
        double d = 0, z = state.lift_m;
        for (const PlacedComponent& p : placedSide(section, t, state, side)) {
            sides[i].push_back(
                point(sideText(side) + p.component->name + "边缘", sign * p.outer_m, p.outerZ_m));
            d = p.outer_m;
            z = p.outerZ_m;
        }
        const SectionEarthwork kind = side == SectionSide::Left ? request.left : request.right;
        for (const SlopePiece& piece :
             slopePieces(section, side, kind, d, z, request.lastStepHeight_m))
            sides[i].push_back(point(piece.endName, sign * piece.d1, piece.z1));
    }
    std::vector<SectionPoint> out(sides[0].rbegin(), sides[0].rend());
    out.push_back(point("中桩", 0, state.lift_m));
    out.insert(out.end(), sides[1].begin(), sides[1].end());
    return out;
}

std::optional<SectionEarthwork> earthworkFor(const CrossSection& section, const Route& route,
                                             double continuous_m, SectionSide side,
                                             double groundH_m) {
    const std::optional<double> h = centreH(route, continuous_m);
    if (!h)
        return std::nullopt;
    const CarriagewayState state = carriagewayAt(section, continuous_m);
    const std::vector<PlacedComponent> placed =
        placedSide(section, templateAt(section, continuous_m), state, side);
    const double edgeZ = placed.empty() ? state.lift_m : placed.back().outerZ_m;
    return fromSign(*h + edgeZ > groundH_m);
}

std::optional<SurfacePoint> designSurfaceAt(const CrossSection& section, const Route& route,
                                            double continuous_m, double offset_m,
                                            SectionEarthwork earthwork) {
    const SectionSide side = offset_m < 0 ? SectionSide::Left : SectionSide::Right;
    const double d = std::fabs(offset_m);
    const CarriagewayState state = carriagewayAt(section, continuous_m);
    const std::vector<PlacedComponent> placed =
        placedSide(section, templateAt(section, continuous_m), state, side);
    const std::optional<double> h = centreH(route, continuous_m);
    auto answer = [&](double z, std::string component, bool onFormation) {
        SurfacePoint p{z, std::nullopt, std::move(component), onFormation};
        if (h)
            p.H_m = *h + z;
        return p;
    };
    for (const PlacedComponent& p : placed)
        if (d <= p.outer_m)
            return answer(p.innerZ_m + (d - p.inner_m) * p.fall_pct / kPercent, p.component->name,
                          true);
    const double edge = placed.empty() ? 0 : placed.back().outer_m;
    const double edgeZ = placed.empty() ? state.lift_m : placed.back().outerZ_m;
    const std::vector<SlopePiece> pieces = slopePieces(section, side, earthwork, edge, edgeZ, 0);
    for (const SlopePiece& p : pieces) {
        if (d <= p.d1 || p.unbounded) {
            const double run = p.d1 - p.d0;
            const std::vector<SlopeStep>& steps = earthwork == SectionEarthwork::Fill
                                                      ? section.fill[sideIndex(side)]
                                                      : section.cut[sideIndex(side)];
            double z = p.z0;
            if (p.unbounded) {
                const double ratio = steps.back().ratio;
                const double sign = earthwork == SectionEarthwork::Fill ? -1 : 1;
                z = p.z0 + sign * (d - p.d0) / ratio;
            } else if (run > 0) {
                z = p.z0 + (d - p.d0) / run * (p.z1 - p.z0);
            }
            return answer(z, p.name, false);
        }
    }
    return std::nullopt;
}

std::optional<SurfacePoint> designSurfaceUnder(const CrossSection& section, const Route& route,
                                               double continuous_m, double offset_m,
                                               double groundH_m) {
    const SectionSide side = offset_m < 0 ? SectionSide::Left : SectionSide::Right;
    const std::optional<SectionEarthwork> kind =
        earthworkFor(section, route, continuous_m, side, groundH_m);
    if (!kind)
        return std::nullopt;
    return designSurfaceAt(section, route, continuous_m, offset_m, *kind);
}

Result<SlopeStake> slopeStake(const CrossSection& section, const Route& route, double continuous_m,
                              double offset_m, double groundH_m) {
    if (!std::isfinite(continuous_m) || !std::isfinite(offset_m) || !std::isfinite(groundH_m))
        return Failure{"点的里程、偏距和高程要是有限的数。"};
    const std::optional<double> h = centreH(route, continuous_m);
    if (!h)
        return Failure{"该处没有设计高程：路线没有纵断面，或桩号在纵断面之外。"};
    SlopeStake stake;
    stake.side = offset_m < 0 ? SectionSide::Left : SectionSide::Right;
    const double d = std::fabs(offset_m);
    const double sign = stake.side == SectionSide::Left ? -1 : 1;
    const CarriagewayState state = carriagewayAt(section, continuous_m);
    const std::vector<PlacedComponent> placed =
        placedSide(section, templateAt(section, continuous_m), state, stake.side);
    const double edge = placed.empty() ? 0 : placed.back().outer_m;
    const double edgeZ = placed.empty() ? state.lift_m : placed.back().outerZ_m;
    stake.edgeOffset_m = sign * edge;
    stake.edgeH_m = *h + edgeZ;
    if (d <= edge) {
        const std::optional<SurfacePoint> surface =
            designSurfaceAt(section, route, continuous_m, offset_m, SectionEarthwork::Fill);
        stake.earthwork = fromSign(surface && *surface->H_m > groundH_m);
        stake.move = StakeMove::OnFormation;
        return stake;
    }
    stake.earthwork = fromSign(stake.edgeH_m > groundH_m);
    const bool fill = stake.earthwork == SectionEarthwork::Fill;
    const int i = sideIndex(stake.side);
    if ((fill ? section.fill[i] : section.cut[i]).empty())
        return Failure{std::string(sideText(stake.side)) + "侧没有" + (fill ? "填方" : "挖方") +
                       "边坡。"};
    // Where the slope reaches the ground height: the first stretch outwards that spans it (in cut
    // past the ditch, which lies below the edge).
    const double target = groundH_m - *h;
    std::optional<double> at;
    for (const SlopePiece& p : slopePieces(section, stake.side, stake.earthwork, edge, edgeZ, 0)) {
        if (p.name == "边沟" || (!p.unbounded && p.z1 == p.z0))
            continue;
        const double lo = std::min(p.z0, p.z1), hi = std::max(p.z0, p.z1);
        if (p.unbounded || (target >= lo && target <= hi)) {
            const double rise = fill ? p.z0 - target : target - p.z0;
            const std::vector<SlopeStep>& steps = fill ? section.fill[i] : section.cut[i];
            double ratio = (p.d1 - p.d0) / std::fabs(p.z1 - p.z0);
            if (p.unbounded)
                ratio = steps.back().ratio;
            at = p.d0 + rise * ratio;
            break;
        }
    }
    if (!at)
        return Failure{"边坡达不到该点的高程。"};
    stake.designOffset_m = sign * *at;
    stake.distance_m = std::fabs(*at - d);
    if (roundTo(*stake.distance_m, 3) <= kSlopeStakeInPlace_m)
        stake.move = StakeMove::InPlace;
    else
        stake.move = *at > d ? StakeMove::Outwards : StakeMove::Inwards;
    return stake;
}

const char* sideText(SectionSide side) {
    return side == SectionSide::Left ? "左" : "右";
}

const char* earthworkText(SectionEarthwork earthwork) {
    return earthwork == SectionEarthwork::Fill ? "填" : "挖";
}

const char* moveText(StakeMove move) {
    switch (move) {
        case StakeMove::Outwards:
            return "向外";
        case StakeMove::Inwards:
            return "向内";
        case StakeMove::InPlace:
            return "到位";
        case StakeMove::OnFormation:
            break;
    }
    return "路基上";
}

}  // namespace hcurve
