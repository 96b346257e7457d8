#include "render/options.h"

#include <charconv>
#include <cstdint>
#include <string_view>

namespace render {
namespace {

enum class Kind { kText, kNumber, kFlag };

struct OptionRule {
  std::string_view long_name;
  char short_name;
  Kind kind;
};

constexpr OptionRule kOptions[] = {
    {"code", 0, Kind::kText},     {"kind", 0, Kind::kNumber},   {"amplitude", 0, Kind::kText},
    {"seed", 0, Kind::kNumber},   {"count", 0, Kind::kNumber},  {"skip", 0, Kind::kNumber},
    {"size", 0, Kind::kNumber},   {"repeat", 0, Kind::kNumber}, {"format", 0, Kind::kText},
    {"exact", 0, Kind::kFlag},    {"seamless", 0, Kind::kFlag}, {"output", 'o', Kind::kText},
    {"jobs", 'j', Kind::kNumber}, {"quiet", 'q', Kind::kFlag},  {"help", 0, Kind::kFlag},
    {"version", 0, Kind::kFlag},
};

// A number too large for 64 bits is kept as the largest one, so that the
// planner refuses it as out of range like any other value.
std::uint64_t WholeNumber(std::string_view name, const std::string& text) {
  std::uint64_t v = 0;
  const char* end = text.data() + text.size();
  const auto res = std::from_chars(text.data(), end, v);
  if (!text.empty() && res.ptr == end && res.ec == std::errc::result_out_of_range) return UINT64_MAX;
  if (text.empty() || res.ptr != end || res.ec != std::errc())
    throw UsageError("--" + std::string(name) + " takes a whole number, not '" + text + "'");
  return v;
}

void Store(RenderOptions& o, std::string_view name, const std::string& value) {
  const auto number = [&] { return WholeNumber(name, value); };
  if (name == "code")
    o.code = value;
  else if (name == "kind")
    o.kind = number();
  else if (name == "amplitude")
    o.amplitude = value;
  else if (name == "seed")
    o.seed = number();
  else if (name == "count")
    o.count = number();
  else if (name == "skip")
    o.skip = number();
  else if (name == "size")
    o.size = number();
  else if (name == "repeat")
    o.repeat = number();
  else if (name == "format")
    o.format = value;
  else if (name == "exact")
    o.exact = true;
  else if (name == "seamless")
    o.seamless = true;
  else if (name == "output")
    o.output = value;
  else if (name == "jobs")
    o.jobs = number();
  else if (name == "quiet")
    o.quiet = true;
  else if (name == "help")
    o.help = true;
  else if (name == "version")
    o.version = true;
}

const OptionRule* FindLong(std::string_view name) {
  for (const OptionRule& s : kOptions) {
    if (s.long_name == name) return &s;
  }
  return nullptr;
}

const OptionRule* FindShort(char c) {
  for (const OptionRule& s : kOptions) {
    if (s.short_name != 0 && s.short_name == c) return &s;
  }
  return nullptr;
}

void CheckCombinations(const RenderOptions& o) {
  if (o.code && (o.kind || o.amplitude || o.seed || o.count || o.skip))
    throw UsageError(
        "--code names one pattern: it goes without --kind, --amplitude, --seed, --count and --skip");
  if (o.exact && o.size)
    throw UsageError("--exact draws the canvas's own 201 x 201 pixels: it goes without --size");
}

}  // namespace

RenderOptions ParseRenderOptions(const std::vector<std::string>& args) {
  RenderOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const OptionRule* rule = nullptr;
    std::optional<std::string> attached;
    if (arg.rfind("--", 0) == 0 && arg.size() > 2) {
      const std::size_t eq = arg.find('=');
      rule = FindLong(std::string_view(arg).substr(2, eq == std::string::npos ? std::string::npos : eq - 2));
      if (eq != std::string::npos) attached = arg.substr(eq + 1);
    } else if (arg.size() >= 2 && arg[0] == '-' && arg[1] != '-') {
      rule = FindShort(arg[1]);
      if (arg.size() > 2) attached = arg.substr(2);
    }
    if (!rule) throw UsageError("unknown option '" + arg + "'");
    if (rule->kind == Kind::kFlag) {
      if (attached) throw UsageError("--" + std::string(rule->long_name) + " takes no value");
      Store(o, rule->long_name, {});
      continue;
    }
    if (!attached) {
      if (i + 1 >= args.size()) throw UsageError("--" + std::string(rule->long_name) + " needs a value");
      attached = args[++i];
    }
    Store(o, rule->long_name, *attached);
  }
  if (!o.help && !o.version) CheckCombinations(o);
  return o;
}

const char* RenderUsage() {
  return "usage: huiwenfang render [options]\n"
         "Draws patterns into files, without a window.\n"
         "\n"
         "  --code CODE           draw this pattern\n"
         "  --kind 1|2            which drawing, as 画图1 or 画图2 (default 1)\n"
         "  --amplitude TEXT      the amplitude, as typed into the combo box (default 80)\n"
         "  --seed N              start of the random stream (default: the program's own start)\n"
         "  --count N             this many patterns, as an automatic mode makes them (default 1)\n"
         "  --skip N              begin after the first N patterns of that sequence\n"
         "  --size PX             tile size in pixels for PNG, nominal size for SVG and PDF (default 2048)\n"
         "  --repeat N            N x N copies of the tile, as the effect picture repeats it (default 1)\n"
         "  --format png|svg|pdf|bmp   (default: from the output's extension, else png)\n"
         "  --exact               the canvas's own 201 x 201 pixels, drawn by the window's raster rules\n"
         "                        (png or bmp)\n"
         "  --seamless            a tile that repeats without a seam: curves that leave it come back\n"
         "                        in at the opposite edge (every format, --exact too)\n"
         "  -o, --output PATH     a file for one pattern, a folder for several\n"
         "  -j, --jobs N          parallel workers (default: every core)\n"
         "  -q, --quiet           no progress bar\n"
         "  --help, --version\n"
         "\n"
         "Exit status: 0 done, 1 failed (the message says why), 2 bad usage.\n";
}

}  // namespace render
