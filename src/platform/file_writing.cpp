#include "platform/file_writing.h"

#include <algorithm>

#include "curve/shown_text.h"
#include "platform/file_replacement.h"
#include "platform/system_reason.h"

namespace hcurve {

std::string cannotWriteMessage(const std::string& path, const std::string& reason) {
    return "无法写入文件“" + shownText(path) + "”：" + reason + "。";
}

Result<void> inputAsTarget(const std::string& target, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        if (platform::sameFile(target, input))
            return Failure{cannotWriteMessage(
                target, "它就是输入文件“" + shownText(input) + "”，结果不能写在输入上")};
    }
    return done();
}

Result<void> writeFileReplacing(const std::string& path,
                                const std::function<void(const FilePut&)>& produce) {
    // A NUL would cut the name short for the system, so the bytes would land in another file
    // while the message named this one; other control characters make names nobody can type.
    const bool controlCharacter = std::any_of(path.begin(), path.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
    if (controlCharacter)
        return Failure{cannotWriteMessage(path, "文件名不能含有控制字符")};
    platform::FileReplacement file;
    if (const int error = file.open(path))
        return Failure{cannotWriteMessage(path, platform::systemReason(error))};
    produce([&file](std::string_view bytes) { return file.write(bytes) == 0; });
    if (const int error = file.commit())
        return Failure{cannotWriteMessage(path, platform::systemReason(error))};
    return done();
}

Result<void> writeFileReplacing(const std::string& path, const std::string& bytes) {
    return writeFileReplacing(path, [&bytes](const FilePut& put) { put(bytes); });
}

}  // namespace hcurve
