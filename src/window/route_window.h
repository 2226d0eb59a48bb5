// The route window: the whole road of one JD table, with its curve-element table, the stake table
// of a stretch (interval, stretch and side distances in one form), the plan of the road with every
// JD and the stakes last computed, export of the stakes and printing of both tables; with a grade
// line also the vertical-curve table and the longitudinal profile, printed and saved as a drawing.
// Files of the grade line or the cross-fall from another folder are added to an open window.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "alignment/cross_section.h"
#include "alignment/ground_sections.h"
#include "alignment/route.h"
#include "cad/section_sheets.h"
#include "curve/result.h"
#include "export/point_files.h"
#include "layout/plan_scene.h"
#include "report/report_document.h"
#include "route_files/route_tables.h"
#include "terrain/centre_ground.h"
#include "views/section_sheet_painter.h"
#include "window/qt_printer.h"
#include "window/report_writer.h"

class QCheckBox;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPrinter;
class QTableView;
class QTabWidget;

namespace hcurve {

class PlanCanvas;
class ProfileView;
class RouteTableModel;
class SectionPage;

class RouteWindow : public QWidget {
    Q_OBJECT

  public:
    /// files: those the route was read from, the JD table (or element table, or LandXML file)
    /// first. The window opens inside the screen's free area, at the size and with the form it had
    /// when it was last closed.
    RouteWindow(Route route, const QStringList& files, QWidget* parent = nullptr);
    /// With the cross-section built on the route: the 横断面 tab and the edges of the stake table.
    RouteWindow(Route route, std::optional<CrossSection> section, const QStringList& files,
                QWidget* parent = nullptr);

    const Route& route() const { return route_; }
    const QStringList& files() const { return files_; }
    /// The names of the files, as the window's title and the report name the route.
    QString title() const;
    /// What a file written from the route is named after: its first file's name without its
    /// extension ("路线" for 路线.csv, also when 纵断面.csv was read with it).
    QString baseName() const;

    /// 添加纵断面/横坡…: reads the route's files again with these after them (a grade line, a
    /// cross-fall or chain breaks from any folder) and shows the route read; the stakes last shown
    /// are computed again on it, and its warnings are told. Without a route the window stays as it
    /// was, and the failures say why.
    Result<void> addFiles(const QStringList& files);
    QTabWidget* tabs() const { return tabs_; }
    /// The tables; the stake table's rows are formatted as the view shows them.
    QTableView* elementTable() const { return elements_; }
    QTableView* stakeTable() const { return stakes_; }
    QTableView* segmentTable() const { return segments_; }
    QLineEdit* intervalField() const { return interval_; }
    QLineEdit* fromField() const { return from_; }
    QLineEdit* toField() const { return to_; }
    QLineEdit* leftField() const { return left_; }
    QLineEdit* rightField() const { return right_; }
    QLineEdit* skewField() const { return skew_; }
    /// The plan tab: the plan view's canvas, and the coordinates under the cursor. It shows the
    /// stakes last computed once the tab is looked at.
    PlanCanvas* plan() const { return plan_; }
    QLabel* planCoordinates() const { return planCoordinates_; }
    /// The vertical-curve table and the profile: none without a grade line.
    QTableView* verticalTable() const { return vertical_; }
    ProfileView* profileView() const { return profile_; }
    /// The cross-section: none without a template. Its tab (横断面) shows the stakes of the table
    /// last computed (before that, every 20 m); 显示边缘 adds every edge's offset and elevation
    /// to the stake table, the columns of `hcurve route --edges`.
    const std::optional<CrossSection>& crossSection() const { return section_; }
    SectionPage* sectionPage() const { return sectionPage_; }
    QCheckBox* edgesBox() const { return edgesBox_; }

    /// Computes the stake table from the form and shows it: done, or why the form cannot be used
    /// (the table is then left as it was).
    Result<void> computeStakes();

    /// Writes the stakes last shown to a .csv or .dat file: done, or why not. With 显示边缘
    /// the edges follow each stake's side points, as `hcurve route --edges --out` writes them.
    Result<void> exportStakes(const QString& path);

    /// Where 导出… writes: a path, or nothing when the user cancels. A save-file dialog in the
    /// documents folder unless replaced (tests choose the file themselves).
    using PathChooser = std::function<std::optional<QString>()>;
    void setExportChooser(PathChooser chooser) { exportChooser_ = std::move(chooser); }
    /// 导出…: asks for the file and writes it; what the user is told ("已导出 7 个点到文件“…”。"),
    /// nothing when the user cancelled, or why it could not be written. A .xml file is the route
    /// as LandXML ("已把路线写成 LandXML 文件“…”。"), stakes computed or not.
    Result<std::optional<QString>> exportToChosenFile();

    /// The report of the element table and the stakes last shown, for the one table writer.
    ReportDocument report() const;

    /// Prints the element table and the stakes last shown: to the default printer, or as a PDF
    /// file (to pdfPath when given, else a dated file in the documents folder when there is no
    /// printer). progress is told after every page and can stop the report. What the user is told
    /// (where it went, or that it was stopped), or why it was neither printed nor saved.
    Result<QString> print(const std::optional<QString>& pdfPath = std::nullopt,
                          const ReportProgress& progress = {});
    /// print with a progress dialog whose 取消 stops it; the window stays alive meanwhile.
    Result<QString> printWithProgress(const std::optional<QString>& pdfPath = std::nullopt);

    /// Saves the plan by the path's extension: as PNG, SVG or PDF as the plan tab shows it, or as
    /// DXF for CAD with the stakes last shown: done, or why not.
    Result<void> savePlanDrawing(const QString& path);

    /// Saves the profile as PNG, SVG or PDF by the path's extension: done, or why not.
    Result<void> saveProfile(const QString& path);

    /// Saves the cross-section at the stake the 横断面 tab shows as PNG, SVG or PDF by the path's
    /// extension: done, or why not.
    Result<void> saveSection(const QString& path);

    /// The name the cross-section sheets give the route (a LandXML alignment's; empty: baseName).
    /// With surveyed ground sections (setGround) the 横断面 tab shows the sections with ground
    /// within the stakes' stretch, each with its areas, and prints and saves their sheets.
    void setSheetName(std::string name);
    /// The cross-section sheets of the sections the 横断面 tab shows with ground, at the tab's
    /// scale; or why there are none (no ground, a section without areas, one too wide).
    Result<SectionSheets> sectionSheets() const;
    /// Saves them as PDF or DXF by the path's extension: done, or why not (every failure of the
    /// sheets; kSheetsCancelled when progress stopped it).
    Result<void> saveSectionSheets(const QString& path, const SheetProgress& progress = {});
    /// Draws them on a printer that is set up, a sheet a page (A3 across asked for): done, or why
    /// not.
    Result<void> printSectionSheets(QPrinter& printer, const SheetProgress& progress = {});

    /// Prints the profile, as print does the tables.
    Result<QString> printProfile(const std::optional<QString>& pdfPath = std::nullopt);

    /// The ground of the route's files (surveyed sections, a terrain model): the stake table
    /// gains 地面高程 and 填挖高 after its other columns, as `hcurve route --stakes` writes them
    /// with a ground file, and the profile draws the ground line (from a terrain model at the
    /// stakes of the table last computed, before that every 20 m).
    void setGround(RouteGround ground);
    const RouteGround& ground() const { return ground_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The files the route was read from, which no export or drawing may replace.
    std::vector<std::string> inputs() const;
    // Fills the tables, the plan and the grade line's tabs from the route.
    void showRoute();
    void makeProfileTabs();
    // The section's tab at the stakes of the table, or every 20 m before one is computed.
    void showSectionStakes();
    // The sections with ground among the table's stakes on the 横断面 tab, with their earthwork;
    // false (nothing changed) where there are none.
    bool showGroundSections(const StakeTable& table);
    // The stake table last computed in the view, the rows of each chain break marked, with the
    // edges when they are asked for.
    void showStakeTable();
    // The ground at the stakes of the table and the profile's ground line, from the ground.
    void showGround();
    // The plan of the route with the stakes last computed and their side points.
    void showPlanStakes(bool refit);
    // The plan with the stakes of the table computed since it was last drawn.
    void catchUpPlan();
    void runAddFiles();
    void runStakes();
    void runExport();
    void runPrint();
    std::optional<QString> chooseExportFile();
    void keepForm() const;
    void runSaveProfile();
    void runSavePlan();
    void runSaveSection();
    void runSaveSectionSheets();
    void runPrintSectionSheets();
    // The points of the stakes last shown as the export writes them.
    std::vector<ExportPoint> exportedPoints(bool asciiNames) const;
    // Prints or saves paint as name; cancelled and pages are read after the painting.
    Result<QString> printed(const QString& name, const PaintJob& paint,
                            const std::optional<QString>& pdfPath, const bool& cancelled,
                            const int& pages);

    Route route_;
    std::optional<CrossSection> section_;
    QStringList files_;
    QTabWidget* tabs_;
    QWidget* stakePage_;
    QWidget* planPage_;
    QWidget* profilePage_ = nullptr;
    QLabel* filesLabel_;
    PlanScene planScene_;
    bool planStale_ = false;
    QTableView* elements_;
    QTableView* stakes_;
    RouteTableModel* stakeModel_;
    QTableView* segments_;
    QTableView* vertical_ = nullptr;
    ProfileView* profile_ = nullptr;
    SectionPage* sectionPage_ = nullptr;
    std::vector<GroundSection> shownGround_;  // the surveyed sections the 横断面 tab shows
    std::string groundName_;
    QCheckBox* edgesBox_;
    QLineEdit *interval_, *from_, *to_, *left_, *right_, *skew_;
    PlanCanvas* plan_;
    QLabel* planCoordinates_;
    PathChooser exportChooser_;
    std::optional<StakeTable> lastTable_;
    StakeRequest lastRequest_;
    RouteGround ground_;
    std::vector<std::optional<double>> stakeGround_m_;  // per row of lastTable_, with ground
};

/// What Ctrl+C in one of the route window's tables copies: the header and the selected rows (every
/// row when none is selected), tab-separated, each line ended by LF.
QString copiedRows(const QTableView& table);

/// A result's warnings and failures, each on its line as it is worded: the text of the message box
/// that tells them.
template <class T>
QString messageLines(const Result<T>& result) {
    QString lines;
    for (const Failure& w : result.warnings())
        lines += QString::fromStdString(w.message) + "\n";
    if (!result)
        for (const Failure& f : result.failures())
            lines += QString::fromStdString(f.message) + "\n";
    return lines;
}

/// Why a step failed, as the warning box shows it: each of its failures on its line as it is
/// worded (one failure: its message alone); empty when it went through.
template <class T>
QString failureLines(const Result<T>& result) {
    QString lines;
    if (!result)
        for (const Failure& f : result.failures())
            lines += (lines.isEmpty() ? QString() : QStringLiteral("\n")) +
                     QString::fromStdString(f.message);
    return lines;
}

/// Reads a route file and opens its window (the caller's to own), with the route's warnings; or
/// the failures that say why the file cannot be used.
Result<RouteWindow*> openRouteWindow(const QString& path);

/// The same for several files read together: the JD table first, then the files of the grade
/// line and the cross-fall.
Result<RouteWindow*> openRouteWindow(const QStringList& paths);

/// The 线路 menu with 打开交点表…: asks for a file and opens its route window, or tells what is
/// wrong with the file.
void addRouteMenu(QMenuBar* bar, QWidget* parent);

}  // namespace hcurve
