#include "patterns/runtime_error.h"

namespace patterns {

std::string ErrorMessage(int number) {
  switch (number) {
    case kErrInvalidProcedureCall:
      return "无效的过程调用或参数";
    case kErrOverflow:
      return "溢出";
    case kErrTypeMismatch:
      return "类型不匹配";
    default:
      return "应用程序定义的错误或对象定义的错误";
  }
}

void Raise(int number) { throw RuntimeError(number, ErrorMessage(number)); }

}  // namespace patterns
