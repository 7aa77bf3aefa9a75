#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <functional>

namespace vorn1 {

struct Resources;
// 1 OK, 2 accept, 3 decline (defined with the event records).
enum EventButtonId : uint8_t;

// Geometry of the standard dialog frame.
inline constexpr int kBorderWidth = 286;
inline constexpr int kBorderTopH = 77;
inline constexpr int kBorderRowH = 45;
inline constexpr int kBorderBottomH = 48;
inline constexpr int border_height(int rows) { return kBorderTopH + kBorderRowH * rows + kBorderBottomH; }

// The standard dialog frame from BUYBUILD.ICN (0 top, 1 middle, 2 bottom), top-left at (x, y),
// with `rows` middle rows; each piece drawn mirrored on the left half and plain on the right.
// Nothing without the top piece; a missing middle or bottom piece is skipped.
void draw_buybuild_border(SDL_Renderer* renderer, const Resources& res, int x, int y, int rows);
// The same frame at any height: the pieces at their own size, the top piece cut short when the frame
// is lower than the top and bottom pieces together, and the last middle piece cut to fit. A width
// above kBorderWidth widens it by repeating the pieces' inner columns; the pieces are never stretched.
void draw_buybuild_frame(SDL_Renderer* renderer, const Resources& res, int x, int y, int height,
                         int width = kBorderWidth);

// The SYSTEM.ICN button of a button id (2 accept 5/6, 3 decline 7/8, else OK 9/10; the second
// frame when pressed) at its own size, centred on cx with its top at y. Returns the rectangle
// drawn, or (cx - 33, y, 66, 25) when the frame is missing. The font is not used.
SDL_Rect draw_system_button(SDL_Renderer* renderer, const Resources& res, EventButtonId button_id, int cx, int y,
                            bool pressed, TTF_Font* font);

// The frame that draw_system_button uses.
int system_button_frame(EventButtonId button_id, bool pressed);

// The answer a key press gives to a yes/no question: 1 yes (y, Return, keypad Enter), 0 no (n,
// Escape), -1 for any other event. The questions that name no keys of their own answer by it.
int yes_no_key(const SDL_Event& e);

// Whether a key press closes a notice (a message with one button, or none): Return, keypad Enter
// and Escape. The notices and panels that name no keys of their own close by it.
bool notice_key(const SDL_Event& e);

// The answer of a question that takes only y or Return (13) for yes and n or Escape for no: 1, 0,
// or -1 for any other event, the keypad's Enter included.
int confirm_key(const SDL_Event& e);

// Whether a key press is Return (13) or Escape, the two closing keys of the screens that take no
// other (the keypad's Enter is not Return there).
bool close_key(const SDL_Event& e);

using FullscreenCallback = std::function<void()>;
// The window-scale callable registered for the time its owner runs (the program for the whole run,
// the front end while it runs); null when none.
extern const FullscreenCallback* g_ng_fullscreen_cb;
// F11 belongs to the window: every F11 key down gives true, and a press (no repeat) runs the
// registered window-scale callable. Every screen with a loop of its own asks this before its own keys,
// but those that take F11 as any other key.
bool ng_try_fullscreen_key(const SDL_Event& e);

// A screen that a quit request (window closed, termination) has ended calls this once it has left
// its event loop: the request goes on to the loop beneath, which decides, and is never lost.
void hand_on_quit_request();

}  // namespace vorn1
