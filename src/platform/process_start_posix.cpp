// POSIX realisation of the program's start: argv and the streams are as the program needs them.
#include <signal.h>

#include "platform/process_start.h"

namespace hcurve::platform {

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void prepareStandardStreams() {
    // A reader that leaves (`| head -1`) makes the next write fail with EPIPE, told like any other
    // output that cannot be written, instead of ending the program without a word.
    ::signal(SIGPIPE, SIG_IGN);
}

}  // namespace hcurve::platform
