#include "platform/xml_tree.h"

namespace hcurve::platform {

const std::string* XmlElement::attribute(std::string_view attributeName) const {
    for (const auto& [n, v] : attributes)
        if (n == attributeName)
            return &v;
    return nullptr;
}

}  // namespace hcurve::platform
