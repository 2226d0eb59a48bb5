#include "curve/chainage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

namespace hcurve {
namespace {

// Every form: the kilometres are rounded down, the metre part is rounded once and a metre part
// that reads 1000.000 carries. Halves go to even except in the design and report-stake forms.
// Before zero the forms other than the design and ZH forms split the distance before zero.
TEST(Chainage, EveryForm) {
    struct Case {
        double chainage_m;
        const char *design, *point, *plain, *listing, *reportStake;
    };
    const Case cases[] = {
        {12345.678, "K 12+345.678", "k 12+345.678", "K12+345.678", " k 12+345.678", "K12+345.678"},
        {500, "K 0+500.000", "k 0+500.000", "K0+500.000", " k 0+500.000", "K0+500.000"},
        {1000, "K 1+000.000", "k 1+000.000", "K1+000.000", " k 1+000.000", "K1+000.000"},
        {1234.5, "K 1+234.500", "k 1+234.500", "K1+234.500", " k 1+234.500", "K1+234.500"},
        {12300.0005, "K 12+300.001", "k 12+300.000", "K12+300.000", " k 12+300.000", "K12+300.001"},
        {1e-14, "K 0+000.000", "k 0+000.000", "K0+000.000", " k 0+000.000", "K0+000.000"},
        // Before zero: the design and ZH forms keep the kilometres rounded down, the others read
        // as the distance before zero.
        {-1.5, "K-1+998.500", "k-1+998.500", "K0-001.500", " k 0-001.500", "K0-001.500"},
        {-153.1, "K-1+846.900", "k-1+846.900", "K0-153.100", " k 0-153.100", "K0-153.100"},
        {-1846.9, "K-2+153.100", "k-2+153.100", "K-1-846.900", " k-1-846.900", "K-1-846.900"},
        {-999.9996, "K-1+000.000", "k-1+000.000", "K-1+000.000", " k-1+000.000", "K-1+000.000"},
        {1999.9996, "K 2+000.000", "k 2+000.000", "K2+000.000", " k 2+000.000", "K2+000.000"},
        {12999.9996, "K 13+000.000", "k 13+000.000", "K13+000.000", " k 13+000.000", "K13+000.000"},
        {-0.0001, "K 0+000.000", "k 0+000.000", "K0+000.000", " k 0+000.000", "K0+000.000"},
        {-1000, "K-1+000.000", "k-1+000.000", "K-1+000.000", " k-1+000.000", "K-1+000.000"},
        {1999.9994, "K 1+999.999", "k 1+999.999", "K1+999.999", " k 1+999.999", "K1+999.999"},
        // Ties: the route's tables write the plain form, so they read as the stake export.
        {12300.0625, "K 12+300.063", "k 12+300.062", "K12+300.062", " k 12+300.062", "K12+300.063"},
        {300.0025, "K 0+300.003", "k 0+300.002", "K0+300.002", " k 0+300.002", "K0+300.003"},
        {0.0005, "K 0+000.001", "k 0+000.000", "K0+000.000", " k 0+000.000", "K0+000.001"},
        {-0.0005, "K 0+000.000", "k 0+000.000", "K0+000.000", " k 0+000.000", "K0-000.001"},
        {-0.9375, "K-1+999.063", "k-1+999.062", "K0-000.938", " k 0-000.938", "K0-000.938"},
        {1999.9995, "K 2+000.000", "k 2+000.000", "K2+000.000", " k 2+000.000", "K2+000.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chainage_m);
        EXPECT_EQ(chainageText(c.chainage_m, kDesignForm), c.design);
        EXPECT_EQ(chainageText(c.chainage_m, kPointForm), c.point);
        EXPECT_EQ(chainageText(c.chainage_m, kPlainForm), c.plain);
        EXPECT_EQ(chainageText(c.chainage_m, kListingForm), c.listing);
        EXPECT_EQ(chainageText(c.chainage_m, kReportStakeForm), c.reportStake);
    }
}

// The text of a chainage of whole millimetres, worked out in integers: the kilometres and the
// metres with their millimetres; before zero the kilometres rounded down, or the distance before
// zero ("-" unless it is whole kilometres).
std::string millimetreText(long long mm, const ChainageForm& form) {
    constexpr long long kPerKilometre = 1000 * 1000;
    const bool before = form.beforeZero == BeforeZero::DistanceBefore && mm < 0;
    long long km, rest;
    if (before) {
        km = -((-mm) / kPerKilometre);
        rest = (-mm) % kPerKilometre;
    } else {
        km = mm >= 0 ? mm / kPerKilometre : -((-mm + kPerKilometre - 1) / kPerKilometre);
        rest = mm - km * kPerKilometre;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%s%s%lld%c%03lld.%03lld", form.prefix,
                  form.blankBeforeKilometres && km >= 0 ? " " : "", km,
                  before && rest != 0 ? '-' : '+', rest / 1000, rest % 1000);
    return text;
}

// A stake table's chainages are mostly whole multiples of its interval: each reads as its
// millimetres in every form, whether the double is the one nearest to them (n / 1000) or a
// product a hair beside them (n times an interval of 0.1 m or 0.025 m); and a hair beside a
// chainage of whole millimetres reads as it.
TEST(Chainage, WholeMillimetresReadAsTheirDigits) {
    const ChainageForm* forms[] = {&kDesignForm, &kPointForm, &kPlainForm, &kListingForm,
                                   &kReportStakeForm};
    // Every millimetre around zero, whole kilometres before and after it and far out; and every
    // 997th millimetre of the first two kilometres.
    struct Stretch {
        long long from, to, step;
    };
    const Stretch stretches[] = {{-2003000, -1997000, 1},
                                 {-1003000, -997000, 1},
                                 {-3000, 3000, 1},
                                 {997000, 1003000, 1},
                                 {123456789000 - 3000, 123456789000 + 3000, 1},
                                 {0, 2000000, 997}};
    for (const Stretch& stretch : stretches) {
        for (long long n = stretch.from; n <= stretch.to; n += stretch.step) {
            SCOPED_TRACE(n);
            const double near_m = static_cast<double>(n) / 1000;
            for (const ChainageForm* form : forms) {
                const std::string want = millimetreText(n, *form);
                ASSERT_EQ(chainageText(near_m, *form), want);
                ASSERT_EQ(chainageText(std::nextafter(near_m, 1e300), *form), want);
                ASSERT_EQ(chainageText(std::nextafter(near_m, -1e300), *form), want);
                if (n % 100 == 0) {
                    ASSERT_EQ(chainageText(static_cast<double>(n / 100) * 0.1, *form), want);
                }
                if (n % 25 == 0) {
                    ASSERT_EQ(chainageText(static_cast<double>(n / 25) * 0.025, *form), want);
                }
            }
        }
    }
}

}  // namespace
}  // namespace hcurve
