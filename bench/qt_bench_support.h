// What the benchmarks of the window and the views share: a port that answers from a list, the
// example curve with a stake run, and a main that starts Qt on its offscreen platform.
#pragma once

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <clocale>
#include <string>
#include <utility>
#include <vector>

#include "entry/design_entry.h"
#include "port/user_port.h"
#include "stakes/stake_run.h"

namespace hcurve::bench {

// Answers every question from a list, then Enter for the pauses.
class Answers : public UserPort {
  public:
    explicit Answers(std::vector<std::string> answers) : answers_(std::move(answers)) {}
    std::string ask(const std::string&) override {
        return next_ < answers_.size() ? answers_[next_++] : "";
    }
    void setField(Field, const std::string&) override {}
    void setCaption(Label, const std::string&) override {}
    void showMessage(const std::string&) override {}

  private:
    std::vector<std::string> answers_;
    std::size_t next_ = 0;
};

// The right-hand example curve with side points 5 and 10 m either side, staked from K12+100 to
// end at the interval given.
inline CurveRecord recordWithRun(const std::string& end, const std::string& interval) {
    CurveRecord record;
    Answers design({"7",       "",   "12345.678", "",  "3456789.123", "",  "512345.678", "",
                    "45.3015", "",   "30.1530",   "",  "500",         "",  "200",        "",
                    "250",     "",   "y",         "1", "2",           "5", "10",         "2",
                    "5",       "10", "1"});
    designEntry(record, design);
    Answers run({"2", "12100", end, interval, "0"});
    stakeRun(record, run);
    return record;
}

// 100 000 stakes every 5 mm, each with 2 + 2 side points.
inline const CurveRecord& largeRun() {
    static const CurveRecord record = recordWithRun("12599.995", "0.005");
    return record;
}

// The benchmarks on Qt's offscreen platform (unless another is asked for), in application App.
template <class App>
int runBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

}  // namespace hcurve::bench
