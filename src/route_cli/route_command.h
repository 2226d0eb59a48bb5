// `hcurve route FILE ...`: the route's tables on standard output, for scripts.
//
//   hcurve route FILE... --elements
//   hcurve route FILE... --vertical
//   hcurve route FILE... --stakes --interval D [--from M] [--to M] [--left d1,d2,...]
//                        [--right d1,d2,...] [--skew A] [--rows F,B]
//                        [--out FILE.csv|FILE.dat|FILE.gsi]
//   hcurve route FILE... --dxf FILE.dxf [--interval D and the other options of --stakes]
//   hcurve route FILE... GROUND --section-sheets FILE.pdf|FILE.dxf [--sheet-scale N]
//                        [--interval D [--reach M]] [--from M] [--to M]
//   hcurve route FILE... --locate X Y [H]
//   hcurve route FILE... --locate-points POINTS.csv   (点名,X,Y[,H]: one row a point, its name
//                        first, then the columns of --locate)
//   hcurve route FILE... --landxml OUT.xml
//   hcurve route FILE.xml [--alignment NAME] ...   (any of the above)
//   hcurve route FILE.xml --alignments
//
// The first file holds the JD table (and the chain breaks); the grade line and the cross-fall
// stand after it or in further files, each known by its header.
// M is a continuous chainage (里程) in metres, or a chainage text (桩号, K12+500) with the chain
// breaks applied; A is the turn of the transverse axis from the normal, DMS, clockwise positive;
// F and B put the side points in a front row F ahead of the axis and a back row B behind it.
// --out writes the stakes as a table (.csv), a point file (.dat) or a Leica GSI-16 file (.gsi)
// instead of the table on the output. With a ground file among the files the stake table on the
// output ends in 地面高程 and 填挖高: the ground at each centre stake and the design above it.
// --dxf writes the plan for CAD: the centre line, the tangent polygon, the characteristic points,
// and with --interval the stakes and side points. --section-sheets draws the cross-section sheets
// of the sections --earthwork lists (cad/section_sheets.h) at 1:N, 1:200 unless given: a DXF
// written here, a PDF by the saver the caller hands in (the program's Qt part; without one a PDF
// is refused). A fault is one message per line on the error
// stream and status 1; nothing is written to the output then. Texts from the file and the arguments
// are echoed with their control characters escaped. Output that cannot be written (a full disk, a
// closed output or pipe) ends the command with one line on the error stream and status 3; an
// internal error, such as running out of memory, with status 4. A route file is read up to 64 MiB,
// in lines of up to 64 KiB.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "alignment/route.h"
#include "cad/route_dxf.h"
#include "cad/section_sheets.h"
#include "curve/result.h"
#include "export/point_files.h"
#include "route_files/route_loading.h"
#include "route_files/route_tables.h"
#include "route_files/stake_request.h"

namespace hcurve {

/// The exit statuses besides 0 and 1 (a fault of the file or the arguments), as the console's.
enum RouteStatus : int { kRouteOutputUnwritable = 3, kRouteInternalError = 4 };

/// Writes the cross-section sheets as a PDF file (path: UTF-8), replacing an existing file only
/// with a complete new one: nothing, or the message for the user.
using SectionSheetSaver =
    std::function<Result<void>(const SectionSheets& sheets, const std::string& path)>;

/// args: what follows "route" on the command line; pdfSaver writes --section-sheets' PDF (none:
/// a PDF is refused). Returns the exit status.
int runRouteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const SectionSheetSaver& pdfSaver = {});

/// What a run reads its route through and hands --dxf's drawing to, for a front end that runs the
/// command many times on the same files (the browser page): either left empty does what the
/// command line does, reading the files anew and writing the drawing as a DXF file.
struct RouteRunSupport {
    /// The route of the files (paths as given, the alignment's name or null), as loadRouteFiles
    /// reads it; the result must stay alive until the run ends.
    std::function<const Result<LoadedRoute>&(const std::vector<std::string>& paths,
                                             const std::string* alignment)>
        load;
    /// --dxf's drawing for the path given: nothing, or why it could not be kept.
    std::function<Result<void>(const std::string& path, const PlanDrawing& plan)> drawPlan;
    /// --section-sheets' PDF (none: a PDF is refused; the DXF is written by the command itself).
    SectionSheetSaver saveSectionSheets;
};

/// The same through support; the messages, tables and files are those of the command line.
int runRouteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const RouteRunSupport& support);

/// The same on the process's standard output, written on the descriptor itself so that every
/// failed write is seen, and the standard error stream.
int runStandardRouteCommand(const std::vector<std::string>& args,
                            const SectionSheetSaver& pdfSaver = {});

}  // namespace hcurve
