// What one run of `huiwenfang render` makes: which patterns, in which
// format and size, into which files. Planned from the options before any
// file is touched, so that every value error is reported up front.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "export/pattern_file.h"
#include "patterns/pattern_code.h"
#include "render/options.h"

namespace render {

// A value the command cannot work with; the message names it.
class PlanError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kIndexFileName = "patterns.csv";

struct Batch {
  // One pattern named by its code, or a run of the automatic mode.
  std::optional<patterns::PatternCode> code;
  int drawing = 1;
  double amplitude = 80.0;
  std::uint64_t seed = 0;
  std::uint64_t skip = 0;
  std::uint64_t count = 1;

  exporter::TileOptions tile;
  bool exact = false;
  // Several patterns go into `target` as a folder; one goes to `target` as a
  // file.
  bool several = false;
  std::string target;
  // The folder the file or files go into, made if missing; empty when -o
  // names a file, whose folder must be there.
  std::string folder;
  unsigned jobs = 1;
  bool quiet = false;

  // Pattern i (from 0) of this run. For a run of the automatic mode, the
  // pattern the (skip + i + 1)-th tick after the seed draws; worked out
  // on its own, so workers need no shared stream.
  patterns::PatternCode PatternAt(std::uint64_t i) const;
  // "<code>.<format>".
  std::string FileNameOf(const patterns::PatternCode& code) const;
  // Where pattern i goes.
  std::string PathOf(std::uint64_t i) const;
};

// "folder/name", whether or not the folder ends in '/'.
std::string JoinPath(const std::string& folder, const std::string& name);

// Throws UsageError for combinations the options cannot have, PlanError for
// values out of range, unknown formats and bad codes, and the generators'
// RuntimeError for an amplitude text that is not a number.
Batch PlanBatch(const RenderOptions& options);

}  // namespace render
