#include "ai/ai_executor.h"

#include <algorithm>
#include <cstdlib>

#include "ai/ai_battle.h"
#include "ai/ai_claim.h"
#include "ai/ai_economy.h"
#include "ai/ai_planner.h"
#include "ai/ai_routes.h"
#include "ai/ai_town_visits.h"
#include "ai/ai_trading.h"
#include "ai/ai_turn_vars.h"
#include "world/tile_rules.h"

namespace vorn1 {

namespace {

constexpr int kSpellDimensionDoor = 25;
constexpr int kStepGuard = 4096;

bool valid_index(const std::vector<int>* v, int i) { return v && i >= 0 && i < (int)v->size(); }

int first_live_stack_on(const GameState& s, int x, int y) {
    for (int i = 0; i < (int)s.monsters.size(); ++i) {
        const MonsterStackState& m = s.monsters[(size_t)i];
        if (!m.removed && m.count > 0 && m.x == x && m.y == y) return i;
    }
    return -1;
}

void clear_marks(GameMap& map, int x, int y) {
    if (MapTile* t = map.tile(x, y)) t->hero_figure = t->hero_frame = t->hero_on_boat = 0;
}

const char* won_text(bool won) { return won ? "WON" : "LOST (hero dismissed)"; }

}  // namespace

void ai_place_hero(GameState& s, GameMap& map, int hero, int x, int y, bool write_boat_mark) {
    HeroState& h = s.heroes[(size_t)hero];
    clear_marks(map, h.x, h.y);
    h.x = x;
    h.y = y;
    if (MapTile* t = map.tile(x, y)) {
        t->hero_figure = h.tile_figure();
        t->hero_frame = 18;
        if (write_boat_mark) t->hero_on_boat = h.on_boat;
    }
    if (is_player_index(h.owner)) s.fog[(size_t)h.owner].reveal_radius(x, y, 4);
}

bool ai_join_stack(GameState& s, GameMap& map, int hero, int stack) {
    if (!s.valid_hero(hero) || stack < 0 || stack >= (int)s.monsters.size()) return false;
    MonsterStackState& m = s.monsters[(size_t)stack];
    Army& a = s.heroes[(size_t)hero].army;
    int slot = -1;
    for (int i = 0; i < ARMY_SLOTS && slot < 0; ++i)
        if (a.ids[(size_t)i] == m.creature && a.counts[(size_t)i] > 0) slot = i;
    for (int i = 0; i < ARMY_SLOTS && slot < 0; ++i)
        if (a.slot_empty(i)) slot = i;
    // A full army of other creatures takes nobody: the stack stays on the map.
    if (slot < 0) return false;
    const int have = a.ids[(size_t)slot] == m.creature ? a.counts[(size_t)slot] : 0;
    a.ids[(size_t)slot] = m.creature;
    a.counts[(size_t)slot] = (uint16_t)std::min<int64_t>(65535, (int64_t)have + std::max(0, m.count));
    m.removed = 1;
    m.offered = 1;
    m.count = 0;
    if (MapTile* t = map.tile(m.x, m.y)) {
        t->layer1_set = t->layer1_frame = t->layer2_set = t->layer2_frame = 0;
        t->blocking = t->object_type = t->object_detail = 0;
    }
    rebuild_monster_guard_map(map);
    return true;
}

void ai_enter_taken_town(GameState& s, GameMap& map, int hero, int town) {
    if (!s.valid_hero(hero) || town < 0 || town >= (int)s.castles.size()) return;
    const CastleState& c = s.castles[(size_t)town];
    if (!c.live || c.owner != s.heroes[(size_t)hero].owner || s.hero_at(c.x, c.y) >= 0) return;
    ai_place_hero(s, map, hero, c.x, c.y, true);
}

int relocate_hero_along_route(GameState& s, GameMap& map, int hero, std::vector<int>& mp_left, int tx, int ty) {
    if (!s.valid_hero(hero) || hero >= (int)mp_left.size()) return 0;
    HeroState& h = s.heroes[(size_t)hero];
    const std::vector<RouteStep> route = find_route(map, h.x, h.y, tx, ty, mp_left[(size_t)hero], h.move_kind() == MOVE_FLAT,
                                                    h.on_boat != 0, false, nullptr, nullptr, true);
    int spent = 0, x = h.x, y = h.y;
    for (const RouteStep& st : route) {
        if (st.cost < 0 || spent + st.cost > mp_left[(size_t)hero]) break;
        spent += st.cost;
        x = st.x;
        y = st.y;
        if (is_player_index(h.owner)) s.fog[(size_t)h.owner].reveal_radius(x, y, 4);
    }
    if (x == h.x && y == h.y) return 0;
    ai_place_hero(s, map, hero, x, y, true);
    mp_left[(size_t)hero] = std::max(0, mp_left[(size_t)hero] - spent);
    return spent;
}

AIPursuitResult ai_pursue_ultimate_artifact(GameState& s, GameMap& map, const AIPuzzleInfo& info,
                                            std::vector<int>& mp_left, int player) {
    AIPursuitResult r;
    if (!is_player_index(player)) return r;
    if (mp_left.size() < s.heroes.size()) mp_left.resize(s.heroes.size(), 0);
    int gx = info.guess_x, gy = info.guess_y;
    if (info.known && info.exact) {
        gx = info.site_x;
        gy = info.site_y;
        for (int h = 0; h < (int)s.heroes.size(); ++h)
            if (s.heroes[(size_t)h].live && s.heroes[(size_t)h].owner == player && s.heroes[(size_t)h].x == gx &&
                s.heroes[(size_t)h].y == gy)
                return {1, h, 0};
    }
    if (gx < 0 || gy < 0) return r;
    int pick = -1;
    double best = 0;
    for (int h = 0; h < (int)s.heroes.size(); ++h) {
        if (!s.heroes[(size_t)h].live || s.heroes[(size_t)h].owner != player || mp_left[(size_t)h] <= 0) continue;
        const double c = route_cost_mp(map, s, h, gx, gy);
        if (c > 0 && (pick < 0 || c < best)) pick = h, best = c;
    }
    if (pick >= 0) r.moved = relocate_hero_along_route(s, map, pick, mp_left, gx, gy) > 0;
    return r;
}

void AIExecutor::begin_turn(GameState& st, GameMap& mp, std::vector<int>& left, std::vector<int>& max, int p, int human) {
    state = &st;
    map = &mp;
    mp_left = &left;
    mp_max = &max;
    player = p;
    human_player = human;
    pending_hero = -1;
    has_target = move_in_flight = waiting_for_battle = false;
    route.clear();
    route_index = 0;
    dimdoor_uses.assign(st.heroes.size(), 0);
    context = AIContext{};
    heroes_to_move = 0;
    pursuit = AIPursuitResult{};
    if (p < 0 || p > 3) {
        active = false;
        ai_log(st, p, "=== begin turn (day %d) ===", st.day);
        return;
    }
    active = st.player_color[(size_t)p] != COLOR_NONE;
    ai_log(st, p, "=== begin turn (day %d) ===", st.day);
    if (!active) return;
    compute_turn_ai_vars(st, p);
    ai_log(st, p, "run castle economy");
    ai_run_castle_economy(st, mp, p, allow_stack_split);
    if (enable_trade) ai_run_trading_post(st, p, static_cast<AiIntelligence>(st.player_ai_level[(size_t)p]));
    ai_pool_between_allied_heroes(st, p);
    if (puzzle.known || puzzle.guess_x >= 0) {
        ai_log(st, p, "pursue ultimate artifact");
        pursuit = ai_pursue_ultimate_artifact(st, mp, puzzle, left, p);
    }
    // Heroes hired this turn wait for the next day's turnover to get their points.
    if (left.size() < st.heroes.size()) left.resize(st.heroes.size(), 0);
    if (max.size() < st.heroes.size()) max.resize(st.heroes.size(), 0);
    if (dimdoor_uses.size() < st.heroes.size()) dimdoor_uses.resize(st.heroes.size(), 0);
    for (const HeroState& h : st.heroes) heroes_to_move += h.live && h.owner == p;
    if (heroes_to_move == 0) active = false;
    ai_log(st, p, "heroes to move: %d%s", heroes_to_move, heroes_to_move == 0 ? "  (turn ends — none)" : "");
}

void AIExecutor::drop_target() {
    has_target = false;
    route.clear();
    route_index = 0;
}

void AIExecutor::stop_hero(int hero) {
    if (valid_index(mp_left, hero)) (*mp_left)[(size_t)hero] = 0;
}

void AIExecutor::try_dimension_door(int hero) {
    GameState& s = *state;
    while (s.valid_hero(hero) && valid_index(mp_left, hero)) {
        HeroState& h = s.heroes[(size_t)hero];
        if ((size_t)hero >= dimdoor_uses.size()) dimdoor_uses.resize((size_t)hero + 1, 0);
        if (!h.has_spellbook || h.spell_charges[kSpellDimensionDoor] == 0 || (*mp_left)[(size_t)hero] < 12 ||
            dimdoor_uses[(size_t)hero] > 2 || h.on_boat)
            return;
        const double c = route_cost_mp(*map, s, hero, target.x, target.y);
        const int dist = cheb_dist(h.x, h.y, target.x, target.y);
        if (!(c < 0 || c >= 40) || dist < 9) return;
        int best = dist, bx = -1, by = -1;
        for (int dy = -7; dy <= 7; ++dy)
            for (int dx = -7; dx <= 7; ++dx) {
                const int x = h.x + dx, y = h.y + dy;
                if ((dx == 0 && dy == 0) || !map->in_bounds(x, y) || !is_dimdoor_passable(*map, s, x, y)) continue;
                const int d = cheb_dist(x, y, target.x, target.y);
                if (d < best) best = d, bx = x, by = y;
            }
        if (bx < 0) return;
        ai_place_hero(s, *map, hero, bx, by, false);
        (*mp_left)[(size_t)hero] = std::max(0, (*mp_left)[(size_t)hero] - 12);
        --h.spell_charges[kSpellDimensionDoor];
        ++dimdoor_uses[(size_t)hero];
    }
}

bool AIExecutor::plan_target() {
    GameState& s = *state;
    int hero = -1;
    AIMapObject t;
    if (plan_best_action(context, s, *map, *mp_left, player, hero, t)) {
        ai_log(s, player, "hero %d - %s%s @ (%d,%d)", hero, ai_object_type_name(t.type), t.guarded ? " [guarded]" : "",
               t.x, t.y);
    } else if (plan_fallback_explore(context, s, *map, *mp_left, player, hero, t)) {
        ai_log(s, player, "hero %d - explore toward %s @ (%d,%d)", hero, ai_object_type_name(t.type), t.x, t.y);
    } else {
        ai_log(s, player, "no action found — turn ending");
        has_target = active = false;
        return false;
    }
    target = t;
    try_dimension_door(hero);
    const HeroState& h = s.heroes[(size_t)hero];
    route = find_route(*map, h.x, h.y, t.x, t.y, (*mp_left)[(size_t)hero], h.move_kind() == MOVE_FLAT, h.on_boat != 0,
                       t.guarded && ai_goal_held_by_foe(*map, s, player, t.x, t.y), nullptr, nullptr, true);
    route_index = 0;
    if (route.empty()) {
        ai_log(s, player, "hero %d - target @ (%d,%d) unreachable — dropping hero", hero, t.x, t.y);
        stop_hero(hero);
        return true;
    }
    if (t.guarded) {
        while (!route.empty() && (route.back().cost < 0 || (route.back().x == t.x && route.back().y == t.y)))
            route.pop_back();
        // A hero already beside its guarded target attacks from where it stands; stopping it there would
        // leave it facing the same target every day.
        if (route.empty() && cheb_dist(h.x, h.y, t.x, t.y) > 1) {
            stop_hero(hero);
            return true;
        }
    }
    pending_hero = hero;
    has_target = true;
    return true;
}

bool AIExecutor::resolve_forced_zoc_after_landing(int hero) {
    if (!active || !state || !map || !state->valid_hero(hero)) return false;
    GameState& s = *state;
    const HeroState& h = s.heroes[(size_t)hero];
    const auto [mx, my] = monster_tile_adjacent_to(*map, h.x, h.y);
    if (mx < 0) return false;
    const int stack = first_live_stack_on(s, mx, my);
    if (stack < 0) {
        if (MapTile* t = map->tile(mx, my)) {
            t->layer1_set = 0;
            t->layer1_frame = 255;
            t->blocking = t->object_type = t->object_detail = 0;
        }
        rebuild_monster_guard_map(*map);
        ai_log(s, player, "hero %d - forced ZoC tile @ (%d,%d) had no live stack — cleared ghost", hero, mx, my);
        return false;
    }
    AIMapObject o{mx, my, AIO_MONSTER, stack, false};
    if (ai_battle_outcome(s, player, h, o).win_chance < 0.5f) {
        ai_log(s, player, "hero %d - forced ZoC vs monster @ (%d,%d): not strong enough — stopping short (semantics B)",
               hero, mx, my);
        stop_hero(hero);
        return false;
    }
    if (creature_stack_can_offer_join(s.monsters[(size_t)stack], h) && ai_join_stack(s, *map, hero, stack)) {
        ai_log(s, player, "hero %d - forced ZoC stack joined army @ (%d,%d)", hero, mx, my);
        refresh_hero_max_mp(s, *map, *mp_max, hero);
        return false;
    }
    ai_log(s, player, "hero %d - forced ZoC battle: attack monster @ (%d,%d)", hero, mx, my);
    o.guarded = true;
    const bool won = resolve_ai_battle(s, *map, player, hero, o);
    if (won) rebuild_monster_guard_map(*map);
    ai_log(s, player, "hero %d - ZoC battle %s", hero, won_text(won));
    return !won;
}

AIStepResult AIExecutor::arrive() {
    GameState& s = *state;
    AIStepResult r;
    const int hero = pending_hero;
    if (!s.valid_hero(hero) || !s.heroes[(size_t)hero].live) {
        drop_target();
        return r;
    }
    const HeroState& h = s.heroes[(size_t)hero];
    const int dx = std::abs(h.x - target.x), dy = std::abs(h.y - target.y);
    AIMapObject t = target;
    drop_target();
    if (!t.guarded) {
        const bool on_tile = t.type == AIO_REINFORCE_CASTLE || t.type == AIO_MINE || t.type == AIO_DRAGON_CITY ||
                             t.type == AIO_LIGHTHOUSE;
        const bool in_range = on_tile ? dx == 0 && dy == 0 : dx <= 1 && dy <= 1;
        bool ambush = false;
        const bool taken = in_range && claim_object(s, *map, player, t, hero, mp_max, &ambush);
        if (taken) {
            refresh_hero_max_mp(s, *map, *mp_max, hero);
            r.hero = hero;
            if (!ambush) {
                ai_log(s, player, "hero %d - %s @ (%d,%d)  [done]", hero, ai_object_type_name(t.type), t.x, t.y);
                r.kind = AIS_OBJECT_TAKEN;
            } else {
                ai_log(s, player, "hero %d - artifact rogue ambush %s @ (%d,%d)", hero, "WON", t.x, t.y);
                r.kind = AIS_AUTO_BATTLE;
            }
            return r;
        }
        if (ambush) {
            ai_log(s, player, "hero %d - artifact rogue ambush %s @ (%d,%d)", hero, "LOST (hero dismissed)", t.x, t.y);
            r.kind = AIS_AUTO_BATTLE;
            r.hero = hero;
            return r;
        }
        ai_log(s, player, "hero %d - reached (%d,%d) but could not claim — ending hero turn", hero, h.x, h.y);
        stop_hero(hero);
        return r;
    }
    // What the attack fights goes by the tile's rule, here and on the battle screen.
    t = ai_battle_target(s, player, t);
    if (dx > 1 || dy > 1 || !is_hero_strong_enough(s, h, t)) {
        stop_hero(hero);
        return r;
    }
    r.hero = hero;
    // Every human seat defends on the battle screen, not only the one whose view is on screen: in hot
    // seat the others would lose heroes and towns unasked.
    const auto human_seat = [&](int owner) { return is_player_index(owner) && s.player_is_human[(size_t)owner] != 0; };
    int defender = -1, castle = -1;
    if (t.type == AIO_ATTACK_HERO && s.valid_hero(t.index) && human_seat(s.heroes[(size_t)t.index].owner))
        defender = t.index;
    if ((t.type == AIO_ATTACK_CASTLE || t.type == AIO_NEUTRAL_CASTLE) && t.index >= 0 &&
        t.index < (int)s.castles.size() && human_seat(s.castles[(size_t)t.index].owner)) {
        const int seat = s.castles[(size_t)t.index].owner;
        for (int k = 0; k < (int)s.heroes.size() && defender < 0; ++k)
            if (s.heroes[(size_t)k].live && s.heroes[(size_t)k].owner == seat && s.heroes[(size_t)k].x == t.x &&
                s.heroes[(size_t)k].y == t.y)
                defender = k;
        if (defender >= 0 || !s.castles[(size_t)t.index].garrison.empty()) castle = t.index;
    }
    if (defender >= 0 || castle >= 0) {
        ai_log(s, player, "hero %d - HUMAN BATTLE: %s @ (%d,%d) — handing off to game_main", hero,
               ai_object_type_name(t.type), t.x, t.y);
        waiting_for_battle = true;
        target = t;
        r.kind = AIS_HUMAN_BATTLE;
        r.attacker = hero;
        r.defender_hero = defender;
        r.castle = castle;
        r.target_x = t.x;
        r.target_y = t.y;
        return r;
    }
    if (t.type == AIO_MONSTER && t.index >= 0 && t.index < (int)s.monsters.size() &&
        creature_stack_can_offer_join(s.monsters[(size_t)t.index], h) && ai_join_stack(s, *map, hero, t.index)) {
        ai_log(s, player, "hero %d - stack joined army @ (%d,%d)", hero, t.x, t.y);
        refresh_hero_max_mp(s, *map, *mp_max, hero);
        r.kind = AIS_OBJECT_TAKEN;
        return r;
    }
    settle_battle(hero, t);
    r.kind = AIS_AUTO_BATTLE;
    return r;
}

bool AIExecutor::settle_battle(int hero, const AIMapObject& t) {
    GameState& s = *state;
    ai_log(s, player, "hero %d - resolve battle: %s @ (%d,%d)", hero, ai_object_type_name(t.type), t.x, t.y);
    const bool won = resolve_ai_battle(s, *map, player, hero, t);
    rebuild_monster_guard_map(*map);
    ai_log(s, player, "hero %d - battle %s", hero, won_text(won));
    if (won && t.type != AIO_MINE && t.type != AIO_DRAGON_CITY && t.type != AIO_LIGHTHOUSE)
        refresh_hero_max_mp(s, *map, *mp_max, hero);
    if (won && (t.type == AIO_ATTACK_CASTLE || t.type == AIO_NEUTRAL_CASTLE)) ai_enter_taken_town(s, *map, hero, t.index);
    // The guard beaten, the site is the winner's: a guarded mine or site would otherwise stay "guarded" by
    // its owner and be fought again and again.
    if (won && t.type >= AIO_MINE && t.type <= AIO_CAMPFIRE && claim_object(s, *map, player, t, hero, mp_max, nullptr))
        ai_log(s, player, "hero %d - %s @ (%d,%d)  [done]", hero, ai_object_type_name(t.type), t.x, t.y);
    return won;
}

AIStepResult AIExecutor::step() {
    AIStepResult r;
    if (!active || !state || waiting_for_battle || move_in_flight) return r;
    GameState& s = *state;
    for (int guard = 0; guard < kStepGuard; ++guard) {
        if (guard == 4000)
            ai_log(s, player, "WARNING: step() spin-guard near limit (guard=%d) — have_obj=%d cur_hero=%d obj=(%d,%d) type=%s",
                   guard, has_target ? 1 : 0, pending_hero, target.x, target.y, ai_object_type_name(target.type));
        if (!has_target) {
            if (!plan_target()) return r;
            continue;
        }
        const int hero = pending_hero;
        if (!s.valid_hero(hero) || !s.heroes[(size_t)hero].live || !valid_index(mp_left, hero)) {
            drop_target();
            continue;
        }
        if (route_index < (int)route.size() && route[(size_t)route_index].cost >= 0) {
            const RouteStep& st = route[(size_t)route_index];
            HeroState& h = s.heroes[(size_t)hero];
            if (st.cost > (*mp_left)[(size_t)hero]) {
                stop_hero(hero);
                drop_target();
                continue;
            }
            const auto [mx, my] = monster_tile_adjacent_to(*map, st.x, st.y);
            if (mx >= 0 && !(target.type == AIO_MONSTER && target.x == mx && target.y == my)) {
                const int stack = first_live_stack_on(s, mx, my);
                if (stack >= 0) {
                    const AIMapObject o{mx, my, AIO_MONSTER, stack, true};
                    if (ai_battle_outcome(s, player, h, o).win_chance < 0.5f) {
                        ai_log(s, player, "hero %d - monster @ (%d,%d) too strong — stopping short (semantics B)", hero,
                               mx, my);
                        stop_hero(hero);
                        drop_target();
                        continue;
                    }
                }
            }
            const bool seen = view_enemy_moves && is_player_index(human_player) && st.x < FOG_DIM && st.y < FOG_DIM &&
                              s.fog[(size_t)human_player].is_explored(st.x, st.y);
            if (seen) {
                const MapTile* t = map->tile(st.x, st.y);
                move_in_flight = true;
                r.kind = AIS_MOVE;
                r.hero = hero;
                r.from_x = h.x;
                r.from_y = h.y;
                r.to_x = st.x;
                r.to_y = st.y;
                const int d = dir_from_delta(st.x - h.x, st.y - h.y);
                r.dir = d < 0 ? 255 : (uint8_t)d;
                r.figure = h.tile_figure();
                r.colour = (uint8_t)(h.crest >> 4);
                r.to_ground = t ? t->ground : 0;
                r.to_water = t && t->is_water();
                return r;
            }
            // Unseen: every step costs what the world's step rule charged the route.
            ai_place_hero(s, *map, hero, st.x, st.y, true);
            (*mp_left)[(size_t)hero] = std::max(0, (*mp_left)[(size_t)hero] - st.cost);
            ++route_index;
            if (resolve_forced_zoc_after_landing(hero)) {
                drop_target();
                r.kind = AIS_AUTO_BATTLE;
                r.hero = hero;
                return r;
            }
            continue;
        }
        const AIStepResult a = arrive();
        if (a.kind != AIS_IDLE) return a;
    }
    return r;
}

void AIExecutor::on_move_finished(int hero) {
    if (!active || !state || hero != pending_hero) return;
    move_in_flight = false;
    const bool valid_step = route_index >= 0 && route_index < (int)route.size();
    if (valid_step && valid_index(mp_left, hero))
        (*mp_left)[(size_t)hero] = std::max(0, (*mp_left)[(size_t)hero] - route[(size_t)route_index].cost);
    if (state->valid_hero(hero) && is_player_index(state->heroes[(size_t)hero].owner))
        state->fog[(size_t)state->heroes[(size_t)hero].owner].reveal_radius(state->heroes[(size_t)hero].x,
                                                                           state->heroes[(size_t)hero].y, 4);
    if (valid_step) ++route_index;
    if (resolve_forced_zoc_after_landing(hero) || !valid_step) drop_target();
}

void AIExecutor::abandon_pending_move(int hero) {
    if (!active) return;
    move_in_flight = false;
    drop_target();
    stop_hero(hero);
}

bool AIExecutor::settle_human_battle() {
    if (!waiting_for_battle || !state || !map) return false;
    const bool won = state->valid_hero(pending_hero) && state->heroes[(size_t)pending_hero].live &&
                     settle_battle(pending_hero, target);
    resume_after_human_battle(won);
    return won;
}

void AIExecutor::resume_after_human_battle(bool won) {
    if (state) ai_log(*state, player, "resume after human battle — AI %s", won ? "WON" : "LOST");
    waiting_for_battle = false;
    drop_target();
    if (!won) stop_hero(pending_hero);
    pending_hero = -1;
}

}  // namespace vorn1
