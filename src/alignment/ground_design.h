// The ground as its readers hand it to the model: surveyed cross-sections (a ground line of
// offsets and heights at a chainage) and surveyed terrain points. route_files reads them
// (the BEGIN text of field software and scanners, the CSV 桩号,偏距,高程, terrain point files);
// the earthwork is computed from them against the design section (alignment/cross_section.h).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "alignment/table_chainage.h"

namespace hcurve {

/// One point of a ground line: its offset from the centre stake (metres, negative to the left
/// looking forward) and its height (metres).
struct GroundPoint {
    double offset_m = 0;
    double H_m = 0;
    int line = 0;
    // A vertical step: this point stands at the offset of the one before it on purpose (a wall,
    // a kerb); without the mark two points at one offset with different heights are a fault.
    bool step = false;
};

/// A surveyed cross-section: the ground line at a chainage, left to right.
struct GroundSectionRow {
    int line = 0;  // of its first line (the BEGIN line, or its first CSV row)
    TableChainage at;
    std::string number;  // the BEGIN line's 序号, where given
    std::vector<GroundPoint> points;
    // The section had no centre point: its offsets were measured from its leftmost point, and
    // the reader has placed them (a warning tells so).
    bool measuredFromLeft = false;
};

/// A surveyed point with its name and height: a terrain point of a ground file (点名,X,Y,H or the
/// .dat layout 点名,编码,Y,X,H), or a point checked against the design (its file 点名,X,Y,H, or
/// the command line).
struct SurveyedPoint {
    int line = 0;  // of its file; 0 from the command line
    std::string name;
    double x_m = 0;  // north
    double y_m = 0;  // east
    double H_m = 0;
};

/// The ground of a route's files: sections, or terrain points to cut them from (a file holds one
/// or the other), each with the file it came from.
struct GroundDesign {
    std::size_t sectionFile = 0;
    std::vector<GroundSectionRow> sections;  // in file order
    std::size_t terrainFile = 0;
    std::vector<SurveyedPoint> terrain;
};

}  // namespace hcurve
