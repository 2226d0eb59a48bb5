// Windows realisation of the libraries loaded at run time: LoadLibraryEx, from the program's
// folder and the system folder only (never the current folder).
#include <windows.h>

#include "platform/library_loading.h"
#include "platform/system_reason.h"
#include "platform/win32_support.h"

namespace hcurve::platform {

Result<void*> librarySymbol(const std::string& file, const char* symbol) {
    HMODULE library =
        ::LoadLibraryExW(wideText(file).c_str(), nullptr,
                         LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) {
        return Failure{file + ": " + systemReason(errorFromWindows(::GetLastError()))};
    }
    const FARPROC address = ::GetProcAddress(library, symbol);
    if (address == nullptr) {
        return Failure{file + ": " + symbol + ": " +
                       systemReason(errorFromWindows(::GetLastError()))};
    }
    return Result<void*>(reinterpret_cast<void*>(address));
}

}  // namespace hcurve::platform
