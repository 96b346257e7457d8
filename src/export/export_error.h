// Failures of the file engine that are not the generators' own numbered
// errors: a file that cannot be written, a size no file can have, cairo
// refusing a surface. The message names the cause.
#pragma once

#include <stdexcept>
#include <string>

namespace exporter {

class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file system call that failed; carries the system's error number.
class FileWriteError : public ExportError {
 public:
  FileWriteError(const std::string& path, const std::string& what, int os_error);
  const std::string& Path() const noexcept { return path_; }
  int OsError() const noexcept { return os_error_; }

 private:
  std::string path_;
  int os_error_;
};

}  // namespace exporter
