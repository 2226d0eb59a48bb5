// The route window: the whole road of one JD table, with its curve-element table, the stake table
// of a stretch (interval, stretch and side distances in one form), the plan of the road with every
// JD, export of the stakes and printing of both tables; with a grade line also the vertical-curve
// table and the longitudinal profile, printed and saved as a drawing.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "route/route.h"
#include "route/route_tables.h"
#include "window/qt_printer.h"

class QLineEdit;
class QMenuBar;
class QTableWidget;
class QTabWidget;

namespace hcurve {

class ProfileView;

/// The plan of the road: the centre line, the tangent polygon and every JD with its name, north up.
class RoutePlan : public QWidget {
  public:
    explicit RoutePlan(const Route& route, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const Route& route_;
    std::vector<QPointF> centreLine_;  // (east, north)
};

class RouteWindow : public QWidget {
    Q_OBJECT

  public:
    /// title: the file's name.
    RouteWindow(Route route, const QString& title, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    QTableWidget* elementTable() const { return elements_; }
    QTableWidget* stakeTable() const { return stakes_; }
    QTableWidget* segmentTable() const { return segments_; }
    QLineEdit* intervalField() const { return interval_; }
    QLineEdit* fromField() const { return from_; }
    QLineEdit* toField() const { return to_; }
    QLineEdit* leftField() const { return left_; }
    QLineEdit* rightField() const { return right_; }
    QLineEdit* skewField() const { return skew_; }
    /// The vertical-curve table and the profile: none without a grade line.
    QTableWidget* verticalTable() const { return vertical_; }
    ProfileView* profileView() const { return profile_; }

    /// Computes the stake table from the form and shows it; nothing, or why the form cannot be
    /// used (the table is then left as it was).
    std::optional<QString> computeStakes();

    /// Writes the stakes last shown to a .csv or .dat file: nothing, or the message.
    std::optional<QString> exportStakes(const QString& path);

    /// Prints the element table and the stakes last shown: to the default printer, or as a PDF
    /// file (to pdfPath when given, else a dated file in the documents folder when there is no
    /// printer). Returns what the user is told.
    QString print(const std::optional<QString>& pdfPath = std::nullopt);

    /// Saves the profile as PNG, SVG or PDF by the path's extension: nothing, or the message.
    std::optional<QString> saveProfile(const QString& path);

    /// Prints the profile, as print does the tables.
    QString printProfile(const std::optional<QString>& pdfPath = std::nullopt);

  private:
    void runStakes();
    void runExport();
    void runPrint();
    void runSaveProfile();
    QString tablesAsHtml() const;
    QString printed(const QString& name, const PaintJob& paint,
                    const std::optional<QString>& pdfPath);

    Route route_;
    QTabWidget* tabs_;
    QTableWidget* elements_;
    QTableWidget* stakes_;
    QTableWidget* segments_;
    QTableWidget* vertical_ = nullptr;
    ProfileView* profile_ = nullptr;
    QLineEdit *interval_, *from_, *to_, *left_, *right_, *skew_;
    std::optional<StakeTable> lastTable_;
    StakeRequest lastRequest_;
};

/// Reads a route file and opens its window; nothing and the messages (one a line) when the file
/// cannot be used.
RouteWindow* openRouteWindow(const QString& path, QString& messages);

/// The same for several files read together: the JD table first, then the files of the grade
/// line and the cross-fall.
RouteWindow* openRouteWindow(const QStringList& paths, QString& messages);

/// The 线路 menu with 打开交点表…: asks for a file and opens its route window, or tells what is
/// wrong with the file.
void addRouteMenu(QMenuBar* bar, QWidget* parent);

}  // namespace hcurve
