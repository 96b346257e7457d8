// The clipboard, as text only: what the edit control cuts, copies and
// pastes. UTF-8. With the SDL2 backend it is the desktop's clipboard;
// headless it is a private string.
#pragma once

#include <string>

namespace platform::user {

std::string GetClipboardText();
void SetClipboardText(const std::string& utf8);

}  // namespace platform::user
