// The one table writer of the reports: a report document laid out on A4 pages, portrait or
// landscape as its widest table needs, every page under the title block with its page number
// "第 n / m 页", the tables ruled, their column headings repeated on every page they run onto, no
// row split across a page and no text wrapped inside its cell: every column is as wide as its
// widest text.
#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

#include "commands/report_command.h"
#include "report/report_document.h"

class QPrinter;

namespace hcurve {

/// Told after each page is drawn (pages done, pages in all); returns false to stop the report.
using ReportProgress = std::function<bool(int done, int pages)>;

/// What writeReport tells when the progress stopped it.
inline constexpr char kReportCancelled[] = "已取消";

/// What a page holds: for each table drawn on it, the table, its rows from..to, and whether its
/// heading line comes first (its first page) or "(续)".
struct ReportSlice {
    std::size_t table;
    std::size_t from, to;
    bool first;
};
using ReportPage = std::vector<ReportSlice>;

/// A table as the pages see it: its rows and the lines of its notes.
struct ReportTableSize {
    std::size_t rows;
    std::size_t noteLines;
};

/// The tables laid out on pages (heights in any one unit): below the title block, a table's
/// heading line, its notes, the column headings and at least one row, or a new page; as many rows
/// as fit, the rest on the next page under the heading again; a gap of 1.2 rows between
/// tables. A row never fits when not even one does below the block; it is set all the same.
std::vector<ReportPage> reportPages(const std::vector<ReportTableSize>& tables, double rowHeight,
                                    double blockHeight, double pageHeight);

/// Sets the printer's page to A4 in the orientation the document needs and draws the document:
/// its page count, or why it failed (kReportCancelled when the progress stopped it).
Result<int> writeReport(QPrinter& printer, const ReportDocument& document,
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
