// Windows realisation of the program's start: the UTF-16 command line, and standard streams in
// binary mode, with a console window written in UTF-16.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <iostream>

#include "platform/process_start.h"
#include "platform/standard_streams.h"
#include "platform/win32_support.h"

namespace hcurve::platform {
namespace {

bool isConsole(int fd) {
    const intptr_t handle = ::_get_osfhandle(fd);
    DWORD mode;
    return handle != -1 && handle != -2 &&
           ::GetConsoleMode(reinterpret_cast<HANDLE>(handle), &mode);
}

}  // namespace

std::vector<std::string> programArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8Text(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

void prepareStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd)
        ::_setmode(fd, _O_BINARY);
    // The buffers live as long as the streams: std::cout is flushed at the very end of the
    // program, after every static object is gone.
    if (isConsole(1))
        std::cout.rdbuf(new OutputDescriptorBuffer(1));
    if (isConsole(2))
        std::cerr.rdbuf(new OutputDescriptorBuffer(2));
}

}  // namespace hcurve::platform
