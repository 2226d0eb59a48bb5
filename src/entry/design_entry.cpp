#include "entry/design_entry.h"

#include <optional>

#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "entry/curve_display.h"
#include "geometry/curve_elements.h"
#include "geometry/design_check.h"
#include "port/answers.h"
#include "port/messages.h"
#include "port/side_questions.h"

namespace hcurve {
namespace {

const char* const kConfirmTail = "输入正确单击 Enter 键或点击 OK 钮; 错误输入零( 即为:0 )";

// How a design value is shown in its field.
enum class Display { JD, Chainage, Coordinate, Angle, Length };

// One design value's dialogue: its prompts, its field, its display and its check.
struct DesignQuestion {
    double DesignValues::*number;  // where the accepted value goes; null for the JD's name
    Field field;
    Display display;
    std::optional<DesignValue> check;  // the JD's name takes any text
    std::string firstPrompt;
    std::string reentryPrompt;
    std::string confirm;       // the head of the confirmation, before kConfirmTail
    std::string confirmLater;  // the head once the value has been confirmed; empty: the same
};

// The radius stays visible while it is typed again after a 0.
bool keepsFieldOnRejection(const DesignQuestion& q) {
    return q.check == DesignValue::R;
}

// A spiral parameter of 0 shows that there is no spiral.
bool zeroMeansNoSpiral(const DesignQuestion& q) {
    return q.check == DesignValue::A1 || q.check == DesignValue::A2;
}

// An accepted number as its field shows it.
std::string numberText(Display display, double v) {
    switch (display) {
        case Display::Chainage:
            return chainageText(v, kDesignForm);
        case Display::Coordinate:
            return " " + format(v, Pattern::Fixed3);
        case Display::Angle:
            return " " + format(v, Pattern::Fixed5);
        case Display::Length:
        case Display::JD:
            break;
    }
    return " " + format(v, Pattern::Fixed4);
}

// The field while a value is typed and confirmed: a number as it will be kept, other text as
// typed. The JD's name is shown with two blanks until it is first confirmed, one after.
std::string typedText(Display display, const std::string& typed, bool firstShowing) {
    if (display == Display::JD)
        return shownText((firstShowing ? "  JD" : " JD") + format(std::string_view(typed)));
    if (std::optional<double> v = readNumber(typed))
        return numberText(display, *v);
    return shownText(display == Display::Chainage ? typed : " " + typed);
}

std::vector<DesignQuestion> designQuestions() {
    using V = DesignValues;
    return {
        {nullptr, Field::JdNumber, Display::JD, std::nullopt,
         "请输入交点的点号 : ( 不需输入冠号，只需输入点号 ) ",
         "输入交点正确的点号 : ( 不需输入冠号，只需输入点号 ) ", "确认交点点号输入是否正确 ?  ",
         ""},
        {&V::K_m, Field::JdChainage, Display::Chainage, DesignValue::K,
         "请输入交点桩号 : ( 以米为单位 ) ", "输入正确的交点桩号 : ( 以米为单位 ) ",
         "确认输入的交点桩号输入是否正确 ?  ", "确认交点桩号输入是否正确 ?  "},
        {&V::X_m, Field::JdX, Display::Coordinate, DesignValue::X,
         "请输入交点纵座标 : ( 以米为单位 )", "输入正确的交点纵座标 : ( 以米为单位 ) ",
         "确认交点纵座标输入是否正确 ?  ", ""},
        {&V::Y_m, Field::JdY, Display::Coordinate, DesignValue::Y, "请输入交点横座标 :以米为单位 ",
         "输入交点正确的横座标 :( 以米为单位 ) ", "确认交点横座标输入是否正确 ?  ",
         "确认交点横座标输入是否正确 ? "},
        {&V::T_dms, Field::Azimuth, Display::Angle, DesignValue::T,
         "请输入起始端方位角 : ( 方位角是由以前的一个交点至本交点的方位角 ) ",
         "输入起始端正确的方位角 :", "确认起始端方位角输入是否正确 ?  ", ""},
        {&V::B_dms, Field::Deflection, Display::Angle, DesignValue::B,
         "请输入偏角 : ( 如果平曲线右偏，输入正值; 平曲线左偏，输入负值 ) ",
         "输入正确的偏角 :", "确认偏角输入是否正确 ?  ", ""},
        {&V::R_m, Field::Radius, Display::Length, DesignValue::R,
         "请输入平曲线的半径 : ( 以米为单位 ) ", "输入正确的半径 :", "确认半径输入是否正确 ?  ",
         ""},
        {&V::A1_m, Field::A1, Display::Length, DesignValue::A1, "请输入起始端第一缓和曲线要素 A1 :",
         "输入正确的要素 :", "确认第一缓和曲线要素输入是否正确 ?  ", ""},
        {&V::A2_m, Field::A2, Display::Length, DesignValue::A2, "请输入终止端第二缓和曲线要素 A2 :",
         "请正确的要素 A2 :", "确认第二缓和曲线要素输入是否正确 ?  ", ""},
    };
}

}  // namespace

std::string confirmationHint(const std::string& typed) {
    return "直接按 Enter 键表示输入正确，输入 0 表示输入错误：“" + typed + "” 两者都不是。";
}

namespace {

// Keeps an accepted value in the record and shows it in its field: the JD's name as typed, a
// design value as the number the design check read.
void accept(CurveRecord& record, UserPort& port, const DesignQuestion& q, const std::string& typed,
            double v) {
    if (!q.number) {
        record.JD = typed;
        port.setField(q.field, typedText(q.display, typed, false));
        return;
    }
    record.design.*q.number = v;
    port.setField(q.field, numberText(q.display, v));
    if (zeroMeansNoSpiral(q) && v == 0)
        port.setField(q.field, "不设缓和曲线");
}

// A value as typed, read as its design check reads it: a value the check refuses is answered with
// the reason at once, its field is cleared and the value is typed again, before any confirmation.
DesignReading typedValue(UserPort& port, const DesignQuestion& q, std::string& typed,
                         bool firstShowing) {
    for (;;) {
        DesignReading reading;
        if (q.check)
            reading = readDesignValue(*q.check, typed);
        if (!reading.problem) {
            port.setField(q.field, typedText(q.display, typed, firstShowing));
            return reading;
        }
        port.showError(*reading.problem);
        port.setField(q.field, "");
        typed = port.ask(q.reentryPrompt);
        firstShowing = false;
    }
}

// The confirm loop: the value is asked, checked, shown, and confirmed or typed again until it is
// accepted. An empty answer or a nonzero number accepts; a number equal to 0 rejects; any other
// answer is neither: a hint says so, and the same confirmation is asked again.
void confirmLoop(CurveRecord& record, UserPort& port, const DesignQuestion& q) {
    std::string typed = port.ask(q.firstPrompt);
    DesignReading reading = typedValue(port, q, typed, true);
    bool firstConfirmation = true;
    for (;;) {
        const std::string& head =
            firstConfirmation || q.confirmLater.empty() ? q.confirm : q.confirmLater;
        std::string answer = port.ask(head + kConfirmTail);
        std::optional<double> number = readNumber(answer);
        if (!isBlank(answer) && !number) {
            // Neither yes nor no: say which answers count, then ask again.
            port.showMessage(confirmationHint(answer));
            continue;
        }
        firstConfirmation = false;
        if (!(number && *number == 0)) {
            accept(record, port, q, typed, reading.value);
            return;
        }
        if (!keepsFieldOnRejection(q))
            port.setField(q.field, "");
        typed = port.ask(q.reentryPrompt);
        reading = typedValue(port, q, typed, false);
    }
}

const SideQuestions kEntrySideQuestions{
    {"输入左侧路基点或钻孔桩的个数 : ( 以单排桩为准 )", "左侧点数"},
    {"输入左侧计算的点分别距离中心线的距离 :( 以米为单位 )", "左侧点距中心线的距离"},
    {"输入右侧路基点或钻孔桩的个数 : ( 或右侧钻孔桩距离桥梁中心线的个数, 以单排桩为准 )",
     "右侧点数"},
    {"输入右侧计算的点分别距离中心线的距离 :( 以米为单位 )", "右侧点距中心线的距离"},
    {"确认计算单排还是双排 :  单排输入 1; 双排输入 2", "单排或双排"},
    {"输入前排钻孔桩距横轴的垂直距离 :( 以米为单位 )", "前排钻孔桩距横轴的距离"},
    {"输入后排钻孔桩距横轴的垂直距离 :( 以米为单位 )", "后排钻孔桩距横轴的距离"}};

// N means no side points: the counts and distances of an earlier run are neither asked again nor
// used (a stake run without side points asks none), and stay as they were.
void askSidePointSetup(CurveRecord& record, UserPort& port) {
    record.pp_dk = port.ask("要计算路基点或钻孔桩座标吗 ?  需要计算输入 Y ;  不要计算输入 N");
    if (!sidePointsOn(record))
        return;
    record.dlxp = askInt16(
        port, {"是否现在输入路基寛度或钻孔距离桥梁中心线的桩距 ?  需要输入不等于零的任意数( "
               "即:1,2,3,4,.... );  反之输入零( 即:0) ",
               "是否现在输入距离的回答"});
    if (record.dlxp == 0)
        return;
    askSideWidths(record, port, kEntrySideQuestions);
    askRowDistances(record, port, kEntrySideQuestions);
}

}  // namespace

void designEntry(CurveRecord& record, UserPort& port) {
    for (const DesignQuestion& q : designQuestions())
        confirmLoop(record, port, q);
    askSidePointSetup(record, port);
    computeAndShowCurve(record, port);
}

void showDesignAndCurve(CurveRecord& record, UserPort& port) {
    for (const DesignQuestion& q : designQuestions())
        accept(record, port, q, record.JD, q.number ? record.design.*q.number : 0);
    computeAndShowCurve(record, port);
}

bool isDesignField(Field field) {
    for (const DesignQuestion& q : designQuestions()) {
        if (q.field == field)
            return true;
    }
    return false;
}

void changeDesignValue(CurveRecord& record, UserPort& port, Field field) {
    if (!record.curve) {
        port.showMessage(kNoComputedCurve);
        return;
    }
    for (const DesignQuestion& q : designQuestions()) {
        if (q.field == field) {
            confirmLoop(record, port, q);
            computeAndShowCurve(record, port);
            return;
        }
    }
}

}  // namespace hcurve
