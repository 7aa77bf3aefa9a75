#include "world/victory.h"

namespace vorn1 {

constexpr int32_t GATHER_GOLD_TARGET = 100000;

static bool seat_in_play(const GameState& s, int p) { return is_player_index(p) && s.player_in_play[p] != 0xFF; }

static bool rival_standing(const GameState& s, int player) {
    for (const CastleState& c : s.castles)
        if (c.live && is_player_index(c.owner) && c.owner != player && seat_in_play(s, c.owner)) return true;
    for (const HeroState& h : s.heroes)
        if (h.live && is_player_index(h.owner) && h.owner != player && seat_in_play(s, h.owner)) return true;
    return false;
}

bool victory_condition_met(const GameState& s, int player) {
    if (!seat_in_play(s, player)) return false;
    const ScenarioVictory& v = s.victory;
    switch (v.kind) {
    case VICTORY_DEFEAT_ALL: return !rival_standing(s, player);
    case VICTORY_CAPTURE_TOWN: {
        const int c = s.castle_at(v.target_x, v.target_y);
        return c >= 0 && s.castles[c].owner == player;
    }
    case VICTORY_ULTIMATE_ARTIFACT:
        for (const HeroState& h : s.heroes)
            if (h.live && h.owner == player)
                for (uint8_t a : h.artifacts)
                    if (a <= 3) return true;
        return false;
    case VICTORY_GATHER_GOLD: return s.resources[player].gold >= GATHER_GOLD_TARGET;
    case VICTORY_DRAGON_CITY: return s.dragon_city.active && s.dragon_city.owner == player;
    case VICTORY_KILL_HERO:
        // The hero who started on the target tile is gone (or every rival hero is).
        for (const HeroState& h : s.heroes)
            if (h.live && h.owner != player && is_player_index(h.owner) &&
                (v.target_name.empty() || h.name == v.target_name))
                return false;
        return true;
    case VICTORY_SURVIVE_MONTHS: return s.month > (v.target_x > 0 ? v.target_x : 1);
    case VICTORY_VISIT_SITES:
        if (v.sites.empty()) return false;
        for (const auto& [x, y] : v.sites)
            if (!v.visited.count((uint32_t)(x & 255) | ((uint32_t)y << 8))) return false;
        return true;
    default: return false;
    }
}

bool check_victory(GameState& state) {
    if (state.victory.won) return false;
    if (!victory_condition_met(state, 0)) return false;
    state.victory.won = 1;
    return true;
}

int victorious_player(const GameState& state) {
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (victory_condition_met(state, p)) return p;
    return -1;
}

}  // namespace vorn1
