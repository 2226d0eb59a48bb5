#include "route_files/field_text.h"

#include "curve/shown_text.h"

namespace hcurve {

std::string_view trimmedField(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string upperLatin(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return u;
}

std::string quotedField(std::string_view text) {
    return "“" + shownText(text) + "”";
}

}  // namespace hcurve
