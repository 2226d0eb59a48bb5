#include "report/curve_report.h"

#include <algorithm>
#include <cmath>

#include "curve/chainage.h"
#include "curve/format.h"
#include "geometry/characteristic_points.h"
#include "port/messages.h"

namespace hcurve {
namespace {

constexpr int kMarginX_twips = 500;
constexpr int kMarginY_twips = 500;
constexpr const char* kReportFace = "黑体";
constexpr int kHeadingSize_pt = 12;
constexpr int kBodySize_pt = 10;

// A characteristic point named as the report names it ("直缓点(ZH) ").
void printPointLine(PrinterPort& printer, const CharacteristicPoint& point) {
    printer.printLine({{29, point.name + chainageText(point.chainage_m, kPlainForm)},
                       {53, coordinateText(point.x_m, kPlainCoordinate)},
                       {66, coordinateText(point.y_m, kPlainCoordinate)}});
}

void printPointLines(PrinterPort& printer, const CurveElements& c) {
    const CharacteristicPoint zh{"直缓点(ZH) ", c.zh, c.xa, c.ya};
    const CharacteristicPoint hy{"缓圆点(HY) ", c.hy, c.xh1, c.yh1};
    const CharacteristicPoint yh{"圆缓点(YH) ", c.yh, c.xh2, c.yh2};
    const CharacteristicPoint hz{"缓直点(HZ) ", c.hz, c.xb, c.yb};
    const CharacteristicPoint zy{"直圆点(ZY) ", c.ZY, c.xa, c.ya};
    const CharacteristicPoint yz{"圆直点(YZ) ", c.YZ, c.xb, c.yb};

    const bool entrySpiral = c.A1 != 0;
    const bool exitSpiral = c.A2 != 0;
    if (entrySpiral) {
        printPointLine(printer, zh);
        printPointLine(printer, hy);
    } else {
        printPointLine(printer, zy);
    }
    if (exitSpiral) {
        printPointLine(printer, yh);
        printPointLine(printer, hz);
    } else {
        printPointLine(printer, yz);
    }
}

// The centre stakes of the run, two to a line.
void printStakeTable(PrinterPort& printer, const StakeRun& run) {
    auto stakeItems = [](const Stake& stake, int firstColumn) {
        return std::vector<PrintItem>{
            {firstColumn, chainageText(stake.chainage_m, kReportStakeForm)},
            {firstColumn + 13, coordinateText(stake.x_m, kPlainCoordinate)},
            {firstColumn + 26, coordinateText(stake.y_m, kPlainCoordinate)}};
    };
    const std::vector<Stake>& stakes = run.stakes;
    for (std::size_t i = 0; i < stakes.size(); i += 2) {
        std::vector<PrintItem> row = stakeItems(stakes[i], 15);
        if (i + 1 < stakes.size()) {
            std::vector<PrintItem> second = stakeItems(stakes[i + 1], 58);
            row.insert(row.end(), second.begin(), second.end());
        }
        printer.printLine(row);
    }
}

}  // namespace

void printCurveReport(const CurveRecord& record, PrinterPort& printer) {
    const CurveElements& c = *record.curve;

    printer.setPosition(kMarginX_twips, kMarginY_twips);
    printer.setFontFace(kReportFace);
    printer.setFontSize(kHeadingSize_pt);
    printer.printLine({{37, "---- 逐桩座标  ----"}});
    printer.setFontSize(kBodySize_pt);

    const DesignValues& d = record.design;
    printer.printLine({{50, "交点 JD(" + format(record.JD) + ")"}});
    printer.printLine({});
    printer.printLine({{23, "        交点座标 :   x="},
                       {0, format(d.X_m, Pattern::Fixed3)},
                       {58, "y="},
                       {0, format(d.Y_m, Pattern::Fixed3)}});
    printer.printLine({{36, "      平曲线偏角 :   B="}, {0, format(d.B_dms, Pattern::Fixed5)}});
    printer.printLine({{36, "      平曲半径 : R="}, {0, format(d.R_m, Pattern::Fixed4)}});
    printer.printLine({{23, "第一缓和曲线要素 :  A1="},
                       {0, format(d.A1_m, Pattern::Fixed4)},
                       {58, "第二缓和曲线要素 : A2="},
                       {0, format(d.A2_m, Pattern::Fixed4)}});
    printer.printLine({});
    printer.printLine({{23, "      第一切线长 : T1="},
                       {0, roundedText(c.T1, Pattern::Fixed3)},
                       {53, "     第二切线长 : T2="},
                       {0, roundedText(c.T2, Pattern::Fixed3)}});
    printer.printLine({{23, "  第一缓和曲线长 : Ls1="},
                       {0, roundedText(c.Ls1, Pattern::Fixed4)},
                       {58, "  第二缓和曲线长 : Ls2="},
                       {0, roundedText(c.Ls2, Pattern::Fixed4)}});
    const double totalLength_m = (c.Lf + c.Ls1) + c.Ls2;
    printer.printLine({{31, "平曲线长 : L="},
                       {0, roundedText(totalLength_m, Pattern::Fixed3)},
                       {60, "圆曲线长 : Lf="},
                       {0, roundedText(c.Lf, Pattern::Fixed3)}});
    printer.printLine({});

    printPointLines(printer, c);
    printer.printLine({});

    printStakeTable(printer, record.lastRun);
}

void printReport(const CurveRecord& record, UserPort& port, PrinterPort& printer) {
    if (!record.curve) {
        port.showMessage(kNoComputedCurve);
        return;
    }
    printCurveReport(record, printer);
    const Result<std::string> ended = printer.endDocument();
    const std::string& told = ended ? *ended : ended.failure().message;
    if (!told.empty())
        port.showMessage(told);
}

}  // namespace hcurve
