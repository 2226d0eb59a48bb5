// The cross-section sheets (横断面图) a site office files with the earthwork: every ground section
// of a stretch drawn at a stated scale on A3 sheets across, as many to a sheet as fit, in
// chainage order (rows from the top, each row left to right). Each section shows its ground line,
// its design line from catch point to catch point, the catch points (坡脚 of a fill, 坡口 of a
// cut), the centre fill or cut (填高, 挖深), the offset and elevation of every break point of the
// design line in a band under it, and its fill and cut areas with the digits of the earthwork
// table. Each sheet has its frame and a title block naming the route, the stakes on the sheet
// (first–last), the scale and the sheet's number (第 n 张 共 N 张).
//
// The layout is worked out here once, without Qt, in millimetres on the sheet (x to the right,
// y up, from the sheet's lower left corner), and both the PDF painter (views) and the DXF writer
// draw exactly these lines, marks and texts, so the two files agree. A text's width is not
// measured here: the layout reserves sheetTextWidth_mm for it, a half-width digit or letter at
// kSheetNarrowWidth of its height and a Chinese character at its full height.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "alignment/earthwork.h"
#include "alignment/ground_design.h"
#include "alignment/ground_sections.h"
#include "alignment/route.h"
#include "curve/result.h"

namespace hcurve {

/// A3 across.
inline constexpr double kSheetWidth_mm = 420;
inline constexpr double kSheetHeight_mm = 297;
/// The scale's denominator when none is given (1:200), and the range taken.
inline constexpr int kDefaultSheetScale = 200;
inline constexpr int kLeastSheetScale = 10;
inline constexpr int kMostSheetScale = 5000;
/// The width a layout reserves for a half-width character, as a share of the text's height.
inline constexpr double kSheetNarrowWidth = 0.62;

/// What a line, mark or text of a sheet shows; the files draw each kind in its own colour (the
/// DXF on its own layer, sheetLayerName).
enum class SheetInk { Frame, Ground, Design, Catch, Centre, Leader, Text, Title };

/// The DXF layer of a kind.
const char* sheetLayerName(SheetInk ink);

/// A colour as red, green and blue, each 0 to 255.
struct SheetRgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

/// The colour a kind is drawn in on the printed sheets and on the screen.
SheetRgb sheetInkColour(SheetInk ink);

/// A point of a sheet, millimetres from its lower left corner, y up.
struct SheetPoint {
    double x_mm = 0;
    double y_mm = 0;
};

struct SheetLine {
    SheetInk ink = SheetInk::Frame;
    std::vector<SheetPoint> points;  // an open polyline
    double width_mm = 0;             // 0: the thinnest line the device draws
    bool dashed = false;
};

/// How a text stands at its point: its base line starts (Left), is centred on (Centre) or ends
/// (Right) at it, turned counter-clockwise by rotation_tdeg about it.
enum class SheetAlign { Left, Centre, Right };

struct SheetText {
    SheetInk ink = SheetInk::Text;
    SheetPoint at;
    double height_mm = 0;  // of a capital letter or a digit
    std::string text;
    double rotation_tdeg = 0;
    SheetAlign align = SheetAlign::Left;
};

/// A small circle: a break point or a catch point.
struct SheetCircle {
    SheetInk ink = SheetInk::Design;
    SheetPoint centre;
    double radius_mm = 0;
};

/// A section's texts that name its results, so that a reader can find them.
struct SheetSectionTexts {
    std::string stake;   // "K11+940.000"
    std::string centre;  // "填高 1.234 m" or "挖深 0.567 m"
    std::string fill;    // "填方面积 78.7688 m²"
    std::string cut;     // "挖方面积 0.0000 m²"
};

struct SectionSheet {
    int number = 0;                // from 1
    std::size_t firstSection = 0;  // the sections on it: [first, first + count)
    std::size_t sectionCount = 0;
    std::vector<SheetSectionTexts> sectionTexts;  // in the order drawn
    std::vector<SheetLine> lines;
    std::vector<SheetCircle> circles;
    std::vector<SheetText> texts;
};

struct SectionSheets {
    std::string route;  // the name the title blocks give it
    int scale = kDefaultSheetScale;
    std::size_t sections = 0;
    std::vector<SectionSheet> sheets;
};

/// One section to draw: its 桩号 text, its ground line and its earthwork.
struct SheetSection {
    std::string stake;
    std::vector<GroundPoint> ground;
    SectionAreas areas;
};

/// The earthwork of every ground section (in route order) for the sheets, or every section that
/// has none, each a fault of its section's line as earthworkTableCsv words it.
Result<std::vector<SheetSection>> sheetSections(const Route& route, const CrossSection& section,
                                                const std::vector<GroundSection>& sections);

/// The width a text of this height is given on a sheet: kSheetNarrowWidth of the height for a
/// character below U+0100 (and a few narrow signs), the height for every other.
double sheetTextWidth_mm(const std::string& text, double height_mm);

/// The scale's denominator from "200" or "1:200": a whole number from kLeastSheetScale to
/// kMostSheetScale; nothing otherwise.
std::optional<int> sheetScale(const std::string& text);

/// Column centres for the wanted ones (in order, any unit), each at least gap from the next and
/// all within [from, to], moved as little as a push forwards and then backwards moves them; where
/// they do not fit, the gap shrinks to what fits. The sheets' and the 横断面 view's bands of
/// offsets and elevations are spread by it.
std::vector<double> spreadColumns(const std::vector<double>& wanted, double gap, double from,
                                  double to);

/// The sheets of the sections at 1:scale, the title blocks naming route. A failure where there
/// is no section, or where a section does not fit a sheet's drawing area at the scale (it names
/// the section, its size and the room, and asks for a smaller scale).
Result<SectionSheets> layOutSectionSheets(const std::vector<SheetSection>& sections,
                                          const std::string& route, int scale);

}  // namespace hcurve
