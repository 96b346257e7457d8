// Runtime errors as the user sees them.
//
// A failure inside an event handler ends that handler; the place that raised
// the event catches it and shows one message box:
//
//   title:  the program's title
//   text:   运行时错误 '13':
//
//           类型不匹配
//
// File errors add the path and the system's reason on lines of their own.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

#include "patterns/runtime_error.h"

namespace runtime {

// The error numbers and their texts live with the generators, the lowest layer that raises them.
using ErrorCode = patterns::ErrorNumber;
using patterns::kErrApplicationDefined;
using patterns::kErrBadFileName;
using patterns::kErrDiskFull;
using patterns::kErrFileNotFound;
using patterns::kErrInvalidProcedureCall;
using patterns::kErrOutOfMemory;
using patterns::kErrOverflow;
using patterns::kErrPathFileAccess;
using patterns::kErrPathNotFound;
using patterns::kErrPermissionDenied;
using patterns::kErrTypeMismatch;
using patterns::StandardErrorText;

// A file operation of the runtime that failed. Carries the error number the
// failure maps to, the path exactly as it was given and the reason: the
// system's, or the runtime's own where it refused before the system was asked.
class FileError : public std::runtime_error {
 public:
  FileError(int number, std::string path, int os_error);
  FileError(int number, std::string path, int os_error, std::string reason);

  int Number() const noexcept { return number_; }
  const std::string& Path() const noexcept { return path_; }
  int OsError() const noexcept { return os_error_; }
  // strerror() of the system error, or the runtime's own reason.
  const std::string& Reason() const noexcept { return reason_; }

 private:
  int number_;
  std::string path_;
  int os_error_;
  std::string reason_;
};

// Which error number a system errno becomes when a file cannot be written:
// missing folders are "path not found", refused access "permission denied", a
// full disk "disk full", anything else "path/file access error".
int FileErrorNumberFor(int os_error);

struct ErrorBox {
  std::string title;
  std::string text;
};

// `description` empty takes the standard text of the number; `detail`, when
// given, follows after a blank line.
ErrorBox FormatRuntimeError(std::string_view title, int number, std::string_view description,
                            std::string_view detail = {});

ErrorBox FormatRuntimeError(std::string_view title, const FileError& error);

// The box for an exception caught at an event boundary: the generators'
// numbered errors, file errors, running out of memory, and as a last resort
// any other exception with its own text under the generic number.
ErrorBox DescribeError(std::string_view title, std::exception_ptr error);

}  // namespace runtime
