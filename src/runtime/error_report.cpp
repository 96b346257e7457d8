#include "runtime/error_report.h"

#include <cstdio>

namespace runtime {
namespace {

// The box goes to the error stream as well, so a failure leaves a trace
// after the box is gone.
void StandardReporter(HWND owner, const ErrorBox& box) {
  std::fprintf(stderr, "%s: %s\n", box.title.c_str(), box.text.c_str());
  MessageBoxA(owner, box.text.c_str(), box.title.c_str(), MB_ICONERROR | MB_OK);
}

ErrorReporter& Current() {
  static ErrorReporter reporter = StandardReporter;
  return reporter;
}

}  // namespace

void SetErrorReporter(ErrorReporter reporter) {
  Current() = reporter ? std::move(reporter) : StandardReporter;
}

void ReportError(HWND owner, std::string_view title, std::exception_ptr error) noexcept {
  try {
    ShowError(owner, DescribeError(title, error));
  } catch (...) {
    std::fputs("huiwenfang: an error could not be reported\n", stderr);
  }
}

void ShowError(HWND owner, const ErrorBox& box) noexcept {
  try {
    Current()(owner, box);
  } catch (...) {
    std::fputs("huiwenfang: an error could not be reported\n", stderr);
  }
}

}  // namespace runtime
