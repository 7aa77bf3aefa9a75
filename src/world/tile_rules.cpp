#include "world/tile_rules.h"

#include <algorithm>

#include "world/creature_table.h"

namespace vorn1 {

int creature_speed_class(int creature) {
    // The battle's creature table is the one speed column; an unknown creature does not slow a hero.
    return creature >= 0 && creature < kCreatureCount ? creature_speed_rank(static_cast<uint8_t>(creature)) : 3;
}

int compute_hero_max_mp(const HeroState& hero, bool at_sea, bool owner_has_lighthouse, int extra) {
    int slowest = 3;
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (!hero.army.slot_empty(i)) slowest = std::min(slowest, creature_speed_class(hero.army.ids[i]));
    int mp = slowest <= 1 ? 40 : slowest == 2 ? 50 : 60;
    if (!at_sea) {
        if (hero.has_artifact(ART_TRAVELLER_BOOTS)) mp += 12;
        if (hero.has_artifact(ART_NOMAD_BOOTS)) mp += 24;
        if (hero.has_artifact(ART_WINGED_SANDALS)) mp += 20;
    } else {
        if (hero.has_artifact(ART_WINGED_SANDALS)) mp += 20;
        if (hero.has_artifact(ART_SAILOR_ASTROLABE)) mp += 40;
        if (owner_has_lighthouse) mp += 20;
        if (hero.move_kind() == MOVE_SEA_X2) mp *= 2;
    }
    return mp + extra;
}

int compute_hero_max_mp(const GameState& state, const GameMap& map, int hero, int extra) {
    if (!state.valid_hero(hero)) return 0;
    const HeroState& h = state.heroes[hero];
    const MapTile* t = map.tile(h.x, h.y);
    const bool at_sea = t && t->is_water();
    const bool lighthouse = state.lighthouse.active && is_player_index(h.owner) && state.lighthouse.owner == h.owner;
    return compute_hero_max_mp(h, at_sea, lighthouse, extra);
}

int hero_day_mp(const GameState& state, const GameMap& map, int hero) {
    if (!state.valid_hero(hero)) return 0;
    return compute_hero_max_mp(state, map, hero, is_smart_or_genius(state, state.heroes[hero].owner) ? 3 : 0);
}

bool is_smart_or_genius(const GameState& state, int player) {
    if (!is_player_index(player)) return false;
    const uint8_t lvl = state.player_ai_level[player];
    return lvl == AI_SMART || lvl == AI_GENIUS;
}

int64_t army_join_power(const Army& army) {
    int64_t sum = 0;
    for (int i = 0; i < ARMY_SLOTS; ++i) {
        const int id = army.ids[i];
        if (id < CREATURE_COUNT && army.counts[i] > 0) sum += (int64_t)CREATURE_JOIN_TABLE[id].power * army.counts[i];
    }
    return sum;
}

bool creature_stack_can_offer_join(const MonsterStackState& stack, const HeroState& hero) {
    if (!stack.willing || stack.offered || stack.removed) return false;
    const int id = stack.creature;
    if (id >= CREATURE_COUNT || id == 26) return false;
    const CreatureJoinRow& row = CREATURE_JOIN_TABLE[id];
    if (stack.count <= 0 || stack.count < row.min_count || stack.count > row.max_count) return false;
    bool room = false;
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (hero.army.ids[i] == id || hero.army.slot_empty(i)) room = true;
    if (!room) return false;
    return army_join_power(hero.army) * 100 > (int64_t)row.power * stack.count * 175;
}

int64_t hero_artifact_value(const HeroState& hero) {
    int64_t v = 0;
    for (uint8_t a : hero.artifacts)
        if (a < ARTIFACT_COUNT) v += ARTIFACT_BASE_RV[a];
    return v;
}


void place_hero_on_map(GameMap& map, const HeroState& hero) {
    MapTile* t = map.tile(hero.x, hero.y);
    if (!t) return;
    t->hero_figure = hero.tile_figure();
    if (t->hero_frame == 0) t->hero_frame = 18;
    t->hero_on_boat = hero.on_boat ? 1 : 0;
}

void clear_hero_from_map(GameMap& map, const HeroState& hero) {
    MapTile* t = map.tile(hero.x, hero.y);
    if (!t) return;
    t->hero_figure = 0;
    t->hero_frame = 0;
    t->hero_on_boat = 0;
}

void rebuild_boat_bytes(GameMap& map, const GameState& state) {
    for (MapTile& t : map.tiles) t.boat = 0;
    for (const BoatState& b : state.boats)
        if (b.active)
            if (MapTile* t = map.tile(b.x, b.y)) t->boat = 1;
    for (const HeroState& h : state.heroes)
        if (h.live && h.on_boat)
            if (MapTile* t = map.tile(h.x, h.y)) t->boat = 1;
}

bool is_dimdoor_passable(const GameMap& map, const GameState& state, int x, int y) {
    const MapTile* t = map.tile(x, y);
    if (!t || !t->is_land() || t->blocking != 0 || t->occupied()) return false;
    if (state.hero_at(x, y) >= 0 || state.monster_at(x, y) >= 0) return false;
    for (const auto& p : state.resource_piles)
        if (!p.taken && p.x == x && p.y == y) return false;
    for (const auto& c : state.campfires)
        if (!c.taken && c.x == x && c.y == y) return false;
    for (const auto& c : state.chests)
        if (!c.taken && c.x == x && c.y == y) return false;
    for (const auto& a : state.map_artifacts)
        if (!a.taken && a.x == x && a.y == y) return false;
    return true;
}

}  // namespace vorn1
