#include "mainloop/battle_launch.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "adventure/adv_geometry.h"
#include "events/event_actions.h"
#include "lang/runtime_strings.h"
#include "mainloop/battle_book.h"
#include "mainloop/hero_move.h"
#include "mainloop/town_capture.h"
#include "mainloop/transitions.h"
#include "world/tile_attack.h"
#include "world/tile_rules.h"

namespace vorn1 {

namespace {

constexpr int kAmbientFirst = 8;
constexpr int kAmbientLast = 28;
constexpr int kTerrainChannel = 6;
constexpr int kFootstepChannel = 5;

bool mixer_open() { return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }

bool is_human(const GameState& s, int player) { return is_player_index(player) && s.player_is_human[player] != 0; }

int owner_of(const GameState& s, int hero) { return s.valid_hero(hero) ? s.heroes[hero].owner : -1; }

// The current player's own attack, which may be settled by quick combat.
bool may_preview(const MainState& m, int hero) {
    const GameSession& g = *m.game;
    const int owner = owner_of(g.state, hero);
    return owner >= 0 && owner == g.loop.current_player && is_human(g.state, owner);
}

bool has_troops(const std::array<uint8_t, 5>& ids, const std::array<int32_t, 5>& counts) {
    for (int i = 0; i < 5; ++i)
        if (ids[i] != EMPTY_ID && counts[i] > 0) return true;
    return false;
}

void army_arrays(const Army& a, std::array<uint8_t, 5>& ids, std::array<int32_t, 5>& counts) {
    for (int i = 0; i < 5; ++i) {
        ids[i] = a.ids[i];
        counts[i] = a.counts[i];
    }
}

void guard_arrays(const NeutralTownGarrison& gr, std::array<uint8_t, 5>& ids, std::array<int32_t, 5>& counts) {
    for (int i = 0; i < 5; ++i) {
        ids[i] = gr.ids[i];
        counts[i] = gr.counts[i];
    }
}

void play_map_sound(MainState& m, const char* name) {
    if (m.audio_on && m.play_sound) m.play_sound(name);
}

// Marks the battle open when the screen opened and lends it the hero's book; the map's sounds make
// way for it.
bool battle_opened(MainState& m, BattleKind kind) {
    GameSession& g = game_of(m);
    if (!g.battle.active) {
        std::fprintf(stderr, "battle: the battle screen could not open\n");
        return false;
    }
    g.loop.battle_open = true;
    g.loop.battle.kind = kind;
    attach_battle_spellbook(g.battle, g.battle_book);
    return true;
}

void set_control(BattleScreen& b, const GameState& s, int attacker_owner, int defender_owner) {
    b.control.human = {static_cast<uint8_t>(is_human(s, attacker_owner) ? 1 : 0),
                       static_cast<uint8_t>(is_human(s, defender_owner) ? 1 : 0)};
}

void open_monster_fight(MainState& m, int hero, int x, int y) {
    GameSession& g = game_of(m);
    quiet_map_sounds(m);
    drop_route_ending_at(g, hero, x, y);
    play_map_sound(m, "PREBATTL.82M");
    const uint32_t seed = m.now_ms;
    g.battle.open(hero, x, y, g.map, g.state, seed, false);
    set_control(g.battle, g.state, owner_of(g.state, hero), -1);
    if (!battle_opened(m, BattleKind::Monster)) return;
    BattleHandoff& h = g.loop.battle;
    h.after_tile_x = x;
    h.after_tile_y = y;
    h.seed = seed;
}

void open_hero_fight(MainState& m, int attacker, int defender) {
    GameSession& g = game_of(m);
    quiet_map_sounds(m);
    drop_route_ending_at(g, attacker, g.state.heroes[(size_t)defender].x, g.state.heroes[(size_t)defender].y);
    play_map_sound(m, "PREBATTL.82M");
    const uint32_t seed = m.now_ms;
    g.battle.open_hero_vs_hero(attacker, defender, g.map, g.state, seed, false,
                               BattleScreen::control_from_heroes(g.state, attacker, defender));
    if (!battle_opened(m, BattleKind::Hero)) return;
    g.loop.battle.after_tile_x = g.loop.battle.after_tile_y = -1;
    g.loop.battle.seed = seed;
}

// A town's garrison (guard -1) or the guard record's stacks.
void open_town_fight(MainState& m, int hero, int x, int y, int guard) {
    GameSession& g = game_of(m);
    std::array<uint8_t, 5> ids{};
    std::array<int32_t, 5> counts{};
    int defender_owner = -1;
    if (guard >= 0) {
        guard_arrays(g.state.garrisons[guard], ids, counts);
    } else {
        const int town = g.state.castle_at(x, y);
        if (town < 0) return;
        army_arrays(g.state.castles[town].garrison, ids, counts);
        defender_owner = g.state.castles[town].owner;
    }
    quiet_map_sounds(m);
    reset_planned_route(g, hero);
    play_map_sound(m, "PREBATTL.82M");
    const uint32_t seed = m.now_ms;
    g.battle.open_neutral_town(hero, x, y, ids, counts, g.map, g.state, seed, true, nullptr);
    set_control(g.battle, g.state, owner_of(g.state, hero), defender_owner);
    if (!battle_opened(m, BattleKind::Town)) return;
    BattleHandoff& h = g.loop.battle;
    h.town_x = x;
    h.town_y = y;
    h.guard = guard;
    h.after_tile_x = h.after_tile_y = -1;
    h.seed = seed;
}

HeadlessSideInput defending_side(const std::array<uint8_t, 5>& ids, const std::array<int32_t, 5>& counts) {
    HeadlessSideInput d;
    for (int i = 0; i < 5; ++i) {
        if (ids[i] == EMPTY_ID || counts[i] <= 0) continue;
        d.ids[i] = ids[i];
        d.counts[i] = counts[i];
    }
    d.defending = 1;
    return d;
}

bool side_has_stacks(const HeadlessSideInput& s) { return has_troops(s.ids, s.counts); }

bool show_preview(MainState& m, QuickCombatRecord rec, const HeadlessSideInput& defender) {
    GameSession& g = game_of(m);
    const HeroState& hero = g.state.heroes[rec.hero];
    const HeadlessSideInput attacker = headless_side_from_hero(hero, false);
    const HeadlessResult r = simulate_headless_battle(attacker, defender, m.now_ms | 1u);
    if (!r.attacker_won || r.timed_out) return false;
    rec.result = r;
    rec.bonus = quick_combat_bonus(rec.kind);
    g.loop.battle.quick = rec;
    SDL_Texture* picture = texture_provider(m);
    g.battle.open_autobattle_preview(hero.name, r.experience + rec.bonus, attacker.ids, attacker.counts,
                                     r.attacker_survivors, defender.ids, defender.counts, r.defender_survivors,
                                     picture);
    g.loop.battle_open = g.battle.active != 0;
    return true;
}

void clear_active_route(LoopState& l) {
    l.active_route.clear();
    l.active_markers.clear();
    l.route_dest_x = l.route_dest_y = -1;
}

}  // namespace

std::array<int32_t, 5> split_monster_count(int32_t n) {
    std::array<int32_t, 5> out{};
    if (n <= 0) return out;
    for (int i = 0; i < 5; ++i) out[i] = n / 5 + (i < n % 5 ? 1 : 0);
    return out;
}

int siege_town_kind(int faction) {
    switch (faction) {
        case 1: return 2;
        case 2: return 1;
        case 3: return 3;
        default: return 0;
    }
}

void quiet_map_sounds(MainState& m) {
    if (!m.audio_on || !mixer_open()) return;
    if (Mix_Playing(kTerrainChannel)) Mix_HaltChannel(kTerrainChannel);
    for (int c = kAmbientFirst; c <= kAmbientLast; ++c) Mix_Pause(c);
    if (Mix_Playing(kFootstepChannel)) Mix_HaltChannel(kFootstepChannel);
}

void resume_map_sounds(MainState& m) {
    if (!m.audio_on || !m.game) return;
    if (mixer_open())
        for (int c = kAmbientFirst; c <= kAmbientLast; ++c) Mix_Resume(c);
    // Not a fresh choice by the hero's ground: off the first tiles of a band that chooses nothing.
    if (m.sounds.terrain_resume) m.sounds.terrain_resume();
}

// ---- wandering monsters

void monster_encounter(MainState& m, int hero, int x, int y) {
    GameSession& g = game_of(m);
    const int rec = g.state.monster_at(x, y);
    if (rec < 0 || !g.state.valid_hero(hero)) return;
    const MonsterStackState& s = g.state.monsters[rec];
    if (!creature_stack_can_offer_join(s, g.state.heroes[hero])) {
        g.loop.pending_monster_hero = hero;
        g.loop.pending_monster_x = x;
        g.loop.pending_monster_y = y;
        return;
    }
    EventDef def;
    def.title = strings().get("GAME_JOIN_TITLE");
    def.text = strings().format("GAME_JOIN_OFFER",
                                {strings().get(std::string("CREATURE_") + kCreatureKeyStem[s.creature] + "_PLURAL")});
    def.buttons = {EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE};
    def.mode = 3;
    g.events.open_announcement(def, kFullScreenArea,
                               [&m, hero, x, y](EventResult r) { join_answer(m, r, hero, x, y); });
}

void join_answer(MainState& m, const EventResult& r, int hero, int x, int y) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    const int rec = g.state.monster_at(x, y);
    if (!g.state.valid_hero(hero)) return;
    LoopState& l = g.loop;
    auto fight_now = [&] {
        l.pending_monster_hero = hero;
        l.pending_monster_x = x;
        l.pending_monster_y = y;
    };
    if (r.button != EVENT_BUTTON_ACCEPT || rec < 0) {
        if (rec >= 0) g.state.monsters[rec].offered = 1;
        EventDef def;
        def.text = strings().get("GAME_JOIN_INSULTED");
        def.buttons = {EVENT_BUTTON_OK};
        def.mode = 3;
        g.events.open_announcement(def, kFullScreenArea, [&m, hero, x, y](EventResult) {
            if (!m.game) return;
            LoopState& ll = game_of(m).loop;
            ll.pending_monster_hero = hero;
            ll.pending_monster_x = x;
            ll.pending_monster_y = y;
        });
        return;
    }
    MonsterStackState& s = g.state.monsters[rec];
    s.offered = 1;
    if (s.creature == EMPTY_ID || s.count < 1) {
        fight_now();
        return;
    }
    Army& army = g.state.heroes[hero].army;
    int slot = -1;
    for (int i = 0; i < ARMY_SLOTS && slot < 0; ++i)
        if (army.ids[i] == s.creature && army.counts[i] > 0) slot = i;
    if (slot < 0)
        for (int i = 0; i < ARMY_SLOTS && slot < 0; ++i)
            if (army.slot_empty(i)) slot = i;
    if (slot < 0) {
        fight_now();
        return;
    }
    const int64_t base = army.ids[slot] == s.creature ? army.counts[slot] : 0;
    army.ids[slot] = s.creature;
    army.counts[slot] = static_cast<uint16_t>(std::min<int64_t>(base + s.count, 65535));
    s.removed = 1;
    s.count = 0;
    clear_site_tile(g.map, x, y);
    rebuild_monster_guard_map(g.map);
    forget_routes_to(g, x, y);
    // Slower creatures may have joined: the day's allowance follows the army.
    if (hero < (int)l.hero_day_points.size()) l.hero_day_points[hero] = hero_day_mp(g.state, g.map, hero);
    l.pending_monster_hero = l.pending_monster_x = l.pending_monster_y = -1;
}

void open_pending_monster_battle(MainState& m) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    if (l.pending_monster_hero < 0 || l.battle_open || g.events.dialog_open) return;
    const int hero = l.pending_monster_hero, x = l.pending_monster_x, y = l.pending_monster_y;
    l.pending_monster_hero = l.pending_monster_x = l.pending_monster_y = -1;
    if (!g.state.valid_hero(hero) || !g.state.heroes[hero].live) return;
    if (may_preview(m, hero) && preview_monster_battle(m, hero, x, y, g.state.monster_at(x, y))) return;
    open_monster_fight(m, hero, x, y);
}

// ---- towns, sites, heroes

void launch_town_battle(MainState& m, const EventResult& r) { launch_town_battle(m, r.hero, r.x, r.y); }

void launch_town_battle(MainState& m, int hero, int x, int y) {
    GameSession& g = game_of(m);
    GameState& s = g.state;
    if (s.valid_hero(hero)) reset_planned_route(g, hero);
    else clear_active_route(g.loop);
    const int owner = owner_of(s, hero);
    const int town = s.castle_at(x, y);
    // A garrison slot with a creature but no count holds nobody: the town is as good as empty.
    if (town >= 0 && s.castles[town].garrison.empty()) s.castles[town].garrison.clear();
    if (take_town_without_fight(m, hero, x, y)) return;
    const TileAttack a = attack_on_tile(s, owner, x, y);
    const MapTile* t = g.map.tile(x, y);
    if (a.form == AttackForm::Siege && t && t->is_town_entrance()) {
        const CastleState& c = s.castles[a.town];
        const GarrisonStacks garrison = attack_garrison(s, a);
        quiet_map_sounds(m);
        play_map_sound(m, "PREBATTL.82M");
        BattleScreen::BattleControl control;
        control.human = {static_cast<uint8_t>(is_human(s, owner) ? 1 : 0),
                         static_cast<uint8_t>(is_human(s, c.owner) ? 1 : 0)};
        g.battle.open_castle_battle(hero, x, y, siege_town_kind(c.faction), a.hero >= 0, a.hero, garrison.ids,
                                    garrison.counts, g.map, s, m.now_ms, control);
        if (!battle_opened(m, BattleKind::Siege)) return;
        BattleHandoff& h = g.loop.battle;
        h.siege_x = x;
        h.siege_y = y;
        h.guard = a.guard;
        h.after_tile_x = h.after_tile_y = -1;
        h.seed = 0;
        return;
    }
    if (a.hero >= 0) {
        launch_hero_battle(m, hero, a.hero);
        return;
    }
    if (a.form == AttackForm::None) return;
    if (a.guard < 0) {
        const CastleState& c = s.castles[a.town];
        if (c.garrison.empty()) return;
        if (may_preview(m, hero) && (!is_player_index(c.owner) || !is_human(s, c.owner)) &&
            preview_town_battle(m, hero, x, y, -1))
            return;
        open_town_fight(m, hero, x, y, -1);
        return;
    }
    if (!s.valid_hero(hero)) return;
    if (may_preview(m, hero) && preview_town_battle(m, hero, x, y, a.guard)) return;
    open_town_fight(m, hero, x, y, a.guard);
}

void launch_site_battle(MainState& m, const EventResult& r) {
    GameSession& g = game_of(m);
    if (!g.state.valid_hero(r.hero)) return;
    quiet_map_sounds(m);
    reset_planned_route(g, r.hero);
    BattleHandoff& h = g.loop.battle;
    h.site = GuardedSiteRecord{false, r.x, r.y, r.site_kind, r.site_level, r.artifact};
    const SiteGuards guards = site_guard_army(r.site_kind, r.site_level);
    play_map_sound(m, "PREBATTL.82M");
    const uint32_t seed = m.now_ms;
    g.battle.open_neutral_town(r.hero, r.x, r.y, guards.ids, guards.counts, g.map, g.state, seed, true,
                               r.site_kind == GUARDED_GRAVEYARD ? "gravyard.bkg" : nullptr);
    set_control(g.battle, g.state, owner_of(g.state, r.hero), -1);
    if (!battle_opened(m, BattleKind::Site)) return;
    h.site.pending = true;
    h.after_tile_x = h.after_tile_y = -1;
    h.seed = seed;
}

void launch_hero_battle(MainState& m, int attacker, int defender) {
    GameSession& g = game_of(m);
    if (!g.state.valid_hero(attacker) || !g.state.valid_hero(defender)) return;
    if (may_preview(m, attacker) && !is_human(g.state, owner_of(g.state, defender)) &&
        preview_hero_battle(m, attacker, defender))
        return;
    open_hero_fight(m, attacker, defender);
}

void teleport_hero(MainState& m, const EventResult& r) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    std::vector<std::pair<int, int>> exits;
    for (int x = 0; x < g.map.width; ++x)
        for (int y = 0; y < g.map.height; ++y)
            if ((x != r.x || y != r.y) && g.map.tile(x, y)->object_type == OBJ_PORTAL && g.state.hero_at(x, y) < 0)
                exits.emplace_back(x, y);
    if (!exits.empty() && g.state.valid_hero(r.hero)) {
        const auto [dx, dy] = exits[(size_t)(std::rand() % (int)exits.size())];
        SDL_Texture* before = snapshot_adventure_screen(m);
        HeroState& h = g.state.heroes[r.hero];
        if (g.map.in_bounds(h.x, h.y)) clear_hero_from_map(g.map, h);
        h.x = dx;
        h.y = dy;
        place_hero_on_map(g.map, h);
        if (is_player_index(h.owner)) {
            const bool wide = h.hero_class() == CLASS_WARLOCK;
            const int reach = wide ? 6 : 5, sum = wide ? 9 : 7;
            for (int oy = -reach; oy <= reach; ++oy)
                for (int ox = -reach; ox <= reach; ++ox)
                    if (std::abs(ox) + std::abs(oy) <= sum && dx + ox >= 0 && dx + ox < FOG_DIM && dy + oy >= 0 &&
                        dy + oy < FOG_DIM)
                        g.state.fog[h.owner].set_explored(dx + ox, dy + oy);
        }
        l.view_x = dx * 32 + 17;
        l.view_y = (dy + 1) * 32;
        clamp_view(g.map, l.view_x, l.view_y);
        if (m.audio_on) g.events.play_sound("VELDAR16.82M");
        dissolve_to_adventure_screen(m, before);
    }
    if (g.state.valid_hero(r.hero)) reset_planned_route(g, r.hero);
    clear_active_route(l);
}

// ---- quick combat

bool preview_monster_battle(MainState& m, int hero, int x, int y, int monster) {
    GameSession& g = game_of(m);
    if (!m.settings.ab_resolver || !g.state.valid_hero(hero)) return false;
    if (monster < 0 || monster >= (int)g.state.monsters.size()) return false;
    const MonsterStackState& s = g.state.monsters[monster];
    if (s.creature == EMPTY_ID || s.count < 1) return false;
    const std::array<int32_t, 5> split = split_monster_count(s.count);
    std::array<uint8_t, 5> ids{};
    for (int i = 0; i < 5; ++i) ids[i] = split[i] > 0 ? s.creature : EMPTY_ID;
    return show_preview(m, QuickCombatRecord{QUICK_MONSTER, hero, x, y, monster, {}, 0}, defending_side(ids, split));
}

bool preview_hero_battle(MainState& m, int attacker, int defender) {
    GameSession& g = game_of(m);
    if (!m.settings.ab_resolver || !g.state.valid_hero(attacker) || !g.state.valid_hero(defender)) return false;
    const HeadlessSideInput d = headless_side_from_hero(g.state.heroes[defender], true);
    if (!side_has_stacks(d)) return false;
    const HeroState& foe = g.state.heroes[defender];
    return show_preview(m, QuickCombatRecord{QUICK_HERO, attacker, foe.x, foe.y, defender, {}, 0}, d);
}

bool preview_town_battle(MainState& m, int hero, int x, int y, int guard) {
    GameSession& g = game_of(m);
    if (!m.settings.ab_resolver || !g.state.valid_hero(hero)) return false;
    std::array<uint8_t, 5> ids{};
    std::array<int32_t, 5> counts{};
    if (guard < 0) {
        const int town = g.state.castle_at(x, y);
        if (town < 0) return false;
        army_arrays(g.state.castles[town].garrison, ids, counts);
    } else {
        if (guard >= (int)g.state.garrisons.size() || !g.state.garrisons[guard].live) return false;
        guard_arrays(g.state.garrisons[guard], ids, counts);
    }
    const HeadlessSideInput d = defending_side(ids, counts);
    if (!side_has_stacks(d)) return false;
    return show_preview(m, QuickCombatRecord{QUICK_TOWN, hero, x, y, guard, {}, 0}, d);
}

// ---- the open battle in the loop

void battle_input(MainState& m, const SDL_Event& e) { game_of(m).battle.handle_event(e); }

void battle_tick(MainState& m, float dt_ms) {
    GameSession& g = game_of(m);
    if (g.loop.battle_open) g.battle.tick(dt_ms);
}

void draw_battle(MainState& m) { game_of(m).battle.draw(); }

void reopen_declined_fight(MainState& m, const QuickCombatRecord& q) {
    switch (q.kind) {
        case QUICK_MONSTER: open_monster_fight(m, q.hero, q.x, q.y); break;
        case QUICK_HERO: open_hero_fight(m, q.hero, q.opponent); break;
        case QUICK_TOWN: open_town_fight(m, q.hero, q.x, q.y, q.opponent); break;
        default: break;
    }
}

}  // namespace vorn1
