#include "town/tavern_screen.h"

#include <algorithm>
#include <string>
#include <vector>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "events/event_types.h"
#include "lang/runtime_strings.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_art.h"
#include "world/game_state.h"

namespace vorn1 {

bool tavern_sprite_hit(int x, int y, const CastleState& town) {
    return (town.buildings & BLD_TAVERN) && x >= 205 && x <= 296 && y >= 80 && y <= 197;
}

void advance_tavern_animation(TavernScreenState& s, uint32_t now_ms) {
    if (s.last_tick == 0) {
        s.last_tick = now_ms;
    } else if (now_ms - s.last_tick >= 200) {
        s.frame = s.frame % 8 + 1;
        s.last_tick = now_ms;
    }
}

namespace {
constexpr int kTextWidth = 256;  // inside the frame's 286 pixels, clear of its edges
}  // namespace

void draw_tavern_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                        TavernScreenState& s, TTF_Font* font, uint32_t now_ms) {
    if (!s.open) return;
    advance_tavern_animation(s, now_ms);
    if (!r) return;
    draw_buybuild_border(r, res, 177, 64, 5);
    // A heading wider than the frame wraps, growing upwards into the frame's top; what still does not
    // fit above the picture moves the picture and the text below it down.
    const std::vector<std::string> title = text::wrap_pixels(font, strings().get("TAVERN_TITLE"), kTextWidth);
    const int skip = font ? TTF_FontLineSkip(font) : 18;
    const int top = std::max(72, 109 - std::max(0, (int)title.size() - 1) * skip);
    text::draw_lines_box(r, font, title, 177, top, 286, SDL_Color{255, 230, 128, 255});
    const int down = std::max(0, top + (int)title.size() * skip + 1 - 130);
    const SDL_Rect picture{237, 130 + down, 165, 100};
    const auto& frames = cres.tavern_window_frames;
    if (frames.empty() || !blit_into(r, frames[0], picture)) fill_rect(r, picture, SDL_Color{100, 60, 20, 255});
    if (s.frame >= 1 && (size_t)s.frame < frames.size() && frames[(size_t)s.frame]) {
        SDL_Point at{237, picture.y};
        if ((size_t)s.frame < cres.tavern_window_headers.size()) {
            const SpriteHeader& h = cres.tavern_window_headers[(size_t)s.frame];
            at = SDL_Point{223 + h.x, picture.y + h.y};
        }
        const SDL_Point sz = texture_size(frames[(size_t)s.frame]);
        blit_into(r, frames[(size_t)s.frame], SDL_Rect{at.x, at.y, sz.x, sz.y});
    }
    outline_rect(r, SDL_Rect{236, picture.y - 1, 167, 102}, SDL_Color{200, 170, 50, 255});
    int y = 240 + down;
    for (const std::string& line : text::wrap_pixels(font, strings().get("TAVERN_BODY"), kTextWidth)) {
        text::centered_box(r, font, line, 177, y, 286, SDL_Color{255, 255, 255, 255});
        y += 18;
    }
    s.ok_rect = draw_system_button(r, res, EVENT_BUTTON_OK, 320, 369, s.ok_pressed, font);
}

bool handle_tavern_event(const SDL_Event& e, TavernScreenState& s) {
    if (!s.open) return false;
    if (e.type == SDL_KEYDOWN) return false;  // only OK closes the tavern, no key does
    const SDL_Rect& b = s.ok_rect;
    const auto over = [&](int x, int y) { return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h; };
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT && over(e.button.x, e.button.y)) {
        s.ok_pressed = true;
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        const bool close = s.ok_pressed && over(e.button.x, e.button.y);
        s.ok_pressed = false;
        if (close) {
            s.open = false;
            return true;
        }
    }
    return false;
}

}  // namespace vorn1
