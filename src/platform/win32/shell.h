// Shell: opening documents and addresses (shell32).
// Part of win32.h; do not include directly.
//
// ShellExecuteA with "open" (or no verb) runs `xdg-open file` as a child
// process, directly and never through a command interpreter, so the file text
// cannot be read as commands. The child is not waited for. Other verbs,
// parameters and directories are not supported. The result is greater than 32
// on success, else one of the SE_ERR_* codes.
#pragma once

#include "platform/win32/base.h"

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT showCmd);
