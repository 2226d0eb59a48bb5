#include "window/report_writer.h"

#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "curve/shown_text.h"
#include "window/qt_printer.h"

namespace hcurve {
namespace {

constexpr double kMargin_mm = 15;
constexpr double kBodyPoints = 9;
constexpr double kSmallestPoints = 5;
constexpr double kTitlePoints = 14;
// Room inside a cell on either side of its text, and above and below it, in average character
// widths and line heights.
constexpr double kCellPadding = 0.6;
constexpr double kRowSpacing = 1.45;
// Between two tables, in line heights.
constexpr double kTableGap = 1.2;

QFont reportFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies({"SimHei", "WenQuanYi Micro Hei", "WenQuanYi Zen Hei", "Noto Sans CJK SC",
                      "Source Han Sans SC", "Microsoft YaHei"});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Column widths of a table at a font, in device pixels: the widest text of each column with
// its padding.
std::vector<double> columnWidths(const ReportTable& table, const QFontMetricsF& body,
                                 const QFontMetricsF& bold) {
    const double padding = 2 * kCellPadding * body.averageCharWidth();
    std::vector<double> widths;
    for (const std::string& c : table.columns)
        widths.push_back(bold.horizontalAdvance(text(c)) + padding);
    for (const std::vector<std::string>& row : table.rows) {
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], body.horizontalAdvance(text(row[i])) + padding);
    }
    return widths;
}

// A table's notes as they are set: each broken after a "，" where it is wider than the page.
QStringList noteLines(const ReportTable& table, const QFontMetricsF& body, double width) {
    QStringList lines;
    for (const std::string& note : table.notes) {
        QString line;
        for (const QString& piece : text(note).split(QStringLiteral("，"))) {
            const QString joined = line.isEmpty() ? piece : line + QStringLiteral("，") + piece;
            if (!line.isEmpty() && body.horizontalAdvance(joined) > width) {
                lines << line + QStringLiteral("，");
                line = piece;
            } else {
                line = joined;
            }
        }
        lines << line;
    }
    return lines;
}

double sum(const std::vector<double>& v) {
    double s = 0;
    for (double x : v)
        s += x;
    return s;
}

// The page orientation the widest table at the body font needs, set on the printer, and the body
// font's size: where even landscape is too narrow, the font shrinks until the table fits.
double setOrientation(QPrinter& printer, const ReportDocument& document) {
    printer.setPageOrientation(QPageLayout::Portrait);
    const QRect portrait = printer.pageLayout().paintRectPixels(printer.resolution());
    double widest = 0;
    const QFontMetricsF body(reportFont(kBodyPoints), &printer);
    const QFontMetricsF bold(reportFont(kBodyPoints, true), &printer);
    for (const ReportTable& t : document.tables)
        widest = std::max(widest, sum(columnWidths(t, body, bold)));
    if (widest <= portrait.width())
        return kBodyPoints;
    printer.setPageOrientation(QPageLayout::Landscape);
    const double landscapeWidth = portrait.height();
    if (widest > landscapeWidth)
        return std::max(kSmallestPoints, kBodyPoints * landscapeWidth / widest * 0.98);
    return kBodyPoints;
}

// The fonts of a report and their measures on the printer.
struct ReportFonts {
    QFont body, bold, title;
    QFontMetricsF bodyMetrics, boldMetrics, titleMetrics;
    double rowHeight, blockHeight;

    ReportFonts(double points, QPrinter& printer)
        : body(reportFont(points)),
          bold(reportFont(points, true)),
          title(reportFont(kTitlePoints, true)),
          bodyMetrics(body, &printer),
          boldMetrics(bold, &printer),
          titleMetrics(title, &printer),
          rowHeight(bodyMetrics.height() * kRowSpacing),
          blockHeight(titleMetrics.height() * 1.4 + bodyMetrics.height() * 2.2) {}
};

// The title block: the title, then project, date and page number over a rule.
void paintTitleBlock(QPainter& painter, const ReportFonts& fonts, const QPen& rule, double width,
                     const ReportDocument& document, int page, int pages) {
    painter.setPen(Qt::black);
    painter.setFont(fonts.title);
    painter.drawText(QRectF(0, 0, width, fonts.titleMetrics.height() * 1.3), Qt::AlignCenter,
                     text(document.title));
    painter.setFont(fonts.body);
    const QRectF line(0, fonts.titleMetrics.height() * 1.4, width,
                      fonts.bodyMetrics.height() * 1.4);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("项目：") + text(document.project));
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
                     QStringLiteral("日期：") + text(document.date));
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, text(pageText(page, pages)));
    painter.setPen(rule);
    painter.drawLine(QPointF(0, line.bottom() + 2), QPointF(width, line.bottom() + 2));
}

// One table's rows from..to at the height at: its heading line (or "(续)"), its notes, the
// column headings and the rows, ruled. Returns where the next table starts.
double paintSlice(QPainter& painter, const ReportFonts& fonts, const QPen& rule, double width,
                  const ReportTable& table, const std::vector<double>& w, const QStringList& notes,
                  const ReportSlice& slice, double at) {
    const double rowHeight = fonts.rowHeight;
    const double pad = kCellPadding * fonts.bodyMetrics.averageCharWidth();
    painter.setPen(Qt::black);
    painter.setFont(fonts.bold);
    painter.drawText(QRectF(0, at, width, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     text(table.heading) + (slice.first ? QString() : QStringLiteral(" (续)")));
    at += rowHeight;
    painter.setFont(fonts.body);
    for (const QString& note : notes) {
        painter.drawText(QRectF(0, at, width, rowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, note);
        at += rowHeight;
    }
    auto drawRow = [&](const std::vector<std::string>& cells, bool heading) {
        double x = 0;
        painter.setFont(heading ? fonts.bold : fonts.body);
        for (std::size_t c = 0; c < w.size(); ++c) {
            const QRectF cell(x, at, w[c], rowHeight);
            painter.setPen(rule);
            painter.drawRect(cell);
            painter.setPen(Qt::black);
            const bool right = !heading && c < table.numeric.size() && table.numeric[c];
            const Qt::Alignment align = (heading ? Qt::AlignHCenter
                                         : right ? Qt::AlignRight
                                                 : Qt::AlignLeft) |
                                        Qt::AlignVCenter;
            if (c < cells.size())
                painter.drawText(cell.adjusted(pad, 0, -pad, 0), align | Qt::TextSingleLine,
                                 text(cells[c]));
            x += w[c];
        }
        at += rowHeight;
    };
    drawRow(table.columns, true);
    for (std::size_t r = slice.from; r < slice.to; ++r)
        drawRow(table.rows[r], false);
    return at + rowHeight * kTableGap;
}

}  // namespace

std::vector<ReportPage> reportPages(const std::vector<ReportTableSize>& tables, double rowHeight,
                                    double blockHeight, double pageHeight) {
    std::vector<ReportPage> pages(1);
    double y = blockHeight;
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const ReportTableSize& table = tables[t];
        bool first = true;
        std::size_t row = 0;
        do {
            // A heading line, its notes, the column headings and at least one row, or a new page.
            const double head = rowHeight * static_cast<double>(2 + table.noteLines);
            if (y + head + (table.rows == 0 ? 0 : rowHeight) > pageHeight && y > blockHeight) {
                pages.emplace_back();
                y = blockHeight;
            }
            y += head;
            ReportSlice slice{t, row, row, first};
            while (slice.to < table.rows && (y + rowHeight <= pageHeight || slice.to == row)) {
                ++slice.to;
                y += rowHeight;
            }
            pages.back().push_back(slice);
            row = slice.to;
            first = false;
            if (row < table.rows) {
                pages.emplace_back();
                y = blockHeight;
            }
        } while (row < table.rows);
        y += rowHeight * kTableGap;
    }
    return pages;
}

Result<int> writeReport(QPrinter& printer, const ReportDocument& document,
                        const ReportProgress& progress) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(kMargin_mm, kMargin_mm, kMargin_mm, kMargin_mm),
                           QPageLayout::Millimeter);
    const ReportFonts fonts(setOrientation(printer, document), printer);
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    std::vector<std::vector<double>> widths;
    std::vector<QStringList> notes;
    std::vector<ReportTableSize> sizes;
    for (const ReportTable& t : document.tables) {
        widths.push_back(columnWidths(t, fonts.bodyMetrics, fonts.boldMetrics));
        notes.push_back(noteLines(t, fonts.bodyMetrics, area.width()));
        sizes.push_back({t.rows.size(), static_cast<std::size_t>(notes.back().size())});
    }
    const std::vector<ReportPage> pages =
        reportPages(sizes, fonts.rowHeight, fonts.blockHeight, area.height());
    const int pageCount = static_cast<int>(pages.size());

    QPainter painter;
    if (!painter.begin(&printer))
        return Failure{"无法开始打印作业"};
    const QPen rule(Qt::black, std::max(1.0, printer.resolution() / 150.0));
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !printer.newPage()) {
            painter.end();
            return Failure{"无法开始新的一页"};
        }
        paintTitleBlock(painter, fonts, rule, area.width(), document, static_cast<int>(p) + 1,
                        pageCount);
        double at = fonts.blockHeight;
        for (const ReportSlice& slice : pages[p])
            at = paintSlice(painter, fonts, rule, area.width(), document.tables[slice.table],
                            widths[slice.table], notes[slice.table], slice, at);
        if (progress && !progress(static_cast<int>(p) + 1, pageCount)) {
            printer.abort();
            painter.end();
            return Failure{kReportCancelled};
        }
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted)
        return Failure{"打印作业出错"};
    return pageCount;
}

std::string reportDate() {
    return QDate::currentDate().toString(Qt::ISODate).toStdString();
}

Result<std::string> saveReportPdf(const ReportDocument& document, const std::string& path,
                                  const ReportProgress& progress) {
    int pages = 0;
    bool cancelled = false;
    const PaintJob paint = [&](QPrinter& printer) {
        const Result<int> written = writeReport(printer, document, progress);
        if (written)
            pages = *written;
        else
            cancelled = written.failure().message == kReportCancelled;
        return outcomeOf(written);
    };
    const QString title = text(document.title);
    const std::string shown = shownText(path);
    if (const Result<void> saved = savePdf(QString::fromStdString(path), title, paint); !saved) {
        if (cancelled)
            return Failure{document.title + "已取消，没有写入文件“" + shown + "”。"};
        return Failure{document.title + "未能写入文件“" + shown + "”：" + saved.failure().message +
                       "。"};
    }
    return "已保存" + document.title + "到文件“" + shown + "”（共 " + std::to_string(pages) +
           " 页）。";
}

Result<std::string> saveStakeReportPdf(const CurveRecord& record, const std::string& path) {
    return saveReportPdf(stakeReport(record, reportDate()), path);
}

}  // namespace hcurve
