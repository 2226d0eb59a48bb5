#include "platform/system_reason.h"

#include <cerrno>

namespace hcurve::platform {

std::string systemReason(int error) {
    switch (error) {
        case 0:
            return "写入出错";
        case ENOENT:
            return "没有这个文件或文件夹";
        case EACCES:
        case EPERM:
            return "没有权限";
        case EROFS:
            return "文件系统是只读的";
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return "磁盘已满";
        case ENAMETOOLONG:
            return "文件名太长";
        case EISDIR:
            return "这是一个文件夹";
        case EEXIST:
            return "文件已存在";
        case EPIPE:
            return "接收的一方已关闭";
        case EBADF:
            return "没有打开";
        case EBUSY:
            return "文件正被另一个程序使用";
        case ENOTSUP:
            return "只能写入普通文件、管道或字符设备";
        case ELOOP:
            return "符号链接绕成了圈，指不到文件";
        default:
            return otherSystemReason(error);
    }
}

}  // namespace hcurve::platform
