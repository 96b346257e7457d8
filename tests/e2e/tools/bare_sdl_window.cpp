// The reference for the start-up measurement (scripts/measure-startup.sh):
// the least an SDL2 program must do to show a 952×716 window, one colour on
// SDL's window surface, without GL. It runs until it is closed or signalled.
#include <SDL.h>

#include <cstdio>

int main(int, char**) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "bare_sdl_window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window =
      SDL_CreateWindow("bare SDL2 window", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 952, 716, 0);
  SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
  if (!surface) {
    std::fprintf(stderr, "bare_sdl_window: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  // The main window's background colour, so both programs fill the same.
  const Uint32 colour = SDL_MapRGB(surface->format, 56, 160, 245);
  auto show = [&] {
    SDL_FillRect(surface, nullptr, colour);
    SDL_UpdateWindowSurface(window);
  };
  show();
  SDL_Event ev;
  while (SDL_WaitEvent(&ev) && ev.type != SDL_QUIT) {
    if (ev.type == SDL_WINDOWEVENT && ev.window.event == SDL_WINDOWEVENT_EXPOSED) show();
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
