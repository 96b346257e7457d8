// win32.h — the one public header of the platform layer.
//
// Everything here sits at global scope with the 64-bit Win32 names, types,
// constant values and signatures, so that code written against Win32 compiles
// unchanged. Text crossing the "A" functions is UTF-8: UTF-8 is this
// platform's ANSI code page.
//
// The declarations are kept in fragments by area; include only this file.
#pragma once

#include "platform/win32/base.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/gdi.h"
#include "platform/win32/gdi_text.h"
#include "platform/win32/shell.h"
#include "platform/win32/user.h"
#include "platform/win32/user_clipboard.h"
#include "platform/win32/user_menus.h"
