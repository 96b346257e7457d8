// The C locale a helper thread works in, fixed when the thread is started.
// SDL sets the process's locale for a moment while it opens the input
// method, and setlocale must not run beside other threads' use of the
// locale (case mapping, number formatting): a thread that works while SDL
// starts takes a copy of the locale of the thread that started it.
#pragma once

#include <locale.h>
#include <clocale>

namespace platform::gdi {

class ThreadLocale {
 public:
  // In the starting thread: copies its locale.
  ThreadLocale() : copy_(duplocale(uselocale(static_cast<locale_t>(0)))) {}
  ~ThreadLocale() {
    if (copy_) freelocale(copy_);
  }
  ThreadLocale(ThreadLocale&& o) noexcept : copy_(o.copy_) { o.copy_ = static_cast<locale_t>(0); }
  ThreadLocale(const ThreadLocale&) = delete;
  ThreadLocale& operator=(const ThreadLocale&) = delete;
  ThreadLocale& operator=(ThreadLocale&&) = delete;

  // In the started thread, for as long as the returned guard lives.
  class Use {
   public:
    explicit Use(const ThreadLocale& l)
        : previous_(l.copy_ ? uselocale(l.copy_) : static_cast<locale_t>(0)) {}
    ~Use() {
      if (previous_) uselocale(previous_);
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

   private:
    locale_t previous_;
  };

 private:
  locale_t copy_;
};

}  // namespace platform::gdi
