#include "platform/gdi/font_answers.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace platform::gdi {
namespace {

constexpr const char* kHeader = "huiwenfang font answers 1";
constexpr const char* kEndOfStamp = "--";

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// $name, else ~/fallback; "" without either.
std::string XdgDir(const char* name, const char* fallback) {
  std::string dir = Env(name);
  if (!dir.empty() && dir.front() == '/') return dir;
  const std::string home = Env("HOME");
  return home.empty() ? std::string() : home + "/" + fallback;
}

void StampPath(std::ostringstream& out, const std::string& path) {
  struct stat st {};
  if (path.empty() || stat(path.c_str(), &st) != 0) {
    out << path << " -\n";
    return;
  }
  out << path << ' ' << st.st_mtim.tv_sec << '.' << st.st_mtim.tv_nsec << ' ' << st.st_size << '\n';
}

// A font folder and every folder below it: adding a font changes the
// folder it goes into, not the ones above.
void StampTree(std::ostringstream& out, const std::string& dir, int depth = 0) {
  StampPath(out, dir);
  if (depth > 8) return;
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  std::vector<std::string> subdirs;
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    const std::string sub = dir + "/" + name;
    if (stat(sub.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) subdirs.push_back(sub);
  }
  closedir(d);
  std::sort(subdirs.begin(), subdirs.end());
  for (const std::string& sub : subdirs) StampTree(out, sub, depth + 1);
}

bool OneLine(const std::string& s) { return s.find_first_of("\t\n\r") == std::string::npos; }

}  // namespace

std::string FontAnswersPath() {
  const std::string cache = XdgDir("XDG_CACHE_HOME", ".cache");
  return cache.empty() ? std::string() : cache + "/huiwenfang/font-answers";
}

std::string FontconfigStamp() {
  std::ostringstream out;
  for (const char* name :
       {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "FC_LANG", "LANG", "LC_ALL", "LC_CTYPE",
        "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
    out << name << '=' << Env(name) << '\n';
  const std::string home = Env("HOME");
  const std::string config = XdgDir("XDG_CONFIG_HOME", ".config");
  const std::string data = XdgDir("XDG_DATA_HOME", ".local/share");
  const std::string cache = XdgDir("XDG_CACHE_HOME", ".cache");
  const std::string file = Env("FONTCONFIG_FILE");
  for (const std::string& p :
       {file.empty() ? std::string("/etc/fonts/fonts.conf") : file, std::string("/etc/fonts"),
        std::string("/etc/fonts/conf.d"), config + "/fontconfig", config + "/fontconfig/fonts.conf",
        config + "/fontconfig/conf.d", home + "/.fonts.conf", home + "/.fonts.conf.d",
        std::string("/var/cache/fontconfig"), cache + "/fontconfig", home + "/.fontconfig"})
    StampPath(out, p);
  for (const std::string& dir : {std::string("/usr/share/fonts"), std::string("/usr/local/share/fonts"),
                                 data + "/fonts", home + "/.fonts"})
    StampTree(out, dir);
  return out.str();
}

std::optional<FontAnswers> ReadFontAnswers(const std::string& path, const std::string& stamp) {
  if (path.empty()) return std::nullopt;
  std::ifstream in(path);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return std::nullopt;
  std::string kept;
  while (std::getline(in, line) && line != kEndOfStamp) kept += line + '\n';
  if (kept != stamp) return std::nullopt;
  FontAnswers answers;
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      f.push_back(line.substr(start, tab - start));
    f.push_back(line.substr(start));
    if (f.size() != 8) return std::nullopt;  // not a file this program wrote
    FontFile file;
    file.path = f[3];
    file.family = f[5];
    try {
      file.index = std::stoi(f[4]);
      file.bold = f[6] == "1";
      file.italic = f[7] == "1";
      answers.emplace_back(FontQuestion{f[0], std::stoi(f[1]), f[2] == "1"}, std::move(file));
    } catch (const std::exception&) {
      return std::nullopt;
    }
  }
  return answers;
}

bool WriteFontAnswers(const std::string& path, const std::string& stamp, const FontAnswers& answers) {
  if (path.empty()) return false;
  const std::string dir = path.substr(0, path.rfind('/'));
  // The folder and the one above it; ~/.cache itself is made by others too.
  mkdir(dir.substr(0, dir.rfind('/')).c_str(), 0700);
  mkdir(dir.c_str(), 0700);
  std::ostringstream out;
  out << kHeader << '\n' << stamp << kEndOfStamp << '\n';
  for (const auto& [q, f] : answers) {
    const auto& [family, weight, italic] = q;
    if (!OneLine(family) || !OneLine(f.path) || !OneLine(f.family)) continue;
    out << family << '\t' << weight << '\t' << italic << '\t' << f.path << '\t' << f.index << '\t' << f.family
        << '\t' << f.bold << '\t' << f.italic << '\n';
  }
  const std::string text = out.str();
  const std::string temp = path + "." + std::to_string(getpid()) + ".tmp";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ok = close(fd) == 0 && ok;
  if (ok) ok = rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace platform::gdi
