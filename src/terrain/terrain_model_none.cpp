// A build without CGAL: no ground model of terrain points.
#include "terrain/terrain_model.h"

namespace hcurve {

class TerrainModel {};

bool terrainModelAvailable() {
    return false;
}

Result<std::shared_ptr<const TerrainModel>> buildTerrainModel(
    const std::vector<SurveyedPoint>& points, std::size_t file) {
    return Failure{
        "这个版本不能由地面点建地面模型（没有三角网）：请给出地面横断面"
        "文件（BEGIN 或 桩号,偏距,高程）。",
        points.empty() ? 1 : points.front().line, file};
}

TerrainCut cutSection(const TerrainModel&, double, double, double, double, double) {
    TerrainCut cut;
    cut.outside = true;
    return cut;
}

std::optional<double> terrainHeightAt(const TerrainModel&, double, double) {
    return std::nullopt;
}

}  // namespace hcurve
