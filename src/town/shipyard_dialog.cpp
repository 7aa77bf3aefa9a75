#include "town/shipyard_dialog.h"

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "events/event_types.h"
#include "lang/runtime_strings.h"
#include "town/dialog_art.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

const std::array<ShipyardCost, 2> SHIPYARD_COSTS = {{{6, 1000}, {0, 10}}};

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};
// Where the buttons stand before the first draw (the standard button's size).
constexpr SDL_Rect kOkDefault{249 - 33, 340, 66, 25};
constexpr SDL_Rect kCancelDefault{391 - 33, 340, 66, 25};

bool in(const SDL_Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

// The harbour tile's coordinates, false when the town has none.
bool harbour_of(const GameState& game, const GameMap& map, int castle, int& x, int& y) {
    if (castle < 0 || (size_t)castle >= game.castles.size() || map.width <= 0) return false;
    const CastleState& c = game.castles[(size_t)castle];
    const int t = find_castle_harbour_tile(map, c.x, c.y);
    if (t < 0) return false;
    x = t % map.width;
    y = t / map.width;
    return true;
}

}  // namespace

bool shipyard_can_build(const GameState& game, const GameMap& map, int castle) {
    int x = 0, y = 0;
    if (!harbour_of(game, map, castle, x, y)) return false;
    const int owner = game.castles[(size_t)castle].owner;
    if (!is_player_index(owner)) return false;
    const PlayerResources& have = game.resources[(size_t)owner];
    const MapTile* t = map.tile(x, y);
    return have.gold >= SHIPYARD_COSTS[0].amount && have.wood >= SHIPYARD_COSTS[1].amount && game.boat_at(x, y) < 0 &&
           t && !t->occupied();
}

bool build_shipyard_boat(GameState& game, GameMap& map, int castle) {
    if (!shipyard_can_build(game, map, castle)) return false;
    int x = 0, y = 0;
    harbour_of(game, map, castle, x, y);
    PlayerResources& have = game.resources[(size_t)game.castles[(size_t)castle].owner];
    have.gold -= SHIPYARD_COSTS[0].amount;
    have.wood -= SHIPYARD_COSTS[1].amount;
    BoatState boat;
    boat.active = 1;
    boat.x = x;
    boat.y = y;
    // A boat record that left the map is used again before the list grows.
    BoatState* slot = nullptr;
    for (BoatState& b : game.boats)
        if (!b.active && b.hero < 0) slot = &b;
    if (slot) *slot = boat;
    else game.boats.push_back(boat);
    map.tile(x, y)->boat = 1;
    return true;
}

void open_shipyard_dialog(ShipyardDialogState& s, const GameState& game, const GameMap& map, int castle) {
    s = ShipyardDialogState{};
    s.open = true;
    s.can_build = shipyard_can_build(game, map, castle);
    s.ok_rect = kOkDefault;
    s.cancel_rect = kCancelDefault;
}

bool handle_shipyard_event(const SDL_Event& e, ShipyardDialogState& s, GameState& game, GameMap& map, int castle) {
    if (!s.open) return false;
    if (const int answer = yes_no_key(e); answer >= 0) {
        // Yes builds when a boat can be built; otherwise it closes the question as no does.
        const bool built = answer == 1 && shipyard_can_build(game, map, castle) && build_shipyard_boat(game, map, castle);
        s.open = false;
        s.ok_pressed = s.cancel_pressed = false;
        return built;
    }
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
        s.can_build = shipyard_can_build(game, map, castle);
        if (s.can_build && in(s.ok_rect, e.button.x, e.button.y)) s.ok_pressed = true;
        else if (in(s.cancel_rect, e.button.x, e.button.y)) s.cancel_pressed = true;
        return false;
    }
    if (e.type != SDL_MOUSEBUTTONUP || e.button.button != SDL_BUTTON_LEFT) return false;
    bool built = false;
    if (s.ok_pressed && in(s.ok_rect, e.button.x, e.button.y)) {
        built = build_shipyard_boat(game, map, castle);
        s.open = false;
    } else if (s.cancel_pressed && in(s.cancel_rect, e.button.x, e.button.y)) {
        s.open = false;
    }
    s.ok_pressed = s.cancel_pressed = false;
    return built;
}

void draw_shipyard_dialog(SDL_Renderer* r, const CastleScreenResources&, const Resources& res,
                          ShipyardDialogState& s, TTF_Font* font, TTF_Font* small_font) {
    if (!r || !s.open) return;
    draw_buybuild_border(r, res, 177, 87, 4);
    text::centered_box(r, font, strings().get("SHIPYARD_BUILD"), 177, 131, 286, kWhite);
    int b = 214;
    SDL_Texture* boat = res.boat32.count() >= 27 ? res.boat32.at(26) : nullptr;
    if (!boat) {
        fill_rect(r, SDL_Rect{284, 153, 72, 55}, SDL_Color{60, 60, 120, 255});
    } else {
        const SDL_Point sz = texture_size(boat);
        if (sz.x < 1 || sz.y < 1) {
            b = 203;
        } else {
            const int h = sz.y > 72 ? 72 : sz.y;
            const int w = sz.x * h / sz.y;
            blit_into(r, boat, SDL_Rect{320 - w / 2, 153, w, h});
            b = 159 + h;
        }
    }
    text::centered_box(r, font, strings().get("SHIPYARD_COST"), 177, b, 286, kWhite);
    for (size_t i = 0; i < SHIPYARD_COSTS.size(); ++i) {
        const int cx = i == 0 ? 270 : 370;
        SDL_Texture* icon = res.resource.at(SHIPYARD_COSTS[i].icon);
        const SDL_Point sz = texture_size(icon);
        if (icon && sz.y > 0) {
            const int w = sz.x * 32 / sz.y;
            blit_into(r, icon, SDL_Rect{cx - w / 2, b + 20, w, 32});
        } else {
            fill_rect(r, SDL_Rect{cx - 14, b + 20, 28, 32}, SDL_Color{180, 140, 40, 255});
        }
        text::centered_cx(r, small_font, std::to_string(SHIPYARD_COSTS[i].amount), cx, b + 54, SDL_Color{255, 255, 160, 255});
    }
    s.ok_rect = draw_system_button(r, res, EVENT_BUTTON_OK, 249, 340, s.ok_pressed || !s.can_build, font);
    s.cancel_rect = draw_system_button(r, res, EVENT_BUTTON_DECLINE, 391, 340, s.cancel_pressed, font);
}

}  // namespace vorn1
