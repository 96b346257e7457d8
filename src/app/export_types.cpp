#include "app/export_types.h"

#include <cctype>

namespace app {
namespace {

// The extension of the name's last part, lower case; empty for none.
std::string ExtensionOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace

std::string ExportFilter(std::span<const ExportType> types) {
  std::string filter;
  for (const ExportType& t : types) {
    if (!filter.empty()) filter += '|';
    filter += std::string(t.description) + "|*." + t.extension;
  }
  return filter;
}

const ExportType& ExportTypeFor(const std::string& path, int filter_index,
                                std::span<const ExportType> types) {
  const std::size_t chosen =
      filter_index >= 1 && static_cast<std::size_t>(filter_index) <= types.size() ? filter_index - 1 : 0;
  const std::string ext = ExtensionOf(path);
  if (ext.empty() || ext == types[chosen].extension) return types[chosen];
  for (const ExportType& t : types)
    if (ext == t.extension) return t;
  return types[chosen];
}

exporter::TileOptions ExportOptions(const ExportType& type, int repeat, bool seamless) {
  return exporter::TileOptions{.format = type.format,
                               .size = type.side / repeat,
                               .repeat = repeat,
                               .seamless = seamless || type.seamless};
}

}  // namespace app
