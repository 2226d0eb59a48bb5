// The one-curve window of the page: its layout handed to the page's script, and each button and
// menu entry running its command of kCommands on the page's record through the page's port, as
// the desktop window runs them. Files the commands write go into the module's memory file system
// and leave it as downloads; files the user opens come in through it.
#include <emscripten.h>

#include <sys/stat.h>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_list.h"
#include "commands/curve_file_command.h"
#include "commands/plan_dxf.h"
#include "curve/shown_text.h"
#include "entry/curve_file.h"
#include "entry/design_entry.h"
#include "layout/display_cells.h"
#include "layout/plan_scene.h"
#include "layout/window_layout.h"
#include "report/print_layout.h"
#include "report/report_document.h"
#include "stakes/field_tools.h"
#include "stakes/stake_table.h"
#include "web/web_port.h"

namespace hcurve::web {

namespace {

// The commands write the files that become downloads into the module's working folder, where
// the files the user opens are put too, under their own names: a message names the file as the
// download does, and an export refuses to write over a curve file opened under that name as it
// would beside it on the desktop.

// The page reads no larger file into the module's memory.
constexpr std::size_t kLargestOpenedFile = 64 * 1024 * 1024;

constexpr const char* kFirstStep = "单击 开始计算 输入设计数据";

// clang-format off
// A file dialog of the page: the name chosen ('A' and the name, with the type's index before a
// TAB when there are types), 'C' when the user leaves it.
EM_ASYNC_JS(char*, pageChooseSave, (const char* title, const char* proposed, const char* types), {
    const answer = await Module.hcurvePage.chooseSave(UTF8ToString(title), UTF8ToString(proposed),
                                                      UTF8ToString(types));
    const text = answer === null ? 'C' : 'A' + answer;
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
// The file the user chose or dropped: 'A' and its name once written into the working folder, 'D'
// and its name for a folder, 'U' for a file the browser could not read, 'T' for one larger than
// the page reads; 'C' when the user left the dialog.
EM_ASYNC_JS(char*, pageChooseOpen, (const char* title), {
    const answer = await Module.hcurvePage.chooseOpen(UTF8ToString(title));
    const size = lengthBytesUTF8(answer) + 1;
    const copy = _malloc(size);
    stringToUTF8(answer, copy, size);
    return copy;
});
EM_JS(void, pageDownload, (const char* path, const char* name), {
    Module.hcurvePage.download(UTF8ToString(path), UTF8ToString(name));
});
EM_JS(void, pageStatus, (const char* text), {
    Module.hcurvePage.setStatus(UTF8ToString(text));
});
EM_JS(void, pageKeepCurve, (const char* text), {
    Module.hcurvePage.keepCurve(UTF8ToString(text));
});
EM_ASYNC_JS(void, pagePrint, (const char* title, const char* document), {
    await Module.hcurvePage.print(UTF8ToString(title), UTF8ToString(document));
});
// clang-format on

std::string taken(char* raw) {
    std::string text = raw == nullptr ? std::string() : std::string(raw);
    std::free(raw);
    return text;
}

/// The last part of a name the user typed: a download's name is a file name, never a path.
std::string fileNameOf(const std::string& typed) {
    const std::size_t slash = typed.find_last_of("/\\");
    std::string name = slash == std::string::npos ? typed : typed.substr(slash + 1);
    if (name == "." || name == "..")
        name.clear();
    return name;
}

bool exists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

struct Page {
    CurveRecord record;
    WebPort port;
    bool running = false;
    // The files the running command was given to write: downloads once it ends.
    std::vector<std::string> downloads;
    std::string date;
};

Page& page() {
    static Page instance;
    return instance;
}

/// The file a download is written to, for a name the user chose; nothing when it is no file name.
std::optional<std::string> downloadPath(const std::string& name) {
    const std::string file = fileNameOf(name);
    if (file.empty())
        return std::nullopt;
    page().downloads.push_back(file);
    return file;
}

bool hasExtension(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    return dot != std::string::npos && dot != 0 && dot + 1 < name.size();
}

/// The save dialog; the name chosen and the index of the type chosen.
std::optional<std::pair<std::string, int>> chooseSave(const std::string& title,
                                                      const std::string& proposed,
                                                      const std::string& types) {
    const std::string answer =
        taken(pageChooseSave(title.c_str(), proposed.c_str(), types.c_str()));
    if (answer.empty() || answer[0] != 'A')
        return std::nullopt;
    std::string name = answer.substr(1);
    int type = 0;
    if (const std::size_t tab = name.find('\t'); tab != std::string::npos) {
        type = std::atoi(name.substr(0, tab).c_str());
        name = name.substr(tab + 1);
    }
    name = fileNameOf(name);
    if (name.empty())
        return std::nullopt;
    return std::make_pair(name, type);
}

std::optional<ExportTarget> chooseExportFile() {
    const auto chosen = chooseSave("导出中桩坐标", "中桩坐标.csv",
                                   "CSV 表格 (*.csv)\t点文件 name,code,Y,X,H (*.dat)\t"
                                   "全站仪点文件 Leica GSI-16 (*.gsi)");
    if (!chosen)
        return std::nullopt;
    std::string name = chosen->first;
    std::optional<ExportFormat> format = exportFormatOf(name);
    if (!format) {
        // No extension of its own: the one of the chosen file type.
        format = chosen->second == 1   ? ExportFormat::Dat
                 : chosen->second == 2 ? ExportFormat::Gsi
                                       : ExportFormat::Csv;
        name += *format == ExportFormat::Dat   ? ".dat"
                : *format == ExportFormat::Gsi ? ".gsi"
                                               : ".csv";
    }
    const std::optional<std::string> path = downloadPath(name);
    if (!path)
        return std::nullopt;
    return ExportTarget{*path, *format};
}

/// The file the user picked or dropped, as the page put it into the working folder. A folder
/// becomes a folder and a file the browser could not read no file, so that the command tells
/// either as the desktop does.
std::optional<std::string> chooseOpenedFile(const std::string& title) {
    const std::string answer = taken(pageChooseOpen(title.c_str()));
    if (answer.size() < 2)
        return std::nullopt;
    const std::string name = fileNameOf(answer.substr(1));
    if (name.empty())
        return std::nullopt;
    switch (answer[0]) {
        case 'A':
            return name;
        case 'D':
            std::remove(name.c_str());
            ::mkdir(name.c_str(), 0777);
            return name;
        case 'U':
            std::remove(name.c_str());
            return name;
        case 'T':
            page().port.showError("文件“" + shownText(name) + "”：超过 " +
                                  std::to_string(kLargestOpenedFile / (1024 * 1024)) +
                                  " MiB，没有读。");
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::optional<std::string> chooseCurveFile(bool saving) {
    if (!saving)
        return chooseOpenedFile("打开曲线");
    const CurveRecord& record = page().record;
    const std::string proposed = (record.JD.empty() ? "曲线" : "JD" + record.JD) + ".csv";
    const auto chosen = chooseSave("保存曲线", proposed, "曲线文件 (*.csv)");
    if (!chosen)
        return std::nullopt;
    const std::string name = hasExtension(chosen->first) ? chosen->first : chosen->first + ".csv";
    return downloadPath(name);
}

// The printed lines as the page lays them out: each line its size in points, then the x of each
// piece (in character cells, a wide character two) and its text, TAB-separated.
class PagePrinter : public PrinterPort {
  public:
    explicit PagePrinter(std::string title) : title_(std::move(title)) {}
    void setPosition(int, int) override {}
    void setFontFace(const std::string&) override {}
    void setFontSize(int points) override { points_ = points; }
    void printLine(const std::vector<PrintItem>& items) override {
        const auto cells = [](const std::string& text) {
            return static_cast<double>(displayCells(text));
        };
        for (const PlacedLine& line : layoutLine(items, 0, 1, cells)) {
            text_ += "line\t" + std::to_string(points_);
            for (const PlacedText& piece : line)
                text_ += "\t" + std::to_string(static_cast<int>(piece.x)) + "\t" + piece.text;
            text_ += "\n";
        }
    }
    Result<std::string> endDocument() override {
        pagePrint(title_.c_str(), text_.c_str());
        return std::string();
    }

  private:
    std::string title_;
    std::string text_;
    int points_ = 10;
};

std::string joined(const std::vector<std::string>& texts) {
    std::string line;
    for (const std::string& text : texts)
        line += "\t" + text;
    return line;
}

/// The report as lines the page makes its printed tables of.
std::string reportText(const ReportDocument& document) {
    std::string text = "title\t" + document.title + "\nproject\t" + document.project + "\ndate\t" +
                       document.date + "\n";
    for (const ReportTable& table : document.tables) {
        text += "table\t" + table.heading + "\n";
        for (const std::string& note : table.notes)
            text += "note\t" + note + "\n";
        text += "columns" + joined(table.columns) + "\n";
        std::string numeric = "numeric";
        for (bool flag : table.numeric)
            numeric += flag ? "\t1" : "\t0";
        text += numeric + "\n";
        for (const std::vector<std::string>& row : table.rows)
            text += "row" + joined(row) + "\n";
    }
    return text;
}

// 中桩成果报告 in the browser: the report goes to the browser's print dialog, whose 另存为 PDF
// makes the file under the name the desktop proposes.
Result<std::string> printReport(const CurveRecord& record, const std::string& path) {
    const ReportDocument document = stakeReport(record, page().date);
    pagePrint(fileNameOf(path).c_str(), reportText(document).c_str());
    return std::string("中桩成果报告已送往打印对话框（可在其中另存为 PDF）。");
}

void showFirstStep() {
    pageStatus(page().record.curve ? "" : kFirstStep);
}

void keepLastCurve() {
    if (page().record.curve)
        pageKeepCurve(curveFileText(page().record).c_str());
}

/// Hands the files the command wrote to the browser as downloads.
void deliverDownloads() {
    std::vector<std::string> paths;
    paths.swap(page().downloads);
    for (const std::string& path : paths) {
        if (exists(path)) {
            pageDownload(path.c_str(), fileNameOf(path).c_str());
            std::remove(path.c_str());
        }
    }
}

/// The page as it opens: no curve, empty fields, the layout's captions.
void startAfresh() {
    Page& state = page();
    state.record = CurveRecord{};
    state.port.restore(Shown{WebPort().shown()});
}

enum RunOutcome { kDone = 0, kEnded = 1, kBusy = 2 };

template <typename Body>
int runCommand(Body body) {
    Page& state = page();
    if (state.running)
        return kBusy;
    state.running = true;
    const CurveRecord before = state.record;
    const Shown shownBefore = state.port.shown();
    bool ended = false;
    try {
        body(ended);
    } catch (const Cancelled&) {
        // The user left a question: the command ends, as if it had never started.
        state.record = before;
        state.port.restore(shownBefore);
    } catch (const InputEnded&) {
        ended = true;
    } catch (const std::exception& error) {
        state.port.showError(std::string("计算中止：") + error.what());
    }
    deliverDownloads();
    if (ended)
        startAfresh();
    else
        keepLastCurve();
    showFirstStep();
    state.running = false;
    return ended ? kEnded : kDone;
}

std::string rgbText(layout::Rgb rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
    return text;
}

std::string rectText(const layout::TwipsRect& rect) {
    return std::to_string(rect.left) + "\t" + std::to_string(rect.top) + "\t" +
           std::to_string(rect.width) + "\t" + std::to_string(rect.height);
}

const char* faceText(layout::Face face) {
    switch (face) {
        case layout::Face::Song:
            return "song";
        case layout::Face::Sans:
            return "sans";
        case layout::Face::Ui:
            break;
    }
    return "ui";
}

std::string fontText(const layout::FontStyle& font) {
    char points[16];
    std::snprintf(points, sizeof points, "%g", font.points);
    return std::string(faceText(font.face)) + "\t" + points + "\t" + (font.bold ? "1" : "0");
}

int commandIndex(Command command) {
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        if (kCommands[i].command == command)
            return static_cast<int>(i);
    return -1;
}

const char* offeredText(Offered offered) {
    switch (offered) {
        case Offered::Button:
            return "button";
        case Offered::ToolMenu:
            return "tool";
        case Offered::FileMenu:
            return "file";
        case Offered::ConsoleOnly:
            break;
    }
    return "console";
}

std::string layoutText() {
    std::string text = "design\t" + std::to_string(layout::kDesignWidthTwips) + "\t" +
                       std::to_string(layout::kDesignHeightTwips) + "\t" +
                       rgbText(layout::kBackground) + "\t" + layout::kWindowTitle + "\t" +
                       fontText(layout::kUiBold) + "\n";
    for (const layout::LabelLayout& row : layout::kLabels)
        text += "label\t" + labelName(row.label) + "\t" + row.caption + "\t" + rectText(row.rect) +
                "\t" + fontText(row.font) + "\t" + (row.autoSize ? "1" : "0") + "\t" + row.name +
                "\n";
    for (const layout::FieldLayout& row : layout::kFields)
        text += "field\t" + fieldName(row.field) + "\t" + rectText(row.rect) + "\t" +
                (row.whiteBackground ? "1" : "0") + "\t" + (isDesignField(row.field) ? "1" : "0") +
                "\t" + row.name + "\n";
    for (const layout::LineLayout& row : layout::kLines)
        text += "line\t" + std::to_string(row.number) + "\t" + rgbText(row.colour) + "\t" +
                std::to_string(row.widthPixels) + "\t" + std::to_string(row.x1) + "\t" +
                std::to_string(row.y1) + "\t" + std::to_string(row.x2) + "\t" +
                std::to_string(row.y2) + "\n";
    for (const layout::ButtonLayout& row : layout::kButtons)
        text += "button\t" + std::to_string(commandIndex(row.button)) + "\t" +
                commandEntry(row.button).caption + "\t" + rectText(row.rect) + "\t" +
                rgbText(row.colour) + "\n";
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        text += "command\t" + std::to_string(i) + "\t" + kCommands[i].caption + "\t" +
                offeredText(kCommands[i].offered) + "\t" + (kCommands[i].anyTime ? "1" : "0") +
                "\n";
    // The focus order, by what each control shows.
    for (const char* name : layout::kFocusOrder) {
        const std::string wanted = name;
        for (const layout::FieldLayout& row : layout::kFields)
            if (wanted == row.name)
                text += "focus\tfield\t" + fieldName(row.field) + "\n";
        for (const layout::ButtonLayout& row : layout::kButtons)
            if (wanted == row.name)
                text += "focus\tbutton\t" + std::to_string(commandIndex(row.button)) + "\n";
    }
    return text;
}

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string pointText(const PlanePoint& point) {
    return numberText(point.x_m) + "\t" + numberText(point.y_m);
}

std::string pointsText(const std::vector<PlanePoint>& points) {
    std::string text;
    for (const PlanePoint& point : points)
        text += "\t" + pointText(point);
    return text;
}

/// The plan view's scene in world coordinates (metres, X north, Y east), one item a line, for the
/// page to draw: the texts in it are the scene's own.
std::string planText(const PlanScene& scene) {
    std::string text = "title\t" + scene.title + "\njd\t" + scene.jdName + "\t" +
                       pointText(scene.jd) + "\ncentre\t" + pointText(scene.centre) + "\nturn\t" +
                       std::to_string(scene.turn) + "\ntangents\t" + pointText(scene.start) + "\t" +
                       pointText(scene.jd) + "\t" + pointText(scene.end) + "\ncentreline" +
                       pointsText(scene.centreLine) + "\n";
    for (const PlanMark& mark : scene.marks)
        text += "mark\t" + mark.name + "\t" + mark.chainage + "\t" + pointText(mark.at) + "\t" +
                (mark.labelAzimuth_deg ? numberText(*mark.labelAzimuth_deg) : std::string()) + "\n";
    for (const PlanStake& stake : scene.stakes) {
        text += "stake\t" + stake.chainage + "\t" + pointText(stake.at) + "\t" +
                numberText(stake.normal_deg) + "\n";
        if (!stake.left.empty())
            text += "left" + pointsText(stake.left) + "\n";
        if (!stake.right.empty())
            text += "right" + pointsText(stake.right) + "\n";
    }
    return text;
}

}  // namespace

}  // namespace hcurve::web

using namespace hcurve;
using namespace hcurve::web;

extern "C" {

/// The window's layout, one control a line (see layoutText).
EMSCRIPTEN_KEEPALIVE const char* hcurve_curve_layout() {
    static const std::string text = layoutText();
    return text.c_str();
}

/// Runs the command at the index of kCommands as its button or menu entry does; today's date
/// (YYYY-MM-DD) is for the report. 0: done, 1: the session ended (结 束), 2: another command
/// is running.
EMSCRIPTEN_KEEPALIVE int hcurve_run_command(int index, const char* date) {
    if (index < 0 || index >= static_cast<int>(kCommands.size()))
        return kDone;
    const CommandEntry& entry = kCommands[static_cast<std::size_t>(index)];
    if (entry.offered == Offered::ConsoleOnly)
        return kDone;
    if (!page().running)
        page().date = date;
    return runCommand([&entry](bool& ended) {
        Page& state = page();
        CommandContext context{
            state.record,
            state.port,
            [] { return std::make_unique<PagePrinter>("平曲线计算"); },
            [] { return chooseExportFile(); },
            {},
            [&ended] { ended = true; },
            [](bool saving) { return chooseCurveFile(saving); },
            printReport,
            [] {
                return std::optional<std::string>("中桩成果报告-JD" + page().record.JD + ".pdf");
            }};
        entry.run(context);
    });
}

/// A double click on a design field (by its name, "Radius"): asks that value again.
EMSCRIPTEN_KEEPALIVE int hcurve_change_value(const char* name) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const Field field = static_cast<Field>(i);
        if (fieldName(field) == name && isDesignField(field))
            return runCommand(
                [field](bool&) { changeDesignValue(page().record, page().port, field); });
    }
    return kDone;
}

/// The last curve kept in the browser's storage, opened without a word at the start.
EMSCRIPTEN_KEEPALIVE int hcurve_open_kept_curve(const char* text) {
    bool opened = false;
    runCommand([&](bool&) { opened = openCurveQuietly(page().record, page().port, text); });
    return opened ? 1 : 0;
}

/// The status line as the page opens: what to do first.
EMSCRIPTEN_KEEPALIVE void hcurve_show_first_step() {
    showFirstStep();
}

/// 中桩成果表: the last run's rows as tab-separated text with its header, as the desktop copies
/// them; only the header before any run.
EMSCRIPTEN_KEEPALIVE const char* hcurve_stake_table() {
    static std::string text;
    text = stakeTableText(stakeTableRows(page().record));
    return text.c_str();
}

/// The stake runs so far: the page tells a new run from one it has shown.
EMSCRIPTEN_KEEPALIVE int hcurve_stake_runs() {
    return static_cast<int>(page().record.stakeRuns);
}

/// The stakes of the last run; 0 before any, and after a new curve took the run with it.
EMSCRIPTEN_KEEPALIVE double hcurve_stake_count() {
    return static_cast<double>(page().record.lastRun.stakes.size());
}

/// 平面图: the scene of the computed curve and its last run; empty without a curve.
EMSCRIPTEN_KEEPALIVE const char* hcurve_plan_scene() {
    static std::string text;
    text = page().record.curve ? planText(planScene(page().record)) : std::string();
    return text.c_str();
}

/// 保存平面图 as DXF under the name chosen, as a download, with the desktop's message.
EMSCRIPTEN_KEEPALIVE int hcurve_save_plan_dxf(const char* name) {
    const std::string chosen = name;
    return runCommand([&chosen](bool&) {
        const std::optional<std::string> path = downloadPath(chosen);
        if (!path)
            return;
        const Result<void> saved = savePlanDxf(page().record, *path);
        if (saved)
            page().port.showMessage("已保存平面图到文件“" + shownText(*path) + "”。");
        else
            page().port.showError(saved.failure().message);
    });
}

/// The SVG or PNG the page drew of the plan, written as the download under the name chosen.
EMSCRIPTEN_KEEPALIVE void hcurve_plan_saved(const char* name) {
    page().port.showMessage("已保存平面图到文件“" + shownText(name) + "”。");
}

/// The largest file the page reads into the module's memory, in bytes.
EMSCRIPTEN_KEEPALIVE double hcurve_largest_opened_file() {
    return static_cast<double>(kLargestOpenedFile);
}

/// Whether a command is running (its question or message is open).
EMSCRIPTEN_KEEPALIVE int hcurve_busy() {
    return page().running ? 1 : 0;
}

}  // extern "C"
