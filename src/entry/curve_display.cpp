#include "entry/curve_display.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "curve/chainage.h"
#include "curve/format.h"
#include "geometry/curve_elements.h"
#include "geometry/design_check.h"
#include "stakes/stake_listing.h"

namespace hcurve {
namespace {

// Lengths of the elements: two blanks and the value to four decimals, trailing zeros dropped.
std::string elementText(double v_m) {
    return "  " + generalText(roundTo(v_m, 4));
}
std::string centreText(double v_m) {
    return " " + generalText(roundTo(v_m, 4));
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

struct Caption {
    Label label;
    const char* text;
};

// A characteristic point as the window shows it: its captions, then its chainage, X and Y.
struct PointDisplay {
    std::vector<Caption> captions;
    Field fields[3];  // chainage, X, Y
    ChainageForm chainageForm;
    CoordinateForm coordinateForm;
};

void showPoint(UserPort& port, const PointDisplay& point, double chainage_m, double x_m,
               double y_m) {
    for (const Caption& caption : point.captions)
        port.setCaption(caption.label, caption.text);
    port.setField(point.fields[0], chainageText(chainage_m, point.chainageForm));
    port.setField(point.fields[1], coordinateText(x_m, point.coordinateForm));
    port.setField(point.fields[2], coordinateText(y_m, point.coordinateForm));
}

// The four points under the captions of the design, each end with its spiral; the ZH point shows
// its coordinates to four decimals.
const PointDisplay kZhPoint{{{Label::ZhGroup, "直缓点 :"},
                             {Label::ZhChainage, " 桩号 ZH"},
                             {Label::ZhX, " 纵座标 X"},
                             {Label::ZhY, " 横座标 Y"}},
                            {Field::ZhChainage, Field::ZhX, Field::ZhY},
                            kPointForm,
                            kZhFieldCoordinate};
const PointDisplay kHyPoint{{{Label::HyGroup, "缓圆点 :"}, {Label::HyChainage, " 桩号 HY"}},
                            {Field::HyChainage, Field::HyX, Field::HyY},
                            kPlainForm,
                            kFieldCoordinate};
const PointDisplay kYhPoint{{{Label::YhGroup, "圆缓点 :"}, {Label::YhChainage, " 桩号 YH"}},
                            {Field::YhChainage, Field::YhX, Field::YhY},
                            kPlainForm,
                            kFieldCoordinate};
const PointDisplay kHzPoint{{{Label::HzGroup, "缓直点 :"},
                             {Label::HzChainage, " 桩号 HZ"},
                             {Label::HzX, " 纵座标 X"},
                             {Label::HzY, " 横座标 Y"}},
                            {Field::HzChainage, Field::HzX, Field::HzY},
                            kPlainForm,
                            kFieldCoordinate};

// An end without its spiral: the group of the missing spiral's outer point (ZH or HZ) goes blank,
// and the arc group shows the circle's end point (ZY or YZ).
struct CircleEnd {
    const PointDisplay& blanked;
    PointDisplay point;
};
const CircleEnd kZyEnd{kZhPoint,
                       {{{Label::HyGroup, "直圆点 :"}, {Label::HyChainage, "        ZY"}},
                        {Field::HyChainage, Field::HyX, Field::HyY},
                        kPlainForm,
                        kFieldCoordinate}};
const CircleEnd kYzEnd{kHzPoint,
                       {{{Label::YhGroup, "圆直点 :"}, {Label::YhChainage, "        YZ"}},
                        {Field::YhChainage, Field::YhX, Field::YhY},
                        kPlainForm,
                        kFieldCoordinate}};

void showCircleEnd(UserPort& port, const CircleEnd& end, double chainage_m, double x_m,
                   double y_m) {
    for (const Caption& caption : end.blanked.captions)
        port.setCaption(caption.label, "");
    for (Field field : end.blanked.fields)
        port.setField(field, "");
    showPoint(port, end.point, chainage_m, x_m, y_m);
}

// Each curve writes the captions of its own ends, so that a spiral comes back under its own
// names after a curve without it.
void showEnds(const CurveElements& c, UserPort& port) {
    if (c.A1 != 0) {
        showPoint(port, kZhPoint, c.zh, c.xa, c.ya);
        showPoint(port, kHyPoint, c.hy, c.xh1, c.yh1);
    } else {
        showCircleEnd(port, kZyEnd, c.zh, c.xa, c.ya);
    }
    if (c.A2 != 0) {
        showPoint(port, kYhPoint, c.yh, c.xh2, c.yh2);
        showPoint(port, kHzPoint, c.hz, c.xb, c.yb);
    } else {
        showCircleEnd(port, kYzEnd, c.YZ, c.xb, c.yb);
    }
}

}  // namespace

void computeAndShowCurve(CurveRecord& record, UserPort& port) {
    // The stakes of the last run belong to the curve they were computed on, and so does what the
    // window shows of them.
    record.lastRun = StakeRun{};
    clearStakeResults(port);
    const CurveElements c = computeCurve(record.design);
    if (const Result<void> checked = checkCurve(c); !checked) {
        refuse(record, port, checked.failure().message);
        return;
    }
    record.curve = c;
    port.setField(Field::Ls1, elementText(c.Ls1));
    port.setField(Field::Ls2, elementText(c.Ls2));
    port.setField(Field::EntryTangent, elementText(c.T1));
    port.setField(Field::ExitTangent, elementText(c.T2));
    port.setField(Field::CentreX, centreText(c.Xo));
    port.setField(Field::CentreY, centreText(c.Yo));
    showEnds(c, port);
}

}  // namespace hcurve
