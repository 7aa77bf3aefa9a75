#include "mainloop/victory_check.h"

#include "world/victory.h"

namespace vorn1 {

namespace {

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

GoalContext goal_context(const GameSession& g) { return goal_context_of(g.elimination, g.puzzle); }

void run_victory_check(MainState& m) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    GameState& s = g.state;
    if (s.victory.won) return;
    note_goal_progress(s);
    settle_lord_credit(s, g.loop.current_player);
    const GoalContext ctx = goal_context(g);
    if (g.campaign && g.config.multiplayer == 0 && !g.game_lost && campaign_rival_met_goal(s, ctx)) {
        g.game_lost = true;
        return;
    }
    refresh_visited_sites(s, g.events.visits);
    if (g.hot_seat) {
        if (g.hot_seat_winner >= 0) return;
        const int winner = victorious_player(s, ctx);
        if (winner >= 0) {
            g.hot_seat_winner = winner;
            s.victory.won = 1;
        }
        return;
    }
    if (g.game_won != 0) return;
    if (check_victory(s, ctx)) g.game_won = g.campaign ? 2 : 1;
    // A player alone on the map whose ultimate artifact is lost from the game could play on for ever: the
    // scenario is lost. With a rival left the goal is every rival beaten, which stays open. Every other goal
    // out of a lone seat's reach is so from the start: the set-up page refuses it, and an older save of one
    // is lost to nothing.
    else if (s.victory.kind == VICTORY_ULTIMATE_ARTIFACT && goal_road(s, 0, ctx) == GoalRoad::None)
        g.game_lost = true;
}

}  // namespace vorn1
