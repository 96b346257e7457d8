#include "skin/library_probe.h"

namespace skin {

VbBool HasLibraryFunction(const char* functionName, const char* libraryName) {
  bool loadedHere = false;
  HMODULE module = GetModuleHandleA(libraryName);
  if (!module) {
    module = LoadLibraryA(libraryName);
    if (!module) return VbFalse;
    loadedHere = true;
  }
  const bool found = GetProcAddress(module, functionName) != nullptr;
  if (loadedHere) FreeLibrary(module);
  return found ? VbTrue : VbFalse;
}

}  // namespace skin
