// One item of a header control, and the item text that the header's own paint shares with it.
#include <array>
#include <string>

#include "platform/scoped_handles.h"
#include "skin/painters.h"
#include "skin/primitives.h"
#include "skin/skin_blit.h"
#include "skin/skin_state.h"
#include "skin/skin_types.h"

namespace skin {
namespace {

// Header skin: three 3 x 20 frames side by side (normal, hover, pressed) with 1-pixel borders.
constexpr int kFrameW = 3;
constexpr int kFrameH = 20;
// The capacity announced to the header. The buffer is exactly this large, so that the header's
// terminating NUL after 255 characters of text still lands inside it.
constexpr int kTextCapacity = 256;

// Drops a multi-byte character that the header cut short at the capacity, so that the text ends
// on a whole UTF-8 character.
void TrimPartialCharacter(std::string& text) {
  std::size_t lead = text.size();
  int continuation = 0;
  while (lead > 0 && continuation < 3 && (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80) {
    --lead;
    ++continuation;
  }
  if (lead == 0) return;
  const auto first = static_cast<unsigned char>(text[lead - 1]);
  int length = 1;
  if ((first & 0xE0) == 0xC0)
    length = 2;
  else if ((first & 0xF0) == 0xE0)
    length = 3;
  else if ((first & 0xF8) == 0xF0)
    length = 4;
  if (length > 1 && continuation + 1 < length) text.resize(lead - 1);
}

}  // namespace

std::string GetHeaderItemText(HWND hWnd, std::int32_t index) {
  std::array<char, kTextCapacity> buffer{};
  HDITEMA item{};
  item.mask = HDI_TEXT;
  item.pszText = buffer.data();
  item.cchTextMax = kTextCapacity;
  SendMessageA(hWnd, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  std::string text;
  for (char c : buffer)
    if (c != '\0') text.push_back(c);
  TrimPartialCharacter(text);
  return text;
}

std::int32_t HeaderFrameX(std::int32_t state) {
  if (state == kHot) return kFrameW;
  if (state == kPressed) return 2 * kFrameW;
  return 0;
}

std::int32_t PaintHeaderItem(HWND hWnd, HDC hDC, std::int32_t index, std::int32_t state) {
  if (index < 0) return 0;
  SkinBox box;
  GetWindowBox(hWnd, box);
  RECT item{};
  SendMessageA(hWnd, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  const std::int32_t w = item.right - item.left;
  const std::int32_t h = item.bottom - item.top;

  win32::OwnedDc memory(CreateMemoryDC(w, box.Height));
  HDC mem = memory.get();
  if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0)); font && mem)
    SelectObject(mem, font);
  SetBkMode(mem, TRANSPARENT);
  DrawSkinFrame(mem, 0, 0, w, box.Height, HeaderSkinDC, HeaderFrameX(state), 0, kFrameW, kFrameH, 1, 1, 1, 1);
  const std::string text = GetHeaderItemText(hWnd, index);
  if (!text.empty()) DrawTextInBox(mem, text, 0, 0, w, box.Height, kCaptionFormat);

  win32::TargetDc target(hWnd, hDC);
  BitBlt(target.get(), item.left, 0, w, h, mem, 0, 0, SRCCOPY);
  target.reset();
  memory.reset();
  return 0;
}

}  // namespace skin
