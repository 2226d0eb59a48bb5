// `hcurve route` run as a script runs it, in a scratch folder of each test's own: the files a test
// writes there, and the command's exit status, standard output and standard error.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "route_cli/route_command.h"

namespace hcurve::testing {

/// A small JD route the route command's tests share: 1000 m north, 1000 m east, 1000 m north
/// (R 300 m with spirals of 100 m at JD1, a bare arc at JD2), with a short chain of 10 m at K1+500.
inline const std::string kSmallRoute =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,100,100,\nJD2,1000,1000,300,0,0,\n"
    "EP,2000,1000,,,,\n\n断链前桩号,断链后桩号\nK1+500,K1+490\n";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class RouteCommandTest : public ::testing::Test {
  protected:
    // The folder is named by the suite, the test and the run's seed, so that suites run at once
    // never share one.
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("hcurve_" + std::string(test->test_suite_name()) + "_" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                   test->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    Outcome run(std::vector<std::string> args) {
        std::ostringstream out, err;
        const int status = runRouteCommand(args, out, err);
        return {status, out.str(), err.str()};
    }

    std::filesystem::path folder_;
};

/// The lines of a command's output, without their line ends.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace hcurve::testing
