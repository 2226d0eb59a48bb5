#include "cad/dxf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>

#include "curve/angle.h"
#include "curve/format.h"

namespace hcurve {
namespace {

// The handles of the fixed objects; layers and entities are numbered after them.
enum Handle : unsigned {
    kBlockRecordTable = 0x1,
    kLayerTable = 0x2,
    kStyleTable = 0x3,
    kLinetypeTable = 0x5,
    kViewTable = 0x6,
    kUcsTable = 0x7,
    kVportTable = 0x8,
    kAppidTable = 0x9,
    kDimstyleTable = 0xA,
    kModelRecord = 0x10,
    kPaperRecord,
    kModelBlock,
    kModelBlockEnd,
    kPaperBlock,
    kPaperBlockEnd,
    kRootDictionary,
    kGroupDictionary,
    kLayoutDictionary,
    kModelLayout,
    kPaperLayout,
    kActiveVport,
    kByBlock,
    kByLayer,
    kContinuous,
    kStandardStyle,
    kLabelStyle,
    kAcadAppid,
    kStandardDimstyle,
    kLayerZero,
    kFirstFree = 0x30,
};

constexpr char kLabelStyleName[] = "中文";
constexpr char kLabelFontFile[] = "simsun.ttc";
constexpr char kLabelFontFace[] = "SimSun";
constexpr double kExtentStep_tdeg = 5;
// The extent a drawing without anything in it shows.
constexpr double kEmptyExtent = 100;

std::string hex(unsigned handle) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", handle);
    return text;
}

// The group codes and values of the file, one line each.
class Writer {
  public:
    void pair(int code, const std::string& value) {
        out_ += std::to_string(code);
        out_ += "\r\n";
        out_ += value;
        out_ += "\r\n";
    }
    void pair(int code, int value) { pair(code, std::to_string(value)); }
    void real(int code, double value) { pair(code, dxfNumber(value)); }
    void handle(int code, unsigned value) { pair(code, hex(value)); }
    void point(int code, DxfPoint p) {
        real(code, p.x);
        real(code + 10, p.y);
        real(code + 20, p.z);
    }
    void point2(int code, double x, double y) {
        real(code, x);
        real(code + 10, y);
    }
    void variable(const char* name) { pair(9, name); }
    void section(const char* name) {
        pair(0, "SECTION");
        pair(2, name);
    }
    void endSection() { pair(0, "ENDSEC"); }
    // The head of a table, owned by nobody.
    void table(const char* name, unsigned handle, int count) {
        pair(0, "TABLE");
        pair(2, name);
        this->handle(5, handle);
        this->handle(330, 0);
        pair(100, "AcDbSymbolTable");
        pair(70, count);
    }
    void endTable() { pair(0, "ENDTAB"); }
    // The head of a table's record.
    void record(const char* type, unsigned handle, unsigned table, const char* subclass) {
        pair(0, type);
        this->handle(5, handle);
        this->handle(330, table);
        pair(100, "AcDbSymbolTableRecord");
        pair(100, subclass);
    }
    std::string& text() { return out_; }

  private:
    std::string out_;
};

void header(Writer& w, DxfPoint min, DxfPoint max, unsigned seed) {
    w.section("HEADER");
    w.variable("$ACADVER");
    w.pair(1, "AC1024");
    w.variable("$ACADMAINTVER");
    w.pair(70, 6);
    // The texts are UTF-8 in this version; the code page is the one a Chinese system writes.
    w.variable("$DWGCODEPAGE");
    w.pair(3, "ANSI_936");
    w.variable("$INSBASE");
    w.point(10, {0, 0, 0});
    w.variable("$EXTMIN");
    w.point(10, min);
    w.variable("$EXTMAX");
    w.point(10, max);
    w.variable("$LIMMIN");
    w.point2(10, min.x, min.y);
    w.variable("$LIMMAX");
    w.point2(10, max.x, max.y);
    w.variable("$CLAYER");
    w.pair(8, "0");
    w.variable("$CELTYPE");
    w.pair(6, "ByLayer");
    w.variable("$TEXTSTYLE");
    w.pair(7, kLabelStyleName);
    w.variable("$DIMSTYLE");
    w.pair(2, "Standard");
    // Metres, decimal lengths with four places.
    w.variable("$INSUNITS");
    w.pair(70, 6);
    w.variable("$MEASUREMENT");
    w.pair(70, 1);
    w.variable("$LUNITS");
    w.pair(70, 2);
    w.variable("$LUPREC");
    w.pair(70, 4);
    // Points as a circle with a cross, half a metre across.
    w.variable("$PDMODE");
    w.pair(70, 35);
    w.variable("$PDSIZE");
    w.real(40, 0.5);
    w.variable("$HANDSEED");
    w.handle(5, seed);
    w.endSection();
}

void tables(Writer& w, const std::vector<std::pair<std::string, int>>& layers, DxfPoint min,
            DxfPoint max) {
    w.section("TABLES");

    // The active viewport shows the whole drawing.
    w.table("VPORT", kVportTable, 1);
    w.record("VPORT", kActiveVport, kVportTable, "AcDbViewportTableRecord");
    w.pair(2, "*Active");
    w.pair(70, 0);
    w.point2(10, 0, 0);
    w.point2(11, 1, 1);
    w.point2(12, (min.x + max.x) / 2, (min.y + max.y) / 2);
    w.point2(13, 0, 0);
    w.point2(14, 1, 1);
    w.point2(15, 1, 1);
    w.point(16, {0, 0, 1});
    w.point(17, {0, 0, 0});
    const double width = max.x - min.x, height = max.y - min.y;
    w.real(40, std::max(height, width / 1.5) * 1.1);
    w.real(41, 1.5);
    w.real(42, 50);
    w.real(43, 0);
    w.real(44, 0);
    w.real(50, 0);
    w.real(51, 0);
    w.pair(71, 0);
    w.pair(72, 1000);
    w.pair(73, 1);
    w.pair(74, 3);
    w.pair(75, 0);
    w.pair(76, 0);
    w.pair(77, 0);
    w.pair(78, 0);
    w.pair(281, 0);
    w.pair(65, 1);
    w.point(110, {0, 0, 0});
    w.point(111, {1, 0, 0});
    w.point(112, {0, 1, 0});
    w.pair(79, 0);
    w.real(146, 0);
    w.endTable();

    w.table("LTYPE", kLinetypeTable, 3);
    const std::pair<const char*, unsigned> linetypes[] = {
        {"ByBlock", kByBlock}, {"ByLayer", kByLayer}, {"Continuous", kContinuous}};
    for (const auto& [name, handle] : linetypes) {
        w.record("LTYPE", handle, kLinetypeTable, "AcDbLinetypeTableRecord");
        w.pair(2, name);
        w.pair(70, 0);
        w.pair(3, handle == kContinuous ? "Solid line" : "");
        w.pair(72, 65);
        w.pair(73, 0);
        w.real(40, 0);
    }
    w.endTable();

    w.table("LAYER", kLayerTable, static_cast<int>(layers.size()) + 1);
    unsigned handle = kFirstFree;
    for (std::size_t i = 0; i <= layers.size(); ++i) {
        w.record("LAYER", i == 0 ? kLayerZero : handle++, kLayerTable, "AcDbLayerTableRecord");
        w.pair(2, i == 0 ? "0" : layers[i - 1].first);
        w.pair(70, 0);
        w.pair(62, i == 0 ? 7 : layers[i - 1].second);
        w.pair(6, "Continuous");
        w.pair(370, -3);
    }
    w.endTable();

    // Standard for what names no style; 中文 for the labels, a TrueType face with the Chinese
    // characters. Its face name stands in the extended data, as AutoCAD keeps it.
    w.table("STYLE", kStyleTable, 2);
    w.record("STYLE", kStandardStyle, kStyleTable, "AcDbTextStyleTableRecord");
    w.pair(2, "Standard");
    w.pair(70, 0);
    w.real(40, 0);
    w.real(41, 1);
    w.real(50, 0);
    w.pair(71, 0);
    w.real(42, 2.5);
    w.pair(3, "txt");
    w.pair(4, "");
    w.record("STYLE", kLabelStyle, kStyleTable, "AcDbTextStyleTableRecord");
    w.pair(2, kLabelStyleName);
    w.pair(70, 0);
    w.real(40, 0);
    w.real(41, 1);
    w.real(50, 0);
    w.pair(71, 0);
    w.real(42, 2.5);
    w.pair(3, kLabelFontFile);
    w.pair(4, "");
    w.pair(1001, "ACAD");
    w.pair(1000, kLabelFontFace);
    w.pair(1071, 0);
    w.endTable();

    w.table("VIEW", kViewTable, 0);
    w.endTable();
    w.table("UCS", kUcsTable, 0);
    w.endTable();

    w.table("APPID", kAppidTable, 1);
    w.record("APPID", kAcadAppid, kAppidTable, "AcDbRegAppTableRecord");
    w.pair(2, "ACAD");
    w.pair(70, 0);
    w.endTable();

    // A dimension style's handle has its own group code.
    w.pair(0, "TABLE");
    w.pair(2, "DIMSTYLE");
    w.handle(5, kDimstyleTable);
    w.handle(330, 0);
    w.pair(100, "AcDbSymbolTable");
    w.pair(70, 1);
    w.pair(100, "AcDbDimStyleTable");
    w.pair(71, 1);
    w.handle(340, kStandardDimstyle);
    w.pair(0, "DIMSTYLE");
    w.handle(105, kStandardDimstyle);
    w.handle(330, kDimstyleTable);
    w.pair(100, "AcDbSymbolTableRecord");
    w.pair(100, "AcDbDimStyleTableRecord");
    w.pair(2, "Standard");
    w.pair(70, 0);
    w.handle(340, kStandardStyle);
    w.endTable();

    w.table("BLOCK_RECORD", kBlockRecordTable, 2);
    w.record("BLOCK_RECORD", kModelRecord, kBlockRecordTable, "AcDbBlockTableRecord");
    w.pair(2, "*Model_Space");
    w.handle(340, kModelLayout);
    w.pair(70, 0);
    w.pair(280, 1);
    w.pair(281, 0);
    w.record("BLOCK_RECORD", kPaperRecord, kBlockRecordTable, "AcDbBlockTableRecord");
    w.pair(2, "*Paper_Space");
    w.handle(340, kPaperLayout);
    w.pair(70, 0);
    w.pair(280, 1);
    w.pair(281, 0);
    w.endTable();

    w.endSection();
}

void blocks(Writer& w) {
    w.section("BLOCKS");
    const std::tuple<const char*, unsigned, unsigned, unsigned> spaces[] = {
        {"*Model_Space", kModelRecord, kModelBlock, kModelBlockEnd},
        {"*Paper_Space", kPaperRecord, kPaperBlock, kPaperBlockEnd}};
    for (const auto& [name, record, begin, end] : spaces) {
        w.pair(0, "BLOCK");
        w.handle(5, begin);
        w.handle(330, record);
        w.pair(100, "AcDbEntity");
        if (record == kPaperRecord)
            w.pair(67, 1);
        w.pair(8, "0");
        w.pair(100, "AcDbBlockBegin");
        w.pair(2, name);
        w.pair(70, 0);
        w.point(10, {0, 0, 0});
        w.pair(3, name);
        w.pair(1, "");
        w.pair(0, "ENDBLK");
        w.handle(5, end);
        w.handle(330, record);
        w.pair(100, "AcDbEntity");
        if (record == kPaperRecord)
            w.pair(67, 1);
        w.pair(8, "0");
        w.pair(100, "AcDbBlockEnd");
    }
    w.endSection();
}

void layout(Writer& w, unsigned handle, const char* name, int order, unsigned record, DxfPoint min,
            DxfPoint max) {
    w.pair(0, "LAYOUT");
    w.handle(5, handle);
    w.handle(330, kLayoutDictionary);
    w.pair(100, "AcDbPlotSettings");
    w.pair(1, "");
    w.pair(4, "A4");
    w.pair(6, "");
    for (int code = 40; code <= 49; ++code)
        w.real(code, 0);
    w.real(140, 0);
    w.real(141, 0);
    w.real(142, 1);
    w.real(143, 1);
    w.pair(70, order == 0 ? 1712 : 688);
    w.pair(72, 1);
    w.pair(73, 0);
    w.pair(74, 5);
    w.pair(7, "");
    w.pair(75, 16);
    w.pair(76, 0);
    w.pair(77, 2);
    w.pair(78, 300);
    w.real(147, 1);
    w.real(148, 0);
    w.real(149, 0);
    w.pair(100, "AcDbLayout");
    w.pair(1, name);
    w.pair(70, 1);
    w.pair(71, order);
    w.point2(10, 0, 0);
    w.point2(11, 420, 297);
    w.point(12, {0, 0, 0});
    w.point(14, min);
    w.point(15, max);
    w.real(146, 0);
    w.point(13, {0, 0, 0});
    w.point(16, {1, 0, 0});
    w.point(17, {0, 1, 0});
    w.pair(76, 0);
    w.handle(330, record);
}

void objects(Writer& w, DxfPoint min, DxfPoint max) {
    w.section("OBJECTS");
    w.pair(0, "DICTIONARY");
    w.handle(5, kRootDictionary);
    w.handle(330, 0);
    w.pair(100, "AcDbDictionary");
    w.pair(281, 1);
    w.pair(3, "ACAD_GROUP");
    w.handle(350, kGroupDictionary);
    w.pair(3, "ACAD_LAYOUT");
    w.handle(350, kLayoutDictionary);

    w.pair(0, "DICTIONARY");
    w.handle(5, kGroupDictionary);
    w.handle(330, kRootDictionary);
    w.pair(100, "AcDbDictionary");
    w.pair(281, 1);

    w.pair(0, "DICTIONARY");
    w.handle(5, kLayoutDictionary);
    w.handle(330, kRootDictionary);
    w.pair(100, "AcDbDictionary");
    w.pair(281, 1);
    w.pair(3, "Model");
    w.handle(350, kModelLayout);
    w.pair(3, "Layout1");
    w.handle(350, kPaperLayout);

    layout(w, kModelLayout, "Model", 0, kModelRecord, min, max);
    layout(w, kPaperLayout, "Layout1", 1, kPaperRecord, {0, 0, 0}, {420, 297, 0});
    w.endSection();
}

}  // namespace

std::string dxfNumber(double v) {
    if (!std::isfinite(v))
        v = 0;
    std::string s = fixedText(v, 9);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s.pop_back();
    if (s == "-0")
        s = "0";
    return s;
}

void DxfDrawing::addLayer(const std::string& name, int colour) {
    layers_.push_back({name, colour});
}

void DxfDrawing::extend(DxfPoint p) {
    if (empty_) {
        minX_ = maxX_ = p.x;
        minY_ = maxY_ = p.y;
        empty_ = false;
        return;
    }
    minX_ = std::min(minX_, p.x);
    maxX_ = std::max(maxX_, p.x);
    minY_ = std::min(minY_, p.y);
    maxY_ = std::max(maxY_, p.y);
}

void DxfDrawing::line(const std::string& layer, DxfPoint from, DxfPoint to) {
    extend(from);
    extend(to);
    entities_.emplace_back(Kind::Line, layer, std::vector<DxfPoint>{from, to});
}

void DxfDrawing::arc(const std::string& layer, DxfPoint centre, double radius, double start_tdeg,
                     double end_tdeg) {
    // The extent from points along the arc, every kExtentStep_tdeg and its ends.
    const double span = counterClockwiseSpan_tdeg(start_tdeg, end_tdeg);
    const int steps = static_cast<int>(std::ceil(span / kExtentStep_tdeg));
    for (int i = 0; i <= steps; ++i) {
        const double a = (start_tdeg + (steps > 0 ? span * i / steps : 0)) / kTrueDegreesPerRadian;
        extend({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    Entity e(Kind::Arc, layer, {centre});
    e.radius = radius;
    e.start_tdeg = start_tdeg;
    e.end_tdeg = end_tdeg;
    entities_.push_back(std::move(e));
}

void DxfDrawing::polyline(const std::string& layer, const std::vector<DxfPoint>& vertices) {
    for (const DxfPoint& p : vertices)
        extend(p);
    entities_.emplace_back(Kind::Polyline, layer, vertices);
}

void DxfDrawing::point(const std::string& layer, DxfPoint at) {
    extend(at);
    entities_.emplace_back(Kind::Point, layer, std::vector<DxfPoint>{at});
}

void DxfDrawing::text(const std::string& layer, DxfPoint at, double height, const std::string& text,
                      double rotation_tdeg, DxfAlign align) {
    extend(at);
    Entity e(Kind::Text, layer, {at});
    e.radius = height;
    e.start_tdeg = rotation_tdeg;
    e.text = text;
    e.align = align;
    entities_.push_back(std::move(e));
}

std::string DxfDrawing::bytes() const {
    const DxfPoint min = empty_ ? DxfPoint{0, 0, 0} : DxfPoint{minX_, minY_, 0};
    const DxfPoint max =
        empty_ ? DxfPoint{kEmptyExtent, kEmptyExtent, 0} : DxfPoint{maxX_, maxY_, 0};
    std::vector<std::pair<std::string, int>> layers;
    for (const Layer& l : layers_)
        layers.emplace_back(l.name, l.colour);
    const unsigned firstEntity = kFirstFree + static_cast<unsigned>(layers.size());
    const unsigned seed = firstEntity + static_cast<unsigned>(entities_.size());

    Writer w;
    header(w, min, max, seed);
    w.section("CLASSES");
    w.endSection();
    tables(w, layers, min, max);
    blocks(w);

    w.section("ENTITIES");
    unsigned handle = firstEntity;
    for (const Entity& e : entities_) {
        static const char* const kTypes[] = {"LINE", "ARC", "LWPOLYLINE", "POINT", "TEXT"};
        w.pair(0, kTypes[static_cast<int>(e.kind)]);
        w.handle(5, handle++);
        w.handle(330, kModelRecord);
        w.pair(100, "AcDbEntity");
        w.pair(8, e.layer);
        switch (e.kind) {
            case Kind::Line:
                w.pair(100, "AcDbLine");
                w.point(10, e.points[0]);
                w.point(11, e.points[1]);
                break;
            case Kind::Arc:
                w.pair(100, "AcDbCircle");
                w.point(10, e.points[0]);
                w.real(40, e.radius);
                w.pair(100, "AcDbArc");
                w.real(50, e.start_tdeg);
                w.real(51, e.end_tdeg);
                break;
            case Kind::Polyline:
                w.pair(100, "AcDbPolyline");
                w.pair(90, static_cast<int>(e.points.size()));
                w.pair(70, 0);
                w.real(43, 0);
                for (const DxfPoint& p : e.points)
                    w.point2(10, p.x, p.y);
                break;
            case Kind::Point:
                w.pair(100, "AcDbPoint");
                w.point(10, e.points[0]);
                break;
            case Kind::Text:
                w.pair(100, "AcDbText");
                w.point(10, e.points[0]);
                w.real(40, e.radius);
                w.pair(1, e.text);
                if (e.start_tdeg != 0)
                    w.real(50, e.start_tdeg);
                w.pair(7, kLabelStyleName);
                if (e.align != DxfAlign::Left) {
                    w.pair(72, e.align == DxfAlign::Right ? 2 : 1);
                    w.point(11, e.points[0]);
                }
                w.pair(100, "AcDbText");
                break;
        }
    }
    w.endSection();

    objects(w, min, max);
    w.pair(0, "EOF");
    return std::move(w.text());
}

}  // namespace hcurve
