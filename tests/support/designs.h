// The two example designs the tests use, as the answers a user types for them.
#pragma once

#include <string>
#include <vector>

namespace hcurve::testing {

/// Design answers: JD, K, X, Y, T, B, R, A1, A2, each followed by an empty confirmation.
inline std::vector<std::string> confirmedDesign(const std::vector<std::string>& values) {
    std::vector<std::string> answers;
    for (const std::string& v : values) {
        answers.push_back(v);
        answers.push_back("");
    }
    return answers;
}

/// Right-hand curve with two different spirals.
inline std::vector<std::string> rightHandDesign() {
    return confirmedDesign(
        {"7", "12345.678", "3456789.123", "512345.678", "45.3015", "30.1530", "500", "200", "250"});
}

/// Left-hand curve without spirals.
inline std::vector<std::string> leftHandDesign() {
    return confirmedDesign({"8", "2500", "1000", "2000", "120", "-45", "300", "0", "0"});
}

}  // namespace hcurve::testing
