#include "mainloop/visit_results.h"

#include "adventure/puzzle_map_state.h"
#include "events/event_actions.h"
#include "lang/runtime_strings.h"
#include "mainloop/town_capture.h"
#include "mainloop/town_screens.h"
#include "mainloop/battle_launch.h"
#include "mainloop/transitions.h"
#include "mainloop/turns.h"
#include "mainloop/victory_check.h"
#include "world/ambient_grid.h"
#include "world/levels.h"
#include "world/tile_rules.h"
#include "world/recruit_rules.h"

namespace vorn1 {

namespace {

// The outcome on the game state; true when the army had no room for what the visit gave.
bool apply_outcome(MainState& m, const EventResult& r) {
    GameSession& g = game_of(m);
    bool garrison_full = false;
    apply_event_result(r, g.map, g.state, g.loop.hero_move_points, g.loop.hero_day_points, g.events,
                       [&m](int hero) { run_levelups(m, hero); }, garrison_full);
    build_ambient_grid(g.map);  // a site taken falls silent
    if (g.state.valid_hero(r.hero)) {
        // The hero's mark on its tile survives the cleared object.
        const HeroState& h = g.state.heroes[r.hero];
        if (h.live && h.x == r.x && h.y == r.y) place_hero_on_map(g.map, h);
    }
    // What a visit gives (gold, an artifact, a site, the Dragon City) may meet the goal.
    run_victory_check(m);
    return garrison_full;
}

// The map's trading post, with as many markets as the visit counted.
void open_trading_post(MainState& m, const EventResult& r) {
    GameSession& g = game_of(m);
    if (!r.open_trading_post || !g.state.valid_hero(r.hero)) return;
    g.loop.trading_post.open_dialog(g.state.heroes[r.hero].owner, r.count, &g.state);
}

// Creatures a visit gave that the army had no room for.
void announce_no_room(MainState& m) {
    EventDef def;
    def.text = strings().get("GAME_NO_ROOM_GARRISON");
    def.buttons = {EVENT_BUTTON_OK};
    def.mode = 3;
    game_of(m).events.open_announcement(def, kMapViewArea, [](EventResult) {});
}

void open_dwelling(MainState& m, const EventResult& r) {
    GameSession& g = game_of(m);
    if (!r.open_recruit || r.recruit_creature == EMPTY_ID || !g.state.valid_hero(r.hero)) return;
    g.loop.recruit.open_map_recruit(r.recruit_creature, r.recruit_available, r.x, r.y, r.hero,
                                    [&m](RecruitResult rr) { on_map_recruit_result(m, rr); });
}

// Fade-outs queued from index `first` on are dropped (the tile kept its object).
void drop_fadeouts_from(LoopState& l, size_t first) {
    for (size_t i = first; i < l.fadeouts.size(); ++i)
        if (l.fadeouts[i].picture) SDL_DestroyTexture(l.fadeouts[i].picture);
    if (first < l.fadeouts.size()) l.fadeouts.erase(l.fadeouts.begin() + (long)first, l.fadeouts.end());
}

// A visit that opens a town or a battle (or, on arrival, jumps through a portal) goes no further.
bool opens_town_or_battle(MainState& m, const EventResult& r, bool arrival) {
    GameSession& g = game_of(m);
    if (r.enter_castle) open_town_screen(m, own_town_at(g, r.x, r.y));
    else if (r.town_battle) launch_town_battle(m, r);
    else if (arrival && r.teleport) teleport_hero(m, r);
    else if (r.site_battle) launch_site_battle(m, r);
    else return false;
    return true;
}

}  // namespace

bool fades_at_second_site(uint8_t type) {
    switch (type) {
        case OBJ_CHEST: case OBJ_RESOURCE: case OBJ_ARTIFACT: case OBJ_MONSTER: case OBJ_CAMPFIRE:
        case OBJ_ARTIFACT_AMBUSH: case OBJ_ARTIFACT_AMBUSH_B: case OBJ_PICKUP: return true;
        default: return type >= OBJ_MONSTER_B && type <= OBJ_MONSTER_E;
    }
}

void visit_tile(MainState& m, int hero, int x, int y, VisitSite site) {
    GameSession& g = game_of(m);
    EventCallback cb;
    switch (site) {
        case VisitSite::Arrival: cb = [&m](EventResult r) { on_visit_result(m, r); }; break;
        case VisitSite::SecondSite: cb = [&m](EventResult r) { on_second_site_result(m, r); }; break;
        case VisitSite::Landing: cb = [&m](EventResult r) { on_landing_result(m, r); }; break;
    }
    g.events.try_trigger(g.map, g.state, hero, x, y, kMapViewArea, std::move(cb));
}

void run_levelups(MainState& m, int hero) {
    GameSession& g = game_of(m);
    if (!g.state.valid_hero(hero)) return;
    XorShift32 rng(m.now_ms ^ (uint32_t)(hero * 2654435761u));
    HeroState& h = g.state.heroes[hero];
    if (is_player_index(h.owner) && g.state.player_is_human[h.owner] != 0)
        check_and_apply_levelups(h, hero, g.loop.levelups.queue, rng);
    else
        apply_levelups(h, rng);
}

void levelup_step(MainState& m) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    if (g.loop.battle_open) return;
    g.loop.levelups.try_open_next(g.events, m.res, kMapViewArea);
}

void on_visit_result(MainState& m, const EventResult& r) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    if (opens_town_or_battle(m, r, true)) return;
    const bool garrison_full = apply_outcome(m, r);
    open_trading_post(m, r);
    if (garrison_full) announce_no_room(m);
    open_dwelling(m, r);
    if (r.open_thieves_guild) open_thieves_guild_full_view(m);
    if (r.remove_hero && g.state.valid_hero(r.hero)) remove_hero_from_map(m, r.hero, false);
}

void on_second_site_result(MainState& m, const EventResult& r) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    if (opens_town_or_battle(m, r, false)) return;
    // Pictured before the outcome clears the object, so the object is what fades; but only an object the
    // outcome took: one declined or not paid for stays on its tile and must not fade.
    const MapTile* t = g.map.tile(r.x, r.y);
    const uint8_t object_before = t ? t->object_type : 0;
    const size_t fades_before = g.loop.fadeouts.size();
    if (fades_at_second_site(r.type) && t) fade_out_map_tile(m, r.x, r.y, "");
    const bool garrison_full = apply_outcome(m, r);
    if (t && t->object_type == object_before) drop_fadeouts_from(g.loop, fades_before);
    open_trading_post(m, r);
    if (r.kill_fade_sound && m.audio_on && m.play_sound) m.play_sound("KILLFADE.82M");
    if (r.type == OBJ_OBELISK && r.visit_flag) {
        const int owner = g.state.valid_hero(r.hero) ? g.state.heroes[r.hero].owner : 0;
        if (on_obelisk_visited(g.puzzle, owner, r.x, r.y)) g.puzzle.newly_revealed = 1;
    }
    if (garrison_full) announce_no_room(m);
    open_dwelling(m, r);
}

void on_landing_result(MainState& m, const EventResult& r) {
    if (!m.game) return;
    const bool garrison_full = apply_outcome(m, r);
    open_trading_post(m, r);
    if (garrison_full) announce_no_room(m);
}

void on_map_recruit_result(MainState& m, const RecruitResult& rr) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    bool no_room = false;
    apply_map_recruit_result(rr, g.map, g.state, g.loop.hero_move_points, g.loop.hero_day_points, g.events, no_room);
    if (no_room) announce_no_room(m);
}

}  // namespace vorn1
