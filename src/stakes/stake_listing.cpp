#include "stakes/stake_listing.h"

#include <string>
#include <utility>

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

// The row word of a side point's captions: "左侧" or "右侧" in a single row, else "前排" or "后排".
std::string rowWord(const SidePointSlot& slot) {
    switch (slot.row) {
        case SideRow::Single:
            return slot.left ? "左侧" : "右侧";
        case SideRow::Front:
            return "前排";
        case SideRow::Back:
            break;
    }
    return "后排";
}

// The captions and values of a side point. A side point is named by the number of its distance,
// in the order the distances were entered, on both sides and in both rows: the listing, the
// stake table and the export files call a point alike. Only the single-row left points have
// capital X and Y, and the right ones a blank after the parenthesis.
PointStep sidePointStep(const RunSidePoint& point) {
    const SidePointSlot& slot = point.slot;
    const std::string row = rowWord(slot);
    const std::string number = std::to_string(slot.distance);
    const bool capital = slot.left && slot.row == SideRow::Single;
    const std::string open = slot.left ? (capital ? " Xp(" : " xp(") : " xp( ";
    const std::string openY = slot.left ? (capital ? " Yp(" : " yp(") : " yp( ";
    return {slot.left,
            row + "第" + number + "点距离",
            row + open + number + ")",
            row + openY + number + ")",
            point.distance_m,
            point.x_m,
            point.y_m};
}

// The side groups' captions as the window starts with them, in the order of their labels.
const char* const kLeftCaptions[3] = {"  路基宽度 DL", "  纵座标 XL", "  横座标 YL"};
const char* const kRightCaptions[3] = {" 路基宽度 DR", "  纵座标 XR", "  横座标 YR"};

}  // namespace

void clearListing(UserPort& port) {
    for (Field field : {Field::StakeChainage, Field::StakeX, Field::StakeY})
        port.setField(field, "");
    for (const SideGroup* group : {&kLeftGroup, &kRightGroup}) {
        for (Field field : group->fields)
            port.setField(field, "");
    }
    for (const auto& [group, captions] :
         {std::pair{&kLeftGroup, kLeftCaptions}, std::pair{&kRightGroup, kRightCaptions}}) {
        for (int i = 0; i < 3; ++i)
            port.setCaption(group->labels[i], captions[i]);
    }
}

void clearStakeResults(UserPort& port) {
    port.setField(Field::AxisAngle, "");
    clearListing(port);
}

void listStake(const RunStake& stake, UserPort& port) {
    port.ask("单击 Enter 键或点击 OK 键显示中桩座标");
    port.setField(Field::StakeChainage, chainageText(stake.chainage_m, kListingForm));
    port.setField(Field::StakeX, coordinateText(stake.x_m, kFieldCoordinate));
    port.setField(Field::StakeY, coordinateText(stake.y_m, kFieldCoordinate));
    for (const RunSidePoint& point : stake.sidePoints)
        showPoint(port, sidePointStep(point));
}

}  // namespace hcurve
