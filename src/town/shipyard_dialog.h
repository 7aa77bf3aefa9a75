#pragma once
// The shipyard: the offer of a boat for 1000 gold and 10 wood, and the rules of building it on the
// town's harbour tile.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>

namespace vorn1 {

struct CastleScreenResources;
struct Resources;
struct GameState;
struct GameMap;

struct ShipyardDialogState {
    bool open = false;
    bool ok_pressed = false;
    bool cancel_pressed = false;
    bool can_build = false;
    SDL_Rect ok_rect{};
    SDL_Rect cancel_rect{};
};

struct ShipyardCost {
    int icon;  // RESOURCE.ICN frame
    int amount;
};
extern const std::array<ShipyardCost, 2> SHIPYARD_COSTS;  // gold, wood

// The owner can pay, the town has a harbour tile and no active boat stands on it.
bool shipyard_can_build(const GameState& game, const GameMap& map, int castle);
// Pays and puts an active boat on the harbour tile; false, nothing changed, when it cannot.
bool build_shipyard_boat(GameState& game, GameMap& map, int castle);
void open_shipyard_dialog(ShipyardDialogState& s, const GameState& game, const GameMap& map, int castle);
// Button input; true when a boat was built. The dialog closes on a release over OK or Cancel.
bool handle_shipyard_event(const SDL_Event& e, ShipyardDialogState& s, GameState& game, GameMap& map, int castle);
void draw_shipyard_dialog(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                          ShipyardDialogState& s, TTF_Font* font, TTF_Font* small_font);

}  // namespace vorn1
