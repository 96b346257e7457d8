// The error the generators raise when a value cannot be converted or does not
// fit. The runtime catches it at the event boundary and shows its number and
// message to the user ("运行时错误 '13':" followed by the message).
#pragma once

#include <stdexcept>
#include <string>

namespace patterns {

enum ErrorNumber : int {
  kErrInvalidProcedureCall = 5,
  kErrOverflow = 6,
  kErrTypeMismatch = 13,
};

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& message) : std::runtime_error(message), number_(number) {}

  int Number() const noexcept { return number_; }
  std::string Message() const { return what(); }

 private:
  int number_;
};

// The message the user reads for one of the numbers above; an unknown number
// gets a generic text rather than an empty box.
std::string ErrorMessage(int number);

[[noreturn]] void Raise(int number);

}  // namespace patterns
