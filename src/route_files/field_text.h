// The small text steps every reader of the route's files takes with a field: trimmed of the
// blanks around it, its Latin letters in one case for titles written in either, and quoted for a
// message so that what the file held is shown as characters.
#pragma once

#include <string>
#include <string_view>

namespace hcurve {

/// The field without the blanks, tabs and carriage returns before and after it.
std::string_view trimmedField(std::string_view s);

/// The text with its Latin letters a to z as capitals; every other byte as it is.
std::string upperLatin(std::string_view s);

/// The text between Chinese quotation marks, made safe to show (shownText).
std::string quotedField(std::string_view text);

}  // namespace hcurve
