// A route's files read from the disk: the bytes read up to a bound, decoded (UTF-8 or GBK), read
// and built, with every message the user is to see. The command line and the window open routes
// through it alike.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "alignment/cross_section.h"
#include "alignment/ground_sections.h"
#include "alignment/route.h"
#include "curve/result.h"

namespace hcurve {

/// The largest route file read.
constexpr std::size_t kMaxRouteFileBytes = 64 * 1024 * 1024;

/// A route file read and built, with what the front ends need beside the route. Its failures and
/// warnings are whole lines as the user reads them, each naming the file and, for a fault of its
/// contents, the line.
struct LoadedRoute {
    Route route;
    std::string name;  // of the alignment, for a LandXML file
    // A LandXML alignment without elevations: why, for the modes that need them ("LandXML 文件的
    // 线路 “A” 只有地面线（ProfSurf），没有设计纵断面（ProfAlign）"). Empty otherwise.
    std::string withoutProfile;
    std::vector<std::string> files;  // the paths in the order read, the route's own table first
    // The cross-section tables of the files (of the further files beside a LandXML file), and the
    // cross-section built from them on the route where they hold a template; its faults are the
    // route's (no route then), its warnings among the messages.
    SectionDesign section;
    std::optional<CrossSection> crossSection;
    // The ground files' sections or terrain points as read, with the route; the sections placed
    // on it in route order (alignment/ground_sections.h: a section the route does not have is a
    // fault, and there is no route then).
    GroundDesign ground;
    std::vector<GroundSection> groundSections;
};

/// path: UTF-8. The bytes are decoded (UTF-8 or GBK), read and built. A file that cannot be read
/// (no such file, no permission, a folder, larger than kMaxRouteFileBytes) is one failure that says
/// which.
Result<LoadedRoute> loadRouteFile(const std::string& path);

/// The lines that tell a route's faults, each "file: 第 N 行：message", with one more when there
/// are kMostRouteFaults of them (reading stopped there); and those that tell its warnings,
/// "file: 注意：...", several of a kind in one (warningLines). shownFile names the file of each.
std::vector<Failure> routeFaultLines(const std::vector<Failure>& faults,
                                     const std::function<std::string(std::size_t)>& shownFile);
std::vector<Failure> routeWarningLines(const std::vector<Failure>& warnings,
                                       const std::function<std::string(std::size_t)>& shownFile);

/// The text of a further file the route command reads (surveyed points), as a route file's: read up
/// to kMaxRouteFileBytes and decoded (UTF-8 or GBK); or why not, said with the file.
Result<std::string> readRouteText(const std::string& path);

/// The same for several files read together, in any order: the one that opens with the JD table
/// (or the element table) is read first, the others after it in their order.
/// A LandXML file (route_files/landxml_reading.h: its name ends in .xml, or it starts as XML) is
/// read alone, or with further files that hold cross-section tables only (the template, crown,
/// superelevation, slopes and ditch of route_files/section_tables.h; any other table in them is
/// refused, the LandXML file named) or ground (route_files/ground_files.h, its sections placed
/// on the alignment): its alignment named alignment, or its first when that is null. The LandXML
/// file is the first of files then. The superelevation is given as the route is: by JD name where
/// the alignment is read from its AlignPIs, by the chainages of the full superelevation
/// (起点桩号,终点桩号) where from its CoordGeom.
Result<LoadedRoute> loadRouteFiles(const std::vector<std::string>& paths,
                                   const std::string* alignment = nullptr);

}  // namespace hcurve
