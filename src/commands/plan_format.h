// The file formats a plan is drawn in (PNG, SVG, PDF), chosen by a path's extension: what
// 保存平面图 accepts, and what the drawing in the window's Qt part writes.
#pragma once

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

namespace hcurve {

enum class PlanFormat { Png, Svg, Pdf };

/// The format a path's extension (.png, .svg, .pdf, in any case) asks for; nothing for any other.
inline std::optional<PlanFormat> planFormatOf(const std::string& path) {
    const std::size_t dot = path.find_last_of("./\\");
    if (dot == std::string::npos || path[dot] != '.')
        return std::nullopt;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "png")
        return PlanFormat::Png;
    if (extension == "svg")
        return PlanFormat::Svg;
    if (extension == "pdf")
        return PlanFormat::Pdf;
    return std::nullopt;
}

}  // namespace hcurve
