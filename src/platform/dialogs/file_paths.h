// Paths, filters and folder listings for the save dialog. Private to the
// dialogs. Paths are UTF-8 byte strings, absolute and lexically normal
// ("/a/b", never "/a/./b/" or "/a/x/../b") once they come out of Resolve.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace platform::dialogs {

struct FilterEntry {
  std::string description;
  std::string patterns;  // "*.bmp;*.dib"
};

// "desc\0pattern\0...\0\0" into entries; a description without its pattern
// is dropped.
std::vector<FilterEntry> ParseFilter(const char* filter);

// Case-insensitive glob over one name; patterns are ';'-separated, '*' and
// '?' are wild, and "*.*" matches names without a dot too, as on Windows.
bool MatchesPatterns(const std::string& name, const std::string& patterns);

// typed taken relative to folder unless it is absolute; "." and ".." are
// resolved without touching the disk.
std::string Resolve(const std::string& folder, const std::string& typed);
std::string ParentOf(const std::string& path);  // "/" stays "/"
std::string NameOf(const std::string& path);    // after the last '/'
// "/", "/a", "/a/b" for "/a/b".
std::vector<std::string> Ancestors(const std::string& path);

bool IsFolder(const std::string& path);
bool Exists(const std::string& path);  // anything, dangling links included
// path itself if it is a folder, else its nearest ancestor that is one.
std::string NearestFolder(const std::string& path);
std::string WorkingFolder();

struct FolderEntry {
  std::string name;
  bool folder = false;
  std::uint64_t size = 0;
  std::time_t modified = 0;
};

// The visible (not dot-named) folders, then the files matching patterns,
// each group by name. False with errno's text in error when the folder
// cannot be read.
bool ListFolder(const std::string& path, const std::string& patterns, std::vector<FolderEntry>& out,
                std::string& error);

// Why name cannot be a file name (a control character, broken UTF-8, too
// long a component); empty when it can.
std::string NameProblem(const std::string& name);

}  // namespace platform::dialogs
