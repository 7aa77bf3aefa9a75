// The work after a battle: the outcome carried to the map (monsters, sites, towns, heroes), the
// beaten hero's artifacts and departure, level-ups and the end-of-game checks; a declined quick-combat
// result becomes the battle it stood for.
#include <algorithm>

#include "events/event_actions.h"
#include "lang/runtime_strings.h"
#include "mainloop/battle_launch.h"
#include "mainloop/hero_move.h"
#include "mainloop/town_capture.h"
#include "mainloop/transitions.h"
#include "mainloop/turns.h"
#include "mainloop/victory_check.h"
#include "mainloop/visit_results.h"
#include "world/ambient_grid.h"
#include "world/tile_rules.h"
#include "world/victory.h"

namespace vorn1 {

namespace {

// What a battle left for the map, whether it was fought on the battle screen or settled by quick combat.
struct BattleSettlement {
    BattleKind kind = BattleKind::None;
    int attacker = -1;
    int defender = -1;
    int losing_side = -1;  // 0 attacker, 1 defender
    bool defeat = false;   // the loser was beaten (not retreated or surrendered)
    int x = -1, y = -1;
    int guard = -1;
    int64_t surrender_gold = 0;  // paid by the side that surrendered to the other
    std::array<int32_t, 5> defender_survivors{};      // by defender stack
    std::array<int32_t, 5> garrison_slot{-1, -1, -1, -1, -1};  // stack -> garrison slot when a hero defended
};

bool is_human(const GameState& s, int player) { return is_player_index(player) && s.player_is_human[player] != 0; }

// Writes the defending stacks back into a garrison or guard army the battle packed in slot order
// (troop slots to stacks 0, 1, ...), or by the battle's garrison slots when a hero led it.
template <typename Count>
void write_garrison_survivors(const BattleSettlement& st, std::array<uint8_t, 5>& ids, std::array<Count, 5>& counts) {
    std::array<int, 5> stack_of{-1, -1, -1, -1, -1};
    if (st.defender >= 0) {
        for (int i = 0; i < 5; ++i)
            if (st.garrison_slot[i] >= 0 && st.garrison_slot[i] < 5) stack_of[st.garrison_slot[i]] = i;
    } else {
        int next = 0;
        for (int i = 0; i < 5; ++i)
            if (ids[i] != EMPTY_ID && counts[i] > 0) stack_of[i] = next++;
    }
    for (int i = 0; i < 5; ++i) {
        if (stack_of[i] < 0) continue;
        const int32_t n = std::max<int32_t>(0, st.defender_survivors[stack_of[i]]);
        if (n == 0) {
            ids[i] = EMPTY_ID;
            counts[i] = 0;
        } else {
            counts[i] = static_cast<Count>(std::min<int32_t>(n, 65535));
        }
    }
}

void clear_guard(NeutralTownGarrison& gr) {
    gr.live = 0;
    gr.ids.fill(EMPTY_ID);
    gr.counts.fill(0);
}

// The beaten hero's artifacts go to the winning hero while it has room; the rest are lost.
void transfer_artifacts(GameSession& g, int winner, int loser) {
    GameState& s = g.state;
    HeroState& lost = s.heroes[loser];
    const bool winner_human = s.valid_hero(winner) && is_human(s, s.heroes[winner].owner);
    const bool loser_human = is_human(s, lost.owner);
    for (uint8_t& a : lost.artifacts) {
        if (a == EMPTY_ID) continue;
        const bool taken = s.valid_hero(winner) && give_artifact(s.heroes[winner], a);
        const uint16_t id = static_cast<uint16_t>(a) << 8;
        if (taken && winner_human) g.loop.battle.artifact_notices.push_back(id | ARTIFACT_CAPTURED);
        else if (!taken && winner_human) g.loop.battle.artifact_notices.push_back(id | ARTIFACT_VANISHED_ENEMY);
        if (loser_human) g.loop.battle.artifact_notices.push_back(id | ARTIFACT_VANISHED_OWN);
        a = EMPTY_ID;
    }
    recalc_hero_artifact_stats(lost);
}

void remove_beaten_monster(MainState& m, int x, int y) {
    GameSession& g = game_of(m);
    const int rec = g.state.monster_at(x, y);
    if (rec >= 0) {
        g.state.monsters[rec].removed = 1;
        g.state.monsters[rec].count = 0;
    }
    const MapTile* t = g.map.tile(x, y);
    if (!t || !t->is_monster()) return;
    fade_out_map_tile(m, x, y, "KILLFADE.82M");
    clear_site_tile(g.map, x, y);
    rebuild_monster_guard_map(g.map);
    forget_routes_to(g, x, y);
}

void settle(MainState& m, const BattleSettlement& st) {
    GameSession& g = game_of(m);
    GameState& s = g.state;
    const bool attacker_won = st.losing_side == 1;
    const int winner = st.losing_side == 1 ? st.attacker : st.losing_side == 0 ? st.defender : -1;
    const int loser = st.losing_side == 1 ? st.defender : st.losing_side == 0 ? st.attacker : -1;

    // One-shot bonuses are spent by fighting.
    for (int h : {st.attacker, st.defender})
        if (s.valid_hero(h)) s.heroes[h].visit_flags = 0;

    switch (st.kind) {
        case BattleKind::Monster:
            if (attacker_won) {
                remove_beaten_monster(m, st.x, st.y);
            } else if (const int rec = s.monster_at(st.x, st.y); rec >= 0) {
                int32_t left = 0;
                for (int32_t n : st.defender_survivors) left += std::max(0, n);
                s.monsters[rec].count = left;
                if (left == 0) remove_beaten_monster(m, st.x, st.y);
            }
            break;
        case BattleKind::Site: {
            GuardedSiteRecord site = g.loop.battle.site;
            g.loop.battle.site = GuardedSiteRecord{};
            if (attacker_won && site.pending)
                grant_guarded_site_reward(s, g.map, st.attacker, site.x, site.y, site.kind, site.level, site.artifact);
            build_ambient_grid(g.map);  // a site won falls silent
            break;
        }
        case BattleKind::Town:
        case BattleKind::Siege: {
            const int town = s.castle_at(st.x, st.y);
            if (st.guard >= 0 && st.guard < (int)s.garrisons.size()) {
                NeutralTownGarrison& gr = s.garrisons[st.guard];
                if (attacker_won) clear_guard(gr);
                else write_garrison_survivors(st, gr.ids, gr.counts);
            } else if (town >= 0) {
                Army& army = s.castles[town].garrison;
                if (attacker_won) army.clear();
                else write_garrison_survivors(st, army.ids, army.counts);
            }
            break;
        }
        default: break;
    }

    if (st.surrender_gold > 0 && s.valid_hero(loser) && is_player_index(s.heroes[loser].owner)) {
        const int32_t gold = static_cast<int32_t>(std::min<int64_t>(st.surrender_gold, INT32_MAX));
        s.resources[s.heroes[loser].owner].gold = std::max(0, s.resources[s.heroes[loser].owner].gold - gold);
        if (s.valid_hero(winner) && is_player_index(s.heroes[winner].owner))
            s.resources[s.heroes[winner].owner].gold =
                static_cast<int32_t>(std::min<int64_t>((int64_t)s.resources[s.heroes[winner].owner].gold + gold, INT32_MAX));
    }
    if (st.defeat && s.valid_hero(loser)) transfer_artifacts(g, winner, loser);
    if (s.valid_hero(loser) && s.heroes[loser].live) {
        // The side that beat him: the winning hero's seat, or a town's when its garrison fought alone.
        int by = s.valid_hero(winner) ? s.heroes[winner].owner : -1;
        if (!s.valid_hero(winner) && st.losing_side == 0 && (st.kind == BattleKind::Town || st.kind == BattleKind::Siege))
            if (const int town = s.castle_at(st.x, st.y); town >= 0) by = s.castles[(size_t)town].owner;
        note_hero_beaten(s, loser, by);
        remove_hero_from_map(m, loser, s.heroes[loser].owner != g.loop.current_player);
    }
    if (s.valid_hero(winner) && s.heroes[winner].live) {
        // The beaten hero may have shared the winner's tile (a town's gate).
        place_hero_on_map(g.map, s.heroes[winner]);
        run_levelups(m, winner);
    }

    // The town falls to the attacker once nothing is left to defend it.
    if (attacker_won && (st.kind == BattleKind::Town || st.kind == BattleKind::Siege) && s.valid_hero(st.attacker)) {
        if (take_town_without_fight(m, st.attacker, st.x, st.y)) return;
    }
    sync_owned_lists(g.loop, s);
    run_victory_check(m);
    check_post_battle_eliminations(s, g.map, g.elimination, g.loop.current_player);
}

BattleSettlement settlement_from_battle(const GameSession& g) {
    const BattleScreen& b = g.battle;
    const BattleHandoff& h = g.loop.battle;
    BattleSettlement st;
    st.kind = h.kind;
    st.attacker = b.attacker_side.hero;
    st.defender = b.defender_side.hero;
    st.losing_side = b.result_screen.losing_side;
    st.defeat = b.outcome == OutcomeAttackerWon || b.outcome == OutcomeDefenderWon;
    st.garrison_slot = b.garrison_slot;
    if (b.outcome == OutcomeSurrender) st.surrender_gold = b.surrender_gold_paid;
    for (int i = 0; i < 5; ++i) st.defender_survivors[i] = is_living(b.defenders[i]) ? b.defenders[i].count : 0;
    switch (h.kind) {
        case BattleKind::Monster:
            st.x = h.after_tile_x;
            st.y = h.after_tile_y;
            break;
        case BattleKind::Town:
            st.x = h.town_x;
            st.y = h.town_y;
            st.guard = h.guard;
            break;
        case BattleKind::Siege:
            st.x = h.siege_x;
            st.y = h.siege_y;
            st.guard = h.guard;
            break;
        default: break;
    }
    return st;
}

// An accepted quick-combat result: the attacker's army as the headless battle left it, the
// experience shown, and the opponent beaten.
void apply_quick_result(MainState& m, const QuickCombatRecord& q) {
    GameSession& g = game_of(m);
    GameState& s = g.state;
    if (!s.valid_hero(q.hero)) return;
    HeroState& hero = s.heroes[q.hero];
    for (int i = 0; i < ARMY_SLOTS; ++i) {
        const int32_t n = q.result.attacker_survivors[i];
        if (hero.army.ids[i] == EMPTY_ID || n <= 0) {
            hero.army.ids[i] = EMPTY_ID;
            hero.army.counts[i] = 0;
        } else {
            hero.army.counts[i] = static_cast<uint16_t>(std::min<int32_t>(n, 65535));
        }
    }
    const int64_t exp = (int64_t)hero.experience + std::max(0, q.result.experience + q.bonus);
    hero.experience = static_cast<uint32_t>(std::min<int64_t>(exp, UINT32_MAX));
    BattleSettlement st;
    st.attacker = q.hero;
    st.losing_side = 1;
    st.defeat = true;
    st.x = q.x;
    st.y = q.y;
    switch (q.kind) {
        case QUICK_MONSTER: st.kind = BattleKind::Monster; break;
        case QUICK_HERO:
            st.kind = BattleKind::Hero;
            st.defender = q.opponent;
            if (s.valid_hero(q.opponent)) s.heroes[q.opponent].army.clear();
            break;
        case QUICK_TOWN:
            st.kind = BattleKind::Town;
            st.guard = q.opponent;
            break;
        default: return;
    }
    settle(m, st);
}

}  // namespace

void after_battle_step(MainState& m) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    if (!l.battle_open || g.battle.active) return;
    l.battle_open = false;
    BattleHandoff& h = l.battle;
    if (h.quick.kind != QUICK_NONE) {
        const QuickCombatRecord q = h.quick;
        h.quick = QuickCombatRecord{};
        if (g.battle.result_screen.preview_answer == 1) apply_quick_result(m, q);
        else reopen_declined_fight(m, q);
        return;
    }
    settle(m, settlement_from_battle(g));
    std::deque<uint16_t> notices = std::move(h.artifact_notices);
    h = BattleHandoff{};
    h.artifact_notices = std::move(notices);
    resume_map_sounds(m);
}

void artifact_notice_step(MainState& m) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    std::deque<uint16_t>& q = g.loop.battle.artifact_notices;
    if (q.empty() || g.events.dialog_open || g.loop.battle_open) return;
    const uint16_t entry = q.front();
    q.pop_front();
    const int kind = entry & 0xFF, artifact = entry >> 8;
    static const char* const kKeys[] = {"GAME_CAPTURED_ARTIFACT", "GAME_ARTIFACT_VANISH_SELF", "GAME_ARTIFACT_VANISH_ENEMY"};
    EventDef def;
    if (kind <= 2) def.text = strings().format(kKeys[kind], {artifact_display_name(artifact).value_or("")});
    def.buttons = {EVENT_BUTTON_OK};  // the frame is as tall as its text and picture
    if (kind == ARTIFACT_CAPTURED) def.icons.push_back(EventIcon{"RESOURCE.ICN", 7, ""});
    g.events.open_announcement(def, kMapViewArea, [](EventResult) {});
    if (kind == ARTIFACT_CAPTURED) {
        g.events.dialog_artifact = artifact;
        if (m.audio_on) g.events.play_sound("PICKUP01.82M");
    }
}

}  // namespace vorn1
