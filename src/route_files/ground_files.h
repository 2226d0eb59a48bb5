// The ground files of a route (alignment/ground_design.h), each a further file of the route,
// known by its content:
//
//   BEGIN,K12+340:7            surveyed sections as field software and scanners write them: a
//   -12.40,101.233             BEGIN line with the section's chainage (and after a colon its
//   -3.10,101.902              number, which may be missing), then 偏距,高程, offsets negative to
//   0,102.015                  the left of the centre stake looking forward, left to right.
//   8.75,101.410               A third field 陡坎 marks a vertical step: the point stands at the
//   8.75,99.80,陡坎            offset of the one before it on purpose (a wall, a kerb).
//   BEGIN,K12+360
//   ...
//
//   桩号,偏距,高程[,编码]        the same as CSV, one row a point; the sections are the runs of
//   K12+340,-12.40,101.233     rows of one 桩号, in file order; 编码 holds 陡坎 or 中桩 as the
//   ...                        third field of a BEGIN file does. 里程 may stand for 桩号 (the
//                              continuous chainage).
//
//   点名,X,Y,H                  surveyed terrain points (X north, Y east), or the .dat layout
//   P1,3456001.200,512003.400,101.23   点名,编码,Y,X,H that the point export writes, with that
//                                      header or without one.
//
// Chainages are the grade line's: in a BEGIN line a K-text has the chain breaks applied and a
// number is the continuous chainage (里程); in the CSV the column says which (桩号 or 里程). A
// section with no point at offset 0 whose offsets are all ≥ 0 was measured from its leftmost point:
// it is placed by its centre stake, which such files give as a point of the section marked with the
// code 中桩 (a third field, `12.30,101.90,中桩`); a section without that mark cannot be placed and
// is refused. A warning tells how many were placed so.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "alignment/route_design.h"

namespace hcurve {

enum class GroundFileKind { Sections, SectionCsv, Terrain, TerrainDat };

/// What ground file a text is, by its first line that is not empty: a BEGIN line, the header
/// 桩号,偏距,高程, the header 点名,X,Y,H or 点名,编码,Y,X,H, or a line of the .dat layout
/// (five fields, the last three numbers). Nothing for any other text.
std::optional<GroundFileKind> groundFileKind(std::string_view utf8Text);

/// Reads a ground file into ground (its sections, or its terrain points), each fault with its
/// line (a file of sections after one, or of terrain points after one, is one too). file: its
/// place among the route's files. At most kMostRouteRows points (a budget of the file's own, apart
/// from the tables' rows); lines of kMaxRouteLineBytes. warnings: sections placed by their 中桩,
/// terrain points given twice with one height (taken once).
void readGroundFile(GroundFileKind kind, std::string_view utf8Text, std::size_t file,
                    GroundDesign& ground, std::vector<Failure>& faults,
                    std::vector<Failure>& warnings);

}  // namespace hcurve
