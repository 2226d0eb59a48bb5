// POSIX realisation of the libraries loaded at run time: dlopen.
#include <dlfcn.h>

#include "platform/library_loading.h"

namespace hcurve::platform {

Result<void*> librarySymbol(const std::string& file, const char* symbol) {
#ifdef __EMSCRIPTEN__
    // The browser build is one module: emscripten's dlopen needs a build of its own (a main
    // module and side modules) and aborts the program otherwise.
    return Failure{file + ": " + symbol + ": the browser build loads no libraries"};
#else
    // Every symbol bound at once, so that a library that cannot work fails here and not in the
    // middle of a drawing; its own symbols stay its own.
    void* library = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        return Failure{reason != nullptr ? reason : file};
    }
    ::dlerror();
    void* address = ::dlsym(library, symbol);
    if (address == nullptr) {
        const char* reason = ::dlerror();
        return Failure{reason != nullptr ? reason : file + ": " + symbol};
    }
    return address;
#endif
}

}  // namespace hcurve::platform
