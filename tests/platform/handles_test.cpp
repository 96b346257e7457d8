#include "platform/handles.h"

#include <gtest/gtest.h>

namespace {

struct Probe : platform::HandleObject {
  explicit Probe(int* deaths) : deaths(deaths) {}
  ~Probe() override { ++*deaths; }
  int* deaths;
};

TEST(HandleTable, StaleAndWrongKindHandlesResolveToNothing) {
  using platform::HandleKind;
  int deaths = 0;
  const auto before = platform::LiveHandleCount(HandleKind::Brush);
  void* h = platform::AllocHandle(HandleKind::Brush, std::make_unique<Probe>(&deaths));
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(platform::LiveHandleCount(HandleKind::Brush), before + 1);
  EXPECT_NE(platform::LookupHandle(h, HandleKind::Brush), nullptr);
  EXPECT_EQ(platform::LookupHandle(h, HandleKind::Pen), nullptr);
  EXPECT_EQ(platform::KindOfHandle(h), HandleKind::Brush);

  auto obj = platform::ReleaseHandle(h);
  EXPECT_NE(obj, nullptr);
  EXPECT_EQ(deaths, 0) << "the caller owns the released object";
  obj.reset();
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(platform::LookupHandle(h, HandleKind::Brush), nullptr);
  EXPECT_EQ(platform::ReleaseHandle(h), nullptr);
  EXPECT_EQ(platform::LiveHandleCount(HandleKind::Brush), before);

  // A new object never gets the old value back.
  void* h2 = platform::AllocHandle(HandleKind::Brush, std::make_unique<Probe>(&deaths));
  EXPECT_NE(h2, h);
  platform::ReleaseHandle(h2);
  EXPECT_EQ(platform::LookupHandle(nullptr, HandleKind::Brush), nullptr);
}

}  // namespace

namespace {

TEST(HandleTable, PermanentObjectsResolveButAreNotCountedAsLive) {
  using platform::HandleKind;
  int deaths = 0;
  const auto before = platform::LiveHandleCount(HandleKind::Pen);
  void* h = platform::AllocPermanentHandle(HandleKind::Pen, std::make_unique<Probe>(&deaths));
  EXPECT_NE(platform::LookupHandle(h, HandleKind::Pen), nullptr);
  EXPECT_EQ(platform::LiveHandleCount(HandleKind::Pen), before)
      << "a lazily made stock object must not look like a leak";
  platform::ReleaseHandle(h);
  EXPECT_EQ(platform::LiveHandleCount(HandleKind::Pen), before) << "and releasing it must not go below";
  EXPECT_EQ(deaths, 1);
}

}  // namespace
