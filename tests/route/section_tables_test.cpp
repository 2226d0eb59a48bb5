// The cross-section tables of a route's files: what each reads, where it may stand, and every
// fault with its line as the user reads it.
#include <gtest/gtest.h>

#include "alignment/route.h"
#include "route_files/route_file.h"

namespace hcurve {
namespace {

const std::string kJdRoute =
    "点号,X,Y,R,A1,A2,桩号\n"
    "BP,0,0,,,,K1+000\n"
    "JD1,1000,0,300,100,100,\n"
    "JD2,1000,1000,300,0,0,\n"
    "EP,2000,1000,,,,\n";
const std::string kElementRoute =
    "起点桩号,X,Y,方位角\nK1+000,0,0,90\n\n长度,起点半径,终点半径,转向\n100,,,\n100,inf,200,左\n";

std::vector<std::string> faultTexts(const std::vector<std::string_view>& files) {
    std::vector<std::string> texts;
    const Result<RouteDesign> reading = readRouteFiles(files);
    if (reading)
        return texts;
    for (const Failure& f : reading.failures())
        texts.push_back("文件 " + std::to_string(f.file) + " " + faultText(f));
    return texts;
}

TEST(SectionTables, TheTablesOfBothKindsOfRoute) {
    const std::string section =
        "侧,部件,宽度,横坡,起点桩号\n"
        "左,行车道,7.5,路拱,\n右,行车道,7.5,路拱,\n"
        "左,行车道,3.75,路拱,K1+600\n右,行车道,3.75,路拱,k1+600.000\n"
        "\n路拱横坡,旋转轴\n1.5,内边线\n"
        "\n侧,类型,坡率,高度,平台宽\n"
        "左,填,1.5,8,2\n右,挖,0.75,10,1.5\n左,填,1.75,,\n右,挖,1,,\n"
        "\n侧,边沟底宽,边沟深,内坡率,外坡率\n右,0.6,0.8,1,1.5\n";
    const std::string jd =
        "\n交点,超高横坡,加宽,超高渐变长度,加宽过渡\nJD1,6,0.8,,高次\nJD2,4,,60,\n";
    // The section in a further file, its chainages read as the grade line's.
    const Result<RouteDesign> reading = readRouteFiles({kJdRoute, section + jd});
    ASSERT_TRUE(reading) << faultText(reading.failure());
    const SectionDesign& s = reading->section;
    ASSERT_EQ(s.components.size(), 4u);
    EXPECT_FALSE(s.components[0].from);
    ASSERT_TRUE(s.components[2].from && s.components[3].from);
    EXPECT_EQ(s.components[2].from->value_m, 1600);
    EXPECT_TRUE(s.components[2].from->broken);
    EXPECT_EQ(s.components[2].from->text, "K1+600");
    EXPECT_EQ(s.components[3].from->value_m, 1600);
    EXPECT_EQ(s.components[2].width_m, 3.75);
    ASSERT_TRUE(s.crown && s.crownTable);
    EXPECT_EQ(s.crownTable->file, 1u);
    EXPECT_EQ(s.crown->crown_pct, 1.5);
    EXPECT_EQ(s.crown->axis, RotationAxis::InnerEdge);
    EXPECT_EQ(s.crown->line, 8);
    ASSERT_EQ(s.superelevations.size(), 2u);
    EXPECT_EQ(s.superelevations[0].jd, "JD1");
    EXPECT_EQ(s.superelevations[0].superelevation_pct, 6);
    EXPECT_EQ(s.superelevations[0].widening_m, 0.8);
    EXPECT_EQ(s.superelevations[0].transition, WideningTransition::HighOrder);
    EXPECT_FALSE(s.superelevations[0].runOffLength_m);
    EXPECT_EQ(s.superelevations[1].widening_m, 0);
    EXPECT_EQ(s.superelevations[1].runOffLength_m, 60);
    EXPECT_EQ(s.superelevations[1].transition, WideningTransition::Linear);
    ASSERT_EQ(s.slopes.size(), 4u);
    EXPECT_EQ(s.slopes[0].kind, SlopeKind::Fill);
    EXPECT_EQ(s.slopes[0].ratio, 1.5);
    EXPECT_EQ(s.slopes[0].height_m, 8);
    EXPECT_EQ(s.slopes[0].berm_m, 2);
    EXPECT_EQ(s.slopes[1].kind, SlopeKind::Cut);
    EXPECT_EQ(s.slopes[1].side, SectionSide::Right);
    EXPECT_FALSE(s.slopes[2].height_m);
    EXPECT_EQ(s.slopes[2].berm_m, 0);
    ASSERT_EQ(s.ditches.size(), 1u);
    EXPECT_EQ(s.ditches[0].side, SectionSide::Right);
    EXPECT_EQ(s.ditches[0].bottomWidth_m, 0.6);
    EXPECT_EQ(s.ditches[0].depth_m, 0.8);
    EXPECT_EQ(s.ditches[0].innerRatio, 1);
    EXPECT_EQ(s.ditches[0].outerRatio, 1.5);

    // An element route gives the stretch of full superelevation; its 起点桩号 opens no start table.
    const Result<RouteDesign> elements = readRouteFiles(
        {kElementRoute + "\n起点桩号,终点桩号,超高横坡,加宽\nK1+120,1180,3,0.5\n\n" + section});
    ASSERT_TRUE(elements) << faultText(elements.failure());
    const SectionDesign& e = elements->section;
    ASSERT_EQ(e.superelevations.size(), 1u);
    EXPECT_EQ(e.superelevations[0].from->value_m, 1120);
    EXPECT_TRUE(e.superelevations[0].from->broken);
    EXPECT_EQ(e.superelevations[0].to->value_m, 1180);
    EXPECT_FALSE(e.superelevations[0].to->broken);
    EXPECT_EQ(e.superelevations[0].widening_m, 0.5);
    EXPECT_EQ(e.components.size(), 4u);
    ASSERT_TRUE(elements->elements);
    EXPECT_EQ(elements->elements->rows.size(), 2u);
}

TEST(SectionTables, EveryFaultIsAnsweredWithItsLine) {
    const std::string slopes = "\n侧,类型,坡率,高度,平台宽\n";
    const std::string se = "\n交点,超高横坡,加宽\n";
    const std::string crown = "\n路拱横坡,旋转轴\n";
    const std::string ditch = "\n侧,边沟底宽,边沟深,内坡率,外坡率\n";
    const std::string tmpl = "\n侧,部件,宽度,横坡\n";
    const std::string lanes = "左,行车道,3.75,路拱\n右,行车道,3.75,路拱\n";
    struct Case {
        const char* what;
        std::string tables;  // after the JD table (whose last line is 5; line 6 is empty)
        std::vector<std::string> faults;
    };
    const Case cases[] = {
        {"no carriageway on the right",
         tmpl + "左,行车道,3.75,路拱\n右,硬路肩,2.5,路拱\n",
         {"文件 0 第 8 行：模板的右侧没有 行车道。"}},
        {"a later template without a carriageway on the left",
         "\n侧,部件,宽度,横坡,起点桩号\n左,行车道,3.75,路拱,\n右,行车道,3.75,路拱,\n"
         "右,行车道,3.75,路拱,K1+600\n",
         {"文件 0 第 10 行：起点桩号 K1+600 的模板的左侧没有 行车道。"}},
        {"a component named twice on a side",
         tmpl + lanes + "左,土路肩,0.75,-4\n左,土路肩,0.5,-4\n",
         {"文件 0 第 11 行：左侧已有 土路肩（第 10 行）：同一侧的部件不能重名。"}},
        {"a template's rows apart",
         "\n侧,部件,宽度,横坡,起点桩号\n" + lanes +
             "左,行车道,3,路拱,K1+600\n右,行车道,3,路拱,K1+600\n" + "左,硬路肩,1,路拱,\n",
         {"文件 0 第 12 行：模板已在第 8 行开始：一个模板的行要连在一起。"}},
        {"a width of zero",
         tmpl + "左,行车道,0,路拱\n右,行车道,3.75,路拱\n",
         {"文件 0 第 8 行：宽度 必须是大于零的米数，“0” 不对。"}},
        {"a negative width",
         tmpl + lanes + "右,土路肩,-0.75,-4\n",
         {"文件 0 第 10 行：宽度 必须是大于零的米数，“-0.75” 不对。"}},
        {"a cross-fall beyond 20 %",
         tmpl + lanes + "右,土路肩,0.75,-25\n",
         {"文件 0 第 10 行：横坡 必须是不超过 ±20 的百分数（如 -2）或 路拱，“-25” 不对。"}},
        {"a cross-fall that is no number",
         tmpl + lanes + "右,土路肩,0.75,路供\n",
         {"文件 0 第 10 行：横坡 必须是不超过 ±20 的百分数（如 -2）或 路拱，“路供” 不对。"}},
        {"an unknown side",
         tmpl + lanes + "中,中央分隔带,2,-2\n",
         {"文件 0 第 10 行：侧 必须是 左 或 右，“中” 不对。"}},
        {"a template without a width column",
         "\n侧,部件,横坡\n左,行车道,路拱\n",
         {"文件 0 第 7 行：模板表的表头缺少 宽度 列。"}},
        {"a template given twice",
         tmpl + lanes + tmpl + lanes,
         {"文件 0 第 11 行：模板表只能有一个，这里又有一个。"}},
        {"a superelevation beyond 10 %",
         se + "JD1,12,0.8\n",
         {"文件 0 第 8 行：超高横坡 必须是 0 到 10 之间的百分数（如 6），“12” 不对。"}},
        {"a negative superelevation",
         se + "JD1,-4,0.8\n",
         {"文件 0 第 8 行：超高横坡 必须是 0 到 10 之间的百分数（如 6），“-4” 不对。"}},
        {"a widening beyond 5 m",
         se + "JD1,6,5.5\n",
         {"文件 0 第 8 行：加宽 必须是 0 到 5 之间的米数（如 0.8；不加宽填 0 或留空），“5.5” "
          "不对。"}},
        {"a JD given twice",
         se + "JD1,6,0.8\nJD2,4,0\nJD1,5,0\n",
         {"文件 0 第 10 行：交点 JD1 的超高已在第 8 行给出。"}},
        {"an unknown widening transition",
         "\n交点,超高横坡,加宽,加宽过渡\nJD1,6,0.8,抛物线\n",
         {"文件 0 第 8 行：加宽过渡 必须是 线性 或 高次，“抛物线” 不对。"}},
        {"a run-off of no length",
         "\n交点,超高横坡,加宽,超高渐变长度\nJD2,6,0.8,0\n",
         {"文件 0 第 8 行：超高渐变长度 必须是大于零的米数，“0” 不对。"}},
        {"a JD route's superelevation by chainages",
         "\n起点桩号,终点桩号,超高横坡,加宽\nK1+100,K1+200,6,0\n",
         {"文件 0 第 7 行：超高表的表头缺少 交点 列。"}},
        {"an unknown rotation axis",
         crown + "2,外边线\n",
         {"文件 0 第 8 行：旋转轴 必须是 中线 或 内边线，“外边线” 不对。"}},
        {"a crown of two rows",
         crown + "2,中线\n1.5,中线\n",
         {"文件 0 第 9 行：路拱表只能有一行（路拱横坡和旋转轴），现在有 2 行。"}},
        {"a crown beyond 20 %",
         crown + "25,中线\n",
         {"文件 0 第 8 行：路拱横坡 必须是大于 0、不超过 20 的百分数（如 2），“25” 不对。"}},
        {"a slope step without 坡率",
         slopes + "左,填,,8,2\n左,填,1.75,,\n",
         {"文件 0 第 8 行：坡率 不能为空：每一级边坡都要有坡率（1:m 的 m，如 1.5）。"}},
        {"a berm on the last step",
         slopes + "左,填,1.5,8,2\n左,填,1.75,,1\n",
         {"文件 0 第 9 行：左侧填方边坡的最后一级不能有平台（平台宽 留空）。"}},
        {"a height on the last step",
         slopes + "右,挖,0.75,10,2\n右,挖,1,10,\n",
         {"文件 0 第 9 行：右侧挖方边坡的最后一级不限高度：它的 高度 要留空。"}},
        {"a step after the last",
         slopes + "左,填,1.5,,\n左,填,1.75,,\n",
         {"文件 0 第 9 行：左侧填方边坡的第 8 行高度为空，已是最后一级：其后不能再有一级。"}},
        {"an unknown kind of slope",
         slopes + "左,填挖,1.5,,\n",
         {"文件 0 第 8 行：类型 必须是 填 或 挖，“填挖” 不对。"}},
        {"a slope step of no height",
         slopes + "左,填,1.5,0,2\n左,填,1.5,,\n",
         {"文件 0 第 8 行：高度 必须是大于零的米数（最后一级留空），“0” 不对。"}},
        {"a ditch of no depth",
         ditch + "左,0.6,0,1,1\n",
         {"文件 0 第 8 行：边沟深 必须是大于零的米数，“0” 不对。"}},
        {"two ditches on one side",
         ditch + "左,0.6,0.6,1,1\n左,0.4,0.6,1,1\n",
         {"文件 0 第 9 行：左侧的边沟已在第 8 行给出。"}},
        {"a ditch table given twice",
         ditch + "左,0.6,0.6,1,1\n" + ditch + "右,0.6,0.6,1,1\n",
         {"文件 0 第 10 行：边沟表只能有一个，这里又有一个。"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Every section is built on a template: one after the case's tables where it has none.
        const bool withTemplate = c.tables.find("部件") != std::string::npos;
        EXPECT_EQ(faultTexts({kJdRoute + c.tables + (withTemplate ? "" : tmpl + lanes)}), c.faults);
    }
    // Each table once across the files too; the fault names the file of the second.
    EXPECT_EQ(faultTexts({kJdRoute + "\n路拱横坡\n2\n" + tmpl + lanes, "路拱横坡\n2\n"}),
              std::vector<std::string>{"文件 1 第 1 行：路拱表只能有一个，这里又有一个。"});
    // A table of bad rows is told up to the route's limit of faults.
    std::string bad = tmpl;
    for (int i = 0; i < 150; ++i)
        bad += "左,行车道,0,路拱\n";
    EXPECT_EQ(readRouteFiles({kJdRoute + bad}).failures().size(), kMostRouteFaults);
    // So are the grade line's and the cross-fall's, read and placed on the route.
    std::string grade = "\n变坡点桩号,高程,竖曲线半径\n", fall = "\n桩号,左横坡,右横坡\n",
                before = fall;
    for (int i = 0; i < 150; ++i) {
        grade += "x,y,\n";
        fall += "x,-2,-2\n";
        before += std::to_string(1900 - i) + ",-2,-2\n";  // each before the one above it
    }
    EXPECT_EQ(readRouteFiles({kJdRoute + grade}).failures().size(), kMostRouteFaults);
    EXPECT_EQ(readRouteFiles({kJdRoute + fall}).failures().size(), kMostRouteFaults);
    const Result<RouteDesign> placed = readRouteFiles({kJdRoute + before});
    ASSERT_TRUE(placed);
    EXPECT_EQ(buildRoute(*placed).failures().size(), kMostRouteFaults);
    // Every section is built on a template.
    EXPECT_EQ(faultTexts({kJdRoute + slopes + "左,填,1.5,,\n"}),
              std::vector<std::string>{"文件 0 第 7 行：有边坡表而没有模板表（表头 "
                                       "侧,部件,宽度,横坡）：横断面从模板算起。"});
    // An element route has no JD to name.
    EXPECT_EQ(faultTexts({kElementRoute + se + "JD1,6,0\n" + tmpl + lanes}),
              (std::vector<std::string>{
                  "文件 0 第 8 行：超高表的表头缺少 起点桩号 列。",
                  "文件 0 第 8 行：超高表的表头缺少 终点桩号 列。",
                  "文件 0 第 8 行：这条路线由线元表给出，没有交点：超高表按全超高段的 起点桩号 和 "
                  "终点桩号 给出各曲线。"}));
}

// The tables the route read before keep reading as they did: a chain break after an empty line, an
// element start with its 起点桩号, a table of an unknown header, a JD table with columns of its own
// that a cross-section table names.
TEST(SectionTables, TheOtherTablesReadAsBefore) {
    const Result<RouteDesign> breaks =
        readRouteFiles({kJdRoute + "\n断链前桩号,断链后桩号\nK1+500,K1+490\n\nK1+800,K1+790\n"});
    ASSERT_TRUE(breaks);
    EXPECT_EQ(breaks->breaks.size(), 2u);
    const Result<RouteDesign> start = readRouteFiles({kElementRoute});
    ASSERT_TRUE(start && start->elementStart);
    EXPECT_EQ(start->elementStart->chainage_m, 1000);
    EXPECT_FALSE(start->section.templateTable);
    EXPECT_EQ(faultTexts({kJdRoute + "\n侧,宽\n左,3\n"}).size(), 1u);
    const Result<RouteDesign> notes = readRouteFiles(
        {"点号,X,Y,R,A1,A2,桩号,类型,类型,宽度\nBP,0,0,,,,K1+000,起点,,\nJD1,1000,0,300,100,100,,,,"
         "\nEP,1000,1000,,,,,终点,,\n"});
    EXPECT_TRUE(notes && notes->section.components.empty());
}

}  // namespace
}  // namespace hcurve
