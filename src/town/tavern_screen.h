#pragma once
// The tavern: a small dialog over the town with the tavern's animated interior, a text and OK.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>

namespace vorn1 {

struct CastleScreenResources;
struct Resources;
struct CastleState;

struct TavernScreenState {
    bool open = false;
    bool ok_pressed = false;
    SDL_Rect ok_rect{};
    uint32_t last_tick = 0;
    int32_t frame = 0;
};

bool tavern_sprite_hit(int x, int y, const CastleState& town);
// The animation step for the caller's millisecond tick: the frame cycles 1..8 every 200 ms.
void advance_tavern_animation(TavernScreenState& s, uint32_t now_ms);
// Advances the animation with `now_ms`, draws the dialog and stores the OK button's rectangle.
void draw_tavern_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                        TavernScreenState& s, TTF_Font* font, uint32_t now_ms);
// OK: press and release on the button close the dialog (true then); Escape does nothing.
bool handle_tavern_event(const SDL_Event& e, TavernScreenState& s);

}  // namespace vorn1
