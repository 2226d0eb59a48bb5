// The tree by XmlLite, which every Windows since Vista has (xmllite.dll). MinGW has its header
// but no import library: the library is loaded when a document is parsed.
#include <windows.h>

#include <objbase.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <algorithm>
#include <utility>

#include "platform/win32_support.h"
#include "platform/xml_tree.h"

namespace hcurve::platform {
namespace {

using CreateReader = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
using CreateInput = HRESULT(WINAPI*)(IUnknown*, IMalloc*, LPCWSTR, BOOL, LPCWSTR,
                                     IXmlReaderInput**);

// A COM object released when it goes.
template <class T>
struct Held {
    T* p = nullptr;
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (p)
            p->Release();
    }
};

struct Library {
    HMODULE module = LoadLibraryW(L"xmllite.dll");
    Library() = default;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library() {
        if (module)
            FreeLibrary(module);
    }
    template <class F>
    F function(const char* name) const {
        return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                      : nullptr;
    }
};

XmlFault faultOf(HRESULT result) {
    switch (static_cast<unsigned long>(result)) {
        case WC_E_ELEMENTMATCH:
        case MX_E_INPUTEND:  // the text ends inside an element
            return XmlFault::EndTagMismatch;
        case WC_E_NAME:
        case WC_E_NAMECHARACTER:
        case NC_E_QNAMECHARACTER:
            return XmlFault::IncompleteTag;
        case WC_E_QUOTE:
        case WC_E_EQUAL:
        case WC_E_UNIQUEATTRIBUTE:
            return XmlFault::BadAttribute;
        case static_cast<unsigned long>(E_OUTOFMEMORY):
            return XmlFault::OutOfMemory;
        default:
            return XmlFault::Other;
    }
}

// The text with its prolog declaring UTF-8: XmlLite is told that the text is UTF-8, but Wine's
// refuses a prolog that names another encoding (GBK) all the same. Lines keep their numbers.
std::string declaringUtf8(std::string_view text) {
    std::string out(text);
    if (text.substr(0, 5) != "<?xml")
        return out;
    const std::size_t end = text.find("?>");
    const std::size_t at = text.substr(0, end).find("encoding");
    if (at == std::string_view::npos)
        return out;
    const std::size_t open = text.find_first_of("\"'", at);
    if (open == std::string_view::npos || open > end)
        return out;
    const std::size_t close = text.find(text[open], open + 1);
    if (close == std::string_view::npos || close > end)
        return out;
    return out.replace(open + 1, close - open - 1, "UTF-8");
}

std::string utf8Of(const WCHAR* text, UINT length) {
    return utf8Text(std::wstring_view(text, length));
}

}  // namespace

XmlTree parseXml(std::string_view utf8Text) {
    XmlTree tree;
    tree.fault = XmlFault::Other;
    const Library library;
    const auto createReader = library.function<CreateReader>("CreateXmlReader");
    const auto createInput = library.function<CreateInput>("CreateXmlReaderInputWithEncodingName");
    if (!createReader || !createInput) {
        tree.fault = XmlFault::NoParser;
        return tree;
    }
    const std::string text = declaringUtf8(utf8Text);
    Held<IStream> stream;
    stream.p = SHCreateMemStream(reinterpret_cast<const BYTE*>(text.data()),
                                 static_cast<UINT>(text.size()));
    Held<IXmlReader> reader;
    Held<IXmlReaderInput> input;
    if (!stream.p ||
        FAILED(createReader(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader.p), nullptr)))
        return tree;
    // UTF-8 whatever the prolog declares: the caller has decoded the text already.
    if (FAILED(createInput(stream.p, nullptr, L"utf-8", FALSE, nullptr, &input.p)))
        return tree;
    reader.p->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    reader.p->SetProperty(XmlReaderProperty_MaxElementDepth, 0);
    if (FAILED(reader.p->SetInput(input.p)))
        return tree;

    std::vector<XmlElement*> open;
    std::vector<bool> hasText;
    std::vector<std::pair<UINT, UINT> > openAt;  // where each open element's start tag is
    XmlNodeType type;
    HRESULT result;
    UINT line = 1, position = 0, lastLine = 1, lastPosition = 0;
    XmlNodeType lastType = XmlNodeType_None;
    bool cutOff = false;
    while ((result = reader.p->Read(&type)) == S_OK) {
        reader.p->GetLineNumber(&line);
        reader.p->GetLinePosition(&position);
        // Where the text ends inside an element, Wine's XmlLite closes the open elements with end
        // tags where they start, or gives the same node again and again.
        if ((type == XmlNodeType_EndElement && !openAt.empty() &&
             openAt.back() == std::pair{line, position}) ||
            (type == lastType && line == lastLine && position == lastPosition)) {
            cutOff = true;
            break;
        }
        lastType = type;
        lastLine = line;
        lastPosition = position;
        const WCHAR* s = nullptr;
        UINT n = 0;
        if (type == XmlNodeType_Element) {
            XmlElement& e = tree.elements.emplace_back();
            e.line = static_cast<int>(line);
            reader.p->GetQualifiedName(&s, &n);
            e.name = utf8Of(s, n);
            const bool empty = reader.p->IsEmptyElement();
            for (HRESULT a = reader.p->MoveToFirstAttribute(); a == S_OK;
                 a = reader.p->MoveToNextAttribute()) {
                const WCHAR* v = nullptr;
                UINT m = 0;
                reader.p->GetQualifiedName(&s, &n);
                reader.p->GetValue(&v, &m);
                e.attributes.emplace_back(utf8Of(s, n), utf8Of(v, m));
            }
            reader.p->MoveToElement();
            if (!open.empty())
                open.back()->children.push_back(&e);
            if (!empty) {
                open.push_back(&e);
                hasText.push_back(false);
                openAt.emplace_back(line, position);
            }
        } else if (type == XmlNodeType_EndElement) {
            if (!open.empty()) {
                open.pop_back();
                hasText.pop_back();
                openAt.pop_back();
            }
        } else if (type == XmlNodeType_Text || type == XmlNodeType_CDATA) {
            if (!open.empty() && !hasText.back()) {
                reader.p->GetValue(&s, &n);
                open.back()->text = utf8Of(s, n);
                hasText.back() = true;
            }
        }
    }
    if (cutOff) {
        // On the line of the last node read, as pugixml has it.
        tree.fault = XmlFault::EndTagMismatch;
        tree.faultLine = std::max(1, static_cast<int>(lastLine));
        tree.elements.clear();
        return tree;
    }
    reader.p->GetLineNumber(&line);
    tree.faultLine = std::max(1, static_cast<int>(line));
    if (tree.elements.empty() &&
        (result == S_FALSE || static_cast<unsigned long>(result) == MX_E_INPUTEND)) {
        // As pugixml has it: on the text's last line.
        tree.fault = XmlFault::NoElement;
        tree.faultLine = 1 + static_cast<int>(std::count(utf8Text.begin(), utf8Text.end(), '\n'));
    } else if (FAILED(result)) {
        tree.fault = faultOf(result);
    } else if (!open.empty()) {
        tree.fault = XmlFault::EndTagMismatch;
    } else {
        tree.fault = XmlFault::None;
    }
    if (tree.fault != XmlFault::None)
        tree.elements.clear();
    return tree;
}

}  // namespace hcurve::platform
