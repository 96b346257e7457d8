// Text on the clipboard through the platform's Win32 calls: CF_TEXT, which
// is UTF-8 here.
#pragma once

#include <optional>
#include <string>

#include "platform/win32.h"

namespace app {

// False when the clipboard cannot be opened or take the text.
bool PutClipboardText(HWND owner, const std::string& text);
// The clipboard's text; nothing when it holds none or cannot be opened.
std::optional<std::string> ClipboardText(HWND owner);
bool ClipboardHasText();

}  // namespace app
