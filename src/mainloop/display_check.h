#pragma once
// Whether the video driver SDL started with puts the game on a screen, and what the program says
// when it ends because it does not.
#include <string>

namespace vorn1 {

// SDL's drivers whose windows are on no screen: offscreen, dummy and dummy's evdev form (a null
// name, no driver at all, counts too).
bool driver_shows_nothing(const char* driver);

// True when the program should end rather than run on `driver`: it shows nothing and the user's
// SDL_VIDEODRIVER (`requested`, null when unset) does not name it. SDL falls back to such a driver
// when no display opens; a user or test that names it (alone or in a comma-separated list, any
// case, as SDL reads the list) wants the game to run unseen.
bool refuse_video_driver(const char* driver, const char* requested);

// The one line said on the console then: that no display could be opened, why as far as known
// (`display` is the DISPLAY value, null when unset; `sdl_error` SDL's last error, may be empty) and
// what to do.
std::string no_display_text(const char* display, const char* sdl_error);

}  // namespace vorn1
