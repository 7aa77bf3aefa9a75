#include "mainloop/victory_check.h"

#include "world/victory.h"

namespace vorn1 {

namespace {

// A computer seat (1..3) of a campaign; neutral owners are nobody's rival.
bool rival_owner(int owner) { return owner > 0 && is_player_index(owner); }

// A rival has taken the target town or the Dragon City, or picked up an ultimate artifact (no hero starts
// with one); a rival that held the town or the city when the scenario began has taken nothing.
bool rival_won_campaign(const GameState& s) {
    const ScenarioVictory& v = s.victory;
    switch (v.kind) {
    case VICTORY_CAPTURE_TOWN: {
        for (const CastleState& c : s.castles)
            if (c.live && c.x == v.target_x && c.y == v.target_y)
                return rival_owner(c.owner) && c.owner != v.start_target_owner;
        return false;
    }
    case VICTORY_ULTIMATE_ARTIFACT:
        for (const HeroState& h : s.heroes)
            if (h.live && rival_owner(h.owner))
                for (uint8_t a : h.artifacts)
                    if (a <= 3) return true;
        return false;
    case VICTORY_DRAGON_CITY:
        return s.dragon_city.active && rival_owner(s.dragon_city.owner) && s.dragon_city.owner != v.start_dragon_owner;
    default: return false;
    }
}

// Seats whose live heroes have been to the site (visit counts are kept by hero index).
uint8_t site_visitors(const GameState& s, const VisitRecords& visits, int x, int y) {
    uint8_t seats = 0;
    for (size_t i = 0; i < s.heroes.size(); ++i) {
        const HeroState& h = s.heroes[i];
        if (h.live && is_player_index(h.owner) && visit_count(visits, x, y, (int)i) > 0)
            seats = (uint8_t)(seats | (1u << h.owner));
    }
    return seats;
}

// Each listed site's visiting seats, and the visited set: for a visit goal the first seat's own visits,
// otherwise every visited site.
void refresh_visited_sites(GameState& s, const VisitRecords& visits) {
    ScenarioVictory& v = s.victory;
    if (v.sites.empty()) return;
    v.visited.clear();
    v.site_visitors.assign(v.sites.size(), 0);
    for (size_t i = 0; i < v.sites.size(); ++i) {
        const auto [x, y] = v.sites[i];
        if (!site_visited(visits, x, y)) continue;
        v.site_visitors[i] = site_visitors(s, visits, x, y);
        if (v.kind == VICTORY_VISIT_SITES && !(v.site_visitors[i] & 1u)) continue;
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
        settle_lord_credit(s, g.loop.current_player);
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
