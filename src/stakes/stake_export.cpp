#include "stakes/stake_export.h"

#include <algorithm>
#include <cmath>

#include "curve/chainage.h"
#include "curve/dms.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "geometry/side_points.h"
#include "platform/file_replacement.h"
#include "platform/system_reason.h"

namespace hcurve {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kLineEnd[] = "\r\n";
constexpr char kCsvHeader[] = "点名,桩号,X(北),Y(东),侧别,排,距离";
constexpr char kHeightText[] = "0.000";
constexpr std::int16_t kSingleRow = 1;

bool sideSetupHolds(const RunSideSetup& s, std::size_t stakes) {
    return s.sidePointsOn && s.dl_n >= 0 && s.dr_n >= 0 &&
           s.dl.size() > static_cast<std::size_t>(s.dl_n) &&
           s.dr.size() > static_cast<std::size_t>(s.dr_n) && s.axisAzimuth_deg.size() > stakes;
}

// The side points of one stake, handed on in the order of the listing until the visitor stops.
class SidePointWriter {
  public:
    SidePointWriter(const RunSideSetup& setup, const std::string& chainage,
                    const SideTables& tables, const std::function<bool(const ExportPoint&)>& visit)
        : setup_(setup), chainage_(chainage), tables_(tables), visit_(visit) {}

    bool stopped() const { return stopped_; }

    // Table elements from..to of the left rows, outermost first; numbered from the distances.
    void left(const std::string& row, const std::string& tag, int from, int to) {
        for (int j = from; j >= to && !stopped_; --j) {
            const int d = (j - 1) % setup_.dl_n + 1;
            add(row, tag + "L", "左", d, setup_.dl[static_cast<std::size_t>(d)],
                tables_.leftRowX[static_cast<std::size_t>(j)],
                tables_.leftRowY[static_cast<std::size_t>(j)]);
        }
    }
    void right(const std::string& row, const std::string& tag, int from, int to) {
        for (int j = from; j <= to && !stopped_; ++j) {
            const int d = (j - 1) % setup_.dr_n + 1;
            add(row, tag + "R", "右", d, setup_.dr[static_cast<std::size_t>(d)],
                tables_.rightRowX[static_cast<std::size_t>(j)],
                tables_.rightRowY[static_cast<std::size_t>(j)]);
        }
    }

  private:
    void add(const std::string& row, const std::string& tag, const std::string& side, int number,
             float distance_m, double x_m, double y_m) {
        stopped_ = !visit_({chainage_ + "-" + tag + std::to_string(number), chainage_, x_m, y_m,
                            side, row, generalText(distance_m)});
    }

    const RunSideSetup& setup_;
    const std::string& chainage_;
    const SideTables& tables_;
    const std::function<bool(const ExportPoint&)>& visit_;
    bool stopped_ = false;
};

}  // namespace

std::string cannotWriteMessage(const std::string& path, const std::string& reason) {
    return "无法写入文件“" + shownText(path) + "”：" + reason + "。";
}

void forEachPoint(const CurveRecord& record, const std::function<bool(const ExportPoint&)>& visit) {
    const std::size_t n = stakesOfLastRun(record);
    const RunSideSetup& setup = record.runSides;
    const bool sides = sideSetupHolds(setup, n);
    SideTables tables = makeSideTables(setup.dl_n, setup.dr_n);
    for (std::size_t i = 1; i <= n; ++i) {
        const std::string chainage = chainageText(record.Kp[i], kPlainForm);  // as listed
        if (!visit({chainage, chainage, record.stakeX[i], record.stakeY[i], "中", "", ""}))
            return;
        if (!sides)
            continue;
        computeSidePoints(tables, record.stakeX[i], record.stakeY[i], setup.axisAzimuth_deg[i],
                          setup, kDegreeFactor);
        SidePointWriter writer(setup, chainage, tables, visit);
        const int nl = setup.dl_n, nr = setup.dr_n;
        if (setup.dd_n == kSingleRow) {
            writer.left("单排", "", nl, 1);
            writer.right("单排", "", 1, nr);
        } else {
            writer.left("前排", "F", nl, 1);
            writer.right("前排", "F", 1, nr);
            writer.left("后排", "B", 2 * nl, nl + 1);
            writer.right("后排", "B", nr + 1, 2 * nr);
        }
        if (writer.stopped())
            return;
    }
}

std::vector<ExportPoint> lastRunPoints(const CurveRecord& record) {
    std::vector<ExportPoint> points;
    forEachPoint(record, [&](const ExportPoint& p) {
        points.push_back(p);
        return true;
    });
    return points;
}

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string csvHead() {
    return std::string(kByteOrderMark) + kCsvHeader + kLineEnd;
}

std::string csvRow(const ExportPoint& p) {
    const std::string fields[] = {p.name,
                                  p.chainage,
                                  coordinateText(p.x_m, kPlainCoordinate),
                                  coordinateText(p.y_m, kPlainCoordinate),
                                  p.side,
                                  p.row,
                                  p.distance};
    std::string row;
    bool first = true;
    for (const std::string& field : fields) {
        if (!first)
            row += ',';
        row += csvField(field);
        first = false;
    }
    return row + kLineEnd;
}

std::string datLine(const ExportPoint& p) {
    return p.name + ",," + coordinateText(p.y_m, kPlainCoordinate) + "," +
           coordinateText(p.x_m, kPlainCoordinate) + "," + kHeightText + kLineEnd;
}

std::string stakeTableCsv(const std::vector<ExportPoint>& points) {
    std::string text = csvHead();
    for (const ExportPoint& p : points)
        text += csvRow(p);
    return text;
}

std::string pointFileDat(const std::vector<ExportPoint>& points) {
    std::string text;
    for (const ExportPoint& p : points)
        text += datLine(p);
    return text;
}

std::optional<std::string> writeFileReplacing(const std::string& path,
                                              const std::function<void(const FilePut&)>& produce) {
    // A NUL would cut the name short for the system, so the bytes would land in another file
    // while the message named this one; other control characters make names nobody can type.
    const bool controlCharacter = std::any_of(path.begin(), path.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
    if (controlCharacter)
        return cannotWriteMessage(path, "文件名不能含有控制字符");
    platform::FileReplacement file;
    if (const int error = file.open(path))
        return cannotWriteMessage(path, platform::systemReason(error));
    produce([&file](std::string_view bytes) { return file.write(bytes) == 0; });
    if (const int error = file.commit())
        return cannotWriteMessage(path, platform::systemReason(error));
    return std::nullopt;
}

std::optional<std::string> writeFileReplacing(const std::string& path, const std::string& bytes) {
    return writeFileReplacing(path, [&bytes](const FilePut& put) { put(bytes); });
}

}  // namespace hcurve
