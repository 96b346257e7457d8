// A file written in full or not at all. The bytes go to a temporary file in
// the target's own folder (so the final rename never crosses file systems);
// only when all of them are there is it flushed to disk and renamed over the
// target. Any other way out (an exception, a full disk, destruction before
// Commit) removes the temporary file and leaves the target as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "export/byte_sink.h"

namespace exporter {

class AtomicFile final : public ByteSink {
 public:
  // Throws FileWriteError when the folder cannot take a new file, and
  // ExportError when something other than a regular file (a folder, a pipe,
  // a device) is at the path. A symbolic link is followed: the file it names
  // is replaced and the link stays.
  explicit AtomicFile(const std::string& path);
  ~AtomicFile() override;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(const void* data, std::size_t size) override;
  // Flushes, syncs and renames the file into place.
  void Commit();

 private:
  void Drain();
  void Fail(const char* what, int os_error);

  std::string path_;    // as given, for messages
  std::string target_;  // where the rename goes
  std::string temp_;
  int slot_ = -1;  // where RemoveUnfinishedFiles finds temp_
  int fd_ = -1;
  std::vector<std::uint8_t> buffer_;
};

// Removes the temporary file of every AtomicFile still being written. Safe in
// a signal handler, so that a program stopped by a signal leaves no
// half-written file behind.
void RemoveUnfinishedFiles() noexcept;

// `produce` writes the whole file into the sink it is given.
void WriteFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce);

}  // namespace exporter
