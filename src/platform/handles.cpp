#include "platform/handles.h"

#include <array>
#include <unordered_map>

namespace platform {
namespace {

struct Entry {
  HandleKind kind;
  std::unique_ptr<HandleObject> obj;
  bool counted;
};

struct Table {
  // Start well above zero and step by 4 so that values look like aligned
  // pointers and never collide with small integers such as stock indices.
  std::uintptr_t next = 0x10000;
  std::unordered_map<std::uintptr_t, Entry> entries;
  std::array<std::size_t, static_cast<std::size_t>(HandleKind::Count)> live{};
};

Table& table() {
  static Table t;
  return t;
}

}  // namespace

namespace {

void* Register(HandleKind kind, std::unique_ptr<HandleObject> obj, bool counted) {
  if (kind == HandleKind::None || kind == HandleKind::Count || !obj) return nullptr;
  Table& t = table();
  std::uintptr_t value = t.next;
  t.next += 4;
  t.entries.emplace(value, Entry{kind, std::move(obj), counted});
  if (counted) ++t.live[static_cast<std::size_t>(kind)];
  return reinterpret_cast<void*>(value);
}

}  // namespace

void* AllocHandle(HandleKind kind, std::unique_ptr<HandleObject> obj) {
  return Register(kind, std::move(obj), true);
}

void* AllocPermanentHandle(HandleKind kind, std::unique_ptr<HandleObject> obj) {
  return Register(kind, std::move(obj), false);
}

HandleObject* LookupHandle(const void* h, HandleKind kind) {
  if (!h) return nullptr;
  Table& t = table();
  auto it = t.entries.find(reinterpret_cast<std::uintptr_t>(h));
  if (it == t.entries.end() || it->second.kind != kind) return nullptr;
  return it->second.obj.get();
}

HandleKind KindOfHandle(const void* h) {
  if (!h) return HandleKind::None;
  Table& t = table();
  auto it = t.entries.find(reinterpret_cast<std::uintptr_t>(h));
  return it == t.entries.end() ? HandleKind::None : it->second.kind;
}

std::unique_ptr<HandleObject> ReleaseHandle(const void* h) {
  if (!h) return nullptr;
  Table& t = table();
  auto it = t.entries.find(reinterpret_cast<std::uintptr_t>(h));
  if (it == t.entries.end()) return nullptr;
  std::unique_ptr<HandleObject> obj = std::move(it->second.obj);
  if (it->second.counted) --t.live[static_cast<std::size_t>(it->second.kind)];
  t.entries.erase(it);
  return obj;
}

std::size_t LiveHandleCount(HandleKind kind) {
  if (kind == HandleKind::None || kind == HandleKind::Count) return 0;
  return table().live[static_cast<std::size_t>(kind)];
}

}  // namespace platform
