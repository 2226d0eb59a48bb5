// The tree by pugixml.
#include <algorithm>
#include <pugixml.hpp>
#include <utility>

#include "platform/xml_tree.h"

namespace hcurve::platform {
namespace {

XmlFault faultOf(pugi::xml_parse_status status) {
    switch (status) {
        case pugi::status_unrecognized_tag:
        case pugi::status_bad_start_element:
            return XmlFault::IncompleteTag;
        case pugi::status_end_element_mismatch:
            return XmlFault::EndTagMismatch;
        case pugi::status_bad_end_element:
            return XmlFault::BadEndTag;
        case pugi::status_bad_attribute:
            return XmlFault::BadAttribute;
        case pugi::status_no_document_element:
            return XmlFault::NoElement;
        case pugi::status_out_of_memory:
            return XmlFault::OutOfMemory;
        default:
            return XmlFault::Other;
    }
}

}  // namespace

XmlTree parseXml(std::string_view utf8Text) {
    XmlTree tree;
    std::vector<std::size_t> lineStarts{0};
    for (std::size_t i = 0; i < utf8Text.size(); ++i)
        if (utf8Text[i] == '\n')
            lineStarts.push_back(i + 1);
    const auto lineAt = [&](std::ptrdiff_t offset) {
        if (offset < 0)
            return 1;
        const auto it = std::upper_bound(lineStarts.begin(), lineStarts.end(),
                                         static_cast<std::size_t>(offset));
        return static_cast<int>(it - lineStarts.begin());
    };
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(utf8Text.data(), utf8Text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        tree.fault = faultOf(parsed.status);
        tree.faultLine = lineAt(parsed.offset);
        return tree;
    }
    // Without recursion: a document nested deep does not run the stack out.
    std::vector<std::pair<pugi::xml_node, XmlElement*> > pending{{doc.document_element(), nullptr}};
    while (!pending.empty()) {
        const auto [node, parent] = pending.back();
        pending.pop_back();
        XmlElement& e = tree.elements.emplace_back();
        e.name = node.name();
        e.line = lineAt(node.offset_debug());
        for (const pugi::xml_attribute& a : node.attributes())
            e.attributes.emplace_back(a.name(), a.value());
        e.text = node.child_value();
        if (parent)
            parent->children.push_back(&e);
        std::vector<pugi::xml_node> kids;
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
            if (c.type() == pugi::node_element)
                kids.push_back(c);
        for (auto it = kids.rbegin(); it != kids.rend(); ++it)
            pending.emplace_back(*it, &e);
    }
    return tree;
}

}  // namespace hcurve::platform
