// A LandXML file as the route command and the route window read it: decoded by the encoding its
// prolog declares, read (route_files/landxml_reading.h) and built as every route is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "curve/result.h"
#include "route_files/landxml_reading.h"
#include "route_files/route_loading.h"

namespace hcurve {

/// The text of a LandXML file as UTF-8: UTF-8 (a byte-order mark kept), ISO-8859-1, or GBK (GB2312,
/// GB18030); or why it cannot be read.
Result<std::string> landXmlUtf8(std::string_view bytes);

/// The route of the alignment named (the first when alignment is null) of a LandXML file's bytes;
/// shownPath names the file in the messages.
Result<LoadedRoute> loadLandXmlRoute(const std::string& shownPath, std::string_view bytes,
                                     const std::string* alignment);

/// Every alignment of a LandXML file, or the failures that say why there are none.
Result<std::vector<LandXmlAlignment>> listLandXmlAlignments(const std::string& path);

/// The CSV of --alignments: 名称,长度,线元数.
std::string alignmentListCsv(const std::vector<LandXmlAlignment>& alignments);

}  // namespace hcurve
