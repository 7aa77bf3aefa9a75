#include "mainloop/computer_turn.h"

#include <SDL.h>

#include <algorithm>

#include "adventure/player_elimination.h"
#include "events/visits.h"
#include "mainloop/battle_launch.h"
#include "mainloop/frame_loop.h"
#include "mainloop/hero_move.h"
#include "mainloop/turns.h"
#include "mainloop/victory_check.h"
#include "world/ambient_grid.h"
#include "world/tile_rules.h"

namespace vorn1 {

namespace {

// The human's side panel, kept from before the computer's turn, loses the heroes and towns the
// computer has taken since.
void refresh_human_view(LoopState& l, const GameState& s) {
    SeatView& v = l.human_view;
    if (v.player < 0) return;
    std::erase_if(v.hero_order, [&](int h) { return !s.valid_hero(h) || !s.heroes[(size_t)h].live || s.heroes[(size_t)h].owner != v.player; });
    std::erase_if(v.town_order, [&](int t) {
        return t < 0 || t >= (int)s.castles.size() || !s.castles[(size_t)t].live || s.castles[(size_t)t].owner != v.player;
    });
    const auto sel = std::find(v.hero_order.begin(), v.hero_order.end(), v.selected_hero);
    if (sel == v.hero_order.end()) v.selected_hero = -1;
    LocatorPanelState& loc = v.locator;
    loc.selected_hero_row = v.selected_hero < 0 ? -1 : (int)(sel - v.hero_order.begin());
    if (loc.selected_town_row >= (int)v.town_order.size()) loc.selected_town_row = -1;
    loc.hero_scroll = std::min(loc.hero_scroll, std::max((int)v.hero_order.size() - 4, 0));
    loc.town_scroll = std::min(loc.town_scroll, std::max((int)v.town_order.size() - 4, 0));
}

// A battle settled by the prediction may have taken a seat's last town or hero: the same end-of-game
// checks as after a battle on the screen.
void after_map_battle(MainState& m) {
    GameSession& g = game_of(m);
    refresh_human_view(g.loop, g.state);
    sync_owned_lists(g.loop, g.state);
    run_victory_check(m);
    check_post_battle_eliminations(g.state, g.map, g.elimination, g.loop.current_player);
}

// A watched step: the hero leaves its tile and walks like a human hero; it lands when the step's time is up.
bool start_watched_step(MainState& m, const AIStepResult& r) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    if (!g.state.valid_hero(r.hero) || r.hero >= (int)l.moves.size()) {
        SDL_Log("[AI] AnimateMove hero %d out of hero_moves range (%d) — skipping animation, abandoning hop", r.hero,
                (int)l.moves.size());
        l.ai.abandon_pending_move(r.hero);
        return false;
    }
    HeroMoveState& mv = l.moves[(size_t)r.hero];
    mv.active = true;
    mv.from_x = r.from_x;
    mv.from_y = r.from_y;
    mv.to_x = r.to_x;
    mv.to_y = r.to_y;
    mv.direction = r.dir;
    if (r.dir < 8) mv.facing = r.dir;
    mv.figure = r.figure;
    mv.colour = r.colour;
    mv.elapsed_ms = 0.0f;
    mv.step_ms = (float)m.speed.step_ms;
    mv.speed_level = (uint8_t)m.speed.level;
    mv.to_ground = r.to_ground;
    mv.to_water = r.to_water;
    clear_hero_from_map(g.map, g.state.heroes[(size_t)r.hero]);
    return true;
}

void land_watched_step(GameSession& g, int hero) {
    HeroMoveState& mv = g.loop.moves[(size_t)hero];
    HeroState& h = g.state.heroes[(size_t)hero];
    mv.active = false;
    h.x = mv.to_x;
    h.y = mv.to_y;
    place_hero_on_map(g.map, h);
    if (MapTile* t = g.map.tile(h.x, h.y)) t->hero_frame = (uint8_t)standing_frame_for_facing(mv.facing);
    g.loop.ai.on_move_finished(hero);
}

// A computer hero attacks the human's hero or town: the battle screen opens as for a human's attack (the
// siege with walls, garrison and any hero inside for a castle), and the turn waits for its end. A battle the
// screen cannot open is settled by the prediction.
void start_human_battle(MainState& m, const AIStepResult& r) {
    GameSession& g = game_of(m);
    AIExecutor& ai = g.loop.ai;
    if (r.castle >= 0) launch_town_battle(m, r.attacker, r.target_x, r.target_y);
    else if (r.defender_hero >= 0) launch_hero_battle(m, r.attacker, r.defender_hero);
    if (g.loop.battle_open) return;
    // A garrison of empty slots is nobody: the town was taken at the gate, and leaves the human's panel.
    if (r.castle >= 0 && g.state.castles[(size_t)r.castle].owner == ai.player) {
        refresh_human_view(g.loop, g.state);
        ai.resume_after_human_battle(true);
        return;
    }
    ai.settle_human_battle();
    after_map_battle(m);
}

// The battle screen closed and the after-battle step has put its outcome on the map: the attacker won
// when it still stands and the defending side lost.
void finish_human_battle(GameSession& g) {
    AIExecutor& ai = g.loop.ai;
    const int h = ai.pending_hero;
    const bool standing = g.state.valid_hero(h) && g.state.heroes[(size_t)h].live;
    const bool won = standing && g.battle.result_screen.losing_side == 1;
    if (won && (ai.target.type == AIO_ATTACK_CASTLE || ai.target.type == AIO_NEUTRAL_CASTLE))
        ai_enter_taken_town(g.state, g.map, h, ai.target.index);
    refresh_human_view(g.loop, g.state);
    ai.resume_after_human_battle(won);
}

// The human whose view is on screen, whose fog decides which of the computer's steps are watched: the
// last human to play, or before any has, the first to come.
int watching_human(const GameSession& g) {
    if (g.loop.human_view.player >= 0) return g.loop.human_view.player;
    for (const int p : g.loop.player_order)
        if (is_player_index(p) && g.state.player_is_human[(size_t)p] != 0) return p;
    return -1;
}

}  // namespace

void begin_computer_turn(MainState& m, int p) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    l.ai.view_enemy_moves = m.settings.view_enemy_moves;
    l.ai.allow_stack_split = m.settings.stack_split;
    l.ai.enable_trade = m.settings.enable_trade;
    std::vector<uint8_t> was_live;
    for (const HeroState& h : g.state.heroes) was_live.push_back(h.live);
    l.ai.begin_turn(g.state, g.map, l.hero_move_points, l.hero_day_points, p, watching_human(g));
    sync_hero_vectors(g);
    // Heroes the turn's start hired may fill fallen heroes' slots: they have visited nothing.
    for (size_t i = 0; i < g.state.heroes.size(); ++i)
        if (g.state.heroes[i].live && (i >= was_live.size() || !was_live[i])) forget_hero_visits(g.events.visits, (int)i);
    l.computer_turn_pending = true;
    // The turn's start trades and may dig up the ultimate artifact.
    run_victory_check(m);
}

void run_computer_turn(MainState& m, float dt_ms) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    AIExecutor& ai = l.ai;
    // A decided game takes no more steps: it ends as it stands.
    if (goal_decided(g)) return;
    if (ai.waiting_for_battle) {
        if (l.battle_open) return;
        finish_human_battle(g);
    }
    if (ai.move_in_flight) {
        const int h = ai.pending_hero;
        if (!g.state.valid_hero(h) || h >= (int)l.moves.size() || !l.moves[(size_t)h].active) {
            ai.abandon_pending_move(h);
        } else {
            l.moves[(size_t)h].elapsed_ms += dt_ms;
            if (l.moves[(size_t)h].elapsed_ms < l.moves[(size_t)h].step_ms) return;
            land_watched_step(g, h);
            // A fight forced on landing may have decided the game.
            run_victory_check(m);
            if (goal_decided(g)) return;
        }
    }
    for (int i = 0; i < kAIStepsPerPass && ai.active; ++i) {
        const AIStepResult r = ai.step();
        if (r.kind == AIS_MOVE) {
            if (start_watched_step(m, r)) return;
            continue;
        }
        if (r.kind == AIS_HUMAN_BATTLE) {
            start_human_battle(m, r);
            if (ai.waiting_for_battle) return;
            continue;
        }
        // What a step took or won may have been a site with a sound of its own: it falls silent.
        if (r.kind == AIS_OBJECT_TAKEN || r.kind == AIS_AUTO_BATTLE) build_ambient_grid(g.map);
        if (r.kind == AIS_AUTO_BATTLE) after_map_battle(m);
        // A town, the Dragon City or a pile taken by a step may meet a goal.
        if (r.kind == AIS_OBJECT_TAKEN) run_victory_check(m);
        if (goal_decided(g)) return;
        if (r.kind == AIS_IDLE) break;
    }
    if (!ai.active) end_current_turn(m);
}

}  // namespace vorn1
