#include "route/landxml_loading.h"

#include "curve/format.h"
#include "curve/shown_text.h"
#include "platform/file_reading.h"
#include "platform/system_reason.h"
#include "route/text_decoding.h"

namespace hcurve {

std::optional<std::string> landXmlUtf8(std::string_view bytes, std::string& fault) {
    const std::string encoding = declaredXmlEncoding(bytes);
    if (encoding.empty() || encoding == "utf-8" || encoding == "utf8") {
        if (!isUtf8(bytes)) {
            fault = "文件声明（或默认）为 UTF-8 编码，但内容不是 UTF-8。";
            return std::nullopt;
        }
        return std::string(bytes);
    }
    if (encoding == "iso-8859-1" || encoding == "latin1" || encoding == "latin-1")
        return latin1ToUtf8(bytes);
    if (encoding == "gbk" || encoding == "gb2312" || encoding == "gb18030" || encoding == "cp936") {
        std::optional<std::string> text = gbkToUtf8(bytes);
        if (!text)
            fault = "文件声明为 " + encoding + " 编码，但内容不是 GBK。";
        return text;
    }
    fault = "文件声明的编码 " + encoding + " 不能读（能读 UTF-8、ISO-8859-1、GBK、GB2312）。";
    return std::nullopt;
}

RouteLoading loadLandXmlRoute(const std::string& shownPath, std::string_view bytes,
                              const std::string* alignment) {
    RouteLoading loading;
    std::string fault;
    const std::optional<std::string> text = landXmlUtf8(bytes, fault);
    if (!text) {
        loading.messages.push_back("hcurve: 文件“" + shownPath + "”：" + fault);
        return loading;
    }
    const LandXmlReading reading = readLandXml(*text, alignment);
    std::vector<RouteFault> faults = reading.faults;
    std::vector<RouteFault> warnings = reading.warnings;
    if (reading.design) {
        RouteBuilding building = buildRoute(*reading.design);
        faults = building.faults;
        loading.route = std::move(building.route);
        warnings.insert(warnings.end(), building.warnings.begin(), building.warnings.end());
    }
    if (loading.route) {
        loading.name = reading.name;
        for (const RouteFault& w : warnings)
            loading.messages.push_back(shownPath + ": 注意：" + shownText(faultText(w)));
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
    std::string fault;
    const std::optional<std::string> text = landXmlUtf8(file.bytes, fault);
    if (!text) {
        listing.messages.push_back("hcurve: 文件“" + shownPath + "”：" + fault);
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
