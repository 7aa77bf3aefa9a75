#include "adventure/adventure_spells.h"

#include <algorithm>
#include <cstdlib>

#include "adventure/adv_geometry.h"
#include "lang/runtime_strings.h"
#include "world/game_state.h"
#include "world/map.h"
#include "world/tile_rules.h"

namespace vorn1 {

uint8_t view_spell_reveal(int spell) {
    switch (spell) {
    case SPELL_VIEW_MINES: return REVEAL_MINES;
    case SPELL_VIEW_RESOURCES: return REVEAL_RESOURCES;
    case SPELL_VIEW_ARTIFACTS: return REVEAL_ARTIFACTS;
    case SPELL_VIEW_HEROES: return REVEAL_HEROES;
    case SPELL_VIEW_TOWNS: return REVEAL_TOWNS;
    case SPELL_VIEW_ALL: return REVEAL_ALL | REVEAL_MINES | REVEAL_RESOURCES | REVEAL_ARTIFACTS | REVEAL_HEROES | REVEAL_TOWNS;
    default: return 0;
    }
}

namespace {
bool is_adventure_spell(int spell) {
    return std::find(std::begin(kAdventureSpellIds), std::end(kAdventureSpellIds), spell) != std::end(kAdventureSpellIds);
}
bool live_hero(const GameState& s, int h) { return s.valid_hero(h) && s.heroes[(size_t)h].live; }
int chebyshev(int ax, int ay, int bx, int by) { return std::max(std::abs(ax - bx), std::abs(ay - by)); }

void move_hero(GameState& state, GameMap& map, int hero, int x, int y) {
    HeroState& h = state.heroes[(size_t)hero];
    clear_hero_from_map(map, h);
    h.x = x;
    h.y = y;
    place_hero_on_map(map, h);
    if (is_player_index(h.owner)) state.fog[(size_t)h.owner].reveal_radius(x, y, 5);
}
}  // namespace

std::vector<int> castable_adventure_spells(const GameState& state, int hero) {
    std::vector<int> out;
    if (!live_hero(state, hero) || !state.heroes[(size_t)hero].has_spellbook) return out;
    for (int s : kAdventureSpellIds)
        if (state.heroes[(size_t)hero].spell_charges[(size_t)s] > 0) out.push_back(s);
    return out;
}

CastRefusal can_cast_adventure_spell(const GameState& state, const GameMap& map, int hero, int spell, int mp_left) {
    if (!live_hero(state, hero)) return CastRefusal::NoHero;
    const HeroState& h = state.heroes[(size_t)hero];
    if (!is_adventure_spell(spell)) return CastRefusal::NotAdventure;
    if (!h.has_spellbook) return CastRefusal::NoBook;
    if (h.spell_charges[(size_t)spell] == 0) return CastRefusal::NoCharges;
    const bool from_land = spell == SPELL_DIMENSION_DOOR || spell == SPELL_TOWN_GATE || spell == SPELL_SUMMON_BOAT;
    if (from_land && h.on_boat) return CastRefusal::OnBoat;
    if (spell == SPELL_DIMENSION_DOOR && mp_left < kDimDoorPoints) return CastRefusal::NoPoints;
    if (spell == SPELL_TOWN_GATE && town_gate_target(state, map, hero) < 0) return CastRefusal::NoTarget;
    return CastRefusal::None;
}

void spend_spell_charge(GameState& state, int hero, int spell) {
    if (!state.valid_hero(hero) || spell < 0 || spell >= SPELL_COUNT) return;
    uint8_t& c = state.heroes[(size_t)hero].spell_charges[(size_t)spell];
    if (c > 0) --c;
}

bool dimdoor_target_ok(const GameState& state, const GameMap& map, int hero, int x, int y) {
    if (!live_hero(state, hero)) return false;
    const HeroState& h = state.heroes[(size_t)hero];
    if (x == h.x && y == h.y) return false;
    if (chebyshev(h.x, h.y, x, y) > kDimDoorRange) return false;
    if (is_player_index(h.owner) && !state.fog[(size_t)h.owner].is_explored(x, y)) return false;
    return is_dimdoor_passable(map, state, x, y);
}

bool apply_dim_door(GameState& state, GameMap& map, int hero, int x, int y, int& mp_left) {
    if (!dimdoor_target_ok(state, map, hero, x, y)) return false;
    move_hero(state, map, hero, x, y);
    mp_left = std::max(0, mp_left - kDimDoorPoints);
    spend_spell_charge(state, hero, SPELL_DIMENSION_DOOR);
    return true;
}

int town_gate_target(const GameState& state, const GameMap& map, int hero) {
    if (!live_hero(state, hero)) return -1;
    const HeroState& h = state.heroes[(size_t)hero];
    int best = -1, best_d = 1 << 30;
    for (size_t i = 0; i < state.castles.size(); ++i) {
        const CastleState& c = state.castles[i];
        if (!c.live || c.owner != h.owner || !is_player_index(h.owner)) continue;
        const MapTile* t = map.tile(c.x, c.y);
        if (!t || (t->occupied() && !(c.x == h.x && c.y == h.y))) continue;
        const int d = chebyshev(h.x, h.y, c.x, c.y);
        if (d < best_d) best_d = d, best = (int)i;
    }
    return best;
}

bool apply_town_gate(GameState& state, GameMap& map, int hero) {
    const int town = town_gate_target(state, map, hero);
    if (town < 0 || state.heroes[(size_t)hero].on_boat) return false;
    move_hero(state, map, hero, state.castles[(size_t)town].x, state.castles[(size_t)town].y);
    spend_spell_charge(state, hero, SPELL_TOWN_GATE);
    return true;
}

bool apply_summon_boat(GameState& state, GameMap& map, int hero) {
    if (!live_hero(state, hero)) return false;
    const HeroState& h = state.heroes[(size_t)hero];
    if (h.on_boat) return false;
    int wx = -1, wy = -1;
    for (int d = 0; d < 8 && wx < 0; ++d) {
        int dx, dy;
        delta_from_dir(d, dx, dy);
        const MapTile* t = map.tile(h.x + dx, h.y + dy);
        if (t && t->is_water() && !t->occupied() && !t->boat && state.boat_at(h.x + dx, h.y + dy) < 0)
            wx = h.x + dx, wy = h.y + dy;
    }
    if (wx < 0) return false;
    int best = -1, best_d = 1 << 30;
    for (size_t i = 0; i < state.boats.size(); ++i) {
        const BoatState& b = state.boats[i];
        if (!b.active || b.hero >= 0) continue;
        const int d = chebyshev(h.x, h.y, b.x, b.y);
        if (d < best_d) best_d = d, best = (int)i;
    }
    if (best < 0) return false;
    BoatState& b = state.boats[(size_t)best];
    if (MapTile* old = map.tile(b.x, b.y)) old->boat = 0;
    b.x = wx;
    b.y = wy;
    map.tile(wx, wy)->boat = 1;
    spend_spell_charge(state, hero, SPELL_SUMMON_BOAT);
    return true;
}

bool apply_identify_hero(IdentifyHeroState& s, GameState& state, int hero) {
    if (!live_hero(state, hero)) return false;
    const HeroState& h = state.heroes[(size_t)hero];
    if (!is_player_index(h.owner) || !h.has_spellbook || h.spell_charges[SPELL_IDENTIFY_HERO] == 0) return false;
    spend_spell_charge(state, hero, SPELL_IDENTIFY_HERO);
    s.players = (uint8_t)(s.players | 1u << h.owner);
    return true;
}

bool identify_hero_active(const IdentifyHeroState& s, int player) {
    return is_player_index(player) && (s.players >> player & 1u) != 0;
}

void end_identify_hero(IdentifyHeroState& s, int player) {
    if (is_player_index(player)) s.players = (uint8_t)(s.players & ~(1u << player));
}

std::string cast_refusal_message(CastRefusal r) {
    switch (r) {
    case CastRefusal::NoBook: return strings().get("ADV_CAST_NO_BOOK");
    case CastRefusal::NoCharges: return strings().get("ADV_CAST_NO_CHARGES");
    case CastRefusal::NotAdventure: return strings().get("ADV_CAST_NOT_ADVENTURE");
    case CastRefusal::OnBoat: return strings().get("ADV_CAST_ON_BOAT");
    case CastRefusal::NoPoints: return strings().get("ADV_CAST_NO_POINTS");
    case CastRefusal::NoTarget: return strings().get("ADV_CAST_NO_TARGET");
    default: return {};
    }
}

AdventureCast cast_adventure_spell(GameState& state, GameMap& map, IdentifyHeroState& identify, int hero, int spell,
                                   int mp_left) {
    AdventureCast c;
    c.refusal = can_cast_adventure_spell(state, map, hero, spell, mp_left);
    if (c.refusal != CastRefusal::None) return c;
    if (const uint8_t reveal = view_spell_reveal(spell)) {
        spend_spell_charge(state, hero, spell);
        c.kind = AdventureCast::ShowWorldMap;
        c.reveal = reveal;
        return c;
    }
    switch (spell) {
    case SPELL_DIMENSION_DOOR: c.kind = AdventureCast::ChooseLanding; break;
    case SPELL_TOWN_GATE:
        if (!apply_town_gate(state, map, hero)) {
            c.refusal = CastRefusal::NoTarget;
            break;
        }
        c.kind = AdventureCast::Moved;
        c.x = state.heroes[(size_t)hero].x;
        c.y = state.heroes[(size_t)hero].y;
        break;
    case SPELL_SUMMON_BOAT:
        if (apply_summon_boat(state, map, hero)) c.kind = AdventureCast::BoatSummoned;
        else c.refusal = CastRefusal::NoTarget;
        break;
    case SPELL_IDENTIFY_HERO:
        if (apply_identify_hero(identify, state, hero)) c.kind = AdventureCast::HeroesIdentified;
        else c.refusal = CastRefusal::NoHero;
        break;
    default: c.refusal = CastRefusal::NotAdventure; break;
    }
    return c;
}

void open_dim_door(DimDoorState& s, int hero) {
    s.open = true;
    s.hero = hero;
}

void close_dim_door(DimDoorState& s) { s = DimDoorState{}; }

DimDoorAction handle_dim_door_event(const SDL_Event& e, DimDoorState& s, const GameState& state, const GameMap& map,
                                    int view_x, int view_y) {
    DimDoorAction a;
    if (!s.open) return a;
    if ((e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) ||
        (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_RIGHT)) {
        close_dim_door(s);
        a.kind = DimDoorAction::Cancel;
        return a;
    }
    if (e.type != SDL_MOUSEBUTTONDOWN || e.button.button != SDL_BUTTON_LEFT) return a;
    int tx, ty;
    if (!screen_to_tile(map, view_x, view_y, e.button.x, e.button.y, tx, ty)) return a;
    if (!dimdoor_target_ok(state, map, s.hero, tx, ty)) return a;
    close_dim_door(s);
    a.kind = DimDoorAction::Land;
    a.x = tx;
    a.y = ty;
    return a;
}

}  // namespace vorn1
