// A report as tables of texts: the title block every page carries, and ruled tables whose
// headings repeat on every page they run onto. The stake report of one curve and the route's
// report are both such documents, and one writer lays either out on pages.
#pragma once

#include <string>
#include <vector>

#include "curve/curve_record.h"

namespace hcurve {

/// One table: its heading, the column headings and the rows, every row as many texts as there
/// are columns. Numeric columns are set flush right. The notes stand under the heading, one a
/// line (a long one is broken after a "，"), and come with it on every page.
struct ReportTable {
    std::string heading;
    std::vector<std::string> columns;
    std::vector<bool> numeric;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> notes = {};
};

/// How the side points of a stake table were set out.
struct SideLayout {
    double skew_deg = 0;                  // the transverse axis from the normal, clockwise positive
    std::vector<double> left_m, right_m;  // in the order entered: 左1, 左2, ...
    bool doubleRow = false;
    double front_m = 0, back_m = 0;  // the rows from the transverse axis
};

/// The notes of a stake table with side points: "斜交角 15.3000 (度.分秒，由法线顺时针为正)；双排：
/// 前排距横轴 1.500 m，后排距横轴 2.000 m", "左侧：左1 = 5.000 m，左2 = 10.000 m", "右侧：右1 =
/// 7.500 m" (a side without points: "左侧：无").
std::vector<std::string> sideLayoutNotes(const SideLayout& layout);

struct ReportDocument {
    std::string title;    // "中桩成果报告"
    std::string project;  // what it is about: "平曲线 JD7", the route file's name
    std::string date;     // "2026-12-09"
    std::vector<ReportTable> tables;
};

/// The title block's last item on page n of m: "第 n / m 页".
std::string pageText(int page, int pages);

/// 中桩成果报告 of the record's computed curve (the record must hold one): the design values, every
/// curve element (with E, J = T1 + T2 - L and QZ), the characteristic points and every stake of the
/// last run with its side points as the stake table names them, under the notes of how they were
/// set out.
ReportDocument stakeReport(const CurveRecord& record, const std::string& date);

}  // namespace hcurve
