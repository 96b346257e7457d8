#include "export/export_error.h"

#include <cstring>

namespace exporter {

FileWriteError::FileWriteError(const std::string& path, const std::string& what, int os_error)
    : ExportError(what + " " + path + ": " + std::strerror(os_error)), path_(path), os_error_(os_error) {}

}  // namespace exporter
