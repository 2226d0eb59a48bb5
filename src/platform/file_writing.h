// Every file the program writes: replaced only by a complete new one, through FileReplacement.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "curve/result.h"

namespace hcurve {

/// Takes the next piece of a file; false once the file can no longer be written.
using FilePut = std::function<bool(std::string_view bytes)>;

/// Writes the file at path (UTF-8) piece by piece, as produce hands the pieces to put, through a
/// temporary file beside it that is put on the disk and then renamed over it: an existing file is
/// replaced only by a complete new one, keeping its permissions, and only where the user may write
/// it ("没有权限" otherwise); a path that is a symbolic link is written through to its file and the
/// link stays; a pipe or character device gets the content written into it, never a file in its
/// place. Done, or the failure, naming the path and the reason (and then no temporary file is left
/// behind).
Result<void> writeFileReplacing(const std::string& path,
                                const std::function<void(const FilePut&)>& produce);

/// The same for bytes at hand.
Result<void> writeFileReplacing(const std::string& path, const std::string& bytes);

/// Why a result may not go to target while inputs are being read: "无法写入文件“target”：它就是
/// 输入文件“input”，结果不能写在输入上。" when target leads to one of them, by the same name,
/// another path, a symbolic link or a hard link (platform::sameFile); done otherwise. Asked before
/// anything is computed, so that an input is never lost to the output made from it.
Result<void> inputAsTarget(const std::string& target, const std::vector<std::string>& inputs);

/// "无法写入文件“path”：reason。", the path as it may be shown.
std::string cannotWriteMessage(const std::string& path, const std::string& reason);

}  // namespace hcurve
