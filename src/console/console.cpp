#include "console/console.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>
#include <istream>
#include <memory>
#include <new>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>

#include "commands/command_list.h"
#include "console/console_printer.h"
#include "console/console_protocol.h"
#include "curve/curve_record.h"
#include "curve/shown_text.h"
#include "platform/standard_streams.h"
#include "platform/system_reason.h"
#include "port/user_port.h"

namespace hcurve {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kLineTooLong[] = "输入的行太长（超过 65536 字节），没有采用。";

// The input could not be read; the reason as the user reads it.
struct ReadFailed {
    std::string reason;
};

enum class LineRead { Line, TooLong, End };

std::string trimmed(const std::string& s) {
    std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The two streams of a session: lines in, with the output sent out before the input is waited
// for, and every failed write noticed before more work is done.
class Session {
  public:
    Session(std::istream& in, std::ostream& out) : in_(*in.rdbuf()), out_(out) {}

    std::ostream& out() { return out_; }

    // Throws OutputFailed once a write has failed.
    void check() {
        if (!out_)
            throw OutputFailed{};
    }

    void flush() {
        out_.flush();
        check();
    }

    // Reads one line; a trailing CR (a line typed on Windows) is not part of it, nor is a
    // byte-order mark at the start of the input. A line too long is skipped to its end unkept.
    LineRead readLine(std::string& line) {
        if (in_.in_avail() <= 0)
            flush();  // about to wait for the input: whatever is written must be on screen
        try {
            const LineRead read = readRawLine(line);
            if (first_) {
                first_ = false;
                if (read == LineRead::Line && line.rfind(kByteOrderMark, 0) == 0)
                    line.erase(0, sizeof kByteOrderMark - 1);
            }
            return read;
        } catch (const std::system_error& error) {
            throw ReadFailed{platform::systemReason(error.code().value())};
        } catch (const std::bad_alloc&) {
            throw ReadFailed{"内存不足"};
        }
    }

  private:
    LineRead readRawLine(std::string& line) {
        line.clear();
        bool any = false, tooLong = false;
        for (;;) {
            const std::streambuf::int_type c = in_.sbumpc();
            if (std::streambuf::traits_type::eq_int_type(c, std::streambuf::traits_type::eof())) {
                if (!any)
                    return LineRead::End;
                break;
            }
            any = true;
            if (c == '\n')
                break;
            if (tooLong)
                continue;
            line += static_cast<char>(c);
            // One byte more than the limit may be the CR of a Windows line end.
            if (line.size() > kMaxInputLineBytes + 1) {
                tooLong = true;
                std::string().swap(line);
            }
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return tooLong || line.size() > kMaxInputLineBytes ? LineRead::TooLong : LineRead::Line;
    }

    std::streambuf& in_;
    std::ostream& out_;
    bool first_ = true;
};

class ConsolePort : public UserPort {
  public:
    explicit ConsolePort(Session& session) : session_(session), out_(session.out()) {}

    std::string ask(const std::string& prompt) override {
        for (;;) {
            writeLine("? ", prompt);
            std::string answer;
            switch (session_.readLine(answer)) {
                case LineRead::Line:
                    return answer;
                case LineRead::End:
                    throw InputEnded{};
                case LineRead::TooLong:
                    showMessage(kLineTooLong);
                    break;
            }
        }
    }
    // "Text14", TAB, the text: the field's protocol name.
    void setField(Field field, const std::string& text) override {
        writeLine("Text", protocolNumber(field), text);
    }
    void setCaption(Label label, const std::string& caption) override {
        writeLine("Label", protocolNumber(label), caption);
    }
    void showMessage(const std::string& message) override { writeLine("! ", message); }

  private:
    // A stake run writes a line for every field of every point, straight into the output's
    // buffer: the name and its number, a TAB, the text.
    void writeLine(std::string_view name, int controlNumber, std::string_view text) {
        char head[16];
        std::memcpy(head, name.data(), name.size());
        char* end = std::to_chars(head + name.size(), head + sizeof head - 1, controlNumber).ptr;
        *end++ = '\t';
        writeLine(std::string_view(head, static_cast<std::size_t>(end - head)), text);
    }
    void writeLine(std::string_view head, std::string_view text) {
        std::streambuf& buffer = *out_.rdbuf();
        const auto headSize = static_cast<std::streamsize>(head.size());
        const auto textSize = static_cast<std::streamsize>(text.size());
        if (!out_ || buffer.sputn(head.data(), headSize) != headSize ||
            buffer.sputn(text.data(), textSize) != textSize ||
            std::streambuf::traits_type::eq_int_type(buffer.sputc('\n'),
                                                     std::streambuf::traits_type::eof()))
            throw OutputFailed{};
    }

    Session& session_;
    std::ostream& out_;
};

void greet(std::ostream& out) {
    out << "# 平曲线计算 (控制台)\n"
        << "# 命令: " << commandSummary() << "\n"
        << "# 以 \"? \" 开头的行是提问: 输入一行作答, 直接回车即为确认\n";
}

// Runs the commands until the end command or the end of the input between commands.
void serve(Session& session, ConsolePort& port, const AfterCommand& afterCommand,
           const PlanSaver& savePlan, const ReportSaver& saveReport) {
    CurveRecord record;
    bool ended = false;
    CommandContext context{
        record, port,       [&session] { return std::make_unique<ConsolePrinter>(session.out()); },
        {},     savePlan,   [&ended] { ended = true; },
        {},     saveReport, {}};
    greet(session.out());
    std::string line;
    for (;;) {
        const LineRead read = session.readLine(line);
        if (read == LineRead::End)
            return;
        if (read == LineRead::TooLong) {
            port.showMessage(kLineTooLong);
            continue;
        }
        const std::string command = trimmed(line);
        if (command.empty())
            continue;
        // A command may write files: an output already lost stops the session before it starts.
        session.flush();
        if (const CommandEntry* entry = commandForKey(command))
            entry->run(context);
        else
            port.showMessage("没有这个命令：“" + shownText(command) + "”。" + commandHint());
        if (ended)
            return;
        session.check();
        if (afterCommand)
            afterCommand(command, record);
    }
}

std::string outputFailure(std::ostream& out) {
    if (auto* buffer = dynamic_cast<platform::OutputDescriptorBuffer*>(out.rdbuf()))
        return platform::systemReason(buffer->error());
    return "写入出错";
}

}  // namespace

int runConsole(std::istream& in, std::ostream& out, std::ostream& errors,
               const AfterCommand& afterCommand, const PlanSaver& savePlan,
               const ReportSaver& saveReport) {
    Session session(in, out);
    ConsolePort port(session);
    int status = kConsoleEnded;
    std::string why;
    try {
        serve(session, port, afterCommand, savePlan, saveReport);
    } catch (const InputEnded&) {
        status = kInputEndedInCommand;
        why = "输入在命令等待回答时结束，命令没有做完。";
    } catch (const ReadFailed& failure) {
        status = kInputUnreadable;
        why = "无法读取输入：" + failure.reason + "。";
    } catch (const OutputFailed&) {
        status = kOutputUnwritable;
    } catch (const std::bad_alloc&) {
        status = kInternalError;
        why = "内部错误：内存不足。";
    } catch (const std::exception& error) {
        status = kInternalError;
        why = std::string("内部错误：") + error.what() + "。";
    }
    // What is written so far goes out in any case; its loss outweighs any other failure.
    if (status != kOutputUnwritable && !out.flush())
        status = kOutputUnwritable;
    if (status == kOutputUnwritable)
        why = "无法写入标准输出：" + outputFailure(out) + "。";
    if (status != kConsoleEnded)
        errors << "hcurve: " << why << '\n' << std::flush;
    return status;
}

int runConsole(std::istream& in, std::ostream& out, const AfterCommand& afterCommand,
               const PlanSaver& savePlan, const ReportSaver& saveReport) {
    return runConsole(in, out, std::cerr, afterCommand, savePlan, saveReport);
}

int runStandardConsole(const PlanSaver& savePlan, const ReportSaver& saveReport) {
    const int closed = platform::guardStandardDescriptors();
    platform::InputDescriptorBuffer input(0);
    platform::OutputDescriptorBuffer output(1);
    if (closed & 2)
        output.fail(EBADF);
    std::istream in(&input);
    std::ostream out(&output);
    return runConsole(in, out, std::cerr, {}, savePlan, saveReport);
}

}  // namespace hcurve
