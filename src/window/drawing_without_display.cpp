#include "window/drawing_without_display.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGlobal>
#include <clocale>

#include "views/plan_file.h"
#include "views/section_sheet_painter.h"
#include "window/report_writer.h"

namespace hcurve {
namespace {

// A program without a window has no session, so no runtime folder; Qt says so on standard error
// and uses a folder of its own, which a drawing never needs. Every other message goes on.
constexpr char kNoRuntimeFolder[] = "QStandardPaths: XDG_RUNTIME_DIR not set";
QtMessageHandler qtsOwnHandler = nullptr;

void withoutRuntimeFolderNotice(QtMsgType type, const QMessageLogContext& context,
                                const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String(kNoRuntimeFolder)))
        return;
    qtsOwnHandler(type, context, message);
}

// Starts Qt on its offscreen platform unless a Qt application runs already; whether what runs can
// draw (a QGuiApplication).
bool qtToDraw() {
    if (QCoreApplication::instance() == nullptr) {
        // Lives until the program ends: Qt cannot be started twice in one process.
        static int argc = 3;
        static char name[] = "hcurve", option[] = "-platform", platform[] = "offscreen";
        static char* argv[] = {name, option, platform, nullptr};
        qtsOwnHandler = qInstallMessageHandler(withoutRuntimeFolderNotice);
        new QGuiApplication(argc, argv);
        // Qt adopts the user's locale for the C library; numbers stay in the C form.
        std::setlocale(LC_NUMERIC, "C");
    }
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

Result<void> savePlanWithoutDisplay(const CurveRecord& record, const std::string& path) {
    if (!qtToDraw())
        return Failure{kCannotDrawPlan};
    return savePlan(record, path);
}

Result<std::string> saveStakeReportWithoutDisplay(const CurveRecord& record,
                                                  const std::string& path) {
    if (!qtToDraw())
        return Failure{"无法生成中桩成果报告。"};
    return saveStakeReportPdf(record, path);
}

Result<void> saveSectionSheetsWithoutDisplay(const SectionSheets& sheets, const std::string& path) {
    if (!qtToDraw())
        return Failure{kCannotDrawSheets};
    return saveSectionSheets(sheets, path);
}

}  // namespace hcurve
