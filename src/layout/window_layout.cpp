#include "layout/window_layout.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace hcurve::layout {

int twipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kBlack{0, 0, 0};

constexpr Rgb kLightOrange{255, 224, 192};
constexpr Rgb kLightMagenta{255, 192, 255};
constexpr Rgb kSilver{192, 192, 192};

// Field sizes that recur.
constexpr int kFieldWidth = 1455;
constexpr int kFieldHeight = 270;
constexpr int kLowFieldHeight = 255;
constexpr int kLabelHeight = 255;
constexpr int kAutoLabelHeight = 195;

constexpr int kButtonWidth = 975;
constexpr int kButtonHeight = 375;
constexpr int kButtonTop = 9840;

}  // namespace

// clang-format off
const std::array<LabelLayout, 57> kLabels{{
    // Design data, left column.
    {Label::DesignHeading,      "Label34", "(平曲线设计要素)",        {1440, 3120, 1815, kLabelHeight}, kSansBold105, false},
    {Label::JdNumber,           "Label1", " 交点号 JD",              {2520, 3600,  930, kAutoLabelHeight}, kUiBold, true},
    {Label::JdChainage,         "Label2", "交点桩号 K",              {2400, 3960,  960, kAutoLabelHeight}, kUiBold, true},
    {Label::JdX,                "Label3", " 交点纵座标 X",           {2160, 4320, 1215, kAutoLabelHeight}, kUiBold, true},
    {Label::JdY,                "Label4", "交点横座标 Y",            {2280, 4680, 1215, kLabelHeight}, kUiBold, false},
    {Label::Azimuth,            "Label5", "ZH 切线方位角 T",         {1920, 5040, 1575, kLabelHeight}, kUiBold, false},
    {Label::Deflection,         "Label6", "平曲线偏角 B",            {2280, 5400, 1215, kLabelHeight}, kUiBold, false},
    {Label::Radius,             "Label7", "平曲线半径 R",            {2280, 5760, 1215, kLabelHeight}, kUiBold, false},
    {Label::A1,                 "Label8", "第一缓和曲线要素 A1",     {1560, 6120, 1935, kLabelHeight}, kUiBold, false},
    {Label::A2,                 "Label9", "第二缓和曲线要素 A2",     {1560, 6480, 1935, kLabelHeight}, kUiBold, false},
    // Curve elements, left column.
    {Label::ElementsHeading,    "Label10","(曲线元素计算结果)",      {1440, 7080, 2295, kLabelHeight}, kUiBold12, false},
    {Label::Ls1,                "Label11"," 第一缓和曲线长度 Ls1",   {1320, 7440, 2175, kLabelHeight}, kUiBold, false},
    {Label::Ls2,                "Label12"," 第二缓和曲线长度 Ls2",   {1320, 7800, 2175, kLabelHeight}, kUiBold, false},
    {Label::EntryTangent,       "Label13","始端切线长度 T",          {2040, 8160, 1455, kLabelHeight}, kUiBold, false},
    {Label::ExitTangent,        "Label14","终端切线长度 T",          {2040, 8520, 1455, kLabelHeight}, kUiBold, false},
    {Label::CentreX,            "Label32","圆心纵座标 Xo",           {2160, 8880, 1335, kLabelHeight}, kUiBold, false},
    {Label::CentreY,            "Label33","圆心横座标 Yo",           {2160, 9240, 1335, kLabelHeight}, kUiBold, false},
    // Characteristic points, middle column.
    {Label::PointsHeading,      "Label15","(平曲线特征点计算结果)",  {5280, 3120, 2775, kLabelHeight}, kSansBold105, false},
    {Label::ZhGroup,            "Label45","直缓点 :",                {5400, 3480,  855, kLabelHeight}, kUiBold, false},
    {Label::ZhChainage,         "Label16"," 桩号 ZH",                {6000, 3720,  855, kLabelHeight}, kUiBold, false},
    {Label::ZhX,                "Label17"," 纵座标 X",               {5880, 4080,  975, kLabelHeight}, kUiBold, false},
    {Label::ZhY,                "Label18"," 横座标 Y",               {5880, 4440,  975, kLabelHeight}, kUiBold, false},
    {Label::HyGroup,            "Label46","缓圆点 :",                {5400, 5040,  855, kLabelHeight}, kUiBold, false},
    {Label::HyChainage,         "Label19"," 桩号 HY",                {6000, 5280,  855, kLabelHeight}, kUiBold, false},
    {Label::HyX,                "Label20"," 纵座标 X",               {5880, 5640,  975, kLabelHeight}, kUiBold, false},
    {Label::HyY,                "Label21"," 横座标 Y",               {5880, 6000,  975, kLabelHeight}, kUiBold, false},
    {Label::YhGroup,            "Label47","圆缓点 :",                {5400, 6600,  855, kLabelHeight}, kSongBold9, false},
    {Label::YhChainage,         "Label22"," 桩号 YH",                {6000, 6840,  855, kLabelHeight}, kUiBold, false},
    {Label::YhX,                "Label23"," 纵座标 X",               {5880, 7200,  975, kLabelHeight}, kUiBold, false},
    {Label::YhY,                "Label24"," 横座标 Y",               {5880, 7560,  975, kLabelHeight}, kUiBold, false},
    {Label::HzGroup,            "Label48","缓直点 :",                {5400, 8160,  855, kLabelHeight}, kUiBold, false},
    {Label::HzChainage,         "Label25"," 桩号 HZ",                {6000, 8400,  855, kLabelHeight}, kUiBold, false},
    {Label::HzX,                "Label26"," 纵座标 X",               {5880, 8760,  975, kLabelHeight}, kUiBold, false},
    {Label::HzY,                "Label27"," 横座标 Y",               {5880, 9120,  975, kLabelHeight}, kUiBold, false},
    // Stake results, right column.
    {Label::ResultsHeading,     "Label28","(显示待定点计算结果)",    {8760, 3120, 2535, kLabelHeight}, kSansBold105, false},
    {Label::AxisAngle,          "Label54","与法线夹角  Q",           {9240, 3720, 1335, kLabelHeight}, kUiBold, false},
    {Label::StakeGroup,         "Label44","中桩座标 :",              {8760, 4560, 1095, kLabelHeight}, kUiBold, false},
    {Label::StakeChainage,      "Label29","  桩号 Kp",               {9600, 4800,  975, kLabelHeight}, kUiBold, false},
    {Label::StakeX,             "Label30","纵座标 X",                {9720, 5160,  855, kLabelHeight}, kUiBold, false},
    {Label::StakeY,             "Label31","横座标 Y",                {9720, 5520,  855, kLabelHeight}, kUiBold, false},
    {Label::LeftGroup,          "Label42","左侧路基点 (或钻桩) 座标 :", {8760, 6120, 2655, kLabelHeight}, kUiBold, false},
    {Label::LeftDistance,       "Label36","  路基宽度 DL",           {9480, 6600, 1335, kLabelHeight}, kUiBold, false},
    {Label::LeftX,              "Label38","  纵座标 XL",             {9360, 6960, 1215, kLabelHeight}, kUiBold, false},
    {Label::LeftY,              "Label40","  横座标 YL",             {9360, 7320, 1215, kLabelHeight}, kUiBold, false},
    {Label::RightGroup,         "Label43","右侧路基点 (或钻桩) 座标 :", {8760, 7920, 2655, kLabelHeight}, kUiBold, false},
    {Label::RightDistance,      "Label37"," 路基宽度 DR",            {9480, 8400, 1335, kLabelHeight}, kUiBold, false},
    {Label::RightX,             "Label39","  纵座标 XR",             {9360, 8760, 1215, kLabelHeight}, kUiBold, false},
    {Label::RightY,             "Label41","  横座标 YR",             {9360, 9120, 1215, kLabelHeight}, kUiBold, false},
    // Title heading and sign diagram.
    {Label::Title,              "Label35",kTitleHeading,             {3720, 2280, 2295,  375}, kSongBold15, false},
    {Label::DiagramTitle,       "Label57","( 示 图 )",               {8880,  960,  975, kLabelHeight}, kSongBold9, false},
    {Label::DiagramUpperAxis,   "Label50","横轴",                    {11400, 1200, 495, kLabelHeight}, kSongBold9, false},
    {Label::DiagramLowerAxis,   "Label49","横轴",                    {11400, 2640, 495, kLabelHeight}, kSongBold9, false},
    {Label::DiagramNormal,      "Label51","法线",                    {11880, 1920, 495, kLabelHeight}, kSongBold9, false},
    {Label::DiagramMinusQ,      "Label53","-Q",                      {11040, 1680, 255, kLabelHeight}, kUiBold, false},
    {Label::DiagramPlusQ,       "Label52","+Q",                      {11040, 2280, 255, kLabelHeight}, kUiBold, false},
    {Label::DiagramLeft,        "Label55","左侧",                    {9360, 1680,  495, kLabelHeight}, kSongBold9, false},
    {Label::DiagramRight,       "Label56","右侧",                    {9360, 2160,  495, kLabelHeight}, kSongBold9, false},
}};

const std::array<FieldLayout, 37> kFields{{
    {Field::JdNumber,       "Text1", {3480, 3600, kFieldWidth, kFieldHeight}, false},
    {Field::JdChainage,     "Text2", {3480, 3960, kFieldWidth, kFieldHeight}, false},
    {Field::JdX,            "Text3", {3480, 4320, kFieldWidth, kFieldHeight}, false},
    {Field::JdY,            "Text4", {3480, 4680, kFieldWidth, kFieldHeight}, false},
    {Field::Azimuth,        "Text5", {3480, 5040, kFieldWidth, kFieldHeight}, false},
    {Field::Deflection,     "Text6", {3480, 5400, kFieldWidth, kFieldHeight}, false},
    {Field::Radius,         "Text7", {3480, 5760, kFieldWidth, kFieldHeight}, false},
    {Field::A1,             "Text8", {3480, 6120, kFieldWidth, kFieldHeight}, false},
    {Field::A2,             "Text9", {3480, 6480, kFieldWidth, kFieldHeight}, false},
    {Field::Ls1,            "Text10",{3480, 7440, kFieldWidth, kFieldHeight}, false},
    {Field::Ls2,            "Text11",{3480, 7800, kFieldWidth, kFieldHeight}, false},
    {Field::EntryTangent,   "Text12",{3480, 8160, kFieldWidth, kFieldHeight}, false},
    {Field::ExitTangent,    "Text13",{3480, 8520, kFieldWidth, kFieldHeight}, false},
    {Field::CentreX,        "Text29",{3480, 8880, kFieldWidth, kFieldHeight}, false},
    {Field::CentreY,        "Text30",{3480, 9240, kFieldWidth, kFieldHeight}, false},
    {Field::ZhChainage,     "Text14",{6840, 3720, kFieldWidth, kFieldHeight}, false},
    {Field::ZhX,            "Text15",{6840, 4080, kFieldWidth, kFieldHeight}, false},
    {Field::ZhY,            "Text16",{6840, 4440, kFieldWidth, kFieldHeight}, true},
    {Field::HyChainage,     "Text17",{6840, 5280, kFieldWidth, kFieldHeight}, false},
    {Field::HyX,            "Text18",{6840, 5640, kFieldWidth, kFieldHeight}, false},
    {Field::HyY,            "Text19",{6840, 6000, kFieldWidth, kFieldHeight}, false},
    {Field::YhChainage,     "Text20",{6840, 6840, kFieldWidth, kFieldHeight}, false},
    {Field::YhX,            "Text21",{6840, 7200, kFieldWidth, kFieldHeight}, false},
    {Field::YhY,            "Text22",{6840, 7560, kFieldWidth, kFieldHeight}, false},
    {Field::HzChainage,     "Text23",{6840, 8400, kFieldWidth, kFieldHeight}, false},
    {Field::HzX,            "Text24",{6840, 8760, kFieldWidth, kFieldHeight}, false},
    {Field::HzY,            "Text25",{6840, 9120, kFieldWidth, kFieldHeight}, false},
    {Field::AxisAngle,      "Text49",{10560, 3720, kFieldWidth, kLowFieldHeight}, false},
    {Field::StakeChainage,  "Text26",{10560, 4800, kFieldWidth, kFieldHeight}, false},
    {Field::StakeX,         "Text27",{10560, 5160, kFieldWidth, kFieldHeight}, false},
    {Field::StakeY,         "Text28",{10560, 5520, kFieldWidth, kFieldHeight}, false},
    {Field::LeftDistance,   "Text31",{10800, 6600,  975, kLowFieldHeight}, false},
    {Field::LeftX,          "Text32",{10560, 6960, kFieldWidth, kLowFieldHeight}, false},
    {Field::LeftY,          "Text33",{10560, 7320, kFieldWidth, kLowFieldHeight}, false},
    {Field::RightDistance,  "Text34",{10800, 8400,  930, kLowFieldHeight}, false},
    {Field::RightX,         "Text35",{10560, 8760, kFieldWidth, kLowFieldHeight}, false},
    {Field::RightY,         "Text36",{10560, 9120, kFieldWidth, kLowFieldHeight}, false},
}};

const std::array<LineLayout, 25> kLines{{
    {1,  kRed,   2, 10440, 1080, 10440, 2880},  // diagram: centre line
    {2,  kBlack, 2, 9000,  2040, 11760, 2040},  // diagram: the normal
    {3,  kRed,   3, 8640,  3000, 8655,  3015},  // frame: stub below the diagram box
    {4,  kRed,   3, 12480, 840,  12480, 9600},  // frame: right edge
    {5,  kRed,   3, 1200,  9600, 1200,  3000},  // frame: left edge
    {6,  kRed,   2, 1200,  6960, 5160,  6960},  // design data / curve elements
    {7,  kRed,   2, 5160,  4920, 8640,  4920},  // ZH / HY
    {8,  kRed,   2, 5160,  6480, 8640,  6480},  // HY / YH
    {9,  kRed,   2, 8640,  7800, 12480, 7800},  // left side point / right side point
    {10, kRed,   2, 8640,  6000, 12480, 6000},  // centre stake / left side point
    {11, kRed,   2, 5160,  3000, 5160,  9600},  // left column / middle column
    {12, kRed,   2, 5160,  8040, 8640,  8040},  // YH / HZ
    {13, kRed,   2, 8640,  4440, 12480, 4440},  // angle Q / centre stake
    {14, kRed,   3, 1200,  3000, 12480, 3000},  // frame: top of the display area
    {15, kRed,   3, 8640,  840,  8640,  9600},  // frame: diagram box and right column, left edge
    {16, kRed,   3, 1200,  9600, 12480, 9600},  // frame: bottom edge
    {17, kBlue,  2, 11280, 1200, 9600,  2880},  // diagram: transverse axis
    {18, kBlue,  2, 9600,  1200, 11280, 2880},  // diagram: transverse axis
    {19, kGrey,  2, 10920, 1560, 11040, 1680},  // diagram: angle arc
    {20, kGrey,  2, 11160, 1800, 11040, 2040},  // diagram: angle arc
    {21, kGrey,  2, 11040, 2040, 11160, 2280},  // diagram: angle arc
    {22, kGrey,  2, 11160, 2520, 11040, 2640},  // diagram: angle arc
    {23, kBlack, 2, 11520, 1920, 11760, 2040},  // diagram: arrowhead, upper stroke
    {24, kBlack, 2, 11760, 2040, 11520, 2160},  // diagram: arrowhead, lower stroke
    {25, kRed,   3, 8640,  840,  12480, 840},   // frame: top of the diagram box
}};

const std::array<ButtonLayout, 4> kButtons{{
    {Button::DesignEntry, "command1", {4560, kButtonTop, kButtonWidth, kButtonHeight}, kLightOrange},
    {Button::StakeRun, "command2", {5760, kButtonTop, kButtonWidth, kButtonHeight}, kLightOrange},
    {Button::Print, "Command4", {6960, kButtonTop, kButtonWidth, kButtonHeight}, kLightMagenta},
    {Button::End, "command3", {8160, kButtonTop, kButtonWidth, kButtonHeight}, kSilver},
}};

const std::array<const char*, 41> kFocusOrder{{
    "Text2",  "Text3",  "Text4",  "Text5",  "Text6",  "Text7",  "Text8",  "Text9",  "Text10",
    "Text11", "Text12", "Text13", "Text14", "Text15", "Text16", "Text17", "Text18", "Text19",
    "Text20", "Text21", "Text22", "Text23", "Text24", "Text25", "Text26", "Text27", "Text28",
    "command1", "command2", "Text29", "Text30", "Text1", "command3",
    "Text31", "Text32", "Text33", "Text34", "Text35", "Text36", "Text49", "Command4",
}};
// clang-format on

namespace {

template <typename Table, typename Key, typename KeyOf>
const typename Table::value_type& find(const Table& table, Key key, KeyOf keyOf, const char* what) {
    auto it = std::find_if(table.begin(), table.end(), [&](const typename Table::value_type& row) {
        return keyOf(row) == key;
    });
    if (it == table.end()) {
        throw std::out_of_range(std::string("no such control in the window layout: ") + what);
    }
    return *it;
}

}  // namespace

const LabelLayout& labelLayout(Label label) {
    return find(
        kLabels, label, [](const LabelLayout& s) { return s.label; }, "label");
}

const FieldLayout& fieldLayout(Field field) {
    return find(
        kFields, field, [](const FieldLayout& s) { return s.field; }, "field");
}

const LineLayout& lineLayout(int number) {
    return find(
        kLines, number, [](const LineLayout& s) { return s.number; }, "line");
}

const ButtonLayout& buttonLayout(Button button) {
    return find(
        kButtons, button, [](const ButtonLayout& s) { return s.button; }, "button");
}

}  // namespace hcurve::layout
