// The listing of a run: stake by stake, side point by side point, with the captions that name
// each point.
#include <gtest/gtest.h>

#include <algorithm>

#include "run_support.h"

namespace hcurve {
namespace {

using testing::computedRecord;
using testing::runStakes;
using testing::ScriptedPort;

const std::string kStakePause = "单击 Enter 键或点击 OK 键显示中桩座标";
const std::string kPointPause = "需要输出计算结果按 Enter 键或 OK 键";

// The transcript split at each pause prompt (the prompt itself dropped), each step's lines joined
// by "|", "name=text" for "name<TAB>text".
std::vector<std::string> steps(const ScriptedPort& port) {
    std::vector<std::string> out;
    for (std::string line : port.transcript) {
        if (line == "? " + kStakePause || line == "? " + kPointPause) {
            out.emplace_back();
        } else if (!out.empty()) {
            std::replace(line.begin(), line.end(), '\t', '=');
            out.back() += (out.back().empty() ? "" : "|") + line;
        }
    }
    return out;
}

// Each side point clears the other side's fields, captions its own and shows its values. Single
// row: left points from the outermost in, then right points from the innermost out. Double row:
// the front row, then the back row, which shares the front row's distances. Every point is named
// by the number of its distance as entered (the 10 m point of "5, 10" is the second), in its
// caption and its X and Y; only the single-row left points have capital X and Y.
TEST(StakeListing, SidePointsInTheOrderAndWithTheCaptionsOfEachRow) {
    struct Case {
        std::vector<std::string> sides, run;
        std::vector<std::string> steps;
    };
    const Case cases[] = {
        {// dl = 5, 10, 12.3; dr = 7.5, 2; single row.
         {"y", "1", "3", "5", "10", "12.3", "2", "7.5", "2", "1"},
         {"0", "12300", "0"},
         {"StakeChainage= k 12+300.000|StakeX= 3456750.458|StakeY= 512318.913",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=左侧第3点距离|caption LeftX=左侧 "
          "Xp(3)|caption LeftY=左侧 Yp(3)|LeftDistance= 12.3 米|LeftX= 3456760.649|LeftY= "
          "512312.026",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=左侧第2点距离|caption LeftX=左侧 "
          "Xp(2)|caption LeftY=左侧 Yp(2)|LeftDistance= 10 米|LeftX= 3456758.743|LeftY= 512313.314",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=左侧第1点距离|caption LeftX=左侧 "
          "Xp(1)|caption LeftY=左侧 Yp(1)|LeftDistance= 5 米|LeftX= 3456754.600|LeftY= 512316.113",
          "LeftDistance=|LeftX=|LeftY=|caption RightDistance=右侧第1点距离|caption RightX=右侧 xp( "
          "1)|caption RightY=右侧 yp( 1)|RightDistance= 7.5 米|RightX= 3456744.243|RightY= "
          "512323.112",
          "LeftDistance=|LeftX=|LeftY=|caption RightDistance=右侧第2点距离|caption RightX=右侧 xp( "
          "2)|caption RightY=右侧 yp( 2)|RightDistance= 2 米|RightX= 3456748.800|RightY= "
          "512320.032"}},
        {// dl = 5, 10; dr = 7.5; double row 1.5 ahead, 2 behind; PPQ 15.3.
         {"y", "1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"},
         {"0", "12300", "15.3", "1.5", "2"},
         {"StakeChainage= k 12+300.000|StakeX= 3456750.458|StakeY= 512318.913",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=前排第2点距离|caption LeftX=前排 "
          "xp(2)|caption LeftY=前排 yp(2)|LeftDistance= 10 米|LeftX= 3456760.415|LeftY= 512317.153",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=前排第1点距离|caption LeftX=前排 "
          "xp(1)|caption LeftY=前排 yp(1)|LeftDistance= 5 米|LeftX= 3456755.675|LeftY= 512318.744",
          "LeftDistance=|LeftX=|LeftY=|caption RightDistance=前排第1点距离|caption RightX=前排 xp( "
          "1)|caption RightY=前排 yp( 1)|RightDistance= 7.5 米|RightX= 3456743.824|RightY= "
          "512322.720",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=后排第2点距离|caption LeftX=后排 "
          "xp(2)|caption LeftY=后排 yp(2)|LeftDistance= 10 米|LeftX= 3456759.302|LeftY= 512313.835",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=后排第1点距离|caption LeftX=后排 "
          "xp(1)|caption LeftY=后排 yp(1)|LeftDistance= 5 米|LeftX= 3456754.562|LeftY= 512315.426",
          "LeftDistance=|LeftX=|LeftY=|caption RightDistance=后排第1点距离|caption RightX=后排 xp( "
          "1)|caption RightY=后排 yp( 1)|RightDistance= 7.5 米|RightX= 3456742.711|RightY= "
          "512319.402"}},
        {// No left points: straight to the right.
         {"y", "1", "0", "2", "3", "4", "1"},
         {"0", "12300", "0"},
         {"StakeChainage= k 12+300.000|StakeX= 3456750.458|StakeY= 512318.913",
          "LeftDistance=|LeftX=|LeftY=|caption RightDistance=右侧第1点距离|caption RightX=右侧 xp( "
          "1)|caption RightY=右侧 yp( 1)|RightDistance= 3 米|RightX= 3456747.972|RightY= "
          "512320.592",
          "LeftDistance=|LeftX=|LeftY=|caption RightDistance=右侧第2点距离|caption RightX=右侧 xp( "
          "2)|caption RightY=右侧 yp( 2)|RightDistance= 4 米|RightX= 3456747.143|RightY= "
          "512321.152"}},
        {// A tiny distance is written without exponent.
         {"y", "1", "1", "1e-12", "0", "1"},
         {"0", "12300", "0"},
         {"StakeChainage= k 12+300.000|StakeX= 3456750.458|StakeY= 512318.913",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=左侧第1点距离|caption LeftX=左侧 "
          "Xp(1)|caption LeftY=左侧 Yp(1)|LeftDistance= 0.000000000001 米|LeftX= "
          "3456750.458|LeftY= 512318.913"}},
        {// Every stake shows its own side points.
         {"y", "1", "2", "5", "10", "0", "1"},
         {"2", "12200", "12300", "100", "0"},
         {"StakeChainage= k 12+200.000|StakeX= 3456686.933|StakeY= 512241.854",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=左侧第2点距离|caption LeftX=左侧 "
          "Xp(2)|caption LeftY=左侧 Yp(2)|LeftDistance= 10 米|LeftX= 3456694.151|LeftY= 512234.932",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=左侧第1点距离|caption LeftX=左侧 "
          "Xp(1)|caption LeftY=左侧 Yp(1)|LeftDistance= 5 米|LeftX= 3456690.542|LeftY= 512238.393",
          "StakeChainage= k 12+300.000|StakeX= 3456750.458|StakeY= 512318.913",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=左侧第2点距离|caption LeftX=左侧 "
          "Xp(2)|caption LeftY=左侧 Yp(2)|LeftDistance= 10 米|LeftX= 3456758.743|LeftY= 512313.314",
          "RightDistance=|RightX=|RightY=|caption LeftDistance=左侧第1点距离|caption LeftX=左侧 "
          "Xp(1)|caption LeftY=左侧 Yp(1)|LeftDistance= 5 米|LeftX= 3456754.600|LeftY= "
          "512316.113"}},
    };
    for (const Case& c : cases) {
        CurveRecord record = computedRecord(c.sides);
        const ScriptedPort port = runStakes(record, c.run, static_cast<int>(c.steps.size()));
        const std::vector<std::string> shown = steps(port);
        ASSERT_EQ(shown.size(), c.steps.size());
        for (std::size_t k = 0; k < shown.size(); ++k)
            EXPECT_EQ(shown[k], c.steps[k]) << k;
    }
}

}  // namespace
}  // namespace hcurve
