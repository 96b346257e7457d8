#include "patterns/runtime_error.h"

namespace patterns {

std::string_view StandardErrorText(int number) {
  switch (number) {
    case kErrInvalidProcedureCall:
      return "无效的过程调用或参数";
    case kErrOverflow:
      return "溢出";
    case kErrOutOfMemory:
      return "内存溢出";
    case kErrTypeMismatch:
      return "类型不匹配";
    case kErrBadFileName:
      return "错误的文件名或号码";
    case kErrFileNotFound:
      return "文件未找到";
    case kErrDiskFull:
      return "磁盘已满";
    case kErrPermissionDenied:
      return "拒绝的权限";
    case kErrPathFileAccess:
      return "路径/文件访问错误";
    case kErrPathNotFound:
      return "路径未找到";
    default:
      return "应用程序定义的错误或对象定义的错误";
  }
}

void Raise(int number) { throw RuntimeError(number, ErrorMessage(number)); }

}  // namespace patterns
