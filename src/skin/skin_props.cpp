#include "skin/skin_props.h"

namespace skin {

std::string FaceDCProp(int face) { return "HDC" + std::to_string(face); }
std::string FaceBitmapProp(int face) { return "BMP" + std::to_string(face); }

std::int32_t GetIntProp(HWND hWnd, const char* name) {
  // Values are only ever stored from 32-bit numbers, so the truncation gives back exactly that number.
  return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(GetPropA(hWnd, name)));
}

void SetIntProp(HWND hWnd, const char* name, std::int32_t value) {
  SetPropA(hWnd, name, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)));
}

HANDLE GetHandleProp(HWND hWnd, const std::string& name) { return GetPropA(hWnd, name.c_str()); }

void SetHandleProp(HWND hWnd, const std::string& name, HANDLE value) { SetPropA(hWnd, name.c_str(), value); }

WNDPROC GetPreviousProc(HWND hWnd) { return reinterpret_cast<WNDPROC>(GetPropA(hWnd, kProcAddrProp)); }

}  // namespace skin
