// Where a failed event handler's error goes. The form catches every
// exception at the place it raised the event and hands it here; the program
// then goes on with the next event.
#pragma once

#include <exception>
#include <functional>
#include <string_view>

#include "platform/win32.h"
#include "runtime/runtime_error.h"

namespace runtime {

using ErrorReporter = std::function<void(HWND owner, const ErrorBox& box)>;

// Replaces the reporter (tests record the boxes); an empty function restores
// the standard one.
void SetErrorReporter(ErrorReporter reporter);

// Describes the error and shows it, owned by `owner`. Never throws.
void ReportError(HWND owner, std::string_view title, std::exception_ptr error) noexcept;

// Shows a box described before: one a reporter kept for later, or one the
// program words itself (what is wrong with a pasted code, say). Never throws.
void ShowError(HWND owner, const ErrorBox& box) noexcept;

}  // namespace runtime
