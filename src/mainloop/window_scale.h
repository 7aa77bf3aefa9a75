#pragma once
// The window scale (1x, 2x, 3x), the interface fonts with their English fallback, the language switch,
// video file lookup and window-to-logical mouse coordinates.
#include <SDL.h>
#include <SDL_ttf.h>

#include <functional>
#include <string>
#include <vector>

#include "lang/language.h"

namespace vorn1 {

struct Resources;

constexpr int kLogicalW = 640;
constexpr int kLogicalH = 480;

// The game's window and its renderer, made as the program starts: a software renderer whose frame goes
// to the window as it is, pictures scaled to the nearest pixel, the logical screen at integer scales;
// the window is shown once the renderer exists. What could not be made is null (the caller destroys the
// rest). The battle benchmark draws on it, so it measures the frame the player gets.
struct GameWindow {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
};
GameWindow open_game_window(const char* title);

// Scale index 0..2 of any integer: the non-negative remainder modulo 3 (a negative index wraps
// rather than giving a window of no size).
int wrap_scale_index(int s);

// The first scale index from s on (wrapping) whose window fits in room_w x room_h pixels; 1x always
// counts as fitting, and a room of no size (unknown display) takes s as it is.
int fitting_scale_index(int s, int room_w, int room_h);

// Sizes the window at (index + 1) times the logical size, skipping a scale its display cannot show
// whole, centres it in the display's usable area and rebuilds the colour cursors at that factor.
// Returns the index stored. A null window or cache is skipped.
int set_window_scale(SDL_Window* window, Resources* res, int s);

// The loop's three font handles: the default is the large one, or the small one when that is missing.
struct FontSet {
    TTF_Font* large = nullptr;
    TTF_Font* small = nullptr;
    TTF_Font* def = nullptr;
    void close();
};

TTF_Font* open_font_resolved(const std::string& path, int size);
// On failure writes "WARNING: font '<path>' not found; falling back to <fallback>" to the error stream
// and opens the English font of that role from the language folder `root`. Each file that did not
// open is added to `failed`.
TTF_Font* open_font_with_fallback(const std::string& path, int size, bool large, const std::string& root,
                                  std::vector<std::string>* failed = nullptr);
// Opens both fonts of a language into the set (closing what it held), from the language folder
// `root` (by default the data folder's). Returns the files tried for a font that did not open.
std::vector<std::string> open_language_fonts(FontSet& fonts, Language lang, const std::string& root);
std::vector<std::string> open_language_fonts(FontSet& fonts, Language lang);
// The start-up warning naming those files; empty when there are none.
std::string missing_fonts_warning(const std::vector<std::string>& tried);

// Makes the language current: cache pictures, string catalogue, both fonts. `name_font` is told the
// new small font (the save dialog's name field).
void switch_language(Language lang, Resources* res, FontSet& fonts,
                     const std::function<void(TTF_Font*)>& name_font);

// base + "../ANIM/" + name when that file opens, else base + "ANIM/" + name.
std::string video_path(const std::string& base, const std::string& name);
// The first folder when the file opens there, else the second.
std::string end_video_path(const std::string& first_dir, const std::string& second_dir, const std::string& name);

// A window pixel to the logical screen, through the renderer's scale and viewport. An axis whose
// scale is not above 0 leaves its output alone.
void mouse_window_to_logical(SDL_Renderer* r, int wx, int wy, int& lx, int& ly);
// The same from the scale and viewport directly (shared by the renderer form).
void window_to_logical(float scale_x, float scale_y, const SDL_Rect& viewport, int wx, int wy, int& lx, int& ly);

}  // namespace vorn1
