// The one table writer of the reports: a report document laid out on A4 pages, portrait or
// landscape as its widest table needs, every page under the title block with its page number
// "第 n / m 页", the tables ruled, their column headings repeated on every page they run onto, no
// row split across a page and no text wrapped inside its cell: every column is as wide as its
// widest text.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "commands/report_command.h"
#include "report/report_document.h"

class QPrinter;

namespace hcurve {

/// Told after each page is drawn (pages done, pages in all); returns false to stop the report.
using ReportProgress = std::function<bool(int done, int pages)>;

/// What the writer tells: why it failed or that it was stopped, or nothing; and its page count.
struct ReportOutcome {
    std::optional<QString> failure;
    bool cancelled = false;
    int pages = 0;
};

/// Sets the printer's page to A4 in the orientation the document needs and draws the document.
ReportOutcome writeReport(QPrinter& printer, const ReportDocument& document,
                          const ReportProgress& progress = {});

/// Today's date as the title block shows it: "2026-12-09".
std::string reportDate();

/// Writes the document as a PDF file at path, replacing a file there only with a complete one;
/// what the user is told ("已保存中桩成果报告到文件“…”（共 3 页）。"), named after the title.
Result<std::string> saveReportPdf(const ReportDocument& document, const std::string& path,
                                  const ReportProgress& progress = {});

/// 中桩成果报告 of the record as a PDF file: the saver of the window (and, through
/// saveStakeReportWithoutDisplay, of the console). Needs a QGuiApplication.
Result<std::string> saveStakeReportPdf(const CurveRecord& record, const std::string& path);

}  // namespace hcurve
