#include "console/console_printer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "report/curve_report.h"

namespace hcurve {
namespace {

std::string blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

std::string printed(const std::vector<std::vector<PrintItem>>& lines) {
    std::ostringstream out;
    ConsolePrinter printer(out);
    for (const auto& items : lines)
        printer.printLine(items);
    EXPECT_EQ(*printer.endDocument(), "");
    return out.str();
}

// Column n starts after n - 1 cells; column 0 goes on where the text before ends; a CJK character
// takes two cells, so "交点座标" ends at cell 8 and a column behind it goes to a new line.
TEST(ConsolePrinter, ColumnsAreCountedInCells) {
    const std::pair<std::vector<std::vector<PrintItem>>, std::string> cases[] = {
        {{{}}, "print\t\n"},
        {{{{5, "ab"}, {0, "c"}, {10, "d"}}}, "print\t" + blanks(4) + "abc" + blanks(2) + "d\n"},
        {{{{1, "交点座标"}, {9, "x"}}}, "print\t交点座标x\n"},
        {{{{1, "交点座标"}, {8, "x"}, {0, "y"}, {12, "z"}}},
         "print\t交点座标\nprint\t" + blanks(7) + "xy" + blanks(2) + "z\n"},
    };
    for (const auto& [lines, expected] : cases)
        EXPECT_EQ(printed(lines), expected);
}

TEST(ConsolePrinter, PrintsTheCurveReport) {
    CurveRecord record;
    record.JD = "3";
    record.design.X_m = 3456789.123;
    record.design.Y_m = 512345.678;
    record.design.B_dms = 30.1530;
    record.design.R_m = 500;
    record.design.A1_m = 200;
    record.design.A2_m = 250;
    CurveElements c;
    c.A1 = 200;
    c.A2 = 250;
    c.T1 = 123.4567;
    c.T2 = 140.25;
    c.Ls1 = 80;
    c.Ls2 = 125;
    c.Lf = 100.5;
    c.zh = 1123.4567;
    c.hy = 1203.4567;
    c.yh = 1303.9567;
    c.hz = 1428.9567;
    c.xa = 3456700.1;
    c.ya = 512300.2;
    c.xh1 = 3456710.3;
    c.yh1 = 512310.4;
    c.xh2 = 3456720.5;
    c.yh2 = 512320.6;
    c.xb = 3456730.7;
    c.yb = 512330.8;
    record.curve = c;
    record.lastRun.stakes = {
        {1150, 3456701.25, 512301.5}, {1175, 3456702.25, 512302.5}, {1200, 3456703.25, 512303.5}};

    std::ostringstream out;
    ConsolePrinter printer(out);
    printCurveReport(record, printer);
    EXPECT_EQ(*printer.endDocument(), "");

    // Widths in cells: a CJK character 2, anything else 1.
    const std::string expected =
        "print\t" + blanks(37 - 1) + "---- 逐桩座标  ----\n" + "print\t" + blanks(50 - 1) +
        "交点 JD(3)\n" + "print\t\n" +
        // label 8 + 4*2 + 7 = 23 cells, value 11: ends at 22 + 23 + 11 = 56
        "print\t" + blanks(23 - 1) + "        交点座标 :   x=3456789.123" + blanks(57 - 56) +
        "y=512345.678\n" + "print\t" + blanks(36 - 1) + "      平曲线偏角 :   B=30.15300\n" +
        "print\t" + blanks(36 - 1) + "      平曲半径 : R=500.0000\n" +
        // 8*2 + 7 = 23 cells, value 8: ends at 22 + 23 + 8 = 53
        "print\t" + blanks(23 - 1) + "第一缓和曲线要素 :  A1=200.0000" + blanks(57 - 53) +
        "第二缓和曲线要素 : A2=250.0000\n" + "print\t\n" +
        // 6 + 5*2 + 6 = 22 cells, value 7: ends at 22 + 22 + 7 = 51
        "print\t" + blanks(23 - 1) + "      第一切线长 : T1=123.457" + blanks(52 - 51) +
        "     第二切线长 : T2=140.250\n" +
        // 2 + 7*2 + 7 = 23 cells, value 7: ends at 22 + 23 + 7 = 52
        "print\t" + blanks(23 - 1) + "  第一缓和曲线长 : Ls1=80.0000" + blanks(57 - 52) +
        "  第二缓和曲线长 : Ls2=125.0000\n" +
        // 4*2 + 5 = 13 cells, value 7: ends at 30 + 13 + 7 = 50
        "print\t" + blanks(31 - 1) + "平曲线长 : L=305.500" + blanks(59 - 50) +
        "圆曲线长 : Lf=100.500\n" + "print\t\n" +
        // 3*2 + 5 + 10 = 21 cells: ends at 28 + 21 = 49; X 11 cells: ends at 52 + 11 = 63
        "print\t" + blanks(29 - 1) + "直缓点(ZH) K1+123.457" + blanks(52 - 49) + "3456700.100" +
        blanks(65 - 63) + "512300.200\n" + "print\t" + blanks(29 - 1) + "缓圆点(HY) K1+203.457" +
        blanks(52 - 49) + "3456710.300" + blanks(65 - 63) + "512310.400\n" + "print\t" +
        blanks(29 - 1) + "圆缓点(YH) K1+303.957" + blanks(52 - 49) + "3456720.500" +
        blanks(65 - 63) + "512320.600\n" + "print\t" + blanks(29 - 1) + "缓直点(HZ) K1+428.957" +
        blanks(52 - 49) + "3456730.700" + blanks(65 - 63) + "512330.800\n" + "print\t\n" +
        // chainage 10 cells, X 11, Y 10
        "print\t" + blanks(15 - 1) + "K1+150.000" + blanks(27 - 24) + "3456701.250" +
        blanks(40 - 38) + "512301.500" + blanks(57 - 50) + "K1+175.000" + blanks(70 - 67) +
        "3456702.250" + blanks(83 - 81) + "512302.500\n" + "print\t" + blanks(15 - 1) +
        "K1+200.000" + blanks(27 - 24) + "3456703.250" + blanks(40 - 38) + "512303.500\n";
    EXPECT_EQ(out.str(), expected);
}

}  // namespace
}  // namespace hcurve
