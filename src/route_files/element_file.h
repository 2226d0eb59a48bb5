// The element table (线元表) of a route: its start and the chain of its elements, each a length, a
// start radius and an end radius, as the field calculators hand over ramps, egg curves and
// S-curves that a JD table cannot describe.
//
//   起点桩号,X,Y,方位角
//   K0+000,3456000.000,512000.000,45.3015      one row: 桩号 as metres or K-text, 方位角 DMS
//
//   长度,起点半径,终点半径,转向,名称
//   120,,,,ZD                                   a straight (both radii empty, ∞, inf or >= 1e9)
//   80,,600,右,ZH                               a spiral from the straight into R 600, turning
//   right 150,600,600,右,HY                           an arc 60,600,300,右 an egg curve's spiral
//   between two arcs
//
// 转向 is 左 or 右 (L or R), required where a radius is finite. Optional columns 起点X,起点Y put
// an element's start where the design has it (the file's coordinates are the design).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hcurve {

struct RouteFault;
struct CsvTable;

/// The start of an element route.
struct ElementStart {
    int line = 0;
    double chainage_m = 0;
    double x_m = 0;  // north
    double y_m = 0;  // east
    double azimuth_deg = 0;
};

/// One row of the element table. A radius of 0 stands for an infinite one (a straight's).
struct ElementRow {
    int line = 0;
    std::string name;  // of the point where the element starts, or empty
    double length_m = 0;
    double startCurvature_per_m = 0;  // signed: positive turns right
    double endCurvature_per_m = 0;
    std::optional<double> startX_m, startY_m;  // where the file states the start
    // A LandXML element: its tag (Line, Curve, Spiral), the tangent azimuth its own geometry
    // gives at its start (in the degrees of the stake position) and its stated end.
    std::string tag;
    std::optional<double> startAzimuth_deg;
    std::optional<double> endX_m, endY_m;
    // Its number among the file's elements where that is not its place in the table (a LandXML
    // element of no length is passed over); 0: its place.
    std::size_t number = 0;
};

/// The element route of a file: its start and its elements.
struct ElementTable {
    std::size_t file = 0;
    int headerLine = 0;
    std::vector<ElementRow> rows;
};

/// Whether a header's title names a column of the start or the element table.
bool isElementTitle(std::string_view title);
/// Whether a header opens the start table (起点桩号 and 方位角) or the element table (长度).
bool isElementStartHeader(const std::vector<std::string>& header);
bool isElementTableHeader(const std::vector<std::string>& header);

/// The start of its one row, or nothing and the faults, each with its line.
std::optional<ElementStart> readElementStart(const CsvTable& table, std::size_t file,
                                             std::vector<RouteFault>& faults);

/// The rows of the element table; the faults, each with its line.
ElementTable readElementTable(const CsvTable& table, std::size_t file,
                              std::vector<RouteFault>& faults);

}  // namespace hcurve
