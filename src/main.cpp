// huiwenfang — entry point: the SDL2 screen, Form1, the message loop.
#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/form1.h"
#include "platform/backend/sdl2.h"
#include "platform/win32.h"

namespace {

// SDL turns SIGTERM and SIGINT into an SDL_QUIT event on the GUI thread (its
// own signal handler only sets a flag, which is safe). The watch sees that
// event while the backend pumps and ends the message loop from there.
int SDLCALL QuitWatch(void*, SDL_Event* ev) {
  if (ev->type == SDL_QUIT) PostQuitMessage(0);
  return 0;
}

int Run() {
  app::Form1 form1;
  form1.LoadAndShow();
  runtime::Form& form = form1.Form();
  MSG msg;
  while (!form.Ended() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (form.PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace

int main(int, char**) {
  if (!platform::AttachSdl2Backend()) {
    std::fprintf(stderr, "huiwenfang: cannot open the display: %s\n", SDL_GetError());
    return 1;
  }
  SDL_AddEventWatch(QuitWatch, nullptr);
  int rc = 0;
  try {
    rc = Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "huiwenfang: %s\n", e.what());
    rc = 1;
  }
  SDL_DelEventWatch(QuitWatch, nullptr);
  platform::DetachSdl2Backend();
  return rc;
}
