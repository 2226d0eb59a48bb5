#include "entry/curve_display.h"

#include <cstddef>
#include <optional>
#include <string>

#include "curve/chainage.h"
#include "curve/format.h"
#include "curve/number.h"
#include "geometry/curve_elements.h"
#include "geometry/design_check.h"

namespace hcurve {
namespace {

// Lengths of the elements: two blanks and the value to four decimals, trailing zeros dropped.
std::string elementText(double v_m) {
    return "  " + generalText(roundTo(v_m, 4));
}
std::string centreText(double v_m) {
    return " " + generalText(roundTo(v_m, 4));
}
std::string zhCoordinateText(double v_m) {
    return " " + format(roundTo(v_m, 4), Pattern::Fixed4);
}
std::string pointCoordinateText(double v_m) {
    return " " + format(roundTo(v_m, 3), Pattern::Fixed3);
}

bool isZero(const std::string& typed) {
    std::optional<double> v = readNumber(typed);
    return v && *v == 0;
}

const Field kComputedFields[] = {
    Field::Text10, Field::Text11, Field::Text12, Field::Text13, Field::Text14, Field::Text15,
    Field::Text16, Field::Text17, Field::Text18, Field::Text19, Field::Text20, Field::Text21,
    Field::Text22, Field::Text23, Field::Text24, Field::Text25, Field::Text29, Field::Text30};

void refuse(CurveRecord& record, UserPort& port, const std::string& message) {
    port.showError(message);
    for (Field field : kComputedFields)
        port.setField(field, "");
    record.curve.reset();
}

// The design captions of the two spiral ends, which a curve without that spiral changes.
struct Caption {
    Label label;
    const char* text;
};
const Caption kEntryPointCaptions[] = {{Label::Label45, "直缓点 :"},
                                       {Label::Label16, " 桩号 ZH"},
                                       {Label::Label17, " 纵座标 X"},
                                       {Label::Label18, " 横座标 Y"}};
const Caption kEntryArcCaptions[] = {{Label::Label46, "缓圆点 :"}, {Label::Label19, " 桩号 HY"}};
const Caption kExitPointCaptions[] = {{Label::Label48, "缓直点 :"},
                                      {Label::Label25, " 桩号 HZ"},
                                      {Label::Label26, " 纵座标 X"},
                                      {Label::Label27, " 横座标 Y"}};
const Caption kExitArcCaptions[] = {{Label::Label47, "圆缓点 :"}, {Label::Label22, " 桩号 YH"}};

template <std::size_t N>
void writeCaptions(UserPort& port, const Caption (&captions)[N]) {
    for (const Caption& caption : captions)
        port.setCaption(caption.label, caption.text);
}

// Each curve writes the captions of its own ends, so that a spiral comes back under its own
// names after a curve without it.
void showEntryEnd(const CurveRecord& record, const CurveElements& c, UserPort& port) {
    if (!isZero(record.A1)) {
        writeCaptions(port, kEntryPointCaptions);
        port.setField(Field::Text14, lowerStrForm(c.zh));
        port.setField(Field::Text15, zhCoordinateText(c.xa));
        port.setField(Field::Text16, zhCoordinateText(c.ya));
        writeCaptions(port, kEntryArcCaptions);
        port.setField(Field::Text17, plainForm(c.hy));
        port.setField(Field::Text18, pointCoordinateText(c.xh1));
        port.setField(Field::Text19, pointCoordinateText(c.yh1));
        return;
    }
    // No entry spiral: the HY group shows ZY, the ZH group goes blank.
    for (Label label : {Label::Label45, Label::Label16, Label::Label17, Label::Label18}) {
        port.setCaption(label, "");
    }
    for (Field field : {Field::Text14, Field::Text15, Field::Text16})
        port.setField(field, "");
    port.setCaption(Label::Label46, "直圆点 :");
    port.setCaption(Label::Label19, "        ZY");
    port.setField(Field::Text17, plainForm(c.zh));
    port.setField(Field::Text18, pointCoordinateText(c.xa));
    port.setField(Field::Text19, pointCoordinateText(c.ya));
}

void showExitEnd(const CurveRecord& record, const CurveElements& c, UserPort& port) {
    if (isZero(record.A2)) {
        // No exit spiral: the YH group shows YZ, the HZ group goes blank.
        for (Label label : {Label::Label48, Label::Label25, Label::Label26, Label::Label27}) {
            port.setCaption(label, "");
        }
        for (Field field : {Field::Text23, Field::Text24, Field::Text25})
            port.setField(field, "");
        port.setCaption(Label::Label47, "圆直点 :");
        port.setCaption(Label::Label22, "        YZ");
        port.setField(Field::Text20, plainForm(c.YZ));
        port.setField(Field::Text21, pointCoordinateText(c.xb));
        port.setField(Field::Text22, pointCoordinateText(c.yb));
        return;
    }
    writeCaptions(port, kExitArcCaptions);
    port.setField(Field::Text20, plainForm(c.yh));
    port.setField(Field::Text21, pointCoordinateText(c.xh2));
    port.setField(Field::Text22, pointCoordinateText(c.yh2));
    writeCaptions(port, kExitPointCaptions);
    port.setField(Field::Text23, plainForm(c.hz));
    port.setField(Field::Text24, pointCoordinateText(c.xb));
    port.setField(Field::Text25, pointCoordinateText(c.yb));
}

}  // namespace

void computeAndShowCurve(CurveRecord& record, UserPort& port) {
    // The stakes of the last run belong to the curve they were computed on.
    record.stakeCount.clear();
    record.Kp.clear();
    record.stakeX.clear();
    record.stakeY.clear();
    record.runSides = RunSideSetup{};
    std::optional<DesignNumbers> design = designNumbers(record);
    if (!design) {
        refuse(record, port, "设计数据不完整，无法计算曲线。请重新点击“开始计算”。");
        return;
    }
    CurveElements c = computeCurve(*design);
    if (std::optional<std::string> problem = checkCurve(c)) {
        refuse(record, port, *problem);
        return;
    }
    record.curve = c;
    port.setField(Field::Text10, elementText(c.Ls1));
    port.setField(Field::Text11, elementText(c.Ls2));
    port.setField(Field::Text12, elementText(c.T1));
    port.setField(Field::Text13, elementText(c.T2));
    port.setField(Field::Text29, centreText(c.Xo));
    port.setField(Field::Text30, centreText(c.Yo));
    showEntryEnd(record, c, port);
    showExitEnd(record, c, port);
}

}  // namespace hcurve
