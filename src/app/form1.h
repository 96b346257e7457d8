// Form1, the main window: the runtime form built from Form1's layout, the
// pattern state its handlers share, and every event handler of the window.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "app/form1_layout.h"
#include "app/pattern_history.h"
#include "patterns/pattern_context.h"
#include "patterns/random_source.h"
#include "runtime/form.h"
#include "runtime/save_picture.h"

namespace app {

// The amplitude list of Combo1, in the order Form_Load appends it.
inline constexpr const char* kAmplitudes[] = {"8",   "16",  "24",  "32",  "64",   "80",  "100",
                                              "120", "180", "360", "720", "2012", "7200"};
inline constexpr DWORD kCommonDialogFlags = 12294;  // 0x3006
inline constexpr patterns::Colour kPicpaintForeColor = 0x00FF0000;
inline constexpr const char* kSaveDialogTitle = "保存";

// The context menu of the canvas and the effect picture, in its order.
enum MenuCommand : UINT {
  kMenuPrevious = 1,  // 上一个图案, Alt+←
  kMenuNext,          // 下一个图案, Alt+→
  kMenuCopyCode,      // 复制图案编号, Ctrl+C
  kMenuPasteCode,     // 粘贴图案编号, Ctrl+V
  kMenuExportTile,    // 导出高清图案…
  kMenuExportSheet,   // 导出四方连续图…
};

struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using OwnedMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

struct Form1Options {
  // The random stream; by default a fresh one in its fixed start state.
  patterns::RandomSource* rnd = nullptr;
  patterns::LocalClock clock = patterns::SystemLocalNow;
  runtime::DialogProvider* dialogs = nullptr;
  // The file writer's system calls (tests make them fail).
  runtime::FileOps* file_ops = nullptr;
};

class Form1 {
 public:
  explicit Form1(Form1Options options = {});
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  runtime::Form& Form() { return *form_; }
  HWND Hwnd() const { return hwnd_; }
  patterns::PatternContext& Context() { return *ctx_; }
  patterns::Colour icolor() const { return ctx_->icolor; }
  // The code of the pattern the tile buffer holds (the last one drawn to the
  // end, by a click or a tick); nothing before the first.
  std::optional<patterns::PatternCode> CurrentPatternCode() const { return ctx_->lastPattern; }

  // Raises Form_Load, shows the window and focuses the first tab stop.
  void LoadAndShow() { form_->LoadAndShow(); }

  // The message loop's look at a message before it is dispatched: the
  // accelerators of the context menu, then Tab between controls. True when
  // the message was used up.
  bool PreTranslateMessage(const MSG& msg);

  // The patterns of this run, as 上一个图案 and 下一个图案 step through them.
  const PatternHistory& History() const { return history_; }
  // The context menu as it would open now, items that cannot act grayed.
  OwnedMenu BuildContextMenu();

  // The handlers, public so that ticks and tests can call them as plain calls.
  void Form_Load();
  void cmdpaint_Click();
  void Command1_Click();
  void Command2_Click();
  void cmddan_Click();
  void Command3_Click();
  void cmdsave_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Timer1_Timer();
  void Timer2_Timer();
  void cmdexit_Click();
  void Label11_Click();
  // The context menu's commands; each does nothing where it cannot act.
  void mnuPrevious_Click();
  void mnuNext_Click();
  void mnuCopyCode_Click();
  void mnuPasteCode_Click();
  void mnuExportTile_Click();
  void mnuExportSheet_Click();

  std::string Combo1Text() const;

 private:
  void Wire();
  bool OnContextMenu(HWND from, POINT at);
  const char* AcceleratorEvent(const MSG& msg) const;
  bool CanAct(MenuCommand command) const;
  void Step(bool forward);
  // Canvas, tile buffer and effect picture as the entry keeps them.
  void ShowEntry(const HistoryEntry& entry);
  // The pattern of a code on the canvas and in the tile buffer, its colours
  // made the current ones.
  void ShowPattern(const patterns::PatternCode& code);
  void ExportCurrentPattern(int repeat, bool seamless, const char* title);
  void ReportProblem(const std::string& text);

  std::unique_ptr<patterns::Pcg32Random> own_rnd_;
  patterns::RandomSource* rnd_;
  runtime::FileOps* file_ops_;
  std::unique_ptr<runtime::Form> form_;
  HWND hwnd_ = nullptr;
  std::unique_ptr<patterns::PatternContext> ctx_;
  runtime::PictureBox* picpaint_ = nullptr;
  runtime::PictureBox* Picture1_ = nullptr;
  runtime::Timer* Timer1_ = nullptr;
  runtime::Timer* Timer2_ = nullptr;
  runtime::CommonDialog* cdl1_ = nullptr;
  HWND Combo1_ = nullptr;
  PatternHistory history_;
  // What Picture1 shows now.
  EffectShown effect_;
  // The export's own save dialog, so that 保存 keeps its name and type.
  std::unique_ptr<runtime::CommonDialog> cdlExport_;
  std::string export_folder_;
};

// Which event calls which handler, with the caption of what the user clicks to raise it: a button or
// label of the layout, an item of the context menu, or (caption in brackets) the program itself.
// Form1 registers exactly these; the generators each handler runs are named for what they draw.
struct Form1Handler {
  const char* event;
  std::string_view caption;
  bool menu;  // a command of the context menu rather than an event of a control
  void (Form1::*handler)();
};
inline constexpr Form1Handler kForm1Handlers[] = {
    {"Form_Load", "（窗口打开）", false, &Form1::Form_Load},
    {"cmdpaint_Click", "画图1", false, &Form1::cmdpaint_Click},
    {"Command1_Click", "画图2", false, &Form1::Command1_Click},
    {"Command2_Click", "效果图", false, &Form1::Command2_Click},
    {"cmddan_Click", "前景色", false, &Form1::cmddan_Click},
    {"Command3_Click", "背景色", false, &Form1::Command3_Click},
    {"cmdsave_Click", "保存", false, &Form1::cmdsave_Click},
    {"Command4_Click", "自动图1", false, &Form1::Command4_Click},
    {"Command5_Click", "自动图2", false, &Form1::Command5_Click},
    {"Command6_Click", "停止自动", false, &Form1::Command6_Click},
    {"Timer1_Timer", "（自动图1 的每一拍）", false, &Form1::Timer1_Timer},
    {"Timer2_Timer", "（自动图2 的每一拍）", false, &Form1::Timer2_Timer},
    {"cmdexit_Click", "退出", false, &Form1::cmdexit_Click},
    {"Label11_Click", kMakerNotice, false, &Form1::Label11_Click},
    {"mnuPrevious_Click", "上一个图案", true, &Form1::mnuPrevious_Click},
    {"mnuNext_Click", "下一个图案", true, &Form1::mnuNext_Click},
    {"mnuCopyCode_Click", "复制图案编号", true, &Form1::mnuCopyCode_Click},
    {"mnuPasteCode_Click", "粘贴图案编号", true, &Form1::mnuPasteCode_Click},
    {"mnuExportTile_Click", "导出高清图案…", true, &Form1::mnuExportTile_Click},
    {"mnuExportSheet_Click", "导出四方连续图…", true, &Form1::mnuExportSheet_Click},
};

}  // namespace app
