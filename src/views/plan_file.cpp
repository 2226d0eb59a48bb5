#include "views/plan_file.h"

#include <QBuffer>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QtGlobal>
#include <algorithm>

#include "curve/shown_text.h"
#include "export/point_files.h"
#include "layout/plan_scene.h"
#include "platform/file_writing.h"
#include "port/messages.h"

namespace hcurve {
namespace {

constexpr int kScreenDotsPerInch = 96;
constexpr double kPdfMargin_mm = 10;

}  // namespace

QByteArray drawingBytes(const QSizeF& size, PlanFormat format, const QString& title,
                        const QString& description, const std::function<void(QPainter&)>& paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
        case PlanFormat::Png: {
            QImage image(size.toSize(), QImage::Format_RGB32);
            if (image.isNull())
                return {};
            image.setDotsPerMeterX(qRound(kScreenDotsPerInch / 0.0254));
            image.setDotsPerMeterY(qRound(kScreenDotsPerInch / 0.0254));
            {
                QPainter painter(&image);
                paint(painter);
            }
            if (!image.save(&buffer, "PNG"))
                return {};
            break;
        }
        case PlanFormat::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(size.toSize());
            svg.setViewBox(QRectF(QPointF(0, 0), size));
            svg.setResolution(kScreenDotsPerInch);
            svg.setTitle(title);
            if (!description.isEmpty())
                svg.setDescription(description);
            QPainter painter;
            if (!painter.begin(&svg))
                return {};
            paint(painter);
            painter.end();
            break;
        }
        case PlanFormat::Pdf: {
            QPdfWriter pdf(&buffer);
            pdf.setTitle(description.isEmpty() ? title
                                               : title + QStringLiteral("  ") + description);
            pdf.setPageLayout(
                QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                            QMarginsF(kPdfMargin_mm, kPdfMargin_mm, kPdfMargin_mm, kPdfMargin_mm),
                            QPageLayout::Millimeter));
            QPainter painter;
            if (!painter.begin(&pdf))
                return {};
            // The picture scaled to fill the printable area, centred on it.
            const QRectF area = painter.viewport();
            const double scale =
                std::min(area.width() / size.width(), area.height() / size.height());
            painter.translate((area.width() - size.width() * scale) / 2,
                              (area.height() - size.height() * scale) / 2);
            painter.scale(scale, scale);
            paint(painter);
            painter.end();
            break;
        }
    }
    return bytes;
}

QByteArray planBytes(const PlanScene& scene, const PlanFrame& frame, const QSizeF& size,
                     PlanFormat format) {
    return drawingBytes(size, format, QStringLiteral("平面图"), QString::fromStdString(scene.title),
                        [&](QPainter& painter) { paintPlan(painter, size, scene, frame); });
}

Result<void> savePlan(const PlanScene& scene, const PlanFrame& frame, const QSizeF& size,
                      const std::string& path) {
    const std::optional<PlanFormat> format = planFormatOf(path);
    if (!format)
        return Failure{"平面图文件的扩展名必须是 .png、.svg 或 .pdf：“" + shownText(path) +
                       "” 不对。"};
    const QByteArray bytes = planBytes(scene, frame, size, *format);
    if (bytes.isEmpty())
        return Failure{kCannotDrawPlan};
    return writeFileReplacing(path, bytes.toStdString());
}

Result<void> savePlan(const CurveRecord& record, const std::string& path) {
    if (!record.curve)
        return Failure{kNoComputedCurve};
    const QSizeF size(kPlanWidthPixels, kPlanHeightPixels);
    const PlanScene scene = planScene(record);
    return savePlan(scene, fitFrame(scene, size), size, path);
}

}  // namespace hcurve
