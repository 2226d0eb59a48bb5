#include "alignment/route_design.h"

#include <string_view>
#include <utility>

namespace hcurve {

std::string faultText(const Failure& fault) {
    return "第 " + std::to_string(fault.line) + " 行：" + fault.message;
}

std::vector<Failure> warningLines(const std::vector<Failure>& warnings) {
    struct Kind {
        const Failure* first;
        std::size_t count;
    };
    std::vector<Kind> kinds;
    // Where each kind of each file stands in kinds.
    std::map<std::pair<std::string_view, std::size_t>, std::size_t> placeOf;
    for (const Failure& w : warnings) {
        if (w.kind.empty()) {
            kinds.push_back({&w, 1});
            continue;
        }
        const auto [it, added] =
            placeOf.emplace(std::pair{std::string_view(w.kind), w.file}, kinds.size());
        if (added)
            kinds.push_back({&w, w.count});
        else if (w.line < kinds[it->second].first->line)
            kinds[it->second] = {&w, kinds[it->second].count + w.count};
        else
            kinds[it->second].count += w.count;
    }
    std::vector<Failure> lines;
    for (const Kind& k : kinds) {
        const Failure& w = *k.first;
        if (k.count == 1) {
            lines.push_back({faultText(w), w.line, w.file});
            continue;
        }
        // A kind that starts with a Latin word stands apart from the count's 个.
        const bool latin =
            (w.kind[0] >= 'A' && w.kind[0] <= 'Z') || (w.kind[0] >= 'a' && w.kind[0] <= 'z');
        lines.push_back({std::to_string(k.count) + (latin ? " 个 " : " 个") + w.kind +
                             "（第一处：第 " + std::to_string(w.line) + " 行" +
                             (w.detail.empty() ? "" : "，" + w.detail) + "）；" + w.done + "。",
                         w.line, w.file});
    }
    return lines;
}

void addWarning(std::vector<Failure>& warnings, std::map<std::string, std::size_t>& places,
                Failure warning) {
    if (warning.kind.empty()) {
        warnings.push_back(std::move(warning));
        return;
    }
    const auto [it, added] = places.emplace(warning.kind, warnings.size());
    if (added) {
        warnings.push_back(std::move(warning));
        return;
    }
    Failure& first = warnings[it->second];
    warning.count += first.count;
    if (warning.line < first.line)
        first = std::move(warning);
    else
        first.count = warning.count;
}

}  // namespace hcurve
