#include "support/message_recorder.h"

#include <cstdio>
#include <map>
#include <sstream>

namespace hwf::test {
namespace {

MessageRecorder* g_current = nullptr;
int g_classSerial = 0;
constexpr const char* kPrevProp = "hwf.test.prevproc";
constexpr const char* kTagProp = "hwf.test.tag";

// Tags live as long as the process; subclass procedures find theirs by
// window property.
std::vector<std::string>& tags() {
  static std::vector<std::string> t;
  return t;
}

}  // namespace

std::string MessageName(UINT msg) {
  static const std::map<UINT, const char*> names = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"},
      {WM_SETTEXT, "WM_SETTEXT"},
      {WM_GETTEXT, "WM_GETTEXT"},
      {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
      {WM_PAINT, "WM_PAINT"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_QUIT, "WM_QUIT"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_STYLECHANGING, "WM_STYLECHANGING"},
      {WM_STYLECHANGED, "WM_STYLECHANGED"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
      {WM_NCHITTEST, "WM_NCHITTEST"},
      {WM_NCPAINT, "WM_NCPAINT"},
      {WM_NCACTIVATE, "WM_NCACTIVATE"},
      {WM_GETDLGCODE, "WM_GETDLGCODE"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_CHAR, "WM_CHAR"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_TIMER, "WM_TIMER"},
      {WM_ENTERIDLE, "WM_ENTERIDLE"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
      {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
      {WM_RBUTTONUP, "WM_RBUTTONUP"},
      {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
      {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
      {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"},
      {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
      {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"},
      {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
      {WM_INITMENU, "WM_INITMENU"},
      {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"},
      {WM_MENUSELECT, "WM_MENUSELECT"},
      {WM_MENUCHAR, "WM_MENUCHAR"},
      {WM_UNINITMENUPOPUP, "WM_UNINITMENUPOPUP"},
      {WM_ENTERMENULOOP, "WM_ENTERMENULOOP"},
      {WM_EXITMENULOOP, "WM_EXITMENULOOP"},
      {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
      {WM_SYSKEYUP, "WM_SYSKEYUP"},
  };
  auto it = names.find(msg);
  if (it != names.end()) return it->second;
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%04X", msg);
  return buf;
}

MessageRecorder::MessageRecorder() { g_current = this; }

MessageRecorder::~MessageRecorder() {
  if (g_current == this) g_current = nullptr;
}

MessageRecorder* MessageRecorder::Current() { return g_current; }

std::string MessageRecorder::RegisterClass(const char* base, UINT style, HBRUSH background) {
  std::string name = std::string(base) + "#" + std::to_string(++g_classSerial);
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = &MessageRecorder::ClassProc;
  wc.hbrBackground = background;
  wc.lpszClassName = name.c_str();
  if (!RegisterClassA(&wc)) ADD_FAILURE() << "cannot register " << name;
  classes_.push_back(name);
  return name;
}

void MessageRecorder::Subclass(HWND hwnd, const std::string& tag) {
  tags().push_back(tag);
  LONG_PTR prev =
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageRecorder::SubclassProc));
  // A second recording subclass on the same window chains through the
  // first; keep the chain in numbered properties.
  int depth = 0;
  while (GetPropA(hwnd, (std::string(kPrevProp) + std::to_string(depth)).c_str())) ++depth;
  SetPropA(hwnd, (std::string(kPrevProp) + std::to_string(depth)).c_str(), reinterpret_cast<HANDLE>(prev));
  SetPropA(hwnd, (std::string(kTagProp) + std::to_string(depth)).c_str(),
           reinterpret_cast<HANDLE>(tags().size()));  // index + 1
}

LRESULT CALLBACK MessageRecorder::ClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MessageRecorder* r = g_current;
  if (!r) return DefWindowProcA(hwnd, msg, wParam, lParam);
  r->log_.push_back(LoggedMessage{hwnd, msg, wParam, lParam, r->defDepth_ > 0, ""});
  if (r->handler_)
    if (auto v = r->handler_(hwnd, msg, wParam, lParam)) return *v;
  ++r->defDepth_;
  LRESULT res = DefWindowProcA(hwnd, msg, wParam, lParam);
  --r->defDepth_;
  return res;
}

LRESULT CALLBACK MessageRecorder::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The outermost subclass is the one with the highest number; each level
  // remembers which level runs next in a thread-local counter.
  static thread_local int level = -1;
  int top = 0;
  while (GetPropA(hwnd, (std::string(kPrevProp) + std::to_string(top)).c_str())) ++top;
  int mine = level >= 0 ? level : top - 1;
  if (mine < 0) return DefWindowProcA(hwnd, msg, wParam, lParam);
  auto prev =
      reinterpret_cast<WNDPROC>(GetPropA(hwnd, (std::string(kPrevProp) + std::to_string(mine)).c_str()));
  auto tagIndex = reinterpret_cast<std::uintptr_t>(
      GetPropA(hwnd, (std::string(kTagProp) + std::to_string(mine)).c_str()));
  std::string tag = tagIndex ? tags()[tagIndex - 1] : "?";
  if (MessageRecorder* r = g_current)
    r->log_.push_back(LoggedMessage{hwnd, msg, wParam, lParam, r->defDepth_ > 0, tag});
  int saved = level;
  level = (prev == &MessageRecorder::SubclassProc) ? mine - 1 : -1;
  LRESULT res = CallWindowProcA(prev, hwnd, msg, wParam, lParam);
  level = saved;
  return res;
}

std::vector<LoggedMessage> MessageRecorder::Only(std::set<UINT> msgs) const {
  return Filtered([&](const LoggedMessage& m) { return msgs.count(m.msg) > 0; });
}

std::vector<LoggedMessage> MessageRecorder::Filtered(std::function<bool(const LoggedMessage&)> keep) const {
  std::vector<LoggedMessage> out;
  for (const auto& m : log_)
    if (keep(m)) out.push_back(m);
  return out;
}

int MessageRecorder::Count(HWND hwnd, UINT msg) const {
  int n = 0;
  for (const auto& m : log_) n += (m.hwnd == hwnd && m.msg == msg);
  return n;
}

namespace {

std::string Describe(const LoggedMessage& m) {
  std::ostringstream s;
  s << m.hwnd << " " << MessageName(m.msg) << " w=0x" << std::hex << m.wParam << " l=0x" << m.lParam;
  if (!m.tag.empty()) s << " [" << m.tag << "]";
  if (m.inDefProc) s << " (in DefWindowProc)";
  return s.str();
}

std::string Describe(const Expected& e) {
  std::ostringstream s;
  s << e.hwnd << " " << MessageName(e.msg);
  if (e.wParam) s << " w=0x" << std::hex << *e.wParam;
  if (e.lParam) s << " l=0x" << std::hex << *e.lParam;
  return s.str();
}

}  // namespace

::testing::AssertionResult MatchSequence(const std::vector<LoggedMessage>& actual,
                                         const std::vector<Expected>& expected) {
  std::size_t firstBad = std::max(actual.size(), expected.size());
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
    const auto& a = actual[i];
    const auto& e = expected[i];
    if (a.hwnd != e.hwnd || a.msg != e.msg || (e.wParam && *e.wParam != a.wParam) ||
        (e.lParam && *e.lParam != a.lParam)) {
      firstBad = i;
      break;
    }
  }
  if (firstBad == std::max(actual.size(), expected.size()) && actual.size() == expected.size())
    return ::testing::AssertionSuccess();
  if (firstBad == std::max(actual.size(), expected.size()))
    firstBad = std::min(actual.size(), expected.size());
  std::ostringstream s;
  s << "message sequences differ at entry " << firstBad << "\nexpected:\n";
  for (std::size_t i = 0; i < expected.size(); ++i)
    s << (i == firstBad ? " > " : "   ") << i << ": " << Describe(expected[i]) << "\n";
  s << "actual:\n";
  for (std::size_t i = 0; i < actual.size(); ++i)
    s << (i == firstBad ? " > " : "   ") << i << ": " << Describe(actual[i]) << "\n";
  return ::testing::AssertionFailure() << s.str();
}

}  // namespace hwf::test
