#include "route_files/route_loading.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "alignment/ground_sections.h"
#include "curve/shown_text.h"
#include "platform/file_reading.h"
#include "platform/system_reason.h"
#include "route_files/ground_files.h"
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

// A LandXML file's route with the cross-section tables and the ground files of further files
// (texts, decoded, of sectionPaths): refused when one of them holds any other table. Their
// superelevation is read as the route the file gives is: by JD name from AlignPIs, by chainages
// from CoordGeom. The ground files are read as beside a CSV route, their sections placed on the
// alignment.
Result<LoadedRoute> loadLandXmlWithSections(const std::string& xmlPath, std::string_view bytes,
                                            const std::string* alignment,
                                            const std::vector<std::string>& sectionPaths,
                                            const std::vector<std::string>& texts) {
    Result<LoadedRoute> loading = loadLandXmlRoute(shownText(xmlPath), bytes, alignment);
    std::vector<std::string> files = {xmlPath};
    files.insert(files.end(), sectionPaths.begin(), sectionPaths.end());
    // The ground files apart from the section tables, each keeping its place among the files.
    GroundDesign ground;
    std::vector<Failure> groundFaults, groundWarnings;
    std::vector<std::string> tableTexts;
    std::vector<std::size_t> tableFiles = {0};  // each table text's place among the files
    for (std::size_t k = 0; k < texts.size(); ++k) {
        if (const std::optional<GroundFileKind> kind = groundFileKind(texts[k])) {
            readGroundFile(*kind, texts[k], k + 1, ground, groundFaults, groundWarnings);
        } else {
            tableTexts.push_back(texts[k]);
            tableFiles.push_back(k + 1);
        }
    }
    const Result<std::optional<SectionDesign>> sections =
        readSectionFiles(std::vector<std::string_view>(tableTexts.begin(), tableTexts.end()), 1,
                         !loading || loading->route.points.empty());
    if (sections && !*sections)
        return Failure{landXmlAlone(xmlPath)};
    // The ground files' faults, then the section files', each naming its place among all the
    // files.
    std::vector<Failure> fileFaults = groundFaults;
    if (!sections) {
        for (Failure f : sections.failures()) {
            f.file = tableFiles[f.file < tableFiles.size() ? f.file : 0];
            fileFaults.push_back(std::move(f));
        }
    }
    const auto pathOf = [&](std::size_t file) {
        return shownText(files[file < files.size() ? file : 0]);
    };
    // The file's own faults, then the section tables'.
    if (!loading) {
        if (fileFaults.empty())
            return loading;
        std::vector<Failure> faults = loading.failures();
        for (Failure& f : routeFaultLines(fileFaults, pathOf))
            faults.push_back(std::move(f));
        Result<LoadedRoute> refused = Result<LoadedRoute>::failed(std::move(faults));
        refused.warnings() = std::move(loading.warnings());
        return refused;
    }
    loading->files = files;
    std::vector<Failure> faults = fileFaults;
    for (Failure& w : routeWarningLines(groundWarnings, pathOf))
        loading.warnings().push_back(std::move(w));
    if (faults.empty() && !ground.sections.empty()) {
        Result<std::vector<GroundSection>> placing = placeGroundSections(ground, loading->route);
        if (!placing)
            faults = placing.failures();
        else
            loading->groundSections = std::move(*placing);
    }
    loading->ground = std::move(ground);
    if (faults.empty() && (*sections)->templateTable) {
        Result<CrossSection> section = buildCrossSection(**sections, loading->route);
        if (!section) {
            faults = section.failures();
        } else {
            loading->crossSection = std::move(*section);
            loading->section = **sections;
            for (Failure& w : routeWarningLines(section.warnings(), pathOf))
                loading.warnings().push_back(std::move(w));
        }
    }
    if (!faults.empty()) {
        Result<LoadedRoute> refused = Result<LoadedRoute>::failed(routeFaultLines(faults, pathOf));
        refused.warnings() = std::move(loading.warnings());
        return refused;
    }
    return loading;
}

}  // namespace

Result<std::string> readRouteText(const std::string& path) {
    const Result<std::string> bytes = routeFileBytes(path);
    if (!bytes)
        return bytes.failure();
    return routeFileText(shownText(path), *bytes);
}

Result<LoadedRoute> loadRouteFile(const std::string& path) {
    return loadRouteFiles({path});
}

std::vector<Failure> routeFaultLines(const std::vector<Failure>& faults,
                                     const std::function<std::string(std::size_t)>& shownFile) {
    std::vector<Failure> lines;
    for (const Failure& f : faults)
        lines.push_back({shownFile(f.file) + ": " + shownText(faultText(f)), f.line, f.file});
    if (faults.size() >= kMostRouteFaults)
        lines.push_back(
            {"hcurve: 错误太多，只列出了前 " + std::to_string(kMostRouteFaults) + " 个。"});
    return lines;
}

std::vector<Failure> routeWarningLines(const std::vector<Failure>& warnings,
                                       const std::function<std::string(std::size_t)>& shownFile) {
    std::vector<Failure> lines;
    for (const Failure& w : warningLines(warnings))
        lines.push_back({shownFile(w.file) + ": 注意：" + shownText(w.message), w.line, w.file});
    return lines;
}

Result<LoadedRoute> loadRouteFiles(const std::vector<std::string>& chosen,
                                   const std::string* alignment) {
    std::vector<std::string> paths = chosen;
    std::vector<std::string> texts;
    // A LandXML file among several: its own and the others' paths.
    std::optional<std::string> xmlPath, xmlBytes;
    std::vector<std::string> otherPaths;
    for (const std::string& path : chosen) {
        const std::string shownPath = shownText(path);
        Result<std::string> bytes = routeFileBytes(path);
        if (!bytes)
            return bytes.failure();
        if (looksLikeLandXml(path, *bytes)) {
            if (paths.size() == 1) {
                Result<LoadedRoute> xml = loadLandXmlRoute(shownPath, *bytes, alignment);
                if (xml)
                    xml->files = paths;
                return xml;
            }
            // Beside one LandXML file only further files of cross-section tables.
            if (xmlPath)
                return Failure{landXmlAlone(*xmlPath)};
            xmlPath = path;
            xmlBytes = std::move(*bytes);
            continue;
        }
        Result<std::string> text = routeFileText(shownPath, *bytes);
        if (!text)
            return text.failure();
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
    const auto shownFile = [&paths](std::size_t file) {
        return shownText(paths[file < paths.size() ? file : 0]);
    };
    Result<RouteDesign> design =
        readRouteFiles(std::vector<std::string_view>(texts.begin(), texts.end()));
    if (!design)
        return Result<LoadedRoute>::failed(routeFaultLines(design.failures(), shownFile));
    Result<BuiltRoute> built = buildRoute(*design);
    if (!built)
        return Result<LoadedRoute>::failed(routeFaultLines(built.failures(), shownFile));
    std::vector<Failure> warnings = std::move(built.warnings());
    warnings.insert(warnings.end(), design.warnings().begin(), design.warnings().end());
    std::vector<GroundSection> groundSections;
    if (!design->ground.sections.empty()) {
        Result<std::vector<GroundSection>> placing =
            placeGroundSections(design->ground, built->route);
        if (!placing)
            return Result<LoadedRoute>::failed(routeFaultLines(placing.failures(), shownFile));
        groundSections = std::move(*placing);
    }
    std::optional<CrossSection> crossSection;
    if (design->section.templateTable) {
        Result<CrossSection> section = buildCrossSection(design->section, built->route);
        if (!section)
            return Result<LoadedRoute>::failed(routeFaultLines(section.failures(), shownFile));
        crossSection = std::move(*section);
        warnings.insert(warnings.end(), section.warnings().begin(), section.warnings().end());
    }
    Result<LoadedRoute> loaded = LoadedRoute{std::move(built->route),
                                             {},
                                             {},
                                             paths,
                                             std::move(design->section),
                                             std::move(crossSection),
                                             std::move(design->ground),
                                             std::move(groundSections)};
    loaded.warnings() = routeWarningLines(warnings, shownFile);
    return loaded;
}

}  // namespace hcurve
