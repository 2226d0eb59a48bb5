#include "route_files/route_loading.h"

#include <algorithm>
#include <optional>
#include <string_view>

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

// Why a LandXML file is not read with the others.
std::string landXmlAlone(const std::string& path) {
    return "hcurve: LandXML 文件“" + shownText(path) + "”要单独读，不能与别的文件一起读。";
}

// A LandXML file's route with the cross-section tables of further files (texts, decoded, of
// sectionPaths): refused when one of them holds any other table. Their superelevation is read
// as the route the file gives is: by JD name from AlignPIs, by chainages from CoordGeom.
RouteLoading loadLandXmlWithSections(const std::string& xmlPath, std::string_view bytes,
                                     const std::string* alignment,
                                     const std::vector<std::string>& sectionPaths,
                                     const std::vector<std::string>& texts) {
    RouteLoading loading = loadLandXmlRoute(shownText(xmlPath), bytes, alignment);
    loading.files = {xmlPath};
    loading.files.insert(loading.files.end(), sectionPaths.begin(), sectionPaths.end());
    const SectionFilesReading sections =
        readSectionFiles(std::vector<std::string_view>(texts.begin(), texts.end()), 1,
                         !loading.route || loading.route->points.empty());
    if (!sections.onlySections) {
        RouteLoading refused;
        refused.messages.push_back(landXmlAlone(xmlPath));
        return refused;
    }
    std::vector<RouteFault> faults = sections.faults;
    std::vector<RouteFault> warnings;
    if (loading.route && faults.empty() && sections.section.templateTable) {
        CrossSectionBuilding section = buildCrossSection(sections.section, *loading.route);
        if (!section.section) {
            faults = std::move(section.faults);
            if (faults.empty())
                faults.push_back({sections.section.templateTable->headerLine, "横断面没有算出。",
                                  sections.section.templateTable->file});
        } else {
            loading.crossSection = std::move(section.section);
            loading.section = sections.section;
            warnings = std::move(section.warnings);
        }
    }
    const auto pathOf = [&](std::size_t file) {
        return shownText(loading.files[file < loading.files.size() ? file : 0]);
    };
    if (!faults.empty()) {
        loading.route.reset();
        loading.crossSection.reset();
    }
    for (const WarningLine& w : warningLines(warnings))
        loading.messages.push_back(pathOf(w.file) + ": 注意：" + shownText(w.text));
    for (const RouteFault& f : faults)
        loading.messages.push_back(pathOf(f.file) + ": " + shownText(faultText(f)));
    if (faults.size() >= kMostRouteFaults)
        loading.messages.push_back("hcurve: 错误太多，只列出了前 " +
                                   std::to_string(kMostRouteFaults) + " 个。");
    return loading;
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
    // A LandXML file among several: its own and the others' paths.
    std::optional<std::string> xmlPath, xmlBytes;
    std::vector<std::string> otherPaths;
    for (const std::string& path : chosen) {
        const std::string shownPath = shownText(path);
        Result<std::string> bytes = routeFileBytes(path);
        if (!bytes) {
            loading.messages.push_back(bytes.failure().message);
            return loading;
        }
        if (looksLikeLandXml(path, *bytes)) {
            if (paths.size() == 1) {
                RouteLoading xml = loadLandXmlRoute(shownPath, *bytes, alignment);
                xml.files = paths;
                return xml;
            }
            // Beside one LandXML file only further files of cross-section tables.
            if (xmlPath) {
                loading.messages.push_back(landXmlAlone(*xmlPath));
                return loading;
            }
            xmlPath = path;
            xmlBytes = std::move(*bytes);
            continue;
        }
        Result<std::string> text = routeFileText(shownPath, *bytes);
        if (!text) {
            loading.messages.push_back(text.failure().message);
            return loading;
        }
        otherPaths.push_back(path);
        texts.push_back(std::move(*text));
    }
    if (xmlPath)
        return loadLandXmlWithSections(*xmlPath, *xmlBytes, alignment, otherPaths, texts);
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
