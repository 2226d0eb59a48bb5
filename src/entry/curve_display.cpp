#include "entry/curve_display.h"

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

void showEntryEnd(const CurveRecord& record, const CurveElements& c, UserPort& port) {
    if (!isZero(record.A1)) {
        port.setField(Field::Text14, lowerStrForm(c.zh));
        port.setField(Field::Text15, zhCoordinateText(c.xa));
        port.setField(Field::Text16, zhCoordinateText(c.ya));
        port.setField(Field::Text17, plainForm(c.hy));
        port.setField(Field::Text18, pointCoordinateText(c.xh1));
        port.setField(Field::Text19, pointCoordinateText(c.yh1));
        return;
    }
    // No entry spiral: the HY group shows ZY, the ZH group goes blank for good.
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
        // No exit spiral: the YH group shows YZ, the HZ group goes blank for good.
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
    port.setField(Field::Text20, plainForm(c.yh));
    port.setField(Field::Text21, pointCoordinateText(c.xh2));
    port.setField(Field::Text22, pointCoordinateText(c.yh2));
    port.setField(Field::Text23, plainForm(c.hz));
    port.setField(Field::Text24, pointCoordinateText(c.xb));
    port.setField(Field::Text25, pointCoordinateText(c.yb));
}

}  // namespace

void computeAndShowCurve(CurveRecord& record, UserPort& port) {
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
