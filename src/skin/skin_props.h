// The engine's per-window state: named window properties. Numbers are kept as pointer-sized
// HANDLE values and read back as signed 32-bit, so -1 survives the round trip; an absent property
// reads as 0.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"

namespace skin {

inline constexpr const char* kProcAddrProp = "PROCADDR";
inline constexpr const char* kOldStyleProp = "OLDSTYLE";
inline constexpr const char* kOldStateProp = "OLDSTATE";
inline constexpr const char* kMouseFlagProp = "MOUSEFLAG";
inline constexpr const char* kTimerIdProp = "TIMERID";
inline constexpr const char* kAlphaLevelProp = "ALPHALEVEL";
inline constexpr const char* kHdIndexProp = "HDINDEX";
inline constexpr const char* kHmIndexProp = "HMINDEX";

// "HDC0".."HDC3" and "BMP0".."BMP3": the face-image DCs of a push button and their bitmaps.
std::string FaceDCProp(int face);
std::string FaceBitmapProp(int face);

std::int32_t GetIntProp(HWND hWnd, const char* name);
void SetIntProp(HWND hWnd, const char* name, std::int32_t value);

HANDLE GetHandleProp(HWND hWnd, const std::string& name);
void SetHandleProp(HWND hWnd, const std::string& name, HANDLE value);

// The procedure that was in place before the skin, or null for a window that is not skinned.
WNDPROC GetPreviousProc(HWND hWnd);

}  // namespace skin
