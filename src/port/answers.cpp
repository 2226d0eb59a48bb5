#include "port/answers.h"

#include <cmath>
#include <optional>

#include "curve/angle.h"
#include "curve/number.h"
#include "curve/result.h"
#include "curve/shown_text.h"
#include "port/messages.h"

namespace hcurve {
namespace {

std::string quoted(const std::string& typed) {
    return "“" + shownText(typed) + "”";
}

// Asks until the answer passes: check refuses a bad answer with the message the user is shown.
template <typename Check>
std::string askUntil(UserPort& port, const Question& q, Check check) {
    for (;;) {
        std::string answer = port.ask(q.prompt);
        const Result<void> checked = check(answer);
        if (checked)
            return answer;
        port.showError(checked.failure().message);
    }
}

Result<void> numberChecked(const Question& q, const std::string& answer) {
    std::optional<double> v = readNumber(answer);
    if (!v)
        return Failure{isBlank(answer) ? emptyAnswerMessage(q.name)
                                       : notANumberMessage(q.name, answer)};
    if (std::fabs(*v) > kMaxAnswerMagnitude) {
        return Failure{q.name + " 超出范围（绝对值不能超过 1000000000）：" + quoted(answer) +
                       " 不对。"};
    }
    return done();
}

Result<void> dmsChecked(const Question& q, const std::string& answer) {
    if (Result<void> number = numberChecked(q, answer); !number)
        return number;
    if (!isValidDms(*readNumber(answer)))
        return Failure{q.name + " 按 度.分秒 输入，分和秒都必须小于 60：" + quoted(answer) +
                       " 不对。"};
    return done();
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
        askUntil(port, q, [&](const std::string& a) { return numberChecked(q, a); }));
}

float askFloat32(UserPort& port, const Question& q) {
    return *readFloat32(
        askUntil(port, q, [&](const std::string& a) { return numberChecked(q, a); }));
}

std::int16_t askInt16(UserPort& port, const Question& q) {
    std::string answer = askUntil(port, q, [&](const std::string& a) -> Result<void> {
        if (Result<void> number = numberChecked(q, a); !number)
            return number;
        if (!toInt16(*readNumber(a))) {
            return Failure{q.name + " 必须在 -32768 到 32767 之间：" + quoted(a) + " 不对。"};
        }
        return done();
    });
    return *toInt16(*readNumber(answer));
}

std::int16_t askCount(UserPort& port, const Question& q) {
    std::string answer = askUntil(port, q, [&](const std::string& a) -> Result<void> {
        if (Result<void> number = numberChecked(q, a); !number)
            return number;
        std::optional<std::int16_t> n = toInt16(*readNumber(a));
        if (!n || *n < 0 || *n > kMaxSideCount) {
            return Failure{q.name + " 必须是 0 到 16383 之间的整数：" + quoted(a) + " 不对。"};
        }
        return done();
    });
    return *toInt16(*readNumber(answer));
}

std::string askDmsAngle(UserPort& port, const Question& q) {
    return askUntil(port, q, [&](const std::string& a) { return dmsChecked(q, a); });
}

std::string askSkewAngle(UserPort& port, const Question& q) {
    return askUntil(port, q, [&](const std::string& a) -> Result<void> {
        if (Result<void> dms = dmsChecked(q, a); !dms)
            return dms;
        if (!(std::fabs(dmsToDegrees(*readNumber(a))) < kSkewLimit_deg))
            return Failure{std::string(kSkewRule)};
        return done();
    });
}

}  // namespace hcurve
