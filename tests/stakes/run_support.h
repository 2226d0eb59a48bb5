// Records with a stake run behind them, built through the commands as a user would, and a fresh
// folder for files.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/design_entry.h"
#include "stakes/stake_run.h"
#include "support/designs.h"
#include "support/scripted_port.h"

namespace hcurve::testing {

/// The right-hand example curve, the side-point questions answered as given.
inline CurveRecord computedRecord(const std::vector<std::string>& sideAnswers = {"n"}) {
    CurveRecord record;
    ScriptedPort design(rightHandDesign());
    design.script(sideAnswers);
    designEntry(record, design);
    EXPECT_TRUE(record.curve.has_value());
    return record;
}

/// One stake run with the answers, then the given number of pauses answered with Enter; every
/// answer must be used.
inline ScriptedPort runStakes(CurveRecord& record, const std::vector<std::string>& answers,
                              int pauses) {
    ScriptedPort port(answers);
    port.script(std::vector<std::string>(static_cast<std::size_t>(pauses), ""));
    stakeRun(record, port);
    EXPECT_EQ(port.answersLeft(), 0u);
    return port;
}

/// The right-hand example curve with the side answers given, then one stake run with the answers
/// given (every pause answered with Enter).
inline CurveRecord recordAfterRun(const std::vector<std::string>& sideAnswers,
                                  const std::vector<std::string>& runAnswers) {
    CurveRecord record = computedRecord(sideAnswers);
    ScriptedPort run(runAnswers);
    run.script(std::vector<std::string>(1000, ""));
    stakeRun(record, run);
    return record;
}

/// The stake at 12300 with two left and one right distance in a front and a back row, PPQ 15°30'.
inline CurveRecord recordWithTwoRows() {
    return recordAfterRun({"y", "1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"},
                          {"0", "12300", "15.3", "1.5", "2"});
}

/// A folder of its own for each test, emptied before and removed after.
class ScratchFolder {
  public:
    ScratchFolder() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("hcurve-" + std::string(test->test_suite_name()) + "-" + test->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Names are UTF-8, as everywhere in the program (also where the system's own narrow encoding is
    // another, as on Windows).
    std::string file(const std::string& name) const {
        return (path_ / std::filesystem::u8path(name)).u8string();
    }
    const std::filesystem::path& path() const { return path_; }

    /// The names in the folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().u8string());
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::filesystem::path path_;
};

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace hcurve::testing
