#include "mainloop/hero_move.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>

#include "adventure/adv_geometry.h"
#include "mainloop/town_screens.h"
#include "mainloop/battle_launch.h"
#include "mainloop/visit_results.h"
#include "town/swapwin.h"
#include "world/tile_attack.h"
#include "world/tile_rules.h"

namespace vorn1 {

namespace {

constexpr int kFootstepChannel = 5;

bool in_list(const std::vector<int>& v, int x) { return std::find(v.begin(), v.end(), x) != v.end(); }

template <typename Rec>
std::vector<int> resync(const std::vector<int>& old, const std::vector<Rec>& recs, int player) {
    auto owned = [&](int i) { return i >= 0 && i < (int)recs.size() && recs[i].live && recs[i].owner == player; };
    std::vector<int> out;
    for (int i : old)
        if (owned(i) && !in_list(out, i)) out.push_back(i);
    for (int i = 0; i < (int)recs.size(); ++i)
        if (owned(i) && !in_list(out, i)) out.push_back(i);
    return out;
}

void scroll_to_row(LocatorPanelState& loc, int k) {
    if (k < loc.hero_scroll) loc.hero_scroll = k;
    else if (k > loc.hero_scroll + 3) loc.hero_scroll = k - 3;
}

void clear_active_plan(LoopState& l) {
    end_walk(l);
    l.route_dest_x = l.route_dest_y = -1;
    l.active_route.clear();
    l.active_markers.clear();
}

// The hero's route and stored destination back to none.
void forget_route(GameSession& g, int hero) {
    LoopState& l = g.loop;
    if (hero >= 0 && hero < (int)l.hero_routes.size()) l.hero_routes[hero] = HeroRoute{};
    if (g.state.valid_hero(hero)) g.state.heroes[hero].dest_x = g.state.heroes[hero].dest_y = -1;
}

void ensure_move_records(LoopState& l, const GameState& s) {
    if (l.moves.size() < s.heroes.size()) {
        const size_t old = l.moves.size();
        l.moves.resize(s.heroes.size());
        for (size_t i = old; i < l.moves.size(); ++i) reset_hero_move_state(l.moves[i]);
    }
    if (l.hero_move_points.size() < s.heroes.size()) l.hero_move_points.resize(s.heroes.size(), 0);
    if (l.hero_day_points.size() < s.heroes.size()) l.hero_day_points.resize(s.heroes.size(), 0);
}

void halt_footsteps(MainState& m) {
    if (m.audio_on && Mix_Playing(kFootstepChannel)) Mix_HaltChannel(kFootstepChannel);
}

}  // namespace

bool is_second_site_type(uint8_t type) {
    switch (type) {
        case 131: case 134: case 136: case 155: case 157: case 176: case 189: case 190: return true;
        default: return false;
    }
}

void sync_owned_lists(LoopState& l, const GameState& s) {
    l.hero_order = resync(l.hero_order, s.heroes, l.current_player);
    l.town_order = resync(l.town_order, s.castles, l.current_player);
}

void sync_hero_list_row(LoopState& l) {
    const auto it = std::find(l.hero_order.begin(), l.hero_order.end(), l.selected_hero);
    if (l.selected_hero < 0 || it == l.hero_order.end()) {
        l.locator.selected_hero_row = -1;
        return;
    }
    const int k = (int)(it - l.hero_order.begin());
    l.locator.selected_hero_row = k;
    l.locator.selected_town_row = -1;
    scroll_to_row(l.locator, k);
}

void end_walk(LoopState& l) {
    l.walk_steps.clear();
    l.walk_step_index = -1;
    l.walk_target_x = l.walk_target_y = -1;
}

void load_hero_route(LoopState& l, int hero) {
    end_walk(l);
    if (hero >= 0 && hero < (int)l.hero_routes.size()) {
        const HeroRoute& r = l.hero_routes[hero];
        l.route_dest_x = r.dest_x;
        l.route_dest_y = r.dest_y;
        l.active_route = r.steps;
        l.active_markers = r.markers;
    } else {
        l.route_dest_x = l.route_dest_y = -1;
        l.active_route.clear();
        l.active_markers.clear();
    }
}

void grow_hero_routes(LoopState& l, const GameState& s) {
    if (l.hero_routes.size() < s.heroes.size()) l.hero_routes.resize(s.heroes.size());
}

// Steps 2 and 3 of a selection change: keep the outgoing hero's plan, take the new hero's.
static void switch_selection(GameSession& g, int hero) {
    LoopState& l = g.loop;
    if (l.selected_hero >= 0) {
        grow_hero_routes(l, g.state);
        if (l.selected_hero < (int)l.hero_routes.size())
            l.hero_routes[l.selected_hero] = HeroRoute{l.route_dest_x, l.route_dest_y, l.active_route, l.active_markers};
        if (g.state.valid_hero(l.selected_hero)) {
            g.state.heroes[l.selected_hero].dest_x = l.route_dest_x;
            g.state.heroes[l.selected_hero].dest_y = l.route_dest_y;
        }
    }
    l.selected_hero = hero;
    load_hero_route(l, hero);
}

void select_hero(GameSession& g, int hero) {
    if (hero != g.loop.selected_hero) switch_selection(g, hero);
    sync_hero_list_row(g.loop);
}

void select_hero_at_list_index(GameSession& g, int row) {
    LoopState& l = g.loop;
    sync_owned_lists(l, g.state);
    if (l.hero_order.empty()) {
        l.selected_hero = -1;
        l.locator.selected_hero_row = -1;
        clear_active_plan(l);
        return;
    }
    const int size = (int)l.hero_order.size();
    const int k = std::clamp(row, 0, size - 1);
    l.locator.selected_hero_row = k;
    l.selected_hero = l.hero_order[k];
    load_hero_route(l, l.selected_hero);
    l.locator.hero_scroll = std::min(l.locator.hero_scroll, std::max(size - 4, 0));
}

void centre_view_on_hero(GameSession& g, int hero) {
    if (!g.state.valid_hero(hero)) return;
    const HeroState& h = g.state.heroes[hero];
    centre_view_on_tile(g.map, h.x, h.y, g.loop.view_x, g.loop.view_y);
}

void select_next_hero(MainState& m) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    if (l.hero_order.empty()) return;
    stop_hero_movement(m);
    const auto it = std::find(l.hero_order.begin(), l.hero_order.end(), l.selected_hero);
    const int size = (int)l.hero_order.size();
    const int row = it == l.hero_order.end() ? 0 : (int)((it - l.hero_order.begin()) + 1) % size;
    const int hero = l.hero_order[row];
    if (hero == l.selected_hero) sync_hero_list_row(l);
    else switch_selection(g, hero);
    l.locator.selected_hero_row = row;
    l.locator.selected_town_row = -1;
    scroll_to_row(l.locator, row);
    centre_view_on_hero(g, hero);
}

void stop_hero_movement(MainState& m) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    end_walk(l);
    const int h = l.selected_hero;
    if (!g.state.valid_hero(h) || h >= (int)l.moves.size() || !l.moves[h].active) return;
    HeroMoveState& mv = l.moves[h];
    mv.active = false;
    const HeroState& hero = g.state.heroes[h];
    MapTile* t = g.map.tile(hero.x, hero.y);
    // Stopped half-way: the hero stays on the tile it was leaving, which gave up its marks.
    if (t && !t->occupied()) place_hero_on_map(g.map, hero);
    if (t && t->occupied()) t->hero_frame = (uint8_t)standing_frame_for_facing(mv.facing);
    halt_footsteps(m);
}

void open_kingdom_overview(MainState& m) {
    stop_hero_movement(m);
    GameSession& g = game_of(m);
    open_kingdom_overview_screen(g.loop.kingdom);
    g.events.timed_status = false;
    g.events.timed_status_ms = 0.0f;
    g.loop.summary_view = SummaryView{};
}

void reset_hero_movement(GameSession& g, int hero) {
    LoopState& l = g.loop;
    if (hero >= 0) {
        if (hero < (int)l.hero_move_points.size()) l.hero_move_points[hero] = 0;
        if (hero < (int)l.hero_day_points.size()) l.hero_day_points[hero] = 0;
        if (hero < (int)l.moves.size()) reset_hero_move_state(l.moves[hero]);
        forget_route(g, hero);
    }
    if (hero == l.selected_hero) clear_active_plan(l);
}

void reset_planned_route(GameSession& g, int hero) {
    forget_route(g, hero);
    if (hero == g.loop.selected_hero) clear_active_plan(g.loop);
}

void drop_route_ending_at(GameSession& g, int hero, int x, int y) {
    const LoopState& l = g.loop;
    const bool active = hero == l.selected_hero && l.route_dest_x == x && l.route_dest_y == y;
    const bool stored = hero >= 0 && hero < (int)l.hero_routes.size() && l.hero_routes[(size_t)hero].dest_x == x &&
                        l.hero_routes[(size_t)hero].dest_y == y;
    const bool kept = g.state.valid_hero(hero) && g.state.heroes[(size_t)hero].dest_x == x &&
                      g.state.heroes[(size_t)hero].dest_y == y;
    if (active || stored || kept) reset_planned_route(g, hero);
}

void forget_routes_to(GameSession& g, int x, int y) {
    const size_t n = std::max(g.loop.hero_routes.size(), g.state.heroes.size());
    for (size_t h = 0; h < n; ++h) {
        const bool stored = h < g.loop.hero_routes.size() && g.loop.hero_routes[h].dest_x == x &&
                            g.loop.hero_routes[h].dest_y == y;
        const bool kept = h < g.state.heroes.size() && g.state.heroes[h].dest_x == x && g.state.heroes[h].dest_y == y;
        if (stored || kept) forget_route(g, (int)h);
    }
    if (g.loop.route_dest_x == x && g.loop.route_dest_y == y) clear_active_plan(g.loop);
}

void store_selected_destination(GameSession& g) {
    const LoopState& l = g.loop;
    if (!g.state.valid_hero(l.selected_hero)) return;
    g.state.heroes[l.selected_hero].dest_x = l.route_dest_x;
    g.state.heroes[l.selected_hero].dest_y = l.route_dest_y;
}

void store_hero_move_points(GameSession& g) {
    const size_t n = std::min(g.state.heroes.size(), g.loop.hero_move_points.size());
    for (size_t i = 0; i < n; ++i) g.state.heroes[i].saved_mp = g.loop.hero_move_points[i];
}

std::unordered_set<uint32_t> build_owned_event_tiles(const GameState& s, int player) {
    std::unordered_set<uint32_t> out;
    if (player < 0) return out;
    for (const MineState& mi : s.mines)
        if (mi.live && mi.owner == player) out.insert(tile_key(mi.x, mi.y));
    for (const CastleState& c : s.castles)
        if (c.live && c.owner == player) out.insert(tile_key(c.x, c.y));
    if (s.lighthouse.active && s.lighthouse.owner == player) out.insert(tile_key(s.lighthouse.x, s.lighthouse.y));
    if (s.dragon_city.active && s.dragon_city.owner == player)
        out.insert(tile_key(s.dragon_city.x, s.dragon_city.y));
    return out;
}

bool dest_entrance_needs_sentinel(const GameState& s, const GameMap& map, int x, int y, int player) {
    const MapTile* t = map.tile(x, y);
    if (!t || !t->is_town_entrance()) return false;
    if (player < 0) return true;
    const int town = s.castle_at(x, y);
    return town < 0 || s.castles[town].owner != player;
}

void plan_hero_route(MainState& m, int hero, int x, int y, bool kept) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    end_walk(l);
    if (!g.state.valid_hero(hero)) {
        l.active_route.clear();
        l.active_markers.clear();
        l.route_dest_x = l.route_dest_y = -1;
        return;
    }
    const HeroState& h = g.state.heroes[hero];
    auto refuse = [&] {
        l.active_route.clear();
        l.active_markers.clear();
        l.route_dest_x = l.route_dest_y = -1;
        forget_route(g, hero);
    };
    const MapTile* t = g.map.tile(x, y);
    if (!t || hero >= (int)l.hero_move_points.size() || (x == h.x && y == h.y) ||
        (l.hero_move_points[hero] < 1 && !kept)) {
        refuse();
        return;
    }

    bool accept = false;
    const bool water = t->is_water();
    if (!h.on_boat && water && g.state.boat_at(x, y) >= 0) accept = !t->occupied();
    else if (h.on_boat && water) accept = t->occupied() || t->boat;
    else if (h.on_boat && !water) accept = t->is_clear_landing_tile();
    if (!accept) accept = dest_entrance_needs_sentinel(g.state, g.map, x, y, h.owner);
    // A hero of the same owner may be walked to: the step onto it opens the meeting.
    if (!accept) accept = find_allied_hero_at_tile(g.state, x, y, h.owner, hero) >= 0;
    if (!accept) {
        // A foreign hero may be walked into: the walk ends in a battle beside it.
        const int other = g.state.hero_at(x, y);
        accept = other >= 0 && g.state.heroes[other].owner != h.owner && h.on_boat == 0 && !water;
    }

    const FogOfWar* fog = is_player_index(h.owner) ? &g.state.fog[h.owner] : nullptr;
    const std::unordered_set<uint32_t> blocked = build_owned_event_tiles(g.state, h.owner);
    l.active_route = find_route(g.map, h.x, h.y, x, y, l.hero_move_points[hero], (h.crest & 0x0F) == MOVE_FLAT,
                                h.on_boat != 0, accept, fog, &blocked, true);
    if (l.active_route.empty()) {
        refuse();
        return;
    }
    l.active_markers = route_markers_gated(l.active_route, m.settings.show_path);
    l.route_dest_x = x;
    l.route_dest_y = y;
    if (hero < (int)l.hero_routes.size()) l.hero_routes[hero] = HeroRoute{x, y, l.active_route, l.active_markers};
    g.state.heroes[hero].dest_x = x;
    g.state.heroes[hero].dest_y = y;
}

bool one_side_human(const GameState& s, int a, int b) {
    if (!s.valid_hero(a) || !s.valid_hero(b)) return false;
    const int oa = s.heroes[a].owner, ob = s.heroes[b].owner;
    if (!is_player_index(oa) || !is_player_index(ob)) return false;
    return (s.player_is_human[oa] != 0) != (s.player_is_human[ob] != 0);
}

// ---- the walk

void start_walk(MainState& m) {
    LoopState& l = game_of(m).loop;
    if (l.active_route.empty() || l.route_dest_x < 0) return;
    l.walk_steps = l.active_route;
    l.walk_step_index = 0;
    l.walk_target_x = l.route_dest_x;
    l.walk_target_y = l.route_dest_y;
}

namespace {

// The hero's plan is used up: no destination, no markers.
void finish_route(GameSession& g, int hero) {
    clear_active_plan(g.loop);
    forget_route(g, hero);
}

// Moves a boat-borne hero's boat along, or boards and leaves boats, as the hero enters (x, y).
void carry_boat(GameSession& g, int h, int fx, int fy, uint8_t facing) {
    HeroState& hero = g.state.heroes[h];
    MapTile* to = g.map.tile(hero.x, hero.y);
    MapTile* from = g.map.tile(fx, fy);
    if (!to) return;
    if (!hero.on_boat && to->is_water()) {
        const int b = g.state.boat_at(hero.x, hero.y);
        if (b < 0) return;
        hero.on_boat = 1;
        hero.boat_index = b;
        g.state.boats[b].hero = h;
        to->boat = 1;
    } else if (hero.on_boat && to->is_land()) {
        if (hero.boat_index >= 0 && hero.boat_index < (int)g.state.boats.size()) {
            BoatState& b = g.state.boats[hero.boat_index];
            b.x = fx;
            b.y = fy;
            b.hero = -1;
            b.facing = facing;
        }
        if (from) from->boat = 1;
        hero.on_boat = 0;
        hero.boat_index = -1;
    } else if (hero.on_boat) {
        if (hero.boat_index >= 0 && hero.boat_index < (int)g.state.boats.size()) {
            BoatState& b = g.state.boats[hero.boat_index];
            b.x = hero.x;
            b.y = hero.y;
            b.facing = facing;
        }
        if (from) from->boat = 0;
        to->boat = 1;
    }
}

// The selected hero reached the tile of its current step.
void finish_step(MainState& m, int h) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    HeroMoveState& mv = l.moves[h];
    HeroState& hero = g.state.heroes[h];
    const RouteStep step = l.walk_steps[l.walk_step_index];
    mv.active = false;

    hero.x = mv.to_x;
    hero.y = mv.to_y;
    carry_boat(g, h, mv.from_x, mv.from_y, mv.facing);
    if (MapTile* t = g.map.tile(hero.x, hero.y)) t->hero_frame = (uint8_t)standing_frame_for_facing(mv.facing);
    place_hero_on_map(g.map, hero);
    l.hero_move_points[h] = std::max(0, l.hero_move_points[h] - step.cost);
    if (is_player_index(hero.owner)) g.state.fog[hero.owner].reveal_radius(hero.x, hero.y, kWalkRevealRadius);
    if (!l.active_route.empty()) l.active_route.erase(l.active_route.begin());
    if (!l.active_markers.empty()) l.active_markers.erase(l.active_markers.begin());
    ++l.walk_step_index;

    const bool arrived = (hero.x == l.walk_target_x && hero.y == l.walk_target_y) ||
                         l.walk_step_index >= (int)l.walk_steps.size();
    const MapTile* t = g.map.tile(hero.x, hero.y);
    const uint8_t type = t ? t->object_type : 0;
    if (arrived) finish_route(g, h);
    else if (h < (int)l.hero_routes.size())
        l.hero_routes[h] = HeroRoute{l.route_dest_x, l.route_dest_y, l.active_route, l.active_markers};

    if (type >= OBJ_EVENT_FIRST && (arrived || is_second_site_type(type))) {
        end_walk(l);
        halt_footsteps(m);
        visit_tile(m, h, hero.x, hero.y, is_second_site_type(type) ? VisitSite::SecondSite : VisitSite::Arrival);
    } else if (arrived) {
        end_walk(l);
        halt_footsteps(m);
    }
}

// Starts the next step of the walk, or ends the walk when it cannot go on.
void begin_next_step(MainState& m, int h) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    if (l.walk_step_index < 0 || l.walk_step_index >= (int)l.walk_steps.size()) {
        end_walk(l);
        return;
    }
    if (g.events.dialog_open) return;
    const RouteStep& step = l.walk_steps[l.walk_step_index];
    HeroState& hero = g.state.heroes[h];
    if (step.cost < 0 || step.cost > l.hero_move_points[h] || std::abs(step.x - hero.x) > 1 ||
        std::abs(step.y - hero.y) > 1 || !g.map.in_bounds(step.x, step.y)) {
        stop_hero_movement(m);
        return;
    }
    const MapTile& to = *g.map.tile(step.x, step.y);
    // A monster or hero met on the way stops the walk. A plan that ended on its tile is used up; one
    // that goes on beyond stays, and the walk goes on by it once the way is free.
    if (to.is_monster() && g.state.monster_at(step.x, step.y) >= 0) {
        stop_hero_movement(m);
        drop_route_ending_at(g, h, step.x, step.y);
        monster_encounter(m, h, step.x, step.y);
        return;
    }
    const int other = g.state.hero_at(step.x, step.y);
    if (other >= 0 && other != h) {
        // A foe inside a castle is met by the siege the town's visit opens, so the walk goes on to the gate;
        // a foe anywhere else, a town without walls too, is met in the field.
        const TileAttack attack = attack_on_tile(g.state, hero.owner, step.x, step.y);
        if (attack.form != AttackForm::Siege || attack.hero < 0 || !to.is_town_entrance()) {
            // The walk stops short; a hero of the same owner is met in the meeting window.
            stop_hero_movement(m);
            drop_route_ending_at(g, h, step.x, step.y);
            if (attack.hero >= 0) launch_hero_battle(m, h, attack.hero);
            else open_meeting(m, h, other);
            return;
        }
    }
    HeroMoveState& mv = l.moves[h];
    mv.active = true;
    mv.from_x = hero.x;
    mv.from_y = hero.y;
    mv.to_x = step.x;
    mv.to_y = step.y;
    mv.elapsed_ms = 0.0f;
    mv.step_ms = (float)m.speed.step_ms;
    mv.speed_level = (uint8_t)m.speed.level;
    mv.direction = mv.facing;
    if (step.dir < 8) mv.facing = step.dir;
    mv.figure = hero.tile_figure();
    mv.colour = is_player_index(hero.owner) ? g.state.player_color[hero.owner] : 0;
    mv.to_ground = to.ground;
    mv.to_water = to.is_water() ? 1 : 0;
    const MapTile* from = g.map.tile(hero.x, hero.y);
    clear_hero_from_map(g.map, hero);
    l.walk_footsteps = 1;
    if (m.sounds.footstep && from) m.sounds.footstep(from->ground, hero.on_boat != 0);
}

}  // namespace

void update_walk(MainState& m, float dt_ms) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    // A computer seat's heroes walk by its turn's own clock; its selected hero has no walk plan here.
    if (l.computer_turn_pending) return;
    const int h = l.selected_hero;
    if (!g.state.valid_hero(h)) return;
    ensure_move_records(l, g.state);
    HeroMoveState& mv = l.moves[h];
    if (mv.active) {
        mv.elapsed_ms += dt_ms;
        // The second footstep half-way, on the ground being entered.
        if (l.walk_footsteps == 1 && mv.elapsed_ms * 2.0f >= mv.step_ms) {
            l.walk_footsteps = 2;
            if (m.sounds.footstep) m.sounds.footstep(mv.to_ground, g.state.heroes[h].on_boat != 0);
        }
        if (mv.elapsed_ms < mv.step_ms) return;
        finish_step(m, h);
    }
    if (!l.moves[h].active && l.walk_step_index >= 0) begin_next_step(m, h);
}

}  // namespace vorn1
