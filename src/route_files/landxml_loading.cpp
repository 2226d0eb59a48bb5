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

Result<LoadedRoute> loadLandXmlRoute(const std::string& shownPath, std::string_view bytes,
                                     const std::string* alignment) {
    const Result<std::string> text = landXmlUtf8(bytes);
    if (!text)
        return Failure{"hcurve: 文件“" + shownPath + "”：" + text.failure().message};
    const auto shownFile = [&shownPath](std::size_t) { return shownPath; };
    const Result<LandXmlDesign> reading = readLandXml(*text, alignment).alignment;
    if (!reading)
        return Result<LoadedRoute>::failed(routeFaultLines(reading.failures(), shownFile));
    std::vector<Failure> warnings = reading.warnings();
    Result<BuiltRoute> built = buildRoute(reading->design);
    if (reading->fallback) {
        Result<BuiltRoute> fallback = buildRoute(*reading->fallback);
        if (!built && fallback) {
            // The PIs give no route (curves that overlap, ...): the elements do.
            const Failure& first = built.failure();
            warnings.push_back(
                {"AlignPIs 的交点算不出路线，按 CoordGeom 的线元计算：" + first.message,
                 first.line});
            warnings.insert(warnings.end(), reading->fallbackWarnings.begin(),
                            reading->fallbackWarnings.end());
            built = std::move(fallback);
        } else if (built && fallback) {
            const Route &a = built->route, &b = fallback->route;
            const RouteStake p = stakeAt(a, a.end_m), q = stakeAt(b, b.end_m);
            const double longer = std::fabs((a.end_m - a.start_m) - (b.end_m - b.start_m));
            const double apart = std::hypot(p.x_m - q.x_m, p.y_m - q.y_m);
            if (std::max(longer, apart) > kSameRoute_m)
                warnings.push_back({"AlignPIs 的交点与 CoordGeom 的线元不一致：路线长相差 " +
                                        format(longer, Pattern::Fixed4) + " 米，终点相差 " +
                                        format(apart, Pattern::Fixed4) +
                                        " 米；按 AlignPIs（交点法）计算。",
                                    reading->design.points.front().line});
        }
    }
    if (!built)
        return Result<LoadedRoute>::failed(routeFaultLines(built.failures(), shownFile));
    warnings.insert(warnings.end(), built.warnings().begin(), built.warnings().end());
    Result<LoadedRoute> loaded =
        LoadedRoute{std::move(built->route), reading->name, {}, {}, {}, {}, {}, {}};
    loaded.warnings() = routeWarningLines(warnings, shownFile);
    const std::vector<Failure>& profileFaults = built->profileFaults;
    if (!profileFaults.empty()) {
        // One line says why there are no elevations; the plan and the stakes stand.
        std::string why = "纵断面算不出来，中桩没有高程：" + faultText(profileFaults.front());
        if (profileFaults.size() > 1)
            why += "纵断面另有 " + std::to_string(profileFaults.size() - 1) + " 处错误。";
        loaded.warnings().push_back({shownPath + ": 注意：" + shownText(why)});
        loaded->withoutProfile =
            "LandXML 文件的线路 “" + reading->name + "” 的纵断面算不出来（原因见上）";
    } else if (!loaded->route.gradeLine) {
        loaded->withoutProfile = reading->withoutProfile;
    }
    return loaded;
}

Result<std::vector<LandXmlAlignment>> listLandXmlAlignments(const std::string& path) {
    const std::string shownPath = shownText(path);
    const platform::FileBytes file = platform::readFileBounded(path, kMaxRouteFileBytes);
    if (file.openError != 0 || file.readError != 0 || file.tooLarge)
        return Failure{"hcurve: 无法读文件“" + shownPath + "”：" +
                       (file.tooLarge ? std::string("文件太大")
                                      : platform::systemReason(file.openError ? file.openError
                                                                              : file.readError)) +
                       "。"};
    if (!looksLikeLandXml(path, file.bytes))
        return Failure{"hcurve: 文件“" + shownPath +
                       "”不是 LandXML 文件，--alignments 只列 LandXML 文件的线路。"};
    const Result<std::string> text = landXmlUtf8(file.bytes);
    if (!text)
        return Failure{"hcurve: 文件“" + shownPath + "”：" + text.failure().message};
    LandXmlReading reading = readLandXml(*text, nullptr);
    if (!reading.alignments.empty())
        return std::move(reading.alignments);
    std::vector<Failure> lines;
    if (!reading.alignment)
        for (const Failure& f : reading.alignment.failures())
            lines.push_back({shownPath + ": " + shownText(faultText(f)), f.line});
    return Result<std::vector<LandXmlAlignment>>::failed(std::move(lines));
}

std::string alignmentListCsv(const std::vector<LandXmlAlignment>& alignments) {
    std::string csv = "名称,长度,线元数\n";
    for (const LandXmlAlignment& a : alignments)
        csv += csvField(shownText(a.name)) + "," + format(a.length_m, Pattern::Fixed3) + "," +
               std::to_string(a.elementCount) + "\n";
    return csv;
}

}  // namespace hcurve
