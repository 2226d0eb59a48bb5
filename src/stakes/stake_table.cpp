#include "stakes/stake_table.h"

#include "port/user_port.h"
#include "stakes/stake_listing.h"

namespace hcurve {
namespace {

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

// Takes the listing of one stake as it is shown and turns it into rows: the pauses pass at once,
// and a row is complete when its Y field is written.
class ListingRecorder : public UserPort {
  public:
    // The side points of stake come in the order the listing shows them; their unrounded
    // coordinates are taken from it.
    ListingRecorder(std::vector<StakeTableRow>& rows, const RunStake& stake)
        : rows_(rows),
          current_{stake.number, stake.chainage_m, "",       kStakeCaption, "", "", "",
                   "",           stake.x_m,        stake.y_m},
          points_(stake.sidePoints) {}

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
            pointX_m_ = points_[next_].x_m;
            pointY_m_ = points_[next_].y_m;
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
    const std::vector<RunSidePoint>& points_;
    std::size_t next_ = 0;
    std::string leftCaption_, rightCaption_, distance_, x_;
    double pointX_m_ = 0, pointY_m_ = 0;
};

}  // namespace

std::vector<StakeTableRow> stakeTableRows(const RunStake& stake) {
    std::vector<StakeTableRow> rows;
    rows.reserve(1 + stake.sidePoints.size());
    ListingRecorder recorder(rows, stake);
    listStake(stake, recorder);
    return rows;
}

std::vector<StakeTableRow> stakeTableRows(const CurveRecord& record) {
    std::vector<StakeTableRow> rows;
    forEachStake(record.lastRun, [&](const RunStake& stake) {
        ListingRecorder recorder(rows, stake);
        listStake(stake, recorder);
        return true;
    });
    return rows;
}

std::string stakeTableLine(const StakeTableRow& r) {
    return r.chainage + '\t' + r.point + '\t' + r.side + '\t' + r.distance_m + '\t' + r.x + '\t' +
           r.y + '\n';
}

std::string stakeTableText(const std::vector<StakeTableRow>& rows) {
    std::string text = std::string(kStakeTableHeader) + "\n";
    for (const StakeTableRow& r : rows)
        text += stakeTableLine(r);
    return text;
}

}  // namespace hcurve
