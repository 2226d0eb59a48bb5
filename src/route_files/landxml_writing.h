// Any route as a LandXML 1.2 document: metric units, one Alignment with its staStart, its
// CoordGeom (Line with Start and End; Curve with Start, Center, End and PI, radius, length and rot;
// Spiral with Start, PI and End, length, radiusStart, radiusEnd, rot and spiType clothoid), a
// StaEquation for each chain break and the grade line as a Profile of PVIs with their vertical
// curves (ParaCurve; UnsymParaCurve and CircCurve where the route has them). Coordinates are
// northing then easting, to 1e-8 m; names UTF-8. Read back by readLandXml the route gives the same
// stakes and elevations.
#pragma once

#include <string>

namespace hcurve {

struct Route;

/// When the document was written, as its root states it ("2026-12-09", "09:30:00").
struct LandXmlStamp {
    std::string date;
    std::string time;
};

/// The document of a route, its alignment named name.
std::string landXmlText(const Route& route, const std::string& name, const LandXmlStamp& stamp);

}  // namespace hcurve
