// A ramp in LandXML as a design office sends one: its CoordGeom a route of elements (a straight of
// 100 m, a spiral of 60 m to R 500, an arc of 80 m, a spiral of 60 m back, a straight of 100 m,
// turning right), a long chain at 300 (back to 290), and a grade line from 50.000 over a vertical
// curve of R 5000 at 200. tools/same_output.sh reads the same text out of this file.
#pragma once

namespace hcurve::testing {

inline constexpr char kRampLandXml[] = R"xml(<?xml version="1.0" encoding="UTF-8"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2" date="2026-12-09" time="10:00:00">
  <Units><Metric linearUnit="meter" angularUnit="decimal degrees"/></Units>
  <Alignments>
    <Alignment name="A匝道" staStart="0" length="400">
      <CoordGeom>
        <Line length="100"><Start>3456000.0000 512000.0000</Start><End>3456070.7107 512070.7107</End></Line>
        <Spiral length="60" radiusStart="INF" radiusEnd="500" rot="cw" spiType="clothoid">
          <Start>3456070.7107 512070.7107</Start><PI>3456099.0003 512099.0003</PI><End>3456112.2735 512113.9701</End></Spiral>
        <Curve rot="cw" radius="500" length="80">
          <Start>3456112.2735 512113.9701</Start><Center>3455738.1558 512445.6868</Center><End>3456160.3435 512177.8108</End></Curve>
        <Spiral length="60" radiusStart="500" radiusEnd="INF" rot="cw" spiType="clothoid">
          <Start>3456160.3435 512177.8108</Start><PI>3456171.0622 512194.7041</PI><End>3456190.4321 512229.7100</End></Spiral>
        <Line length="100"><Start>3456190.4321 512229.7100</Start><End>3456238.8477 512317.2082</End></Line>
      </CoordGeom>
      <StaEquation staBack="300" staAhead="290"/>
      <Profile><ProfAlign>
        <PVI>0 50</PVI>
        <CircCurve length="175" radius="5000">200 54</CircCurve>
        <PVI>390 51</PVI>
      </ProfAlign></Profile>
    </Alignment>
  </Alignments>
</LandXML>
)xml";

}  // namespace hcurve::testing
