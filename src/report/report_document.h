// A report as tables of texts: the title block every page carries, and ruled tables whose
// headings repeat on every page they run onto. The stake report of one curve and the route's
// report are both such documents, and one writer lays either out on pages.
#pragma once

#include <string>
#include <vector>

#include "curve/curve_record.h"

namespace hcurve {

/// One table: its heading, the column headings and the rows, every row as many texts as there
/// are columns. Numeric columns are set flush right.
struct ReportTable {
    std::string heading;
    std::vector<std::string> columns;
    std::vector<bool> numeric;
    std::vector<std::vector<std::string>> rows;
};

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
/// last run with its side points as the stake table names them.
ReportDocument stakeReport(const CurveRecord& record, const std::string& date);

}  // namespace hcurve
