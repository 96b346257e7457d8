#include "skin/skin_state.h"

namespace skin {

VbBool SkinReady = VbFalse;
VbBool HasTrackMouseEvent = VbFalse;
std::int32_t SkinnedCount = 0;

HDC ButtonSkinDC = nullptr;
HDC ComboSkinDC = nullptr;
HDC MarkSkinDC = nullptr;
HDC BoxSkinDC = nullptr;
HDC HeaderSkinDC = nullptr;

}  // namespace skin
