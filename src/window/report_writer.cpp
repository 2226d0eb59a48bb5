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

// What a page holds: for each table drawn on it, the table, its rows from..to, and whether its
// heading line comes first (its first page) or "(续)".
struct Slice {
    std::size_t table;
    std::size_t from, to;
    bool first;
};
using Page = std::vector<Slice>;

}  // namespace

ReportOutcome writeReport(QPrinter& printer, const ReportDocument& document,
                          const ReportProgress& progress) {
    ReportOutcome outcome;
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(kMargin_mm, kMargin_mm, kMargin_mm, kMargin_mm),
                           QPageLayout::Millimeter);

    // The widest table at the body font chooses the orientation; where even landscape is too
    // narrow, the font shrinks until it fits.
    printer.setPageOrientation(QPageLayout::Portrait);
    const double portraitWidth = printer.pageLayout().paintRectPixels(printer.resolution()).width();
    const double portraitHeight =
        printer.pageLayout().paintRectPixels(printer.resolution()).height();
    double widest = 0;
    {
        const QFontMetricsF body(reportFont(kBodyPoints), &printer);
        const QFontMetricsF bold(reportFont(kBodyPoints, true), &printer);
        for (const ReportTable& t : document.tables)
            widest = std::max(widest, sum(columnWidths(t, body, bold)));
    }
    double points = kBodyPoints;
    if (widest > portraitWidth) {
        printer.setPageOrientation(QPageLayout::Landscape);
        const double landscapeWidth = portraitHeight;
        if (widest > landscapeWidth)
            points = std::max(kSmallestPoints, kBodyPoints * landscapeWidth / widest * 0.98);
    }
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    const QFont bodyFont = reportFont(points), boldFont = reportFont(points, true);
    const QFont titleFont = reportFont(kTitlePoints, true);
    const QFontMetricsF body(bodyFont, &printer), bold(boldFont, &printer),
        title(titleFont, &printer);
    std::vector<std::vector<double>> widths;
    std::vector<QStringList> notes;
    for (const ReportTable& t : document.tables) {
        widths.push_back(columnWidths(t, body, bold));
        notes.push_back(noteLines(t, body, area.width()));
    }

    // The layout: the title block, then rows as long as they fit.
    const double rowHeight = body.height() * kRowSpacing;
    const double blockHeight = title.height() * 1.4 + body.height() * 2.2;
    const double bottom = area.height();
    std::vector<Page> pages(1);
    double y = blockHeight;
    for (std::size_t t = 0; t < document.tables.size(); ++t) {
        const ReportTable& table = document.tables[t];
        bool first = true;
        std::size_t row = 0;
        do {
            // A heading line, its notes, the column headings and at least one row, or a new page.
            const double head = rowHeight * (2 + notes[t].size());
            if (y + head + (table.rows.empty() ? 0 : rowHeight) > bottom && y > blockHeight) {
                pages.emplace_back();
                y = blockHeight;
            }
            y += head;
            Slice slice{t, row, row, first};
            while (slice.to < table.rows.size() && (y + rowHeight <= bottom || slice.to == row)) {
                ++slice.to;
                y += rowHeight;
            }
            pages.back().push_back(slice);
            row = slice.to;
            first = false;
            if (row < table.rows.size()) {
                pages.emplace_back();
                y = blockHeight;
            }
        } while (row < table.rows.size());
        y += rowHeight * kTableGap;
    }
    outcome.pages = static_cast<int>(pages.size());

    QPainter painter;
    if (!painter.begin(&printer)) {
        outcome.failure = QStringLiteral("无法开始打印作业");
        return outcome;
    }
    const QPen rule(Qt::black, std::max(1.0, printer.resolution() / 150.0));
    const double pad = kCellPadding * body.averageCharWidth();
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !printer.newPage()) {
            outcome.failure = QStringLiteral("无法开始新的一页");
            painter.end();
            return outcome;
        }
        // The title block: the title, then project, date and page number over a rule.
        painter.setPen(Qt::black);
        painter.setFont(titleFont);
        painter.drawText(QRectF(0, 0, area.width(), title.height() * 1.3), Qt::AlignCenter,
                         text(document.title));
        painter.setFont(bodyFont);
        const QRectF line(0, title.height() * 1.4, area.width(), body.height() * 1.4);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("项目：") + text(document.project));
        painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
                         QStringLiteral("日期：") + text(document.date));
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                         text(pageText(static_cast<int>(p) + 1, outcome.pages)));
        painter.setPen(rule);
        painter.drawLine(QPointF(0, line.bottom() + 2), QPointF(area.width(), line.bottom() + 2));

        double at = blockHeight;
        for (const Slice& slice : pages[p]) {
            const ReportTable& table = document.tables[slice.table];
            const std::vector<double>& w = widths[slice.table];
            painter.setPen(Qt::black);
            painter.setFont(boldFont);
            painter.drawText(
                QRectF(0, at, area.width(), rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                text(table.heading) + (slice.first ? QString() : QStringLiteral(" (续)")));
            at += rowHeight;
            painter.setFont(bodyFont);
            for (const QString& note : notes[slice.table]) {
                painter.drawText(QRectF(0, at, area.width(), rowHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, note);
                at += rowHeight;
            }
            auto drawRow = [&](const std::vector<std::string>& cells, bool heading) {
                double x = 0;
                painter.setFont(heading ? boldFont : bodyFont);
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
            at += rowHeight * kTableGap;
        }
        if (progress && !progress(static_cast<int>(p) + 1, outcome.pages)) {
            outcome.cancelled = true;
            printer.abort();
            painter.end();
            return outcome;
        }
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted)
        outcome.failure = QStringLiteral("打印作业出错");
    return outcome;
}

std::string reportDate() {
    return QDate::currentDate().toString(Qt::ISODate).toStdString();
}

Result<std::string> saveReportPdf(const ReportDocument& document, const std::string& path,
                                  const ReportProgress& progress) {
    int pages = 0;
    bool cancelled = false;
    const PaintJob paint = [&](QPrinter& printer) -> std::optional<QString> {
        const ReportOutcome outcome = writeReport(printer, document, progress);
        pages = outcome.pages;
        cancelled = outcome.cancelled;
        if (cancelled)
            return QStringLiteral("已取消");
        return outcome.failure;
    };
    const QString title = text(document.title);
    const std::string shown = shownText(path);
    if (const std::optional<QString> failure =
            savePdf(QString::fromStdString(path), title, paint)) {
        if (cancelled)
            return Failure{document.title + "已取消，没有写入文件“" + shown + "”。"};
        return Failure{document.title + "未能写入文件“" + shown + "”：" + failure->toStdString() +
                       "。"};
    }
    return "已保存" + document.title + "到文件“" + shown + "”（共 " + std::to_string(pages) +
           " 页）。";
}

Result<std::string> saveStakeReportPdf(const CurveRecord& record, const std::string& path) {
    return saveReportPdf(stakeReport(record, reportDate()), path);
}

}  // namespace hcurve
