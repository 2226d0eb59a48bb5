// POSIX realisation of the program's start: argv and the streams are as the program needs them.
#include "platform/process_start.h"

namespace hcurve::platform {

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void prepareStandardStreams() {}

}  // namespace hcurve::platform
