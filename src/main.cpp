// huiwenfang — entry point: the SDL2 screen, Form1, the message loop; or the
// render command, which draws files and needs no screen.
#include <SDL.h>

#include <langinfo.h>
#include <pthread.h>
#include <signal.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <future>
#include <memory>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "platform/backend/sdl2.h"
#include "platform/gdi/thread_locale.h"
#include "platform/win32.h"
#include "render/render_command.h"
#include "runtime/error_report.h"

namespace {

// SDL turns SIGTERM and SIGINT into an SDL_QUIT event on the GUI thread (its
// own signal handler only sets a flag, which is safe). The watch sees that
// event while the backend pumps and ends the message loop from there.
int SDLCALL QuitWatch(void*, SDL_Event* ev) {
  if (ev->type == SDL_QUIT) PostQuitMessage(0);
  return 0;
}

// SDL's own SIGTERM/SIGINT handler only raises a flag that the GUI thread
// turns into SDL_QUIT when it next pumps, and that pump comes only when the
// signal interrupts the GUI thread's wait. A signal delivered to one of the
// renderer's threads would leave the program asleep, so it is passed on to
// the GUI thread first.
pthread_t g_gui_thread;
struct sigaction g_prev_term, g_prev_int;

void OnStopSignal(int sig) {
  if (!pthread_equal(pthread_self(), g_gui_thread)) {
    pthread_kill(g_gui_thread, sig);
    return;
  }
  const struct sigaction& prev = sig == SIGTERM ? g_prev_term : g_prev_int;
  if (!(prev.sa_flags & SA_SIGINFO) && prev.sa_handler != SIG_DFL && prev.sa_handler != SIG_IGN) {
    prev.sa_handler(sig);
  } else {
    // Nobody turns the signal into a quit event: end the way it asks.
    signal(sig, SIG_DFL);
    raise(sig);
  }
}

void ForwardStopSignalsToGuiThread() {
  g_gui_thread = pthread_self();
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, &g_prev_term);
  sigaction(SIGINT, &sa, &g_prev_int);
}

int Run(app::Form1& form1) {
  runtime::Form& form = form1.Form();
  MSG msg;
  while (!form.Ended() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (form1.PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

// The main window built, loaded, shown and painted on the headless screen,
// as far as it gets before it can appear. An error raised meanwhile is kept
// in `errors` to be shown once there is a screen to show it on.
std::unique_ptr<app::Form1> BuildMainWindow(std::vector<std::pair<HWND, runtime::ErrorBox>>& errors) {
  runtime::SetErrorReporter(
      [&errors](HWND owner, const runtime::ErrorBox& box) { errors.emplace_back(owner, box); });
  auto form1 = std::make_unique<app::Form1>();
  form1->LoadAndShow();
  // What the message loop would paint first; a window that never validates
  // its update region must not hold the start up.
  MSG m;
  for (int i = 0; i < 10000 && PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
    DispatchMessageA(&m);
  runtime::SetErrorReporter(nullptr);
  return form1;
}

// Xlib converts the window title through the character set of LC_CTYPE: under the "C" locale of a
// bare session the Chinese caption reaches WM_NAME garbled. Only the character type is taken from
// the environment (or UTF-8 forced), so number parsing and formatting keep the "C" rules.
void UseUtf8CharacterType() {
  if (!std::setlocale(LC_CTYPE, "") || std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
    std::setlocale(LC_CTYPE, "C.UTF-8");
}

constexpr const char* kUsage =
    "usage: huiwenfang              opens the window\n"
    "       huiwenfang render ...   draws patterns into files, with no display\n"
    "                               (huiwenfang render --help says how)\n"
    "       huiwenfang --version\n";

// The window takes no arguments: anything else is answered on the terminal
// rather than ignored, so that a mistyped command does not open a window.
int AnswerArguments(const char* arg) {
  if (std::strcmp(arg, "--version") == 0) {
    std::printf("huiwenfang %s\n", render::ProgramVersion());
    return 0;
  }
  if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fprintf(stderr, "huiwenfang: unknown argument '%s'\n%s", arg, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // Before any display is opened: rendering must work where there is none.
  if (argc >= 2) {
    if (std::strcmp(argv[1], render::kCommandName) == 0) return render::RenderMain(argc, argv);
    return AnswerArguments(argv[1]);
  }
  UseUtf8CharacterType();
  // SDL takes about as long to start as the main window takes to build
  // (fonts, skin, pictures, the first paint): the window is built on a
  // headless screen of the display's size meanwhile, and appears complete
  // once SDL is up.
  platform::PrepareSdl2Screen();
  std::vector<std::pair<HWND, runtime::ErrorBox>> errors;
  auto building = std::async(std::launch::async, [&errors, locale = platform::gdi::ThreadLocale()] {
    platform::gdi::ThreadLocale::Use inLocale(locale);
    return BuildMainWindow(errors);
  });
  const bool up = platform::StartSdl2();
  std::unique_ptr<app::Form1> form1;
  int rc = 0;
  try {
    form1 = building.get();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "huiwenfang: %s\n", e.what());
    rc = 1;
  }
  if (!up) {
    std::fprintf(stderr, "huiwenfang: cannot open the display: %s\n", SDL_GetError());
    return 1;
  }
  platform::AttachStartedSdl2();
  SDL_AddEventWatch(QuitWatch, nullptr);
  ForwardStopSignalsToGuiThread();
  if (form1) {
    for (const auto& [owner, box] : errors) runtime::ShowError(IsWindow(owner) ? owner : nullptr, box);
    try {
      rc = Run(*form1);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "huiwenfang: %s\n", e.what());
      rc = 1;
    }
  }
  form1.reset();  // its windows go while their screen is still there
  SDL_DelEventWatch(QuitWatch, nullptr);
  platform::DetachSdl2Backend();
  return rc;
}
