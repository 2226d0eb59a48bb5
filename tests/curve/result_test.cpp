#include "curve/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace hcurve {
namespace {

Result<int> half(int n) {
    if (n % 2 != 0)
        return Failure{std::to_string(n) + " 是奇数。", 3, 1};
    return n / 2;
}

TEST(Result, HoldsTheValueOrTheFailureWithItsPlace) {
    const Result<int> even = half(8);
    ASSERT_TRUE(even);
    EXPECT_EQ(*even, 4);
    const Result<int> odd = half(7);
    ASSERT_FALSE(odd);
    EXPECT_EQ(odd.failure().message, "7 是奇数。");
    EXPECT_EQ(odd.failure().line, 3);
    EXPECT_EQ(odd.failure().file, 1u);
    EXPECT_EQ(odd.failures().size(), 1u);
}

// A reader that reads on hands back every fault in file order; a writer or a check only says
// done or why not.
TEST(Result, ManyFailuresAndDone) {
    const auto many =
        Result<std::string>::failed({{"第一处", 2}, {"第二处", 9}, {"另一个文件", 1, 2}});
    ASSERT_FALSE(many);
    std::vector<int> lines;
    for (const Failure& f : many.failures())
        lines.push_back(f.line);
    EXPECT_EQ(lines, (std::vector<int>{2, 9, 1}));
    EXPECT_EQ(many.failure().message, "第一处");

    EXPECT_TRUE(done());
    const Result<void> refused = Failure{"没有权限"};
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().message, "没有权限");
    EXPECT_EQ(refused.failure().line, 0);
}

// A value that can only be moved comes out whole.
TEST(Result, MovesItsValueOut) {
    Result<std::unique_ptr<int>> r = std::make_unique<int>(5);
    std::unique_ptr<int> p = *std::move(r);
    ASSERT_TRUE(p);
    EXPECT_EQ(*p, 5);
    Result<std::string> text = std::string(1000, 'x');
    EXPECT_EQ(text->size(), 1000u);
}

// A step's outcome without its value keeps its failures in their order and its warnings.
TEST(Result, OutcomeWithoutTheValue) {
    Result<int> read = 12;
    read.warnings().push_back({"第 4 行：空行跳过。", 4});
    const Result<void> went = outcomeOf(read);
    ASSERT_TRUE(went);
    ASSERT_EQ(went.warnings().size(), 1u);
    EXPECT_EQ(went.warnings()[0].line, 4);

    auto faults = Result<int>::failed({{"第一处", 2}, {"第二处", 9}});
    faults.warnings().push_back({"注意"});
    const Result<void> stopped = outcomeOf(faults);
    ASSERT_FALSE(stopped);
    ASSERT_EQ(stopped.failures().size(), 2u);
    EXPECT_EQ(stopped.failures()[0].message, "第一处");
    EXPECT_EQ(stopped.failures()[1].line, 9);
    ASSERT_EQ(stopped.warnings().size(), 1u);
    EXPECT_EQ(stopped.warnings()[0].message, "注意");

    const Result<void> already = outcomeOf(Result<void>(Failure{"没有权限"}));
    ASSERT_FALSE(already);
    EXPECT_EQ(already.failure().message, "没有权限");
}

}  // namespace
}  // namespace hcurve
