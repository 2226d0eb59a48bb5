#include "window/main_window.h"
#include "window/route_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <string>

#include "commands/curve_file_command.h"
#include "entry/curve_file.h"
#include "entry/design_entry.h"
#include "port/messages.h"
#include "window/file_dialogs.h"
#include "window/qt_printer.h"
#include "window/report_writer.h"
#include "window/result_views.h"

namespace hcurve {

namespace {

// Pen widths of the lines are given in pixels of a 96 dots-per-inch screen.
constexpr double kReferenceDotsPerInch = 96.0;
constexpr int kFramePenPixels = 3;

// Where a dialog goes: just inside the top-left corner of the title area, which holds only the
// title heading; the fields begin at y = 3600 in the left column, the sign diagram at x = 8640.
constexpr int kDialogLeftTwips = 120;
constexpr int kDialogTopTwips = 60;

// The view's choice, kept between sessions.
const char* const kSettingsOrganisation = "hcurve";
const char* const kSettingsApplication = "hcurve";
const char* const kFitToWindowKey = "view/fitToWindow";
const char* const kReopenKey = "curve/reopenLast";
const char* const kLastCurveKey = "curve/last";

QColor toColor(layout::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// Installed faces that show Chinese, best first; Qt takes the first one present and falls back
// along the list for any character a face lacks. A Latin face never comes first: where it is
// installed (Arial, or Liberation Sans, which fontconfig gives for Arial and which many Linux
// desktops and every browser install have) it would become the label's face, and its Chinese
// text would be left to whichever fallback Qt finds, in that face's metrics.
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
            // The Chinese sans faces' own Latin letters are sans; Arial only where none is there.
            return sans + QStringList{"Arial", "Liberation Sans"};
        case layout::Face::Ui:
            break;
    }
    return sans;
}

QFont makeFont(const layout::FontStyle& style, double scale = 1.0) {
    QFont font;
    font.setFamilies(familiesFor(style.face));
    font.setPointSizeF(style.points * scale);
    font.setBold(style.bold);
    return font;
}

const QColor kFocusFrame(0, 0, 160);

QString buttonStyle(layout::Rgb rgb) {
    const QString colour = toColor(rgb).name();
    return QStringLiteral(
               "QPushButton { background-color: %1; border: 2px outset %1; }"
               "QPushButton:pressed { border-style: inset; }"
               "QPushButton:disabled { color: %2; }"
               // The focused button wears a dark blue frame that no button colour hides.
               "QPushButton:focus { border: 3px solid %3; }")
        .arg(colour, toColor(rgb).darker(160).name(), kFocusFrame.name());
}

}  // namespace

// Holds the controls and paints the window's lines under them.
class MainWindow::Canvas : public QWidget {
  public:
    Canvas(MainWindow& window, QWidget* parent) : QWidget(parent), window_(window) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const double penScale = window_.dpiX_ * window_.scale_ / kReferenceDotsPerInch;
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
    scroller_ = new QScrollArea(this);
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setFocusPolicy(Qt::NoFocus);
    scroller_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroller_->viewport()->setAutoFillBackground(true);
    canvas_ = new Canvas(*this, scroller_);
    canvas_->setAutoFillBackground(true);
    scroller_->setWidget(canvas_);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    frame->addWidget(scroller_, 1);
    // Below the design, out of its way: what to do first, until there is a curve.
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("status"));
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setFont(makeFont(layout::kUiBold));
    frame->addWidget(statusBar_);

    buildControls();
    applyScale(1.0);
    buildMenu();
    if (reopenAction_->isChecked()) {
        const QString last =
            QSettings(kSettingsOrganisation, kSettingsApplication).value(kLastCurveKey).toString();
        if (!last.isEmpty())
            openCurveQuietly(record_, port_, last.toStdString());
    }
    showFirstStep();
    setFitToWindow(QSettings(kSettingsOrganisation, kSettingsApplication)
                       .value(kFitToWindowKey, false)
                       .toBool());
}

void MainWindow::applyScale(double scale) {
    scale_ = scale;
    // The frame lines on the design's right edge are centred on it: leave room for their width.
    const int overhang = qRound(kFramePenPixels * dpiX_ * scale_ / kReferenceDotsPerInch);
    canvas_->setFixedSize(pixelsX(layout::kDesignWidthTwips) + overhang,
                          pixelsY(layout::kDesignHeightTwips) + overhang);
    for (const layout::LabelLayout& row : layout::kLabels) {
        QLabel* target = label(row.label);
        target->setFont(makeFont(row.font, scale_));
        target->setGeometry(pixels(row.rect));
        setCaption(row.label, target->text());
    }
    for (const layout::FieldLayout& row : layout::kFields) {
        field(row.field)->setFont(makeFont(layout::kUiBold, scale_));
        field(row.field)->setGeometry(pixels(row.rect));
    }
    for (const layout::ButtonLayout& row : layout::kButtons) {
        button(row.button)->setFont(makeFont(layout::kUiBold, scale_));
        button(row.button)->setGeometry(pixels(row.rect));
    }
    canvas_->update();
}

double MainWindow::fittingScale() const {
    // The design's extent at 1:1, frame overhang included.
    const double width = layout::twipsToPixels(layout::kDesignWidthTwips, dpiX_) +
                         kFramePenPixels * dpiX_ / kReferenceDotsPerInch;
    const double height = layout::twipsToPixels(layout::kDesignHeightTwips, dpiY_) +
                          kFramePenPixels * dpiX_ / kReferenceDotsPerInch;
    const QSize room = scroller_->maximumViewportSize();
    return std::max(0.1, std::min(room.width() / width, room.height() / height));
}

void MainWindow::setFitToWindow(bool fit) {
    fitToWindow_ = fit;
    fitAction_->setChecked(fit);
    actualSizeAction_->setChecked(!fit);
    const Qt::ScrollBarPolicy bars = fit ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    scroller_->setHorizontalScrollBarPolicy(bars);
    scroller_->setVerticalScrollBarPolicy(bars);
    applyScale(fit ? fittingScale() : 1.0);
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    if (settings.value(kFitToWindowKey, false).toBool() != fit) {
        settings.setValue(kFitToWindowKey, fit);
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (fitToWindow_) {
        applyScale(fittingScale());
    }
}

QPoint MainWindow::dialogAnchor() const {
    return canvas_->mapToGlobal(pixels(kDialogLeftTwips, kDialogTopTwips));
}

void MainWindow::buildMenu() {
    // The field tools sit in a menu bar above the client area, which keeps its layout.
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("fieldTools"));
    bar->setFont(makeFont(layout::kUiBold));

    // 文件: a curve kept in a file, and whether the last one comes back at the next start.
    QMenu* file = bar->addMenu(QStringLiteral("文件"));
    file->setObjectName(QStringLiteral("file"));
    file->setFont(makeFont(layout::kUiBold));
    for (const CommandEntry& entry : kCommands) {
        if (entry.offered == Offered::FileMenu)
            connect(file->addAction(QString::fromUtf8(entry.caption) + QStringLiteral("…")),
                    &QAction::triggered, this, [this, which = entry.command] { run(which); });
    }
    QAction* printReport = file->addAction(QStringLiteral("打印中桩成果报告"));
    printReport->setObjectName(QStringLiteral("printStakeReport"));
    connect(printReport, &QAction::triggered, this,
            [this] { runCommand([this] { printStakeReport(); }); });
    file->addSeparator();
    reopenAction_ = file->addAction(QStringLiteral("启动时打开上次的曲线"));
    reopenAction_->setObjectName(QStringLiteral("reopenLastCurve"));
    reopenAction_->setCheckable(true);
    reopenAction_->setChecked(
        QSettings(kSettingsOrganisation, kSettingsApplication).value(kReopenKey, false).toBool());
    connect(reopenAction_, &QAction::toggled, this, [this](bool on) {
        QSettings(kSettingsOrganisation, kSettingsApplication).setValue(kReopenKey, on);
        keepLastCurve();
    });
    for (const CommandEntry& entry : kCommands) {
        if (entry.offered == Offered::ToolMenu)
            connect(bar->addAction(QString::fromUtf8(entry.caption)), &QAction::triggered, this,
                    [this, which = entry.command] { run(which); });
    }

    QMenu* view = bar->addMenu(QStringLiteral("视图"));
    view->setObjectName(QStringLiteral("view"));
    view->setFont(makeFont(layout::kUiBold));
    auto* sizes = new QActionGroup(view);
    fitAction_ = view->addAction(QStringLiteral("适应窗口"));
    actualSizeAction_ = view->addAction(QStringLiteral("原始大小"));
    for (QAction* action : {fitAction_, actualSizeAction_}) {
        action->setCheckable(true);
        sizes->addAction(action);
    }
    connect(fitAction_, &QAction::triggered, this, [this] { setFitToWindow(true); });
    connect(actualSizeAction_, &QAction::triggered, this, [this] { setFitToWindow(false); });
    addRouteMenu(bar, this);
    // Last in the bar: the table's entry grows to "中桩成果表 (新)" after a run, and moves
    // nothing when it does.
    resultViews_ = new ResultViews(*this, *bar);
    layout()->setMenuBar(bar);
    menuBar_ = bar;
}

void MainWindow::keepLastCurve() {
    if (!reopenAction_ || !reopenAction_->isChecked() || !record_.curve)
        return;
    QSettings(kSettingsOrganisation, kSettingsApplication)
        .setValue(kLastCurveKey, QString::fromStdString(curveFileText(record_)));
}

std::optional<std::string> MainWindow::chooseCurveFile(bool saving) {
    const QString filter = QStringLiteral("曲线文件 (*.csv)");
    const QString proposed =
        QString::fromStdString(record_.JD.empty() ? "曲线" : "JD" + record_.JD) + ".csv";
    QFileDialog dialog(this, saving ? QStringLiteral("保存曲线") : QStringLiteral("打开曲线"),
                       saving ? proposedPath(proposed) : dialogFolder(),
                       filter + QStringLiteral(";;所有文件 (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (port_.waitFor(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    QString path = dialog.selectedFiles().front();
    if (path.isEmpty())
        return std::nullopt;
    rememberFolder(path);
    if (saving && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    return path.toStdString();
}

std::optional<std::string> MainWindow::chooseReportFile() {
    const QString proposed = QStringLiteral("中桩成果报告-JD") +
                             QString::fromStdString(record_.JD) + QStringLiteral(".pdf");
    QFileDialog dialog(this, QStringLiteral("中桩成果报告"), proposedPath(proposed),
                       QStringLiteral("PDF 文件 (*.pdf)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (port_.waitFor(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    QString path = dialog.selectedFiles().front();
    if (path.isEmpty())
        return std::nullopt;
    rememberFolder(path);
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return path.toStdString();
}

void MainWindow::printStakeReport() {
    if (!record_.curve) {
        port_.showError(kNoComputedCurve);
        return;
    }
    const ReportDocument document = stakeReport(record_, reportDate());
    const QString name = QString::fromStdString(document.title);
    const PaintJob paint = [&](QPrinter& printer) {
        return outcomeOf(writeReport(printer, document));
    };
    const Result<void> printed = printOnDefaultPrinter(name, paint);
    if (printed) {
        port_.showMessage("中桩成果报告已送往打印机。");
        return;
    }
    const QString printerFailure = failureText(printed.failure());
    const DatedPdf pdf = saveDatedPdf(name, paint);
    if (!pdf.saved)
        port_.showError(
            QStringLiteral("中桩成果报告未能打印（%1），也未能存为 PDF 文件“%2”（%3）。")
                .arg(printerFailure, pdf.path, failureText(pdf.saved.failure()))
                .toStdString());
    else
        port_.showMessage(QStringLiteral("中桩成果报告未能打印（%1），已存为 %2")
                              .arg(printerFailure, pdf.path)
                              .toStdString());
}

void MainWindow::showFirstStep() {
    if (record_.curve)
        statusBar_->clearMessage();
    else
        statusBar_->showMessage(QStringLiteral("单击 开始计算 输入设计数据"));
}

QWidget* MainWindow::canvas() const {
    return canvas_;
}

QSize MainWindow::sizeHint() const {
    return canvas_->size();
}

int MainWindow::pixelsX(int twips) const {
    return layout::twipsToPixels(twips, dpiX_ * scale_);
}

int MainWindow::pixelsY(int twips) const {
    return layout::twipsToPixels(twips, dpiY_ * scale_);
}

QRect MainWindow::pixels(const layout::TwipsRect& rect) const {
    return QRect(pixelsX(rect.left), pixelsY(rect.top), pixelsX(rect.width), pixelsY(rect.height));
}

void MainWindow::buildControls() {
    for (const layout::LabelLayout& row : layout::kLabels) {
        auto* label = new QLabel(canvas_);
        label->setObjectName(QString::fromUtf8(row.name));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setText(QString::fromUtf8(row.caption));
        labels_[row.label] = label;
    }
    for (const layout::FieldLayout& row : layout::kFields) {
        auto* field = new QLineEdit(canvas_);
        field->setObjectName(QString::fromUtf8(row.name));
        // The fields show what the commands computed: they can be selected and copied, and take
        // the focus in their order, but typing changes nothing.
        field->setReadOnly(true);
        if (row.whiteBackground) {
            QPalette white = field->palette();
            white.setColor(QPalette::Base, toColor(layout::kWhite));
            field->setPalette(white);
        }
        fields_[row.field] = field;
        if (isDesignField(row.field)) {
            field->setToolTip(QStringLiteral("双击修改这一设计值，曲线随即重算"));
            field->installEventFilter(this);
        }
    }
    for (const layout::ButtonLayout& row : layout::kButtons) {
        auto* button =
            new QPushButton(QString::fromUtf8(commandEntry(row.button).caption), canvas_);
        button->setObjectName(QString::fromUtf8(row.name));
        button->setStyleSheet(buttonStyle(row.colour));
        button->installEventFilter(this);
        buttons_[row.button] = button;
        connect(button, &QPushButton::clicked, this, [this, which = row.button] { run(which); });
    }

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
    // A stake shown takes the place of the one before it, side points included: the side groups
    // show only points of the stake beside them.
    if (which == Field::StakeChainage) {
        for (Field side : {Field::LeftDistance, Field::LeftX, Field::LeftY, Field::RightDistance,
                           Field::RightX, Field::RightY})
            field(side)->clear();
    }
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

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A double click on a design value asks for that value again and computes the curve anew.
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (const auto& [which, edit] : fields_) {
            if (edit == watched && isDesignField(which)) {
                changeValue(which);
                return true;
            }
        }
    }
    // Enter on a focused command button presses it, as Space does.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* pressed = qobject_cast<QPushButton*>(watched);
        if (pressed != nullptr && key->modifiers() == Qt::NoModifier &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (!key->isAutoRepeat() && pressed->isEnabled()) {
                pressed->click();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

MainWindow::Snapshot MainWindow::snapshot() const {
    Snapshot state{record_, {}, {}};
    for (const auto& [which, edit] : fields_) {
        state.fields[which] = edit->text();
    }
    for (const auto& [which, shown] : labels_) {
        state.captions[which] = shown->text();
    }
    return state;
}

void MainWindow::restore(const Snapshot& before) {
    record_ = before.record;
    for (const auto& [which, text] : before.fields) {
        if (field(which)->text() != text) {
            setFieldText(which, text);
        }
    }
    for (const auto& [which, caption] : before.captions) {
        if (label(which)->text() != caption) {
            setCaption(which, caption);
        }
    }
}

void MainWindow::setCommandsEnabled(bool enabled) {
    for (const auto& [which, pushButton] : buttons_) {
        if (!commandEntry(which).anyTime) {
            pushButton->setEnabled(enabled);
        }
    }
    if (menuBar_ != nullptr) {
        for (QAction* action : menuBar_->actions()) {
            if (action->menu() == nullptr) {
                action->setEnabled(enabled);
            }
        }
    }
}

template <typename Command>
void MainWindow::runCommand(Command command) {
    // The dialogs leave 结 束 usable, so the other commands are refused while one runs; the flag
    // also guards against a click queued before they were.
    if (commandRunning_) {
        return;
    }
    commandRunning_ = true;
    QWidget* focused = QApplication::focusWidget();
    setCommandsEnabled(false);
    const Snapshot before = snapshot();
    bool inputEnded = false;
    try {
        command();
    } catch (const Cancelled&) {
        // The user left a question: the command ends, as if it had never started.
        restore(before);
    } catch (const InputEnded&) {
        inputEnded = true;
    } catch (const std::exception& error) {
        port_.showError(std::string("计算中止：") + error.what());
    }
    setCommandsEnabled(true);
    commandRunning_ = false;
    showFirstStep();
    keepLastCurve();
    resultViews_->commandEnded();
    if (inputEnded) {
        endProgram();
    } else if (focused != nullptr && focused->window() == this) {
        focused->setFocus();
    }
}

void MainWindow::changeValue(Field field) {
    runCommand([this, field] { changeDesignValue(record_, port_, field); });
}

void MainWindow::run(Command command) {
    const CommandEntry& entry = commandEntry(command);
    if (entry.offered == Offered::ConsoleOnly) {
        return;  // the plan view has a window of its own
    }
    CommandContext context{
        record_,
        port_,
        [this] { return printerFactory_ ? printerFactory_() : makeQtPrinter(); },
        [this] { return exportChooser_ ? exportChooser_() : chooseExportFile(); },
        {},
        [this] { endProgram(); },
        [this](bool saving) {
            return curveFileChooser_ ? curveFileChooser_(saving) : chooseCurveFile(saving);
        },
        saveStakeReportPdf,
        [this] { return reportFileChooser_ ? reportFileChooser_() : chooseReportFile(); }};
    if (entry.anyTime) {
        entry.run(context);
    } else {
        runCommand([&] { entry.run(context); });
    }
}

std::optional<ExportTarget> MainWindow::chooseExportFile() {
    const QString csvFilter = QStringLiteral("CSV 表格 (*.csv)");
    const QString datFilter = QStringLiteral("点文件 name,code,Y,X,H (*.dat)");
    const QString gsiFilter = QStringLiteral("全站仪点文件 Leica GSI-16 (*.gsi)");
    // Qt's own file dialog, which speaks the program's language whatever the desktop's is.
    QFileDialog dialog(
        this, QStringLiteral("导出中桩坐标"), proposedPath(QStringLiteral("中桩坐标.csv")),
        csvFilter + QStringLiteral(";;") + datFilter + QStringLiteral(";;") + gsiFilter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectNameFilter(csvFilter);
    if (port_.waitFor(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    QString path = dialog.selectedFiles().front();
    const QString selected = dialog.selectedNameFilter();
    if (path.isEmpty()) {
        return std::nullopt;
    }
    rememberFolder(path);
    std::optional<ExportFormat> format = exportFormatOf(path.toStdString());
    if (!format) {
        // No extension of its own: the one of the chosen file type.
        format = selected == datFilter   ? ExportFormat::Dat
                 : selected == gsiFilter ? ExportFormat::Gsi
                                         : ExportFormat::Csv;
        path += format == ExportFormat::Dat   ? QStringLiteral(".dat")
                : format == ExportFormat::Gsi ? QStringLiteral(".gsi")
                                              : QStringLiteral(".csv");
    }
    return ExportTarget{path.toStdString(), *format};
}

void MainWindow::endProgram() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A command waiting in a dialog ends with it; the program ends at once.
    port_.endQuestions();
    event->accept();
    QCoreApplication::exit(0);
}

}  // namespace hcurve
