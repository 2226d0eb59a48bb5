// What main() asks of the system before anything else: its arguments and its standard streams as
// the rest of the program expects them everywhere (UTF-8 text, bytes as they are).
#pragma once

#include <string>
#include <vector>

namespace hcurve::platform {

/// The program's arguments as UTF-8, the program's name first. On POSIX they are argv; on
/// Windows they are read from the system's UTF-16 command line, since argv there is in the ANSI
/// code page, which cannot hold every Chinese file name.
std::vector<std::string> programArguments(int argc, char** argv);

/// Readies std::cin, std::cout and std::cerr: on Windows they pass bytes as they are (no CR
/// before each LF), and std::cout and std::cerr show UTF-8 text right in a console window. On
/// POSIX a reader that closes its end of a pipe makes a write fail with EPIPE (SIGPIPE ignored), as
/// on Windows, so that the program says so and ends with its status for an unwritable output.
void prepareStandardStreams();

}  // namespace hcurve::platform
