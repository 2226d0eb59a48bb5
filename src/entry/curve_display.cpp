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

bool isZero(const std::string& typed) {
    std::optional<double> v = readNumber(typed);
    return v && *v == 0;
}

const Field kComputedFields[] = {
    Field::Ls1,        Field::Ls2,     Field::EntryTangent, Field::ExitTangent, Field::ZhChainage,
    Field::ZhX,        Field::ZhY,     Field::HyChainage,   Field::HyX,         Field::HyY,
    Field::YhChainage, Field::YhX,     Field::YhY,          Field::HzChainage,  Field::HzX,
    Field::HzY,        Field::CentreX, Field::CentreY};

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
const Caption kEntryPointCaptions[] = {{Label::ZhGroup, "直缓点 :"},
                                       {Label::ZhChainage, " 桩号 ZH"},
                                       {Label::ZhX, " 纵座标 X"},
                                       {Label::ZhY, " 横座标 Y"}};
const Caption kEntryArcCaptions[] = {{Label::HyGroup, "缓圆点 :"}, {Label::HyChainage, " 桩号 HY"}};
const Caption kExitPointCaptions[] = {{Label::HzGroup, "缓直点 :"},
                                      {Label::HzChainage, " 桩号 HZ"},
                                      {Label::HzX, " 纵座标 X"},
                                      {Label::HzY, " 横座标 Y"}};
const Caption kExitArcCaptions[] = {{Label::YhGroup, "圆缓点 :"}, {Label::YhChainage, " 桩号 YH"}};

template <std::size_t N>
void writeCaptions(UserPort& port, const Caption (&captions)[N]) {
    for (const Caption& caption : captions)
        port.setCaption(caption.label, caption.text);
}

// An end without its spiral: the arc group shows the circle's end point (ZY or YZ), and the
// group of the missing spiral's outer point (ZH or HZ) goes blank.
struct CircleEnd {
    Label blankLabels[4];
    Field blankFields[3];
    Caption group, name;
    Field fields[3];  // chainage, X, Y
};
const CircleEnd kZyEnd{{Label::ZhGroup, Label::ZhChainage, Label::ZhX, Label::ZhY},
                       {Field::ZhChainage, Field::ZhX, Field::ZhY},
                       {Label::HyGroup, "直圆点 :"},
                       {Label::HyChainage, "        ZY"},
                       {Field::HyChainage, Field::HyX, Field::HyY}};
const CircleEnd kYzEnd{{Label::HzGroup, Label::HzChainage, Label::HzX, Label::HzY},
                       {Field::HzChainage, Field::HzX, Field::HzY},
                       {Label::YhGroup, "圆直点 :"},
                       {Label::YhChainage, "        YZ"},
                       {Field::YhChainage, Field::YhX, Field::YhY}};

void showCircleEnd(UserPort& port, const CircleEnd& end, double chainage_m, double x_m,
                   double y_m) {
    for (Label label : end.blankLabels)
        port.setCaption(label, "");
    for (Field field : end.blankFields)
        port.setField(field, "");
    port.setCaption(end.group.label, end.group.text);
    port.setCaption(end.name.label, end.name.text);
    port.setField(end.fields[0], chainageText(chainage_m, kPlainForm));
    port.setField(end.fields[1], coordinateText(x_m, kFieldCoordinate));
    port.setField(end.fields[2], coordinateText(y_m, kFieldCoordinate));
}

// Each curve writes the captions of its own ends, so that a spiral comes back under its own
// names after a curve without it.
void showEntryEnd(const CurveRecord& record, const CurveElements& c, UserPort& port) {
    if (!isZero(record.A1)) {
        writeCaptions(port, kEntryPointCaptions);
        port.setField(Field::ZhChainage, chainageText(c.zh, kPointForm));
        port.setField(Field::ZhX, coordinateText(c.xa, kZhFieldCoordinate));
        port.setField(Field::ZhY, coordinateText(c.ya, kZhFieldCoordinate));
        writeCaptions(port, kEntryArcCaptions);
        port.setField(Field::HyChainage, chainageText(c.hy, kPlainForm));
        port.setField(Field::HyX, coordinateText(c.xh1, kFieldCoordinate));
        port.setField(Field::HyY, coordinateText(c.yh1, kFieldCoordinate));
        return;
    }
    showCircleEnd(port, kZyEnd, c.zh, c.xa, c.ya);
}

void showExitEnd(const CurveRecord& record, const CurveElements& c, UserPort& port) {
    if (isZero(record.A2)) {
        showCircleEnd(port, kYzEnd, c.YZ, c.xb, c.yb);
        return;
    }
    writeCaptions(port, kExitArcCaptions);
    port.setField(Field::YhChainage, chainageText(c.yh, kPlainForm));
    port.setField(Field::YhX, coordinateText(c.xh2, kFieldCoordinate));
    port.setField(Field::YhY, coordinateText(c.yh2, kFieldCoordinate));
    writeCaptions(port, kExitPointCaptions);
    port.setField(Field::HzChainage, chainageText(c.hz, kPlainForm));
    port.setField(Field::HzX, coordinateText(c.xb, kFieldCoordinate));
    port.setField(Field::HzY, coordinateText(c.yb, kFieldCoordinate));
}

}  // namespace

void computeAndShowCurve(CurveRecord& record, UserPort& port) {
    // The stakes of the last run belong to the curve they were computed on.
    record.lastRun = StakeRun{};
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
    port.setField(Field::Ls1, elementText(c.Ls1));
    port.setField(Field::Ls2, elementText(c.Ls2));
    port.setField(Field::EntryTangent, elementText(c.T1));
    port.setField(Field::ExitTangent, elementText(c.T2));
    port.setField(Field::CentreX, centreText(c.Xo));
    port.setField(Field::CentreY, centreText(c.Yo));
    showEntryEnd(record, c, port);
    showExitEnd(record, c, port);
}

}  // namespace hcurve
