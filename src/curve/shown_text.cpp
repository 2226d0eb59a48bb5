#include "curve/shown_text.h"

#include <cstdio>

namespace hcurve {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// The length of the valid UTF-8 sequence at text[i], or 0 when the byte there starts none
// (overlong forms, surrogates and code points above U+10FFFF are not valid).
std::size_t validSequence(std::string_view text, std::size_t i, char32_t& c) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    char32_t min;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(k) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

// The characters that turn the direction of the text around them (the embeddings, overrides and
// isolates, and the marks): shown as such, a name "abc\u202Etxt.exe" cannot read as another.
bool turnsDirection(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

std::string shownText(std::string_view typed) {
    // The printable ASCII at its start as it is, at once (mostly the whole text).
    std::size_t plain = 0;
    while (plain < typed.size() && typed[plain] >= 0x20 && typed[plain] < 0x7F)
        ++plain;
    std::string shown;
    shown.reserve(typed.size());
    shown.append(typed.substr(0, plain));
    char escape[8];
    for (std::size_t i = plain; i < typed.size();) {
        char32_t c = 0;
        const std::size_t length = validSequence(typed, i, c);
        if (length == 0) {
            shown += kReplacement;
            ++i;
            continue;
        }
        if (c < 0x20 || c == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
            shown += escape;
        } else if ((c >= 0x80 && c <= 0x9F) || turnsDirection(c)) {
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
            shown += escape;
        } else {
            shown.append(typed.substr(i, length));
        }
        i += length;
    }
    return shown;
}

}  // namespace hcurve
