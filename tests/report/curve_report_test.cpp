#include "report/curve_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/stake_position.h"
#include "port/messages.h"
#include "recording_printer.h"
#include "support/designed_record.h"
#include "support/designs.h"

namespace hcurve {
namespace {

using test::RecordingPrinter;
using Lines = std::vector<std::string>;

// A designed curve filled in by hand. Every point has coordinates of its own (on a real curve
// without a spiral some coincide), so that a line printing a neighbour's values shows up.
CurveRecord handBuiltRecord(double a1, double a2) {
    CurveRecord record;
    record.JD = "12";
    record.design = {1000, 3456789.12345, 512345.678, 45, -25.3, 500, a1, a2};

    CurveElements c;
    c.A1 = a1;
    c.A2 = a2;
    c.T1 = 123.4565;  // a tie at the third decimal: rounds to even first, 123.456
    c.T2 = 140.25;
    c.Ls1 = 80;
    c.Ls2 = 125;
    c.Lf = 100.12345;  // L = (100.12345 + 80) + 125 = 305.12345
    c.zh = 1123.4565;
    c.hy = 1203.5;
    c.yh = 1303.625;
    c.hz = 1428.625;
    c.ZY = 1111.111;
    c.YZ = 1444.444;
    c.xa = 3456700.1;
    c.ya = 512300.2345;  // a tie: 512300.234 after rounding to even, not 512300.235
    c.xh1 = 3456710.3;
    c.yh1 = 512310.4;
    c.xh2 = 3456720.5;
    c.yh2 = 512320.6;
    c.xb = 3456730.7;
    c.yb = 512330.8;
    record.curve = c;
    return record;
}

// The first stakes of a run of five.
void addStakes(CurveRecord& record, std::size_t count) {
    const double chainages_m[] = {100, 120, 1123.4565, 160, 1999.9996};
    record.lastRun.stakes.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const double at = 10.0 * static_cast<double>(i + 1);
        record.lastRun.stakes.push_back(
            {chainages_m[i], 3456000.0 + at + 0.25, 512000.0 + at + 0.5});
    }
}

Lines printReport(const CurveRecord& record) {
    RecordingPrinter printer;
    printCurveReport(record, printer);
    return printer.calls;
}

// The point lines: after the blank line that follows the elements, up to the next blank line.
constexpr std::size_t kFirstPointLine = 16;
Lines pointLines(const Lines& calls) {
    auto first = calls.begin() + kFirstPointLine;
    return Lines(first, std::find(first, calls.end(), "line"));
}

// What follows the blank line after the point lines.
Lines stakeTable(const Lines& calls) {
    auto blank = std::find(calls.begin() + kFirstPointLine, calls.end(), "line");
    return Lines(blank + 1, calls.end());
}

TEST(CurveReport, BothSpiralsWholeReportInOrder) {
    const Lines expected = {
        "position 500 500",
        "face 黑体",
        "size 12",
        "line 37:---- 逐桩座标  ----",
        "size 10",
        "line 50:交点 JD(12)",
        "line",
        "line 23:        交点座标 :   x=|0:3456789.123|58:y=|0:512345.678",
        "line 36:      平曲线偏角 :   B=|0:-25.30000",
        "line 36:      平曲半径 : R=|0:500.0000",
        "line 23:第一缓和曲线要素 :  A1=|0:200.0000|58:第二缓和曲线要素 : A2=|0:250.0000",
        "line",
        "line 23:      第一切线长 : T1=|0:123.456|53:     第二切线长 : T2=|0:140.250",
        "line 23:  第一缓和曲线长 : Ls1=|0:80.0000|58:  第二缓和曲线长 : Ls2=|0:125.0000",
        "line 31:平曲线长 : L=|0:305.123|60:圆曲线长 : Lf=|0:100.123",
        "line",
        "line 29:直缓点(ZH) K1+123.456|53:3456700.100|66:512300.234",
        "line 29:缓圆点(HY) K1+203.500|53:3456710.300|66:512310.400",
        "line 29:圆缓点(YH) K1+303.625|53:3456720.500|66:512320.600",
        "line 29:缓直点(HZ) K1+428.625|53:3456730.700|66:512330.800",
        "line",
    };
    EXPECT_EQ(printReport(handBuiltRecord(200, 250)), expected);
}

// A missing spiral's two points give way to the circle's end point (ZY or YZ).
TEST(CurveReport, PointLinesOfTheEndsWithoutSpiral) {
    const std::string zh = "line 29:直缓点(ZH) K1+123.456|53:3456700.100|66:512300.234";
    const std::string hy = "line 29:缓圆点(HY) K1+203.500|53:3456710.300|66:512310.400";
    const std::string zy = "line 29:直圆点(ZY) K1+111.111|53:3456700.100|66:512300.234";
    const std::string yh = "line 29:圆缓点(YH) K1+303.625|53:3456720.500|66:512320.600";
    const std::string hz = "line 29:缓直点(HZ) K1+428.625|53:3456730.700|66:512330.800";
    const std::string yz = "line 29:圆直点(YZ) K1+444.444|53:3456730.700|66:512330.800";
    const struct {
        double a1, a2;
        Lines lines;
    } cases[] = {{0, 250, {zy, yh, hz}}, {200, 0, {zh, hy, yz}}, {0, 0, {zy, yz}}};
    for (const auto& c : cases)
        EXPECT_EQ(pointLines(printReport(handBuiltRecord(c.a1, c.a2))), c.lines) << c.a1 << c.a2;
}

// The JD's name as typed; one that reads as a number as that number, without an exponent.
TEST(CurveReport, JdLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"007", "line 50:交点 JD(7)"},
        {"A3", "line 50:交点 JD(A3)"},
        {"1e20", "line 50:交点 JD(100000000000000000000)"}};
    CurveRecord record = handBuiltRecord(200, 250);
    for (const auto& [typed, line] : cases) {
        record.JD = typed;
        EXPECT_EQ(printReport(record)[5], line);
    }
}

TEST(CurveReport, ChainageBelowOneKilometre) {
    CurveRecord record = handBuiltRecord(200, 250);
    record.curve->zh = 123.45;
    record.lastRun.stakes = {{123.45, 1.0, 2.0}};
    const Lines calls = printReport(record);
    EXPECT_EQ(pointLines(calls)[0], "line 29:直缓点(ZH) K0+123.450|53:3456700.100|66:512300.234");
    EXPECT_EQ(stakeTable(calls), (Lines{"line 15:K0+123.450|28:1.000|41:2.000"}));
}

// A point before zero reads as the distance before K0.
TEST(CurveReport, KilometresRoundDownAndAThousandMetresCarry) {
    CurveRecord record = handBuiltRecord(200, 250);
    record.curve->zh = 1999.9996;
    record.curve->hy = -1.5;
    const Lines lines = pointLines(printReport(record));
    EXPECT_EQ(lines[0], "line 29:直缓点(ZH) K2+000.000|53:3456700.100|66:512300.234");
    EXPECT_EQ(lines[1], "line 29:缓圆点(HY) K0-001.500|53:3456710.300|66:512310.400");
}

// Before any run the report ends with the blank line after the points.
TEST(CurveReport, StakesTwoToALineAndTheLastAlone) {
    const std::pair<std::size_t, Lines> cases[] = {
        {0, {}},
        {1, {"line 15:K0+100.000|28:3456010.250|41:512010.500"}},
        // Stake 3's metre part is written without rounding first (123.457, where the point form
        // gives 123.456).
        {5,
         {"line 15:K0+100.000|28:3456010.250|41:512010.500"
          "|58:K0+120.000|71:3456020.250|84:512020.500",
          "line 15:K1+123.457|28:3456030.250|41:512030.500"
          "|58:K0+160.000|71:3456040.250|84:512040.500",
          "line 15:K2+000.000|28:3456050.250|41:512050.500"}},
    };
    for (const auto& [count, table] : cases) {
        CurveRecord record = handBuiltRecord(200, 250);
        addStakes(record, count);
        const Lines calls = printReport(record);
        EXPECT_EQ(stakeTable(calls), table) << count;
        EXPECT_EQ(calls[calls.size() - 1 - table.size()], "line") << count;
    }
}

// The right-hand example curve as design entry accepts and computes it, with stakes at ZH, HY and
// HZ, checked against the curve's worked figures.
TEST(CurveReport, RightHandExampleCurve) {
    CurveRecord record = testing::designedRecord(testing::rightHandDesign());
    const CurveElements& c = *record.curve;
    for (double chainage_m : {c.zh, c.hy, c.hz}) {
        const std::optional<StakePosition> stake = centreStake(c, chainage_m, 0);
        ASSERT_TRUE(stake);
        record.lastRun.stakes.push_back({chainage_m, stake->x_m, stake->y_m});
    }

    const Lines calls = printReport(record);
    const Lines expected = {
        "position 500 500",
        "face 黑体",
        "size 12",
        "line 37:---- 逐桩座标  ----",
        "size 10",
        "line 50:交点 JD(7)",
        "line",
        "line 23:        交点座标 :   x=|0:3456789.123|58:y=|0:512345.678",
        "line 36:      平曲线偏角 :   B=|0:30.15300",
        "line 36:      平曲半径 : R=|0:500.0000",
        "line 23:第一缓和曲线要素 :  A1=|0:200.0000|58:第二缓和曲线要素 : A2=|0:250.0000",
        "line",
        // T1 = 176.84348..., T2 = 196.47835...
        "line 23:      第一切线长 : T1=|0:176.843|53:     第二切线长 : T2=|0:196.478",
        "line 23:  第一缓和曲线长 : Ls1=|0:80.0000|58:  第二缓和曲线长 : Ls2=|0:125.0000",
        // L = (161.55377... + 80) + 125
        "line 31:平曲线长 : L=|0:366.554|60:圆曲线长 : Lf=|0:161.554",
        "line",
        "line 29:直缓点(ZH) K12+168.835|53:3456665.181|66:512219.535",
        "line 29:缓圆点(HY) K12+248.835|53:3456719.693|66:512278.057",
        "line 29:圆缓点(YH) K12+410.388|53:3456801.708|66:512416.430",
        "line 29:缓直点(HZ) K12+535.388|53:3456837.445|66:512536.121",
        "line",
        "line 15:K12+168.835|28:3456665.181|41:512219.535"
        "|58:K12+248.835|71:3456719.693|84:512278.057",
        "line 15:K12+535.388|28:3456837.445|41:512536.121",
    };
    EXPECT_EQ(calls, expected);
}

// A user port that records what the command does to the window.
class RecordingPort : public UserPort {
  public:
    std::vector<std::string> messages;
    int windowChanges = 0;
    std::string ask(const std::string&) override {
        ADD_FAILURE() << "the printout asks nothing";
        return "";
    }
    void setField(Field, const std::string&) override { ++windowChanges; }
    void setCaption(Label, const std::string&) override { ++windowChanges; }
    void showMessage(const std::string& message) override { messages.push_back(message); }
};

TEST(PrintReport, RefusesWithoutComputedCurve) {
    CurveRecord record;
    RecordingPort port;
    RecordingPrinter printer;
    printReport(record, port, printer);
    EXPECT_EQ(port.messages, Lines{kNoComputedCurve});
    EXPECT_TRUE(printer.calls.empty());
}

TEST(PrintReport, PrintsEndsTheDocumentAndLeavesTheWindowAlone) {
    CurveRecord record = handBuiltRecord(200, 250);
    addStakes(record, 1);
    RecordingPort port;
    RecordingPrinter printer;
    printReport(record, port, printer);
    EXPECT_EQ(printer.calls.back(), "end");
    EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "end"), 1);
    EXPECT_EQ(printer.calls[printer.calls.size() - 2],
              "line 15:K0+100.000|28:3456010.250|41:512010.500");
    EXPECT_TRUE(port.messages.empty());
    EXPECT_EQ(port.windowChanges, 0);

    // A second printout of the same record is the same report; what the printer says at the end
    // is shown.
    RecordingPrinter again;
    again.endMessage = "已保存为 PDF 文件：/tmp/x.pdf";
    printReport(record, port, again);
    EXPECT_EQ(again.calls, printer.calls);
    EXPECT_EQ(port.messages, Lines{"已保存为 PDF 文件：/tmp/x.pdf"});
}

}  // namespace
}  // namespace hcurve
