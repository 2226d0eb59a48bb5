#include "route_cli/text_decoding.h"

#include "platform/text_encoding.h"

namespace hcurve {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Continuation bytes a lead byte asks for, and the smallest code point it may encode.
struct Lead {
    int continuation;
    unsigned minimum;
};

std::optional<Lead> leadOf(unsigned char c) {
    if (c < 0x80)
        return Lead{0, 0};
    if ((c & 0xE0) == 0xC0)
        return Lead{1, 0x80};
    if ((c & 0xF0) == 0xE0)
        return Lead{2, 0x800};
    if ((c & 0xF8) == 0xF0)
        return Lead{3, 0x10000};
    return std::nullopt;
}

}  // namespace

bool isUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        std::optional<Lead> lead = leadOf(c);
        if (!lead)
            return false;
        unsigned code = lead->continuation == 0 ? c : (c & (0x3Fu >> lead->continuation));
        for (int k = 1; k <= lead->continuation; ++k) {
            if (i + static_cast<std::size_t>(k) >= bytes.size())
                return false;
            const unsigned char b =
                static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((b & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (b & 0x3Fu);
        }
        if (code < lead->minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(lead->continuation) + 1;
    }
    return true;
}

std::optional<std::string> routeTextAsUtf8(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    if (isUtf8(bytes))
        return std::string(bytes);
    return gbkToUtf8(bytes);
}

std::optional<std::string> gbkToUtf8(std::string_view bytes) {
    return platform::gbkToUtf8(bytes);
}

}  // namespace hcurve
