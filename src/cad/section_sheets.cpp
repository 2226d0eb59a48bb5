#include "cad/section_sheets.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "curve/format.h"

namespace hcurve {
namespace {

constexpr double kMillimetresPerMetre = 1000;

// The frame inside the sheet's edge (a binding margin on the left) and the title block in its
// lower right corner.
constexpr double kFrameLeft_mm = 25, kFrameRight_mm = 10, kFrameTop_mm = 10, kFrameBottom_mm = 10;
constexpr double kFrameWidth_mm = 0.7;
constexpr double kTitleBlockWidth_mm = 180, kTitleRow_mm = 7;
constexpr int kTitleRows = 4;
constexpr double kTitleNameColumn_mm = 50, kTitleCaptionColumn_mm = 20;
constexpr double kTitleBlockName_mm = 5, kTitleBlockText_mm = 3;
// The drawing area: inside the frame, above the title block.
constexpr double kAreaInset_mm = 4;
constexpr double kCellGap_mm = 4;

// A section's cell, from its bottom.
constexpr double kCellMargin_mm = 2;
constexpr double kSummary_mm = 2.5;     // the centre height and the areas
constexpr double kStakeTitle_mm = 3.5;  // the 桩号
constexpr double kLineGap_mm = 1.5;
constexpr double kLabel_mm = 2;  // the band's offsets and elevations, the catch points' names
constexpr double kBandPadding_mm = 1;
constexpr double kLabelGap_mm = 0.4;   // between a column's two texts
constexpr double kColumnGap_mm = 1.2;  // between two columns
constexpr double kFan_mm = 5;          // between the band and the drawing: the leaders bend
constexpr double kHeadroom_mm = 3;     // over the drawing
constexpr double kCatchLabelGap_mm = 1.2;
constexpr double kMark_mm = 0.5;
constexpr double kCatchMark_mm = 0.8;
constexpr double kLeastDrawing_mm = 10;
constexpr double kDesignWidth_mm = 0.5, kGroundWidth_mm = 0.25;
// How much ground is drawn beyond the catch points: a share of the design line's width, at least
// kLeastGroundBeyond_m.
constexpr double kGroundBeyondShare = 0.1;
constexpr double kLeastGroundBeyond_m = 2;

std::string fixed3(double v) {
    return format(v, Pattern::Fixed3);
}

std::string fixed4(double v) {
    return format(v, Pattern::Fixed4);
}

// The ground line between two offsets, its ends cut where it crosses them.
std::vector<GroundPoint> groundBetween(const std::vector<GroundPoint>& ground, double from_m,
                                       double to_m) {
    std::vector<GroundPoint> kept;
    for (std::size_t i = 0; i < ground.size(); ++i) {
        const GroundPoint& p = ground[i];
        if (i > 0) {
            const GroundPoint& q = ground[i - 1];
            for (double cut : {from_m, to_m}) {
                if (q.offset_m < cut && p.offset_m > cut) {
                    const double t = (cut - q.offset_m) / (p.offset_m - q.offset_m);
                    kept.push_back({cut, q.H_m + t * (p.H_m - q.H_m), p.line, false});
                }
            }
        }
        if (p.offset_m >= from_m && p.offset_m <= to_m)
            kept.push_back(p);
    }
    return kept;
}

// A section drawn in its own cell, the cell's lower left corner at (0, 0).
struct Cell {
    double width_mm = 0, height_mm = 0;
    SheetSectionTexts texts;
    std::vector<SheetLine> lines;
    std::vector<SheetCircle> circles;
    std::vector<SheetText> labels;
};

SheetText upright(SheetInk ink, double x, double y, const std::string& s) {
    return {ink, {x, y}, kLabel_mm, s, 90, SheetAlign::Left};
}

Cell sectionCell(const SheetSection& section, double mmPerMetre) {
    Cell cell;
    const std::vector<SectionLinePoint>& design = section.areas.design;
    const double left_m = design.front().offset_m, right_m = design.back().offset_m;
    const double beyond_m = std::max(kLeastGroundBeyond_m, kGroundBeyondShare * (right_m - left_m));
    const std::vector<GroundPoint> ground =
        groundBetween(section.ground, left_m - beyond_m, right_m + beyond_m);
    double x0 = left_m, x1 = right_m, z0 = design.front().H_m, z1 = z0;
    for (const SectionLinePoint& p : design) {
        z0 = std::min(z0, p.H_m);
        z1 = std::max(z1, p.H_m);
    }
    for (const GroundPoint& p : ground) {
        x0 = std::min(x0, p.offset_m);
        x1 = std::max(x1, p.offset_m);
        z0 = std::min(z0, p.H_m);
        z1 = std::max(z1, p.H_m);
    }
    const double drawingWidth = (x1 - x0) * mmPerMetre;
    const double drawingHeight = std::max((z1 - z0) * mmPerMetre, kLeastDrawing_mm);

    // The texts and what they need across.
    const double centre_m = section.areas.centreHeight_m;
    cell.texts.stake = section.stake;
    cell.texts.centre = (centre_m < 0 ? "挖深 " : "填高 ") + fixed3(std::fabs(centre_m)) + " m";
    cell.texts.fill = "填方面积 " + fixed4(section.areas.fill_m2) + " m²";
    cell.texts.cut = "挖方面积 " + fixed4(section.areas.cut_m2) + " m²";
    const std::string summary[] = {cell.texts.centre, cell.texts.fill, cell.texts.cut};
    const double summaryGap = 4 * kSummary_mm;
    double summaryWidth = 2 * summaryGap;
    for (const std::string& s : summary)
        summaryWidth += sheetTextWidth_mm(s, kSummary_mm);
    const double column = 2 * kLabel_mm + kLabelGap_mm + kColumnGap_mm;
    const double caption = column + kColumnGap_mm;
    const double catchLabel = kCatchLabelGap_mm + sheetTextWidth_mm("坡口", kLabel_mm);
    double longest =
        std::max(sheetTextWidth_mm("偏距", kLabel_mm), sheetTextWidth_mm("高程", kLabel_mm));
    for (const SectionLinePoint& p : design)
        longest = std::max({longest, sheetTextWidth_mm(fixed3(p.offset_m), kLabel_mm),
                            sheetTextWidth_mm(fixed3(p.H_m), kLabel_mm)});
    const double band = longest + 2 * kBandPadding_mm;
    const double inner =
        std::max({drawingWidth + 2 * catchLabel, column * static_cast<double>(design.size()),
                  summaryWidth, sheetTextWidth_mm(section.stake, kStakeTitle_mm)});
    cell.width_mm = 2 * kCellMargin_mm + caption + inner;

    // From the bottom: the areas, the 桩号, the band, the fan of leaders, the drawing.
    const double summaryBase = kCellMargin_mm;
    const double titleBase = summaryBase + kSummary_mm + kLineGap_mm;
    const double bandBottom = titleBase + kStakeTitle_mm + 2 * kLineGap_mm;
    const double bandTop = bandBottom + band;
    const double drawingBottom = bandTop + kFan_mm;
    const double drawingTop = drawingBottom + drawingHeight;
    cell.height_mm = drawingTop + kHeadroom_mm;
    const double innerLeft = kCellMargin_mm + caption;
    const double middle = innerLeft + inner / 2;
    const double cx = middle - (x0 + x1) / 2 * mmPerMetre;
    const double cz =
        drawingBottom + (drawingHeight - (z1 - z0) * mmPerMetre) / 2 - z0 * mmPerMetre;
    auto at = [&](double offset_m, double H_m) {
        return SheetPoint{cx + offset_m * mmPerMetre, cz + H_m * mmPerMetre};
    };

    // The summary centred under the 桩号.
    double x = middle - summaryWidth / 2;
    for (const std::string& s : summary) {
        cell.labels.push_back(
            {SheetInk::Text, {x, summaryBase}, kSummary_mm, s, 0, SheetAlign::Left});
        x += sheetTextWidth_mm(s, kSummary_mm) + summaryGap;
    }
    cell.labels.push_back({SheetInk::Text,
                           {middle, titleBase},
                           kStakeTitle_mm,
                           section.stake,
                           0,
                           SheetAlign::Centre});

    // The lines: the ground, the centre line, the design line with its break points and the catch
    // points named outside them.
    SheetLine groundLine{SheetInk::Ground, {}, kGroundWidth_mm, false};
    for (const GroundPoint& p : ground)
        groundLine.points.push_back(at(p.offset_m, p.H_m));
    if (groundLine.points.size() >= 2)
        cell.lines.push_back(std::move(groundLine));
    cell.lines.push_back(
        {SheetInk::Centre,
         {SheetPoint{cx, drawingBottom}, SheetPoint{cx, drawingTop + kHeadroom_mm / 2}},
         0,
         true});
    SheetLine designLine{SheetInk::Design, {}, kDesignWidth_mm, false};
    for (const SectionLinePoint& p : design)
        designLine.points.push_back(at(p.offset_m, p.H_m));
    cell.lines.push_back(designLine);
    for (std::size_t i = 1; i + 1 < design.size(); ++i)
        cell.circles.push_back({SheetInk::Design, designLine.points[i], kMark_mm});
    for (const CatchPoint* c : {&section.areas.left, &section.areas.right}) {
        const SheetPoint p = at(c->at.offset_m, c->at.H_m);
        cell.circles.push_back({SheetInk::Catch, p, kCatchMark_mm});
        const bool leftSide = c->side == SectionSide::Left;
        const std::string name = c->earthwork == SectionEarthwork::Fill ? "坡脚" : "坡口";
        cell.labels.push_back(
            {SheetInk::Catch,
             {p.x_mm + (leftSide ? -kCatchLabelGap_mm : kCatchLabelGap_mm), p.y_mm + kCatchMark_mm},
             kLabel_mm,
             name,
             0,
             leftSide ? SheetAlign::Right : SheetAlign::Left});
    }

    // The band: every break point's offset and elevation upright in a column, joined to the point
    // by a leader; its captions in the first column, left of the others.
    std::vector<double> wanted;
    for (const SheetPoint& p : designLine.points)
        wanted.push_back(p.x_mm);
    const std::vector<double> columns =
        spreadColumns(wanted, column, innerLeft + column / 2, innerLeft + inner - column / 2);
    const double textBase = bandBottom + kBandPadding_mm;
    auto columnTexts = [&](double centre, const std::string& a, const std::string& b,
                           SheetInk ink) {
        // Turned a quarter left, a text's glyphs stand left of its base line.
        cell.labels.push_back(upright(ink, centre - kLabelGap_mm / 2, textBase, a));
        cell.labels.push_back(upright(ink, centre + kLabelGap_mm / 2 + kLabel_mm, textBase, b));
    };
    for (std::size_t k = 0; k < design.size(); ++k) {
        columnTexts(columns[k], fixed3(design[k].offset_m), fixed3(design[k].H_m), SheetInk::Text);
        const SheetPoint& p = designLine.points[k];
        cell.lines.push_back(
            {SheetInk::Leader,
             {SheetPoint{p.x_mm, p.y_mm - kMark_mm}, SheetPoint{p.x_mm, drawingBottom - 1},
              SheetPoint{columns[k], bandTop}},
             0,
             false});
    }
    const double captionLeft = kCellMargin_mm;
    columnTexts(captionLeft + column / 2, "偏距", "高程", SheetInk::Text);
    cell.lines.push_back({SheetInk::Leader,
                          {SheetPoint{captionLeft, bandBottom},
                           SheetPoint{cell.width_mm - kCellMargin_mm, bandBottom},
                           SheetPoint{cell.width_mm - kCellMargin_mm, bandTop},
                           SheetPoint{captionLeft, bandTop}, SheetPoint{captionLeft, bandBottom}},
                          0,
                          false});
    cell.lines.push_back({SheetInk::Leader,
                          {SheetPoint{captionLeft + caption, bandBottom},
                           SheetPoint{captionLeft + caption, bandTop}},
                          0,
                          false});
    return cell;
}

// A usual scale at which a section that is too large by the factor at 1:scale would fit, with a
// tenth to spare for its texts, which do not shrink with the drawing.
int fittingScale(int scale, double factor) {
    constexpr int kUsual[] = {50, 100, 200, 250, 500, 1000, 2000, 2500, 5000};
    for (int usual : kUsual)
        if (usual > scale && usual >= scale * factor * 1.1)
            return usual;
    return kMostSheetScale;
}

SheetPoint moved(SheetPoint p, double dx, double dy) {
    return {p.x_mm + dx, p.y_mm + dy};
}

void place(SectionSheet& sheet, const Cell& cell, double left, double bottom) {
    for (SheetLine l : cell.lines) {
        for (SheetPoint& p : l.points)
            p = moved(p, left, bottom);
        sheet.lines.push_back(std::move(l));
    }
    for (SheetCircle c : cell.circles) {
        c.centre = moved(c.centre, left, bottom);
        sheet.circles.push_back(c);
    }
    for (SheetText t : cell.labels) {
        t.at = moved(t.at, left, bottom);
        sheet.texts.push_back(std::move(t));
    }
    sheet.sectionTexts.push_back(cell.texts);
}

SheetLine rectangle(SheetInk ink, double x0, double y0, double x1, double y1, double width) {
    return {ink, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}}, width, false};
}

// The frame and the title block of a sheet.
void frame(SectionSheet& sheet, const SectionSheets& sheets, const std::string& stakes) {
    const double x0 = kFrameLeft_mm, y0 = kFrameBottom_mm;
    const double x1 = kSheetWidth_mm - kFrameRight_mm, y1 = kSheetHeight_mm - kFrameTop_mm;
    sheet.lines.push_back(rectangle(SheetInk::Frame, 0, 0, kSheetWidth_mm, kSheetHeight_mm, 0));
    sheet.lines.push_back(rectangle(SheetInk::Frame, x0, y0, x1, y1, kFrameWidth_mm));
    const double bx = x1 - kTitleBlockWidth_mm, by = y0 + kTitleRows * kTitleRow_mm;
    sheet.lines.push_back(rectangle(SheetInk::Frame, bx, y0, x1, by, kFrameWidth_mm / 2));
    const double captionX = bx + kTitleNameColumn_mm, valueX = captionX + kTitleCaptionColumn_mm;
    sheet.lines.push_back({SheetInk::Frame, {{captionX, y0}, {captionX, by}}, 0, false});
    sheet.lines.push_back({SheetInk::Frame, {{valueX, y0 + kTitleRow_mm}, {valueX, by}}, 0, false});
    for (int r = 1; r < kTitleRows; ++r)
        sheet.lines.push_back({SheetInk::Frame,
                               {{captionX, y0 + r * kTitleRow_mm}, {x1, y0 + r * kTitleRow_mm}},
                               0,
                               false});
    auto base = [&](int rowFromTop, double height) {
        return by - (rowFromTop + 0.5) * kTitleRow_mm - height / 2;
    };
    sheet.texts.push_back(
        {SheetInk::Title,
         {bx + kTitleNameColumn_mm / 2, y0 + (by - y0) / 2 - kTitleBlockName_mm / 2},
         kTitleBlockName_mm,
         "横断面图",
         0,
         SheetAlign::Centre});
    const std::string captions[] = {"路线", "桩号", "比例"};
    const std::string values[] = {sheets.route, stakes, "1:" + std::to_string(sheets.scale)};
    for (int r = 0; r < 3; ++r) {
        sheet.texts.push_back({SheetInk::Title,
                               {captionX + kTitleCaptionColumn_mm / 2, base(r, kTitleBlockText_mm)},
                               kTitleBlockText_mm,
                               captions[r],
                               0,
                               SheetAlign::Centre});
        sheet.texts.push_back({SheetInk::Title,
                               {valueX + 2, base(r, kTitleBlockText_mm)},
                               kTitleBlockText_mm,
                               values[r],
                               0,
                               SheetAlign::Left});
    }
    sheet.texts.push_back({SheetInk::Title,
                           {captionX + (x1 - captionX) / 2, base(3, kTitleBlockText_mm)},
                           kTitleBlockText_mm,
                           "第 " + std::to_string(sheet.number) + " 张  共 " +
                               std::to_string(sheets.sheets.size()) + " 张",
                           0,
                           SheetAlign::Centre});
}

}  // namespace

std::vector<double> spreadColumns(const std::vector<double>& wanted, double gap, double from,
                                  double to) {
    std::vector<double> at(wanted);
    if (at.empty())
        return at;
    const double room = std::max(to - from, 0.0);
    if (at.size() > 1)
        gap = std::min(gap, room / static_cast<double>(at.size() - 1));
    for (std::size_t i = 0; i < at.size(); ++i) {
        at[i] = std::clamp(at[i], from, to);
        if (i > 0)
            at[i] = std::max(at[i], at[i - 1] + gap);
    }
    for (std::size_t i = at.size(); i-- > 0;)
        at[i] = std::min(at[i], i + 1 < at.size() ? at[i + 1] - gap : to);
    for (std::size_t i = 0; i < at.size(); ++i)
        at[i] = std::max(at[i], i > 0 ? at[i - 1] + gap : from);
    return at;
}

SheetRgb sheetInkColour(SheetInk ink) {
    switch (ink) {
        case SheetInk::Design:
        case SheetInk::Centre:
            return {200, 0, 0};
        case SheetInk::Ground:
            return {20, 120, 40};
        case SheetInk::Catch:
            return {170, 0, 170};
        case SheetInk::Leader:
            return {150, 150, 150};
        default:
            return {0, 0, 0};
    }
}

const char* sheetLayerName(SheetInk ink) {
    switch (ink) {
        case SheetInk::Frame:
            return "图框";
        case SheetInk::Ground:
            return "地面线";
        case SheetInk::Design:
            return "设计线";
        case SheetInk::Catch:
            return "坡脚坡口";
        case SheetInk::Centre:
            return "中线";
        case SheetInk::Leader:
            return "引线";
        case SheetInk::Text:
            return "标注";
        case SheetInk::Title:
            return "图签";
    }
    return "0";
}

Result<std::vector<SheetSection>> sheetSections(const Route& route, const CrossSection& section,
                                                const std::vector<GroundSection>& sections) {
    std::vector<Failure> faults;
    std::vector<SheetSection> out;
    out.reserve(sections.size());
    for (const GroundSection& g : sections) {
        Result<SectionAreas> a = sectionAreas(section, route, g.continuous_m, g.points);
        if (!a) {
            faults.push_back({g.text + "：" + a.failure().message, g.line, g.file});
            continue;
        }
        out.push_back({g.text, g.points, std::move(*a)});
    }
    if (!faults.empty())
        return Result<std::vector<SheetSection>>::failed(std::move(faults));
    return out;
}

double sheetTextWidth_mm(const std::string& text, double height_mm) {
    double width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        // The length of the UTF-8 sequence, and whether its character is below U+0100.
        const std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const bool narrow = c < 0xC4;
        width += (narrow ? kSheetNarrowWidth : 1.0) * height_mm;
        i += length;
    }
    return width;
}

std::optional<int> sheetScale(const std::string& text) {
    std::string digits = text;
    if (digits.compare(0, 2, "1:") == 0)
        digits.erase(0, 2);
    if (digits.empty() || digits.size() > 6 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int scale = std::stoi(digits);
    if (scale < kLeastSheetScale || scale > kMostSheetScale)
        return std::nullopt;
    return scale;
}

Result<SectionSheets> layOutSectionSheets(const std::vector<SheetSection>& sections,
                                          const std::string& route, int scale) {
    if (sections.empty())
        return Failure{"没有横断面可画。"};
    SectionSheets sheets;
    sheets.route = route;
    sheets.scale = scale;
    sheets.sections = sections.size();
    const double mmPerMetre = kMillimetresPerMetre / scale;
    const double areaLeft = kFrameLeft_mm + kAreaInset_mm;
    const double areaRight = kSheetWidth_mm - kFrameRight_mm - kAreaInset_mm;
    const double areaBottom = kFrameBottom_mm + kTitleRows * kTitleRow_mm + kAreaInset_mm;
    const double areaTop = kSheetHeight_mm - kFrameTop_mm - kAreaInset_mm;
    const double areaWidth = areaRight - areaLeft, areaHeight = areaTop - areaBottom;

    // The cells, then rows of them, then sheets of rows.
    std::vector<Cell> cells;
    cells.reserve(sections.size());
    for (const SheetSection& s : sections) {
        if (s.areas.design.size() < 2)
            return Failure{s.stake + "：没有设计线，画不出横断面。"};
        cells.push_back(sectionCell(s, mmPerMetre));
        const Cell& c = cells.back();
        if (c.width_mm > areaWidth || c.height_mm > areaHeight)
            return Failure{s.stake + "：横断面在 1:" + std::to_string(scale) + " 下要 " +
                           fixedText(c.width_mm, 1) + " × " + fixedText(c.height_mm, 1) +
                           " 毫米，图纸上可画的只有 " + fixedText(areaWidth, 1) + " × " +
                           fixedText(areaHeight, 1) + " 毫米：请用更小的比例（如 1:" +
                           std::to_string(fittingScale(
                               scale, std::max(c.width_mm / areaWidth, c.height_mm / areaHeight))) +
                           "）。"};
    }
    struct Row {
        std::size_t first = 0, count = 0;
        double width = 0, height = 0;
    };
    std::vector<std::vector<Row>> pages(1);
    double pageHeight = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Cell& c = cells[i];
        std::vector<Row>& rows = pages.back();
        if (!rows.empty() && rows.back().width + kCellGap_mm + c.width_mm <= areaWidth) {
            Row& r = rows.back();
            const double grown = std::max(r.height, c.height_mm);
            if (pageHeight - r.height + grown <= areaHeight) {
                pageHeight += grown - r.height;
                r.height = grown;
                r.width += kCellGap_mm + c.width_mm;
                ++r.count;
                continue;
            }
        }
        const double gap = pages.back().empty() ? 0 : kCellGap_mm;
        if (pageHeight + gap + c.height_mm > areaHeight) {
            pages.emplace_back();
            pageHeight = 0;
        }
        pageHeight += (pages.back().empty() ? 0 : kCellGap_mm) + c.height_mm;
        pages.back().push_back({i, 1, c.width_mm, c.height_mm});
    }

    sheets.sheets.resize(pages.size());
    for (std::size_t n = 0; n < pages.size(); ++n) {
        SectionSheet& sheet = sheets.sheets[n];
        sheet.number = static_cast<int>(n + 1);
        sheet.firstSection = pages[n].front().first;
        sheet.sectionCount = 0;
        double top = areaTop;
        for (const Row& r : pages[n]) {
            // The row's cells spread evenly across, standing on the row's bottom line.
            const double spare = (areaWidth - r.width) / static_cast<double>(r.count + 1);
            double left = areaLeft + spare;
            for (std::size_t k = r.first; k < r.first + r.count; ++k) {
                place(sheet, cells[k], left, top - r.height);
                left += cells[k].width_mm + kCellGap_mm + spare;
            }
            sheet.sectionCount += r.count;
            top -= r.height + kCellGap_mm;
        }
    }
    for (SectionSheet& sheet : sheets.sheets) {
        const std::string& first = sections[sheet.firstSection].stake;
        const std::string& last = sections[sheet.firstSection + sheet.sectionCount - 1].stake;
        frame(sheet, sheets, sheet.sectionCount == 1 ? first : first + " – " + last);
    }
    return sheets;
}

}  // namespace hcurve
