// `hcurve route` on a road with a cross-section: the edges beside the stakes and in the exports,
// the design sections, slope stakes of single points and of a file, the component under a located
// point, and the options' faults. The road runs north from K1+000 (X = chainage - 1000, Y = 0),
// turns right on JD1 (R 300, spirals of 75 m) and runs east; its grade rises 1 % from 100.000.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "route_cli/route_command.h"
#include "support/ramp_landxml.h"
#include "support/route_command_run.h"

namespace hcurve {
namespace {

using testing::linesOf;
using testing::Outcome;

const std::string kPlan =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,150,150,\nEP,1000,1000,,,,\n"
    "\n变坡点桩号,高程,竖曲线半径\nK1+000,100,\nK2+800,118,\n";
// Four lanes, their shoulders; from K2+400 on the left side without its hard shoulder.
const std::string kSection =
    "侧,部件,宽度,横坡,起点桩号\n"
    "左,行车道,7.5,路拱,\n左,硬路肩,2.5,路拱,\n左,土路肩,0.75,-4,\n"
    "右,行车道,7.5,路拱,\n右,硬路肩,2.5,路拱,\n右,土路肩,0.75,-4,\n"
    "左,行车道,7.5,路拱,K2+400\n左,土路肩,0.75,-4,K2+400\n"
    "右,行车道,7.5,路拱,K2+400\n右,硬路肩,2.5,路拱,K2+400\n右,土路肩,0.75,-4,K2+400\n"
    "\n路拱横坡,旋转轴\n2,中线\n"
    "\n交点,超高横坡,加宽\nJD1,6,0.8\n"
    "\n侧,类型,坡率,高度,平台宽\n"
    "左,填,1.5,8,2\n左,填,1.75,,\n右,填,1.5,,\n右,挖,0.75,10,1.5\n右,挖,1,,\n"
    "\n侧,边沟底宽,边沟深,内坡率,外坡率\n右,0.6,0.6,1,1\n";

// The grade line's elevation at a chainage on the straight before the curve's vertical nothing.
double gradeH(double chainage_m) {
    return 100 + (chainage_m - 1000) * 0.01;
}

std::string fixed4(double v) {
    std::ostringstream s;
    s.setf(std::ios::fixed);
    s.precision(4);
    s << v;
    return s.str();
}

std::string format3(double v) {
    std::ostringstream s;
    s.setf(std::ios::fixed);
    s.precision(3);
    s << v;
    return s.str();
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
        fields.push_back(line.substr(start, comma - start));
    fields.push_back(line.substr(start));
    return fields;
}

class SectionCommand : public testing::RouteCommandTest {
  protected:
    void SetUp() override {
        RouteCommandTest::SetUp();
        road_ = write("road.csv", kPlan + "\n" + kSection);
    }

    std::string road_;
};

TEST_F(SectionCommand, EdgesBesideTheStakes) {
    const Outcome r =
        run({road_, "--stakes", "--interval", "300", "--from", "1500", "--to", "2500", "--edges"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = linesOf(r.out);
    ASSERT_GE(rows.size(), 4u);
    const auto at = [&](const std::string& stake) {
        for (const std::string& row : rows)
            if (fieldsOf(row)[1] == stake)
                return row;
        return std::string();
    };
    EXPECT_EQ(rows[0],
              "点,桩号,里程,X,Y,方位角,高程,"
              "左行车道边缘偏距,左行车道边缘高程,左硬路肩边缘偏距,左硬路肩边缘高程,"
              "左土路肩边缘偏距,左土路肩边缘高程,"
              "右行车道边缘偏距,右行车道边缘高程,右硬路肩边缘偏距,右硬路肩边缘高程,"
              "右土路肩边缘偏距,右土路肩边缘高程");
    // K1+500 on the straight: the crown falls 2 % on both sides, the shoulder of earth 4 %.
    const double h = gradeH(1500);
    const double lane = h - 7.5 * 0.02, hard = lane - 2.5 * 0.02, earth = hard - 0.75 * 0.04;
    EXPECT_EQ(at("K1+500.000"), ",K1+500.000,1500.0000,500.0000,0.0000,0.000000," + fixed4(h) +
                                    ",-7.5000," + fixed4(lane) + ",-10.0000," + fixed4(hard) +
                                    ",-10.7500," + fixed4(earth) + ",7.5000," + fixed4(lane) +
                                    ",10.0000," + fixed4(hard) + ",10.7500," + fixed4(earth));
    // K1+800 between HY and YH: full superelevation, 6 % rising to the left (the outside of the
    // right-hand curve); the right lane widened by 0.8 m, its fixed 4 % shoulder falling 6 % with
    // the inner carriageway, the outer one keeping its own -4 %.
    const std::vector<std::string> k1800 = fieldsOf(at("K1+800.000"));
    ASSERT_EQ(k1800.size(), 19u);
    EXPECT_EQ(k1800[1], "K1+800.000");
    const double c = std::stod(k1800[6]);
    const double outer = c + 7.5 * 0.06, outerHard = outer + 2.5 * 0.06;
    const double inner = c - 8.3 * 0.06, innerHard = inner - 2.5 * 0.06;
    const std::vector<std::string> edges(k1800.begin() + 7, k1800.end());
    EXPECT_EQ(edges, (std::vector<std::string>{
                         "-7.5000", fixed4(outer), "-10.0000", fixed4(outerHard), "-10.7500",
                         fixed4(outerHard - 0.75 * 0.04), "8.3000", fixed4(inner), "10.8000",
                         fixed4(innerHard), "11.5500", fixed4(innerHard - 0.75 * 0.06)}));
    // From K2+400 the left side has no hard shoulder: its columns are empty.
    const std::vector<std::string> last = fieldsOf(at("K2+400.000"));
    ASSERT_EQ(last.size(), 19u);
    EXPECT_EQ(last[1], "K2+400.000");
    EXPECT_EQ(last[9], "");
    EXPECT_EQ(last[10], "");
    EXPECT_EQ(last[11], "-8.2500");
}

TEST_F(SectionCommand, EdgesInTheExports) {
    const std::string csv = (folder_ / "edges.csv").string();
    const std::string gsi = (folder_ / "edges.gsi").string();
    for (const std::string& out : {csv, gsi}) {
        const Outcome r = run({road_, "--stakes", "--interval", "500", "--from", "1500", "--to",
                               "1500", "--right", "5", "--edges", "--out", out});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    std::ifstream in(csv, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<std::string> rows = linesOf(text);
    ASSERT_EQ(rows.size(), 9u);
    // The stake, its side point, then its edges named by component, on the normal (east).
    EXPECT_EQ(rows[2], "K1+500.000-R1,K1+500.000,500.000,5.000,右,单排,5,104.900\r");
    EXPECT_EQ(rows[3], "K1+500.000-左行车道,K1+500.000,500.000,-7.500,左,行车道,7.500,104.850\r");
    EXPECT_EQ(rows[8], "K1+500.000-右土路肩,K1+500.000,500.000,10.750,右,土路肩,10.750,104.770\r");
    // A GSI point number holds no Chinese: the edges are numbered outwards on their side.
    std::ifstream g(gsi, std::ios::binary);
    const std::vector<std::string> blocks =
        linesOf(std::string((std::istreambuf_iterator<char>(g)), std::istreambuf_iterator<char>()));
    ASSERT_EQ(blocks.size(), 8u);
    EXPECT_EQ(blocks[2].substr(0, 24), "*110003+00K1+500.000-LE1");
    EXPECT_EQ(blocks[7].substr(0, 24), "*110008+00K1+500.000-RE3");
}

// The side points of --left and --right lie on the design surface the edges and --locate give:
// on the formation its elevation at their offsets, beyond it none (no ground tells fill from cut).
TEST_F(SectionCommand, SidePointsTakeTheirHeightsFromTheSection) {
    const Outcome r = run({road_, "--stakes", "--interval", "300", "--from", "1500", "--to", "1800",
                           "--left", "5,9,13", "--right", "5,10.75", "--edges"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = linesOf(r.out);
    ASSERT_EQ(rows.size(), 5u);  // K1+500, ZH, HY, K1+800
    const std::string sides =
        "点,桩号,里程,X,Y,方位角,高程,左1X,左1Y,左1H,左2X,左2Y,左2H,左3X,左3Y,左3H,"
        "右1X,右1Y,右1H,右2X,右2Y,右2H,左行车道边缘偏距";
    EXPECT_EQ(rows[0].substr(0, sides.size()), sides);
    struct Case {
        const char* what;
        std::size_t row;
        std::vector<std::string> heights;  // 左1H 左2H 左3H 右1H 右2H
    };
    // On the straight the crown falls 2 %, the earth shoulder (10 m to 10.75 m) 4 %. At K1+800 in
    // the full superelevation of 6 % the left (outer) side rises, the hard shoulder with it; the
    // right (inner) lane is widened by 0.8 m and its earth shoulder falls as steeply as it.
    const double h = gradeH(1500), c = gradeH(1800);
    const Case cases[] = {
        {"on the straight",
         1,
         {fixed4(h - 5 * 0.02), fixed4(h - 9 * 0.02), "", fixed4(h - 5 * 0.02),
          fixed4(h - 10 * 0.02 - 0.75 * 0.04)}},
        {"in the full superelevation",
         4,
         {fixed4(c + 5 * 0.06), fixed4(c + 9 * 0.06), "", fixed4(c - 5 * 0.06),
          fixed4(c - 10.75 * 0.06)}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const std::vector<std::string> f = fieldsOf(rows[k.row]);
        ASSERT_EQ(f.size(), 22u + 12u);
        EXPECT_EQ((std::vector<std::string>{f[9], f[12], f[15], f[18], f[21]}), k.heights);
        // A side point and --locate at its place answer alike.
        for (std::size_t x : {7u, 10u, 16u, 19u}) {
            const Outcome at = run({road_, "--locate", f[x], f[x + 1]});
            ASSERT_EQ(at.status, 0) << at.err;
            EXPECT_EQ(fieldsOf(linesOf(at.out)[1])[5], f[x + 2]);
        }
    }
    // On the straight the right side point at 10.75 m is the earth shoulder's edge.
    EXPECT_EQ(fieldsOf(rows[1])[21], fieldsOf(rows[1])[22 + 11]);
    // The exports carry them.
    const std::string dat = (folder_ / "sides.dat").string();
    const Outcome out = run({road_, "--stakes", "--interval", "500", "--from", "1500", "--to",
                             "1500", "--left", "5,13", "--out", dat});
    ASSERT_EQ(out.status, 0) << out.err;
    std::ifstream in(dat, std::ios::binary);
    const std::vector<std::string> points = linesOf(
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    ASSERT_EQ(points.size(), 3u);
    EXPECT_NE(points[1].find(format3(h - 0.1)), std::string::npos) << points[1];
    EXPECT_EQ(points[2].find(format3(h - 0.1)), std::string::npos) << points[2];
    // A cross-fall table beside a template would be a second answer for the carriageway.
    const Outcome both =
        run({road_, write("fall.csv", "桩号,左横坡,右横坡\nK1+000,-2,-2\n"), "--elements"});
    EXPECT_EQ(both.status, 1);
    EXPECT_EQ(both.err, (folder_ / "fall.csv").string() +
                            ": 第 1 行：有模板表时横坡由路拱和超高给出，不能再有横坡表。\n");
}

// A ramp from LandXML (CoordGeom: an element route; 100 m straight, 60 m spiral, an arc of R 500
// to 240, 60 m spiral; grade from 50.000 rising 2 % to 200), with the cross-section tables of the
// design office in a CSV file beside it.
const std::string kRamp = testing::kRampLandXml;

TEST_F(SectionCommand, SectionTablesBesideALandXmlFile) {
    const std::string xml = write("ramp.xml", kRamp);
    const std::string lanes = "侧,部件,宽度,横坡\n左,行车道,3.5,路拱\n右,行车道,3.5,路拱\n";
    const std::string byChainage =
        write("stretch.csv", lanes + "\n起点桩号,终点桩号,超高横坡,加宽\n160,240,6,0.5\n");
    // The arc K0+160..K0+240 turns right: at QZ the left edge 6 % above the centre line, the right
    // one, widened by 0.5 m, 6 % below; on the straight at K0+050 the crown of 2 %.
    for (const std::vector<std::string>& files :
         {std::vector<std::string>{xml, byChainage}, std::vector<std::string>{byChainage, xml}}) {
        std::vector<std::string> args = files;
        args.insert(args.end(), {"--stakes", "--interval", "50", "--to", "200", "--edges"});
        const Outcome r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const std::vector<std::string> rows = linesOf(r.out);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows[0],
                  "点,桩号,里程,X,Y,方位角,高程,左行车道边缘偏距,左行车道边缘高程,"
                  "右行车道边缘偏距,右行车道边缘高程");
        for (const std::string& row : rows) {
            const std::vector<std::string> f = fieldsOf(row);
            if (f[1] == "K0+050.000") {
                EXPECT_EQ(row,
                          ",K0+050.000,50.0000,3456035.3553,512035.3553,45.000000,51.0000,"
                          "-3.5000,50.9300,3.5000,50.9300");
            }
            if (f[0] == "QZ") {
                const double c = std::stod(f[6]);
                EXPECT_EQ((std::vector<std::string>(f.begin() + 7, f.end())),
                          (std::vector<std::string>{"-3.5000", fixed4(c + 3.5 * 0.06), "4.0000",
                                                    fixed4(c - 4 * 0.06)}));
            }
        }
    }
    // The route of CoordGeom has no JD to name; a file with any other table than the
    // cross-section's is not read with a LandXML file, nor a second LandXML file.
    const std::string byJd = write("jd.csv", lanes + "\n交点,超高横坡\nJD1,6\n");
    const std::string alone = "hcurve: LandXML 文件“" + xml + "”要单独读，不能与别的文件一起读。\n";
    struct Case {
        const char* what;
        std::vector<std::string> files;
        std::string err;
    };
    const Case cases[] = {
        {"superelevation by JD",
         {xml, byJd},
         byJd + ": 第 5 行：超高表的表头缺少 起点桩号 列。\n" + byJd +
             ": 第 5 行：超高表的表头缺少 终点桩号 列。\n" + byJd +
             ": 第 5 行：这条路线由线元表给出，没有交点：超高表按全超高段的 起点桩号 和 终点桩号 "
             "给出各曲线。\n"},
        {"a JD table", {xml, road_}, alone},
        {"a grade line",
         {xml, write("grade.csv", lanes + "\n变坡点桩号,高程,竖曲线半径\n0,50,\n400,58,\n")},
         alone},
        {"a cross-fall", {xml, write("fall.csv", "桩号,左横坡,右横坡\n0,-2,-2\n")}, alone},
        {"chain breaks", {xml, write("breaks.csv", "断链前桩号,断链后桩号\n300,290\n")}, alone},
        {"an unknown table", {xml, write("other.csv", lanes + "\n甲,乙\n1,2\n")}, alone},
        {"two LandXML files", {xml, byChainage, write("again.xml", kRamp)}, alone},
        {"a table without a template",
         {xml, write("crown.csv", "路拱横坡\n2\n")},
         (folder_ / "crown.csv").string() +
             ": 第 1 行：有路拱表而没有模板表（表头 侧,部件,宽度,横坡）：横断面从模板算起。\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = c.files;
        args.push_back("--segments");
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

// Surveyed ground beside a LandXML file, as beside a JD table: the sections placed on the
// alignment, the stake table's ground columns and --ground. On the ramp's first straight the grade
// rises 2 % from 50.000: 51.000 at K0+050, 52.000 at K0+100.
TEST_F(SectionCommand, GroundBesideALandXmlFile) {
    const std::string xml = write("ramp.xml", kRamp);
    const std::string ground = write("ground.txt",
                                     "BEGIN,K0+050\n-5,50.2\n0,50.6\n5,50.9\n"
                                     "BEGIN,K0+100\n-4,52.9\n6,53.4\n");
    // K0+100: 52.9 + 4/10 (53.4 - 52.9) = 53.1 at the centre, 1.1 m above the design: a cut.
    for (const std::vector<std::string>& files :
         {std::vector<std::string>{xml, ground}, std::vector<std::string>{ground, xml}}) {
        std::vector<std::string> args = files;
        args.insert(args.end(), {"--stakes", "--interval", "50", "--to", "100"});
        Outcome r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> rows = linesOf(r.out);
        ASSERT_EQ(rows.size(), 4u) << r.out;
        EXPECT_EQ(rows[0], "点,桩号,里程,X,Y,方位角,高程,地面高程,填挖高");
        const std::vector<std::string> first = fieldsOf(rows[1]), second = fieldsOf(rows[2]),
                                       third = fieldsOf(rows[3]);
        EXPECT_EQ((std::vector<std::string>(first.begin() + 6, first.end())),
                  (std::vector<std::string>{"50.0000", "", ""}));
        EXPECT_EQ((std::vector<std::string>(second.begin() + 6, second.end())),
                  (std::vector<std::string>{"51.0000", "50.6000", "0.400"}));
        EXPECT_EQ((std::vector<std::string>(third.begin() + 6, third.end())),
                  (std::vector<std::string>{"52.0000", "53.1000", "-1.100"}));
        EXPECT_EQ(r.err,
                  "hcurve: 注意：1 个桩没有地面高程（桩上没有地面横断面，或在地面模型之外），地面"
                  "高程和填挖高空着。\n");
        args = files;
        args.insert(args.end(), {"--ground", "--interval", "50", "--to", "100"});
        r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out,
                  "桩号,里程,点数,左端偏距,右端偏距,中桩地面高程\n"
                  "K0+050.000,50.0000,3,-5.0000,5.0000,50.6000\n"
                  "K0+100.000,100.0000,2,-4.0000,6.0000,53.1000\n");
    }
    // A section the alignment does not have is a fault of its line, as beside a JD table.
    const std::string beyond = write("beyond.txt", "BEGIN,K0+900\n0,1\n2,1\n");
    const Outcome r = run({xml, beyond, "--stakes", "--interval", "50"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(beyond + ": 第 1 行：横断面 K0+900 不在路线上", 0), 0u) << r.err;
}

TEST_F(SectionCommand, DesignSections) {
    const Outcome r = run({road_, "--sections", "--interval", "500", "--from", "1500", "--to",
                           "1500", "--earthwork", "填,挖"});
    ASSERT_EQ(r.status, 0) << r.err;
    const double h = gradeH(1500);
    const double edge = h - 7.5 * 0.02 - 2.5 * 0.02 - 0.75 * 0.04;
    const auto row = [&](const char* name, double offset, double H) {
        return std::string("K1+500.000,") + name + "," + fixed4(offset) + "," + fixed4(H) +
               ",500.0000," + fixed4(offset);
    };
    // Left the fill: 8 m at 1:1.5, a berm of 2 m, the last step drawn 2 m down at 1:1.75. Right
    // the cut: the ditch (1:1 down 0.6 m, 0.6 m wide, 1:1 up), 10 m at 1:0.75, a berm of 1.5 m,
    // the last step drawn 2 m up at 1:1.
    const double ditch = 10.75 + 0.6 + 0.6 + 0.6, cut = ditch + 7.5;
    EXPECT_EQ(
        linesOf(r.out),
        (std::vector<std::string>{
            "桩号,点,偏距,高程,X,Y", row("左填方第2级坡脚", -(10.75 + 12 + 2 + 3.5), edge - 10),
            row("左填方第1级平台外缘", -(10.75 + 12 + 2), edge - 8),
            row("左填方第1级坡脚", -(10.75 + 12), edge - 8), row("左土路肩边缘", -10.75, edge),
            row("左硬路肩边缘", -10, edge + 0.03), row("左行车道边缘", -7.5, h - 0.15),
            row("中桩", 0, h), row("右行车道边缘", 7.5, h - 0.15),
            row("右硬路肩边缘", 10, edge + 0.03), row("右土路肩边缘", 10.75, edge),
            row("右边沟底内缘", 11.35, edge - 0.6), row("右边沟底外缘", 11.95, edge - 0.6),
            row("右边沟外缘", ditch, edge), row("右挖方第1级坡顶", cut, edge + 10),
            row("右挖方第1级平台外缘", cut + 1.5, edge + 10),
            row("右挖方第2级坡顶", cut + 1.5 + 2, edge + 12)}));
}

TEST_F(SectionCommand, SlopeStakes) {
    const double edge = gradeH(1500) - 7.5 * 0.02 - 2.5 * 0.02 - 0.75 * 0.04;  // 104.77
    struct Case {
        const char* what;
        double y, H;  // at K1+500: X 500, the offset Y
        std::string row;
    };
    // The design offsets worked outwards from the edge at 10.75 m: fill 1:1.5 over 8 m, a berm of
    // 2 m, then 1:1.75; cut after the ditch (1.8 m wide at the top) 1:0.75 over 10 m, a berm of
    // 1.5 m, then 1:1.
    const Case cases[] = {
        {"fill within the first step", -16, edge - 4,
         ",K1+500.000,1500.0000,-16.0000,100.7700,填,104.7700," + fixed4(-(10.75 + 4 * 1.5)) +
             ",0.750,向外"},
        {"fill past the berm", -25, edge - 9.77,
         ",K1+500.000,1500.0000,-25.0000,95.0000,填,104.7700," +
             fixed4(-(10.75 + 12 + 2 + 1.77 * 1.75)) + ",2.848,向外"},
        {"cut past the ditch", 18, edge + 6,
         ",K1+500.000,1500.0000,18.0000,110.7700,挖,104.7700," + fixed4(12.55 + 6 * 0.75) +
             ",0.950,向内"},
        {"cut past the berm, in place", 23.555, edge + 12,
         ",K1+500.000,1500.0000,23.5550,116.7700,挖,104.7700," + fixed4(12.55 + 7.5 + 1.5 + 2) +
             ",0.005,到位"},
        {"a point on the formation", 5, 104,
         ",K1+500.000,1500.0000,5.0000,104.0000,填,104.7700,,,路基上"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::ostringstream y, H;
        y.precision(17);
        H.precision(17);
        y << c.y;
        H << c.H;
        const Outcome r = run({road_, "--slope-stake", "500", y.str(), H.str()});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, "点名,桩号,里程,偏距,地面高程,填挖,边缘高程,设计偏距,移动距离,方向\n" +
                             c.row + "\n");
    }
    // A file of points, in GBK or UTF-8 like the route's; its rows in its order. A point whose
    // side has no slope of its kind is told and left out.
    const std::string points =
        write("points.csv", "点名,X,Y,H\nP1,500,-25,95\nP2,500,18,110.77\nP3,500,-30,110\n");
    const Outcome r = run({road_, "--slope-stakes", points});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = linesOf(r.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].substr(0, 3), "P1,");
    EXPECT_EQ(rows[2].substr(0, 3), "P2,");
    EXPECT_EQ(r.err, "hcurve: 点 P3（第 4 行），K1+500.000：左侧没有挖方边坡。\n");
    // A point that is no number is the file's fault: nothing is written.
    const Outcome bad =
        run({road_, "--slope-stakes", write("bad.csv", "点名,X,Y,H\nP1,500,-25,95\nP2,500,x,1\n")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err,
              (folder_ / "bad.csv").string() + ": 第 3 行：Y 必须是数值，“x” 不是有效的数值。\n");
}

TEST_F(SectionCommand, LocateNamesTheComponent) {
    const double h = gradeH(1500);
    const Outcome lane = run({road_, "--locate", "500", "5", "106"});
    ASSERT_EQ(lane.status, 0) << lane.err;
    EXPECT_EQ(lane.out,
              "里程,桩号,偏距,元素,中线高程,设计高程,高差,部件\n"
              "1500.0000,K1+500.000,5.0000,直线 BP-JD1," +
                  fixed4(h) + "," + fixed4(h - 0.1) + "," + fixed4(106 - (h - 0.1)) + ",行车道\n");
    // Beyond the formation the measured height decides the slope: below the edge the fill's.
    const double edge = h - 0.23;
    const Outcome slope = run({road_, "--locate", "500", "-13", "103"});
    ASSERT_EQ(slope.status, 0) << slope.err;
    EXPECT_EQ(slope.out,
              "里程,桩号,偏距,元素,中线高程,设计高程,高差,部件\n"
              "1500.0000,K1+500.000,-13.0000,直线 BP-JD1," +
                  fixed4(h) + "," + fixed4(edge - 2.25 / 1.5) + "," +
                  fixed4(103 - (edge - 2.25 / 1.5)) + ",填方边坡第1级\n");
    // Without a height the formation only.
    const Outcome plain = run({road_, "--locate", "500", "-13"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out,
              "里程,桩号,偏距,元素,中线高程,设计高程,部件\n"
              "1500.0000,K1+500.000,-13.0000,直线 BP-JD1," +
                  fixed4(h) + ",,\n");
}

TEST_F(SectionCommand, BadOptionsAndRoutesWithoutASection) {
    const std::string plain = write("plain.csv", kPlan);
    const std::string flat = write(
        "flat.csv",
        "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,150,150,\nEP,1000,1000,,,,\n\n" +
            kSection);
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{plain, "--stakes", "--interval", "20", "--edges"},
         "hcurve: --edges 需要横断面：文件里没有模板表（表头 侧,部件,宽度,横坡）。\n"},
        {{road_, "--stakes", "--edges", "--interval", "20", "--edges"},
         "hcurve: --edges 只能给出一次。\n"},
        {{plain, "--sections", "--interval", "20"},
         "hcurve: --sections 需要横断面：文件里没有模板表（表头 侧,部件,宽度,横坡）。\n"},
        {{road_, "--sections"}, "hcurve: --sections 需要 --interval 桩距。\n"},
        {{road_, "--sections", "--interval", "20", "--left", "5"},
         "hcurve: --sections 只用 --interval、--from、--to 和 --earthwork，不用 --left。\n"},
        {{road_, "--sections", "--interval", "20", "--earthwork", "填,半"},
         "hcurve: --earthwork 要给出 填 或 挖（两侧不同时写 左侧,右侧，如 "
         "填,挖），“填,半”不对。\n"},
        {{road_, "--slope-stake", "500", "5"},
         "hcurve: --slope-stake 后面要有三个数值：X（北）、Y（东）和实测高程 H。\n"},
        {{road_, "--slope-stake", "500", "5", "1O0"},
         "hcurve: H 必须是数值（绝对值不超过 1000000000），“1O0” 不对。\n"},
        {{plain, "--slope-stake", "500", "5", "100"},
         "hcurve: --slope-stake 需要横断面：文件里没有模板表（表头 侧,部件,宽度,横坡）。\n"},
        {{flat, "--slope-stake", "500", "5", "100"},
         "hcurve: 文件里没有纵断面表，放不出边坡：边坡放样要比较设计高程和实测高程。\n"},
        {{road_, "--slope-stakes"},
         "hcurve: --slope-stakes 后面要有一个点的文件（表头 点名,X,Y,H）。\n"},
        {{road_, "--stakes", "--interval", "20", "--sections"},
         "hcurve: --stakes 与 --sections 不能同时使用。\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    // The usage and the list of modes name the cross-section's options.
    const Outcome usage = run({road_, "--section"});
    EXPECT_EQ(usage.status, 1);
    for (const char* option :
         {"--stakes --interval 桩距", "[--edges]", "--sections --interval 桩距",
          "[--earthwork 填|挖|填,挖]", "--slope-stake X Y H", "--slope-stakes 文件.csv",
          "文件.xml [横断面文件.csv…]",
          "--alignments、--sections、--slope-stake 或 --slope-stakes。"})
        EXPECT_NE(usage.err.find(option), std::string::npos) << option;
    // A route without a template locates as it always did.
    const Outcome r = run({plain, "--locate", "500", "5", "106"});
    EXPECT_EQ(r.out,
              "里程,桩号,偏距,元素,中线高程,高差\n1500.0000,K1+500.000,5.0000,直线 BP-JD1,"
              "105.0000,1.0000\n");
}

}  // namespace
}  // namespace hcurve
