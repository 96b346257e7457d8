// The handlers of Form1's commands, switches, timers, exit and notice link.
#include <cstdint>

#include "app/form1.h"
#include "app/form1_layout.h"
#include "patterns/auto_tick.h"
#include "patterns/curve_pattern.h"
#include "patterns/effect_picture.h"
#include "runtime/save_picture.h"

namespace app {

void Form1::cmdpaint_Click() { patterns::DrawCurvePattern1(*ctx_); }
void Form1::Command1_Click() { patterns::DrawCurvePattern2(*ctx_); }
void Form1::Command2_Click() { patterns::DrawEffectPicture(*ctx_); }

void Form1::cmddan_Click() {
  cdl1_->ShowColor();
  // A cancel hands over the last colour confirmed in any colour dialog.
  ctx_->icolor = static_cast<patterns::Colour>(static_cast<std::int32_t>(cdl1_->Color()));
}

void Form1::Command3_Click() {
  picpaint_->SetBackColor(patterns::RandomColour(*rnd_, 235.0));
  // The colour picked here is only remembered by the dialog.
  cdl1_->ShowColor();
}

void Form1::cmdsave_Click() {
  cdl1_->SetDialogTitle(kSaveDialogTitle);
  if (!cdl1_->ShowSave()) return;
  runtime::SavePicture(Picture1_->Image(), cdl1_->FileName(), *file_ops_);
}

void Form1::Command4_Click() {
  Timer1_->SetEnabled(true);
  Timer2_->SetEnabled(false);
}

void Form1::Command5_Click() {
  Timer2_->SetEnabled(true);
  Timer1_->SetEnabled(false);
}

void Form1::Command6_Click() {
  Timer2_->SetEnabled(false);
  Timer1_->SetEnabled(false);
}

// A tick that fails switches its mode off before the error is shown, so the
// message box is not followed by a new failing tick every two seconds.
void Form1::Timer1_Timer() {
  try {
    patterns::AutoTick1(*ctx_);
  } catch (...) {
    Timer1_->SetEnabled(false);
    throw;
  }
}

void Form1::Timer2_Timer() {
  try {
    patterns::AutoTick2(*ctx_);
  } catch (...) {
    Timer2_->SetEnabled(false);
    throw;
  }
}

void Form1::cmdexit_Click() { form_->End(); }

void Form1::Label11_Click() {
  const std::string address(kMakerWebAddress);
  ShellExecuteA(hwnd_ ? hwnd_ : form_->Hwnd(), "open", address.c_str(), "", "", SW_SHOW);
}

}  // namespace app
