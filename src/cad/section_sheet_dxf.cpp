#include "cad/section_sheet_dxf.h"

namespace hcurve {
namespace {

constexpr double kWholeCircle_tdeg = 360;  // a mark is an arc all round

// The AutoCAD colour of a layer: the design red, the ground green, the catch points magenta,
// the leaders grey, the rest white (black on paper).
int layerColour(SheetInk ink) {
    switch (ink) {
        case SheetInk::Design:
        case SheetInk::Centre:
            return 1;
        case SheetInk::Ground:
            return 3;
        case SheetInk::Catch:
            return 6;
        case SheetInk::Leader:
            return 8;
        default:
            return 7;
    }
}

DxfAlign dxfAlign(SheetAlign align) {
    return align == SheetAlign::Left     ? DxfAlign::Left
           : align == SheetAlign::Centre ? DxfAlign::Centre
                                         : DxfAlign::Right;
}

}  // namespace

DxfDrawing sectionSheetsDxfDrawing(const SectionSheets& sheets) {
    DxfDrawing d;
    for (SheetInk ink : {SheetInk::Frame, SheetInk::Title, SheetInk::Ground, SheetInk::Design,
                         SheetInk::Catch, SheetInk::Centre, SheetInk::Leader, SheetInk::Text})
        d.addLayer(sheetLayerName(ink), layerColour(ink));
    for (const SectionSheet& sheet : sheets.sheets) {
        const double dx = (sheet.number - 1) * (kSheetWidth_mm + kSheetSpacing_mm);
        for (const SheetLine& l : sheet.lines) {
            std::vector<DxfPoint> points;
            points.reserve(l.points.size());
            for (const SheetPoint& p : l.points)
                points.push_back({p.x_mm + dx, p.y_mm});
            if (points.size() == 2)
                d.line(sheetLayerName(l.ink), points[0], points[1]);
            else
                d.polyline(sheetLayerName(l.ink), points);
        }
        for (const SheetCircle& c : sheet.circles)
            d.arc(sheetLayerName(c.ink), {c.centre.x_mm + dx, c.centre.y_mm}, c.radius_mm, 0,
                  kWholeCircle_tdeg);
        for (const SheetText& t : sheet.texts)
            d.text(sheetLayerName(t.ink), {t.at.x_mm + dx, t.at.y_mm}, t.height_mm, t.text,
                   t.rotation_tdeg, dxfAlign(t.align));
    }
    return d;
}

std::string sectionSheetsDxf(const SectionSheets& sheets) {
    return sectionSheetsDxfDrawing(sheets).bytes();
}

}  // namespace hcurve
