// Every command of the list runs in both front ends: typed on the console, and from its button or
// its menu entry in the window, each shows the same first question or message.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <sstream>
#include <string>
#include <vector>

#include "commands/command_list.h"
#include "console/console.h"
#include "port/messages.h"
#include "window/main_window.h"
#include "window_test_support.h"

namespace hcurve {
namespace {

// The console's lines for one command typed first thing, without the remarks for a person.
std::vector<std::string> consoleLines(const std::string& key, int& status) {
    std::istringstream in(key + "\n");
    std::ostringstream out, errors;
    status = runConsole(in, out, errors);
    std::vector<std::string> shown;
    std::istringstream written(out.str());
    for (std::string line; std::getline(written, line);) {
        if (line.rfind("# ", 0) != 0)
            shown.push_back(line);
    }
    return shown;
}

// What the window offers under the caption: its buttons, then its menu bar's entries.
std::vector<std::function<void()>> offers(MainWindow& window, const QString& caption) {
    std::vector<std::function<void()>> found;
    for (QPushButton* button : window.canvas()->findChildren<QPushButton*>()) {
        if (button->text() == caption)
            found.push_back([button] { QTest::mouseClick(button, Qt::LeftButton); });
    }
    for (QAction* action : window.findChild<QMenuBar*>(QStringLiteral("fieldTools"))->actions()) {
        if (action->text() == caption)
            found.push_back([action] { action->trigger(); });
    }
    for (QAction* action : window.findChild<QMenu*>(QStringLiteral("file"))->actions()) {
        if (action->text() == caption + QStringLiteral("…"))
            found.push_back([action] { action->trigger(); });
    }
    return found;
}

TEST(CommandList, EveryCommandRunsInBothFrontEnds) {
    const std::string askJd = "? 请输入交点的点号 : ( 不需输入冠号，只需输入点号 ) ";
    const std::string noCurve = std::string("! ") + kNoComputedCurve;
    const struct {
        Command command;
        std::vector<std::string> console;  // with no curve computed yet
        int status;
        int offeredInWindow;
        // What the window shows where it differs: its file dialogs ask for the file instead of
        // the console's question, and it writes the report itself.
        std::optional<std::vector<std::string>> window = std::nullopt;
    } cases[] = {
        {Command::DesignEntry, {askJd}, kInputEndedInCommand, 1},
        {Command::StakeRun, {noCurve}, kConsoleEnded, 1},
        {Command::Print, {noCurve}, kConsoleEnded, 1},
        {Command::ReverseCalculation, {noCurve}, kConsoleEnded, 1},
        {Command::Export, {noCurve}, kConsoleEnded, 1},
        {Command::SavePlan, {noCurve}, kConsoleEnded, 0},
        {Command::SaveCurve, {noCurve}, kConsoleEnded, 1},
        {Command::OpenCurve,
         {"? 请输入曲线文件名 :( 如 JD1.csv )"},
         kInputEndedInCommand,
         1,
         std::vector<std::string>{}},
        {Command::StakeReport,
         {"! 此版本编译时未带 Qt，无法生成中桩成果报告。"},
         kConsoleEnded,
         1,
         std::vector<std::string>{noCurve}},
        {Command::End, {}, kConsoleEnded, 1},
    };
    ASSERT_EQ(std::size(cases), kCommands.size());
    for (const auto& c : cases) {
        const CommandEntry& entry = commandEntry(c.command);
        int status = -1;
        EXPECT_EQ(consoleLines(entry.key, status), c.console) << entry.caption;
        EXPECT_EQ(status, c.status) << entry.caption;

        MainWindow window;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        testing::ScriptedUser user(window, {testing::ScriptedUser::kCancel});
        window.setCurveFileChooser([](bool) { return std::optional<std::string>(); });
        const auto offered = offers(window, QString::fromUtf8(entry.caption));
        ASSERT_EQ(static_cast<int>(offered.size()), c.offeredInWindow) << entry.caption;
        if (offered.empty())
            continue;
        if (c.command == Command::End)  // the program ends: its event loop with status 0
            EXPECT_EQ(testing::execAfter(offered.front()), 0);
        else
            offered.front()();
        // The window shows what the console writes: the first question or the one message.
        std::vector<std::string> shown;
        for (const std::string& prompt : user.prompts())
            shown.push_back("? " + prompt);
        for (const std::string& message : user.messages())
            shown.push_back("! " + message);
        EXPECT_EQ(shown, c.window.value_or(c.console)) << entry.caption;
        EXPECT_EQ(window.isVisible(), c.command != Command::End) << entry.caption;
    }
}

}  // namespace
}  // namespace hcurve
