// The error the generators raise when a value cannot be converted or does not
// fit. The runtime catches it at the event boundary and shows its number and
// message to the user ("运行时错误 '13':" followed by the message).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace patterns {

// Error numbers, as the classic runtime numbers them: the one table of numbers and texts for the
// generators and the runtime alike.
enum ErrorNumber : int {
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

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& message) : std::runtime_error(message), number_(number) {}

  int Number() const noexcept { return number_; }
  std::string Message() const { return what(); }

 private:
  int number_;
};

// The standard text the user reads for one of the numbers above; an unknown
// number gets the generic "application-defined" text rather than an empty box.
std::string_view StandardErrorText(int number);
inline std::string ErrorMessage(int number) { return std::string(StandardErrorText(number)); }

[[noreturn]] void Raise(int number);

}  // namespace patterns
