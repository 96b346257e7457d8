// Where the file engine puts the bytes of a file: a file being written
// atomically, or memory. A sink that cannot take more throws, and the
// engine lets the exception through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace exporter {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(const void* data, std::size_t size) = 0;
};

class MemorySink final : public ByteSink {
 public:
  void Write(const void* data, std::size_t size) override {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + size);
  }
  std::vector<std::uint8_t> bytes;
};

}  // namespace exporter
