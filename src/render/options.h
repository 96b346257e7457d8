// The command line of `huiwenfang render`, read into options without judging
// their values: bad usage (an unknown option, a missing or non-numeric value,
// options that exclude each other) throws UsageError, which the command
// answers with the usage text and status 2. Values out of range are the
// planner's business (status 1, with a message naming the cause).
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace render {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct RenderOptions {
  std::optional<std::string> code{};
  std::optional<std::uint64_t> kind{};
  std::optional<std::string> amplitude{};
  std::optional<std::uint64_t> seed{};
  std::optional<std::uint64_t> count{};
  std::optional<std::uint64_t> skip{};
  std::optional<std::uint64_t> size{};
  std::optional<std::uint64_t> repeat{};
  std::optional<std::string> format{};
  bool exact = false;
  bool seamless = false;
  std::optional<std::string> output{};
  std::optional<std::uint64_t> jobs{};
  bool quiet = false;
  bool help = false;
  bool version = false;
};

// args are the words after "render".
RenderOptions ParseRenderOptions(const std::vector<std::string>& args);

// The usage text, ending in a newline.
const char* RenderUsage();

}  // namespace render
