#include "window/qt_printer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <variant>

#include "platform/file_replacement.h"
#include "platform/system_reason.h"
#include "report/print_layout.h"

namespace hcurve {
namespace {

constexpr double kTwipsPerInch = 1440.0;

// Faces tried after the one the report names, so that the report still prints in a Hei-style
// (sans-serif) CJK face where "黑体" is not installed.
QStringList heiFallbacks() {
    return {"SimHei",           "WenQuanYi Micro Hei", "WenQuanYi Zen Hei",
            "Noto Sans CJK SC", "Source Han Sans SC",  "Microsoft YaHei"};
}

QString documentName() {
    return QStringLiteral("平曲线报表");
}

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), int(text.size()));
}
std::string toUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// What the report asked the printer to do, kept until the document ends so that it can be
// rendered once on the printer and, should that fail, once more into a PDF file.
struct SetPosition {
    int x_twips;
    int y_twips;
};
struct SetFace {
    std::string face;
};
struct SetSize {
    int points;
};
struct PrintLine {
    std::vector<PrintItem> items;
};
using Operation = std::variant<SetPosition, SetFace, SetSize, PrintLine>;

// Plays the operations on a printer. Without a painter it only measures: it returns the right
// edge of the widest line, in device pixels. With a painter it draws, starting a new page when a
// line would run past the bottom of the printable area; it returns nothing when a new page
// cannot be started.
class Renderer {
  public:
    explicit Renderer(QPrinter& printer) : printer_(printer) {}

    std::optional<double> play(const std::vector<Operation>& operations, QPainter* painter) {
        painter_ = painter;
        font_ = QFont();
        face_.clear();
        points_ = 0;
        x_ = y_ = top_ = right_ = 0;
        for (const Operation& op : operations) {
            if (auto* p = std::get_if<SetPosition>(&op)) {
                x_ = p->x_twips * printer_.logicalDpiX() / kTwipsPerInch;
                y_ = top_ = p->y_twips * printer_.logicalDpiY() / kTwipsPerInch;
            } else if (auto* f = std::get_if<SetFace>(&op)) {
                face_ = fromUtf8(f->face);
                applyFont();
            } else if (auto* s = std::get_if<SetSize>(&op)) {
                points_ = s->points;
                applyFont();
            } else if (!printLine(std::get<PrintLine>(op).items)) {
                return std::nullopt;
            }
        }
        return right_;
    }

  private:
    void applyFont() {
        QStringList families = heiFallbacks();
        if (!face_.isEmpty())
            families.prepend(face_);
        font_.setFamilies(families);
        if (points_ > 0)
            font_.setPointSize(points_);
        if (painter_)
            painter_->setFont(font_);
    }

    bool printLine(const std::vector<PrintItem>& items) {
        const QFontMetricsF metrics(font_, &printer_);
        auto width = [&metrics](const std::string& text) {
            return metrics.horizontalAdvance(fromUtf8(text));
        };
        const double lineHeight = metrics.lineSpacing();
        for (const PlacedLine& line : layoutLine(items, x_, metrics.averageCharWidth(), width)) {
            if (painter_ && y_ > top_ && y_ + lineHeight > printer_.height()) {
                if (!printer_.newPage())
                    return false;
                y_ = top_;
            }
            for (const PlacedText& piece : line) {
                const QString text = fromUtf8(piece.text);
                if (painter_)
                    painter_->drawText(QPointF(piece.x, y_ + metrics.ascent()), text);
                right_ = std::max(right_, piece.x + metrics.horizontalAdvance(text));
            }
            y_ += lineHeight;
        }
        x_ = 0;
        return true;
    }

    QPrinter& printer_;
    QPainter* painter_ = nullptr;
    QFont font_;
    QString face_;
    int points_ = 0;
    double x_ = 0, y_ = 0, top_ = 0;  // print position and top of page, device pixels
    double right_ = 0;                // right edge of the widest line so far
};

// Prints the operations on the printer as it is set up; turns the page to landscape first when
// the widest line does not fit across the page upright. Done, or why it failed.
Result<void> render(QPrinter& printer, const std::vector<Operation>& operations) {
    Renderer renderer(printer);
    printer.setPageOrientation(QPageLayout::Portrait);
    if (renderer.play(operations, nullptr).value_or(0) > printer.width()) {
        printer.setPageOrientation(QPageLayout::Landscape);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return Failure{"打印作业无法开始"};
    const bool complete = renderer.play(operations, &painter).has_value();
    const bool ended = painter.end();
    if (!complete)
        return Failure{"无法开始新的一页"};
    if (!ended || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted) {
        return Failure{"打印作业出错"};
    }
    return done();
}

// Writes the document as a PDF file at path: through a temporary file beside it, so that an
// existing file is replaced only by a complete document (kind Replace), or a file that must be new
// takes its name only while the name is free (kind New). Done, or why it failed.
Result<void> writePdf(const QString& path, const QString& name, const PaintJob& paint,
                      platform::FileReplacement::Target kind) {
    platform::FileReplacement file;
    int failure = file.open(toUtf8(path), kind);
    if (failure == 0) {
        const QString temporary = fromUtf8(file.temporaryPath());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(temporary);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setDocName(name);
        if (!paint(printer) || QFileInfo(temporary).size() == 0)
            return Failure{"PDF 输出失败"};
        failure = file.commit();
    }
    if (failure != 0)
        return Failure{platform::systemReason(failure)};
    return done();
}

// True when anything stands at path, a link included.
bool taken(const QString& path) {
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// The home folder, when there is a real one: HOME set to an existing folder other than the root.
QString realHome() {
    const QString home = QString::fromLocal8Bit(qgetenv("HOME"));
    if (home.isEmpty() || !QDir::isAbsolutePath(home) || !QFileInfo(home).isDir())
        return QString();
    if (QFileInfo(home).canonicalFilePath() == QDir::rootPath())
        return QString();
    return QDir::cleanPath(home);
}

// The folders a report without a printer may go to, in this order: the documents folder, the
// home folder, the system's temporary folder. A documents folder is made when missing, but only
// inside a real home folder: never a folder anywhere else.
QStringList pdfFolders() {
    QStringList folders;
    const QString home = realHome();
    if (!home.isEmpty()) {
        const QString documents =
            QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        if (documents.startsWith(home + QLatin1Char('/')) &&
            (QFileInfo(documents).isDir() || QDir().mkpath(documents)))
            folders << documents;
        folders << home;
    }
    folders << QDir::tempPath();
    folders.removeDuplicates();
    return folders;
}

// A dated file name for the document in folder, not taken by anything (a link included).
QString datedPdfPath(const QString& folder, const QString& name, int attempt) {
    const QString stem = QDir(folder).filePath(
        name + QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-HHmmss")));
    QString path = stem + QStringLiteral(".pdf");
    for (int n = 2 + attempt; taken(path); ++n)
        path = stem + QStringLiteral("-%1.pdf").arg(n);
    return path;
}

// Names given to the dated report in one folder before giving up: each is lost only to a file
// that appeared between choosing the name and writing it.
constexpr int kDatedNameTries = 10;

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

class QtPrinter : public PrinterPort {
  public:
    // pdfPath empty: the default printer, with a dated PDF file when that fails.
    explicit QtPrinter(QString pdfPath) : pdfPath_(std::move(pdfPath)) {}

    void setPosition(int x_twips, int y_twips) override {
        operations_.push_back(SetPosition{x_twips, y_twips});
    }
    void setFontFace(const std::string& face) override { operations_.push_back(SetFace{face}); }
    void setFontSize(int points) override { operations_.push_back(SetSize{points}); }
    void printLine(const std::vector<PrintItem>& items) override {
        operations_.push_back(PrintLine{items});
    }

    Result<std::string> endDocument() override {
        std::vector<Operation> operations;
        operations.swap(operations_);
        const PaintJob paint = [&](QPrinter& printer) { return render(printer, operations); };
        if (!pdfPath_.isEmpty()) {
            if (const Result<void> saved = savePdf(pdfPath_, documentName(), paint); !saved) {
                return Failure{
                    toUtf8(QStringLiteral("报表未能保存为 PDF 文件 %1（%2）。")
                               .arg(nativePath(pdfPath_), failureText(saved.failure())))};
            }
            return toUtf8(QStringLiteral("报表已保存为 PDF 文件：%1").arg(nativePath(pdfPath_)));
        }
        const Result<void> printed = printOnDefaultPrinter(documentName(), paint);
        if (printed)
            return std::string();
        const QString printerFailure = failureText(printed.failure());
        const DatedPdf pdf = saveDatedPdf(documentName(), paint);
        if (pdf.saved) {
            return toUtf8(QStringLiteral("报表未能打印（%1），已保存为 PDF 文件：%2")
                              .arg(printerFailure, nativePath(pdf.path)));
        }
        return Failure{toUtf8(
            QStringLiteral("报表未能打印（%1），也未能保存为 PDF 文件 %2（%3）。")
                .arg(printerFailure, nativePath(pdf.path), failureText(pdf.saved.failure())))};
    }

  private:
    QString pdfPath_;
    std::vector<Operation> operations_;
};

}  // namespace

Result<void> printOnDefaultPrinter(const QString& name, const PaintJob& paint) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return Failure{"未找到可用的打印机"};
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(name);
    if (const Result<void> painted = paint(printer); !painted)
        return Failure{toUtf8(QStringLiteral("打印机“%1”：%2")
                                  .arg(info.printerName(), failureText(painted.failure())))};
    return done();
}

DatedPdf saveDatedPdf(const QString& name, const PaintJob& paint) {
    // The first folder that takes it; a name is lost only to a file that appeared between
    // choosing the name and writing it (nothing is left at the name by a failure of ours).
    DatedPdf pdf;
    for (const QString& folder : pdfFolders()) {
        for (int attempt = 0; attempt < kDatedNameTries; ++attempt) {
            pdf.path = datedPdfPath(folder, name, attempt);
            pdf.saved = writePdf(pdf.path, name, paint, platform::FileReplacement::Target::New);
            if (pdf.saved || !taken(pdf.path))
                break;
        }
        if (pdf.saved)
            return pdf;
    }
    return pdf;
}

Result<void> savePdf(const QString& path, const QString& name, const PaintJob& paint) {
    return writePdf(path, name, paint, platform::FileReplacement::Target::Replace);
}

QString failureText(const Failure& failure) {
    return fromUtf8(failure.message);
}

std::unique_ptr<PrinterPort> makeQtPrinter() {
    return std::make_unique<QtPrinter>(QString());
}

std::unique_ptr<PrinterPort> makePdfPrinter(const std::string& path) {
    return std::make_unique<QtPrinter>(fromUtf8(path));
}

}  // namespace hcurve
