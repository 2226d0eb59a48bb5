// Questions whose answer must be a number: a bad answer gets a message that names the value and
// says what is wrong, and the same question comes again. Nothing typed before is lost.
#pragma once

#include <cstdint>
#include <string>

#include "port/user_port.h"

namespace hcurve {

/// Largest magnitude accepted for any typed number (chainages, distances, angles), in its unit.
constexpr double kMaxAnswerMagnitude = 1e9;

/// Largest count of side points per row: the listing holds two rows of them, and that must
/// still count in 16 bits.
constexpr std::int16_t kMaxSideCount = 16383;

/// A question with the name of the value it asks for, as messages name it.
struct Question {
    std::string prompt;
    std::string name;
};

/// A number within +-1e9.
double askNumber(UserPort& port, const Question& q);

/// A number within +-1e9, as a 32-bit float.
float askFloat32(UserPort& port, const Question& q);

/// A number rounded to the nearest integer (ties to even) that fits 16 bits.
std::int16_t askInt16(UserPort& port, const Question& q);

/// A count of side points: 0..16383.
std::int16_t askCount(UserPort& port, const Question& q);

/// A DMS angle (ddd.mmss, signed) within +-1e9 whose minutes and seconds are below 60; returns the
/// text as typed.
std::string askDmsAngle(UserPort& port, const Question& q);

/// askDmsAngle for the angle of a transverse axis from the normal: less than 90 degrees either way
/// (kSkewRule otherwise).
std::string askSkewAngle(UserPort& port, const Question& q);

/// "name 不能为空。": said of an empty (or blank) answer where a number is needed.
std::string emptyAnswerMessage(const std::string& name);

/// "name 必须是数值，“text” 不是数值。"
std::string notANumberMessage(const std::string& name, const std::string& typed);

}  // namespace hcurve
