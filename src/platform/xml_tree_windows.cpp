// The tree by XmlLite, which every Windows since Vista has (xmllite.dll). MinGW has its header
// but no import library: the library is loaded when a document is parsed.
#include <windows.h>

#include <objbase.h>
#include <shlwapi.h>
#include <xmllite.h>

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
            return XmlFault::EndTagMismatch;
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
    Held<IStream> stream;
    stream.p = SHCreateMemStream(reinterpret_cast<const BYTE*>(utf8Text.data()),
                                 static_cast<UINT>(utf8Text.size()));
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
    XmlNodeType type;
    HRESULT result;
    while ((result = reader.p->Read(&type)) == S_OK) {
        const WCHAR* s = nullptr;
        UINT n = 0;
        if (type == XmlNodeType_Element) {
            UINT line = 1;
            reader.p->GetLineNumber(&line);
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
            }
        } else if (type == XmlNodeType_EndElement) {
            if (!open.empty()) {
                open.pop_back();
                hasText.pop_back();
            }
        } else if (type == XmlNodeType_Text || type == XmlNodeType_CDATA) {
            if (!open.empty() && !hasText.back()) {
                reader.p->GetValue(&s, &n);
                open.back()->text = utf8Of(s, n);
                hasText.back() = true;
            }
        }
    }
    UINT line = 1;
    reader.p->GetLineNumber(&line);
    if (FAILED(result)) {
        tree.fault = faultOf(result);
        tree.faultLine = static_cast<int>(line);
    } else if (tree.elements.empty()) {
        tree.fault = XmlFault::NoElement;
        tree.faultLine = static_cast<int>(line);
    } else if (!open.empty()) {
        tree.fault = XmlFault::BadEndTag;
        tree.faultLine = static_cast<int>(line);
    } else {
        tree.fault = XmlFault::None;
    }
    if (tree.fault != XmlFault::None)
        tree.elements.clear();
    return tree;
}

}  // namespace hcurve::platform
