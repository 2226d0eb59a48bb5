// Console command 7 with the drawing built in: the plan view saved in each format, without a
// display (the test starts no Qt application of its own: the command starts one offscreen).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "console/console.h"
#include "window/drawing_without_display.h"

namespace hcurve {
namespace {

namespace fs = std::filesystem;

const char* const kRightHandDesign =
    "1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30."
    "1530\n\n500\n\n200\n\n250\n\nn\n";

std::vector<std::string> session(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    runConsole(in, out, {}, savePlanWithoutDisplay);
    std::vector<std::string> lines;
    std::istringstream all(out.str());
    for (std::string line; std::getline(all, line);) {
        if (line.rfind("# ", 0) != 0)
            lines.push_back(line);
    }
    return lines;
}

std::string head(const fs::path& file, std::size_t bytes) {
    std::ifstream in(file, std::ios::binary);
    std::string text(bytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(bytes));
    return text.substr(0, static_cast<std::size_t>(in.gcount()));
}

TEST(ConsolePlan, WithoutACurveTheSameMessageAsTheOtherCommands) {
    const auto out = session("7\n2\n");
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], out[1]);
    EXPECT_EQ(out[0].rfind("! ", 0), 0u);
}

TEST(ConsolePlan, SavesEachFormatAndAnswersWithOneLine) {
    const fs::path folder = fs::temp_directory_path() / "hcurve-ConsolePlan";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string png = (folder / "平面图.png").string(), svg = (folder / "plan.SVG").string(),
                      pdf = (folder / "plan.pdf").string(), dxf = (folder / "plan.Dxf").string();
    const auto out =
        session(std::string(kRightHandDesign) + "2\n2\n12100\n12600\n100\n" + std::string(6, '\n') +
                "7\nplan.txt\n" + png + "\n7\n" + svg + "\n7\n" + pdf + "\n7\n" + dxf + "\n7\n\n");
    const std::string ask = "? 输入平面图文件的路径 (扩展名 .png、.svg、.pdf 或 .dxf) :";
    const std::vector<std::string> tail(out.end() - 11, out.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{
                  ask, "! 平面图文件的扩展名必须是 .png、.svg、.pdf 或 .dxf：“plan.txt” 不对。",
                  ask, "! 已保存平面图到文件“" + png + "”。", ask,
                  "! 已保存平面图到文件“" + svg + "”。", ask, "! 已保存平面图到文件“" + pdf + "”。",
                  ask, "! 已保存平面图到文件“" + dxf + "”。", ask}));
    EXPECT_EQ(head(fs::u8path(png), 6), "\x89PNG\r\n");
    EXPECT_NE(head(svg, 200).find("<svg"), std::string::npos);
    EXPECT_EQ(head(pdf, 5), "%PDF-");
    EXPECT_EQ(head(dxf, 12), "0\r\nSECTION\r\n");
    fs::remove_all(folder);
}

}  // namespace
}  // namespace hcurve
