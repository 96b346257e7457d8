// Form1: building the window and routing its events to the handlers.
#include "app/form1.h"

#include <stdexcept>
#include <utility>

#include "app/export_types.h"
#include "app/form1_layout.h"
#include "skin/skin_install.h"

namespace app {
namespace {

// Overwrite prompt and no read-only box; a new file needs no asking.
constexpr DWORD kExportDialogFlags = 0x0002 | 0x0004;

template <typename T>
T* Require(T* p, const char* what) {
  if (!p) throw std::logic_error(std::string("Form1's layout has no ") + what);
  return p;
}

}  // namespace

Form1::Form1(Form1Options options)
    : own_rnd_(options.rnd ? nullptr : std::make_unique<patterns::Pcg32Random>()),
      rnd_(options.rnd ? options.rnd : own_rnd_.get()),
      file_ops_(options.file_ops ? options.file_ops : &runtime::SystemFileOps()) {
  form_ = std::make_unique<runtime::Form>(Form1Layout(),
                                          options.dialogs ? *options.dialogs : runtime::SystemDialogs());
  runtime::Form& f = *form_;
  picpaint_ = Require(f.Picture("picpaint"), "picpaint");
  Picture1_ = Require(f.Picture("Picture1"), "Picture1");
  Timer1_ = Require(f.TimerNamed("Timer1"), "Timer1");
  Timer2_ = Require(f.TimerNamed("Timer2"), "Timer2");
  cdl1_ = Require(f.Dialog("cdl1"), "cdl1");
  Combo1_ = Require(f.ControlHwnd("Combo1"), "Combo1");
  ctx_ = std::make_unique<patterns::PatternContext>(
      patterns::PatternContext{.picpaint = *picpaint_,
                               .Picture1 = *Picture1_,
                               .Picture2 = *Require(f.Picture("Picture2"), "Picture2"),
                               .Picture3 = *Require(f.Picture("Picture3"), "Picture3"),
                               .amplitudeText = [this] { return Combo1Text(); },
                               .rnd = *rnd_,
                               .clock = options.clock ? options.clock : patterns::SystemLocalNow,
                               .icolor = 0});
  ctx_->onPatternDrawn = [this](const patterns::PatternCode& code) { history_.Add(code, effect_); };
  ctx_->onEffectDrawn = [this] {
    effect_ = EffectShown{.tiled = true, .tile = ctx_->lastPattern};
    history_.SetCurrentEffect(effect_);
  };
  cdlExport_ = std::make_unique<runtime::CommonDialog>(
      f.Hwnd(), ExportFilter(), options.dialogs ? *options.dialogs : runtime::SystemDialogs());
  cdlExport_->SetFlags(kExportDialogFlags);
  cdlExport_->SetDefaultExt(kExportTypes[0].extension);
  Wire();
}

void Form1::Wire() {
  runtime::Form& f = *form_;
  for (const Form1Handler& h : kForm1Handlers) {
    auto call = [this, handler = h.handler] { (this->*handler)(); };
    if (h.menu)
      f.OnMenu(h.event, std::move(call));
    else
      f.On(h.event, std::move(call));
  }
  f.OnContextMenu([this](HWND from, POINT at) { return OnContextMenu(from, at); });
}

std::string Form1::Combo1Text() const {
  const int n = GetWindowTextLengthA(Combo1_);
  std::string s(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
  const int got = GetWindowTextA(Combo1_, s.data(), static_cast<int>(s.size()));
  s.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return s;
}

void Form1::Form_Load() {
  hwnd_ = form_->Hwnd();
  skin::ApplySkin(hwnd_);
  cdl1_->SetFlags(kCommonDialogFlags);
  for (const char* item : kAmplitudes) {
    if (SendMessageA(Combo1_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item)) < 0)
      throw std::runtime_error("Combo1 cannot take the amplitude list");
  }
  picpaint_->SetForeColor(kPicpaintForeColor);
}

}  // namespace app
