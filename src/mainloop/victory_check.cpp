#include "mainloop/victory_check.h"

#include "world/victory.h"

namespace vorn1 {

namespace {

// A computer seat (1..3) of a campaign; neutral owners are nobody's rival.
bool rival_owner(int owner) { return owner > 0 && is_player_index(owner); }

bool rival_won_campaign(const GameState& s) {
    const ScenarioVictory& v = s.victory;
    switch (v.kind) {
    case VICTORY_CAPTURE_TOWN: {
        for (const CastleState& c : s.castles)
            if (c.live && c.x == v.target_x && c.y == v.target_y) return rival_owner(c.owner);
        return false;
    }
    case VICTORY_ULTIMATE_ARTIFACT:
        for (const HeroState& h : s.heroes)
            if (h.live && rival_owner(h.owner))
                for (uint8_t a : h.artifacts)
                    if (a <= 3) return true;
        return false;
    case VICTORY_DRAGON_CITY: return s.dragon_city.active && rival_owner(s.dragon_city.owner);
    default: return false;
    }
}

bool visited_by_seat_zero(const GameState& s, const VisitRecords& visits, int x, int y) {
    for (size_t i = 0; i < s.heroes.size(); ++i)
        if (s.heroes[i].live && s.heroes[i].owner == 0 && visit_count(visits, x, y, (int)i) > 0) return true;
    return false;
}

void refresh_visited_sites(GameState& s, const VisitRecords& visits) {
    ScenarioVictory& v = s.victory;
    if (v.sites.empty()) return;
    v.visited.clear();
    for (const auto& [x, y] : v.sites) {
        if (!site_visited(visits, x, y)) continue;
        if (v.kind == VICTORY_VISIT_SITES && !visited_by_seat_zero(s, visits, x, y)) continue;
        v.visited.insert(((uint32_t)x & 255u) | ((uint32_t)y << 8));
    }
}

}  // namespace

bool goal_decided(const GameSession& g) { return g.game_won != 0 || g.game_lost || g.hot_seat_winner >= 0; }

void run_victory_check(MainState& m) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    GameState& s = g.state;
    if (s.victory.won) return;
    if (g.campaign && g.config.multiplayer == 0 && !g.game_lost && rival_won_campaign(s)) {
        g.game_lost = true;
        return;
    }
    refresh_visited_sites(s, g.events.visits);
    if (g.hot_seat) {
        if (g.hot_seat_winner >= 0) return;
        const int winner = victorious_player(s);
        if (winner >= 0) {
            g.hot_seat_winner = winner;
            s.victory.won = 1;
        }
        return;
    }
    if (g.game_won != 0) return;
    if (check_victory(s)) g.game_won = g.campaign ? 2 : 1;
}

}  // namespace vorn1
