#include "app/main_window.h"

#include <QCloseEvent>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <exception>
#include <string>

#include "app/qt_printer.h"
#include "app/result_views.h"
#include "entry/design_entry.h"
#include "report/curve_report.h"
#include "stakes/stake_run.h"

namespace hcurve {

namespace {

// Pen widths of the lines are given in pixels of a 96 dots-per-inch screen.
constexpr double kReferenceDotsPerInch = 96.0;
constexpr int kFramePenPixels = 3;

QColor toColor(layout::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// Installed faces that show Chinese, best first; Qt takes the first one present and falls back
// along the list for any character a face lacks.
QStringList familiesFor(layout::Face face) {
    const QStringList sans{"Microsoft YaHei",  "WenQuanYi Micro Hei",
                           "Noto Sans CJK SC", "Source Han Sans SC",
                           "SimHei",           "Droid Sans Fallback"};
    const QStringList song{
        "SimSun",         "NSimSun",         "Noto Serif CJK SC", "Source Han Serif SC",
        "AR PL UMing CN", "AR PL SungtiL GB"};
    switch (face) {
        case layout::Face::Song:
            return song + sans;
        case layout::Face::Sans:
            return QStringList{"Arial", "Liberation Sans"} + sans;
        case layout::Face::Ui:
            break;
    }
    return sans;
}

QFont makeFont(const layout::FontStyle& style) {
    QFont font;
    font.setFamilies(familiesFor(style.face));
    font.setPointSizeF(style.points);
    font.setBold(style.bold);
    return font;
}

QString buttonStyle(layout::Rgb rgb) {
    const QString colour = toColor(rgb).name();
    return QStringLiteral(
               "QPushButton { background-color: %1; border: 2px outset %1; }"
               "QPushButton:pressed { border-style: inset; }"
               "QPushButton:focus { border-color: %2; }")
        .arg(colour, toColor(rgb).darker(140).name());
}

}  // namespace

// Holds the controls and paints the window's lines under them.
class MainWindow::Canvas : public QWidget {
  public:
    Canvas(MainWindow& window, QWidget* parent) : QWidget(parent), window_(window) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const double penScale = window_.dpiX_ / kReferenceDotsPerInch;
        for (const layout::LineLayout& line : layout::kLines) {
            QPen pen(toColor(line.colour));
            pen.setWidth(std::max(1, qRound(line.widthPixels * penScale)));
            pen.setCapStyle(Qt::RoundCap);
            painter.setPen(pen);
            painter.drawLine(window_.pixels(line.x1, line.y1), window_.pixels(line.x2, line.y2));
        }
    }

  private:
    MainWindow& window_;
};

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    dpiX_ = logicalDpiX();
    dpiY_ = logicalDpiY();

    setWindowTitle(QString::fromUtf8(layout::kWindowTitle));
    setFont(makeFont(layout::kWindowFont));
    QPalette background = palette();
    background.setColor(QPalette::Window, toColor(layout::kBackground));
    setPalette(background);
    setAutoFillBackground(true);

    // Where the screen is smaller than the design the controls scroll rather than overlap.
    auto* scroller = new QScrollArea(this);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroller->viewport()->setAutoFillBackground(true);
    canvas_ = new Canvas(*this, scroller);
    canvas_->setAutoFillBackground(true);
    // The frame lines on the design's right edge are centred on it: leave room for their width.
    const int overhang = qRound(kFramePenPixels * dpiX_ / kReferenceDotsPerInch);
    canvas_->setFixedSize(pixelsX(layout::kDesignWidthTwips) + overhang,
                          pixelsY(layout::kDesignHeightTwips) + overhang);
    scroller->setWidget(canvas_);
    auto* frame = new QHBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(scroller);

    buildControls();
    buildMenu();
}

void MainWindow::buildMenu() {
    // The field tools sit in a menu bar above the client area, which keeps its layout.
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("fieldTools"));
    bar->setFont(makeFont(layout::kUiBold));
    connect(bar->addAction(QStringLiteral("坐标反算")), &QAction::triggered, this,
            &MainWindow::runReverseCalculation);
    connect(bar->addAction(QStringLiteral("导出中桩坐标")), &QAction::triggered, this,
            &MainWindow::runExport);
    resultViews_ = new ResultViews(*this, *bar);
    layout()->setMenuBar(bar);
}

QWidget* MainWindow::canvas() const {
    return canvas_;
}

QSize MainWindow::sizeHint() const {
    return canvas_->size();
}

int MainWindow::pixelsX(int twips) const {
    return layout::twipsToPixels(twips, dpiX_);
}

int MainWindow::pixelsY(int twips) const {
    return layout::twipsToPixels(twips, dpiY_);
}

QRect MainWindow::pixels(const layout::TwipsRect& rect) const {
    return QRect(pixelsX(rect.left), pixelsY(rect.top), pixelsX(rect.width), pixelsY(rect.height));
}

void MainWindow::buildControls() {
    for (const layout::LabelLayout& row : layout::kLabels) {
        auto* label = new QLabel(canvas_);
        label->setObjectName(QString::fromStdString(labelName(row.label)));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFont(makeFont(row.font));
        label->setGeometry(pixels(row.rect));
        labels_[row.label] = label;
        setCaption(row.label, QString::fromUtf8(row.caption));
    }
    for (const layout::FieldLayout& row : layout::kFields) {
        auto* field = new QLineEdit(canvas_);
        field->setObjectName(QString::fromStdString(fieldName(row.field)));
        field->setFont(makeFont(layout::kUiBold));
        field->setGeometry(pixels(row.rect));
        if (row.whiteBackground) {
            QPalette white = field->palette();
            white.setColor(QPalette::Base, toColor(layout::kWhite));
            field->setPalette(white);
        }
        fields_[row.field] = field;
    }
    for (const layout::ButtonLayout& row : layout::kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(row.caption), canvas_);
        button->setObjectName(QString::fromUtf8(row.name));
        button->setFont(makeFont(layout::kUiBold));
        button->setStyleSheet(buttonStyle(row.colour));
        button->setGeometry(pixels(row.rect));
        buttons_[row.button] = button;
    }
    connect(button(layout::Button::command1), &QPushButton::clicked, this,
            &MainWindow::runCommand1);
    connect(button(layout::Button::command2), &QPushButton::clicked, this,
            &MainWindow::runCommand2);
    connect(button(layout::Button::Command4), &QPushButton::clicked, this,
            &MainWindow::runCommand4);
    connect(button(layout::Button::command3), &QPushButton::clicked, this, &MainWindow::endProgram);

    QWidget* previous = nullptr;
    for (const char* name : layout::kFocusOrder) {
        auto* next = canvas_->findChild<QWidget*>(QString::fromUtf8(name));
        if (previous != nullptr) {
            setTabOrder(previous, next);
        }
        previous = next;
    }
    canvas_->findChild<QWidget*>(QString::fromUtf8(layout::kFocusOrder.front()))->setFocus();
}

void MainWindow::setFieldText(Field which, const QString& text) {
    QLineEdit* edit = field(which);
    edit->setText(text);
    edit->setCursorPosition(0);
}

void MainWindow::setCaption(Label which, const QString& caption) {
    QLabel* target = label(which);
    target->setText(caption);
    if (layout::labelLayout(which).autoSize) {
        const QSize needed = target->sizeHint();
        target->resize(needed.width(),
                       std::max(pixels(layout::labelLayout(which).rect).height(), needed.height()));
    }
}

template <typename Command>
void MainWindow::runCommand(Command command) {
    // Every dialog a command opens is modal, so a second command cannot start before the first
    // ends; the flag only guards against a click queued while one is running.
    if (commandRunning_) {
        return;
    }
    commandRunning_ = true;
    bool inputEnded = false;
    try {
        command();
    } catch (const InputEnded&) {
        inputEnded = true;
    } catch (const std::exception& error) {
        port_.showMessage(std::string("计算中止：") + error.what());
    }
    commandRunning_ = false;
    resultViews_->commandEnded();
    if (inputEnded) {
        endProgram();
    }
}

void MainWindow::runCommand1() {
    runCommand([this] { command1(record_, port_); });
}

void MainWindow::runCommand2() {
    runCommand([this] { command2(record_, port_); });
}

void MainWindow::runCommand4() {
    runCommand([this] {
        std::unique_ptr<PrinterPort> printer =
            printerFactory_ ? printerFactory_() : makeQtPrinter();
        command4(record_, port_, *printer);
    });
}

void MainWindow::runReverseCalculation() {
    runCommand([this] { command5(record_, port_); });
}

void MainWindow::runExport() {
    runCommand([this] {
        if (std::optional<std::string> refusal = exportRefusal(record_)) {
            port_.showMessage(*refusal);
            return;
        }
        std::optional<ExportTarget> target = exportChooser_ ? exportChooser_() : chooseExportFile();
        if (!target) {
            return;
        }
        port_.showMessage(exportLastRun(record_, target->path, target->format).message);
    });
}

std::optional<MainWindow::ExportTarget> MainWindow::chooseExportFile() {
    const QString csvFilter = QStringLiteral("CSV 表格 (*.csv)");
    const QString datFilter = QStringLiteral("点文件 name,code,Y,X,H (*.dat)");
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    QString selected = csvFilter;
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("导出中桩坐标"), QDir(folder).filePath(QStringLiteral("中桩坐标.csv")),
        csvFilter + QStringLiteral(";;") + datFilter, &selected);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    std::optional<ExportFormat> format = exportFormatOf(path.toStdString());
    if (!format) {
        // No extension of its own: the one of the chosen file type.
        format = selected == datFilter ? ExportFormat::Dat : ExportFormat::Csv;
        path += format == ExportFormat::Dat ? QStringLiteral(".dat") : QStringLiteral(".csv");
    }
    return ExportTarget{path.toStdString(), *format};
}

void MainWindow::endProgram() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::exit(0);
}

}  // namespace hcurve
