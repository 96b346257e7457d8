// The render command in-process, in a fresh folder that is also the current
// one (files without -o land there), with its status and both streams.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "render/render_command.h"

namespace render {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/hwf-render-test.XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    ::chmod(dir_.c_str(), 0777);  // unprivileged children work here too
    char cwd[4096];
    old_cwd_ = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
    ASSERT_EQ(::chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    [[maybe_unused]] const int rc = ::chdir(old_cwd_.c_str());
    std::system(("chmod -R u+w '" + dir_ + "' && rm -rf '" + dir_ + "'").c_str());
  }

  static RunResult Run(const std::vector<std::string>& args, bool terminal = false) {
    std::ostringstream out, err;
    RunResult r;
    r.status = RunRenderCommand(args, out, err, terminal);
    r.out = out.str();
    r.err = err.str();
    return r;
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::set<std::string> Names(const std::string& folder = ".") const {
    std::set<std::string> names;
    DIR* d = ::opendir(folder.c_str());
    while (const dirent* e = d ? ::readdir(d) : nullptr) {
      const std::string n = e->d_name;
      if (n != "." && n != "..") names.insert(n);
    }
    if (d) ::closedir(d);
    return names;
  }
  static std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }

  std::string dir_;
  std::string old_cwd_;
};

}  // namespace render
