#include "persist/load_fixups.h"

#include "world/game_setup.h"
#include "world/new_day.h"
#include "world/tile_rules.h"
#include "world/victory.h"


namespace vorn1 {

namespace {

bool pool_index_ok(int32_t i) { return i >= 0 && i < HERO_POOL_SIZE; }

// Creature and spell ids index the game's tables; 255 is an empty slot.
bool creature_ok(uint8_t id) { return id == EMPTY_ID || id < CREATURE_COUNT; }
bool spell_ok(uint8_t id) { return id == EMPTY_ID || id < SPELL_COUNT; }

bool army_ok(const Army& a) {
    for (uint8_t id : a.ids)
        if (!creature_ok(id)) return false;
    return true;
}

bool ids_ok(const GameState& s) {
    for (const HeroState& h : s.heroes)
        if (!army_ok(h.army)) return false;
    for (const CastleState& c : s.castles)
        if (!army_ok(c.garrison)) return false;
    for (const HeroPoolEntry& e : s.pool.entries)
        if (!army_ok(e.start_army) || !army_ok(e.kept_army)) return false;
    for (const MonsterStackState& m : s.monsters)
        if (!creature_ok(m.creature)) return false;
    for (const NeutralTownGarrison& g : s.garrisons)
        for (uint8_t id : g.ids)
            if (!creature_ok(id)) return false;
    for (const MapCreatureHutState& h : s.huts)
        if (!creature_ok(h.creature)) return false;
    for (const ShrineState& sh : s.shrines)
        if (!spell_ok(sh.spell)) return false;
    return true;
}

const MapObject* object_at(const GameMap& m, uint8_t kind, int32_t x, int32_t y) {
    for (const MapObject& o : m.objects)
        if (o.kind == kind && o.x == x && o.y == y) return &o;
    return nullptr;
}

}  // namespace

bool loaded_game_consistent(const GameState& s, const GameMap& m, int current_player) {
    if (!is_player_index(current_player)) return false;
    if (s.num_players < 0 || s.num_players > MAX_PLAYERS) return false;
    // A colour names the seat and picks its crest; only an unused seat may have none.
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        const uint8_t c = s.player_color[(size_t)p];
        if (c >= 4 && (c != COLOR_NONE || s.player_in_play[(size_t)p] != 0xFF)) return false;
    }
    if (s.day < 1 || s.day > 7 || s.week < 1 || s.week > 4 || s.month < 1 || s.month > CALENDAR_MAX_MONTH)
        return false;
    if (m.width < 1 || m.height < 1 || m.width > MAP_MAX_DIM || m.height > MAP_MAX_DIM || !m.has_tiles()) return false;
    if (s.map_width != m.width || s.map_height != m.height) return false;
    if (s.human_castle_slot != -1 &&
        (s.human_castle_slot < 0 || s.human_castle_slot >= static_cast<int>(s.castles.size())))
        return false;

    const int hero_count = static_cast<int>(s.heroes.size());
    const int boat_count = static_cast<int>(s.boats.size());
    for (const HeroState& h : s.heroes) {
        if (h.owner != -1 && !is_player_index(h.owner)) return false;
        if (!h.live) continue;
        if (!m.in_bounds(h.x, h.y)) return false;
        if (h.on_boat && (h.boat_index < 0 || h.boat_index >= boat_count)) return false;
    }
    for (const BoatState& b : s.boats) {
        if (b.hero < -1 || b.hero >= hero_count) return false;
        if (b.active && !m.in_bounds(b.x, b.y)) return false;
    }
    for (const CastleState& c : s.castles)
        if (c.live && !m.in_bounds(c.x, c.y)) return false;
    for (int32_t e : s.pool.free_entries)
        if (!pool_index_ok(e)) return false;
    for (const auto& pair : s.offers)
        for (int32_t e : pair)
            if (e != -1 && !pool_index_ok(e)) return false;
    return ids_ok(s);
}

MaplessGoal restore_unsaved_state(GameState& s, GameMap& m, const NewGameConfig& cfg, bool have_map,
                                  const GoalContext& ctx) {
    restore_seat_ai_levels(s, cfg);
    rebuild_boat_bytes(m, s);
    rebuild_monster_guard_map(m);
    for (MonsterStackState& mon : s.monsters) {
        const MapObject* o = object_at(m, MOBJ_MONSTER, mon.x, mon.y);
        mon.willing = o ? monster_willing_from_object(*o) : 0;
        mon.offered = 0;
    }
    for (ArtifactState& a : s.map_artifacts)
        if (const MapObject* o = object_at(m, MOBJ_ARTIFACT, a.x, a.y)) a.guard_kind = artifact_guard_from_object(*o);
    // The saved condition holds over the base map's; only its name and sites come from the map.
    m.victory_kind = s.victory.kind;
    m.victory_x = s.victory.target_x;
    m.victory_y = s.victory.target_y;
    // Every seat in play held something at the start: one that held nothing was left out of play then.
    restore_victory_from_map(s, m, seats_in_play(s));
    const MaplessGoal goal = have_map ? MaplessGoal::Stays : victory_start_without_map(s, ctx);
    // A save older than the goal's progress may hold the target in a rival's hands: a retake right after
    // the load counts.
    note_goal_progress(s);
    return goal;
}

}  // namespace vorn1
