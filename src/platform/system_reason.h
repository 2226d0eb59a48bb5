// The system's reason for a failure as the user reads it: in Chinese for the common cases.
#pragma once

#include <string>

namespace hcurve::platform {

/// "没有这个文件或文件夹" for ENOENT, "没有权限" for EACCES and EPERM, "文件系统是只读的" for
/// EROFS, "磁盘已满" for ENOSPC and EDQUOT, "文件名太长" for ENAMETOOLONG, "这是一个文件夹" for
/// EISDIR, "文件已存在" for EEXIST, "接收的一方已关闭" for EPIPE,
/// "没有打开" for EBADF, "文件正被另一个程序使用" for EBUSY (on Windows: a file another program
/// holds open), "只能写入普通文件、管道或字符设备" for ENOTSUP (a file writer given a block device,
/// a socket or another such node), "符号链接绕成了圈，指不到文件" for ELOOP; any other error as
/// otherSystemReason gives it; 0 as "写入出错".
std::string systemReason(int error);

/// An error systemReason has no words of its own for: "系统错误（" + the system's own text + "）".
/// On Windows, minus a Windows error code (errorFromWindows) is read as that code.
std::string otherSystemReason(int error);

}  // namespace hcurve::platform
