#pragma once
// The hero-meeting window: two heroes of one player side by side, exchanging creature stacks and
// artifacts; a portrait press asks the caller for that hero's screen. The magic book stays put.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>

#include "assets/palette.h"
#include "town/troop_move.h"

namespace vorn1 {

class AggArchive;
class ArmyViewSystem;
struct Resources;
struct GameState;

struct SwapWinResources {
    SwapWinResources() = default;
    ~SwapWinResources() { unload(); }
    SwapWinResources(const SwapWinResources&) = delete;
    SwapWinResources& operator=(const SwapWinResources&) = delete;

    void load(SDL_Renderer* renderer, const AggArchive& archive, const Palette& palette);
    void unload();

    SDL_Texture* background = nullptr;
    SDL_Texture* exit_up = nullptr;
    SDL_Texture* exit_down = nullptr;
};

struct SwapWinState {
    bool open = false;
    int32_t hero_a = -1;
    int32_t hero_b = -1;
    bool exit_pressed = false;
    int32_t portrait_request = -1;  // 0 or 1: the caller opens that hero's screen and resets it
    TroopMoveSystem troops;
    int32_t art_side = -1;
    int32_t art_slot = -1;
    bool notice_open = false;
    bool notice_ok_pressed = false;
    SDL_Rect notice_ok_rect{};
    ArmyViewSystem* army_view = nullptr;
};

constexpr SDL_Rect kSwapWindowRect{16, 16, 448, 448};
constexpr SDL_Rect kSwapExitRect{200, 429, 80, 25};

// The first live hero of `owner` on (x, y) other than `exclude`; -1 when none.
int find_allied_hero_at_tile(const GameState& game, int x, int y, int owner, int exclude);
void open_swap_window(SwapWinState& s, int hero_a, int hero_b, ArmyViewSystem* army_view);
// The artifact cell (side 0 or 1, slot 0..13) under a point; false when none.
bool swap_artifact_cell_at(int x, int y, int& side, int& slot);
SDL_Rect swap_artifact_cell(int side, int slot);
SDL_Rect swap_army_cell(int side, int slot);
// The cannot-trade notice.
void open_spellbook_modal(SwapWinState& s, const Resources* res);
// True while the window is open (the event is taken).
bool handle_swap_event(const SDL_Event& e, SwapWinState& s, GameState& game, TTF_Font* font, const Resources* res);
void draw_swap_screen(SDL_Renderer* r, const SwapWinResources& sres, const Resources& res, const SwapWinState& s,
                      const GameState& game, TTF_Font* font, TTF_Font* small_font);

}  // namespace vorn1
