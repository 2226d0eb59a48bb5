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
    /// The page changed its files: the route is read again at the next run.
    void forget();

  private:
    const Result<LoadedRoute>& load(const std::vector<std::string>& paths,
                                    const std::string* alignment);
    std::vector<std::string> paths_;
    std::optional<std::string> alignment_;
    std::optional<Result<LoadedRoute>> loaded_;
};

/// The plan drawing as an SVG picture (north up): the centre line, the tangent polygon and its
/// JDs, the characteristic points with their chainage texts, the stakes (black) with their left
/// (green) and right (orange) side points; in metres from the drawing's north-west corner, lines
/// of a constant width on the screen.
std::string planSvg(const PlanDrawing& plan);

/// The grade line of a route as an SVG picture of 1600 x 900, the layout the window's profile
/// draws too (layout/profile_layout.h): chainage across, elevation up with
/// the vertical exaggeration stated in the title, the straight grades, the design line with its
/// vertical curves, each 变坡点 with its chainage, elevation, R, T and E, and each grade with its
/// length in a band below. Empty without a grade line.
std::string profileSvg(const Route& route);

}  // namespace hcurve
