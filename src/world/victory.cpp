#include "world/victory.h"

namespace vorn1 {

constexpr int32_t GATHER_GOLD_TARGET = 100000;

namespace {

bool is_ultimate(uint8_t artifact) { return artifact <= 3; }

bool seat_in_play(const GameState& s, int p, const GoalContext& ctx) {
    return is_player_index(p) && s.player_in_play[(size_t)p] != 0xFF && !(ctx.out_seats & (1u << p));
}

bool rival_standing(const GameState& s, int player, const GoalContext& ctx) {
    for (const CastleState& c : s.castles)
        if (c.live && c.owner != player && seat_in_play(s, c.owner, ctx)) return true;
    for (const HeroState& h : s.heroes)
        if (h.live && h.owner != player && seat_in_play(s, h.owner, ctx)) return true;
    return false;
}

// Every rival beaten: there must have been one to beat, or a map that gives the player no rival would be
// won before anyone moved. A seat that is out stands no more, whatever it left on the map.
bool every_rival_beaten(const GameState& s, int player, const GoalContext& ctx) {
    const unsigned others = s.victory.start_holders & 0x0Fu & ~(1u << player);
    return others != 0 && !rival_standing(s, player, ctx);
}

bool lord_placed(const ScenarioVictory& v) {
    return v.lord_entry >= 0 && v.lord_entry < HERO_POOL_SIZE && is_player_index(v.lord_seat);
}

const std::string& lord_name(const GameState& s) { return s.pool.entries[(size_t)s.victory.lord_entry].name; }

// The seat whose hands hold the hunted lord, -1 while he is off the map (he may come back from the pool
// after a retreat, in any seat's hire).
int lord_holder(const GameState& s) {
    const std::string& name = lord_name(s);
    for (const HeroState& h : s.heroes)
        if (h.live && is_player_index(h.owner) && h.name == name) return h.owner;
    return -1;
}

bool holds_ultimate(const GameState& s, int seat) {
    for (const HeroState& h : s.heroes)
        if (h.live && h.owner == seat)
            for (uint8_t a : h.artifacts)
                if (is_ultimate(a)) return true;
    return false;
}

// An ultimate artifact is still somewhere a hero may get it: buried, on the map, in a live hero's hands
// or kept by a pool entry for the hero's next hire.
bool ultimate_reachable(const GameState& s, const GoalContext& ctx) {
    if (ctx.artifact_buried) return true;
    for (const ArtifactState& a : s.map_artifacts)
        if (!a.taken && is_ultimate(a.artifact)) return true;
    for (const HeroState& h : s.heroes)
        if (h.live)
            for (uint8_t a : h.artifacts)
                if (is_ultimate(a)) return true;
    for (const HeroPoolEntry& e : s.pool.entries)
        for (uint8_t a : e.kept_artifacts)
            if (is_ultimate(a)) return true;
    return false;
}

bool taken_since_start(int owner, int seat, int start_owner, uint8_t left_start) {
    return is_player_index(seat) && owner == seat && (seat != start_owner || left_start != 0);
}

// The scenario's goal met by the seat's own deed.
bool own_goal_met(const GameState& s, int player, const GoalContext& ctx) {
    const ScenarioVictory& v = s.victory;
    switch (v.kind) {
    case VICTORY_DEFEAT_ALL: return every_rival_beaten(s, player, ctx);
    case VICTORY_CAPTURE_TOWN: return target_taken_by(s, player);
    // No hero starts with an artifact (neither the map's hero records nor the pool give any), so one in a
    // hero's hands was picked up since.
    case VICTORY_ULTIMATE_ARTIFACT: return holds_ultimate(s, player);
    case VICTORY_GATHER_GOLD: return s.resources[(size_t)player].gold >= GATHER_GOLD_TARGET;
    case VICTORY_DRAGON_CITY: return dragon_city_taken_by(s, player);
    case VICTORY_KILL_HERO: return lord_placed(v) && lord_holder(s) < 0 && v.lord_beaten_by == player;
    case VICTORY_SURVIVE_MONTHS: return s.month > (v.target_x > 0 ? v.target_x : 1);
    case VICTORY_VISIT_SITES:
        if (v.sites.empty() || v.site_visitors.size() != v.sites.size()) return false;
        for (uint8_t seats : v.site_visitors)
            if (!(seats & (1u << player))) return false;
        return true;
    default: return false;
    }
}

// Whether the seat may still meet the scenario's goal by its own deed.
bool own_road_open(const GameState& s, int player, const GoalContext& ctx) {
    const ScenarioVictory& v = s.victory;
    switch (v.kind) {
    case VICTORY_DEFEAT_ALL: return rival_standing(s, player, ctx);
    // Held since the start, the target counts only once taken back; until then every rival beaten meets it.
    case VICTORY_CAPTURE_TOWN: {
        const int c = s.castle_at(v.target_x, v.target_y);
        return c >= 0 && s.castles[(size_t)c].owner != player;
    }
    case VICTORY_DRAGON_CITY: return s.dragon_city.active && s.dragon_city.owner != player;
    case VICTORY_ULTIMATE_ARTIFACT: return ultimate_reachable(s, ctx);
    case VICTORY_GATHER_GOLD:
    case VICTORY_SURVIVE_MONTHS: return true;
    case VICTORY_KILL_HERO: {
        if (!lord_placed(v)) return false;
        // A seat cannot beat its own hero. Gone with no credit yet, the next check settles who beat him.
        const int holder = lord_holder(s);
        return holder >= 0 ? holder != player : v.lord_beaten_by == -1;
    }
    case VICTORY_VISIT_SITES: return !v.sites.empty() && v.site_visitors.size() == v.sites.size();
    default: return false;
    }
}

}  // namespace

// A goal the seat can no longer meet by its own deed (the town it holds with nobody left to take it, the lord
// in its own hands or beaten by another, the ultimate artifact lost from the game) is every rival beaten.
GoalRoad goal_road(const GameState& s, int player, const GoalContext& ctx) {
    if (!seat_in_play(s, player, ctx) || s.victory.kind == VICTORY_NO_GOAL) return GoalRoad::None;
    if (own_goal_met(s, player, ctx)) return GoalRoad::Met;
    if (own_road_open(s, player, ctx)) return GoalRoad::Own;
    if (every_rival_beaten(s, player, ctx)) return GoalRoad::Met;
    return rival_standing(s, player, ctx) ? GoalRoad::EveryRival : GoalRoad::None;
}

uint8_t seats_in_play(const GameState& s) {
    uint8_t out = 0;
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (s.player_in_play[(size_t)p] != 0xFF) out = (uint8_t)(out | (1u << p));
    return out;
}

unsigned seats_holding_anything(const GameState& s) {
    unsigned out = 0;
    for (const CastleState& c : s.castles)
        if (c.live && is_player_index(c.owner)) out |= 1u << c.owner;
    for (const HeroState& h : s.heroes)
        if (h.live && is_player_index(h.owner)) out |= 1u << h.owner;
    return out;
}

bool goal_still_open(const GameState& s, const GoalContext& ctx) {
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (goal_road(s, p, ctx) != GoalRoad::None) return true;
    return false;
}

bool victory_condition_met(const GameState& s, int player, const GoalContext& ctx) {
    return goal_road(s, player, ctx) == GoalRoad::Met;
}

bool check_victory(GameState& state, const GoalContext& ctx) {
    if (state.victory.won) return false;
    if (!victory_condition_met(state, 0, ctx)) return false;
    state.victory.won = 1;
    return true;
}

int victorious_player(const GameState& state, const GoalContext& ctx) {
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (victory_condition_met(state, p, ctx)) return p;
    return -1;
}

bool campaign_rival_met_goal(const GameState& s, const GoalContext& ctx) {
    for (int p = 1; p < MAX_PLAYERS; ++p) {
        if (!seat_in_play(s, p, ctx)) continue;
        switch (s.victory.kind) {
        case VICTORY_CAPTURE_TOWN:
            if (target_taken_by(s, p)) return true;
            break;
        case VICTORY_ULTIMATE_ARTIFACT:
            if (holds_ultimate(s, p)) return true;
            break;
        case VICTORY_DRAGON_CITY:
            if (dragon_city_taken_by(s, p)) return true;
            break;
        default: break;
        }
    }
    return false;
}

bool target_taken_by(const GameState& s, int seat) {
    const ScenarioVictory& v = s.victory;
    const int c = s.castle_at(v.target_x, v.target_y);
    return c >= 0 && taken_since_start(s.castles[(size_t)c].owner, seat, v.start_target_owner, v.target_left_start);
}

bool dragon_city_taken_by(const GameState& s, int seat) {
    const ScenarioVictory& v = s.victory;
    return s.dragon_city.active && taken_since_start(s.dragon_city.owner, seat, v.start_dragon_owner, v.dragon_left_start);
}

void note_goal_progress(GameState& s) {
    ScenarioVictory& v = s.victory;
    if (is_player_index(v.start_target_owner)) {
        const int c = s.castle_at(v.target_x, v.target_y);
        if (c >= 0 && s.castles[(size_t)c].owner != v.start_target_owner) v.target_left_start = 1;
    }
    if (is_player_index(v.start_dragon_owner) && s.dragon_city.active && s.dragon_city.owner != v.start_dragon_owner)
        v.dragon_left_start = 1;
}

bool hunted_lord_standing(const GameState& state) { return lord_placed(state.victory) && lord_holder(state) >= 0; }

void note_hero_beaten(GameState& state, int hero, int by_seat) {
    ScenarioVictory& v = state.victory;
    if (v.kind != VICTORY_KILL_HERO || !lord_placed(v) || !state.valid_hero(hero)) return;
    const HeroState& h = state.heroes[(size_t)hero];
    if (h.live && h.name == lord_name(state)) v.lord_beaten_by = is_player_index(by_seat) ? by_seat : LORD_BEATEN_BY_NOBODY;
}

void settle_lord_credit(GameState& state, int acting) {
    ScenarioVictory& v = state.victory;
    if (v.kind != VICTORY_KILL_HERO || !lord_placed(v) || v.lord_beaten_by != -1 || lord_holder(state) >= 0) return;
    // His own seat is the one whose hands he left: a hire may have moved him from the map's seat.
    const int32_t last = state.pool.entries[(size_t)v.lord_entry].last_owner;
    const int own = is_player_index(last) ? last : v.lord_seat;
    v.lord_beaten_by = is_player_index(acting) && acting != own ? acting : LORD_BEATEN_BY_NOBODY;
}

}  // namespace vorn1
