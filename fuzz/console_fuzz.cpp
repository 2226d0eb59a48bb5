// Arbitrary answer streams through the console front end's dialogue, in process: every session
// ends normally (status 0, or 1 when it stops while a question waits), and every message it shows
// is one of the program's own.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "console/console.h"
#include "support/program_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The export writes wherever a path points: keep it to relative paths, in the folder the
    // fuzzer runs in.
    if (input.find_first_of("/\\") != std::string::npos)
        return 0;
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream errors;
    const int status = hcurve::runConsole(in, out, errors);
    if (status != hcurve::kConsoleEnded && status != hcurve::kInputEndedInCommand)
        std::abort();
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("! ", 0) == 0 && !hcurve::fuzzing::isProgramMessage(line.substr(2))) {
            std::abort();
        }
    }
    return 0;
}
