#include "render/batch.h"

#include <sys/stat.h>

#include <thread>

#include "patterns/auto_tick.h"
#include "patterns/numeric.h"
#include "patterns/random_source.h"

namespace render {
namespace {

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// The extension of the last path component, or nothing.
std::optional<std::string> ExtensionOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot + 1 == path.size() ||
      dot == (slash == std::string::npos ? 0 : slash + 1))
    return std::nullopt;
  return path.substr(dot + 1);
}

exporter::Format FormatNamedOrFail(const std::string& name, const std::string& where) {
  const auto format = exporter::FormatNamed(name);
  if (!format) throw PlanError(where + "unknown format '" + name + "' (png, svg, pdf or bmp)");
  return *format;
}

int InRange(std::uint64_t v, std::uint64_t lo, std::uint64_t hi, const char* what) {
  if (v < lo || v > hi)
    throw PlanError(std::string(what) + " must be between " + std::to_string(lo) + " and " +
                    std::to_string(hi) + ", not " + std::to_string(v));
  return static_cast<int>(v);
}

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

patterns::PatternCode Batch::PatternAt(std::uint64_t i) const {
  if (code) return *code;
  patterns::Pcg32Random rnd(seed, patterns::Pcg32Random::kStream);
  rnd.Advance(patterns::kDrawsPerTick * (skip + i));
  return patterns::NextTickPattern(rnd, drawing, amplitude);
}

std::string Batch::FileNameOf(const patterns::PatternCode& c) const {
  return patterns::WritePatternCode(c) + "." + std::string(exporter::FormatName(tile.format));
}

std::string Batch::PathOf(std::uint64_t i) const {
  return several ? JoinPath(target, FileNameOf(PatternAt(i))) : target;
}

Batch PlanBatch(const RenderOptions& o) {
  Batch b;
  b.exact = o.exact;
  b.tile.seamless = o.seamless;
  b.quiet = o.quiet;
  if (o.code) {
    std::string why;
    const auto code = patterns::ReadPatternCode(*o.code, &why);
    if (!code) throw PlanError("bad pattern code '" + *o.code + "': " + why);
    b.code = *code;
  } else {
    b.drawing = InRange(o.kind.value_or(1), 1, 2, "--kind");
    // The program's own message and number for a text that is not a number.
    b.amplitude = patterns::TextToDouble(o.amplitude.value_or("80"));
    b.seed = o.seed.value_or(patterns::Pcg32Random::kStartSeed);
    b.count = o.count.value_or(1);
    if (b.count == 0) throw PlanError("--count must be at least 1");
    b.skip = o.skip.value_or(0);
    // Pattern skip + count - 1 must still have an index the stream can reach.
    const std::uint64_t last = UINT64_MAX / patterns::kDrawsPerTick;
    if (b.skip > last || b.count - 1 > last - b.skip)
      throw PlanError("--skip and --count reach too far into the stream");
  }
  if (o.size) b.tile.size = InRange(*o.size, 1, exporter::kMaxTileSize, "--size");
  if (o.repeat) b.tile.repeat = InRange(*o.repeat, 1, exporter::kMaxRepeat, "--repeat");
  if (o.jobs)
    b.jobs = static_cast<unsigned>(InRange(*o.jobs, 1, 1024, "--jobs"));
  else
    b.jobs = std::max(1u, std::thread::hardware_concurrency());

  if (o.output && o.output->empty()) throw PlanError("--output needs the name of a file or folder");
  b.several = !b.code && b.count > 1;
  // Several patterns always go into a folder; one does when -o names a
  // folder, or a path that ends in '/'.
  if (b.several || (o.output && (IsFolder(*o.output) || o.output->back() == '/'))) {
    b.folder = o.output.value_or(".");
    if (Exists(b.folder) && !IsFolder(b.folder))
      throw PlanError(b.folder + " is not a folder" +
                      (b.several ? ": several patterns go into a folder" : ""));
    b.tile.format = o.format ? FormatNamedOrFail(*o.format, "--format: ") : exporter::Format::kPng;
    b.target = b.several ? b.folder : JoinPath(b.folder, b.FileNameOf(b.PatternAt(0)));
  } else if (o.output) {
    b.target = *o.output;
    const auto ext = ExtensionOf(b.target);
    b.tile.format = o.format ? FormatNamedOrFail(*o.format, "--format: ")
                    : ext    ? FormatNamedOrFail(*ext, b.target + ": ")
                             : exporter::Format::kPng;
  } else {
    b.tile.format = o.format ? FormatNamedOrFail(*o.format, "--format: ") : exporter::Format::kPng;
    b.target = b.FileNameOf(b.PatternAt(0));
  }
  if (b.exact && !exporter::IsRaster(b.tile.format))
    throw PlanError("--exact writes the canvas's pixels: png or bmp, not " +
                    std::string(exporter::FormatName(b.tile.format)));
  return b;
}

}  // namespace render
