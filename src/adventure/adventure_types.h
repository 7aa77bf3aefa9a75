#pragma once
// Records the adventure screen draws from and the frame loop keeps: hero move animation, the side
// panel's list state, the summary view and the frame context handed to render_full_frame.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <vector>

#include "world/route.h"

namespace vorn1 {

struct GameState;
struct GameMap;
struct NewDayState;
struct AdventureResources;
struct NewDayResources;

// One hero's walk from one tile to the next; the loop fills it and advances elapsed_ms.
struct HeroMoveState {
    bool active = false;
    int32_t from_x = 0, from_y = 0;
    int32_t to_x = 0, to_y = 0;
    float elapsed_ms = 0.0f;
    float step_ms = 180.0f;
    uint8_t speed_level = 1;
    uint8_t direction = DIR_NONE;
    uint8_t facing = DIR_E;
    uint8_t figure = 0;
    uint8_t colour = 0;
    uint8_t to_ground = 0;
    uint8_t to_water = 0;
};

// Back to the idle record: positions 0, step 180 ms, speed 1, facing east, no direction.
void reset_hero_move_state(HeroMoveState& m);

// Tile hero-frame byte of a hero standing with this facing (0 north .. 7 north-west); 18 otherwise.
int standing_frame_for_facing(int facing);
// Facings 5..7 (the westward ones) draw the eastward frames mirrored.
bool facing_is_mirrored(int facing);

// Side panel lists: four visible rows each.
struct LocatorPanelState {
    int32_t hero_scroll = 0;
    int32_t town_scroll = 0;
    int32_t selected_hero_row = -1;
    int32_t selected_town_row = -1;
};

// What the panel below the buttons shows instead of the selected hero; kind 0 none.
enum SummaryKind : uint8_t { SUMMARY_NONE = 0, SUMMARY_FUNDS = 1, SUMMARY_DATE = 2 };
struct SummaryView {
    uint8_t kind = SUMMARY_NONE;
    uint32_t end_ms = 0;
};
// How long a summary stays before the selected hero comes back.
constexpr uint32_t kSummaryViewMs = 3000;

// Everything one adventure frame is drawn from. The loop owns all of it; drawing only reads.
struct AdventureFrame {
    const AdventureResources* res = nullptr;
    const NewDayResources* new_day_res = nullptr;   // may be null
    const GameState* state = nullptr;
    const GameMap* map = nullptr;
    int view_x = 0, view_y = 0;
    const std::vector<HeroMoveState>* moves = nullptr;
    const std::vector<RouteMarker>* markers = nullptr;
    int current_player = -1;                        // whose fog and panels; -1 shows everything
    int anim_tick = 0;
    int selected_hero = -1;
    const std::vector<int>* hero_order = nullptr;
    const std::vector<int>* town_order = nullptr;
    const LocatorPanelState* locator = nullptr;
    const std::vector<int>* hero_move_points = nullptr;  // per hero; drawn as the locator's bars
    SummaryView summary;
    const NewDayState* new_day = nullptr;           // drawn while its active flag is set
    bool dim_door_open = false;
    int pressed_button = -1;                        // adventure button held down
    bool build_status = false;                      // the town list marks the towns that can build today
    TTF_Font* font = nullptr;
    TTF_Font* small_font = nullptr;
};

}  // namespace vorn1
