// The main window: the title heading, the three framed columns of labelled output fields, the
// sign diagram and the four command buttons, all placed from the window layout tables and scaled
// with the screen's logical dots per inch (and, under 视图 → 适应窗口, to fill the window). It
// owns the curve record for its whole life; each button runs its command on that record through
// the window's user port. A command the user leaves puts the record and the window back as they
// were before it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "commands/command_list.h"
#include "curve/curve_record.h"
#include "layout/window_layout.h"
#include "port/controls.h"
#include "report/printer_port.h"
#include "window/qt_user_port.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QCloseEvent;
class QResizeEvent;
class QAction;
class QMenuBar;
class QScrollArea;
class QStatusBar;

namespace hcurve {

class ResultViews;

class MainWindow : public QWidget {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);

    QLineEdit* field(Field field) const { return fields_.at(field); }
    QLabel* label(Label label) const { return labels_.at(label); }
    QPushButton* button(layout::Button button) const { return buttons_.at(button); }

    /// The drawing surface that holds every control and line; its top-left corner is the
    /// origin of the layout, and its size is the design's extent.
    QWidget* canvas() const;

    /// Layout twips to canvas pixels at the screen's logical dots per inch and the view's scale.
    int pixelsX(int twips) const;
    int pixelsY(int twips) const;
    QPoint pixels(int xTwips, int yTwips) const { return {pixelsX(xTwips), pixelsY(yTwips)}; }
    QRect pixels(const layout::TwipsRect& rect) const;

    /// Writes a field from its first character on, as a command's output.
    void setFieldText(Field field, const QString& text);
    /// Changes a label's caption; a label that sizes itself to its text takes the new width.
    void setCaption(Label label, const QString& caption);

    CurveRecord& record() { return record_; }
    QtUserPort& userPort() { return port_; }

    /// Where 打印 sends the report; the system's printer unless replaced (tests print to files).
    using PrinterFactory = std::function<std::unique_ptr<PrinterPort>()>;
    void setPrinterFactory(PrinterFactory factory) { printerFactory_ = std::move(factory); }

    /// Where 导出中桩坐标 writes: a path and format, or nothing when the user cancels. A save-file
    /// dialog unless replaced (tests choose the file themselves).
    using ExportChooser = std::function<std::optional<ExportTarget>()>;
    void setExportChooser(ExportChooser chooser) { exportChooser_ = std::move(chooser); }

    /// Where 保存曲线 and 打开曲线 go: a path, or nothing when the user cancels. A file dialog in
    /// the documents folder unless replaced (tests choose the file themselves).
    using CurveFileChooser = std::function<std::optional<std::string>(bool saving)>;
    void setCurveFileChooser(CurveFileChooser chooser) { curveFileChooser_ = std::move(chooser); }
    /// Where 中桩成果报告 writes its PDF file; a file dialog unless replaced.
    using ReportFileChooser = std::function<std::optional<std::string>()>;
    void setReportFileChooser(ReportFileChooser chooser) {
        reportFileChooser_ = std::move(chooser);
    }

    /// What a double click on a design field does: asks that value again with its confirmation
    /// and computes the curve anew; leaving the question leaves everything as it was.
    void changeValue(Field field);

    /// Runs a command of the list as its button or menu entry does (the menu bar's field tools
    /// are 坐标反算 and 导出中桩坐标).
    void run(Command command);
    /// 中桩成果表 and 平面图, opened from the menu bar.
    ResultViews& resultViews() const { return *resultViews_; }
    /// Closes the window, which ends the program; also while a command waits in a dialog.
    void endProgram();

    /// 视图: the design 1:1 (the default), or scaled uniformly to fill the window. The choice is
    /// kept for the next session.
    void setFitToWindow(bool fit);
    bool fitsToWindow() const { return fitToWindow_; }
    /// The design's scale: 1 at 原始大小.
    double viewScale() const { return scale_; }

    /// Where a dialog's frame goes, in global coordinates: the free title area left of the sign
    /// diagram, clear of every field.
    QPoint dialogAnchor() const;

    /// Room for the whole design when the window is not maximised.
    QSize sizeHint() const override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Canvas;

    // What a command may change that the user sees or the next command reads.
    struct Snapshot {
        CurveRecord record;
        std::map<Field, QString> fields;
        std::map<Label, QString> captions;
    };
    Snapshot snapshot() const;
    void restore(const Snapshot& before);
    // While a command runs the other commands are refused; 结 束 stays.
    void setCommandsEnabled(bool enabled);
    void applyScale(double scale);
    double fittingScale() const;

    template <typename Command>
    void runCommand(Command command);

    void buildControls();
    void buildMenu();
    // The status bar's hint: what to do first, while there is no curve.
    void showFirstStep();
    // The computed curve, kept for the next start when the user wants it back.
    void keepLastCurve();
    std::optional<std::string> chooseCurveFile(bool saving);
    std::optional<std::string> chooseReportFile();
    // 文件 → 打印中桩成果报告: on the default printer, else as a dated PDF file.
    void printStakeReport();
    std::optional<ExportTarget> chooseExportFile();

    double dpiX_;
    double dpiY_;
    double scale_ = 1.0;
    bool fitToWindow_ = false;
    Canvas* canvas_;
    QScrollArea* scroller_;
    QMenuBar* menuBar_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QAction* fitAction_ = nullptr;
    QAction* actualSizeAction_ = nullptr;
    std::map<Field, QLineEdit*> fields_;
    std::map<Label, QLabel*> labels_;
    std::map<layout::Button, QPushButton*> buttons_;

    CurveRecord record_;
    QtUserPort port_{*this};
    PrinterFactory printerFactory_;
    ExportChooser exportChooser_;
    CurveFileChooser curveFileChooser_;
    ReportFileChooser reportFileChooser_;
    QAction* reopenAction_ = nullptr;
    ResultViews* resultViews_ = nullptr;
    bool commandRunning_ = false;
};

}  // namespace hcurve
