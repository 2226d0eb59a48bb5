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

// The kilometres are rounded down in every form, and a metre part that reads 1000.000 carries.
TEST(Chainage, KilometresRoundDownAndAThousandMetresCarry) {
    struct Case {
        double chainage_m;
        const char *str, *lowerStr, *plain, *listing, *reportPoint, *reportStake;
    };
    const Case cases[] = {
        {-1.5, "K-1+998.500", "k-1+998.500", "K-1+998.500", " k-1+998.500", "-1+998.500",
         "K-1+998.500"},
        {1999.9996, "K 2+000.000", "k 2+000.000", "K2+000.000", " k 2+000.000", "2+000.000",
         "K2+000.000"},
        {12999.9996, "K 13+000.000", "k 13+000.000", "K13+000.000", " k 13+000.000", "13+000.000",
         "K13+000.000"},
        {-0.0001, "K 0+000.000", "k 0+000.000", "K0+000.000", " k 0+000.000", "0+000.000",
         "K0+000.000"},
        {-1000, "K-1+000.000", "k-1+000.000", "K-1+000.000", " k-1+000.000", "-1+000.000",
         "K-1+000.000"},
        {1999.9994, "K 1+999.999", "k 1+999.999", "K1+999.999", " k 1+999.999", "1+999.999",
         "K1+999.999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chainage_m);
        EXPECT_EQ(strForm(c.chainage_m), c.str);
        EXPECT_EQ(lowerStrForm(c.chainage_m), c.lowerStr);
        EXPECT_EQ(plainForm(c.chainage_m), c.plain);
        EXPECT_EQ(stakeListingForm(c.chainage_m), c.listing);
        EXPECT_EQ(reportPointForm(c.chainage_m), c.reportPoint);
        EXPECT_EQ(reportStakeForm(c.chainage_m), c.reportStake);
    }
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
