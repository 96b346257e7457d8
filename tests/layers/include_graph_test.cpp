// The layers of the source: every project include of every file under src/
// against the table of what each folder may use. A file that reaches up a
// layer, or past the platform's one public header, fails here by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Include prefixes each folder may use besides its own; "platform/win32.h" is
// the platform's public face, everything else in platform/ is private to it.
const std::map<std::string, std::vector<std::string>> kAllowed = {
    {"platform", {}},
    {"patterns", {}},
    {"runtime",
     {"platform/win32.h", "patterns/drawing_surface.h", "patterns/picture.h", "patterns/numeric.h",
      "patterns/runtime_error.h"}},
    {"skin", {"platform/win32.h"}},
    {"export", {"patterns/"}},
    {"render", {"export/", "patterns/", "runtime/", "platform/win32.h"}},
    {"app", {"runtime/", "patterns/", "skin/", "export/", "platform/win32.h"}},
};

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

TEST(IncludeGraph, EveryFolderUsesOnlyTheLayersBelowIt) {
  const fs::path src = HWF_SOURCE_DIR;
  const std::regex quoted(R"re(^\s*#\s*include\s+"([^"]+)")re");
  const std::regex angled(R"re(^\s*#\s*include\s+<([^>]+)>)re");
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension();
    if (ext != ".h" && ext != ".cpp") continue;
    const std::string rel = fs::relative(entry.path(), src).generic_string();
    const std::string folder = rel.substr(0, rel.find('/'));
    const auto rules = kAllowed.find(folder);
    if (rules == kAllowed.end()) continue;  // main.cpp joins every layer
    ++files;
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);) {
      std::smatch m;
      if (std::regex_search(line, m, angled) && folder == "patterns") {
        // The standard library only: its headers carry no ".h".
        EXPECT_EQ(m[1].str().find(".h"), std::string::npos) << rel << " includes <" << m[1] << ">";
      }
      if (!std::regex_search(line, m, quoted)) continue;
      const std::string target = m[1];
      if (target.find('/') == std::string::npos || StartsWith(target, folder + "/")) continue;
      bool allowed = false;
      for (const std::string& prefix : rules->second) allowed = allowed || StartsWith(target, prefix);
      EXPECT_TRUE(allowed) << rel << " includes \"" << target << "\"";
    }
  }
  EXPECT_GT(files, 200);
}

}  // namespace
