// The dialogue monkey: thousands of seeded random sessions through the console front end, every
// prompt answered with a mix of good numbers, zeros, empty answers, garbage, huge numbers,
// negative counts, very long lines and binary junk. Every session must end normally, show only
// the program's own messages, and every computed curve must hold together.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>

#include "console/console.h"
#include "support/program_messages.h"

namespace hcurve {
namespace {

class Monkey {
  public:
    explicit Monkey(std::uint32_t seed) : rng_(seed) {}

    std::string session() {
        std::string input;
        const int blocks = pick(1, 6);
        for (int b = 0; b < blocks; ++b) {
            const int command = pick(0, 11);
            if (command < 4) {
                input += "1\n";
                appendDesignAnswers(input);
            } else if (command < 8) {
                input += "2\n";
            } else if (command == 8) {
                input += "4\n";
            } else if (command == 9) {
                input += "5\n";
            } else {
                // Export into the session's own folder, or into one that does not exist.
                static const char* paths[] = {"monkey.csv", "monkey.DAT", "missing/monkey.csv",
                                              "monkey.txt"};
                input += "6\n" + std::string(paths[pick(0, 3)]) + "\n";
            }
            const int answers = pick(0, 40);
            for (int i = 0; i < answers; ++i)
                input += answer() + "\n";
        }
        if (pick(0, 3) == 0)
            input += "3\n";
        return input;
    }

  private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    double uniform(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng_);
    }

    std::string fixed(double v, int decimals) {
        std::ostringstream s;
        s.setf(std::ios::fixed);
        s.precision(decimals);
        s << v;
        return s.str();
    }
    std::string dms(int maxDegrees, bool signedAngle) {
        std::string text = std::to_string(pick(0, maxDegrees)) + "." +
                           (pick(0, 5) == 0 ? "" : twoDigits(pick(0, 59)) + twoDigits(pick(0, 59)));
        if (signedAngle && pick(0, 1))
            text = "-" + text;
        return text;
    }
    static std::string twoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

    // A plausible design, so that many sessions reach the computation.
    void appendDesignAnswers(std::string& input) {
        const std::vector<std::string> design = {std::to_string(pick(1, 99)),
                                                 fixed(uniform(0, 50000), 3),
                                                 fixed(uniform(-1e6, 4e6), 3),
                                                 fixed(uniform(-1e6, 1e6), 3),
                                                 dms(359, false),
                                                 dms(120, true),
                                                 fixed(uniform(20, 3000), 2),
                                                 pick(0, 2) ? fixed(uniform(0, 400), 1) : "0",
                                                 pick(0, 2) ? fixed(uniform(0, 400), 1) : "0"};
        for (const std::string& value : design) {
            input += (pick(0, 9) == 0 ? answer() : value) + "\n";
            input += (pick(0, 5) == 0 ? answer() : "") + "\n";
        }
    }

    std::string answer() {
        switch (pick(0, 15)) {
            case 0:
                return "0";
            case 1:
                return "";
            case 2:
                return pick(0, 1) ? "y" : "Y";
            case 3:
                return pick(0, 1) ? "n" : "1";
            case 4:
                return std::to_string(pick(0, 6));  // counts and row modes
            case 5:
                return fixed(uniform(-30, 30), pick(0, 3));  // distances, intervals
            case 6:
                return fixed(uniform(0, 60000), 3);  // chainages
            case 7:
                return dms(359, true);  // angles
            case 8: {
                static const char* garbage[] = {"abc",  "1,5", "--1", "1.2.3", "e5",
                                                "0x10", "inf", "nan", " ",     "+",
                                                ".",    "1e",  "ok",  "十二",  "12m"};
                return garbage[pick(0, 14)];
            }
            case 9: {
                static const char* huge[] = {"1e300",   "-1e20",  "999999999999", "1e9",
                                             "-1e9",    "1e-320", "5e-324",       "32767.5",
                                             "1.7e308", "16383"};
                return huge[pick(0, 9)];
            }
            case 10:
                return std::to_string(-pick(1, 40000));  // negative counts
            case 11:
                return std::string(static_cast<std::size_t>(pick(1000, 20000)),
                                   "0123456789.e-x"[pick(0, 13)]);
            case 12: {
                std::string junk;
                const int n = pick(1, 60);
                for (int i = 0; i < n; ++i) {
                    char c = static_cast<char>(pick(1, 255));
                    junk.push_back(c == '\n' ? ' ' : c);
                }
                return junk;
            }
            case 13:
                return std::to_string(pick(2, 9)) + ".\r";
            case 14:
                return fixed(uniform(-1e9, 1e9), pick(0, 4));
            default:
                return pick(0, 1) ? "2" : "4";
        }
    }

    std::mt19937 rng_;
};

double distance(double x1, double y1, double x2, double y2) {
    return std::hypot(x1 - x2, y1 - y2);
}

void checkCurve(const CurveElements& c) {
    const double values[] = {c.Ls1, c.Ls2, c.T1,  c.T2,  c.Lf, c.zh, c.hy, c.yh, c.hz, c.xa, c.ya,
                             c.xh1, c.yh1, c.xh2, c.yh2, c.xb, c.yb, c.Xo, c.Yo, c.tb, c.tj};
    for (double v : values)
        ASSERT_TRUE(std::isfinite(v));
    // Coordinates near 1e9 m carry rounding of a few ulps. And a point without a spiral is
    // reached from the JD along the exit azimuth, which the wrap at 360 degrees turns by
    // 360 * f = 2 * 3.1415926535, 1.8e-10 rad short of a full turn: 4 micrometres at 24 km.
    const double scale = std::max({1.0, std::fabs(c.Xo), std::fabs(c.Yo), c.R});
    const double kTenDecimalPiTurn_rad = 2e-10;
    const double tolerance_m =
        std::max(1e-6, 8 * scale * std::numeric_limits<double>::epsilon() +
                           kTenDecimalPiTurn_rad * (std::fabs(c.T1) + std::fabs(c.T2) + c.R));
    EXPECT_NEAR(distance(c.xh1, c.yh1, c.Xo, c.Yo), c.R, tolerance_m);
    EXPECT_NEAR(distance(c.xh2, c.yh2, c.Xo, c.Yo), c.R, tolerance_m);
    const double chainageTolerance_m =
        std::max(1e-9, 8 * std::fabs(c.hz) * std::numeric_limits<double>::epsilon());
    EXPECT_NEAR(c.hz - c.zh, c.Ls1 + c.Lf + c.Ls2, chainageTolerance_m);
}

int sessionCount() {
    if (const char* n = std::getenv("HCURVE_MONKEY_SESSIONS"))
        return std::atoi(n);
    return 3000;
}

TEST(Monkey, RandomSessionsEndNormallyWithTheProgramsOwnMessages) {
    // Exports land in a scratch folder of the test's own.
    const std::filesystem::path scratch =
        std::filesystem::path(::testing::TempDir()) / "hcurve-monkey";
    std::filesystem::create_directories(scratch);
    std::filesystem::current_path(scratch);
    Monkey monkey(20261208);
    int curves = 0, stakeRuns = 0, messages = 0;
    const int sessions = sessionCount();
    for (int s = 0; s < sessions; ++s) {
        const std::string input = monkey.session();
        std::istringstream in(input);
        std::ostringstream out;
        const int status =
            runConsole(in, out, [&](const std::string& command, const CurveRecord& r) {
                if (command == "1" && r.curve) {
                    ++curves;
                    checkCurve(*r.curve);
                }
                if (command == "2" && !r.lastRun.stakes.empty())
                    ++stakeRuns;
            });
        // A session may stop while a question waits: the script was cut off.
        ASSERT_TRUE(status == kConsoleEnded || status == kInputEndedInCommand) << "session " << s;
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("! ", 0) != 0)
                continue;
            ++messages;
            ASSERT_TRUE(fuzzing::isProgramMessage(line.substr(2)))
                << "session " << s << ": " << line;
        }
        if (HasFailure()) {
            const std::string path =
                ::testing::TempDir() + "monkey-session-" + std::to_string(s) + ".txt";
            std::ofstream(path, std::ios::binary) << input;
            ADD_FAILURE() << "session " << s << ": its input is in " << path
                          << " (replay: hcurve --console < " << path << ")";
            return;
        }
    }
    std::cout << "[ monkey ] " << sessions << " sessions, " << curves << " curves computed, "
              << stakeRuns << " stake runs, " << messages << " messages\n";
    EXPECT_GT(curves, sessions / 10);
    EXPECT_GT(stakeRuns, sessions / 20);
}

}  // namespace
}  // namespace hcurve
