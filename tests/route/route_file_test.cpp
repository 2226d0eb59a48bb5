// The route file: every fault answered with its line, chainage texts, the text encodings.
#include <gtest/gtest.h>

#include "alignment/route.h"
#include "curve/chainage.h"
#include "route_files/route_file.h"
#include "route_files/text_decoding.h"
#include "route_samples.h"

namespace hcurve {
namespace {

// The faults of a file text, read and then built.
std::vector<Failure> faultsOf(const std::string& text) {
    const Result<RouteDesign> reading = readRouteFile(text);
    if (!reading)
        return reading.failures();
    const Result<BuiltRoute> building = buildRoute(*reading);
    return building ? std::vector<Failure>{} : building.failures();
}

const std::string kHeader = "点号,X,Y,R,A1,A2,桩号\n";
const std::string kGood = kHeader +
                          "BP,0,0,,,,K1+000\n"
                          "JD1,1000,0,300,100,100,\n"
                          "JD2,1000,1000,300,0,0,\n"
                          "EP,2000,1000,,,,\n";

TEST(RouteFile, EveryFaultIsAnsweredWithItsLine) {
    struct Case {
        const char* what;
        std::string text;
        int line;
        std::string message;
    };
    const Case cases[] = {
        {"empty file", "", 1, "文件是空的：没有交点表。"},
        {"column missing", "点号,X,Y,A1,A2,桩号\nBP,0,0,,,0\n", 1, "表头缺少 R 列。"},
        {"A1 and Ls1 both", "点号,X,Y,R,A1,Ls1,桩号\n", 1, "表头不能同时有 A1 和 Ls1 列。"},
        {"fewer than three points", kHeader + "BP,0,0,,,,0\nEP,10,0,,,,\n", 3,
         "交点表至少要有三个点（BP、至少一个交点、EP），现在只有 2 个。"},
        {"bad number", kHeader + "BP,0,0,,,,0\nJD1,1000,1O00,300,,,\nEP,0,2000,,,,\n", 3,
         "Y 必须是数值，“1O00” 不是有效的数值。"},
        {"bad chainage", kHeader + "BP,0,0,,,,K1+1000\nJD1,1000,0,300,,,\nEP,0,2000,,,,\n", 2,
         "桩号 必须是米数或 K 桩号（如 12000 或 K12+000），“K1+1000” 不对。"},
        {"radius zero", kHeader + "BP,0,0,,,,0\nJD1,1000,0,0,,,\nEP,1000,1000,,,,\n", 3,
         "交点 JD1 的半径 R 必须大于零。"},
        {"negative spiral", kHeader + "BP,0,0,,,,0\nJD1,1000,0,300,-1,,\nEP,1000,1000,,,,\n", 3,
         "A1 不能为负数（不设缓和曲线填 0 或留空）。"},
        {"two equal points", kHeader + "BP,0,0,,,,0\nJD1,0,0,300,,,\nEP,1000,1000,,,,\n", 3,
         "点 JD1 与前一点 BP 的座标相同。"},
        {"deflection zero", kHeader + "BP,0,0,,,,0\nJD1,1000,0,300,,,\nEP,2000,0,,,,\n", 3,
         "交点 JD1 的偏角为零：BP、JD1、EP 在一条直线上。"},
        {"deflection 180", kHeader + "BP,0,0,,,,0\nJD1,1000,0,300,,,\nEP,500,0,,,,\n", 3,
         "交点 JD1 的偏角达到 180 度：路线在这里折回。"},
        {"spirals do not fit", kHeader + "BP,0,0,,,,0\nJD1,1000,0,300,200,200,\nEP,2000,100,,,,\n",
         3,
         "交点 JD1：缓和曲线太长，与偏角不相容：两段缓和曲线的切线角之和 (β1 + β2) 大于偏角 B，"
         "圆曲线长度将为负。请检查 B、R、A1、A2。"},
        {"ZH before BP", kHeader + "BP,900,0,,,,0\nJD1,1000,0,300,,,\nEP,1000,1000,,,,\n", 3,
         "交点 JD1 的 ZH 超出了 BP：切线长 T1 = 300.000 米，而 BP 至 JD1 只有 100.000 米。"},
        {"curves overlap",
         kHeader + "BP,0,0,,,,0\nJD1,1000,0,300,,,\nJD2,1000,400,300,,,\nEP,2000,400,,,,\n", 4,
         "交点 JD1 的 HZ 超过了交点 JD2 的 ZH：两曲线重叠 200.000 米（T2 = 300.000，T1 = "
         "300.000，交点间距 400.000）。"},
        {"HZ beyond EP", kHeader + "BP,0,0,,,,0\nJD1,1000,0,300,,,\nEP,1000,100,,,,\n", 4,
         "交点 JD1 的 HZ 超出了 EP：切线长 T2 = 300.000 米，而 JD1 至 EP 只有 100.000 米。"},
        {"break table without its header", kGood + "\nK1+100,K1+090\n", 7,
         "这张表的表头不认识：断链表要有 断链前桩号 和 断链后桩号 两列，纵断面表要有 "
         "变坡点桩号（或 变坡点里程）和 高程 列，横坡表要有 桩号、左横坡 和 右横坡 列；"
         "横断面的模板表要有 部件 列，路拱表 路拱横坡 列，超高表 超高横坡 列，边坡表 坡率 列，"
         "边沟表 边沟底宽 或 边沟深 列。"},
        {"break outside the route", kGood + "\n断链前桩号,断链后桩号\nK9+000,K9+010\n", 8,
         "断链前桩号 K9+000.000 不在路线上（BP 至 EP 之间）。"},
        {"breaks out of order", kGood + "\n断链前桩号,断链后桩号\nK1+500,K1+490\nK1+480,K1+470\n",
         9, "断链前桩号 K1+480.000 不在上一个断链之后：断链要按路线顺序排列。"},
        {"a radius that is no number, said once",
         kHeader + "BP,0,0,,,,0\nJD1,1000,0,3OO,,,\nEP,1000,1000,,,,\n", 3,
         "R 必须是数值，“3OO” 不是有效的数值。"},
        {"a quoted field across lines",
         kHeader + "BP,0,0,,,,0\n\"JD1\n\n\",1000,0,300,,,\nEP,1000,1000,,,,\n", 3,
         "带引号的字段从这一行延续到第 5 行：表格的字段里不能换行（也可能是少了一个引号）。"},
        {"a quote left open", kHeader + "BP,0,0,,,,0\nJD1,1000,0,300,,,\nEP,\"1000,1000,,,,\n", 4,
         "引号没有配对：这一行的带引号字段直到文件末尾都没有结束。"},
        {"a line too long", kHeader + "BP,0,0,,,,0" + std::string(70000, ' ') + "\n", 2,
         "这一行太长（超过 65536 字节），不像是表格的一行。"},
        // A column named twice would leave one of its values unread, whichever table it is.
        {"a point column named twice, in another case", "点号,X,Y,R,x,A1,A2,桩号\n", 1,
         "表头的 x 列出现了两次。"},
        {"a grade column named twice",
         kGood + "\n变坡点桩号,高程,竖曲线半径,高程\nK1+000,10,,12\nK1+400,12,,10\n", 7,
         "表头的 高程 列出现了两次。"},
        {"an element column named twice",
         "起点桩号,X,Y,方位角\n0,0,0,0\n\n长度,起点半径,终点半径,转向,长度\n100,,,,10\n", 4,
         "表头的 长度 列出现了两次。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Failure> faults = faultsOf(c.text);
        ASSERT_EQ(faults.size(), 1u);
        EXPECT_EQ(faults[0].line, c.line);
        EXPECT_EQ(faults[0].message, c.message);
    }
    EXPECT_TRUE(faultsOf(kGood).empty());
}

TEST(RouteFile, EveryFaultOfAFileIsListedAndNothingIsComputed) {
    const Result<RouteDesign> reading = readRouteFile(
        kHeader + "BP,0,0,,,,0\nJD1,x,0,300,,,\nJD2,1000,1000,300,,,\nEP,2000,y,,,,\n");
    EXPECT_FALSE(reading);
    ASSERT_EQ(reading.failures().size(), 2u);
    EXPECT_EQ(faultText(reading.failures()[0]), "第 3 行：X 必须是数值，“x” 不是有效的数值。");
    EXPECT_EQ(reading.failures()[1].line, 5);
}

TEST(RouteFile, ColumnsInAnyOrderSpiralLengthsQuotesAndCrLf) {
    // Ls = 100 on R = 400 is A = 200; unknown columns are ignored.
    const Result<RouteDesign> reading = readRouteFile(
        "\xEF\xBB\xBF桩号,备注,Y,X,点号,r,ls2,LS1\r\n"
        "\"K12+000.5\",\"起点, 新线\",0,0,BP,,,\r\n"
        ",,0,1000,JD1,400,100,100\r\n"
        ",,1000,1000,EP,,,\r\n");
    ASSERT_TRUE(reading) << faultText(reading.failures().at(0));
    const RouteDesign& d = *reading;
    EXPECT_DOUBLE_EQ(d.startChainage_m, 12000.5);
    EXPECT_EQ(d.points[1].name, "JD1");
    EXPECT_DOUBLE_EQ(d.points[1].x_m, 1000);
    EXPECT_DOUBLE_EQ(d.points[1].A1_m, 200);
    EXPECT_DOUBLE_EQ(d.points[1].A2_m, 200);
}

// A field is read as a spreadsheet writes it: blanks around it dropped, quoted parts anywhere in
// it taken with their commas, a doubled quote inside quotes as one quote, and the rest of the line
// read on after it.
TEST(RouteFile, FieldsWithQuotedPartsReadAsASpreadsheetWritesThem) {
    struct Case {
        const char* field;  // the JD's name as it stands in the file
        const char* name;   // as read
    };
    for (const Case& c : {Case{"JD1", "JD1"}, Case{" \tJD1 \t", "JD1"}, Case{"\"JD1\"", "JD1"},
                          Case{"  \"J\"\"D\"  ", "J\"D"}, Case{"J\"D,1\"x", "JD,1x"},
                          Case{"\" J D \"", "J D"}, Case{"\"\"\"\"", "\""},
                          Case{"A\"\"B", "AB"}}) {
        const Result<RouteDesign> reading =
            readRouteFile(kHeader + "BP,0,0,,,,0\n" + c.field + ", 1000 ,0,300,,,\n" +
                          "EP,\" 1000\",1000,,,,\n");
        ASSERT_TRUE(reading) << c.field << ": " << faultText(reading.failures().at(0));
        ASSERT_EQ(reading->points.size(), 3u) << c.field;
        EXPECT_EQ(reading->points[1].name, c.name) << c.field;
        EXPECT_EQ(reading->points[1].x_m, 1000) << c.field;
        EXPECT_EQ(reading->points[2].x_m, 1000) << c.field;
        EXPECT_EQ(reading->points[2].y_m, 1000) << c.field;
    }
}

// A table pasted in from a file of its own brings that file's byte-order mark before its header:
// the table reads as it does alone.
TEST(RouteFile, AByteOrderMarkBeforeALaterHeaderIsPassedOver) {
    const std::string breaks = "断链前桩号,断链后桩号\nK1+500,K1+490\n";
    const Result<RouteDesign> plain = readRouteFile(kGood + "\n" + breaks);
    const Result<RouteDesign> marked = readRouteFile(kGood + "\n\xEF\xBB\xBF" + breaks);
    ASSERT_TRUE(plain && marked) << faultText(marked.failures().at(0));
    ASSERT_EQ(marked->breaks.size(), 1u);
    EXPECT_EQ(marked->breaks[0].before_m, plain->breaks[0].before_m);
    EXPECT_EQ(marked->breaks[0].after_m, plain->breaks[0].after_m);
}

TEST(RouteFile, LineEndsOfEverySpreadsheet) {
    std::string cr = kGood, crlf;
    for (char& c : cr)
        if (c == '\n')
            c = '\r';
    for (char c : kGood)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {cr, crlf, kGood + "\n\n断链前桩号,断链后桩号\r\rK1+100,K1+090"})
        EXPECT_TRUE(faultsOf(text).empty()) << faultText(faultsOf(text).at(0));
    // Lines are counted alike whatever ends them.
    std::vector<Failure> faults = faultsOf(cr + "\r断链前桩号,断链后桩号\rK9+000,K9+010\r");
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].line, 8);
}

TEST(RouteFile, NamesWithControlCharactersAreKeptEscaped) {
    const Result<RouteDesign> reading = readRouteFile(kHeader +
                                                      "BP,0,0,,,,0\nJD\x1B[2J1,1000,0,300,,,\n"
                                                      "JD2,1000,1000,300,,,\nE" +
                                                      std::string(1, '\0') + "P,2000,1000,,,,\n");
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->points[1].name, "JD\\x1B[2J1");
    EXPECT_EQ(reading->points[3].name, "E\\x00P");
}

TEST(RouteFile, ChainageTexts) {
    const std::pair<const char*, double> read[] = {
        {"12000", 12000},        {"K12+000", 12000},     {"K12+000.000", 12000},
        {"k 12+345.6", 12345.6}, {" 345.678 ", 345.678}, {"K-1+998.500", -1.5},
        {"K-2+500", -1500},      {"K0-153.100", -153.1}, {"k0-5", -5},
        {"K-1-846.9", -1846.9},  {"K -1-846.9", -1846.9}};
    for (const auto& [text, value] : read)
        EXPECT_EQ(readChainage(text), value) << text;
    // Every text the program writes reads back as its chainage, in each form a 桩号 is shown in.
    for (const ChainageForm* form : {&kPlainForm, &kDesignForm, &kReportStakeForm}) {
        for (double chainage_m : {-1.5, -153.1, -500.0, -999.9996, -1000.0, -1846.9, -1999.25, 0.0,
                                  999.9995, 12345.678})
            EXPECT_NEAR(*readChainage(chainageText(chainage_m, *form)), chainage_m, 5e-4)
                << chainage_m << " " << chainageText(chainage_m, *form);
    }
    for (const char* bad : {"", "K12", "K12+", "K12+1000", "K12.5+000", "K12+-5", "K+100", "abc",
                            "K1-200", "K0--5", "K0-1000", "K-"})
        EXPECT_FALSE(readChainage(bad)) << bad;
}

TEST(RouteFile, TextAsSpreadsheetsSaveIt) {
    // 点号 in GBK, and the same with a UTF-8 byte-order mark.
    EXPECT_EQ(routeTextAsUtf8("\xB5\xE3\xBA\xC5,X"), "点号,X");
    EXPECT_EQ(routeTextAsUtf8("\xEF\xBB\xBF点号,X"), "点号,X");
    EXPECT_EQ(routeTextAsUtf8("BP,0,0"), "BP,0,0");
    EXPECT_FALSE(routeTextAsUtf8("\xFF\xFF\xFF"));
    // A UTF-8 file with one name in GBK (路 is 0xC2 0xB7, 线 0xCF 0xDF): its line and byte.
    const Result<std::string> mixed = decodeRouteText("点号,X\r\nBP,0\r\nJD\xC2\xB7\xCF\xDF,1\n");
    ASSERT_FALSE(mixed);
    EXPECT_EQ(mixed.failure().line, 3);
    EXPECT_EQ(mixed.failure().message,
              "第 5 个字节（0xCF）不是有效的 UTF-8 编码：文件的其余部分是 UTF-8，这里也许混"
              "进了 GBK 等别的编码的字。");
    EXPECT_EQ(routeTextAsUtf8("\xB5\xE3\xBA\xC5,X\nJD\xC2\xB7\n"), "点号,X\nJD路\n");
    EXPECT_EQ(decodeRouteText("\xFF\xFF\xFF").failure().message,
              "既不是 UTF-8 也不是 GBK 编码的文本。");
    EXPECT_FALSE(isUtf8("\xC0\x80"));  // an overlong zero
    EXPECT_FALSE(isUtf8("\xE7\x82"));  // cut short
    EXPECT_TRUE(isUtf8("K12+000 点号"));
}

}  // namespace
}  // namespace hcurve
