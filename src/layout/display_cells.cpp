#include "layout/display_cells.h"

#include <cstddef>

namespace hcurve {
namespace {

// Code point ranges of East Asian wide and fullwidth characters: Hangul, CJK symbols and
// punctuation, kana, CJK ideographs, fullwidth forms, and the wide emoji blocks.
struct Range {
    char32_t first;
    char32_t last;
};
constexpr Range kWideRanges[] = {
    {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},
    {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

bool isWide(char32_t c) {
    for (const Range& r : kWideRanges) {
        if (c >= r.first && c <= r.last)
            return true;
    }
    return false;
}

// Decodes the code point starting at text[i] and advances i past it; a byte that does not start
// a valid sequence is taken alone.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = lead < 0x80           ? 1
                 : (lead >> 5) == 0x6  ? 2
                 : (lead >> 4) == 0xE  ? 3
                 : (lead >> 3) == 0x1E ? 4
                                       : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
        ++i;
        return lead;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((next >> 6) != 0x2) {
            ++i;
            return lead;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    return c;
}

}  // namespace

int displayCells(std::string_view utf8) {
    int cells = 0;
    for (std::size_t i = 0; i < utf8.size();)
        cells += isWide(nextCodePoint(utf8, i)) ? 2 : 1;
    return cells;
}

}  // namespace hcurve
