// A curve record after 开始计算 with the given design answers and no side points.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curve/curve_record.h"
#include "entry/design_entry.h"
#include "support/scripted_port.h"

namespace hcurve::testing {

inline CurveRecord designedRecord(const std::vector<std::string>& design) {
    CurveRecord record;
    ScriptedPort port(design);
    port.script({"n"});
    designEntry(record, port);
    EXPECT_TRUE(record.curve.has_value());
    return record;
}

}  // namespace hcurve::testing
