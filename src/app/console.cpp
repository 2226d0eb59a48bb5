#include "app/console.h"

#include <istream>
#include <ostream>
#include <string>

#include "app/console_printer.h"
#include "app/plan_command.h"
#include "curve/curve_record.h"
#include "entry/design_entry.h"
#include "port/user_port.h"
#include "report/curve_report.h"
#include "stakes/field_tools.h"
#include "stakes/stake_run.h"

namespace hcurve {
namespace {

// Reads one line; a trailing CR (a line typed on Windows) is not part of the answer.
bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

std::string trimmed(const std::string& s) {
    std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

class ConsolePort : public UserPort {
  public:
    ConsolePort(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

    std::string ask(const std::string& prompt) override {
        out_ << "? " << prompt << '\n' << std::flush;
        std::string answer;
        if (!readLine(in_, answer))
            throw InputEnded{};
        return answer;
    }
    void setField(Field field, const std::string& text) override {
        out_ << fieldName(field) << '\t' << text << '\n';
    }
    void setCaption(Label label, const std::string& caption) override {
        out_ << labelName(label) << '\t' << caption << '\n';
    }
    void showMessage(const std::string& message) override { out_ << "! " << message << '\n'; }

  private:
    std::istream& in_;
    std::ostream& out_;
};

void greet(std::ostream& out) {
    out << "# 平曲线计算 (控制台)\n"
        << "# 命令: 1 开始计算, 2 中桩计算, 4 打印, 3 结 束; 5 坐标反算, 6 导出中桩坐标, 7 "
           "保存平面图\n"
        << "# 以 \"? \" 开头的行是提问: 输入一行作答, 直接回车即为确认\n"
        << std::flush;
}

}  // namespace

int runConsole(std::istream& in, std::ostream& out, const AfterCommand& afterCommand,
               const PlanSaver& savePlan) {
    ConsolePort port(in, out);
    CurveRecord record;
    greet(out);
    try {
        std::string line;
        while (readLine(in, line)) {
            const std::string command = trimmed(line);
            if (command.empty())
                continue;
            if (command == "1") {
                command1(record, port);
            } else if (command == "2") {
                command2(record, port);
            } else if (command == "4") {
                ConsolePrinter printer(out);
                command4(record, port, printer);
            } else if (command == "5") {
                command5(record, port);
            } else if (command == "6") {
                command6(record, port);
            } else if (command == "7") {
                command7(record, port, savePlan);
            } else if (command == "3") {
                break;
            } else {
                port.showMessage("没有这个命令：“" + command +
                                 "”。请输入 1 (开始计算)、2 (中桩计算)、4 (打印)、5 (坐标反算)、6 "
                                 "(导出中桩坐标)、7 (保存平面图) 或 3 (结 束)。");
            }
            out << std::flush;
            if (afterCommand)
                afterCommand(command, record);
        }
    } catch (const InputEnded&) {
        // The input ended while a command waited for an answer: the program ends here.
    }
    out << std::flush;
    return 0;
}

}  // namespace hcurve
