#pragma once
// Every fight the adventure map can start: wandering monsters (with their offer to join), guarded
// sites, towns and their guards, sieges, foreign heroes, and the quick-combat previews; the portal
// jump that shares the visit's hand-off; the battle screen driven by the loop while it is open; and
// the work after a battle.
#include <SDL.h>

#include <array>
#include <cstdint>

#include "events/event_types.h"
#include "mainloop/main_state.h"

namespace vorn1 {

// The five defending stacks of a monster of n creatures: n / 5 each, the first n % 5 one more.
std::array<int32_t, 5> split_monster_count(int32_t n);
// Town kind of the siege field by the town's faction.
int siege_town_kind(int faction);

// A hero reached a wandering monster: the offer to join, else the fight.
void monster_encounter(MainState& m, int hero, int x, int y);
// The answer to the offer: joined, or the insult notice and then the fight.
void join_answer(MainState& m, const EventResult& r, int hero, int x, int y);
// Opens the pending monster fight once no dialog is open (each frame).
void open_pending_monster_battle(MainState& m);

// A visit asked to attack what stands on its tile: capture, or the battle attack_on_tile names (a siege, a
// foe's hero in the field, a garrison or guard battle).
void launch_town_battle(MainState& m, const EventResult& r);
// The same attack by any hero standing at or beside the town at (x, y): a computer hero's attack comes here.
void launch_town_battle(MainState& m, int hero, int x, int y);
// A guarded site's guards (every kind gets its guards).
void launch_site_battle(MainState& m, const EventResult& r);
// The player declined the quick-combat result: the battle is fought on the battle screen after all.
void reopen_declined_fight(MainState& m, const QuickCombatRecord& q);
// The experience a quick-combat result adds to the headless figure: as on the battle screen, 500 for a
// battle against a hero or a given army (a town's garrison or guards), nothing against a wandering monster.
constexpr int32_t kQuickCombatBonus = 500;
inline int32_t quick_combat_bonus(int kind) { return kind == QUICK_MONSTER ? 0 : kQuickCombatBonus; }
// A hero walks into a foreign hero.
void launch_hero_battle(MainState& m, int attacker, int defender);
// A portal: the hero jumps to a free portal elsewhere; without one only the route is cleared.
void teleport_hero(MainState& m, const EventResult& r);

// Quick-combat previews: true when the headless battle was won and its result is on show.
bool preview_monster_battle(MainState& m, int hero, int x, int y, int monster);
bool preview_hero_battle(MainState& m, int attacker, int defender);
bool preview_town_battle(MainState& m, int hero, int x, int y, int guard);

// The loop while a battle is open: input, the tick and the frame.
void battle_input(MainState& m, const SDL_Event& e);
void battle_tick(MainState& m, float dt_ms);
void draw_battle(MainState& m);

// After the battle screen closed: the outcome applied to the map, or the follow-up battle.
void after_battle_step(MainState& m);
// One queued artifact notice a frame, while no dialog is open.
void artifact_notice_step(MainState& m);

// The map's sounds pause for a battle and come back after it (and after the title screen of l).
void quiet_map_sounds(MainState& m);
void resume_map_sounds(MainState& m);

}  // namespace vorn1
