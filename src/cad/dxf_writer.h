// A drawing as a DXF file for CAD: lines, arcs, polylines, points and texts on named layers, in
// the file version AC1024 (AutoCAD 2010), whose texts are UTF-8, so that Chinese layer names and
// labels read as they are.
//
// The file has the full structure of its version: the header, the tables (viewport, line types,
// layers, text styles, views, user coordinate systems, application ids, dimension styles, block
// records), the model and paper space blocks, the entities and the objects (the root dictionary,
// the groups and the two layouts), every object with its handle, its owner and its subclass
// markers. Labels use the text style "中文" with the TrueType face SimSun (simsun.ttc), which every
// Chinese Windows has.
//
// Coordinates are the drawing's own: x east, y north, z up, in metres; angles in true degrees
// counter-clockwise from the x axis.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace hcurve {

struct DxfPoint {
    double x;  // east
    double y;  // north
    double z = 0;
};

/// How a text stands at its point.
enum class DxfAlign { Left, Centre, Right };

class DxfDrawing {
  public:
    /// A layer, with its AutoCAD colour number (1 red, 2 yellow, 3 green, 4 cyan, 5 blue, 6
    /// magenta, 7 white/black). Layers are listed in the order they are added; "0" is always there.
    void addLayer(const std::string& name, int colour);

    void line(const std::string& layer, DxfPoint from, DxfPoint to);
    /// An arc drawn counter-clockwise from start to end.
    void arc(const std::string& layer, DxfPoint centre, double radius, double start_tdeg,
             double end_tdeg);
    /// An open polyline in the plane z = 0.
    void polyline(const std::string& layer, const std::vector<DxfPoint>& vertices);
    void point(const std::string& layer, DxfPoint at);
    /// A text of the given height in the style 中文, its base line turned by rotation_tdeg; with
    /// DxfAlign::Right it ends at the point instead of starting there, with DxfAlign::Centre its
    /// base line is centred on it.
    void text(const std::string& layer, DxfPoint at, double height, const std::string& text,
              double rotation_tdeg = 0, DxfAlign align = DxfAlign::Left);

    /// The whole file, lines ended by CR LF.
    std::string bytes() const;

  private:
    enum class Kind { Line, Arc, Polyline, Point, Text };
    struct Entity {
        Entity(Kind k, const std::string& l, std::vector<DxfPoint> p)
            : kind(k), layer(l), points(std::move(p)) {}
        Kind kind;
        std::string layer;
        std::vector<DxfPoint> points;
        double radius = 0, start_tdeg = 0, end_tdeg = 0;  // arc; text: height, rotation
        std::string text;
        DxfAlign align = DxfAlign::Left;
    };
    struct Layer {
        std::string name;
        int colour;
    };
    void extend(DxfPoint p);

    std::vector<Layer> layers_;
    std::vector<Entity> entities_;
    double minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
    bool empty_ = true;
};

/// A number as the file writes it: fixed, up to nine decimals, without trailing zeros.
std::string dxfNumber(double v);

}  // namespace hcurve
