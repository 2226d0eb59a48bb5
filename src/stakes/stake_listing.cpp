#include "stakes/stake_listing.h"

#include <string>

#include "curve/chainage.h"
#include "curve/format.h"

namespace hcurve {
namespace {

std::string distanceText(float d_m) {
    return " " + generalText(d_m) + " 米";
}

// The three fields and labels of one side's group: distance, X, Y.
struct SideGroup {
    Field fields[3];
    Label labels[3];
};
const SideGroup kLeftGroup{{Field::LeftDistance, Field::LeftX, Field::LeftY},
                           {Label::LeftDistance, Label::LeftX, Label::LeftY}};
const SideGroup kRightGroup{{Field::RightDistance, Field::RightX, Field::RightY},
                            {Label::RightDistance, Label::RightX, Label::RightY}};

// The captions and values of one side point.
struct PointStep {
    bool left;
    std::string distanceCaption, xCaption, yCaption;
    float distance_m;
    double x_m, y_m;
};

void showPoint(UserPort& port, const PointStep& step) {
    port.ask("需要输出计算结果按 Enter 键或 OK 键");
    const SideGroup& own = step.left ? kLeftGroup : kRightGroup;
    const SideGroup& other = step.left ? kRightGroup : kLeftGroup;
    for (Field field : other.fields)
        port.setField(field, "");
    port.setCaption(own.labels[0], step.distanceCaption);
    port.setCaption(own.labels[1], step.xCaption);
    port.setCaption(own.labels[2], step.yCaption);
    port.setField(own.fields[0], distanceText(step.distance_m));
    port.setField(own.fields[1], coordinateText(step.x_m, kFieldCoordinate));
    port.setField(own.fields[2], coordinateText(step.y_m, kFieldCoordinate));
}

// One list of the listing: its row word ("左侧", "前排", "后排"), whether the X and Y captions are
// capitalised (only the single-row left list), and the table indices it runs over.
struct ListShape {
    std::string row;
    bool capitalXY;
};

void listLeft(const CurveRecord& record, const SideTables& sides, UserPort& port,
              const ListShape& shape, int from, int to, int& pointNumber) {
    const std::string xp = shape.capitalXY ? " Xp(" : " xp(";
    const std::string yp = shape.capitalXY ? " Yp(" : " yp(";
    for (int j = from; j >= to; --j) {
        ++pointNumber;
        std::size_t k = static_cast<std::size_t>(j);
        std::size_t d = static_cast<std::size_t>((j - 1) % record.dl_n + 1);
        showPoint(port, {true, shape.row + "第" + std::to_string(pointNumber) + "点距离",
                         shape.row + xp + std::to_string(j) + ")",
                         shape.row + yp + std::to_string(j) + ")", record.dl[d], sides.leftRowX[k],
                         sides.leftRowY[k]});
    }
}

// Right points are numbered by their table index, so the right points of a row tell apart.
void listRight(const CurveRecord& record, const SideTables& sides, UserPort& port,
               const std::string& row, int from, int to) {
    for (int j = from; j <= to; ++j) {
        std::size_t k = static_cast<std::size_t>(j);
        std::size_t d = static_cast<std::size_t>((j - 1) % record.dr_n + 1);
        showPoint(port,
                  {false, row + "第" + std::to_string(j) + "点距离",
                   row + " xp( " + std::to_string(j) + ")", row + " yp( " + std::to_string(j) + ")",
                   record.dr[d], sides.rightRowX[k], sides.rightRowY[k]});
    }
}

}  // namespace

void listStake(const CurveRecord& record, const SideTables& sides, std::size_t i, UserPort& port) {
    port.ask("单击 Entar 键或点击 OK 键显示中桩座标");
    port.setField(Field::StakeChainage, chainageText(record.Kp[i], kListingForm));
    port.setField(Field::StakeX, coordinateText(record.stakeX[i], kFieldCoordinate));
    port.setField(Field::StakeY, coordinateText(record.stakeY[i], kFieldCoordinate));
    if (!sidePointsOn(record))
        return;

    int pointNumber = 0;
    const int nl = record.dl_n, nr = record.dr_n;
    if (record.dd_n == 1) {
        listLeft(record, sides, port, {"左侧", true}, nl, 1, pointNumber);
        listRight(record, sides, port, "右侧", 1, nr);
        return;
    }
    listLeft(record, sides, port, {"前排", false}, nl, 1, pointNumber);
    listRight(record, sides, port, "前排", 1, nr);
    listLeft(record, sides, port, {"后排", false}, 2 * nl, nl + 1, pointNumber);
    listRight(record, sides, port, "后排", nr + 1, 2 * nr);
}

}  // namespace hcurve
