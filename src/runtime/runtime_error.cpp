#include "runtime/runtime_error.h"

#include <cerrno>
#include <new>
#include <system_error>
#include <utility>

#include "patterns/runtime_error.h"

namespace runtime {

namespace {

std::string ReasonOf(int os_error) { return std::error_code(os_error, std::generic_category()).message(); }

std::string FileErrorWhat(int number, const std::string& path, const std::string& reason) {
  return "运行时错误 '" + std::to_string(number) + "': " + std::string(StandardErrorText(number)) + ": " +
         path + ": " + reason;
}

std::string FileDetail(const FileError& error) {
  return "文件：" + error.Path() + "\n原因：" + error.Reason();
}

}  // namespace

FileError::FileError(int number, std::string path, int os_error)
    : FileError(number, std::move(path), os_error, ReasonOf(os_error)) {}

FileError::FileError(int number, std::string path, int os_error, std::string reason)
    : std::runtime_error(FileErrorWhat(number, path, reason)),
      number_(number),
      path_(std::move(path)),
      os_error_(os_error),
      reason_(std::move(reason)) {}

int FileErrorNumberFor(int os_error) {
  switch (os_error) {
    case ENOENT:
    case ENOTDIR:
      return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return kErrPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kErrDiskFull;
    case ENAMETOOLONG:
    case EINVAL:
      return kErrBadFileName;
    default:
      return kErrPathFileAccess;
  }
}

ErrorBox FormatRuntimeError(std::string_view title, int number, std::string_view description,
                            std::string_view detail) {
  std::string text = "运行时错误 '" + std::to_string(number) + "':\n\n";
  text += description.empty() ? StandardErrorText(number) : description;
  if (!detail.empty()) {
    text += "\n\n";
    text += detail;
  }
  return ErrorBox{std::string(title), std::move(text)};
}

ErrorBox FormatRuntimeError(std::string_view title, const FileError& error) {
  return FormatRuntimeError(title, error.Number(), {}, FileDetail(error));
}

ErrorBox DescribeError(std::string_view title, std::exception_ptr error) {
  if (!error) return FormatRuntimeError(title, kErrApplicationDefined, {});
  try {
    std::rethrow_exception(error);
  } catch (const patterns::RuntimeError& e) {
    return FormatRuntimeError(title, e.Number(), e.Message());
  } catch (const FileError& e) {
    return FormatRuntimeError(title, e);
  } catch (const std::bad_alloc&) {
    return FormatRuntimeError(title, kErrOutOfMemory, {});
  } catch (const std::exception& e) {
    return FormatRuntimeError(title, kErrApplicationDefined, {}, e.what());
  } catch (...) {
    return FormatRuntimeError(title, kErrApplicationDefined, {});
  }
}

}  // namespace runtime
