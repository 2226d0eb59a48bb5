// The route page's side in C++. The page writes the files it is given into the module's memory
// file system and asks for every table, download and drawing as a run of `hcurve route` on them
// (route_cli/route_command.h), so that each byte is the one the command line writes; the page only
// splits the CSV text it gets into rows to show them. The route read from the files is kept
// between runs until the page changes a file, so that locating a point reads no file again.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cad/route_dxf.h"
#include "cad/section_sheets.h"
#include "curve/result.h"
#include "route_files/route_loading.h"

namespace hcurve {

/// One run: its exit status, its standard output and its error stream.
struct PageRouteRun {
    int status = 0;
    std::string out;
    std::string err;
};

/// The route of the page's files, kept between runs.
class PageRoute {
  public:
    /// `hcurve route` with these arguments.
    PageRouteRun run(const std::vector<std::string>& args);
    /// `hcurve route FILE... --dxf NAME.dxf [stake options]`, whose drawing is handed back as an
    /// SVG picture on the output instead of being written as a file (the file is not touched).
    PageRouteRun plan(const std::vector<std::string>& args);
    /// The longitudinal profile of the files' route as an SVG picture on the output; with the
    /// messages `--vertical` gives on the same files when it has none.
    PageRouteRun profile(const std::vector<std::string>& files);
    /// What the files' route has beyond its chain, one word a line: "jd" (a JD table, and so the
    /// curve-element table), "grade" (a grade line), "section" (a template); the messages of
    /// `--segments` on the same files when there is no route.
    PageRouteRun features(const std::vector<std::string>& files);
    /// The 横断面 at a surveyed ground section of the files' route, drawn as the cross-section
    /// sheets draw it at 1:kDefaultSheetScale (sectionSheetSvg): args are the files, then the
    /// section's 桩号 as groundStakes lists it. Why not (no template, no such section, a section
    /// the design does not meet) on the error stream, status 1.
    PageRouteRun section(const std::vector<std::string>& args);
    /// The 桩号 of the files' surveyed ground sections, one a line, in route order (none without a
    /// template).
    PageRouteRun groundStakes(const std::vector<std::string>& files);
    /// The page changed its files: the route is read again at the next run.
    void forget();
    /// Whether the route kept was read from this file (named as the runs name it): a file put
    /// under another name (a file of points to locate) leaves the route as it is.
    bool reads(const std::string& path) const;

  private:
    const Result<LoadedRoute>& load(const std::vector<std::string>& paths,
                                    const std::string* alignment);
    std::vector<std::string> paths_;
    std::optional<std::string> alignment_;
    std::optional<Result<LoadedRoute>> loaded_;
};

/// A chain break as the plan marks it: where it lies on the centre line, the azimuth of the line
/// there and its text ("断链 K12+800.000=K12+780.000 长链 20.000 m").
struct PlanBreakMark {
    double x_m = 0;
    double y_m = 0;
    double tangent_deg = 0;
    std::string text;
};

/// The marks of the route's chain breaks, in route order: a long chain (断链后 < 断链前) says
/// 长链, a short one 短链, each with the difference of the two chainages.
std::vector<PlanBreakMark> planBreakMarks(const Route& route);

/// The plan drawing as an SVG picture (north up): the centre line, the tangent polygon and its
/// JDs, the characteristic points with their chainage texts, the chain breaks (a stroke across
/// the centre line with the break's text), the stakes (black) with their left (green) and right
/// (orange) side points; in metres from the drawing's north-west corner, lines of a constant
/// width on the screen. The picture's data-north and data-west give that corner, so that a point
/// (u across, v down) of the picture is X = data-north - v, Y = data-west + u.
std::string planSvg(const PlanDrawing& plan, const std::vector<PlanBreakMark>& breaks = {});

/// The coordinates of a point of the plan as the pointer shows them:
/// "X (北) = 3456902.524    Y (东) = 512792.606".
std::string planPointText(double x_m, double y_m);

/// A cross-section sheet as an SVG picture in the sheet's millimetres (y down), cropped to its
/// sections (the frame and the title block left out) with a margin: the ground line green, the
/// design line red with its break points, the catch points magenta, the centre line dashed, the
/// leaders grey, the texts at their heights and turns.
std::string sectionSheetSvg(const SectionSheet& sheet);

/// The grade line of a route as an SVG picture of 1600 x 900, the layout the window's profile
/// draws too (layout/profile_layout.h): chainage across, elevation up with
/// the vertical exaggeration stated in the title, the straight grades, the design line with its
/// vertical curves, each 变坡点 with its chainage, elevation, R, T and E, and each grade with its
/// length in a band below. Empty without a grade line.
std::string profileSvg(const Route& route);

}  // namespace hcurve
