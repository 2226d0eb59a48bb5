#include "route_files/route_loading.h"

#include <algorithm>

#include "alignment/ground_sections.h"
#include "curve/shown_text.h"
#include "platform/file_reading.h"
#include "platform/system_reason.h"
#include "route_files/landxml_loading.h"
#include "route_files/route_file.h"
#include "route_files/text_decoding.h"

namespace hcurve {
namespace {

// The bytes of a route file, or why it cannot be read: no such file, no permission, a folder,
// larger than kMaxRouteFileBytes, a failed read.
Result<std::string> routeFileBytes(const std::string& path) {
    const std::string shownPath = shownText(path);
    platform::FileBytes file = platform::readFileBounded(path, kMaxRouteFileBytes);
    if (file.openError != 0)
        return Failure{"hcurve: 无法打开文件“" + shownPath + "”：" +
                       platform::systemReason(file.openError) + "。"};
    if (file.tooLarge)
        return Failure{"hcurve: 文件“" + shownPath + "”超过 " +
                       std::to_string(kMaxRouteFileBytes / (1024 * 1024)) +
                       " MiB，不像是交点表，没有读。"};
    if (file.readError != 0)
        return Failure{"hcurve: 读文件“" + shownPath + "”出错：" +
                       platform::systemReason(file.readError) + "。"};
    return std::move(file.bytes);
}

// A route file's text as UTF-8, or why it has none, said with the file (and the line).
Result<std::string> routeFileText(const std::string& shownPath, std::string_view bytes) {
    Result<std::string> text = decodeRouteText(bytes);
    if (text)
        return text;
    const Failure& why = text.failure();
    if (why.line > 0)
        return Failure{shownPath + ": 第 " + std::to_string(why.line) + " 行：" + why.message,
                       why.line};
    return Failure{"hcurve: 文件“" + shownPath + "”" + why.message};
}

}  // namespace

Result<std::string> readRouteText(const std::string& path) {
    const Result<std::string> bytes = routeFileBytes(path);
    if (!bytes)
        return bytes.failure();
    return routeFileText(shownText(path), *bytes);
}

RouteLoading loadRouteFile(const std::string& path) {
    return loadRouteFiles({path});
}

RouteLoading loadRouteFiles(const std::vector<std::string>& chosen, const std::string* alignment) {
    RouteLoading loading;
    std::vector<std::string> paths = chosen;
    std::vector<std::string> texts;
    for (const std::string& path : chosen) {
        const std::string shownPath = shownText(path);
        const Result<std::string> bytes = routeFileBytes(path);
        if (!bytes) {
            loading.messages.push_back(bytes.failure().message);
            return loading;
        }
        if (looksLikeLandXml(path, *bytes)) {
            if (paths.size() != 1) {
                loading.messages.push_back("hcurve: LandXML 文件“" + shownPath +
                                           "”要单独读，不能与别的文件一起读。");
                return loading;
            }
            RouteLoading xml = loadLandXmlRoute(shownPath, *bytes, alignment);
            xml.files = paths;
            return xml;
        }
        Result<std::string> text = routeFileText(shownPath, *bytes);
        if (!text) {
            loading.messages.push_back(text.failure().message);
            return loading;
        }
        texts.push_back(std::move(*text));
    }
    // Files chosen together come in the order they were clicked or typed: the one that opens with
    // the route's own table is read first.
    if (texts.size() > 1 && !opensWithRouteTable(texts[0])) {
        for (std::size_t k = 1; k < texts.size(); ++k) {
            if (opensWithRouteTable(texts[k])) {
                std::rotate(texts.begin(), texts.begin() + static_cast<long>(k),
                            texts.begin() + static_cast<long>(k) + 1);
                std::rotate(paths.begin(), paths.begin() + static_cast<long>(k),
                            paths.begin() + static_cast<long>(k) + 1);
                break;
            }
        }
    }
    loading.files = paths;
    RouteFileReading reading =
        readRouteFiles(std::vector<std::string_view>(texts.begin(), texts.end()));
    std::vector<RouteFault> faults = reading.faults;
    if (reading.design) {
        RouteBuilding building = buildRoute(*reading.design);
        faults = building.faults;
        loading.route = std::move(building.route);
        std::vector<RouteFault> warnings = std::move(building.warnings);
        warnings.insert(warnings.end(), reading.warnings.begin(), reading.warnings.end());
        if (loading.route && !reading.design->ground.sections.empty()) {
            GroundPlacing placing = placeGroundSections(reading.design->ground, *loading.route);
            if (!placing.faults.empty()) {
                faults = std::move(placing.faults);
                loading.route.reset();
            } else {
                loading.groundSections = std::move(placing.sections);
            }
        }
        if (loading.route && reading.design->section.templateTable) {
            CrossSectionBuilding section =
                buildCrossSection(reading.design->section, *loading.route);
            if (!section.section) {
                faults = std::move(section.faults);
                if (faults.empty())
                    faults.push_back({reading.design->section.templateTable->headerLine,
                                      "横断面没有算出。",
                                      reading.design->section.templateTable->file});
                loading.route.reset();
            } else {
                loading.crossSection = std::move(section.section);
                warnings.insert(warnings.end(), section.warnings.begin(), section.warnings.end());
            }
        }
        if (loading.route) {
            loading.section = std::move(reading.design->section);
            loading.ground = std::move(reading.design->ground);
        }
        if (loading.route)
            for (const WarningLine& w : warningLines(warnings))
                loading.messages.push_back(shownText(paths[w.file < paths.size() ? w.file : 0]) +
                                           ": 注意：" + shownText(w.text));
    }
    for (const RouteFault& f : faults)
        loading.messages.push_back(shownText(paths[f.file < paths.size() ? f.file : 0]) + ": " +
                                   shownText(faultText(f)));
    if (faults.size() >= kMostRouteFaults)
        loading.messages.push_back("hcurve: 错误太多，只列出了前 " +
                                   std::to_string(kMostRouteFaults) + " 个。");
    return loading;
}

}  // namespace hcurve
