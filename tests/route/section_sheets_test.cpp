// The layout of the cross-section sheets, on sections made by hand: the scale read, the widths
// given to texts, every section drawn once in chainage order (rows from the top, left to right
// within a row), everything inside the sheet's frame and clear of the title block, the design
// line as long on the sheet as the scale makes it, the texts of the areas and of the centre fill
// or cut, the title blocks, and a section too wide for the sheet refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cad/section_sheet_dxf.h"
#include "cad/section_sheets.h"

namespace hcurve {
namespace {

TEST(SectionSheetScale, ReadFromItsDenominatorOrTheRatio) {
    const struct {
        const char* text;
        std::optional<int> scale;
    } cases[] = {{"200", 200},
                 {"1:100", 100},
                 {"10", 10},
                 {"5000", 5000},
                 {"1:5000", 5000},
                 {"9", std::nullopt},
                 {"5001", std::nullopt},
                 {"0", std::nullopt},
                 {"", std::nullopt},
                 {"1:", std::nullopt},
                 {"abc", std::nullopt},
                 {"200.5", std::nullopt},
                 {"-200", std::nullopt},
                 {"1:2:3", std::nullopt},
                 {" 200", std::nullopt},
                 {"99999999999", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(sheetScale(c.text), c.scale) << c.text;
}

TEST(SectionSheetText, HalfWidthCharactersTakeTheirShareChineseTheirHeight) {
    const struct {
        const char* text;
        double height, width;
    } cases[] = {{"K1", 2, 2 * 0.62 * 2},
                 {"填方", 2, 4},
                 {"m²", 3, 2 * 0.62 * 3},
                 {"填方面积 1.5 m²", 2, 4 * 2 + 7 * 0.62 * 2},
                 {"", 2, 0}};
    for (const auto& c : cases)
        EXPECT_NEAR(sheetTextWidth_mm(c.text, c.height), c.width, 1e-12) << c.text;
}

// A section of a formation 2 w wide at 100 m with fill slopes of 1:1.5 down to the ground at
// 100 - h, the catch points at +-(w + 1.5 h); level ground from -(w + 1.5 h + 10) to the same on
// the right.
SheetSection fillSection(const std::string& stake, double w, double h) {
    SheetSection s;
    s.stake = stake;
    const double c = w + 1.5 * h;
    s.ground = {{-(c + 10), 100 - h, 1, false}, {c + 10, 100 - h, 2, false}};
    s.areas.left = {SectionSide::Left, SectionEarthwork::Fill, {-c, 100 - h}};
    s.areas.right = {SectionSide::Right, SectionEarthwork::Fill, {c, 100 - h}};
    s.areas.design = {{-c, 100 - h}, {-w, 100}, {0, 100}, {w, 100}, {c, 100 - h}};
    s.areas.fill_m2 = (2 * w + 2 * c) / 2 * h;  // a trapezium
    s.areas.cut_m2 = 0;
    s.areas.centreHeight_m = h;
    return s;
}

std::string stakeText(int metres) {
    char text[32];
    std::snprintf(text, sizeof text, "K0+%03d.000", metres);
    return text;
}

std::vector<SheetSection> sections(int count, double w, double h) {
    std::vector<SheetSection> out;
    for (int i = 0; i < count; ++i)
        out.push_back(fillSection(stakeText(20 * i), w, h + 0.1 * (i % 5)));
    return out;
}

// The design line of each section: the polylines of SheetInk::Design, in the order drawn.
std::vector<const SheetLine*> designLines(const SectionSheet& sheet) {
    std::vector<const SheetLine*> lines;
    for (const SheetLine& l : sheet.lines)
        if (l.ink == SheetInk::Design)
            lines.push_back(&l);
    return lines;
}

const SheetText* textOf(const SectionSheet& sheet, const std::string& s) {
    for (const SheetText& t : sheet.texts)
        if (t.text == s)
            return &t;
    return nullptr;
}

TEST(SectionSheets, EverySectionOnceInChainageOrderInsideTheFrame) {
    const std::vector<SheetSection> given = sections(40, 6, 3);
    const Result<SectionSheets> sheets = layOutSectionSheets(given, "主线", 200);
    ASSERT_TRUE(sheets);
    ASSERT_GE(sheets->sheets.size(), 2u);
    EXPECT_EQ(sheets->sections, 40u);
    std::size_t next = 0;
    for (const SectionSheet& sheet : sheets->sheets) {
        EXPECT_EQ(sheet.number, static_cast<int>(&sheet - &sheets->sheets[0]) + 1);
        EXPECT_EQ(sheet.firstSection, next);
        ASSERT_GE(sheet.sectionCount, 1u);
        ASSERT_EQ(sheet.sectionTexts.size(), sheet.sectionCount);
        // Rows from the top, left to right in a row: each next 桩号 to the right on the same
        // base line, or on a lower one.
        const SheetText* before = nullptr;
        for (std::size_t k = 0; k < sheet.sectionCount; ++k) {
            const std::string& stake = given[next + k].stake;
            EXPECT_EQ(sheet.sectionTexts[k].stake, stake);
            const SheetText* t = textOf(sheet, stake);
            ASSERT_NE(t, nullptr) << stake;
            if (before) {
                EXPECT_TRUE((t->at.y_mm == before->at.y_mm && t->at.x_mm > before->at.x_mm) ||
                            t->at.y_mm < before->at.y_mm)
                    << stake;
            }
            before = t;
        }
        next += sheet.sectionCount;
        // Inside the frame (25 mm left, 10 mm elsewhere), and the sections' lines above the title
        // block (28 mm high over the frame's bottom); the sheet's edge is the one line on it.
        for (const SheetLine& l : sheet.lines) {
            if (l.points.size() == 5 && l.points[2].x_mm == 420 && l.points[2].y_mm == 297)
                continue;
            for (const SheetPoint& p : l.points) {
                EXPECT_GE(p.x_mm, 25 - 1e-9);
                EXPECT_LE(p.x_mm, 410 + 1e-9);
                EXPECT_GE(p.y_mm, 10 - 1e-9);
                EXPECT_LE(p.y_mm, 287 + 1e-9);
                if (l.ink != SheetInk::Frame) {
                    EXPECT_GT(p.y_mm, 38);
                }
            }
        }
        EXPECT_EQ(designLines(sheet).size(), sheet.sectionCount);
        // The title block.
        const std::string range = given[sheet.firstSection].stake + " – " +
                                  given[sheet.firstSection + sheet.sectionCount - 1].stake;
        EXPECT_NE(textOf(sheet, range), nullptr) << range;
        EXPECT_NE(textOf(sheet, "主线"), nullptr);
        EXPECT_NE(textOf(sheet, "1:200"), nullptr);
        EXPECT_NE(textOf(sheet, "第 " + std::to_string(sheet.number) + " 张  共 " +
                                    std::to_string(sheets->sheets.size()) + " 张"),
                  nullptr);
    }
    EXPECT_EQ(next, given.size());
}

TEST(SectionSheets, TheDesignLineIsAsLongAsTheScaleMakesIt) {
    // Catch points 6 + 1.5 * 2 = 9 m either side: 18 m, 90 mm at 1:200, 180 mm at 1:100.
    for (const auto& [scale, length_mm] :
         {std::pair{200, 90.0}, std::pair{100, 180.0}, std::pair{500, 36.0}}) {
        const Result<SectionSheets> sheets =
            layOutSectionSheets({fillSection("K0+000.000", 6, 2)}, "r", scale);
        ASSERT_TRUE(sheets);
        const std::vector<const SheetLine*> lines = designLines(sheets->sheets[0]);
        ASSERT_EQ(lines.size(), 1u);
        const std::vector<SheetPoint>& p = lines[0]->points;
        ASSERT_EQ(p.size(), 5u);
        EXPECT_NEAR(p.back().x_mm - p.front().x_mm, length_mm, 1e-9) << scale;
        // The formation 2 m over the catch points.
        EXPECT_NEAR(p[2].y_mm - p[0].y_mm, 2000.0 / scale, 1e-9) << scale;
        EXPECT_NE(textOf(sheets->sheets[0], "1:" + std::to_string(scale)), nullptr);
        EXPECT_NE(textOf(sheets->sheets[0], "K0+000.000"), nullptr);
        EXPECT_NE(textOf(sheets->sheets[0], "第 1 张  共 1 张"), nullptr);
    }
}

TEST(SectionSheets, TheTextsOfASection) {
    SheetSection cut = fillSection("K0+020.000", 6, 2);
    cut.areas.fill_m2 = 0;
    cut.areas.cut_m2 = 12.34567;
    cut.areas.centreHeight_m = -0.4996;
    SheetSection fill = fillSection("K0+000.000", 6, 2);
    fill.areas.fill_m2 = 30.00004;
    fill.areas.centreHeight_m = 1.23449;
    const Result<SectionSheets> sheets = layOutSectionSheets({fill, cut}, "r", 200);
    ASSERT_TRUE(sheets);
    const SectionSheet& sheet = sheets->sheets[0];
    const struct {
        std::size_t section;
        const char *centre, *fill, *cut;
    } cases[] = {{0, "填高 1.234 m", "填方面积 30.0000 m²", "挖方面积 0.0000 m²"},
                 {1, "挖深 0.500 m", "填方面积 0.0000 m²", "挖方面积 12.3457 m²"}};
    for (const auto& c : cases) {
        const SheetSectionTexts& t = sheet.sectionTexts[c.section];
        EXPECT_EQ(t.centre, c.centre);
        EXPECT_EQ(t.fill, c.fill);
        EXPECT_EQ(t.cut, c.cut);
        for (const char* s : {c.centre, c.fill, c.cut})
            EXPECT_NE(textOf(sheet, s), nullptr) << s;
    }
    // The catch points named: 坡脚 on both sides of both fills.
    int feet = 0;
    for (const SheetText& t : sheet.texts)
        feet += t.text == "坡脚";
    EXPECT_EQ(feet, 4);
    // The break points' offsets and elevations standing upright: the left catch point's offset,
    // both catch points' elevation, in both sections.
    int upright = 0;
    for (const SheetText& t : sheet.texts)
        upright += t.rotation_tdeg == 90 && (t.text == "-9.000" || t.text == "98.000");
    EXPECT_EQ(upright, 6);
}

TEST(SectionSheets, ASectionTooWideForTheSheetIsRefused) {
    // 2 x (40 + 1.5 x 4) = 92 m: 460 mm at 1:200, 184 mm at 1:500.
    const Result<SectionSheets> wide =
        layOutSectionSheets({fillSection("K0+000.000", 40, 4)}, "r", 200);
    ASSERT_FALSE(wide);
    EXPECT_NE(wide.failure().message.find("K0+000.000：横断面在 1:200 下要 "), std::string::npos)
        << wide.failure().message;
    EXPECT_NE(wide.failure().message.find("请用更小的比例（如 1:500）"), std::string::npos);
    EXPECT_TRUE(layOutSectionSheets({fillSection("K0+000.000", 40, 4)}, "r", 500));
    EXPECT_FALSE(layOutSectionSheets({}, "r", 200));
}

TEST(SectionSheets, TheDxfHasEverySheetSideBySide) {
    const Result<SectionSheets> sheets = layOutSectionSheets(sections(40, 6, 3), "主线", 200);
    ASSERT_TRUE(sheets);
    const std::string dxf = sectionSheetsDxf(*sheets);
    // One title block's sheet number a sheet, and each layer in the table.
    for (const SectionSheet& sheet : sheets->sheets)
        EXPECT_NE(dxf.find("第 " + std::to_string(sheet.number) + " 张  共 " +
                           std::to_string(sheets->sheets.size()) + " 张"),
                  std::string::npos);
    for (const char* layer :
         {"图框", "图签", "地面线", "设计线", "坡脚坡口", "中线", "引线", "标注"})
        EXPECT_NE(dxf.find(std::string("\r\n") + layer + "\r\n"), std::string::npos) << layer;
}

}  // namespace
}  // namespace hcurve
