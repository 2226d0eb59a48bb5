#include "port/answers.h"

#include <cmath>
#include <optional>

#include "curve/angle.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "port/messages.h"

namespace hcurve {
namespace {

std::string quoted(const std::string& typed) {
    return "“" + shownText(typed) + "”";
}

// Asks until the answer passes: check returns the message for a bad answer, or nothing.
template <typename Check>
std::string askUntil(UserPort& port, const Question& q, Check check) {
    for (;;) {
        std::string answer = port.ask(q.prompt);
        std::optional<std::string> problem = check(answer);
        if (!problem)
            return answer;
        port.showError(*problem);
    }
}

std::optional<std::string> numberProblem(const Question& q, const std::string& answer) {
    std::optional<double> v = readNumber(answer);
    if (!v)
        return isBlank(answer) ? emptyAnswerMessage(q.name) : notANumberMessage(q.name, answer);
    if (std::fabs(*v) > kMaxAnswerMagnitude) {
        return q.name + " 超出范围（绝对值不能超过 1000000000）：" + quoted(answer) + " 不对。";
    }
    return std::nullopt;
}

std::optional<std::string> dmsProblem(const Question& q, const std::string& answer) {
    if (auto problem = numberProblem(q, answer))
        return problem;
    if (!isValidDms(*readNumber(answer)))
        return q.name + " 按 度.分秒 输入，分和秒都必须小于 60：" + quoted(answer) + " 不对。";
    return std::nullopt;
}

// A transverse axis at a right angle to the normal runs along the centre line.
constexpr double kSkewLimit_deg = kRightAngle_deg;

}  // namespace

std::string emptyAnswerMessage(const std::string& name) {
    return name + " 不能为空。";
}

std::string notANumberMessage(const std::string& name, const std::string& typed) {
    return name + " 必须是数值，" + quoted(typed) + " 不是数值。";
}

double askNumber(UserPort& port, const Question& q) {
    return *readNumber(
        askUntil(port, q, [&](const std::string& a) { return numberProblem(q, a); }));
}

float askFloat32(UserPort& port, const Question& q) {
    return *readFloat32(
        askUntil(port, q, [&](const std::string& a) { return numberProblem(q, a); }));
}

std::int16_t askInt16(UserPort& port, const Question& q) {
    std::string answer = askUntil(port, q, [&](const std::string& a) -> std::optional<std::string> {
        if (auto problem = numberProblem(q, a))
            return problem;
        if (!toInt16(*readNumber(a))) {
            return q.name + " 必须在 -32768 到 32767 之间：" + quoted(a) + " 不对。";
        }
        return std::nullopt;
    });
    return *toInt16(*readNumber(answer));
}

std::int16_t askCount(UserPort& port, const Question& q) {
    std::string answer = askUntil(port, q, [&](const std::string& a) -> std::optional<std::string> {
        if (auto problem = numberProblem(q, a))
            return problem;
        std::optional<std::int16_t> n = toInt16(*readNumber(a));
        if (!n || *n < 0 || *n > kMaxSideCount) {
            return q.name + " 必须是 0 到 16383 之间的整数：" + quoted(a) + " 不对。";
        }
        return std::nullopt;
    });
    return *toInt16(*readNumber(answer));
}

std::string askDmsAngle(UserPort& port, const Question& q) {
    return askUntil(port, q, [&](const std::string& a) { return dmsProblem(q, a); });
}

std::string askSkewAngle(UserPort& port, const Question& q) {
    return askUntil(port, q, [&](const std::string& a) -> std::optional<std::string> {
        if (auto problem = dmsProblem(q, a))
            return problem;
        if (!(std::fabs(dmsToDegrees(*readNumber(a))) < kSkewLimit_deg))
            return std::string(kSkewRule);
        return std::nullopt;
    });
}

}  // namespace hcurve
