#include "entry/design_entry.h"

#include <optional>

#include "curve/chainage.h"
#include "curve/dms.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "entry/curve_display.h"
#include "geometry/curve_elements.h"
#include "geometry/design_check.h"
#include "port/answers.h"
#include "port/side_questions.h"

namespace hcurve {
namespace {

const char* const kConfirmTail = "输入正确单击 Enter 键或点击 OK 钮; 错误输入零( 即为:0 )";

// How a design value is shown in its field.
enum class Display { JD, Chainage, Coordinate, Angle, Length };

// One design value's dialogue: its prompts, its field, its display and its check.
struct DesignQuestion {
    std::string CurveRecord::*value;
    Field field;
    Display display;
    std::optional<DesignValue> check;  // JD takes any text
    std::string firstPrompt;
    std::string confirmFirst;
    std::string confirmLater;
    std::string reentryPrompt;
    bool keepFieldOnRejection = false;  // the radius stays visible while it is typed again
};

std::string confirmation(const std::string& head) {
    return head + kConfirmTail;
}

std::string displayText(Display display, const std::string& typed, bool firstShowing) {
    switch (display) {
        case Display::JD:
            return (firstShowing ? "  JD" : " JD") + format(std::string_view(typed));
        case Display::Chainage:
            if (auto v = readNumber(typed))
                return chainageText(*v, kDesignForm);
            return typed;
        case Display::Coordinate:
            return " " + format(std::string_view(typed), Pattern::Fixed3);
        case Display::Angle:
            return " " + format(std::string_view(typed), Pattern::Fixed5);
        case Display::Length:
            return " " + format(std::string_view(typed), Pattern::Fixed4);
    }
    return typed;
}

std::vector<DesignQuestion> designQuestions() {
    return {
        {&CurveRecord::JD, Field::JdNumber, Display::JD, std::nullopt,
         "请输入交点的点号 : ( 不需输入冠号，只需输入点号 ) ",
         confirmation("确认交点点号输入是否正确 ?  "), confirmation("确认交点点号输入是否正确 ?  "),
         "输入交点正确的点号 : ( 不需输入冠号，只需输入点号 ) "},
        {&CurveRecord::K, Field::JdChainage, Display::Chainage, DesignValue::K,
         "请输入交点桩号 : ( 以米为单位 ) ", confirmation("确认输入的交点桩号输入是否正确 ?  "),
         confirmation("确认交点桩号输入是否正确 ?  "), "输入正确的交点桩号 : ( 以米为单位 ) "},
        {&CurveRecord::X, Field::JdX, Display::Coordinate, DesignValue::X,
         "请输入交点纵座标 : ( 以米为单位 )", confirmation("确认交点纵座标输入是否正确 ?  "),
         confirmation("确认交点纵座标输入是否正确 ?  "), "输入正确的交点纵座标 : ( 以米为单位 ) "},
        {&CurveRecord::Y, Field::JdY, Display::Coordinate, DesignValue::Y,
         "请输入交点横座标 :以米为单位 ", confirmation("确认交点横座标输入是否正确 ?  "),
         confirmation("确认交点横座标输入是否正确 ? "), "输入交点正确的横座标 :( 以米为单位 ) "},
        {&CurveRecord::T, Field::Azimuth, Display::Angle, DesignValue::T,
         "请输入起始端方位角 : ( 方位角是由以前的一个交点至本交点的方位角 ) ",
         confirmation("确认起始端方位角输入是否正确 ?  "),
         confirmation("确认起始端方位角输入是否正确 ?  "), "输入起始端正确的方位角 :"},
        {&CurveRecord::B, Field::Deflection, Display::Angle, DesignValue::B,
         "请输入偏角 : ( 如果平曲线右偏，输入正值; 平曲线左偏，输入负值 ) ",
         confirmation("确认偏角输入是否正确 ?  "), confirmation("确认偏角输入是否正确 ?  "),
         "输入正确的偏角 :"},
        {&CurveRecord::R, Field::Radius, Display::Length, DesignValue::R,
         "请输入平曲线的半径 : ( 以米为单位 ) ", confirmation("确认半径输入是否正确 ?  "),
         confirmation("确认半径输入是否正确 ?  "), "输入正确的半径 :", true},
        {&CurveRecord::A1, Field::A1, Display::Length, DesignValue::A1,
         "请输入起始端第一缓和曲线要素 A1 :", confirmation("确认第一缓和曲线要素输入是否正确 ?  "),
         confirmation("确认第一缓和曲线要素输入是否正确 ?  "), "输入正确的要素 :"},
        {&CurveRecord::A2, Field::A2, Display::Length, DesignValue::A2,
         "请输入终止端第二缓和曲线要素 A2 :", confirmation("确认第二缓和曲线要素输入是否正确 ?  "),
         confirmation("确认第二缓和曲线要素输入是否正确 ?  "), "请正确的要素 A2 :"},
    };
}

}  // namespace

std::string confirmationHint(const std::string& typed) {
    return "直接按 Enter 键表示输入正确，输入 0 表示输入错误：“" + typed + "” 两者都不是。";
}

namespace {

// The confirm loop: the value is asked, shown, and confirmed or typed again until it is accepted.
// An empty answer or a nonzero number accepts; a number equal to 0 rejects; any other answer is
// neither: a hint says so, and the same confirmation is asked again. An accepted value the design
// check refuses is answered with the reason and treated as rejected.
void confirmLoop(CurveRecord& record, UserPort& port, const DesignQuestion& q) {
    std::string& value = record.*q.value;
    value = port.ask(q.firstPrompt);
    port.setField(q.field, shownText(displayText(q.display, value, true)));
    bool firstConfirmation = true;
    for (;;) {
        std::string answer = port.ask(firstConfirmation ? q.confirmFirst : q.confirmLater);
        std::optional<double> number = readNumber(answer);
        if (!isBlank(answer) && !number) {
            // Neither yes nor no: say which answers count, then ask again.
            port.showMessage(confirmationHint(answer));
            continue;
        }
        firstConfirmation = false;
        bool rejected = number && *number == 0;
        if (!rejected) {
            std::optional<std::string> problem;
            if (q.check)
                problem = checkDesignValue(*q.check, value);
            if (!problem) {
                port.setField(q.field, shownText(displayText(q.display, value, false)));
                return;
            }
            port.showError(*problem);
            port.setField(q.field, "");
        } else if (!q.keepFieldOnRejection) {
            port.setField(q.field, "");
        }
        value = port.ask(q.reentryPrompt);
        port.setField(q.field, shownText(displayText(q.display, value, false)));
    }
}

bool isZero(const std::string& typed) {
    std::optional<double> v = readNumber(typed);
    return v && *v == 0;
}

const SideQuestions kEntrySideQuestions{
    {"输入左侧路基点或钻孔桩的个数 : 以单排桩为准 )", "左侧点数"},
    {"输入左侧计算的点分别距离中心线的距离 :( 以米为单位 )", "左侧点距中心线的距离"},
    {"输入右侧路基点或钻孔桩的个数 : ( 或右侧钻孔桩距离桥梁中心线的个数, 以单排桩为准 )",
     "右侧点数"},
    {"输入右侧计算的点分别距离中心线的距离 :( 以米为单位 )", "右侧点距中心线的距离"},
    {"确认计算单排还是双排 :  单排输入 1; 双排输入 2", "单排或双排"},
    {"输入前排钻孔桩距横轴的垂直距离 :( 以米为单位 )", "前排钻孔桩距横轴的距离"},
    {"输入后排钻孔桩距横轴的垂直距离 :( 以米为单位 )", "后排钻孔桩距横轴的距离"}};

void askSidePointSetup(CurveRecord& record, UserPort& port) {
    record.pp_dk = port.ask("要计算路基点或钻孔桩座标吗 ?  需要计算输入 Y ;  不要计算输入 N");
    if (sidePointsOn(record)) {
        record.dlxp = askInt16(
            port, {"是否现在输入路基寛度或钻孔距离桥梁中心线的桩距 ?  需要输入不等于零的任意数( "
                   "即:1,2,3,4,.... );  反之输入零( 即:0) ",
                   "是否现在输入距离的回答"});
    }
    // Asked whenever the widths were wanted now or in an earlier run.
    if (record.dlxp == 0)
        return;
    askSideWidths(record, port, kEntrySideQuestions);
    askRowDistances(record, port, kEntrySideQuestions);
}

}  // namespace

void designEntry(CurveRecord& record, UserPort& port) {
    for (const DesignQuestion& q : designQuestions()) {
        confirmLoop(record, port, q);
        if (q.value == &CurveRecord::B)
            record.Bdms = record.B;
        if (q.value == &CurveRecord::A1 && isZero(record.A1)) {
            port.setField(Field::A1, "不设缓和曲线");
        }
        if (q.value == &CurveRecord::A2 && isZero(record.A2)) {
            port.setField(Field::A2, "不设缓和曲线");
        }
    }
    askSidePointSetup(record, port);
    computeAndShowCurve(record, port);
}

}  // namespace hcurve
