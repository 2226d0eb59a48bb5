// The console front end: its line protocol, as scripts see it.
#include "console/console.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <new>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace hcurve {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Runs a session and returns its output lines without the remarks for a person.
std::vector<std::string> session(const std::string& input, int* status = nullptr) {
    std::istringstream in(input);
    std::ostringstream out;
    int code = runConsole(in, out);
    if (status)
        *status = code;
    std::vector<std::string> result;
    for (const std::string& line : lines(out.str())) {
        if (line.rfind("# ", 0) != 0)
            result.push_back(line);
    }
    return result;
}

const char* const kRightHandDesign =
    "1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30."
    "1530\n\n500\n\n200\n\n250\n\nn\n";

TEST(Console, EveryLineIsAPromptAFieldACaptionOrAMessage) {
    int status = -1;
    auto out = session(std::string(kRightHandDesign) + "2\n0\n12300\n\n", &status);
    EXPECT_EQ(status, 0);
    ASSERT_FALSE(out.empty());
    for (const std::string& line : out) {
        bool prompt = line.rfind("? ", 0) == 0;
        bool control = line.rfind("Text", 0) == 0 || line.rfind("Label", 0) == 0;
        EXPECT_TRUE(prompt || (control && line.find('\t') != std::string::npos)) << line;
    }
    EXPECT_EQ(out.front(), "? 请输入交点的点号 : ( 不需输入冠号，只需输入点号 ) ");
    // The run empties what an earlier run showed, then lists its stake.
    const std::vector<std::string> tail(out.end() - 21, out.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"? 输入需要计算的中桩桩号 :( 以米为单位 )",
                                              "Text26\t",
                                              "Text27\t",
                                              "Text28\t",
                                              "Text31\t",
                                              "Text32\t",
                                              "Text33\t",
                                              "Text34\t",
                                              "Text35\t",
                                              "Text36\t",
                                              "Label36\t  路基宽度 DL",
                                              "Label38\t  纵座标 XL",
                                              "Label40\t  横座标 YL",
                                              "Label37\t 路基宽度 DR",
                                              "Label39\t  纵座标 XR",
                                              "Label41\t  横座标 YR",
                                              "Text49\t与中线正交",
                                              "? 单击 Enter 键或点击 OK 键显示中桩座标",
                                              "Text26\t k 12+300.000",
                                              "Text27\t 3456750.458",
                                              "Text28\t 512318.913"}));
    EXPECT_NE(std::find(out.begin(), out.end(), "Text14\tk 12+168.835"), out.end());
}

TEST(Console, EndOfInputWhileAskingEndsTheProgramAsFailed) {
    int status = -1;
    auto out = session("1\n7\n", &status);
    EXPECT_EQ(status, kInputEndedInCommand);
    EXPECT_EQ(
        out.back(),
        "? 确认交点点号输入是否正确 ?  输入正确单击 Enter 键或点击 OK 钮; 错误输入零( 即为:0 )");
}

TEST(Console, ReverseCalculationAnswersWithOneMessageLine) {
    auto out = session(std::string(kRightHandDesign) + "5\n3456750.4575\n512318.9125\n");
    const std::vector<std::string> tail(out.end() - 3, out.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "? 输入要反算的点的纵座标 X :( 以米为单位 )",
                        "? 输入要反算的点的横座标 Y :( 以米为单位 )",
                        "! 坐标反算：桩号 K12+300.000，偏距 0.000 米（中线上），位于圆曲线。"}));
}

TEST(Console, EachCurveHasItsOwnCaptionsAndNoStakesOfAnother) {
    const std::string leftHandWithoutSpirals =
        "1\n8\n\n2500\n\n1000\n\n2000\n\n120\n\n-45\n\n300\n\n0\n\n0\n\nn\n";
    auto out = session(leftHandWithoutSpirals + kRightHandDesign + "2\n0\n12300\n\n" +
                       kRightHandDesign + "4\n6\n");
    // The last curve's captions are those of its spirals.
    const std::vector<std::string> captions = {
        "Label45\t直缓点 :", "Label16\t 桩号 ZH", "Label17\t 纵座标 X", "Label18\t 横座标 Y",
        "Label46\t缓圆点 :", "Label19\t 桩号 HY", "Label47\t圆缓点 :",  "Label22\t 桩号 YH",
        "Label48\t缓直点 :", "Label25\t 桩号 HZ", "Label26\t 纵座标 X", "Label27\t 横座标 Y"};
    for (const std::string& caption : captions)
        EXPECT_NE(std::find(out.begin(), out.end(), caption), out.end()) << caption;
    // The stake of the run before the last design is neither printed nor exported.
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[out.size() - 3],
              "print\t                            缓直点(HZ) K12+535.388  "
              "3456837.445  512536.121");
    EXPECT_EQ(out[out.size() - 2], "print\t");
    EXPECT_EQ(out.back(), "! 尚无中桩计算结果：请先点击“中桩计算”计算中桩。");
}

// An output whose every write fails.
class FailingOutput : public std::streambuf {
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// An input that gives its text, then fails as a broken disk does.
class FailingInput : public std::streambuf {
  public:
    explicit FailingInput(std::string text) : text_(std::move(text)) {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }
    int_type underflow() override { throw std::system_error(EIO, std::generic_category()); }

  private:
    std::string text_;
};

TEST(Console, ExitStatusesWithOneLineSayingWhy) {
    const std::string design = std::string(kRightHandDesign) + "3\n";
    const struct {
        const char* name;
        std::string input;
        bool failingInput, failingOutput;
        const char* throwing;  // what the first command's end throws: "" nothing
        int status;
        std::string why;
        int commandsRun;
    } cases[] = {
        {"end command", "3\n1\n", false, false, "", 0, "", 0},
        {"end of input between commands", "\n", false, false, "", 0, "", 0},
        {"cut off in a command", "1\n7\n", false, false, "", 1,
         "hcurve: 输入在命令等待回答时结束，命令没有做完。\n", 0},
        {"unreadable input", "4\n", true, false, "", 2,
         "hcurve: 无法读取输入：系统错误（Input/output error）。\n", 1},
        {"unwritable output", design, false, true, "", 3, "hcurve: 无法写入标准输出：写入出错。\n",
         0},
        {"internal error", design, false, false, "error", 4, "hcurve: 内部错误：boom。\n", 1},
        {"out of memory", design, false, false, "memory", 4, "hcurve: 内部错误：内存不足。\n", 1},
    };
    for (const auto& c : cases) {
        std::istringstream text(c.input);
        FailingInput failingIn(c.input);
        std::istream in(c.failingInput ? static_cast<std::streambuf*>(&failingIn) : text.rdbuf());
        std::ostringstream written, errors;
        FailingOutput failingOut;
        std::ostream out(c.failingOutput ? static_cast<std::streambuf*>(&failingOut)
                                         : written.rdbuf());
        int commandsRun = 0;
        const int status = runConsole(in, out, errors, [&](const std::string&, const CurveRecord&) {
            ++commandsRun;
            if (std::string(c.throwing) == "error")
                throw std::runtime_error("boom");
            if (std::string(c.throwing) == "memory")
                throw std::bad_alloc();
        });
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(errors.str(), c.why) << c.name;
        EXPECT_EQ(commandsRun, c.commandsRun) << c.name;
    }
}

// A terminal: what is flushed is on the screen, a line is typed only when the program waits for
// it, and the screen's last line is noted at each wait.
class Terminal {
  public:
    explicit Terminal(std::vector<std::string> lines) : screen_(*this), keyboard_(*this) {
        for (std::string& line : lines)
            lines_.push_back(line + "\n");
    }
    std::streambuf* screen() { return &screen_; }
    std::streambuf* keyboard() { return &keyboard_; }
    std::vector<std::string> lastLineAtEachWait;
    int flushes = 0;

  private:
    struct Screen : std::streambuf {
        explicit Screen(Terminal& t) : t(t) {}
        int_type overflow(int_type c) override {
            pending += traits_type::to_char_type(c);
            return c;
        }
        std::streamsize xsputn(const char* s, std::streamsize n) override {
            pending.append(s, static_cast<std::size_t>(n));
            return n;
        }
        int sync() override {
            ++t.flushes;
            shown += pending;
            pending.clear();
            return 0;
        }
        Terminal& t;
        std::string pending, shown;
    };
    struct Keyboard : std::streambuf {
        explicit Keyboard(Terminal& t) : t(t) {}
        int_type underflow() override {
            const std::string& shown = t.screen_.shown;
            const std::size_t start = shown.rfind('\n', shown.size() - 2);
            t.lastLineAtEachWait.push_back(shown.substr(start + 1, shown.size() - start - 2));
            if (t.lines_.empty())
                return traits_type::eof();
            line = t.lines_.front();
            t.lines_.erase(t.lines_.begin());
            setg(line.data(), line.data(), line.data() + line.size());
            return traits_type::to_int_type(line[0]);
        }
        Terminal& t;
        std::string line;
    };
    Screen screen_;
    Keyboard keyboard_;
    std::vector<std::string> lines_;
};

TEST(Console, APromptIsOnScreenWheneverTheProgramWaits) {
    Terminal terminal(lines(std::string(kRightHandDesign) + "2\n0\n12300\n\n3\n"));
    std::istream in(terminal.keyboard());
    std::ostream out(terminal.screen());
    EXPECT_EQ(runConsole(in, out), 0);
    const std::vector<std::string>& waits = terminal.lastLineAtEachWait;
    ASSERT_EQ(waits.size(), 25u);
    EXPECT_EQ(waits.front(), "# 以 \"? \" 开头的行是提问: 输入一行作答, 直接回车即为确认");
    for (std::size_t i = 1; i < waits.size(); ++i) {
        const bool betweenCommands = i == 20 || i == 24;  // after the curve, after the stake
        EXPECT_EQ(waits[i].rfind("? ", 0) == 0, !betweenCommands) << i << ": " << waits[i];
    }
}

TEST(Console, ScriptedInputIsAnsweredInFewWrites) {
    // Input at hand is never waited for: output goes out as each command (1, 2, 3) starts, and at
    // the end.
    std::istringstream in(std::string(kRightHandDesign) + "2\n2\n12000\n12999\n1\n" +
                          std::string(1000, '\n') + "3\n");
    Terminal terminal({});
    std::ostream out(terminal.screen());
    EXPECT_EQ(runConsole(in, out), 0);
    EXPECT_EQ(terminal.flushes, 4);
}

// How input lines are taken: blank lines ignored, a trailing CR dropped, a byte-order mark
// skipped, a line too long refused, control characters and invalid bytes shown escaped.
TEST(Console, InputLines) {
    const std::string tooLong = "! 输入的行太长（超过 65536 字节），没有采用。";
    const std::string askJd = "? 请输入交点的点号 : ( 不需输入冠号，只需输入点号 ) ";
    const std::string confirmJd =
        "? 确认交点点号输入是否正确 ?  输入正确单击 Enter 键或点击 OK 钮; 错误输入零( 即为:0 )";
    const std::string hint =
        "。请输入 1 (开始计算)、2 (中桩计算)、4 (打印)、5 (坐标反算)、"
        "6 (导出中桩坐标)、7 (保存平面图)、8 (保存曲线)、9 (打开曲线)、10 (中桩成果报告) 或 3 "
        "(结 束)。";
    const struct {
        std::string input;
        std::vector<std::string> out;
    } cases[] = {
        {"\n   \n\r\nx\n12\n", {"! 没有这个命令：“x”" + hint, "! 没有这个命令：“12”" + hint}},
        {"1\r\n12\r\n0\r\n13\r\n\r\n",  // "0\r" is refused like "0"
         {askJd, "Text1\t  JD12", confirmJd, "Text1\t",
          "? 输入交点正确的点号 : ( 不需输入冠号，只需输入点号 ) ", "Text1\t JD13", confirmJd,
          "Text1\t JD13", "? 请输入交点桩号 : ( 以米为单位 ) "}},
        {"\xEF\xBB\xBF"
         "3\n1\n",
         {}},
        {std::string(70000, '1') + "\n3\n", {tooLong}},
        {"1\n" + std::string(70000, 'x') + "\r\n" + std::string(65536, '7') + "\r\n",
         {askJd, tooLong, askJd, "Text1\t  JD" + std::string(65536, '7'), confirmJd}},
        {"\x1b[31m\n", {"! 没有这个命令：“\\x1B[31m”" + hint}},
        {"1\nA\x01\xff\x1b[31m\n", {askJd, "Text1\t  JDA\\x01\xEF\xBF\xBD\\x1B[31m", confirmJd}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(session(c.input), c.out) << c.input.substr(0, 20);
}

// The greeting and the hint for an unknown command name every command, from the one list.
TEST(Console, GreetingAndHintNameEveryCommand) {
    std::istringstream in("99\n");
    std::ostringstream out;
    EXPECT_EQ(runConsole(in, out), 0);
    const std::vector<std::string> all = lines(out.str());
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0], "# 平曲线计算 (控制台)");
    EXPECT_EQ(all[1],
              "# 命令: 1 开始计算, 2 中桩计算, 4 打印, 3 结 束; 5 坐标反算, 6 导出中桩坐标, "
              "7 保存平面图, 8 保存曲线, 9 打开曲线, 10 中桩成果报告");
    EXPECT_EQ(all[3],
              "! 没有这个命令：“99”。请输入 1 (开始计算)、2 (中桩计算)、4 (打印)、"
              "5 (坐标反算)、6 (导出中桩坐标)、7 (保存平面图)、8 (保存曲线)、9 (打开曲线)、"
              "10 (中桩成果报告) 或 3 (结 束)。");
}

// 8 saves the curve to the file named, 9 opens it: a new session shows the same design and curve
// fields and captions as the dialogue left, without its questions.
TEST(Console, ACurveSavedIsOpenedToTheSameFields) {
    const std::string path = ::testing::TempDir() + "console_curve_" +
                             std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                             ".csv";
    std::vector<std::string> designed =
        session(std::string(kRightHandDesign) + "8\n" + path + "\n");
    ASSERT_FALSE(designed.empty());
    EXPECT_EQ(designed.back(), "! 已保存曲线到文件“" + path + "”。");
    EXPECT_EQ(designed[designed.size() - 2], "? 请输入曲线文件名 :( 如 JD1.csv )");
    // What the dialogue left last in each field and caption.
    std::map<std::string, std::string> shown;
    for (const std::string& line : designed) {
        if (line.rfind("Text", 0) == 0 || line.rfind("Label", 0) == 0)
            shown[line.substr(0, line.find('\t'))] = line;
    }
    const std::vector<std::string> opened = session("9\n" + path + "\n");
    ASSERT_FALSE(opened.empty());
    EXPECT_EQ(opened.front(), "? 请输入曲线文件名 :( 如 JD1.csv )");
    std::map<std::string, std::string> reopened;
    for (const std::string& line : opened) {
        EXPECT_NE(line.rfind("? ", 0) == 0 && line != opened.front(), true) << line;
        if (line.rfind("Text", 0) == 0 || line.rfind("Label", 0) == 0)
            reopened[line.substr(0, line.find('\t'))] = line;
    }
    EXPECT_EQ(reopened, shown);
    std::remove(path.c_str());
}

// A build without the drawing still saves the plan for CAD: command 7 asks for a .dxf only.
TEST(Console, WithoutTheDrawingThePlanIsSavedAsDxfOnly) {
    const std::string dxf = ::testing::TempDir() + "console_plan_" +
                            std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                            ".dxf";
    const std::vector<std::string> out =
        session(std::string(kRightHandDesign) + "7\nplan.png\n" + dxf + "\n");
    const std::string ask = "? 输入平面图文件的路径 (扩展名 .dxf) :";
    ASSERT_GE(out.size(), 4u);
    EXPECT_EQ(
        std::vector<std::string>(out.end() - 4, out.end()),
        (std::vector<std::string>{
            ask, "! 此版本编译时未带 Qt，不含绘图功能，平面图只能保存为 .dxf：“plan.png” 不对。",
            ask, "! 已保存平面图到文件“" + dxf + "”。"}));
    std::remove(dxf.c_str());
}

// 9 on what is not a curve file answers with the reason and keeps the session: a folder once ended
// it in an internal error.
TEST(Console, OpeningWhatIsNotACurveFileIsAnsweredAndTheSessionGoesOn) {
    const std::string missing = ::testing::TempDir() + "no_such_curve_file.csv";
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {".", "! 无法读取文件“.”：这是一个文件夹。"},
        {missing, "! 无法读取文件“" + missing + "”：没有这个文件或文件夹。"},
        {"/dev/zero", "! 文件“/dev/zero”：超过 8 MiB，不像是曲线文件，没有读。"},
    };
    for (const auto& c : cases) {
        int status = -1;
        const std::vector<std::string> out = session("9\n" + c.path + "\n3\n", &status);
        EXPECT_EQ(status, kConsoleEnded) << c.path;
        EXPECT_NE(std::find(out.begin(), out.end(), c.message), out.end()) << c.path;
    }
}

// A curve file a Chinese spreadsheet saved again in GBK opens as the route's files do; a file that
// is neither UTF-8 nor GBK says so.
TEST(Console, ACurveFileSavedAgainInGbkOpens) {
    const std::string gbk =
        "\xCF\xEE\xC4\xBF,\xD6\xB5\r\n\xBD\xBB\xB5\xE3\xBA\xC5,7\r\n\xBD\xBB\xB5\xE3\xD7\xAE\xBA"
        "\xC5 K,12345.678\r\n\xBD\xBB\xB5\xE3\xD7\xDD\xD7\xF9\xB1\xEA X,3456789.123\r\n\xBD\xBB"
        "\xB5\xE3\xBA\xE1\xD7\xF9\xB1\xEA Y,512345.678\r\n\xB7\xBD\xCE\xBB\xBD\xC7 T,45.3015\r\n"
        "\xC6\xAB\xBD\xC7 B,30.153\r\n\xB0\xEB\xBE\xB6 R,500\r\n\xBB\xBA\xBA\xCD\xC7\xFA\xCF\xDF"
        "\xD2\xAA\xCB\xD8 A1,200\r\n\xBB\xBA\xBA\xCD\xC7\xFA\xCF\xDF\xD2\xAA\xCB\xD8 A2,250\r\n"
        "\xBC\xC6\xCB\xE3\xB1\xDF\xD7\xAE,n\r\n";
    const std::string path = ::testing::TempDir() + "console_gbk_curve_" +
                             std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                             ".csv";
    for (const auto& [bytes, expected] :
         {std::pair<std::string, std::string>{gbk, "Text14\tk 12+168.835"},
          {"\x81 \x81 \r\n", "! 文件“" + path + "”既不是 UTF-8 也不是 GBK 编码的文本。"}}) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        const std::vector<std::string> out = session("9\n" + path + "\n");
        EXPECT_NE(std::find(out.begin(), out.end(), expected), out.end()) << expected;
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace hcurve
