#include "world/victory.h"

namespace vorn1 {

constexpr int32_t GATHER_GOLD_TARGET = 100000;

namespace {

bool seat_in_play(const GameState& s, int p) { return is_player_index(p) && s.player_in_play[p] != 0xFF; }

bool rival_standing(const GameState& s, int player) {
    for (const CastleState& c : s.castles)
        if (c.live && is_player_index(c.owner) && c.owner != player && seat_in_play(s, c.owner)) return true;
    for (const HeroState& h : s.heroes)
        if (h.live && is_player_index(h.owner) && h.owner != player && seat_in_play(s, h.owner)) return true;
    return false;
}

// Every rival beaten: there must have been one to beat, or a map that gives the player no rival would be
// won before anyone moved.
bool every_rival_beaten(const GameState& s, int player) {
    const unsigned others = s.victory.start_holders & 0x0Fu & ~(1u << player);
    return others != 0 && !rival_standing(s, player);
}

bool lord_placed(const ScenarioVictory& v) {
    return v.lord_entry >= 0 && v.lord_entry < HERO_POOL_SIZE && is_player_index(v.lord_seat);
}

const std::string& lord_name(const GameState& s) { return s.pool.entries[(size_t)s.victory.lord_entry].name; }

// The hunted lord is on the map in some seat's hands (he may come back from the pool after a retreat).
bool lord_standing(const GameState& s) {
    const std::string& name = lord_name(s);
    for (const HeroState& h : s.heroes)
        if (h.live && is_player_index(h.owner) && h.name == name) return true;
    return false;
}

// `shared`: a hot-seat game, where the lord counts only for the seat that beat him.
bool condition_met(const GameState& s, int player, bool shared) {
    if (!seat_in_play(s, player)) return false;
    const ScenarioVictory& v = s.victory;
    switch (v.kind) {
    case VICTORY_DEFEAT_ALL: return every_rival_beaten(s, player);
    case VICTORY_CAPTURE_TOWN: {
        // Taken, not held: the seat that held the target when the scenario began has taken nothing.
        const int c = s.castle_at(v.target_x, v.target_y);
        return c >= 0 && s.castles[(size_t)c].owner == player && v.start_target_owner != player;
    }
    case VICTORY_ULTIMATE_ARTIFACT:
        // No hero starts with an artifact (neither the map's hero records nor the pool give any), so one
        // in a hero's hands was picked up since.
        for (const HeroState& h : s.heroes)
            if (h.live && h.owner == player)
                for (uint8_t a : h.artifacts)
                    if (a <= 3) return true;
        return false;
    case VICTORY_GATHER_GOLD: return s.resources[(size_t)player].gold >= GATHER_GOLD_TARGET;
    case VICTORY_DRAGON_CITY:
        return s.dragon_city.active && s.dragon_city.owner == player && v.start_dragon_owner != player;
    case VICTORY_KILL_HERO: {
        // Without a lord on the target the goal is every rival beaten.
        if (!lord_placed(v)) return every_rival_beaten(s, player);
        if (player == v.lord_seat || lord_standing(s)) return false;
        return !shared || v.lord_beaten_by == player;
    }
    case VICTORY_SURVIVE_MONTHS: return s.month > (v.target_x > 0 ? v.target_x : 1);
    case VICTORY_VISIT_SITES:
        if (v.sites.empty() || v.site_visitors.size() != v.sites.size()) return false;
        for (uint8_t seats : v.site_visitors)
            if (!(seats & (1u << player))) return false;
        return true;
    default: return false;
    }
}

}  // namespace

bool victory_condition_met(const GameState& s, int player) { return condition_met(s, player, false); }

bool check_victory(GameState& state) {
    if (state.victory.won) return false;
    if (!victory_condition_met(state, 0)) return false;
    state.victory.won = 1;
    return true;
}

int victorious_player(const GameState& state) {
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (condition_met(state, p, true)) return p;
    return -1;
}

bool hunted_lord_standing(const GameState& state) { return lord_placed(state.victory) && lord_standing(state); }

void note_hero_beaten(GameState& state, int hero, int by_seat) {
    ScenarioVictory& v = state.victory;
    if (v.kind != VICTORY_KILL_HERO || !lord_placed(v) || !state.valid_hero(hero)) return;
    const HeroState& h = state.heroes[(size_t)hero];
    if (h.live && h.name == lord_name(state)) v.lord_beaten_by = is_player_index(by_seat) ? by_seat : LORD_BEATEN_BY_NOBODY;
}

void settle_lord_credit(GameState& state, int acting) {
    ScenarioVictory& v = state.victory;
    if (v.kind != VICTORY_KILL_HERO || !lord_placed(v) || v.lord_beaten_by != -1 || lord_standing(state)) return;
    v.lord_beaten_by = is_player_index(acting) && acting != v.lord_seat ? acting : LORD_BEATEN_BY_NOBODY;
}

}  // namespace vorn1
