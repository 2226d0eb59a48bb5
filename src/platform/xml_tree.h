// An XML document as a plain tree, parsed by the system's XML library (pugixml on Linux, the
// system's XmlLite on Windows), so that the readers of XML files walk one tree in every build.
// Names are as written (a prefix kept); nothing of namespaces is resolved.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hcurve::platform {

struct XmlElement {
    std::string name;                                              // as written: "lx:Line"
    std::vector<std::pair<std::string, std::string> > attributes;  // in document order, unescaped
    std::string text;  // the first run of text inside it that is not blank only; empty when none
    int line = 1;      // of its start tag
    std::vector<const XmlElement*> children;

    /// The attribute's value, or null when it has none.
    const std::string* attribute(std::string_view attributeName) const;
};

/// How a document failed to parse; the libraries tell these kinds apart where they can, Other
/// where they cannot.
enum class XmlFault {
    None,
    IncompleteTag,   // a tag broken off or not well formed
    EndTagMismatch,  // an end tag that does not close the open element
    BadEndTag,       // an end tag written wrong, or missing at the end of the text
    BadAttribute,    // an attribute written wrong
    NoElement,       // no element at all
    OutOfMemory,
    NoParser,  // the system has no XML library
    Other,
};

struct XmlTree {
    std::deque<XmlElement> elements;  // the root first; references stay valid
    XmlFault fault = XmlFault::None;
    int faultLine = 1;

    const XmlElement* root() const { return elements.empty() ? nullptr : &elements.front(); }
};

/// The elements of a UTF-8 text (its prolog's encoding is not looked at: the text is UTF-8), or
/// the fault and its line.
XmlTree parseXml(std::string_view utf8Text);

}  // namespace hcurve::platform
