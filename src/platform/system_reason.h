// The system's reason for a failure as the user reads it: in Chinese for the common cases.
#pragma once

#include <string>

namespace hcurve::platform {

/// "没有这个文件或文件夹" for ENOENT, "没有权限" for EACCES and EPERM, "文件系统是只读的" for
/// EROFS, "磁盘已满" for ENOSPC and EDQUOT, "文件名太长" for ENAMETOOLONG, "这是一个文件夹" for
/// EISDIR, "文件已存在" for EEXIST, "接收的一方已关闭" for EPIPE,
/// "没有打开" for EBADF, "只能写入普通文件、管道或字符设备" for ENOTSUP (a file writer given a
/// block device or a socket); any other error as "系统错误（" + the system's own text + "）";
/// 0 as "写入出错".
std::string systemReason(int error);

}  // namespace hcurve::platform
