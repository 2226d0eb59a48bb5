#include "stakes/stake_table.h"

#include <utility>

#include "curve/dms.h"
#include "geometry/side_points.h"
#include "port/user_port.h"
#include "stakes/side_point_order.h"
#include "stakes/stake_export.h"
#include "stakes/stake_listing.h"

namespace hcurve {
namespace {

constexpr std::int16_t kSingleRow = 1;
constexpr char kStakeCaption[] = "中桩";
constexpr char kDistanceWord[] = "距离";
constexpr char kMetreUnit[] = " 米";

std::string withoutLeadingBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
}

std::string withoutSuffix(const std::string& text, const std::string& suffix) {
    if (text.size() >= suffix.size() &&
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0)
        return text.substr(0, text.size() - suffix.size());
    return text;
}

// The numbers behind the side point the listing shows next, in the listing's order.
std::vector<std::pair<double, double>> listedSidePoints(const SideTables& t, int nl, int nr,
                                                        std::int16_t dd_n) {
    std::vector<std::pair<double, double>> points;
    for (const SidePointSlot& slot : sidePointOrder(nl, nr, dd_n == kSingleRow)) {
        points.emplace_back(slot.left ? t.leftRowX[slot.element] : t.rightRowX[slot.element],
                            slot.left ? t.leftRowY[slot.element] : t.rightRowY[slot.element]);
    }
    return points;
}

// Takes the listing of one stake as it is shown and turns it into rows: the pauses pass at once,
// and a row is complete when its Y field is written.
class ListingRecorder : public UserPort {
  public:
    // points: the unrounded coordinates of the side points, in the order the listing shows them.
    ListingRecorder(std::vector<StakeTableRow>& rows, std::size_t stake, double chainage_m,
                    double x_m, double y_m, std::vector<std::pair<double, double>> points)
        : rows_(rows),
          current_{stake, chainage_m, "", kStakeCaption, "", "", "", "", x_m, y_m},
          points_(std::move(points)) {}

    std::string ask(const std::string&) override { return ""; }
    void showMessage(const std::string&) override {}
    void setCaption(Label label, const std::string& caption) override {
        if (label == Label::LeftDistance)
            leftCaption_ = caption;
        else if (label == Label::RightDistance)
            rightCaption_ = caption;
    }
    void setField(Field field, const std::string& shown) override {
        const std::string text = withoutLeadingBlanks(shown);
        if (text.empty())
            return;  // the other side's fields being cleared
        switch (field) {
            case Field::StakeChainage:
                current_.chainage = text;
                break;
            case Field::StakeX:
                current_.x = text;
                break;
            case Field::StakeY:
                current_.y = text;
                rows_.push_back(current_);
                break;
            case Field::LeftDistance:
            case Field::RightDistance:
                startPoint(withoutSuffix(text, kMetreUnit));
                break;
            case Field::LeftX:
            case Field::RightX:
                x_ = text;
                break;
            case Field::LeftY:
                addPoint("左", leftCaption_, text);
                break;
            case Field::RightY:
                addPoint("右", rightCaption_, text);
                break;
            default:
                break;
        }
    }

  private:
    void startPoint(const std::string& distance) {
        distance_ = distance;
        if (next_ < points_.size()) {
            pointX_m_ = points_[next_].first;
            pointY_m_ = points_[next_].second;
            ++next_;
        }
    }
    void addPoint(const std::string& side, const std::string& caption, const std::string& y) {
        StakeTableRow row = current_;
        row.point = withoutSuffix(caption, kDistanceWord);
        row.side = side;
        row.distance_m = distance_;
        row.x = x_;
        row.y = y;
        row.x_m = pointX_m_;
        row.y_m = pointY_m_;
        rows_.push_back(row);
    }

    std::vector<StakeTableRow>& rows_;
    StakeTableRow current_;
    std::vector<std::pair<double, double>> points_;
    std::size_t next_ = 0;
    std::string leftCaption_, rightCaption_, distance_, x_;
    double pointX_m_ = 0, pointY_m_ = 0;
};

}  // namespace

std::vector<StakeTableRow> stakeTableRows(const CurveRecord& record) {
    std::vector<StakeTableRow> rows;
    const std::size_t n = stakesOfLastRun(record);
    const RunSideSetup& setup = record.runSides;
    const bool sides = setup.sidePointsOn && setup.dl_n >= 0 && setup.dr_n >= 0 &&
                       setup.dl.size() > static_cast<std::size_t>(setup.dl_n) &&
                       setup.dr.size() > static_cast<std::size_t>(setup.dr_n) &&
                       setup.axisAzimuth_deg.size() > n;

    // The listing of one stake, shown from a record that holds that stake and the run's setup.
    CurveRecord one;
    one.pp_dk = sides ? "y" : "n";
    one.dl_n = setup.dl_n;
    one.dr_n = setup.dr_n;
    one.dd_n = setup.dd_n;
    one.dl = setup.dl;
    one.dr = setup.dr;
    one.Kp.assign(2, 0.0);
    one.stakeX.assign(2, 0.0);
    one.stakeY.assign(2, 0.0);
    SideTables tables = makeSideTables(sides ? setup.dl_n : 0, sides ? setup.dr_n : 0);
    for (std::size_t i = 1; i <= n; ++i) {
        one.Kp[1] = record.Kp[i];
        one.stakeX[1] = record.stakeX[i];
        one.stakeY[1] = record.stakeY[i];
        std::vector<std::pair<double, double>> points;
        if (sides) {
            computeSidePoints(tables, record.stakeX[i], record.stakeY[i], setup.axisAzimuth_deg[i],
                              setup, kDegreeFactor);
            points = listedSidePoints(tables, setup.dl_n, setup.dr_n, setup.dd_n);
        }
        ListingRecorder recorder(rows, i, record.Kp[i], record.stakeX[i], record.stakeY[i],
                                 std::move(points));
        listStake(one, tables, 1, recorder);
    }
    return rows;
}

std::string stakeTableText(const std::vector<StakeTableRow>& rows) {
    std::string text = std::string(kStakeTableHeader) + "\n";
    for (const StakeTableRow& r : rows) {
        text += r.chainage + '\t' + r.point + '\t' + r.side + '\t' + r.distance_m + '\t' + r.x +
                '\t' + r.y + '\n';
    }
    return text;
}

}  // namespace hcurve
