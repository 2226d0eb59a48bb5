#include "alignment/cross_section.h"

#include "alignment/route.h"

namespace hcurve {

CrossSectionBuilding buildCrossSection(const SectionDesign&, const Route&) {
    return {};
}

CarriagewayState carriagewayAt(const CrossSection&, double) {
    return {};
}

const SectionTemplate& templateAt(const CrossSection& section, double) {
    return section.templates.front();
}

std::vector<FormationEdge> formationEdges(const CrossSection&, const Route&, double) {
    return {};
}

std::vector<SectionPoint> designSection(const CrossSection&, const Route&, double,
                                        const SectionRequest&) {
    return {};
}

std::optional<SectionEarthwork> earthworkFor(const CrossSection&, const Route&, double, SectionSide,
                                             double) {
    return std::nullopt;
}

std::optional<SurfacePoint> designSurfaceAt(const CrossSection&, const Route&, double, double,
                                            SectionEarthwork) {
    return std::nullopt;
}

std::optional<SurfacePoint> designSurfaceUnder(const CrossSection&, const Route&, double, double,
                                               double) {
    return std::nullopt;
}

Result<SlopeStake> slopeStake(const CrossSection&, const Route&, double, double, double) {
    return Failure{"未实现"};
}

const char* sideText(SectionSide side) {
    return side == SectionSide::Left ? "左" : "右";
}

const char* earthworkText(SectionEarthwork earthwork) {
    return earthwork == SectionEarthwork::Fill ? "填" : "挖";
}

const char* moveText(StakeMove move) {
    switch (move) {
        case StakeMove::Outwards:
            return "向外";
        case StakeMove::Inwards:
            return "向内";
        case StakeMove::InPlace:
            return "到位";
        case StakeMove::OnFormation:
            break;
    }
    return "路基上";
}

}  // namespace hcurve
