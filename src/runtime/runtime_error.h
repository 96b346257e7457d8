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

namespace runtime {

// Error numbers, as the classic runtime numbers them.
enum ErrorCode : int {
  kErrInvalidProcedureCall = 5,
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrTypeMismatch = 13,
  kErrBadFileName = 52,
  kErrFileNotFound = 53,
  kErrDiskFull = 61,
  kErrPermissionDenied = 70,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
  kErrApplicationDefined = 1004,
};

// The standard text of an error number; numbers without one get the generic
// "application-defined" text rather than an empty box.
std::string_view StandardErrorText(int number);

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
