#include "route_files/landxml_loading.h"

#include <algorithm>
#include <cmath>

#include "curve/format.h"
#include "curve/shown_text.h"
#include "platform/file_reading.h"
#include "platform/system_reason.h"
#include "route_files/text_decoding.h"

namespace hcurve {

Result<std::string> landXmlUtf8(std::string_view bytes) {
    const std::string encoding = declaredXmlEncoding(bytes);
    if (encoding.empty() || encoding == "utf-8" || encoding == "utf8") {
        if (!isUtf8(bytes))
            return Failure{"文件声明（或默认）为 UTF-8 编码，但内容不是 UTF-8。"};
        return std::string(bytes);
    }
    if (encoding == "iso-8859-1" || encoding == "latin1" || encoding == "latin-1")
        return latin1ToUtf8(bytes);
    if (encoding == "gbk" || encoding == "gb2312" || encoding == "gb18030" || encoding == "cp936") {
        if (std::optional<std::string> text = gbkToUtf8(bytes))
            return std::move(*text);
        return Failure{"文件声明为 " + encoding + " 编码，但内容不是 GBK。"};
    }
    return Failure{"文件声明的编码 " + encoding +
                   " 不能读（能读 UTF-8、ISO-8859-1、GBK、GB2312）。"};
}

namespace {

// Two routes of one alignment this far apart are one.
constexpr double kSameRoute_m = 1e-3;

}  // namespace

RouteLoading loadLandXmlRoute(const std::string& shownPath, std::string_view bytes,
                              const std::string* alignment) {
    RouteLoading loading;
    const Result<std::string> text = landXmlUtf8(bytes);
    if (!text) {
        loading.messages.push_back("hcurve: 文件“" + shownPath + "”：" + text.failure().message);
        return loading;
    }
    const LandXmlReading reading = readLandXml(*text, alignment);
    std::vector<RouteFault> faults = reading.faults;
    std::vector<RouteFault> warnings = reading.warnings;
    std::vector<RouteFault> profileFaults;
    if (reading.design) {
        RouteBuilding building = buildRoute(*reading.design);
        if (reading.fallback) {
            RouteBuilding fallback = buildRoute(*reading.fallback);
            if (!building.route && fallback.route) {
                // The PIs give no route (curves that overlap, ...): the elements do.
                const RouteFault& first = building.faults.front();
                warnings.push_back(
                    {first.line,
                     "AlignPIs 的交点算不出路线，按 CoordGeom 的线元计算：" + first.message});
                warnings.insert(warnings.end(), reading.fallbackWarnings.begin(),
                                reading.fallbackWarnings.end());
                building = std::move(fallback);
            } else if (building.route && fallback.route) {
                const Route &a = *building.route, &b = *fallback.route;
                const RouteStake p = stakeAt(a, a.end_m), q = stakeAt(b, b.end_m);
                const double longer = std::fabs((a.end_m - a.start_m) - (b.end_m - b.start_m));
                const double apart = std::hypot(p.x_m - q.x_m, p.y_m - q.y_m);
                if (std::max(longer, apart) > kSameRoute_m)
                    warnings.push_back({reading.design->points.front().line,
                                        "AlignPIs 的交点与 CoordGeom 的线元不一致：路线长相差 " +
                                            format(longer, Pattern::Fixed4) + " 米，终点相差 " +
                                            format(apart, Pattern::Fixed4) +
                                            " 米；按 AlignPIs（交点法）计算。"});
            }
        }
        faults = building.faults;
        loading.route = std::move(building.route);
        warnings.insert(warnings.end(), building.warnings.begin(), building.warnings.end());
        profileFaults = building.profileFaults;
    }
    if (loading.route) {
        loading.name = reading.name;
        for (const WarningLine& w : warningLines(warnings))
            loading.messages.push_back(shownPath + ": 注意：" + shownText(w.text));
        if (!profileFaults.empty()) {
            // One line says why there are no elevations; the plan and the stakes stand.
            std::string why = "纵断面算不出来，中桩没有高程：" + faultText(profileFaults.front());
            if (profileFaults.size() > 1)
                why += "纵断面另有 " + std::to_string(profileFaults.size() - 1) + " 处错误。";
            loading.messages.push_back(shownPath + ": 注意：" + shownText(why));
            loading.withoutProfile =
                "LandXML 文件的线路 “" + reading.name + "” 的纵断面算不出来（原因见上）";
        } else if (!loading.route->gradeLine) {
            loading.withoutProfile = reading.withoutProfile;
        }
    }
    for (const RouteFault& f : faults)
        loading.messages.push_back(shownPath + ": " + shownText(faultText(f)));
    if (faults.size() >= kMostRouteFaults)
        loading.messages.push_back("hcurve: 错误太多，只列出了前 " +
                                   std::to_string(kMostRouteFaults) + " 个。");
    return loading;
}

LandXmlListing listLandXmlAlignments(const std::string& path) {
    LandXmlListing listing;
    const std::string shownPath = shownText(path);
    const platform::FileBytes file = platform::readFileBounded(path, kMaxRouteFileBytes);
    if (file.openError != 0 || file.readError != 0 || file.tooLarge) {
        listing.messages.push_back(
            "hcurve: 无法读文件“" + shownPath + "”：" +
            (file.tooLarge
                 ? std::string("文件太大")
                 : platform::systemReason(file.openError ? file.openError : file.readError)) +
            "。");
        return listing;
    }
    if (!looksLikeLandXml(path, file.bytes)) {
        listing.messages.push_back("hcurve: 文件“" + shownPath +
                                   "”不是 LandXML 文件，--alignments 只列 LandXML 文件的线路。");
        return listing;
    }
    const Result<std::string> text = landXmlUtf8(file.bytes);
    if (!text) {
        listing.messages.push_back("hcurve: 文件“" + shownPath + "”：" + text.failure().message);
        return listing;
    }
    const LandXmlReading reading = readLandXml(*text, nullptr);
    listing.alignments = reading.alignments;
    if (listing.alignments.empty())
        for (const RouteFault& f : reading.faults)
            listing.messages.push_back(shownPath + ": " + shownText(faultText(f)));
    return listing;
}

std::string alignmentListCsv(const std::vector<LandXmlAlignment>& alignments) {
    std::string csv = "名称,长度,线元数\n";
    for (const LandXmlAlignment& a : alignments)
        csv += csvField(shownText(a.name)) + "," + format(a.length_m, Pattern::Fixed3) + "," +
               std::to_string(a.elementCount) + "\n";
    return csv;
}

}  // namespace hcurve
