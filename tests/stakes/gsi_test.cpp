// The Leica GSI-16 point file, read back by the layout of the format: a block starts with "*" and
// holds words of 24 characters, each the word index (2), four characters of information, the sign,
// 16 characters of data filled with zeros from the left, and a blank. Word 11 carries the block
// number and the point number; 81, 82 and 83 easting, northing and elevation, "..10": typed in,
// metres whose last digit is a millimetre.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "run_support.h"
#include "stakes/field_tools.h"
#include "stakes/run_points.h"
#include "support/failure_text.h"

namespace hcurve {
namespace {

struct Word {
    std::string index, information;
    char sign;
    std::string data;
};

// The words of one block, cut at their documented columns; a block not so laid out fails the test.
std::vector<Word> words(const std::string& block) {
    std::vector<Word> out;
    EXPECT_EQ(block.substr(0, 1), "*");
    EXPECT_EQ(block.substr(block.size() - 2), "\r\n");
    const std::string body = block.substr(1, block.size() - 3);
    EXPECT_EQ(body.size() % 24, 0u) << body;
    for (std::size_t at = 0; at + 24 <= body.size(); at += 24) {
        const std::string w = body.substr(at, 24);
        EXPECT_EQ(w[23], ' ') << w;
        EXPECT_TRUE(w[6] == '+' || w[6] == '-') << w;
        out.push_back({w.substr(0, 2), w.substr(2, 4), w[6], w.substr(7, 16)});
    }
    return out;
}

// A coordinate word's value in millimetres.
long long millimetres(const Word& w) {
    return (w.sign == '-' ? -1 : 1) * std::stoll(w.data);
}

TEST(Gsi, WordsInTheirColumns) {
    struct Case {
        std::size_t block;
        ExportPoint point;
        std::string information;  // of word 11
        std::string number;       // its data
        long long east_mm, north_mm;
        std::optional<long long> height_mm;
    };
    const Case cases[] = {
        {1,
         {"K12+300.000", "", 3456750.458, 512318.913, "中", "", ""},
         "0001",
         "00000K12+300.000",
         512318913,
         3456750458,
         std::nullopt},
        // The elevation to the millimetre, as the .dat file rounds it.
        {2,
         {"K12+300.000-R1", "", 3456743.8236, 512322.7204, "右", "单排", "7.5", 112.3456},
         "0002",
         "00K12+300.000-R1",
         512322720,
         3456743824,
         112346},
        // Signs: a negative coordinate, and one that rounds to zero has none.
        {3,
         {"K0+000.000", "", -1234.5674, -0.0004, "中", "", "", -3.2},
         "0003",
         "000000K0+000.000",
         0,
         -1234567,
         -3200},
        // The block number counts on past 9999 in four places.
        {10001,
         {"K9+990.000", "", 1, 2, "中", "", ""},
         "0001",
         "000000K9+990.000",
         2000,
         1000,
         std::nullopt},
        // Longer than 16: without the zero decimals, then without the K.
        {7,
         {"K12+790.000-2-FL1", "", 1, 2, "左", "前排", "5"},
         "0007",
         "000K12+790-2-FL1",
         2000,
         1000,
         std::nullopt},
        {8,
         {"K123+790.125-2-L1", "", 1, 2, "左", "单排", "5"},
         "0008",
         "123+790.125-2-L1",
         2000,
         1000,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point.name);
        const std::optional<std::string> number = gsiPointNumber(c.point.name);
        ASSERT_TRUE(number);
        const std::vector<Word> w = words(gsiBlock(c.block, *number, c.point));
        ASSERT_EQ(w.size(), c.height_mm ? 4u : 3u);
        EXPECT_EQ(w[0].index, "11");
        EXPECT_EQ(w[0].information, c.information);
        EXPECT_EQ(w[0].sign, '+');
        EXPECT_EQ(w[0].data, c.number);
        EXPECT_EQ(w[1].index + w[1].information, "81..10");
        EXPECT_EQ(millimetres(w[1]), c.east_mm);
        EXPECT_EQ(w[2].index + w[2].information, "82..10");
        EXPECT_EQ(millimetres(w[2]), c.north_mm);
        if (c.height_mm) {
            EXPECT_EQ(w[3].index + w[3].information, "83..10");
            EXPECT_EQ(millimetres(w[3]), *c.height_mm);
        }
    }
}

TEST(Gsi, NamesItCannotCarryAreRefusedNotChanged) {
    for (const char* name : {"", "交点1", "K1+000 A", "K1234+567.891-2-FL1", "a,b"})
        EXPECT_FALSE(gsiPointNumber(name)) << name;
    const ExportPoint a{"K12+790.000-2-FL1", "", 1, 2, "左", "前排", "5"};
    const ExportPoint b{"K12+790-2-FL1", "", 3, 4, "左", "前排", "5"};
    const ExportPoint chinese{"中桩1", "", 3, 4, "中", "", ""};
    EXPECT_EQ(testing::failureOf(pointFileGsi({a, b})),
              "点名“K12+790-2-FL1”与“K12+790.000-2-FL1”在 GSI 文件里是同一个点号 K12+790-2-FL1。");
    EXPECT_EQ(testing::failureOf(pointFileGsi({a, chinese})),
              "点名“中桩1”写不进 GSI 文件（点号最多 16 个字符，只能有字母、数字和 + - . _）。");
}

// 导出中桩坐标 to .gsi: one block per point of the .dat file, in its order, numbered from 1.
TEST(Gsi, ExportOfTheLastRun) {
    const CurveRecord record = testing::recordWithTwoRows();
    testing::ScratchFolder folder;
    const std::string path = (folder.path() / "stakes.GSI").string();
    ASSERT_EQ(exportFormatOf(path), ExportFormat::Gsi);
    EXPECT_EQ(testing::failureOf(exportLastRun(record, path, ExportFormat::Gsi)), std::nullopt);
    const std::string bytes = testing::fileBytes(path);
    const std::vector<ExportPoint> points = lastRunPoints(record);
    std::size_t at = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::size_t end = bytes.find("\r\n", at) + 2;
        const std::vector<Word> w = words(bytes.substr(at, end - at));
        ASSERT_EQ(w.size(), 3u);
        EXPECT_EQ(std::stoul(w[0].information), i + 1);
        EXPECT_EQ(w[0].data.substr(16 - points[i].name.size()), points[i].name);
        EXPECT_EQ(millimetres(w[1]), std::llround(points[i].y_m * 1000));
        EXPECT_EQ(millimetres(w[2]), std::llround(points[i].x_m * 1000));
        at = end;
    }
    EXPECT_EQ(at, bytes.size());
}

}  // namespace
}  // namespace hcurve
