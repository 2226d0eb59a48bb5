// Libraries loaded at run time, as the program loads its Qt part: a symbol found and called, and
// the failures told with what was asked for.
#include "platform/library_loading.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace hcurve::platform {
namespace {

// A library every system has and a function in it that answers the same as the one linked in.
#ifdef _WIN32
constexpr char kSystemLibrary[] = "kernel32.dll";
constexpr char kProcessIdFunction[] = "GetCurrentProcessId";
using ProcessId = DWORD(WINAPI*)();
unsigned long ownProcessId() {
    return ::GetCurrentProcessId();
}
#else
constexpr char kSystemLibrary[] = "libc.so.6";
constexpr char kProcessIdFunction[] = "getpid";
using ProcessId = pid_t (*)();
unsigned long ownProcessId() {
    return static_cast<unsigned long>(::getpid());
}
#endif

TEST(LibraryLoading, FindsASymbolThatWorks) {
    const Result<void*> found = librarySymbol(kSystemLibrary, kProcessIdFunction);
    ASSERT_TRUE(found) << found.failure().message;
    EXPECT_EQ(static_cast<unsigned long>(reinterpret_cast<ProcessId>(*found)()), ownProcessId());
    // Asked again, the library is the one already loaded.
    const Result<void*> again = librarySymbol(kSystemLibrary, kProcessIdFunction);
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, *found);
}

TEST(LibraryLoading, FailuresNameWhatWasAskedFor) {
    struct Case {
        const char* file;
        const char* symbol;
        const char* named;  // what the failure holds
    };
    const Case cases[] = {
        {"libhcurve-no-such-library.so", "f", "libhcurve-no-such-library.so"},
        {kSystemLibrary, "hcurve_no_such_symbol", "hcurve_no_such_symbol"},
    };
    for (const Case& c : cases) {
        const Result<void*> found = librarySymbol(c.file, c.symbol);
        ASSERT_FALSE(found) << c.file;
        EXPECT_NE(found.failure().message.find(c.named), std::string::npos)
            << found.failure().message;
    }
}

}  // namespace
}  // namespace hcurve::platform
