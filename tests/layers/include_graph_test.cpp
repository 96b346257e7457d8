// The layers of the source: every project include of every file under src/
// against the table of what each folder may use. A file that reaches up a
// layer, or past the platform's public headers, fails here by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The platform's public face: win32.h and its siblings at the top of
// platform/. Everything in platform's subfolders is private to it.
const std::vector<std::string> kPlatformPublic = {"platform/win32.h", "platform/scoped_handles.h"};

// Include prefixes each folder may use besides its own.
const std::map<std::string, std::vector<std::string>> kAllowed = {
    {"platform", {}},
    {"patterns", {}},
    {"runtime",
     {"patterns/drawing_surface.h", "patterns/picture.h", "patterns/numeric.h", "patterns/runtime_error.h"}},
    {"skin", {}},
    {"export", {"patterns/"}},
    {"render", {"export/", "patterns/", "runtime/"}},
    {"app", {"runtime/", "patterns/", "skin/", "export/"}},
};

// A window system's backend is chosen once, by the program's entry point; the
// rest of the platform reaches it through its own interface. The test seam
// installs the headless one.
const std::set<std::string> kBackendUsers = {"main.cpp", "platform/testing.h"};

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

bool IsPlatformPublic(const std::string& target) {
  for (const std::string& h : kPlatformPublic)
    if (target == h) return true;
  return false;
}

struct Include {
  std::string target;
  bool angled;
};

std::vector<Include> IncludesOf(const fs::path& file) {
  static const std::regex quoted(R"re(^\s*#\s*include\s+"([^"]+)")re");
  static const std::regex angled(R"re(^\s*#\s*include\s+<([^>]+)>)re");
  std::vector<Include> out;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_search(line, m, quoted)) out.push_back({m[1].str(), false});
    if (std::regex_search(line, m, angled)) out.push_back({m[1].str(), true});
  }
  return out;
}

// What one file may include: "" when allowed, else the rule it breaks.
std::string Violation(const std::string& rel, const Include& inc) {
  const std::string folder = rel.find('/') == std::string::npos ? "" : rel.substr(0, rel.find('/'));
  if (inc.angled) {
    // Patterns are the portable core: the standard library only, whose headers carry no ".h".
    if (folder == "patterns" && inc.target.find(".h") != std::string::npos)
      return "patterns use only the standard library";
    return "";
  }
  const std::string& target = inc.target;
  if (StartsWith(target, "platform/backend/") && !StartsWith(rel, "platform/backend/") &&
      kBackendUsers.count(rel) == 0)
    return "only the entry point and the backend folder include a backend";
  const auto rules = kAllowed.find(folder);
  if (rules == kAllowed.end()) return "";  // main.cpp joins every layer
  if (target.find('/') == std::string::npos || StartsWith(target, folder + "/")) return "";
  if (folder != "patterns" && IsPlatformPublic(target)) return "";
  for (const std::string& prefix : rules->second)
    if (StartsWith(target, prefix)) return "";
  return "reaches outside the layers " + folder + " may use";
}

TEST(IncludeGraph, EveryFileUsesOnlyTheLayersBelowIt) {
  const fs::path src = HWF_SOURCE_DIR;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension();
    if (ext != ".h" && ext != ".cpp") continue;
    const std::string rel = fs::relative(entry.path(), src).generic_string();
    ++files;
    for (const Include& inc : IncludesOf(entry.path())) {
      const std::string why = Violation(rel, inc);
      EXPECT_EQ(why, "") << rel << " includes " << (inc.angled ? "<" : "\"") << inc.target
                         << (inc.angled ? ">" : "\"");
    }
  }
  EXPECT_GT(files, 200);
}

// The rules themselves, on includes that must be refused and some that must
// not, so that a table gone permissive (or too strict) is noticed even while
// the tree is clean.
TEST(IncludeGraph, RefusesEachKindOfForbiddenInclude) {
  const struct {
    const char* file;
    const char* target;
    bool angled;
    bool allowed;
  } cases[] = {
      {"patterns/picture.cpp", "platform/win32.h", false, false},
      {"patterns/picture.cpp", "runtime/form.h", false, false},
      {"patterns/picture.cpp", "SDL2/SDL.h", true, false},
      {"skin/skin_blit.cpp", "platform/gdi/dc.h", false, false},
      {"skin/skin_blit.cpp", "runtime/form.h", false, false},
      {"runtime/form.cpp", "app/form1.h", false, false},
      {"runtime/form.cpp", "patterns/effect_picture.h", false, false},
      {"platform/user/window.cpp", "platform/backend/sdl2.h", false, false},
      {"app/form1.cpp", "platform/backend/headless.h", false, false},
      {"render/batch.cpp", "app/form1.h", false, false},
      {"patterns/picture.cpp", "vector", true, true},
      {"patterns/picture.cpp", "patterns/numeric.h", false, true},
      {"skin/skin_blit.cpp", "platform/scoped_handles.h", false, true},
      {"runtime/form.cpp", "platform/win32.h", false, true},
      {"main.cpp", "platform/backend/sdl2.h", false, true},
      {"platform/backend/sdl2.cpp", "platform/backend/sdl2_window.h", false, true},
      {"app/form1.cpp", "runtime/form.h", false, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Violation(c.file, {c.target, c.angled}).empty(), c.allowed) << c.file << " -> " << c.target;
}

}  // namespace
