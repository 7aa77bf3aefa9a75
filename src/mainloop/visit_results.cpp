#include "mainloop/visit_results.h"

#include "adventure/puzzle_map_state.h"
#include "events/event_actions.h"
#include "mainloop/town_capture.h"
#include "mainloop/town_screens.h"
#include "mainloop/battle_launch.h"
#include "mainloop/turns.h"
#include "world/levels.h"
#include "world/tile_rules.h"
#include "town/recruit_rules.h"
#include "town/trade_rates.h"

namespace vorn1 {

void visit_tile(MainState& m, int hero, int x, int y) {
    GameSession& g = game_of(m);
    g.events.try_trigger(g.map, g.state, hero, x, y, kMapViewArea, [&m](EventResult r) { on_visit_result(m, r); });
}

void run_levelups(MainState& m, int hero) {
    GameSession& g = game_of(m);
    if (!g.state.valid_hero(hero)) return;
    XorShift32 rng(m.now_ms ^ (uint32_t)(hero * 2654435761u));
    apply_levelups(g.state.heroes[hero], rng);
}

void on_visit_result(MainState& m, const EventResult& r) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    if (r.enter_castle) {
        open_town_screen(m, own_town_at(g, r.x, r.y));
        return;
    }
    if (r.town_battle) {
        launch_town_battle(m, r);
        return;
    }
    if (r.teleport) {
        teleport_hero(m, r);
        return;
    }
    if (r.site_battle) {
        launch_site_battle(m, r);
        return;
    }
    bool garrison_full = false;
    apply_event_result(r, g.map, g.state, g.loop.hero_move_points, g.loop.hero_day_points, g.events,
                       [&m](int hero) { run_levelups(m, hero); }, garrison_full);
    if (r.choice == SITE_OBELISK && g.state.valid_hero(r.hero) &&
        on_obelisk_visited(g.puzzle, g.state.heroes[r.hero].owner, r.x, r.y))
        g.puzzle.newly_revealed = 1;
    if (g.state.valid_hero(r.hero)) {
        // The hero's mark on its tile survives the cleared object.
        const HeroState& h = g.state.heroes[r.hero];
        if (h.live && h.x == r.x && h.y == r.y) place_hero_on_map(g.map, h);
    }
    if (r.open_recruit && g.state.valid_hero(r.hero))
        g.loop.recruit.open_map_recruit(r.recruit_creature, r.recruit_available, r.x, r.y, r.hero,
                                        [&m](RecruitResult rr) { on_map_recruit_result(m, rr); });
    if (r.open_trading_post && g.state.valid_hero(r.hero)) {
        const int player = g.state.heroes[r.hero].owner;
        g.loop.trading_post.open_dialog(player, count_player_thieves_guilds(g.state, player), &g.state);
    }
    if (r.open_thieves_guild) open_thieves_guild_full_view(m);
    if (r.remove_hero && g.state.valid_hero(r.hero)) remove_hero_from_map(m, r.hero, false);
}

void on_map_recruit_result(MainState& m, const RecruitResult& rr) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    bool no_room = false;
    apply_map_recruit_result(rr, g.map, g.state, g.loop.hero_move_points, g.loop.hero_day_points, g.events, no_room);
    if (no_room) g.loop.recruit.open_no_room();
}

}  // namespace vorn1
