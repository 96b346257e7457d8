// Presenting on a real X display (Xvfb is enough; skipped without one): the
// changed pixels of a 952×716 main window put on screen, one fade step's
// 69×21 rectangle and the whole frame. At scale 1 they go straight from the
// window's shared-memory surface; at other scales (and where shared memory
// is refused) they are copied to SDL's window surface first, measured here
// at scales 1 and 2. The references are the way frames went out before: a
// streaming texture of a GL renderer, updated and drawn whole on every
// present. The scaled copy alone, with no display, stands beside them.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/backend/scaled_copy.h"
#include "platform/backend/sdl2_window.h"
#include "platform/gdi/pixel_buffer.h"
#include "platform/gdi/shared_pixels.h"

namespace {

constexpr int kWidth = 952, kHeight = 716;
constexpr RECT kButton{752, 260, 821, 281};  // 画图1, where a fade step repaints
constexpr RECT kWhole{0, 0, kWidth, kHeight};

// SDL video for the whole run, or the reason there is none.
bool VideoUp(benchmark::State& state) {
  static const bool up = [] {
    platform::gdi::UseSharedPixelsForScreens(true);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_Init(SDL_INIT_VIDEO) == 0;
  }();
  if (!up) state.SkipWithError("no display (run under Xvfb)");
  return up;
}

platform::gdi::PixelBuffer Frame() { return platform::gdi::PixelBuffer(kWidth, kHeight, 0x38A0F5); }

// Changes the rectangle a little, as a fade step does, so every present
// carries new pixels.
void Repaint(platform::gdi::PixelBuffer& buf, const RECT& r, std::uint32_t step) {
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left; x < r.right; ++x) buf.row(y)[x] = 0x1B8FD5 + step;
}

// shared: the window's surface in shared memory, as the window manager
// makes it; otherwise ordinary memory, which goes through SDL's surface.
void PresentOnScreen(benchmark::State& state, const RECT& r, bool shared, int scale) {
  if (!VideoUp(state)) return;
  platform::user::TopLevelState s;
  s.rect = RECT{0, 0, kWidth, kHeight};
  s.title = "present bench";
  s.visible = true;
  platform::backend::Sdl2Window window(s, scale, nullptr);
  window.Apply(s);
  std::shared_ptr<platform::gdi::PixelBuffer> buf =
      shared ? platform::gdi::PixelBuffer::ForScreen(kWidth, kHeight, 0x38A0F5)
             : std::make_shared<platform::gdi::PixelBuffer>(Frame());
  window.Present(*buf, std::span<const RECT>(&kWhole, 1));  // appears whole
  std::uint32_t step = 0;
  for (auto _ : state) {
    Repaint(*buf, r, ++step & 0xFF);
    window.Present(*buf, std::span<const RECT>(&r, 1));
  }
}

void BM_PresentDirty69x21(benchmark::State& state) { PresentOnScreen(state, kButton, true, 1); }
BENCHMARK(BM_PresentDirty69x21)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PresentFullFrame952x716(benchmark::State& state) { PresentOnScreen(state, kWhole, true, 1); }
BENCHMARK(BM_PresentFullFrame952x716)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PresentDirty69x21ThroughSurface(benchmark::State& state) {
  PresentOnScreen(state, kButton, false, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_PresentDirty69x21ThroughSurface)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PresentFullFrameThroughSurface(benchmark::State& state) {
  PresentOnScreen(state, kWhole, false, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_PresentFullFrameThroughSurface)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The reference: what each present cost through the renderer.
void PresentThroughRenderer(benchmark::State& state, const RECT& r) {
  if (!VideoUp(state)) return;
  SDL_Window* window = SDL_CreateWindow("present bench (renderer)", 0, 0, kWidth, kHeight, SDL_WINDOW_SHOWN);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888,
                                                      SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight)
                                  : nullptr;
  if (!texture) {
    state.SkipWithError(SDL_GetError());
  } else {
    platform::gdi::PixelBuffer buf = Frame();
    SDL_UpdateTexture(texture, nullptr, buf.pixels.data(), kWidth * 4);
    std::uint32_t step = 0;
    for (auto _ : state) {
      Repaint(buf, r, ++step & 0xFF);
      SDL_Rect sr{r.left, r.top, r.right - r.left, r.bottom - r.top};
      SDL_UpdateTexture(texture, &sr, buf.row(r.top) + r.left, kWidth * 4);
      SDL_RenderCopy(renderer, texture, nullptr, nullptr);
      SDL_RenderPresent(renderer);
    }
  }
  if (texture) SDL_DestroyTexture(texture);
  if (renderer) SDL_DestroyRenderer(renderer);
  if (window) SDL_DestroyWindow(window);
}

void BM_RendererPresentDirty69x21(benchmark::State& state) { PresentThroughRenderer(state, kButton); }
BENCHMARK(BM_RendererPresentDirty69x21)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_RendererPresentFullFrame952x716(benchmark::State& state) { PresentThroughRenderer(state, kWhole); }
BENCHMARK(BM_RendererPresentFullFrame952x716)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The copy into the window surface's memory alone.
void BM_ScaledCopyFullFrame(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  const platform::gdi::PixelBuffer buf = Frame();
  std::vector<std::uint32_t> surface(static_cast<std::size_t>(kWidth) * scale * kHeight * scale);
  for (auto _ : state) {
    platform::backend::CopyScaled(buf, kWhole, surface.data(), kWidth * scale * 4, scale);
    benchmark::DoNotOptimize(surface.data());
  }
}
BENCHMARK(BM_ScaledCopyFullFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
