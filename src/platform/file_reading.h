// Reading a whole file of bounded size: a folder, a missing file, a file without permission and a
// file too large are told apart, and an endless device is never read to its end.
#pragma once

#include <cstddef>
#include <string>

namespace hcurve::platform {

struct FileBytes {
    std::string bytes;
    int openError = 0;      // errno of opening the file (EISDIR for a folder); nothing read then
    int readError = 0;      // errno of a read that failed; the bytes read before it are kept
    bool tooLarge = false;  // the file holds more than the bytes asked for; nothing kept then
};

/// Reads at most maxBytes bytes of the file at path (UTF-8). A pipe or a device is read as it
/// comes, up to the limit, so that /dev/zero ends in tooLarge, not in running out of memory.
FileBytes readFileBounded(const std::string& path, std::size_t maxBytes);

}  // namespace hcurve::platform
