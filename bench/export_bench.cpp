// Speed of files for print, each with its reference in the same run:
//   - one 2048 x 2048 PNG tile drawn and encoded, against cairo encoding a
//     blank PNG of that size (the floor any PNG of it costs);
//   - the same tile seamless (its curves brought back across the edges),
//     against the ordinary one; also both at amplitude 7200, whose curves
//     cross many tiles;
//   - one SVG tile;
//   - a batch of 64 tiles through the render command with one and with two
//     workers (wall time: the workers' CPU time is not the caller's).
// The files go to a sink that only counts bytes, except in the batch, which
// writes real files as the command does.

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "export/pattern_file.h"
#include "render/batch.h"
#include "render/render_command.h"

namespace {

class CountingSink final : public exporter::ByteSink {
 public:
  void Write(const void*, std::size_t size) override { bytes += size; }
  std::size_t bytes = 0;
};

// The first pattern of the automatic mode in a fresh program.
patterns::PatternCode FirstTick(const char* amplitude = "80") {
  return render::PlanBatch(render::RenderOptions{.amplitude = amplitude}).PatternAt(0);
}

void WriteTiles(benchmark::State& state, exporter::Format format, bool seamless = false,
                const char* amplitude = "80") {
  const patterns::PatternCode code = FirstTick(amplitude);
  std::size_t bytes = 0;
  for (auto _ : state) {
    CountingSink sink;
    exporter::WritePattern(code, {.format = format, .size = 2048, .repeat = 1, .seamless = seamless}, sink);
    bytes = sink.bytes;
  }
  state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_PngTile2048(benchmark::State& state) { WriteTiles(state, exporter::Format::kPng); }
BENCHMARK(BM_PngTile2048)->Unit(benchmark::kMillisecond);

void BM_PngTileSeamless2048(benchmark::State& state) { WriteTiles(state, exporter::Format::kPng, true); }
BENCHMARK(BM_PngTileSeamless2048)->Unit(benchmark::kMillisecond);

void BM_PngTile2048Amplitude7200(benchmark::State& state) {
  WriteTiles(state, exporter::Format::kPng, false, "7200");
}
BENCHMARK(BM_PngTile2048Amplitude7200)->Unit(benchmark::kMillisecond);

void BM_PngTileSeamless2048Amplitude7200(benchmark::State& state) {
  WriteTiles(state, exporter::Format::kPng, true, "7200");
}
BENCHMARK(BM_PngTileSeamless2048Amplitude7200)->Unit(benchmark::kMillisecond);

cairo_status_t CountBytes(void* closure, const unsigned char*, unsigned int length) {
  *static_cast<std::size_t*>(closure) += length;
  return CAIRO_STATUS_SUCCESS;
}

void BM_CairoBlankPng2048(benchmark::State& state) {
  cairo_surface_t* blank = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 2048, 2048);
  cairo_t* cr = cairo_create(blank);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_paint(cr);
  cairo_destroy(cr);
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    cairo_surface_write_to_png_stream(blank, CountBytes, &bytes);
  }
  cairo_surface_destroy(blank);
  state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CairoBlankPng2048)->Unit(benchmark::kMillisecond);

void BM_SvgTile(benchmark::State& state) { WriteTiles(state, exporter::Format::kSvg); }
BENCHMARK(BM_SvgTile)->Unit(benchmark::kMillisecond);

// 64 PNG tiles of the default size, written as files with their index.
void BM_Batch64(benchmark::State& state) {
  char tmpl[] = "/tmp/hwf-bench-batch.XXXXXX";
  const std::string dir = ::mkdtemp(tmpl);
  const std::string jobs = std::to_string(state.range(0));
  for (auto _ : state) {
    std::ostringstream out, err;
    if (render::RunRenderCommand({"--count", "64", "-j", jobs, "-q", "-o", dir}, out, err, false) != 0)
      state.SkipWithError(err.str().c_str());
  }
  std::system(("rm -rf '" + dir + "'").c_str());
}
BENCHMARK(BM_Batch64)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
