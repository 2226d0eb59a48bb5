#include "route_files/route_loading.h"

#include <algorithm>

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
    for (const std::string& path : chosen) {
        const std::string shownPath = shownText(path);
        const Result<std::string> bytes = routeFileBytes(path);
        if (!bytes)
            return bytes.failure();
        if (looksLikeLandXml(path, *bytes)) {
            if (paths.size() != 1)
                return Failure{"hcurve: LandXML 文件“" + shownPath +
                               "”要单独读，不能与别的文件一起读。"};
            Result<LoadedRoute> xml = loadLandXmlRoute(shownPath, *bytes, alignment);
            if (xml)
                xml->files = paths;
            return xml;
        }
        Result<std::string> text = routeFileText(shownPath, *bytes);
        if (!text)
            return text.failure();
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
    std::optional<CrossSection> crossSection;
    if (design->section.templateTable) {
        Result<CrossSection> section = buildCrossSection(design->section, built->route);
        if (!section)
            return Result<LoadedRoute>::failed(routeFaultLines(section.failures(), shownFile));
        crossSection = std::move(*section);
        warnings.insert(warnings.end(), section.warnings().begin(), section.warnings().end());
    }
    Result<LoadedRoute> loaded =
        LoadedRoute{std::move(built->route), {}, {}, paths, std::move(design->section),
                    std::move(crossSection)};
    loaded.warnings() = routeWarningLines(warnings, shownFile);
    return loaded;
}

}  // namespace hcurve
