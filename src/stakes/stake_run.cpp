#include "stakes/stake_run.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "curve/angle.h"
#include "curve/format.h"
#include "curve/number.h"
#include "geometry/side_points.h"
#include "geometry/stake_position.h"
#include "port/answers.h"
#include "port/messages.h"
#include "port/side_questions.h"
#include "stakes/stake_listing.h"

namespace hcurve {
namespace {

// A stake run's listing takes one pause per stake; beyond this many the run is refused.
constexpr double kMaxStakes = 100000;
// A refused count is told up to this size; beyond it the message only says there are too many.
constexpr double kLongestCountShown = 1e15;

// A chainage of exactly 0 is computed a hair after it, as 1e-14 m.
constexpr double kZeroChainage_m = 1e-14;

// The stakes of a run with their chainages only, as asked.
std::vector<Stake> singlePoint(UserPort& port) {
    double chainage_m = askNumber(port, {"输入需要计算的中桩桩号 :( 以米为单位 )", "中桩桩号"});
    if (chainage_m == 0)
        chainage_m = kZeroChainage_m;
    return {Stake{chainage_m}};
}

std::vector<Stake> continuous(UserPort& port) {
    for (;;) {
        double start_m =
            askNumber(port, {"输入需要计算段落起始点的中桩桩号 :( 以米为单位 )", "起始点桩号"});
        double end_m =
            askNumber(port, {"输入需要计算段落终止点的中桩桩号 :( 以米为单位 )", "终止点桩号"});
        const double interval = askNumber(port, {"输入需要计算的桩距 :( 以米为单位 )", "桩距"});
        if (interval == 0) {
            port.showError("桩距不能为零。请重新输入起始桩号、终止桩号和桩距。");
            continue;
        }
        const double countValue = (end_m - start_m) / interval + 1;
        // The count is taken as it reads with 15 significant digits, so that a count a hair below
        // a whole number is that number and the message tells the count as it is judged.
        const std::string countText = generalText(countValue);
        std::optional<double> count = readNumber(countText);
        // A count beyond the doubles (a vanishing interval) is no number; its sign still tells.
        if (count ? *count < 1 : countValue < 0) {
            port.showError(
                "按这个桩距从起始桩号走不到终止桩号，一个中桩也没有。"
                "请重新输入起始桩号、终止桩号和桩距。");
            continue;
        }
        if (!count || *count >= kMaxStakes + 1) {
            // A count that would fill a line is not worth reading out.
            const std::string told =
                count && *count < kLongestCountShown ? "：" + countText + " 个" : "";
            port.showError("中桩太多（一次最多 100000 个）" + told +
                           "。请重新输入起始桩号、终止桩号和桩距。");
            continue;
        }
        if (start_m == 0)
            start_m = kZeroChainage_m;
        // The stakes are the count's whole part. Each chainage is taken from the start, so no
        // rounding adds up along a long run.
        std::vector<Stake> stakes(static_cast<std::size_t>(std::floor(*count)));
        for (std::size_t i = 0; i < stakes.size(); ++i)
            stakes[i].chainage_m = start_m + static_cast<double>(i) * interval;
        return stakes;
    }
}

const SideQuestions kRunSideQuestions{
    {"输入左侧路基要计算的点数: ( 或左侧钻孔桩距离桥梁中心线的个数, 以单排桩为准 )", "左侧点数"},
    {"输入左侧要计算的路基点分别距离中心线的距离 :", "左侧点距中心线的距离"},
    {"输入要计算右侧路基的点数 : ( 或右侧钻孔桩距离桥梁中心线的个数, 以单排桩为准 )", "右侧点数"},
    {"输入右侧要计算的路基点分别距离中心线的距离 :", "右侧点距中心线的距离"},
    {"计算单排点 ( 或单排钻孔桩 )  输入 1; 计算双排点 ( 或双排钻孔桩 ) 输入 2", "单排或双排"},
    {"输入前排钻孔桩至法线的垂直距离 :", "前排钻孔桩的距离"},
    {"输入后排钻孔桩至法线的垂直距离 :", "后排钻孔桩的距离"}};

// The side-point questions of a run; nothing when side points are off. Returns the PPQ as typed.
std::optional<std::string> askSidePointOptions(CurveRecord& record, UserPort& port) {
    if (!sidePointsOn(record))
        return std::nullopt;
    // At 90 degrees the axis runs along the centre line: a side point would stand on the road
    // ahead of its stake, not beside it.
    std::string ppq =
        askSkewAngle(port, {"请输入计算点与中桩连线( 即横轴 )的方位与中桩法线夹角 PPQ 的数值 ( "
                            "中桩法线的方向由圆心指向中桩 ) PPQ由法线为起始,顺时针为正( ppb>0 ),"
                            "反时针为负( ppb<0 ),沿法线为零( ppb=0 ) ",
                            "夹角 PPQ"});
    // The widths come here only when design entry did not ask them.
    if (record.dlxp == 0)
        askSideWidths(record, port, kRunSideQuestions);
    askRowDistances(record, port, kRunSideQuestions);
    return ppq;
}

// A run computes, lists and keeps every point at once: beyond this many it is refused before any
// work, as it would outgrow the memory of a desktop.
constexpr std::uint64_t kMaxRunPoints = 10000000;

// Why the run is refused: its stakes times (1 + side points per stake) exceed kMaxRunPoints.
std::optional<std::string> tooManyPoints(const CurveRecord& record, const std::vector<Stake>& run) {
    std::uint64_t perStake = 1;
    if (sidePointsOn(record)) {
        const std::uint64_t rows = record.dd_n == 1 ? 1 : 2;
        perStake += rows * static_cast<std::uint64_t>(std::max(0, int(record.dl_n)) +
                                                      std::max(0, int(record.dr_n)));
    }
    const std::uint64_t stakes = run.size();
    const std::uint64_t points = stakes * perStake;
    if (points <= kMaxRunPoints)
        return std::nullopt;
    return "点数太多（一次最多 10000000 个）：" + std::to_string(stakes) +
           " 个中桩，每个中桩连同边桩 " + std::to_string(perStake) + " 个点，共 " +
           std::to_string(points) + " 个点。中桩计算没有进行。";
}

}  // namespace

void stakeRun(CurveRecord& record, UserPort& port) {
    if (!record.curve) {
        port.showMessage(kNoComputedCurve);
        return;
    }
    const CurveElements& curve = *record.curve;

    std::string mode =
        port.ask("确认 : 单点计算输入零 (即 :0),连续计算输入不等于1的任意数 (即 :2,3,4,......)");
    std::optional<double> modeNumber = readNumber(mode);
    if (!modeNumber) {
        // Cancel ends the run quietly; anything else that is not a number is told.
        if (!isBlank(mode))
            port.showError(notANumberMessage("单点或连续计算的回答", mode) + "中桩计算没有进行。");
        return;
    }
    std::vector<Stake> stakes = *modeNumber == 0 ? singlePoint(port) : continuous(port);
    std::optional<std::string> ppqTyped = askSidePointOptions(record, port);
    if (std::optional<std::string> refusal = tooManyPoints(record, stakes)) {
        port.showMessage(*refusal);
        return;
    }
    // Nothing of an earlier run stays beside this one, also when its listing is left at once.
    clearListing(port);
    PpqSetting ppq = preparePpq(ppqTyped);
    port.setField(Field::AxisAngle, ppq.shown);

    // Positions once; each stake's side points are computed from them just before it is listed.
    double lastAxis_deg = 0;
    for (Stake& stake : stakes) {
        if (std::optional<StakePosition> pos = centreStake(curve, stake.chainage_m, ppq.ppq_deg)) {
            stake.x_m = pos->x_m;
            stake.y_m = pos->y_m;
            lastAxis_deg = pos->axisAzimuth_deg;
        }
        stake.axisAzimuth_deg = lastAxis_deg;
    }
    record.lastRun.stakes = std::move(stakes);
    record.lastRun.ppq_dms = ppqTyped ? readNumber(*ppqTyped).value_or(0) : 0;
    record.lastRun.sides.reset();
    if (sidePointsOn(record))
        record.lastRun.sides.emplace(static_cast<const SideSetup&>(record));
    ++record.stakeRuns;
    forEachStake(record.lastRun, [&](const RunStake& stake) {
        try {
            listStake(stake, port);
            return true;
        } catch (const Cancelled&) {
            return false;  // leaving a pause ends the listing only: every stake is computed
        }
    });
}

}  // namespace hcurve
