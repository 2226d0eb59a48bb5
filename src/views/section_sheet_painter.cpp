#include "views/section_sheet_painter.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cctype>
#include <map>

#include "cad/section_sheet_dxf.h"
#include "curve/shown_text.h"
#include "platform/file_writing.h"

namespace hcurve {
namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr int kPdfDotsPerInch = 600;
// Fonts are made at this many pixels to the em and scaled from there, so that a text's size does
// not depend on rounding a pixel size.
constexpr int kFontDesign_px = 1000;
// A line of no width is drawn as thin as a plotter's finest pen; a dashed one in dashes of
// kDash_mm with gaps and dots between.
constexpr double kThinnest_mm = 0.13;
constexpr double kDash_mm = 4, kDashGap_mm = 0.8, kDot_mm = 0.4;

QColor inkColour(SheetInk ink) {
    const SheetRgb c = sheetInkColour(ink);
    return QColor(c.red, c.green, c.blue);
}

// The font of the sheets and how many of its ems a millimetre of text height is: the layout gives
// a half-width character kSheetNarrowWidth of the height across, and so the em is sized that a
// digit takes exactly that, which leaves a Chinese character (one em) about the height across.
struct SheetFont {
    QFont font;
    double emPerHeight = 1;
};

const SheetFont& sheetFont() {
    static const SheetFont f = [] {
        SheetFont s;
        s.font.setPixelSize(kFontDesign_px);
        s.font.setStyleHint(QFont::SansSerif);
        const QFontMetricsF m(s.font);
        const double digit = m.horizontalAdvance(QLatin1Char('0')) / kFontDesign_px;
        s.emPerHeight = digit > 0 ? kSheetNarrowWidth / digit : 1;
        return s;
    }();
    return f;
}

}  // namespace

void paintSectionSheet(QPainter& painter, const SectionSheet& sheet, const QRectF& target) {
    const double f = std::min(target.width() / kSheetWidth_mm, target.height() / kSheetHeight_mm);
    const double left = target.left() + (target.width() - kSheetWidth_mm * f) / 2;
    const double top = target.top() + (target.height() - kSheetHeight_mm * f) / 2;
    auto at = [&](const SheetPoint& p) {
        return QPointF(left + p.x_mm * f, top + (kSheetHeight_mm - p.y_mm) * f);
    };
    painter.save();
    painter.fillRect(QRectF(left, top, kSheetWidth_mm * f, kSheetHeight_mm * f), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    QPolygonF polygon;
    for (const SheetLine& l : sheet.lines) {
        const double width = std::max(l.width_mm, kThinnest_mm) * f;
        QPen pen(inkColour(l.ink), width, Qt::SolidLine);
        if (l.dashed) {
            const double w = std::max(l.width_mm, kThinnest_mm);
            pen.setDashPattern({kDash_mm / w, kDashGap_mm / w, kDot_mm / w, kDashGap_mm / w});
        }
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        polygon.clear();
        for (const SheetPoint& p : l.points)
            polygon << at(p);
        painter.drawPolyline(polygon);
    }
    for (const SheetCircle& c : sheet.circles) {
        painter.setPen(QPen(inkColour(c.ink), kThinnest_mm * f));
        painter.setBrush(c.ink == SheetInk::Catch ? QBrush(inkColour(c.ink)) : QBrush(Qt::white));
        painter.drawEllipse(at(c.centre), c.radius_mm * f, c.radius_mm * f);
    }
    painter.setBrush(Qt::NoBrush);
    const SheetFont& font = sheetFont();
    painter.setFont(font.font);
    const QFontMetricsF metrics(font.font);
    for (const SheetText& t : sheet.texts) {
        const QString s = QString::fromStdString(t.text);
        const double scale = t.height_mm * font.emPerHeight * f / kFontDesign_px;
        const double width = metrics.horizontalAdvance(s);
        const double dx = t.align == SheetAlign::Left     ? 0
                          : t.align == SheetAlign::Centre ? -width / 2
                                                          : -width;
        painter.save();
        painter.translate(at(t.at));
        painter.rotate(-t.rotation_tdeg);
        painter.scale(scale, scale);
        painter.setPen(inkColour(t.ink));
        painter.drawText(QPointF(dx, 0), s);
        painter.restore();
    }
    painter.restore();
}

Result<QByteArray> sectionSheetsPdf(const SectionSheets& sheets, const SheetProgress& progress) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return Failure{kCannotDrawSheets};
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(QStringLiteral("横断面图  ") + QString::fromStdString(sheets.route));
        pdf.setCreator(QStringLiteral("hcurve"));
        pdf.setResolution(kPdfDotsPerInch);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A3), QPageLayout::Landscape,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&pdf))
            return Failure{kCannotDrawSheets};
        const double f = kPdfDotsPerInch / kMillimetresPerInch;
        const QRectF page(0, 0, kSheetWidth_mm * f, kSheetHeight_mm * f);
        const int total = static_cast<int>(sheets.sheets.size());
        for (int i = 0; i < total; ++i) {
            if (i > 0 && !pdf.newPage())
                return Failure{kCannotDrawSheets};
            paintSectionSheet(painter, sheets.sheets[static_cast<std::size_t>(i)], page);
            if (progress && !progress(i + 1, total)) {
                painter.end();
                return Failure{kSheetsCancelled};
            }
        }
        if (!painter.end())
            return Failure{kCannotDrawSheets};
    }
    return bytes;
}

Result<void> saveSectionSheets(const SectionSheets& sheets, const std::string& path,
                               const SheetProgress& progress) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto endsWith = [&](const char* e) {
        const std::string ext(e);
        return lower.size() > ext.size() &&
               lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0;
    };
    if (endsWith(".dxf")) {
        if (progress)
            progress(static_cast<int>(sheets.sheets.size()),
                     static_cast<int>(sheets.sheets.size()));
        return writeFileReplacing(path, sectionSheetsDxf(sheets));
    }
    if (!endsWith(".pdf"))
        return Failure{"横断面图文件的扩展名必须是 .pdf 或 .dxf：“" + shownText(path) + "” 不对。"};
    const Result<QByteArray> bytes = sectionSheetsPdf(sheets, progress);
    if (!bytes)
        return outcomeOf(bytes);
    return writeFileReplacing(path, bytes->toStdString());
}

}  // namespace hcurve
