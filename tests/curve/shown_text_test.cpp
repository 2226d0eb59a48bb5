// Typed text as fields and messages show it: control characters escaped, invalid bytes replaced.
#include "curve/shown_text.h"

#include <gtest/gtest.h>

namespace hcurve {
namespace {

TEST(ShownText, EscapesControlsAndReplacesInvalidBytes) {
    const struct {
        std::string typed, shown;
    } cases[] = {
        {"K12+300 中桩.csv", "K12+300 中桩.csv"},
        {"\x1b[31mred", "\\x1B[31mred"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"cr\rtab\tdel\x7f", "cr\\x0Dtab\\x09del\\x7F"},
        {"\xc2\x85next line", "\\u0085next line"},
        {"\xff\xfe", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xe4\xb8", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // a cut-off character
        {"\xc0\xaf", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong "/"
        {"\xed\xa0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
        {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},                  // four bytes, valid
        // Bidirectional controls: every one of them, and their neighbours, which are not.
        {"JD\u202E1.csv", "JD\\u202E1.csv"},
        {"\u061C\u200E\u200F", "\\u061C\\u200E\\u200F"},
        {"\u202A\u202B\u202C\u202D", "\\u202A\\u202B\\u202C\\u202D"},
        {"\u2066\u2067\u2068\u2069", "\\u2066\\u2067\\u2068\\u2069"},
        {"\u200D\u2010\u2029\u202F\u2065\u206A", "\u200D\u2010\u2029\u202F\u2065\u206A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shownText(c.typed), c.shown) << c.shown;
}

}  // namespace
}  // namespace hcurve
