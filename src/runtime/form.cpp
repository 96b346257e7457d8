// Sections:
//   1. Classes and fonts
//   2. Building the window and its controls
//   3. Lookup
//   4. Events and errors
//   5. Keyboard navigation by tab index
//   6. Window procedure
#include "runtime/form.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "runtime/error_report.h"
#include "runtime/form_paint.h"

namespace runtime {
namespace {

constexpr char kFormProp[] = "RuntimeForm";

Form* FormOf(HWND hwnd) { return static_cast<Form*>(GetPropA(hwnd, kFormProp)); }

LRESULT CALLBACK FrameWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT || msg == WM_ERASEBKGND) {
    Form* form = FormOf(GetParent(hwnd));
    const LayoutRow* row = form ? static_cast<const LayoutRow*>(GetPropA(hwnd, "RuntimeRow")) : nullptr;
    if (row) {
      if (msg == WM_ERASEBKGND) return 1;
      win32::PaintDc dc(hwnd);
      if (dc.get()) PaintFrame(hwnd, dc.get(), *row, form->FormFont());
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

// ---- 1. Classes and fonts -----------------------------------------------------------

HFONT CreateLayoutFont(std::string_view face, float points, bool bold) {
  if (face.empty() || points <= 0) return nullptr;
  const std::string name(face);
  return CreateFontA(LogFontHeight(points), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0, name.c_str());
}

void RegisterRuntimeClasses() {
  static bool done = false;
  WNDCLASSEXA probe{};
  probe.cbSize = sizeof(probe);
  // Tests wipe the desktop between cases, classes included; register again
  // whenever the form class is gone.
  if (done && GetClassInfoExA(nullptr, kFormClass, &probe)) return;
  const struct {
    const char* name;
    WNDPROC proc;
  } classes[] = {
      {kFormClass, Form::WndProc}, {kFrameClass, FrameWndProc}, {kPictureBoxClass, PictureBox::WndProc}};
  for (const auto& c : classes) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = c.proc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = c.name;
    if (!GetClassInfoExA(nullptr, c.name, &probe)) RegisterClassExA(&wc);
  }
  done = true;
}

// ---- 2. Building the window and its controls --------------------------------------------

Form::Form(const FormLayout& layout, DialogProvider& dialogs) : layout_(layout) {
  RegisterRuntimeClasses();
  const LayoutRow& f = layout.form;
  back_ = f.back_colour.is_default ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(f.back_colour.value);
  font_.reset(CreateLayoutFont(f.font.face, f.font.points, f.font.bold));

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT r{0, 0, TwipsToPixels(f.width), TwipsToPixels(f.height)};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  const std::string caption(f.text);
  hwnd_ =
      CreateWindowExA(0, kFormClass, caption.c_str(), style, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
  if (!hwnd_) throw std::runtime_error("cannot create the form window");
  SetPropA(hwnd_, kFormProp, this);
  try {
    CreateControls(dialogs);
  } catch (...) {
    RemovePropA(hwnd_, kFormProp);
    DestroyWindow(hwnd_);
    throw;
  }
}

Form::~Form() {
  timers_.clear();
  if (IsWindow(hwnd_)) {
    RemovePropA(hwnd_, kFormProp);
    quit_on_destroy_ = false;
    DestroyWindow(hwnd_);
  }
  pictures_.clear();
}

HWND Form::CreateStandardControl(const LayoutRow& row, int id) {
  const char* cls = nullptr;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD ex = row.client_edge ? WS_EX_CLIENTEDGE : 0;
  switch (row.kind) {
    case ControlKind::CommandButton:
      cls = "Button";
      style |= BS_PUSHBUTTON;
      break;
    case ControlKind::TextBox:
      cls = "Edit";
      style |= row.multi_line ? (ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN) : ES_AUTOHSCROLL;
      if (row.scroll_bars == ScrollBars::Vertical || row.scroll_bars == ScrollBars::Both) style |= WS_VSCROLL;
      if (row.scroll_bars == ScrollBars::Horizontal || row.scroll_bars == ScrollBars::Both)
        style |= WS_HSCROLL;
      break;
    case ControlKind::ComboBox:
      cls = "ComboBox";
      style |= WS_VSCROLL | CBS_AUTOHSCROLL |
               (row.combo_style == ComboStyle::DropdownList ? CBS_DROPDOWNLIST
                : row.combo_style == ComboStyle::Simple     ? CBS_SIMPLE
                                                            : CBS_DROPDOWN);
      break;
    case ControlKind::Frame:
      // A frame never takes the focus, whatever its tab index says.
      cls = kFrameClass;
      break;
    default:
      return nullptr;
  }
  if (row.tab_index != kNoTabIndex && row.kind != ControlKind::Frame) style |= WS_TABSTOP;
  const PixelRect p = OuterPixels(row);
  const std::string text(row.text);
  HWND h = CreateWindowExA(ex, cls, text.c_str(), style, p.x, p.y, p.width, p.height, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (!h) throw std::runtime_error("cannot create control " + std::string(row.name) + " of class " + cls);
  if (row.kind == ControlKind::Frame) SetPropA(h, "RuntimeRow", const_cast<LayoutRow*>(&row));
  // A combo box keeps the text of its edit field apart from its list.
  if (row.kind == ControlKind::ComboBox) SetWindowTextA(h, text.c_str());
  return h;
}

void Form::CreateControls(DialogProvider& dialogs) {
  controls_.reserve(layout_.controls.size());
  for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
    const LayoutRow& row = layout_.controls[i];
    const int id = kFirstControlId + static_cast<int>(i);
    Control c{&row, nullptr};
    switch (row.kind) {
      case ControlKind::PictureBox: {
        auto box = std::make_unique<PictureBox>(hwnd_, row, EffectiveFont(layout_, row), id);
        c.hwnd = box->Hwnd();
        pictures_.emplace(std::string(row.name), std::move(box));
        break;
      }
      case ControlKind::Timer:
        timers_.emplace(std::string(row.name),
                        std::make_unique<Timer>(hwnd_, static_cast<UINT_PTR>(id), row.name, row.interval_ms,
                                                row.enabled));
        break;
      case ControlKind::CommonDialog:
        dialogs_.emplace(std::string(row.name), std::make_unique<CommonDialog>(hwnd_, row.filter, dialogs));
        break;
      case ControlKind::Label:
      case ControlKind::Shape:
      case ControlKind::Form:
        break;
      default:
        c.hwnd = CreateStandardControl(row, id);
        break;
    }
    if (c.hwnd) {
      // Picture boxes print in a font of their own; every other control of a
      // form takes the form's font.
      HFONT font =
          row.kind == ControlKind::PictureBox ? pictures_.find(row.name)->second->Font() : font_.get();
      SendMessageA(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    controls_.push_back(c);
  }
}

// ---- 3. Lookup ----------------------------------------------------------------------------

HWND Form::ControlHwnd(std::string_view name) const {
  for (const Control& c : controls_)
    if (c.row->name == name) return c.hwnd;
  return nullptr;
}

PictureBox* Form::Picture(std::string_view name) const {
  auto it = pictures_.find(name);
  return it == pictures_.end() ? nullptr : it->second.get();
}

Timer* Form::TimerNamed(std::string_view name) const {
  auto it = timers_.find(name);
  return it == timers_.end() ? nullptr : it->second.get();
}

CommonDialog* Form::Dialog(std::string_view name) const {
  auto it = dialogs_.find(name);
  return it == dialogs_.end() ? nullptr : it->second.get();
}

const Form::Control* Form::ControlById(int id) const {
  const int i = id - kFirstControlId;
  if (i < 0 || i >= static_cast<int>(controls_.size())) return nullptr;
  return &controls_[static_cast<std::size_t>(i)];
}

const Form::Control* Form::ControlByHwnd(HWND hwnd) const {
  for (const Control& c : controls_)
    if (c.hwnd && c.hwnd == hwnd) return &c;
  return nullptr;
}

// ---- 4. Events and errors ----------------------------------------------------------------

namespace {

// The events each kind of control raises.
std::string_view EventOfKind(ControlKind kind) {
  switch (kind) {
    case ControlKind::Form:
      return "Load";
    case ControlKind::CommandButton:
    case ControlKind::Label:
      return "Click";
    case ControlKind::Timer:
      return "Timer";
    default:
      return {};
  }
}

[[noreturn]] void RefuseHandler(std::string_view event, std::string_view why) {
  throw std::logic_error("handler \"" + std::string(event) + "\": " + std::string(why));
}

}  // namespace

void Form::On(std::string_view event, std::function<void()> handler) {
  const std::size_t cut = event.rfind('_');
  if (cut == std::string_view::npos) RefuseHandler(event, "no control_Event name");
  const std::string_view control = event.substr(0, cut);
  const std::string_view what = event.substr(cut + 1);
  const LayoutRow* row = control == "Form" ? &layout_.form : FindControl(layout_, control);
  if (!row) RefuseHandler(event, "no control of that name in the layout");
  if (EventOfKind(row->kind) != what)
    RefuseHandler(event, "a " + std::string(KindName(row->kind)) + " raises no such event");
  handlers_[std::string(event)] = std::move(handler);
}

void Form::OnMenu(std::string_view event, std::function<void()> handler) {
  if (!event.starts_with("mnu") || !event.ends_with("_Click"))
    RefuseHandler(event, "not a menu command's name");
  if (FindControl(layout_, event.substr(0, event.size() - 6)))
    RefuseHandler(event, "names a control of the layout");
  handlers_[std::string(event)] = std::move(handler);
}

void Form::End() {
  ended_ = true;
  for (auto& [name, timer] : timers_) timer->SetEnabled(false);
  PostQuitMessage(0);
}

bool Form::RaiseEvent(std::string_view event) {
  if (ended_) return false;
  auto it = handlers_.find(event);
  if (it == handlers_.end() || !it->second) return true;
  // A copy, so a handler that replaces itself does not pull the rug away.
  const std::function<void()> handler = it->second;
  try {
    handler();
    return true;
  } catch (...) {
    ReportError(hwnd_, layout_.form.text, std::current_exception());
    return false;
  }
}

void Form::LoadAndShow() {
  RaiseEvent("Form_Load");
  if (!IsWindow(hwnd_)) return;
  ShowWindow(hwnd_, SW_SHOW);
  const std::vector<HWND> stops = TabStops();
  if (!stops.empty()) SetFocus(stops.front());
  UpdateWindow(hwnd_);
}

// ---- 5. Keyboard navigation by tab index --------------------------------------------------

std::vector<HWND> Form::TabStops() const {
  std::vector<const Control*> order;
  for (const Control& c : controls_) {
    if (!c.hwnd || c.row->tab_index == kNoTabIndex) continue;
    if (!(GetWindowLongA(c.hwnd, GWL_STYLE) & WS_TABSTOP)) continue;
    if (!IsWindowVisible(c.hwnd) || !IsWindowEnabled(c.hwnd)) continue;
    order.push_back(&c);
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->row->tab_index < b->row->tab_index; });
  std::vector<HWND> out;
  for (const Control* c : order) out.push_back(c->hwnd);
  return out;
}

HWND Form::NextTabStop(HWND from, bool backwards) const {
  const std::vector<HWND> stops = TabStops();
  if (stops.empty()) return nullptr;
  // The focus may sit in a part of a control (the edit field of a combo box).
  while (from && GetParent(from) != hwnd_) from = GetParent(from);
  auto it = std::find(stops.begin(), stops.end(), from);
  if (it == stops.end()) return backwards ? stops.back() : stops.front();
  const std::size_t i = static_cast<std::size_t>(it - stops.begin());
  const std::size_t n = stops.size();
  return stops[backwards ? (i + n - 1) % n : (i + 1) % n];
}

bool Form::PreTranslateMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  if (GetKeyState(VK_CONTROL) & 0x8000) return false;
  const bool back = GetKeyState(VK_SHIFT) & 0x8000;
  if (HWND next = NextTabStop(GetFocus(), back)) SetFocus(next);
  return true;
}

// ---- 6. Window procedure -------------------------------------------------------------------

HBRUSH Form::BrushFor(COLORREF colour) {
  auto it = brushes_.find(colour);
  if (it == brushes_.end())
    it = brushes_.emplace(colour, win32::GdiObject<HBRUSH>(CreateSolidBrush(colour))).first;
  return it->second.get();
}

LRESULT Form::OnCtlColor(HDC dc, HWND control) {
  const Control* c = ControlByHwnd(control);
  if (!c) c = ControlByHwnd(GetParent(control));  // the edit field inside a combo box
  if (!c || (c->row->back_colour.is_default && c->row->fore_colour.is_default)) return 0;
  const COLORREF fore =
      c->row->fore_colour.is_default ? GetSysColor(COLOR_WINDOWTEXT) : c->row->fore_colour.value;
  const COLORREF back =
      c->row->back_colour.is_default ? GetSysColor(COLOR_WINDOW) : c->row->back_colour.value;
  SetTextColor(dc, fore);
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(BrushFor(back));
}

void Form::OnPaint() {
  win32::PaintDc dc(hwnd_);
  if (dc.get()) PaintFormSurface(dc.get(), layout_, back_, font_.get(), BrushFor(back_));
}

// The form holds the mouse from a press on a label to the release, so a
// release elsewhere (even outside the window) ends the press without a click.
// The second press of a double-click arrives as WM_LBUTTONDBLCLK, which starts
// no press: a double-click is one click.
void Form::OnLButtonDown(POINT pt) {
  pressed_label_ = LabelAt(layout_, pt);
  if (pressed_label_) SetCapture(hwnd_);
}

void Form::OnLButtonUp(POINT pt) {
  const LayoutRow* pressed = std::exchange(pressed_label_, nullptr);
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (pressed && LabelAt(layout_, pt) == pressed) RaiseEvent(std::string(pressed->name) + "_Click");
}

LRESULT CALLBACK Form::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Form* self = FormOf(hwnd);
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole surface
    case WM_PAINT:
      self->OnPaint();
      return 0;
    case WM_COMMAND: {
      const Control* c = self->ControlById(LOWORD(wParam));
      if (c && HIWORD(wParam) == BN_CLICKED && c->row->kind == ControlKind::CommandButton)
        self->RaiseEvent(std::string(c->row->name) + "_Click");
      return 0;
    }
    case WM_TIMER: {
      const Control* c = self->ControlById(static_cast<int>(wParam));
      if (c && c->row->kind == ControlKind::Timer) {
        // A tick queued just before its timer was switched off is dropped.
        const Timer* t = self->TimerNamed(c->row->name);
        if (t && t->Running()) self->RaiseEvent(std::string(c->row->name) + "_Timer");
        return 0;
      }
      break;
    }
    case WM_LBUTTONDOWN:
      self->OnLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP:
      self->OnLButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CONTEXTMENU:
      if (self->context_menu_ && !self->ended_) {
        // A copy, as for the events: the menu's loop may run anything.
        const ContextMenuHandler handler = self->context_menu_;
        if (handler(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
          return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      // A dialog or another window took the mouse: the press is over.
      if (reinterpret_cast<HWND>(lParam) != hwnd) self->pressed_label_ = nullptr;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (LRESULT brush = self->OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return brush;
      break;
    case WM_ACTIVATE:
      // A dialog or message box takes the keyboard; when it closes the user expects to go on
      // from the control they were on, not from the bare form.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd, f)) self->saved_focus_ = f;
        return 0;
      }
      if (HWND f = self->saved_focus_; f && IsChild(hwnd, f) && IsWindowVisible(f) && IsWindowEnabled(f)) {
        SetFocus(f);
        return 0;
      }
      break;
    case WM_DESTROY:
      if (self->quit_on_destroy_) PostQuitMessage(0);
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace runtime
