#pragma once
// A notice that ends the program, shown in the game's own window before any of the data is there:
// drawn with a font alone (no archive art), closed by a key or a click.
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

namespace vorn1 {

// Shows the notice until a key is pressed, the window is clicked or closed; the small font takes a
// text too long for the large one. False, having shown nothing, without a renderer or a font.
bool run_fatal_notice(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* small, const std::string& text);

}  // namespace vorn1
