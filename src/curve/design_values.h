// The numbers of one curve's design, read once from the user's answers when each is accepted.
#pragma once

namespace hcurve {

/// The design of one curve: the JD's chainage and coordinates (X north, Y east), the incoming
/// azimuth and the signed deflection as the DMS numbers typed (degrees.minutesseconds; a positive
/// deflection turns right), the radius and the two spiral parameters (0: no spiral at that end).
struct DesignValues {
    double K_m = 0;
    double X_m = 0;
    double Y_m = 0;
    double T_dms = 0;
    double B_dms = 0;
    double R_m = 0;
    double A1_m = 0;
    double A2_m = 0;
};

}  // namespace hcurve
