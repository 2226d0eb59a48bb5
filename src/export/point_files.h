// The files of an export of stakes and side points, of the last stake run (stakes/run_points.h)
// or of a route's stake table (route_files/route_tables.h): the points as a table for a
// spreadsheet (.csv), as a point file for survey and drawing software (.dat) and as a Leica
// GSI-16 file (.gsi). Texts only: the caller writes them (platform/file_writing.h).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "curve/format.h"  // csvField, which the table writes its fields with
#include "curve/result.h"

namespace hcurve {

/// The files of an export: a table for a spreadsheet, a point file, a Leica GSI-16 file.
enum class ExportFormat { Csv, Dat, Gsi };

/// One point of an export, with its texts as the files show them.
struct ExportPoint {
    std::string name;      // the stake's chainage text, with -L1, -R1 (single row) or -FL1, -FR1,
                           // -BL1, -BR1 (front and back row) and the point's number for side points
    std::string chainage;  // the stake's chainage text, "K12+300.000"
    double x_m;            // north
    double y_m;            // east
    std::string side;      // 中 for the centre stake, 左 or 右
    std::string row;       // empty for the centre stake, 单排, 前排 or 后排
    std::string distance;  // the side distance as entered ("7.5"), empty for the centre stake
    std::optional<double> H_m = std::nullopt;  // the design elevation, where the route has one
};

/// The side a point stands on: -1 left, +1 right, 0 for a centre stake.
int sideOf(const ExportPoint& point);

/// The start of the table: a UTF-8 byte-order mark (so that a spreadsheet reads the Chinese) and
/// the header 点名,桩号,X(北),Y(东),侧别,排,距离 (and ,高程 with heights) ended by CR LF.
std::string csvHead(bool withHeights = false);

/// One row of the table: the point's fields, coordinates (and the elevation, empty where the
/// point has none) with three decimals, ended by CR LF.
std::string csvRow(const ExportPoint& point, bool withHeights = false);

/// One line of the point file: name,code,east,north,height with an empty code, the height the
/// point's elevation with three decimals as the coordinates, empty where it has none (0.000 would
/// be an elevation), ended by CR LF.
std::string datLine(const ExportPoint& point);

/// The whole table: csvHead, then csvRow of every point.
std::string stakeTableCsv(const std::vector<ExportPoint>& points, bool withHeights = false);

/// The whole point file: datLine of every point.
std::string pointFileDat(const std::vector<ExportPoint>& points);

/// The point number a GSI file gives a point: its name where that fits the 16 characters of the
/// word and holds only letters, digits and + - . _; a longer name first without the zero decimals
/// of its chainage ("K12+790.000-2-FL1" -> "K12+790-2-FL1"), then also without its K. Nothing for
/// a name that still does not fit or holds another character (a blank, a Chinese character).
std::optional<std::string> gsiPointNumber(const std::string& name);

/// One block of the Leica GSI-16 point file: "*" and the words of 24 characters (word index,
/// four characters of information, the sign, 16 characters of data, a blank): 11 the point
/// number (the block number in the information, the number right-aligned and filled with zeros),
/// 81 the easting, 82 the northing, and 83 the elevation where the point has one, each "..10"
/// (typed in, metres with the last digit a millimetre), rounded as the .dat file; ended by CR LF.
std::string gsiBlock(std::size_t blockNumber, const std::string& pointNumber,
                     const ExportPoint& point);

/// The whole GSI-16 file, or why it cannot be written (nothing is written then): a point whose
/// name has no point number, or whose point number another point has already.
Result<std::string> pointFileGsi(const std::vector<ExportPoint>& points);

/// The whole file of a format: stakeTableCsv (with the 高程 column when withHeights), pointFileDat
/// or pointFileGsi.
Result<std::string> exportFile(const std::vector<ExportPoint>& points, ExportFormat format,
                               bool withHeights);

}  // namespace hcurve
