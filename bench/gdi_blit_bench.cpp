// Copy throughput of the raster layer beside pixman on the same bitmaps:
// BitBlt SRCCOPY against pixman_blt and a PIXMAN_OP_SRC composite,
// AlphaBlend at alpha 128 against an OVER composite with a constant-alpha
// mask, StretchBlt 2x up against a nearest-filter scaled composite.
// Sizes: the effect picture (737 x 709) and a push button (69 x 21).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

#ifdef HWF_HAVE_PIXMAN
#include <pixman.h>
#endif

namespace {

struct Size {
  int w, h;
};
constexpr Size kSizes[] = {{737, 709}, {69, 21}};

// Non-uniform content, so nothing can shortcut on equal pixels.
std::vector<std::uint32_t> Noise(int w, int h, std::uint32_t seed) {
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
  for (std::size_t i = 0; i < px.size(); ++i)
    px[i] = (static_cast<std::uint32_t>(i) * 2654435761u + seed) & 0xFFFFFF;
  return px;
}

HDC Canvas(int w, int h, std::uint32_t seed) {
  HDC dc = CreateCompatibleDC(nullptr);
  DeleteObject(SelectObject(dc, CreateBitmap(w, h, 1, 32, Noise(w, h, seed).data())));
  return dc;
}

void SetBytes(benchmark::State& state, const Size& s) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * s.w * s.h * 4);
  state.SetLabel(std::to_string(s.w) + "x" + std::to_string(s.h));
}

void BM_BitBltSrcCopy(benchmark::State& state) {
  Size s = kSizes[state.range(0)];
  HDC src = Canvas(s.w, s.h, 1), dst = Canvas(s.w, s.h, 2);
  for (auto _ : state) {
    BitBlt(dst, 0, 0, s.w, s.h, src, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  SetBytes(state, s);
  DeleteDC(src);
  DeleteDC(dst);
}
BENCHMARK(BM_BitBltSrcCopy)->Arg(0)->Arg(1);

void BM_AlphaBlend128(benchmark::State& state) {
  Size s = kSizes[state.range(0)];
  HDC src = Canvas(s.w, s.h, 1), dst = Canvas(s.w, s.h, 2);
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 128, 0};
  for (auto _ : state) {
    AlphaBlend(dst, 0, 0, s.w, s.h, src, 0, 0, s.w, s.h, bf);
    benchmark::ClobberMemory();
  }
  SetBytes(state, s);
  DeleteDC(src);
  DeleteDC(dst);
}
BENCHMARK(BM_AlphaBlend128)->Arg(0)->Arg(1);

void BM_StretchBlt2xUp(benchmark::State& state) {
  Size s = kSizes[state.range(0)];
  int sw = (s.w + 1) / 2, sh = (s.h + 1) / 2;
  HDC src = Canvas(sw, sh, 1), dst = Canvas(s.w, s.h, 2);
  for (auto _ : state) {
    StretchBlt(dst, 0, 0, sw * 2, sh * 2, src, 0, 0, sw, sh, SRCCOPY);
    benchmark::ClobberMemory();
  }
  SetBytes(state, s);
  DeleteDC(src);
  DeleteDC(dst);
}
BENCHMARK(BM_StretchBlt2xUp)->Arg(0)->Arg(1);

#ifdef HWF_HAVE_PIXMAN

struct PixmanPair {
  std::vector<std::uint32_t> a, b;
  pixman_image_t* src;
  pixman_image_t* dst;
  PixmanPair(int sw, int sh, int dw, int dh) : a(Noise(sw, sh, 1)), b(Noise(dw, dh, 2)) {
    src = pixman_image_create_bits(PIXMAN_x8r8g8b8, sw, sh, a.data(), sw * 4);
    dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, dw, dh, b.data(), dw * 4);
  }
  ~PixmanPair() {
    pixman_image_unref(src);
    pixman_image_unref(dst);
  }
};

void BM_PixmanBlt(benchmark::State& state) {
  Size s = kSizes[state.range(0)];
  PixmanPair p(s.w, s.h, s.w, s.h);
  for (auto _ : state) {
    pixman_blt(p.a.data(), p.b.data(), s.w, s.w, 32, 32, 0, 0, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  SetBytes(state, s);
}
BENCHMARK(BM_PixmanBlt)->Arg(0)->Arg(1);

void BM_PixmanCompositeSrc(benchmark::State& state) {
  Size s = kSizes[state.range(0)];
  PixmanPair p(s.w, s.h, s.w, s.h);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, p.src, nullptr, p.dst, 0, 0, 0, 0, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  SetBytes(state, s);
}
BENCHMARK(BM_PixmanCompositeSrc)->Arg(0)->Arg(1);

void BM_PixmanOverConstMask128(benchmark::State& state) {
  Size s = kSizes[state.range(0)];
  PixmanPair p(s.w, s.h, s.w, s.h);
  pixman_color_t alpha{0, 0, 0, 128 * 257};
  pixman_image_t* mask = pixman_image_create_solid_fill(&alpha);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, p.src, mask, p.dst, 0, 0, 0, 0, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(mask);
  SetBytes(state, s);
}
BENCHMARK(BM_PixmanOverConstMask128)->Arg(0)->Arg(1);

void BM_PixmanScaleNearest2xUp(benchmark::State& state) {
  Size s = kSizes[state.range(0)];
  int sw = (s.w + 1) / 2, sh = (s.h + 1) / 2;
  PixmanPair p(sw, sh, s.w, s.h);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
  pixman_image_set_transform(p.src, &t);
  pixman_image_set_filter(p.src, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, p.src, nullptr, p.dst, 0, 0, 0, 0, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  SetBytes(state, s);
}
BENCHMARK(BM_PixmanScaleNearest2xUp)->Arg(0)->Arg(1);

#endif  // HWF_HAVE_PIXMAN

}  // namespace

BENCHMARK_MAIN();
