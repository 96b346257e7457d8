// huiwenfang — entry point.
//
// For now the program opens its empty main window; the form, its controls and
// the skin attach here as they are built.
#include <SDL.h>

#include <cstdio>

int main(int, char**) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "huiwenfang: cannot open the display: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("澜帆绘纹坊0.1版", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 952, 716, 0);
  if (!window) {
    std::fprintf(stderr, "huiwenfang: cannot create the window: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 56, 160, 245));
  SDL_UpdateWindowSurface(window);
  SDL_Event ev;
  while (SDL_WaitEvent(&ev)) {
    if (ev.type == SDL_QUIT) break;
    if (ev.type == SDL_WINDOWEVENT && ev.window.event == SDL_WINDOWEVENT_EXPOSED) SDL_UpdateWindowSurface(window);
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
