// A LandXML 1.2 document as a route design: one Alignment (the first, or the one named) becomes
// the start and the element table of an element route, its StaEquations the chain breaks and its
// Profile's ProfAlign the grade line, so that buildRoute computes it as it computes an element
// file.
//
//   <LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2">
//     <Units><Metric linearUnit="meter" angularUnit="decimal degrees"/></Units>
//     <Alignments><Alignment name="A1" staStart="1000">
//       <CoordGeom>
//         <Line><Start>3000 5000</Start><End>3100 5000</End></Line>
//         <Spiral length="60" radiusStart="INF" radiusEnd="500" rot="cw" spiType="clothoid">
//           <Start>3100 5000</Start><PI>3140 5000</PI><End>...</End></Spiral>
//         <Curve rot="cw" radius="500" length="120"><Start/><Center/><End/></Curve>
//       </CoordGeom>
//       <StaEquation staBack="1200" staAhead="1180"/>
//       <Profile><ProfAlign><PVI>1000 50</PVI><ParaCurve length="200">1400 58</ParaCurve>
//         <CircCurve length="150" radius="5000">...</CircCurve><PVI>...</PVI></ProfAlign></Profile>
//     </Alignment></Alignments>
//   </LandXML>
//
// Coordinates are northing then easting (X then Y). Each element starts at its own Start, in the
// direction its geometry gives: a Line towards its End, a Curve square to Center→Start, a Spiral
// towards its PI; the azimuths are true ones, so the elements lie as the file's coordinates put
// them. The dir and dirStart attributes are only checked. Profile stations are chainages with the
// equations applied.
//
// Any namespace (the local names count), a byte-order mark and the declared encoding (UTF-8,
// ISO-8859-1; GBK and GB2312 are decoded by the caller) are accepted; lengths in meter, kilometer,
// millimeter, foot or USSurveyFoot; angles in radians, grads, decimal degrees and decimal dd.mm.ss.
// What cannot be computed (a spiral other than a clothoid, a Curve without its Center, ...) is a
// fault on its line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "route_files/route_file.h"

namespace hcurve {

/// Whether a file is taken for LandXML: its name ends in .xml (any case), or its first bytes,
/// after a byte-order mark and blanks, are "<?xml" or "<LandXML".
bool looksLikeLandXml(std::string_view path, std::string_view bytes);

/// The encoding the prolog declares, in lower case ("utf-8", "gbk", ...); empty when none is.
std::string declaredXmlEncoding(std::string_view bytes);

/// ISO-8859-1 bytes as UTF-8.
std::string latin1ToUtf8(std::string_view bytes);

/// One alignment of a file, as --alignments lists it.
struct LandXmlAlignment {
    std::string name;
    double length_m = 0;  // its length attribute, else the sum of its elements' lengths
    std::size_t elementCount = 0;
};

/// The alignment read of a LandXML file: its design, and what its loading needs beside it.
struct LandXmlDesign {
    RouteDesign design;
    std::string name;  // printable
    // The design read from AlignPIs (a JD route); then the alignment's CoordGeom, where it has
    // one, as an element route with its warnings, to fall back on when the PIs give no route and
    // to compare with when they do.
    bool fromAlignPIs = false;
    std::optional<RouteDesign> fallback;
    std::vector<Failure> fallbackWarnings;
    // Why the alignment has no grade line, when it has no design profile.
    std::string withoutProfile;
};

/// Every alignment of the file, and the one read: its design, with the warnings (directions,
/// radii and points that do not agree with the geometry, elements passed over), or its faults.
struct LandXmlReading {
    std::vector<LandXmlAlignment> alignments;
    Result<LandXmlDesign> alignment;
};

/// The alignment named (or the first, when name is null) of a LandXML text in UTF-8, a byte-order
/// mark allowed; every alignment of the file listed.
LandXmlReading readLandXml(std::string_view utf8Text, const std::string* name);

}  // namespace hcurve
