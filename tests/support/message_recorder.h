// Message recorder for window-manager tests.
//
// A recording window class (or a recording subclass put in front of any
// window) logs every message that reaches it, sent or posted, including the
// ones that arrive while the default procedure is handling another. A test
// states the sequence it expects as a table and compares entry by entry:
//
//   EXPECT_TRUE(MatchSequence(rec.Only({WM_CREATE, WM_SIZE}), {
//       {hwnd, WM_CREATE},
//       {hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 50)},
//   }));
//
// On a mismatch both sequences are printed.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace hwf::test {

struct LoggedMessage {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  bool inDefProc;   // arrived while DefWindowProcA of the recorder was running
  std::string tag;  // which recording procedure saw it ("" for the class)
};

struct Expected {
  HWND hwnd;
  UINT msg;
  std::optional<WPARAM> wParam = std::nullopt;
  std::optional<LPARAM> lParam = std::nullopt;
};

std::string MessageName(UINT msg);

class MessageRecorder {
 public:
  // Handler: return a value to answer the message yourself; std::nullopt
  // hands it on (DefWindowProcA, or the previous procedure of a subclass).
  using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  // Registers a window class whose procedure records; returns its name.
  // Each recorder registers unique names, so tests never collide.
  std::string RegisterClass(const char* base, UINT style = 0, HBRUSH background = nullptr);

  // Puts a recording procedure (logged with tag) in front of hwnd's
  // current one.
  void Subclass(HWND hwnd, const std::string& tag);

  void SetHandler(Handler h) { handler_ = std::move(h); }

  const std::vector<LoggedMessage>& Log() const { return log_; }
  void Clear() { log_.clear(); }
  // The log reduced to the given message numbers.
  std::vector<LoggedMessage> Only(std::set<UINT> msgs) const;
  // The log without noise most tests ignore (WM_GETTEXT and friends).
  std::vector<LoggedMessage> Filtered(std::function<bool(const LoggedMessage&)> keep) const;
  int Count(HWND hwnd, UINT msg) const;

  static MessageRecorder* Current();

 private:
  static LRESULT CALLBACK ClassProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);

  std::vector<LoggedMessage> log_;
  Handler handler_;
  int defDepth_ = 0;
  std::vector<std::string> classes_;
};

::testing::AssertionResult MatchSequence(const std::vector<LoggedMessage>& actual,
                                         const std::vector<Expected>& expected);

}  // namespace hwf::test
