// A bare SDL window, the yardstick of the application's start, started the same way: no session
// bus to look for, the screensaver left alone, frames to the window's own surface; one frame of
// the page's colour, the moment it was presented logged as the application logs its own
// (VESTRINO_LOG_FIRST_FRAME), then a short wait and the end.
#include <SDL2/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>

int main() {
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("Bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          320, 480, SDL_WINDOW_SHOWN);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface) {
        std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 242, 244, 247));
    SDL_UpdateWindowSurface(window);
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    std::fprintf(stderr, "first frame presented at monotonic %ld.%06ld s (bare)\n",
                 static_cast<long>(t.tv_sec), t.tv_nsec / 1000);
    SDL_Event e;
    for (int i = 0; i < 50; ++i) {
        while (SDL_PollEvent(&e)) {
        }
        SDL_Delay(10);
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
