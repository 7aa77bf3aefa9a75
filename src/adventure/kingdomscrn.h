#pragma once
// The kingdom overview: the current player's towns, heroes, mines and daily income on one screen.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <vector>

#include "world/game_state.h"

namespace vorn1 {

struct AdventureResources;

struct KingdomOverviewState {
    bool open = false;
    uint8_t exit_pressed = 0;
    uint8_t page = 0;  // first hero row shown when there are more heroes than rows
};

struct KingdomSummary {
    std::vector<int> towns;   // live towns of the player, list order
    std::vector<int> heroes;  // live heroes of the player
    std::array<int, MINE_KIND_COUNT> mines{};  // mines owned by kind
    int castles = 0;          // of the towns, those with a castle
    PlayerResources income;   // a day's income
};
KingdomSummary kingdom_summary(const GameState& state, int player);

constexpr SDL_Rect kKingdomExitRect{540, 436, 80, 28};
constexpr int kKingdomRows = 8;

// Opens with both state bytes cleared.
void open_kingdom_overview_screen(KingdomOverviewState& s);
void close_kingdom_overview(KingdomOverviewState& s);
// Esc, or a left release over the pressed exit button, closes it; the wheel pages the hero rows.
// Every input is consumed while it is open.
bool handle_kingdom_overview_event(const SDL_Event& e, KingdomOverviewState& s, int hero_count);

void draw_kingdom_overview(SDL_Renderer* r, const AdventureResources& res, const GameState& state,
                           const KingdomOverviewState& s, int player, TTF_Font* font, TTF_Font* small_font);

}  // namespace vorn1
