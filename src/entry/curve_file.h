// A curve kept in a file: the JD's name, the nine design values and the side-point setup, as a
// small UTF-8 CSV table a spreadsheet opens.
//
// The file (a byte-order mark, then lines ended by CR LF):
//
//     项目,值
//     交点号,JD1
//     交点桩号 K,12345.678
//     交点纵座标 X,3456789.123
//     交点横座标 Y,512345.678
//     方位角 T,30.1545            (度.分秒)
//     偏角 B,-15.3                (度.分秒, 右偏为正)
//     半径 R,500
//     缓和曲线要素 A1,200         (0: 不设缓和曲线)
//     缓和曲线要素 A2,250
//     计算边桩,y                  (y/Y: 计算; 其他: 不计算)
//     现在输入距离,1              (0: 距离在中桩计算时输入)
//     左侧距离,5,10               (one column per point, in the order entered)
//     右侧距离,7.5
//     排数,1                      (1 单排, 2 双排)
//     前排距横轴,1.5
//     后排距横轴,2
//
// The first column names the value; lines may come in any order, and lines that name nothing
// known are passed over, so that a later program may add some. The numbers are written so that
// they read back to the same value.
#pragma once

#include <optional>
#include <string>

#include "curve/curve_record.h"
#include "curve/result.h"

namespace hcurve {

/// The text of the file for the record's design and side-point setup.
std::string curveFileText(const CurveRecord& record);

/// Reads the text into the record's JD, design values and side-point setup; every value is
/// checked as its dialogue checks it. Done, or the failure that says what is wrong with the file
/// (and then nothing changed).
Result<void> readCurveFile(const std::string& text, CurveRecord& record);

}  // namespace hcurve
