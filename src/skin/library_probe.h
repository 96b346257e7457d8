// Whether a function the skin may use is there: asked once, when the skin is first applied.
#pragma once

#include "platform/win32.h"
#include "skin/skin_types.h"

namespace skin {

// True when the library is loaded or can be loaded and exports the function. A library loaded only
// for the question is released again.
VbBool HasLibraryFunction(const char* functionName, const char* libraryName);

}  // namespace skin
