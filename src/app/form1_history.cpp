// Form1's pattern history and codes: stepping back and forward through the
// patterns of the run, copying the current pattern's code and drawing a
// pasted one. None of it takes anything from the random stream.
#include "app/clipboard_text.h"
#include "app/code_problem_text.h"
#include "app/form1.h"
#include "patterns/curve_pattern.h"
#include "patterns/effect_picture.h"
#include "patterns/runtime_error.h"
#include "runtime/error_report.h"

namespace app {

void Form1::mnuPrevious_Click() { Step(false); }
void Form1::mnuNext_Click() { Step(true); }

void Form1::Step(bool forward) {
  if (!CanAct(forward ? kMenuNext : kMenuPrevious)) return;
  // The next tick would replace the pattern stepped to.
  Command6_Click();
  const HistoryEntry entry = *(forward ? history_.Forward() : history_.Back());
  ShowEntry(entry);
}

void Form1::ShowEntry(const HistoryEntry& entry) {
  patterns::PatternContext& ctx = *ctx_;
  const EffectShown& effect = entry.effect;
  if (!effect.tiled) {
    ctx.Picture1.Cls();
  } else {
    // An earlier pattern's tile is made on the canvas, which is drawn over
    // below before it is next painted.
    if (effect.tile)
      ShowPattern(*effect.tile);
    else
      ctx.Picture2.SetPicture(patterns::Picture());
    patterns::TileEffectPicture(ctx);
  }
  const bool shown = effect.tiled && effect.tile && effect.tile->SameAs(entry.code);
  if (!shown) ShowPattern(entry.code);
  effect_ = effect;
}

void Form1::ShowPattern(const patterns::PatternCode& code) {
  patterns::PatternContext& ctx = *ctx_;
  patterns::DrawPattern(ctx.picpaint, code);
  ctx.Picture2.SetPicture(ctx.picpaint.Image());
  ctx.icolor = code.line;
  ctx.lastPattern = code;
}

void Form1::mnuCopyCode_Click() {
  const std::optional<patterns::PatternCode> code = CurrentPatternCode();
  if (!code) return;
  if (!PutClipboardText(form_->Hwnd(), patterns::WritePatternCode(*code)))
    ReportProblem("无法把图案编号放到剪贴板上：剪贴板正被占用。");
}

void Form1::mnuPasteCode_Click() {
  const std::optional<std::string> text = ClipboardText(form_->Hwnd());
  if (!text) return;
  patterns::CodeFault fault;
  const std::optional<patterns::PatternCode> code = patterns::ReadPatternCode(*text, &fault);
  if (!code) {
    ReportProblem(PastedCodeProblem(*text, CodeFaultText(fault)));
    return;
  }
  // Refused before anything is drawn, so a code that fails half way leaves
  // the window as it was.
  try {
    patterns::CheckDrawable(*code);
  } catch (const patterns::RuntimeError& e) {
    std::string why =
        "这个图案画不出来（运行时错误 '" + std::to_string(e.Number()) + "'：" + e.Message() + "）。";
    if (e.Number() == patterns::kErrOverflow) why += "振幅太大，线条的坐标超出了单精度数的范围。";
    ReportProblem(PastedCodeProblem(*text, why));
    return;
  }
  // Like stepping: a running mode would draw over the pasted pattern.
  Command6_Click();
  ShowPattern(*code);
  history_.Add(*code, effect_);
}

void Form1::ReportProblem(const std::string& text) {
  runtime::ShowError(form_->Hwnd(), runtime::ErrorBox{std::string(form_->Layout().form.text), text});
}

}  // namespace app
