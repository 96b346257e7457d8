// Path arithmetic and folder reading of the save dialog.
#include "platform/dialogs/file_paths.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>

namespace platform::dialogs {

std::vector<FilterEntry> ParseFilter(const char* filter) {
  std::vector<FilterEntry> out;
  if (!filter) return out;
  const char* p = filter;
  while (*p) {
    std::string desc = p;
    p += desc.size() + 1;
    if (!*p) break;
    std::string pattern = p;
    p += pattern.size() + 1;
    out.push_back({desc, pattern});
  }
  return out;
}

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool Glob(const char* p, const char* s) {
  // Iterative glob with one backtrack point, enough for '*' anywhere.
  const char *star = nullptr, *resume = nullptr;
  while (*s) {
    if (*p == '?' || (*p && *p != '*' && Lower(*p) == Lower(*s))) {
      ++p;
      ++s;
    } else if (*p == '*') {
      star = p++;
      resume = s;
    } else if (star) {
      p = star + 1;
      s = ++resume;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return !*p;
}

}  // namespace

bool MatchesPatterns(const std::string& name, const std::string& patterns) {
  std::size_t from = 0;
  for (;;) {
    std::size_t semi = patterns.find(';', from);
    std::string one = patterns.substr(from, semi == std::string::npos ? std::string::npos : semi - from);
    one.erase(0, one.find_first_not_of(' '));
    if (one == "*.*" || one == "*") return true;
    if (!one.empty() && Glob(one.c_str(), name.c_str())) return true;
    if (semi == std::string::npos) return false;
    from = semi + 1;
  }
}

std::string Resolve(const std::string& folder, const std::string& typed) {
  std::string joined = !typed.empty() && typed[0] == '/' ? typed : folder + "/" + typed;
  std::vector<std::string> parts;
  std::size_t from = 0;
  while (from <= joined.size()) {
    std::size_t slash = joined.find('/', from);
    if (slash == std::string::npos) slash = joined.size();
    std::string part = joined.substr(from, slash - from);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    from = slash + 1;
  }
  std::string out;
  for (const auto& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

std::string ParentOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> Ancestors(const std::string& path) {
  std::vector<std::string> out{"/"};
  for (std::size_t i = 1; i <= path.size(); ++i)
    if (i == path.size() || path[i] == '/') {
      if (i > 1) out.push_back(path.substr(0, i));
    }
  return out;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

std::string NearestFolder(const std::string& path) {
  std::string p = path;
  while (p != "/" && !IsFolder(p)) p = ParentOf(p);
  return p;
}

std::string WorkingFolder() {
  char buf[PATH_MAX];
  if (getcwd(buf, sizeof buf)) return Resolve("/", buf);
  return "/";
}

bool ListFolder(const std::string& path, const std::string& patterns, std::vector<FolderEntry>& out,
                std::string& error) {
  out.clear();
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(path.c_str()), closedir);
  if (!dir) {
    error = std::strerror(errno);
    return false;
  }
  std::vector<FolderEntry> folders, files;
  errno = 0;
  while (dirent* d = readdir(dir.get())) {
    if (d->d_name[0] == '.') continue;
    FolderEntry e;
    e.name = d->d_name;
    struct stat st {};
    if (stat((path + "/" + e.name).c_str(), &st) != 0) continue;  // a dangling link
    e.folder = S_ISDIR(st.st_mode);
    e.size = static_cast<std::uint64_t>(st.st_size);
    e.modified = st.st_mtime;
    if (e.folder)
      folders.push_back(std::move(e));
    else if (MatchesPatterns(e.name, patterns))
      files.push_back(std::move(e));
  }
  auto byName = [](const FolderEntry& a, const FolderEntry& b) {
    return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
  };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  out = std::move(folders);
  out.insert(out.end(), std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
  return true;
}

std::string NameProblem(const std::string& name) {
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F) return "文件名不能含有控制字符。";
  // UTF-8 well-formedness: lead byte, then the right number of continuations.
  for (std::size_t i = 0; i < name.size();) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || c == 0xC0 || c == 0xC1 || c > 0xF4 || i + static_cast<std::size_t>(extra) >= name.size())
      return "文件名含有无效的字符编码。";
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(name[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80)
        return "文件名含有无效的字符编码。";
    i += static_cast<std::size_t>(extra) + 1;
  }
  std::size_t from = 0;
  while (from <= name.size()) {
    std::size_t slash = name.find('/', from);
    if (slash == std::string::npos) slash = name.size();
    if (slash - from > NAME_MAX) return "文件名太长。";
    from = slash + 1;
  }
  return {};
}

}  // namespace platform::dialogs
