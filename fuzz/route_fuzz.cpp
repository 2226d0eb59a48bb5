// Any bytes as a route file, a JD or element table or a LandXML file: read, decoded, built, tabled
// and located without a crash or undefined behaviour; a route that is built gives finite stakes
// from BP to EP.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "alignment/cross_section.h"
#include "alignment/route.h"
#include "route_files/landxml_loading.h"
#include "route_files/landxml_reading.h"
#include "route_files/route_file.h"
#include "route_files/route_tables.h"
#include "route_files/section_output.h"
#include "route_files/text_decoding.h"

namespace {

using namespace hcurve;

void require(bool ok) {
    if (!ok)
        std::abort();
}

// The route of the bytes as a route file (a LandXML file, when they start as one), or nothing;
// into section the cross-section tables a route file gives.
std::optional<Route> routeOf(std::string_view bytes, SectionDesign& section) {
    if (looksLikeLandXml("", bytes)) {
        Result<LoadedRoute> loading = loadLandXmlRoute("f.xml", bytes, nullptr);
        if (!loading) {
            require(!loading.failures().empty());
            return std::nullopt;
        }
        return std::move(loading->route);
    }
    std::optional<std::string> text = routeTextAsUtf8(bytes);
    if (!text)
        return std::nullopt;
    const Result<RouteDesign> reading = readRouteFile(*text);
    if (!reading) {
        require(!reading.failures().empty());
        return std::nullopt;
    }
    Result<BuiltRoute> building = buildRoute(*reading);
    if (!building) {
        require(!building.failures().empty());
        return std::nullopt;
    }
    section = reading->section;
    return std::move(building->route);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SectionDesign sectionTables;
    const std::optional<Route> built = routeOf(bytes, sectionTables);
    if (!built)
        return 0;
    const Route& route = *built;
    require(route.end_m >= route.start_m);
    if (!route.points.empty())
        elementTableCsv(route);
    if (route.gradeLine)
        for (const GradePoint& p : route.gradeLine->points)
            require(std::isfinite(p.at_m) && std::isfinite(p.H_m) && std::isfinite(p.E_m));

    StakeRequest request;
    request.interval_m = std::max((route.end_m - route.start_m) / 50, 1e-3);
    request.left_m = {5};
    request.right_m = {2.5, 7.5};
    const Result<StakeTable> stakes = stakeTable(route, request);
    if (!stakes)
        return 0;
    const StakeTable& table = *stakes;
    require(!table.rows.empty());
    for (const StakeRow& r : table.rows) {
        require(std::isfinite(r.x_m) && std::isfinite(r.y_m) && std::isfinite(r.tangent_deg));
        locate(route, r.x_m, r.y_m);
    }
    stakeTableCsv(table, request);
    // The cross-section, where the file gives a template: built or refused with its faults, and
    // every edge, section point and slope stake of the stakes finite.
    if (!sectionTables.templateTable)
        return 0;
    const Result<CrossSection> building = buildCrossSection(sectionTables, route);
    if (!building) {
        require(!building.failures().empty());
        return 0;
    }
    const CrossSection& section = *building;
    for (const StakeRow& r : table.rows) {
        for (const FormationEdge& e : formationEdges(section, route, r.continuous_m))
            require(std::isfinite(e.offset_m) && std::isfinite(e.elevation_m));
        for (const SectionPoint& p : designSection(section, route, r.continuous_m, {}))
            require(std::isfinite(p.offset_m) && std::isfinite(p.elevation_m));
        if (route.gradeLine) {
            const Result<SlopeStake> stake = slopeStake(section, route, r.continuous_m, 20, 0);
            require(!stake || std::isfinite(stake->edgeH_m));
        }
    }
    stakeTableWithEdgesCsv(table, request, section, route);
    sectionTableCsv(table, section, route, defaultSectionSlopes(section));
    return 0;
}
