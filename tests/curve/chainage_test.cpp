#include "curve/chainage.h"

#include <gtest/gtest.h>

namespace hcurve {
namespace {

TEST(Chainage, DesignAndPointForms) {
    EXPECT_EQ(strForm(12345.678), "K 12+345.678");
    EXPECT_EQ(lowerStrForm(12345.678), "k 12+345.678");
    EXPECT_EQ(plainForm(12345.678), "K12+345.678");
    EXPECT_EQ(strForm(500), "K 0+500.000");
    EXPECT_EQ(strForm(1000), "K 1+000.000");
}

TEST(Chainage, NegativeChainageRoundsDownOrTruncates) {
    EXPECT_EQ(strForm(-1.5), "K-1+998.500");
    EXPECT_EQ(plainForm(-1.5), "K0+-001.500");
    EXPECT_EQ(stakeListingForm(-1.5), " k 0+-001.500");
}

TEST(Chainage, MetrePartRoundingUpToAThousandShowsFourDigits) {
    EXPECT_EQ(plainForm(1999.9996), "K1+1000.000");
    EXPECT_EQ(stakeListingForm(1999.9996), " k 1+1000.000");
    EXPECT_EQ(reportPointForm(1999.9996), "1+1000.000");
}

TEST(Chainage, StakeListingForm) {
    EXPECT_EQ(stakeListingForm(12345.678), " k 12+345.678");
    EXPECT_EQ(stakeListingForm(500), " k 0+500.000");
    EXPECT_EQ(stakeListingForm(1e-14), " k 0+000.000");
}

TEST(Chainage, ReportForms) {
    EXPECT_EQ(reportPointForm(1234.5), "1+234.500");
    EXPECT_EQ(reportStakeForm(1234.5), "K1+234.500");
    EXPECT_EQ(reportPointForm(123.45), "0+123.450");
    EXPECT_EQ(reportStakeForm(123.45), "K0+123.450");
}

}  // namespace
}  // namespace hcurve
